#include "core/planfile/planjson.h"

#include "core/plan/planitems.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

QJsonArray texts(std::initializer_list<const char16_t *> cells)
{
    QJsonArray row;
    for (const char16_t *cell : cells)
        row.append(QString::fromUtf16(cell));
    return row;
}

TEST(PlanJsonTest, SmallPlan)
{
    PlanItems items;
    items.elementSelected.fill(true);
    items.elementSelected[Elements::B] = false;
    items.lotNumber = QStringLiteral("Őrség-dűlő");
    items.area = QStringLiteral("5000");
    items.siteCategory = 2;
    items.sampleCount = 1;
    const char16_t *const marks[] = {u"Átlag", u"K-1"};
    for (int column = 1; column <= 2; ++column) {
        items.soilSampleTable.setCell(1, column, QString::fromUtf16(marks[column - 1]));
        for (int row = 2; row <= 11; ++row)
            items.soilSampleTable.setCell(row, column, QString::number(row));
    }
    items.soilSampleTable.setCell(1, 3, QStringLiteral("nem használt")); // beyond the samples
    items.cropId = QStringLiteral("3");
    items.plannedYield = QStringLiteral("6,5");
    items.scheduleGrid.setCell(1, 0, QStringLiteral("2012.3.5."));
    items.scheduleGrid.setCell(1, 1, QStringLiteral("Karbamid"));
    items.scheduleGrid.setCell(1, 2, QStringLiteral("100"));
    items.scheduleDetailGrid.setCell(1, 0, QStringLiteral("46"));
    items.scheduleDetailGrid.setCell(1, 14, QStringLiteral("0"));
    items.leafLinks.setRowCount(3);
    items.leafLinks.setCell(1, 0, QStringLiteral("K-1"));
    items.leafLinks.setCell(1, 4, QStringLiteral("9"));

    const QJsonObject json = planToJson(items);
    const QJsonArray elements = json.value(QStringLiteral("elementSelected")).toArray();
    ASSERT_EQ(elements.size(), 11);
    EXPECT_TRUE(elements.at(0).toBool());   // N
    EXPECT_FALSE(elements.at(10).toBool()); // B
    EXPECT_EQ(json.value(QStringLiteral("lotNumber")).toString(), QStringLiteral("Őrség-dűlő"));
    EXPECT_EQ(json.value(QStringLiteral("area")).toString(), QStringLiteral("5000"));
    EXPECT_EQ(json.value(QStringLiteral("siteCategory")).toInt(), 2); // III
    EXPECT_EQ(json.value(QStringLiteral("sampleCount")).toInt(), 1);
    EXPECT_EQ(json.value(QStringLiteral("cropId")).toString(), QStringLiteral("3"));
    EXPECT_EQ(json.value(QStringLiteral("plannedYield")).toString(), QStringLiteral("6,5"));
    EXPECT_EQ(json.value(QStringLiteral("residueCrop")).toInt(), PlanItems::EgyikSem); // reset value
    EXPECT_EQ(json.value(QStringLiteral("residualN")).toString(), QString());

    // Rows 1–11 (mark, ten values) of the two columns in use; column 3 is not.
    const QJsonArray soil = json.value(QStringLiteral("soilSampleTable")).toArray();
    ASSERT_EQ(soil.size(), 11);
    EXPECT_EQ(soil.at(0).toArray(), texts({u"Átlag", u"K-1"}));
    EXPECT_EQ(soil.at(10).toArray(), texts({u"11", u"11"})); // Cu, row 11

    const QJsonArray schedule = json.value(QStringLiteral("scheduleGrid")).toArray();
    ASSERT_EQ(schedule.size(), 1); // the one application, no header
    EXPECT_EQ(schedule.at(0).toArray(), texts({u"2012.3.5.", u"Karbamid", u"100"}));
    const QJsonArray detail = json.value(QStringLiteral("scheduleDetailGrid")).toArray();
    ASSERT_EQ(detail.size(), 1);
    ASSERT_EQ(detail.at(0).toArray().size(), 16); // N … B, Egyeb, Egyebmeny, Anyagid, Ertek, Mert
    EXPECT_EQ(detail.at(0).toArray().at(0).toString(), QStringLiteral("46"));

    const QJsonArray links = json.value(QStringLiteral("leafLinks")).toArray();
    ASSERT_EQ(links.size(), 1); // the empty row below the link is not a link
    EXPECT_EQ(links.at(0).toArray(), texts({u"K-1", u"", u"", u"", u"9"}));
}

TEST(PlanJsonTest, AnEmptyScheduleHasNoRows)
{
    PlanItems items;
    items.scheduleGrid.setCell(1, 0, QStringLiteral("2012.3.5.")); // a date, but no material
    const QJsonObject json = planToJson(items);
    EXPECT_TRUE(json.value(QStringLiteral("scheduleGrid")).toArray().isEmpty());
    EXPECT_TRUE(json.value(QStringLiteral("leafLinks")).toArray().isEmpty());
    // The average column is always there.
    EXPECT_EQ(json.value(QStringLiteral("soilSampleTable")).toArray().at(0).toArray().size(), 1);
}

} // namespace
