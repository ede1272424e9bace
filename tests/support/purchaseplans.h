#pragma once

#include "core/plan/planitems.h"
#include "core/planfile/planfile.h"
#include "core/planfile/planfilelayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

// One application of a hand-made plan: material id, name and kg/ha.
struct TestApplication
{
    int id;
    const char *name;
    const char *perHectare;
};

// A plan of `area` m² (empty: none) scheduling the applications given, saved to `path`.
inline void savePurchasePlan(const QString &path, const QString &area,
                                  std::initializer_list<TestApplication> list)
{
    using namespace PlanFile::Layout;
    PlanItems items;
    items.area = area;
    for (int row = 2; row < PlanItems::soilRowCount; ++row)
        items.soilSampleTable.setCell(row, 1, QStringLiteral("0"));
    const int rows = std::max(int(list.size()) + 1, 2);
    items.scheduleGrid.setRowCount(rows);
    items.scheduleDetailGrid.setRowCount(rows);
    int row = 1;
    for (const TestApplication &application : list) {
        items.scheduleGrid.setCell(row, dateColumn, QStringLiteral("2026.3.15."));
        items.scheduleGrid.setCell(row, nameColumn, QString::fromUtf8(application.name));
        items.scheduleGrid.setCell(row, amountColumn, QString::fromUtf8(application.perHectare));
        for (int column = 0; column <= otherContentColumn; ++column)
            items.scheduleDetailGrid.setCell(row, column, QStringLiteral("0"));
        items.scheduleDetailGrid.setCell(row++, materialIdColumn, QString::number(application.id));
    }
    QString error;
    EXPECT_TRUE(PlanFile::savePlanFile(path, items, &error)) << qPrintable(error);
}
