#include "gui/steps/schedulemodel.h"

#include "core/plan/planitems.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

TextGrid twoRowSchedule()
{
    TextGrid grid(3, PlanItems::scheduleColumnCount);
    grid.setCell(1, 0, QStringLiteral("2024.03.05."));
    grid.setCell(1, 1, QStringLiteral("Pétisó 27% N"));
    grid.setCell(1, 2, QStringLiteral("150"));
    grid.setCell(2, 0, QStringLiteral("2024.04.10."));
    grid.setCell(2, 1, QStringLiteral("Kálisó 60% K2O"));
    grid.setCell(2, 2, QStringLiteral("80,5"));
    return grid;
}

TEST(ScheduleModelTest, ShowsTheDataRowsUnderTheirTitles)
{
    ScheduleModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    // An empty schedule is one blank row.
    model.setGrid(PlanItems().scheduleGrid);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_TRUE(model.index(0, 1).data().toString().isEmpty());

    model.setGrid(twoRowSchedule());
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Dátum"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Megnevezés"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Mennyiség"));
    // Row 0 of the grid is its header, so the first data row is the model's row 0.
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("2024.03.05."));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("Kálisó 60% K2O"));
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("80,5"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toInt(), 2);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
}

TEST(ScheduleModelTest, AChangedGridIsShownOnlyAfterTheReset)
{
    ScheduleModel model;
    TextGrid grid = twoRowSchedule();
    model.setGrid(grid);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    grid.setCell(1, 2, QStringLiteral("999"));
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("150"));
    model.setGrid(grid);
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("999"));
}

} // namespace
