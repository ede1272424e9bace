#include "core/plan/elementtable.h"

#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

TEST(ElementTableTest, FindParameterComparesCodesExactly)
{
    ElementTable table;
    table.entry(ElementTable::Ka).value = 38;
    const struct
    {
        QString code;
        double value;
        QString name;
    } cases[] = {
        {"Ka", 38, "Kötöttség"},
        {"ka", 0, ""}, // no match in another letter case: the blank entry
        {"", 0, ""}, // an empty rule parameter
        {"Ka ", 0, ""},
        {"Po", 0, "Foszfor"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        const ElementEntry &entry = table.findParameter(c.code);
        EXPECT_EQ(entry.value, c.value);
        EXPECT_EQ(entry.name, c.name);
    }
}

TEST(ElementTableTest, LoadSampleColumnReadsEachParameterFromItsRow)
{
    PlanItems items;
    SoilSamples::initSoilGrid(items);
    items.siteCategory = 3;
    items.sampleCount = 2;
    items.soilSampleTable.setCell(1, 3, QStringLiteral("TVG2"));
    for (int row = 2; row <= 11; ++row)
        items.soilSampleTable.setCell(row, 3, QStringLiteral("%1,5").arg(row)); // sample 2

    ElementTable table;
    table.loadSampleColumn(items, 2); // sample 2 is grid column 3
    QList<double> values;
    for (int index = 0; index < ElementTable::entryCount; ++index)
        values.append(table.entry(index).value);
    // N, P, K and Fe have no soil row; Mg, Zn, Mn and Cu (4–7) read theirs; then Ka, Ko,
    // Po, Hsz, SzT (site category IV: index 3 + 1), Fe, Caco and pH.
    EXPECT_EQ(values, QList<double>({0, 0, 0, 0, 8.5, 10.5, 9.5, 11.5, 3.5, 7.5, 6.5, 5.5, 4, 0,
                                     4.5, 2.5, 0, 0, 0, 0}));
    EXPECT_EQ(table.currentSampleLabel(), QStringLiteral("TVG2"));
}

TEST(ElementTableTest, ACellThatIsNotANumberKeepsThePreviousColumnsValue)
{
    PlanItems items;
    SoilSamples::initSoilGrid(items);
    items.sampleCount = 1;
    items.soilSampleTable.setCell(2, 1, QStringLiteral("7,4"));
    items.soilSampleTable.setCell(3, 1, QStringLiteral("42"));
    items.soilSampleTable.setCell(5, 1, QStringLiteral("2,1"));
    items.soilSampleTable.setCell(1, 2, QStringLiteral("M1"));
    items.soilSampleTable.setCell(2, 2, QStringLiteral("6,8"));
    items.soilSampleTable.setCell(3, 2, QStringLiteral("x")); // not a number
    items.soilSampleTable.setCell(5, 2, QString()); // empty

    ElementTable table;
    table.loadSampleColumn(items, 0);
    EXPECT_EQ(table.entry(ElementTable::Ph).value, 7.4); // the decimal typed, exactly
    EXPECT_EQ(table.currentSampleLabel(), QStringLiteral("Átlag"));
    table.loadSampleColumn(items, 1);
    EXPECT_EQ(table.entry(ElementTable::Ph).value, 6.8);
    EXPECT_EQ(table.entry(ElementTable::Ka).value, 42); // from the average column
    EXPECT_EQ(table.entry(ElementTable::Hsz).value, 2.1);
    EXPECT_EQ(table.currentSampleLabel(), QStringLiteral("M1"));
}

TEST(ElementTableTest, ClearSelectionLeavesTheEntriesPastVas)
{
    ElementTable table;
    for (int index = 0; index < ElementTable::entryCount; ++index)
        table.entry(index).selected = true;
    table.clearSelection();
    for (int index = 1; index <= 13; ++index) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(table.entry(index).selected);
    }
    EXPECT_TRUE(table.entry(14).selected);
    EXPECT_TRUE(table.entry(15).selected);
}
