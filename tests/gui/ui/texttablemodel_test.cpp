#include "gui/ui/texttablemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

TEST(TextTableModelTest, ShowsACopyOfTheRowsUnderTheirHeadings)
{
    TextTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    const QStringList titles = {"Dátum", "Megnevezés", "Mennyiség"};
    QList<QStringList> rows = {{"2024.03.05.", "Pétisó 27% N", "150"},
                               {"2024.04.10.", "Kálisó 60% K2O", "80,5"}};
    model.setTable(titles, rows);
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Mennyiség"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toInt(), 2);
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("Kálisó 60% K2O"));
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    // A changed source is shown only after the next reset.
    rows[0][2] = QStringLiteral("999");
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("150"));
    model.setTable(titles, rows);
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("999"));
    EXPECT_EQ(resets.size(), 2);

    // The schedule's amounts to the right, the rest as the view has it (no value: 0).
    model.setAlignments({{}, {}, Qt::AlignRight | Qt::AlignVCenter});
    EXPECT_EQ(model.index(0, 1).data(Qt::TextAlignmentRole).toInt(), 0);
    EXPECT_EQ(model.index(0, 2).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));

    // No rows: the headings stay.
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 3);

    // A computed list: a row longer than the headings shows every cell, a shorter one empty
    // cells; the labels as they are, every value centred.
    model.setTable({"", "Nitrogén"}, {{"Átlag", "Jó", "Gyenge"}, {"T-1"}});
    model.setAlignments({Qt::Alignment()}, Qt::AlignCenter);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("Gyenge"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QString());
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(model.index(0, 0).data(Qt::TextAlignmentRole).toInt(), 0);
    EXPECT_EQ(model.index(1, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
}

} // namespace
