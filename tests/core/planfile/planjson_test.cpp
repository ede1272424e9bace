#include "core/planfile/planjson.h"

#include "core/plan/planitems.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

// The JSON view holds what the plan file stores: the soil columns in use (the marks, then
// the ten values), the schedule rows the file counts without the header, the links without
// the empty row below them.
TEST(PlanJsonTest, HoldsTheItemsAndTheGridRowsInUse)
{
    PlanItems items;
    items.elementSelected.fill(true);
    items.elementSelected[Elements::B] = false;
    items.lotNumber = QStringLiteral("Őrség-dűlő");
    items.area = QStringLiteral("5000");
    items.siteCategory = 2;
    items.sampleCount = 1;
    QJsonArray soil;
    for (int row = 1; row <= 11; ++row) {
        const QStringList cells = {QStringLiteral("%1a").arg(row), QStringLiteral("%1b").arg(row)};
        items.soilSampleTable.setCell(row, 1, cells[0]);
        items.soilSampleTable.setCell(row, 2, cells[1]);
        soil.append(QJsonArray::fromStringList(cells));
    }
    items.soilSampleTable.setCell(1, 3, QStringLiteral("nem használt")); // beyond the samples
    items.plannedYield = QStringLiteral("6,5");
    items.scheduleGrid.setCell(1, 0, QStringLiteral("2012.3.5."));
    items.scheduleGrid.setCell(1, 1, QStringLiteral("Karbamid"));
    items.scheduleGrid.setCell(1, 2, QStringLiteral("100"));
    items.scheduleDetailGrid.setCell(1, 0, QStringLiteral("46"));
    items.leafLinks.setRowCount(3);
    items.leafLinks.setCell(1, 0, QStringLiteral("K-1"));
    items.leafLinks.setCell(1, 4, QStringLiteral("9"));

    const QJsonObject json = planToJson(items);
    EXPECT_EQ(json.value(QStringLiteral("elementSelected")).toArray(),
              QJsonArray({true, true, true, true, true, true, true, true, true, true, false}));
    EXPECT_EQ(QStringList({json.value(QStringLiteral("lotNumber")).toString(),
                           json.value(QStringLiteral("area")).toString(),
                           json.value(QStringLiteral("plannedYield")).toString(),
                           json.value(QStringLiteral("residualN")).toString()}),
              QStringList({"Őrség-dűlő", "5000", "6,5", ""}));
    EXPECT_EQ(json.value(QStringLiteral("siteCategory")).toInt(), 2); // III
    EXPECT_EQ(json.value(QStringLiteral("soilSampleTable")).toArray(), soil);
    EXPECT_EQ(json.value(QStringLiteral("scheduleGrid")).toArray(),
              QJsonArray({QJsonArray::fromStringList({"2012.3.5.", "Karbamid", "100"})}));
    // N … B, Egyeb, Egyebmeny, Anyagid, Ertek, Mert
    EXPECT_EQ(json.value(QStringLiteral("scheduleDetailGrid")).toArray(),
              QJsonArray(
                  {QJsonArray::fromStringList(QStringList{"46"} + QStringList(15, QString()))}));
    EXPECT_EQ(json.value(QStringLiteral("leafLinks")).toArray(),
              QJsonArray({QJsonArray::fromStringList({"K-1", "", "", "", "9"})}));

    // A date but no material is no schedule row; the average column is always there.
    PlanItems empty;
    empty.scheduleGrid.setCell(1, 0, QStringLiteral("2012.3.5."));
    const QJsonObject none = planToJson(empty);
    EXPECT_TRUE(none.value(QStringLiteral("scheduleGrid")).toArray().isEmpty());
    EXPECT_TRUE(none.value(QStringLiteral("leafLinks")).toArray().isEmpty());
    EXPECT_EQ(none.value(QStringLiteral("soilSampleTable")).toArray().at(0).toArray().size(), 1);
}

} // namespace
