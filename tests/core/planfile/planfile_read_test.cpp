#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"
#include "core/planfile/planjson.h"

#include "support/testdata.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

const QString formatMessage = QStringLiteral("A fájl nem Tápanyag-gazdálkodási terv, vagy sérült.");

// A plan as a new plan leaves it, with the headers the program gives its grids.
PlanItems freshItems()
{
    PlanItems items;
    items.elementSelected.fill(true);
    items.scheduleGrid.setCell(0, 0, QStringLiteral("Dátum"));
    items.scheduleGrid.setCell(0, 1, QStringLiteral("Megnevezés"));
    items.scheduleGrid.setCell(0, 2, QStringLiteral("Mennyiség"));
    items.scheduleDetailGrid.setCell(0, 0, QStringLiteral("Nitrogén"));
    items.soilSampleTable.setCell(1, 0, QStringLiteral("Mintajel:"));
    return items;
}

bool readBytes(const QByteArray &bytes, PlanItems &items, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return PlanFile::readPlanFile(buffer, items, error);
}

// A file of the plan with one sample and one application that expectCommonItems checks.
QByteArray samplePlan(int version)
{
    return testData(QStringLiteral("planfile/sample-v%1.tap").arg(version));
}

// The file with the little-endian number `value` at `offset`.
QByteArray withInt32(QByteArray bytes, qsizetype offset, qint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

void expectCommonItems(const PlanItems &items)
{
    const std::array<bool, 11> selected = {true, true, true, true, false, true,
                                           true, true, true, true, false};
    EXPECT_EQ(items.elementSelected, selected); // S and B unticked
    EXPECT_FALSE(items.showDescriptions);
    EXPECT_EQ(items.lotNumber, QStringLiteral("0452/7 Őrség-dűlő")); // cp1250 decoded
    EXPECT_EQ(items.parcelNumber, QStringLiteral("12"));
    EXPECT_EQ(items.area, QStringLiteral("124500"));
    EXPECT_EQ(items.farmingYear, QStringLiteral("2026/27"));
    EXPECT_EQ(items.sampleCount, 1); // two column records: the average and one sample
    EXPECT_TRUE(items.programAverage);
    EXPECT_EQ(items.soilSampleTable.cell(1, 1), QStringLiteral("Átlag"));
    EXPECT_EQ(items.soilSampleTable.cell(2, 1), QStringLiteral("7,4")); // pH, decimal comma
    EXPECT_EQ(items.soilSampleTable.cell(10, 1), QStringLiteral("1,25")); // Zn
    EXPECT_EQ(items.soilSampleTable.cell(1, 2), QStringLiteral("K-1"));
    EXPECT_EQ(items.soilSampleTable.cell(4, 2), QStringLiteral("0")); // a stored 0 stays "0"
    EXPECT_EQ(items.soilSampleTable.cell(6, 2), QStringLiteral("150,5"));
    EXPECT_EQ(items.soilSampleTable.cell(1, 3), QString()); // no third column record
    EXPECT_EQ(items.soilSampleTable.cell(1, 0), QStringLiteral("Mintajel:")); // titles kept
    EXPECT_EQ(items.cropId, QStringLiteral("1")); // up to the first NUL, as Novid has it
    EXPECT_EQ(items.plannedYield, QStringLiteral("6,5"));
    EXPECT_EQ(items.residueCrop, PlanItems::Napraforgo);
    EXPECT_EQ(items.legumeEffect, PlanItems::PillangosElozoEv);
    EXPECT_EQ(items.forecropYield, QStringLiteral("3,2"));
    EXPECT_EQ(items.manureTiming, PlanItems::EgyEve);
    EXPECT_EQ(items.manureAmount, QStringLiteral("30"));
    EXPECT_TRUE(items.yieldLoss);
    EXPECT_EQ(items.residualN, QStringLiteral("12,5"));
    // with "Hozamkiesés" ticked a stored 0 shows as "0", so step 4 accepts it
    EXPECT_EQ(items.residualP, QStringLiteral("0"));
    EXPECT_EQ(items.residualK, QStringLiteral("0"));

    ASSERT_EQ(items.scheduleGrid.rowCount(), 2); // header and the one application
    EXPECT_EQ(items.scheduleGrid.cell(0, 1), QStringLiteral("Megnevezés")); // header kept
    EXPECT_EQ(items.scheduleGrid.cell(1, 0), QStringLiteral("2012.3.5.")); // no leading zeros
    EXPECT_EQ(items.scheduleGrid.cell(1, 1), QStringLiteral("Karbamid"));
    EXPECT_EQ(items.scheduleGrid.cell(1, 2), QStringLiteral("150,5"));
    ASSERT_EQ(items.scheduleDetailGrid.rowCount(), 2);
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 0), QStringLiteral("46"));  // N
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 1), QStringLiteral("0"));   // P
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 10), QStringLiteral("0,25")); // B
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 11), QStringLiteral("Kén"));
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 12), QStringLiteral("1,5"));
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 13), QStringLiteral("12"));
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 14), QStringLiteral("0")); // Ertek is not stored
    EXPECT_EQ(items.scheduleDetailGrid.cell(1, 15), QStringLiteral("kg"));
}

// Version 13 knows no site category (it reads as I) and no links; 14 keeps the category and
// stores no links whatever its count says; 15 reads both.
TEST(PlanFileReadTest, EachVersionReadsItsSiteCategoryAndLinks)
{
    struct Case
    {
        int version;
        int siteCategory;
        QList<std::pair<QString, QString>> links; // mark and the leaf sample's Id
    };
    // the version-14 file says 5 links and holds none
    const Case cases[] = {
        {13, 0, {}},
        {14, 3, {}},
        {15, 5,
         {{QStringLiteral("Átlag"), QStringLiteral("301")},
          {QStringLiteral("K-1"), QStringLiteral("17")}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.version);
        PlanItems items = freshItems();
        items.siteCategory = 4;
        QString error;
        ASSERT_TRUE(readBytes(samplePlan(c.version), items, &error))
            << qPrintable(error);
        expectCommonItems(items);
        EXPECT_EQ(items.siteCategory, c.siteCategory);
        // the header, the links, one empty row
        ASSERT_EQ(items.leafLinks.rowCount(), c.links.size() + 2);
        for (int link = 0; link < c.links.size(); ++link) {
            EXPECT_EQ(items.leafLinks.cell(link + 1, 0), c.links[link].first);
            EXPECT_EQ(items.leafLinks.cell(link + 1, 4), c.links[link].second);
            EXPECT_EQ(items.leafLinks.cell(link + 1, 1), QString()); // the opener fills it in
        }
        EXPECT_EQ(items.leafLinks.cell(c.links.size() + 1, 0), QString());
    }
}

TEST(PlanFileReadTest, EmptyValuesAndOddCodes)
{
    // Written elsewhere: an old "no yield" mark (-1), a blank-padded crop id "7     ", the
    // codes 4 (Káposztarepce has none in the file), 9 and 3, an area of 0 and no schedule.
    const QByteArray bytes = testData(QStringLiteral("planfile/odd-codes.tap"));
    PlanItems items = freshItems();
    items.area = QStringLiteral("99");
    QString error;
    ASSERT_TRUE(readBytes(bytes, items, &error)) << qPrintable(error);
    EXPECT_EQ(items.area, QStringLiteral("99")); // area 0: the edit is left as it was
    EXPECT_EQ(items.plannedYield, QString()); // -1 shows as empty, as 0 does
    EXPECT_EQ(items.cropId, QStringLiteral("7")); // Novid has no trailing blanks
    EXPECT_EQ(items.residueCrop, -1); // codes outside the group check no button
    EXPECT_EQ(items.legumeEffect, -1);
    EXPECT_EQ(items.manureTiming, -1);
    EXPECT_EQ(items.sampleCount, 0); // only the average column
    EXPECT_EQ(items.scheduleGrid.rowCount(), 2); // header and one empty row
    EXPECT_EQ(items.scheduleGrid.cell(1, 1), QString());
    EXPECT_EQ(items.scheduleDetailGrid.rowCount(), 2);
}

TEST(PlanFileReadTest, OtherVersionsAreRefused)
{
    for (int version : {12, 16, 0, -15}) {
        SCOPED_TRACE(version);
        PlanItems items = freshItems();
        const QJsonObject before = planToJson(items);
        QString error;
        EXPECT_FALSE(readBytes(withInt32(samplePlan(15), 8, version), items, &error));
        EXPECT_EQ(error, formatMessage);
        EXPECT_EQ(planToJson(items), before); // nothing read
    }
}

// A valid version-15 plan with one sample, one application and one link, then the same
// file spoilt in the ways the reader must notice.
TEST(PlanFileReadTest, TruncatedFilesAndAbsurdCountsAreRefused)
{
    QByteArray good = samplePlan(15).chopped(56); // the second link left out
    const qsizetype trailer = good.size() - 56 - 2;
    good[trailer] = 2;     // site category III
    good[trailer + 1] = 1; // one link
    {
        PlanItems items = freshItems();
        ASSERT_TRUE(readBytes(good, items, nullptr)); // the unspoilt file reads
    }
    const auto withInt32 = [&](int offset, qint32 value) {
        return ::withInt32(good, offset, value);
    };
    const auto withByte = [&](qsizetype offset, int value) {
        QByteArray bytes = good;
        bytes[offset] = char(quint8(value));
        return bytes;
    };
    const struct
    {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"empty file", QByteArray()},
        {"counts only", good.left(8)},
        {"header cut", good.left(100)},
        {"last byte missing", good.chopped(1)},
        {"link record missing", good.chopped(56)},
        {"one byte too many", good + QByteArray(1, '\0')},
        {"a whole record too many", good + QByteArray(56, 'x')},
        {"no column record", withInt32(0, 0)},
        {"negative column count", withInt32(0, -1)},
        {"1001 column records", withInt32(0, 1001)},
        {"huge column count", withInt32(0, 0x7fffffff)},
        {"more columns than the file has", withInt32(0, 3)},
        {"negative schedule count", withInt32(4, -1)},
        {"51 schedule records", withInt32(4, 51)},
        {"more schedule rows than the file has", withInt32(4, 2)},
        {"negative link count", withByte(trailer + 1, 0xff)},
        {"link count 128", withByte(trailer + 1, 0x80)},
        {"more links than the file has", withByte(trailer + 1, 2)},
        {"site category 6", withByte(trailer, 6)},
        {"site category 255", withByte(trailer, 255)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        PlanItems items = freshItems();
        items.lotNumber = QStringLiteral("régi");
        items.sampleCount = 3;
        items.soilSampleTable.setCell(1, 4, QStringLiteral("M-3"));
        const QJsonObject before = planToJson(items);
        const TextGrid soilBefore = items.soilSampleTable;
        QString error;
        EXPECT_FALSE(readBytes(c.bytes, items, &error));
        EXPECT_EQ(error, formatMessage);
        EXPECT_EQ(planToJson(items), before); // the plan as it was
        EXPECT_EQ(items.soilSampleTable, soilBefore);
    }
}

TEST(PlanFileReadTest, TheLargestPlanReads)
{
    // 1000 columns, 50 applications and 127 links: every count at its limit.
    PlanItems largest = freshItems();
    ASSERT_TRUE(readBytes(samplePlan(15), largest, nullptr));
    largest.sampleCount = 999;
    largest.soilSampleTable.resize(12, 1001);
    for (int column = 3; column <= 1000; ++column) {
        for (int row = 1; row <= 11; ++row)
            largest.soilSampleTable.setCell(row, column, largest.soilSampleTable.cell(row, 2));
    }
    largest.scheduleGrid.resize(51, largest.scheduleGrid.columnCount());
    largest.scheduleDetailGrid.resize(51, largest.scheduleDetailGrid.columnCount());
    for (int row = 2; row <= 50; ++row) {
        for (int column = 0; column < largest.scheduleGrid.columnCount(); ++column)
            largest.scheduleGrid.setCell(row, column, largest.scheduleGrid.cell(1, column));
        for (int column = 0; column < largest.scheduleDetailGrid.columnCount(); ++column)
            largest.scheduleDetailGrid.setCell(row, column, largest.scheduleDetailGrid.cell(1, column));
    }
    largest.leafLinks.resize(129, largest.leafLinks.columnCount());
    for (int link = 1; link <= 127; ++link) {
        largest.leafLinks.setCell(link, 0, QStringLiteral("M"));
        largest.leafLinks.setCell(link, 4, QString::number(link));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_TRUE(PlanFile::writePlanFile(buffer, largest, &error)) << qPrintable(error);

    PlanItems items = freshItems();
    ASSERT_TRUE(readBytes(buffer.data(), items, &error)) << qPrintable(error);
    EXPECT_EQ(items.sampleCount, 999);
    EXPECT_EQ(items.soilSampleTable.cell(3, 1000), QStringLiteral("41")); // last column's Ka
    EXPECT_EQ(items.scheduleGrid.rowCount(), 51);
    EXPECT_EQ(items.scheduleGrid.cell(50, 1), QStringLiteral("Karbamid"));
    EXPECT_EQ(items.leafLinks.rowCount(), 129); // header, 127 links, one empty row
    EXPECT_EQ(items.leafLinks.cell(127, 4), QStringLiteral("127"));
}

} // namespace
