#include "core/leaf/leaflinklevels.h"

#include "core/leaf/leaflinks.h"
#include "core/plan/elements.h"

LeafLinkLevels::LeafLinkLevels(const ReferenceDatabase &reference, const TextGrid &leafLinks)
    : m_reference(reference)
    , m_links(leafLinks)
{ }

void LeafLinkLevels::read()
{
    m_read = true;
    m_samples = LeafRegister::byId(m_reference);
    m_limits = LeafLimits::read(m_reference).value_or(LeafLimits());
}

int LeafLinkLevels::walkLimits(const QList<LeafLimit> &scale, double content)
{
    int level = 2;
    for (qsizetype row = 0; row < scale.size(); ++row) {
        if (scale[row].limit <= content)
            level = scale[std::min(row + 1, scale.size() - 1)].grade + 4;
    }
    return level;
}

std::optional<int> LeafLinkLevels::level(const QString &soilMark, const QString &code)
{
    const std::optional<int> link = LeafLinks::findLink(m_links, soilMark);
    if (!link)
        return std::nullopt;
    if (!m_read)
        read();
    const auto sample
        = m_samples.constFind(m_links.cell(*link, LeafLinks::LeafId).trimmed().toLongLong());
    if (sample == m_samples.constEnd())
        return std::nullopt; // deleted from the register since it was linked
    const qsizetype element = LeafRegister::elementSymbols().indexOf(code);
    if (element < 0 || !sample->contents[element])
        return std::nullopt;
    const QList<LeafLimit> scale
        = m_limits.scale(sample->speciesId, sample->atHarvest ? 1 : 0, code);
    if (scale.isEmpty())
        return std::nullopt;
    const int level = walkLimits(scale, *sample->contents[element]);
    // a grade outside −3…+3 names no level
    if (Elements::supplyLevelName(level).isEmpty())
        return std::nullopt;
    m_marks.insert(soilMark, m_links.cell(*link, LeafLinks::LeafMark) + QLatin1Char('*'));
    return level;
}
