#include "core/plan/textgrid.h"

#include <gtest/gtest.h>

TEST(TextGridTest, ResizeKeepsCellsInsideTheNewSize)
{
    TextGrid grid(3, 4);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c)
            grid.setCell(r, c, QStringLiteral("%1/%2").arg(r).arg(c));
    }
    grid.resize(2, 6); // fewer rows, more columns
    EXPECT_EQ(grid.cell(1, 3), QStringLiteral("1/3"));
    EXPECT_TRUE(grid.cell(1, 5).isEmpty());
    EXPECT_TRUE(grid.cell(2, 0).isEmpty()); // the cut row is gone

    grid.resize(4, 2); // growing the rows again brings no old text back
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("0/1"));
    EXPECT_TRUE(grid.cell(2, 0).isEmpty());
    EXPECT_TRUE(grid.cell(0, 3).isEmpty());
}

TEST(TextGridTest, CellsOutsideTheGridAreEmptyAndUnwritable)
{
    TextGrid grid(2, 2);
    grid.setCell(5, 5, QStringLiteral("x"));
    grid.setCell(-1, 0, QStringLiteral("x"));
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_TRUE(grid.cell(5, 5).isEmpty());
    EXPECT_TRUE(grid.cell(-1, 0).isEmpty());
}

TEST(TextGridTest, ClearIsLimitedToTheGrid)
{
    TextGrid grid(3, 3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            grid.setCell(r, c, QStringLiteral("v"));
    }
    grid.clear(1, 100, 1, 100); // ranges beyond the grid are cut to it
    EXPECT_EQ(grid.row(0), QStringList({"v", "v", "v"}));
    EXPECT_EQ(grid.row(1), QStringList({"v", "", ""}));
    EXPECT_EQ(grid.row(2), QStringList({"v", "", ""}));
}
