#include "gui/ui/texttablemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QStringList scheduleTitles = {"Dátum", "Megnevezés", "Mennyiség"};

TEST(TextTableModelTest, ShowsACopyOfTheRowsUnderTheirHeadings)
{
    TextTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QList<QStringList> rows = {{"2024.03.05.", "Pétisó 27% N", "150"},
                               {"2024.04.10.", "Kálisó 60% K2O", "80,5"}};
    model.setTable(scheduleTitles, rows);
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Mennyiség"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toInt(), 2);
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("Kálisó 60% K2O"));
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    // A changed source is shown only after the next reset.
    rows[0][2] = QStringLiteral("999");
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("150"));
    model.setTable(scheduleTitles, rows);
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("999"));
    EXPECT_EQ(resets.size(), 2);

    // No rows: the headings stay.
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 3);

    // A row longer than the headings shows every cell; a shorter one shows empty cells.
    model.setTable({"", "Nitrogén"}, {{"Átlag", "Jó", "Gyenge"}, {"T-1"}});
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("Gyenge"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QString());
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QString());
}

TEST(TextTableModelTest, EachColumnTakesItsAlignment)
{
    TextTableModel model;
    model.setTable(scheduleTitles, {{"2024.03.05.", "Pétisó 27% N", "150"}});
    const auto alignments = [&model] {
        QList<int> found;
        for (int column = 0; column < 3; ++column)
            found.append(model.index(0, column).data(Qt::TextAlignmentRole).toInt());
        return found;
    };
    // The schedule: the amounts to the right, the rest as the view has it (no value: 0).
    model.setAlignments({{}, {}, Qt::AlignRight | Qt::AlignVCenter});
    EXPECT_EQ(alignments(), QList<int>({0, 0, int(Qt::AlignRight | Qt::AlignVCenter)}));
    // A computed list: the labels as they are, every value centred.
    model.setAlignments({Qt::Alignment()}, Qt::AlignCenter);
    EXPECT_EQ(alignments(), QList<int>({0, int(Qt::AlignCenter), int(Qt::AlignCenter)}));
}

} // namespace
