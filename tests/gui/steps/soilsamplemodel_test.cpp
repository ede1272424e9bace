#include "gui/steps/soilsamplemodel.h"

#include "core/plan/elementselection.h"
#include "core/plan/elementtable.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "gui/steps/soilsamplegrid.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SoilSampleModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_plan.update(PlanItem::All, SoilSamples::initSoilGrid, Plan::Change::Computed);
        m_plan.resetPlan();
        m_plan.setOpen(true);
        m_plan.markSaved();
    }

    QStringList horizontalHeaders(const QAbstractItemModel &model) const
    {
        QStringList texts;
        for (int column = 0; column < model.columnCount(); ++column)
            texts << model.headerData(column, Qt::Horizontal).toString();
        return texts;
    }

    const PlanItems &items() const { return m_plan.items(); }

    Plan m_plan;
};

TEST_F(SoilSampleModelTest, ShowsTheTitlesOfTheTable)
{
    m_plan.setSampleCount(3);
    SoilSampleModel model(m_plan);
    ASSERT_EQ(model.rowCount(), 12);
    ASSERT_EQ(model.columnCount(), 5);
    EXPECT_EQ(horizontalHeaders(model), (QStringList{"", "Átlag", "1.", "2.", "3."}));

    // The labels of column 0 are the row titles: after step 1 with only Foszfor ticked its rows carry the star.
    QSignalSpy titles(&model, &QAbstractItemModel::headerDataChanged);
    m_plan.update(
        PlanItem::SoilSampleTable,
        [](PlanItems &items) {
            items.elementSelected.fill(false);
            items.elementSelected[Elements::P] = true;
            ElementTable elements;
            ElementSelection::applyElementSelection(items, elements);
        },
        Plan::Change::Computed);
    EXPECT_FALSE(titles.isEmpty());
    EXPECT_EQ(model.headerData(6, Qt::Vertical).toString(), QStringLiteral("Foszfor P2O *"));
}

TEST_F(SoilSampleModelTest, EditsWriteThePlanButNotTheTitles)
{
    m_plan.setSampleCount(2, Plan::Change::Computed);
    SoilSampleModel model(m_plan);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(4, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 2), QStringLiteral("x")));
    EXPECT_FALSE(model.setData(model.index(4, 0), QStringLiteral("x")));
    EXPECT_EQ(items().soilSampleTable.cell(0, 2), QStringLiteral("1."));
    EXPECT_EQ(items().soilSampleTable.cell(4, 0), QStringLiteral("Mész CaCo"));
    EXPECT_FALSE(m_plan.isModified());

    // Writing the text a cell already holds is no change.
    EXPECT_TRUE(model.setData(model.index(3, 2), QString()));
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_EQ(changed.count(), 0);

    // (typing into the cells is the step-2 tests')
    EXPECT_TRUE(model.setData(model.index(3, 2), QStringLiteral("41")));
    EXPECT_EQ(items().soilSampleTable.cell(3, 2), QStringLiteral("41"));
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(SoilSampleModelTest, HoldsNineHundredNinetyNineSamples)
{
    SoilSampleModel model(m_plan);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    // The model follows the plan by itself (the counts and the last title as the sample
    // count is typed are checked in the step-2 tests).
    m_plan.setSampleCount(PlanItems::maxSampleCount);
    m_plan.setSoilCell(1, 1000, QStringLiteral("TVG999"));
    ASSERT_EQ(model.columnCount(), 1001);

    SoilSampleGrid grid;
    grid.setModel(&model);
    grid.resize(600, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    // Column 0 is shown as the row titles: 80 pixels, or what the longest label needs.
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_TRUE(grid.isRowHidden(0));
    const QHeaderView *titles = grid.verticalHeader();
    EXPECT_GE(titles->width(), SoilSampleGrid::titleColumnWidth);
    EXPECT_GT(titles->width(),
              titles->fontMetrics().horizontalAdvance(QStringLiteral("Magnézium Mg")));

    const QModelIndex last = model.index(1, 1000);
    grid.scrollTo(last);
    const QRect cell = grid.visualRect(last);
    EXPECT_TRUE(grid.viewport()->rect().contains(cell)) << cell.x() << " " << cell.width();
    EXPECT_EQ(grid.horizontalScrollBar()->value(), grid.horizontalScrollBar()->maximum());
    EXPECT_EQ(grid.columnWidth(1000), SoilSampleGrid::sampleColumnWidth);

    // Fewer samples: the columns go again.
    m_plan.setSampleCount(1);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_FALSE(grid.isColumnHidden(1));
    m_plan.setSoilCell(2, 1, QStringLiteral("6,5"), Plan::Change::Computed); // an average
}

} // namespace
