#include "core/reports/recommendationtexts.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/elements.h"
#include "core/plan/planitems.h"
#include "core/text/memohtml.h"
#include "core/text/richtext.h"

#include <QRegularExpression>
#include <QTextDocument>

namespace RecommendationTexts {

namespace Jav = Tables::Jav;

Filter loadRecommendationTexts(const PlanItems &items)
{
    Filter filter;
    for (int element = 0; element < Elements::elementCount; ++element) {
        if (!items.elementSelected[element])
            continue;
        const Filter clause = Filter::equals(Jav::Javtap, Elements::codes()[element]);
        filter = filter.isEmpty() ? clause : filter || clause;
    }
    return filter;
}

Filter noTexts()
{
    return Filter::equals(Jav::Javtap, QStringLiteral("xxx"));
}

std::optional<QList<QVariantMap>> readTexts(const ReferenceDatabase &reference,
                                            const Filter &filter, QString *error)
{
    std::optional<QList<QVariantMap>> rows
        = reference.select(Jav::name, filter, {QString(Jav::Javid)},
                           ReferenceDatabase::DeletedRows::Hidden, error);
    if (!rows)
        return rows;
    for (QVariantMap &row : *rows) {
        row.insert(Jav::Jav, memoMarkup(row.value(Jav::Jav).toString()));
        const auto code = std::find(Elements::codes().cbegin(), Elements::codes().cend(),
                                    row.value(Jav::Javtap).toString());
        if (code != Elements::codes().cend())
            row.insert(elementNameKey(),
                       Elements::checkBoxNames()[std::distance(Elements::codes().cbegin(), code)]);
    }
    return rows;
}

QString memoMarkup(const QString &memo)
{
    if (!Text::isRtf(memo) && Qt::mightBeRichText(memo)) {
        static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match = body.match(memo);
        // a text stored before memos were sanitised is made safe here
        return Text::sanitizeMemoHtml(match.hasMatch() ? match.captured(1) : memo);
    }
    // RTF as an earlier installation stored it, or plain text: paragraphs of escaped text
    return Text::memoToRichText(memo);
}

} // namespace RecommendationTexts
