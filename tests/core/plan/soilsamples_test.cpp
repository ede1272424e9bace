#include "core/plan/soilsamples.h"

#include "core/plan/elements.h"
#include "core/plan/planitems.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

using namespace SoilSamples;

// A plan whose grid is fresh, with `count` samples, every cell of rows 1–11 filled from the
// average to the last sample.
PlanItems filledPlan(int count)
{
    PlanItems items;
    initSoilGrid(items);
    setSampleCount(items, count);
    for (int column = 1; column <= count + 1; ++column) {
        for (int row = 1; row <= 11; ++row)
            items.soilSampleTable.setCell(row, column, QStringLiteral("1"));
    }
    return items;
}

} // namespace

TEST(SoilSamplesTest, InitSoilGridWritesTheFixedTexts)
{
    PlanItems items;
    items.soilSampleTable.setCell(5, 3, QStringLiteral("7,2")); // left from an earlier plan
    items.soilSampleTable.setCell(0, 0, QStringLiteral("x"));
    initSoilGrid(items);
    const TextGrid &grid = items.soilSampleTable;

    // the corner stays empty, the samples are numbered from 1 (column number minus one),
    // every other cell is emptied; every row title is checked with the element selection
    EXPECT_EQ(grid.row(0).mid(0, 3), QStringList({"", "Átlag", "1."}));
    EXPECT_EQ(grid.cell(0, 1000), QStringLiteral("999."));
    EXPECT_EQ(grid.row(1).mid(0, 3), QStringList({"Mintajel:", "Átlag", ""}));
    EXPECT_EQ(grid.cell(5, 3), QString());
    EXPECT_EQ(QStringList({grid.cell(2, 0), grid.cell(11, 0)}),
        QStringList({"Kémhatás pH", "Réz Cu"}));
}

TEST(SoilSamplesTest, SampleCountStaysWithinTheColumnsOfThePlan)
{
    const std::pair<int, int> cases[] = {
        // no negative count; the plan file holds 1000 columns with the average
        {-1, 0}, {0, 0}, {999, 999}, {1000, 999},
    };
    for (const auto &[requested, expected] : cases) {
        SCOPED_TRACE(requested);
        PlanItems items;
        setSampleCount(items, requested);
        EXPECT_EQ(items.sampleCount, expected);
    }
}

TEST(SoilSamplesTest, AveragesDivideByTheNumberOfSamples)
{
    const struct
    {
        const char *name;
        QStringList samples;
        QString average;
    } cases[] = {
        {"an empty cell counts as 0", {"2", "", "4"}, "2"}, // 6 / 3, not 6 / 2
        {"decimal commas", {"1,5", "2"}, "1,75"}, // 3.5 / 2
        {"shortest form, 15 digits", {"1", "1", "2"}, "1,33333333333333"}, // 4 / 3
        {"all empty", {"", ""}, "0"},
        {"negative values are numbers too", {"-1", "3"}, "1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PlanItems items;
        initSoilGrid(items);
        items.programAverage = true;
        setSampleCount(items, int(c.samples.size()));
        for (int i = 0; i < c.samples.size(); ++i)
            items.soilSampleTable.setCell(4, 2 + i, c.samples[i]);
        items.soilSampleTable.setCell(1, 1, QStringLiteral("Átl."));

        EXPECT_FALSE(computeAverages(items).isRefused());
        EXPECT_EQ(items.soilSampleTable.cell(4, 1), c.average);
        // the other value rows hold empty samples: their mean is 0
        EXPECT_EQ(items.soilSampleTable.cell(2, 1), QStringLiteral("0"));
        EXPECT_EQ(items.soilSampleTable.cell(11, 1), QStringLiteral("0"));
        // the header and the mark row are not touched
        EXPECT_EQ(items.soilSampleTable.cell(0, 1), QStringLiteral("Átlag"));
        EXPECT_EQ(items.soilSampleTable.cell(1, 1), QStringLiteral("Átl."));
    }
}

// Without the box ticked, without samples, or with a cell that is not a number, no
// average changes: the rows before and after the bad one keep their old averages alike.
TEST(SoilSamplesTest, AveragesChangeNothingUnlessAskedForAndAllNumbers)
{
    const struct
    {
        const char *name;
        bool programAverage;
        int count;
        QString badCell; // in row 6 (Foszfor), column 3 (sample 2)
        QString refusal;
    } cases[] = {
        {"box not ticked", false, 2, "1", ""},
        {"no samples", true, 0, "1", ""},
        {"a point is not a decimal", true, 3, "12.5",
            "A(z) 2. minta „Foszfor P2O” értéke nem szám: „12.5”. Kérem javítsa!"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PlanItems items = filledPlan(3);
        items.soilSampleTable.setCell(2, 1, QStringLiteral("typed by hand"));
        items.soilSampleTable.setCell(11, 1, QStringLiteral("5"));
        items.soilSampleTable.setCell(6, 3, c.badCell);
        items.programAverage = c.programAverage;
        setSampleCount(items, c.count);
        const TextGrid before = items.soilSampleTable;
        EXPECT_EQ(computeAverages(items).refusalText(), c.refusal);
        EXPECT_EQ(items.soilSampleTable, before);
    }
}

TEST(SoilSamplesTest, BadCellNamesTheSampleAndTheRow)
{
    const std::pair<BadCell, QString> cases[] = {
        {{2, 2, "x"}, "A(z) 1. minta „Kémhatás pH” értéke nem szám: „x”. Kérem javítsa!"},
        {{11, 1000, "1,2,3"}, "A(z) 999. minta „Réz Cu” értéke nem szám: „1,2,3”. Kérem javítsa!"},
        {{3, 1, "?"}, "Az átlag oszlop „Kötöttség Ka” értéke nem szám: „?”. Kérem javítsa!"},
    };
    for (const auto &[cell, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        EXPECT_EQ(cell.message(), message);
    }
}

// The rows each element needs, and that the others may stay empty, are checked with the
// element selection.
TEST(SoilSamplesTest, SoilGridCheckWantsMarksAndTheRowsOfTheTickedElements)
{
    using Elements::Element;
    struct Case
    {
        const char *name;
        int count;
        QList<Element> ticked;
        int emptyRow, emptyColumn;
        bool passes;
    };
    const QList<Case> cases = {
        {"no samples: nothing is checked", 0, {Elements::N}, 3, 1, true},
        {"average mark missing", 2, {}, 1, 1, false},
        {"last sample's mark missing", 2, {}, 1, 3, false},
        {"a column past the last sample does not count", 2, {Elements::N}, 3, 4, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PlanItems items = filledPlan(c.count == 0 ? 2 : c.count);
        setSampleCount(items, c.count);
        items.elementSelected.fill(false);
        for (Element element : c.ticked)
            items.elementSelected[element] = true;
        items.soilSampleTable.setCell(c.emptyRow, c.emptyColumn, QString());
        EXPECT_EQ(checkSoilGrid(items), c.passes);
    }
}

TEST(SoilSamplesTest, FieldCheckCollectsItsMessagesInOrder)
{
    struct Case
    {
        const char *name;
        QString lotNumber;
        QString area;
        int siteCategory;
        QString messages;
    };
    const QList<Case> cases = {
        {"all given", "0123/4", "124500", 0, ""},
        {"all missing", "", "", -1,
            "Nincs megadva helyrajzi szám. Nincs megadva terület. Helytelen talajkategória. "},
        {"area with a decimal part", "12", "12,5", 5, "Terület értéke nem egész szám. "},
        {"category past VI", "1", "100", 6, "Helytelen talajkategória. "},
        {"category VI is the last", "1", "100", 5, ""},
        {"lot number and area faulty", "", "1e3", 0,
            "Nincs megadva helyrajzi szám. Terület értéke nem egész szám. "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PlanItems items;
        items.lotNumber = c.lotNumber;
        items.area = c.area;
        items.siteCategory = c.siteCategory;
        EXPECT_EQ(checkFieldData(items), c.messages);
    }
}
