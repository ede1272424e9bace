#include "gui/steps/resultbox.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

ResultTable supplyList(int sampleCount)
{
    ResultTable table;
    table.boxTitle = QStringLiteral("Tápanyag-szolgáltatási szint kimutatása");
    table.reportTitle = QStringLiteral("Ellátottság :");
    table.headings = QStringList{QString(), QStringLiteral("Nitrogén"), QStringLiteral("Foszfor")};
    table.rows.append({QStringLiteral("Átlag"), QStringLiteral("Közepes"), ResultTable::noValue()});
    for (int sample = 1; sample <= sampleCount; ++sample)
        table.rows.append({QStringLiteral("T-%1").arg(sample), QStringLiteral("Jó"),
                           QStringLiteral("Gyenge")});
    return table;
}

TEST(ResultBoxTest, ShowsTheListWithItsTitlesAndSizesAndCloses)
{
    QWidget surface;
    surface.resize(1200, 900);
    ResultBox box(&surface);
    surface.show();
    box.showResult(supplyList(2));

    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.reportTitle(), QStringLiteral("Ellátottság :"));
    // The cells are shown as TextTableModel shows any table.
    QAbstractItemModel *model = box.grid()->model();
    ASSERT_EQ(model->rowCount(), 3); // average and two samples
    EXPECT_EQ(model->index(2, 0).data().toString(), QStringLiteral("T-2"));

    // Three data rows and the heading: (4 + 2) × 19 pixels; the box 60 pixels taller, the
    // buttons 25 pixels above its bottom.
    EXPECT_EQ(box.grid()->height(), 6 * 19);
    EXPECT_EQ(box.height(), 6 * 19 + 60);
    auto *close = box.findChild<QPushButton *>(QStringLiteral("closeResultButton"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->y(), box.height() - 25);
    EXPECT_EQ(box.printButton()->y(), box.height() - 25);
    // Every column fits into the grid: nothing is hidden behind a scroll bar.
    EXPECT_GE(box.grid()->width(), box.grid()->horizontalHeader()->length());
    EXPECT_TRUE(box.printButton()->isEnabled());
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
}

TEST(ResultBoxTest, ANewListReplacesTheOldOne)
{
    QWidget surface;
    ResultBox box(&surface);
    QAbstractItemModelTester tester(box.grid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    box.showResult(supplyList(5));
    const int tall = box.height();
    ResultTable doses;
    doses.boxTitle = QStringLiteral("Javasolt hatóanyag dózisok");
    doses.headings = QStringList{QString(), QStringLiteral("Kálium")};
    doses.rows.append({QStringLiteral("Átlag"), QStringLiteral("120")});
    box.showResult(doses);
    EXPECT_EQ(box.grid()->model()->rowCount(), 1);
    EXPECT_EQ(box.grid()->model()->columnCount(), 2);
    EXPECT_LT(box.height(), tall);
    box.clearResult();
    EXPECT_EQ(box.grid()->model()->rowCount(), 0);
    EXPECT_EQ(box.title(), QStringLiteral("Javasolt hatóanyag dózisok")); // the title stays
}

TEST(ResultBoxTest, ColumnsTakeTheWidthsTheListAsksFor)
{
    ResultBox box;
    ResultTable split;
    split.headings = QStringList{QString(), QStringLiteral("Nitrogén"), QStringLiteral("Foszfor")};
    split.rows.append({QStringLiteral("Átlag"), QStringLiteral("Ö:40%,Max:60kg/ha"),
                       QStringLiteral("Ö:70%T:30%")});
    split.columnWidths = {0, 140, 100};
    box.showResult(split);
    QHeaderView *columns = box.grid()->horizontalHeader();
    EXPECT_EQ(columns->sectionSize(1), 140);
    EXPECT_EQ(columns->sectionSize(2), 100);
    EXPECT_GE(columns->sectionSize(0), 80); // not named: sized to its text
}

} // namespace
