#include "core/plan/elementtable.h"

#include "core/plan/planitems.h"
#include "core/text/numbers.h"

namespace {

struct InitialEntry
{
    int index;
    const char16_t *code;
    const char16_t *name;
    bool listed; // listsSupply and listsNeed
};

// The grid row each soil parameter is read from, in the order a column is loaded.
struct ParameterRow
{
    int entry;
    int row;
};

constexpr ParameterRow parameterRows[] = {
    {ElementTable::Mg, 8},
    {ElementTable::Zn, 10},
    {ElementTable::Mn, 9},
    {ElementTable::Cu, 11},
    {ElementTable::Ka, 3},
    {ElementTable::Ko, 7},
    {ElementTable::Po, 6},
    {ElementTable::Hsz, 5},
    {ElementTable::Caco, 4},
    {ElementTable::Ph, 2},
};

} // namespace

ElementTable::ElementTable()
{
    static const InitialEntry initial[] = {
        {N, u"N", u"Nitrogén", true},
        {P, u"P", u"Foszfor", true},
        {K, u"K", u"Kálium", true},
        {Mg, u"Mg", u"Magnézium", true},
        {Zn, u"Zn", u"Cink", true},
        {Mn, u"Mn", u"Mangán", true},
        {Cu, u"Cu", u"Réz", true},
        {Ka, u"Ka", u"Kötöttség", false},
        {Ko, u"Ko", u"Kálium oxid", false},
        {Po, u"Po", u"Foszfor", false},
        {Hsz, u"Hsz", u"Humusz %", false},
        {SzT, u"SzT", u"Szántóföldi termőhely", false},
        {Fe, u"Fe", u"Vas", false},
        {Caco, u"Caco", u"Mész", false},
        {Ph, u"Ph", u"Kémhatás", false},
    };
    for (const InitialEntry &e : initial) {
        ElementEntry &entry = m_entries[e.index];
        entry.code = QString::fromUtf16(e.code);
        entry.name = QString::fromUtf16(e.name);
        entry.listsSupply = e.listed;
        entry.listsNeed = e.listed;
    }
}

const ElementEntry &ElementTable::findParameter(const QString &code) const
{
    for (int index = firstUsed; index <= lastUsed; ++index) {
        if (m_entries[index].code == code)
            return m_entries[index];
    }
    return m_entries[0];
}

void ElementTable::clearSelection()
{
    for (int index = firstUsed; index <= Fe; ++index)
        m_entries[index].selected = false;
}

void ElementTable::loadSampleColumn(const PlanItems &items, int s)
{
    const int column = s + 1;
    const TextGrid &grid = items.soilSampleTable;
    for (const ParameterRow &parameter : parameterRows) {
        // A cell that is empty or not a number leaves the value of the column loaded before.
        if (const std::optional<double> value
            = Text::parseDecimal(grid.cell(parameter.row, column)))
            m_entries[parameter.entry].value = *value;
    }
    m_entries[SzT].value = items.siteCategory + 1;
    m_currentSampleLabel = grid.cell(1, column);
}
