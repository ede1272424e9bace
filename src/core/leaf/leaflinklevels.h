#pragma once

#include "core/leaf/leaflimits.h"
#include "core/leaf/leafregister.h"
#include "core/plan/textgrid.h"

#include <QHash>
#include <QString>

#include <optional>

class ReferenceDatabase;

// The supply level of N, P, K and Mg that a soil column's linked leaf sample gives: the
// leaf content measured against the species' class limits for the season it was sampled
// in. It reads the register and the limits on first use, once per object, on lookups of
// its own. It remembers the leaf mark of each soil column it gave a level for.
class LeafLinkLevels
{
public:
    LeafLinkLevels(const ReferenceDatabase &reference, const TextGrid &leafLinks);

    // Level 1..7 for the element `code` of the soil column marked `soilMark`; none when the
    // column has no link, its leaf sample is gone or lacks the content, the species has no
    // limits for the element, or the limits give a grade outside −3…+3: the soil rules
    // decide then.
    std::optional<int> level(const QString &soilMark, const QString &code);

    // The linked leaf mark followed by "*", for a soil column that got a leaf-based level;
    // empty otherwise.
    QString markOf(const QString &soilMark) const { return m_marks.value(soilMark); }

    // The level a content gives on a scale in ascending limit order: a content equal to a
    // limit belongs to the class above it; below the first limit it is level 2 whatever the
    // first grade; at or above the last limit the last grade counts. Level = grade + 4.
    static int walkLimits(const QList<LeafLimit> &scale, double content);

private:
    void read();

    const ReferenceDatabase &m_reference;
    TextGrid m_links;
    bool m_read = false;
    QHash<qint64, LeafSample> m_samples;
    LeafLimits m_limits;
    QHash<QString, QString> m_marks;
};
