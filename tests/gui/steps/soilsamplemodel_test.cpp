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
        SoilSamples::initSoilGrid(m_plan.items());
        m_plan.resetPlan();
        m_plan.setOpen(true);
        m_plan.markModified(true);
    }

    QStringList horizontalHeaders(const QAbstractItemModel &model) const
    {
        QStringList texts;
        for (int column = 0; column < model.columnCount(); ++column)
            texts << model.headerData(column, Qt::Horizontal).toString();
        return texts;
    }

    Plan m_plan;
};

TEST_F(SoilSampleModelTest, PassesTheModelTesterWhileColumnsComeAndGo)
{
    SoilSampleModel model(m_plan);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    SoilSamples::setSampleCount(m_plan.items(), 4);
    model.syncColumnCount();
    EXPECT_EQ(model.columnCount(), 6);
    SoilSamples::setSampleCount(m_plan.items(), 1);
    model.syncColumnCount();
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_TRUE(model.setData(model.index(2, 2), QStringLiteral("6,5")));
    model.refreshAverageColumn();
    m_plan.resetPlan();
    model.reload();
    EXPECT_EQ(model.columnCount(), 2);
}

TEST_F(SoilSampleModelTest, ShowsTheTitlesOfTheTable)
{
    SoilSamples::setSampleCount(m_plan.items(), 3);
    SoilSampleModel model(m_plan);
    ASSERT_EQ(model.rowCount(), 12);
    ASSERT_EQ(model.columnCount(), 5);
    EXPECT_EQ(horizontalHeaders(model), (QStringList{"", "Átlag", "1.", "2.", "3."}));

    QStringList rowTitles;
    for (int row = 1; row < model.rowCount(); ++row)
        rowTitles << model.headerData(row, Qt::Vertical).toString();
    EXPECT_EQ(rowTitles, (QStringList{"Mintajel:", "Kémhatás pH", "Kötöttség Ka", "Mész CaCo",
                                      "Humusz %", "Foszfor P2O", "Kálium K2O", "Magnézium Mg",
                                      "Mangán Mn", "Cink Zn", "Réz Cu"}));

    // After step 1 with only Foszfor ticked its rows carry the star.
    m_plan.items().elementSelected.fill(false);
    m_plan.items().elementSelected[Elements::P] = true;
    ElementTable elements;
    ElementSelection::applyElementSelection(m_plan.items(), elements);
    model.reload();
    EXPECT_EQ(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("Kémhatás pH *"));
    EXPECT_EQ(model.headerData(3, Qt::Vertical).toString(), QStringLiteral("Kötöttség Ka"));
    EXPECT_EQ(model.headerData(4, Qt::Vertical).toString(), QStringLiteral("Mész CaCo *"));
    EXPECT_EQ(model.headerData(6, Qt::Vertical).toString(), QStringLiteral("Foszfor P2O *"));
}

TEST_F(SoilSampleModelTest, EditsWriteThePlanButNotTheTitles)
{
    SoilSamples::setSampleCount(m_plan.items(), 2);
    SoilSampleModel model(m_plan);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(4, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 2), QStringLiteral("x")));
    EXPECT_FALSE(model.setData(model.index(4, 0), QStringLiteral("x")));
    EXPECT_EQ(m_plan.items().soilSampleTable.cell(0, 2), QStringLiteral("1."));
    EXPECT_EQ(m_plan.items().soilSampleTable.cell(4, 0), QStringLiteral("Mész CaCo"));
    EXPECT_FALSE(m_plan.isModified());

    // Writing the text a cell already holds is no change.
    EXPECT_TRUE(model.setData(model.index(3, 2), QString()));
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_EQ(changed.count(), 0);

    EXPECT_TRUE(model.flags(model.index(3, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(3, 2), QStringLiteral("41")));
    EXPECT_EQ(m_plan.items().soilSampleTable.cell(3, 2), QStringLiteral("41"));
    EXPECT_EQ(model.data(model.index(3, 2)).toString(), QStringLiteral("41"));
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(SoilSampleModelTest, HoldsNineHundredNinetyNineSamples)
{
    SoilSamples::setSampleCount(m_plan.items(), PlanItems::maxSampleCount);
    m_plan.items().soilSampleTable.setCell(1, 1000, QStringLiteral("TVG999"));
    SoilSampleModel model(m_plan);
    EXPECT_EQ(model.columnCount(), 1001);
    EXPECT_EQ(model.headerData(1000, Qt::Horizontal).toString(), QStringLiteral("999."));

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
    SoilSamples::setSampleCount(m_plan.items(), 2);
    model.syncColumnCount();
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_FALSE(grid.isColumnHidden(1));
}

} // namespace
