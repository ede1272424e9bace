#include "core/plan/elementselection.h"

#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

using namespace ElementSelection;
using Elements::Element;

const QStringList plainLabels = {"Kémhatás pH", "Kötöttség Ka", "Mész CaCo", "Humusz %",
    "Foszfor P2O", "Kálium K2O", "Magnézium Mg", "Mangán Mn", "Cink Zn", "Réz Cu"};

QStringList rowLabels(const PlanItems &items)
{
    QStringList labels;
    for (int row = 2; row <= 11; ++row)
        labels.append(items.soilSampleTable.cell(row, 0));
    return labels;
}

QList<int> selectedEntries(const ElementTable &elements)
{
    QList<int> entries;
    for (int index = 0; index < ElementTable::entryCount; ++index) {
        if (elements.entry(index).selected)
            entries.append(index);
    }
    return entries;
}

} // namespace

TEST(ElementSelectionTest, UntickingAMacroElementUnticksAndLocksItsDependants)
{
    const struct
    {
        Element macro;
        QList<Element> dependants;
    } links[] = {{Elements::N, {Elements::Cu, Elements::Mn}},
                 {Elements::P, {Elements::Zn}},
                 {Elements::K, {Elements::Mg}}};
    for (const auto &link : links) {
        SCOPED_TRACE(int(link.macro));
        PlanItems items;
        items.elementSelected.fill(true);
        items.elementSelected[link.macro] = false;
        applyLinkage(items, link.macro);
        for (int index = 0; index < Elements::elementCount; ++index) {
            SCOPED_TRACE(index);
            const bool dependant = link.dependants.contains(Element(index));
            EXPECT_EQ(items.elementSelected[index], !dependant && index != link.macro);
            EXPECT_EQ(isEditable(items, Element(index)), !dependant);
        }
        // ticking it again ticks the dependants the untick took away
        items.elementSelected[link.macro] = true;
        applyLinkage(items, link.macro);
        for (int index = 0; index < Elements::elementCount; ++index) {
            EXPECT_TRUE(items.elementSelected[index]);
            EXPECT_TRUE(isEditable(items, Element(index)));
        }
    }

    // a click on a box that has no dependants changes no other box
    PlanItems items;
    items.elementSelected.fill(true);
    items.elementSelected[Elements::S] = false;
    const auto before = items.elementSelected;
    applyLinkage(items, Elements::S);
    applyLinkage(items, Elements::Cu);
    EXPECT_EQ(items.elementSelected, before);
}

// Each element alone stars exactly the rows the step-2 check will not let stay empty, as
// the note under the grid says.
TEST(ElementSelectionTest, ApplyStarsTheRowsTheTickedElementsNeed)
{
    const auto starred = [](QList<int> rows) {
        QStringList labels = plainLabels;
        for (int row : rows)
            labels[row - 2] += QStringLiteral(" *");
        return labels;
    };
    struct Case
    {
        const char *name;
        QList<Element> ticked;
        QStringList labels;
        QList<int> entries;
    };
    const QList<Case> cases = {
        {"only Vas: the pH alone", {Elements::Fe}, starred({2}), {13}},
        {"none: all plain", {}, plainLabels, {}},
        {"Kén, Molibdén, Bór star nothing", {Elements::S, Elements::Mo, Elements::B}, plainLabels,
            {}},
        {"Nitrogén: Ka and humus", {Elements::N}, starred({3, 5}), {1}},
        {"Foszfor: pH, lime, P", {Elements::P}, starred({2, 4, 6}), {2}},
        {"Kálium", {Elements::K}, starred({3, 7}), {3}},
        {"Magnézium", {Elements::Mg}, starred({3, 8}), {4}},
        {"Mangán", {Elements::Mn}, starred({2, 3, 9}), {6}},
        {"Cink", {Elements::Zn}, starred({3, 10}), {5}},
        {"Réz", {Elements::Cu}, starred({3, 5, 11}), {7}},
        {"everything",
            {Elements::N, Elements::P, Elements::K, Elements::Mg, Elements::S, Elements::Mn,
                Elements::Zn, Elements::Cu, Elements::Fe, Elements::Mo, Elements::B},
            starred({2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), {1, 2, 3, 4, 5, 6, 7, 13}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PlanItems items;
        SoilSamples::initSoilGrid(items);
        ElementTable elements;
        // what an earlier selection left behind is replaced
        for (int row = 2; row <= 11; ++row)
            items.soilSampleTable.setCell(row, 0, plainLabels[row - 2] + QStringLiteral(" *"));
        for (int index = 1; index <= 13; ++index)
            elements.entry(index).selected = true;

        items.elementSelected.fill(false);
        for (Element element : c.ticked)
            items.elementSelected[element] = true;
        applyElementSelection(items, elements);

        EXPECT_EQ(rowLabels(items), c.labels);
        EXPECT_EQ(selectedEntries(elements), c.entries);
        EXPECT_EQ(items.soilSampleTable.cell(1, 0), QStringLiteral("Mintajel:"));

        // with the average and one sample filled but for one starred cell, the check fails
        SoilSamples::setSampleCount(items, 1);
        for (int column = 1; column <= 2; ++column) {
            for (int row = 1; row <= 11; ++row)
                items.soilSampleTable.setCell(row, column, QStringLiteral("1"));
        }
        EXPECT_TRUE(SoilSamples::checkSoilGrid(items));
        for (int cell = 0; cell < 20; ++cell) {
            const int row = 2 + cell / 2;
            const int column = 1 + cell % 2;
            SCOPED_TRACE(QStringLiteral("%1/%2").arg(row).arg(column).toStdString());
            items.soilSampleTable.setCell(row, column, QString());
            EXPECT_EQ(SoilSamples::checkSoilGrid(items), c.labels[row - 2] == plainLabels[row - 2]);
            items.soilSampleTable.setCell(row, column, QStringLiteral("1"));
        }
    }
}

TEST(ElementSelectionTest, LeavingTheBoxSetsTheFlagsOnly)
{
    PlanItems items;
    SoilSamples::initSoilGrid(items);
    items.soilSampleTable.setCell(3, 0, QStringLiteral("Kötöttség Ka *")); // from before
    ElementTable elements;
    elements.entry(ElementTable::Fe).selected = true;
    items.elementSelected.fill(false);
    items.elementSelected[Elements::K] = true;
    items.elementSelected[Elements::B] = true;
    const TextGrid grid = items.soilSampleTable;

    applySelectedFlags(items, elements);
    EXPECT_EQ(selectedEntries(elements), QList<int>({3})); // Fe cleared, B selects nothing
    EXPECT_EQ(items.soilSampleTable, grid);
}
