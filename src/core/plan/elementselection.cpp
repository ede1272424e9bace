#include "core/plan/elementselection.h"

#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"

namespace ElementSelection {

using Elements::Element;

namespace {

constexpr Element macroElements[] = {Elements::N, Elements::P, Elements::K};

// The element order in which the selection is applied and the rows are starred.
constexpr Element applyOrder[] = {Elements::N, Elements::P, Elements::Mg, Elements::K, Elements::Mn,
    Elements::Zn, Elements::Cu, Elements::Fe};

} // namespace

QList<Element> dependants(Element macro)
{
    switch (macro) {
    case Elements::N:
        return {Elements::Cu, Elements::Mn};
    case Elements::P:
        return {Elements::Zn};
    case Elements::K:
        return {Elements::Mg};
    default:
        return {};
    }
}

void applyLinkage(PlanItems &items, Element clicked)
{
    for (Element dependant : dependants(clicked))
        items.elementSelected[dependant] = items.elementSelected[clicked];
}

bool isEditable(const PlanItems &items, Element element)
{
    for (Element macro : macroElements) {
        if (dependants(macro).contains(element))
            return items.elementSelected[macro];
    }
    return true;
}

QList<int> requiredRows(Element element)
{
    switch (element) {
    case Elements::N:
        return {3, 5};
    case Elements::P:
        return {2, 4, 6};
    case Elements::K:
        return {3, 7};
    case Elements::Mg:
        return {3, 8};
    case Elements::Mn:
        return {2, 3, 9};
    case Elements::Zn:
        return {3, 10};
    case Elements::Cu:
        return {3, 5, 11};
    case Elements::Fe:
        return {2};
    default:
        return {};
    }
}

int elementTableEntry(Element element)
{
    switch (element) {
    case Elements::N:
        return ElementTable::N;
    case Elements::P:
        return ElementTable::P;
    case Elements::K:
        return ElementTable::K;
    case Elements::Mg:
        return ElementTable::Mg;
    case Elements::Zn:
        return ElementTable::Zn;
    case Elements::Mn:
        return ElementTable::Mn;
    case Elements::Cu:
        return ElementTable::Cu;
    case Elements::Fe:
        return ElementTable::Fe;
    default:
        return 0;
    }
}

void applyElementSelection(PlanItems &items, ElementTable &elements)
{
    const QStringList &labels = Elements::soilRowLabels();
    TextGrid &grid = items.soilSampleTable;
    for (int row = 2; row <= 11; ++row)
        grid.setCell(row, 0, labels[row - 2]);

    applySelectedFlags(items, elements);
    for (Element element : applyOrder) {
        if (!items.elementSelected[element])
            continue;
        for (int row : requiredRows(element))
            grid.setCell(row, 0, labels[row - 2] + QStringLiteral(" *"));
    }
}

void applySelectedFlags(const PlanItems &items, ElementTable &elements)
{
    elements.clearSelection();
    for (Element element : applyOrder) {
        if (items.elementSelected[element])
            elements.entry(elementTableEntry(element)).selected = true;
    }
}

} // namespace ElementSelection
