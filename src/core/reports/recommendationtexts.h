#pragma once

#include "core/data/filter.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

class ReferenceDatabase;
struct PlanItems;

// The recommendation texts of Jav: one formatted text per element, printed with the plan.
namespace RecommendationTexts {

// The texts of the elements ticked in step 1, in the element order N, P, K, Mg, S, Mn, Zn,
// Cu, Fe, Mo, B: one equality term on Javtap per element, joined by OR. With no element
// ticked the filter is empty and passes every text.
Filter loadRecommendationTexts(const PlanItems &items);

inline QString elementNameKey() { return QStringLiteral("elem"); }

// "Javtap = 'xxx'": the filter of a summary that prints no texts.
Filter noTexts();

// The rows of Jav passing `filter`, in key order, each with Jav turned into markup for the
// report (see memoMarkup) and the element's name under elementNameKey(). No value when the
// table cannot be read.
std::optional<QList<QVariantMap>> readTexts(const ReferenceDatabase &reference,
                                            const Filter &filter, QString *error = nullptr);

// A stored text as report markup: rich text (HTML) keeps its formatting, the body of a
// whole document taken and only the harmless elements kept (Text::sanitizeMemoHtml); RTF keeps its paragraphs and emphasis; plain text is escaped and
// each line becomes a paragraph.
QString memoMarkup(const QString &memo);

} // namespace RecommendationTexts
