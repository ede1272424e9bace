#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"
#include "core/planfile/planjson.h"

#include "support/qstringprinter.h"
#include "support/testdata.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

// The soil sample table's column: the mark in row 1, then the ten values.
QStringList soilColumn(const PlanItems &items, int column)
{
    QStringList cells;
    for (int row = 1; row <= 11; ++row)
        cells.append(items.soilSampleTable.cell(row, column));
    return cells;
}

void expectCommonItems(const PlanItems &items)
{
    const std::array<bool, 11> selected = {true, true, true, true, false, true,
                                           true, true, true, true, false};
    EXPECT_EQ(items.elementSelected, selected); // S and B unticked
    EXPECT_EQ(QList<bool>({items.showDescriptions, items.programAverage, items.yieldLoss}),
              QList<bool>({false, true, true}));
    // The lot number cp1250 decoded, the crop id up to the first NUL as Novid has it; with
    // "Hozamkiesés" ticked a stored 0 shows as "0", so step 4 accepts it.
    EXPECT_EQ(QStringList({items.lotNumber, items.parcelNumber, items.area, items.farmingYear,
                           items.cropId, items.plannedYield, items.forecropYield,
                           items.manureAmount, items.residualN, items.residualP, items.residualK}),
              QStringList({"0452/7 Őrség-dűlő", "12", "124500", "2026/27", "1", "6,5", "3,2", "30",
                           "12,5", "0", "0"}));
    EXPECT_EQ(QList<int>({items.sampleCount, items.residueCrop, items.legumeEffect,
                          items.manureTiming}),
              QList<int>({1, PlanItems::Napraforgo, PlanItems::PillangosElozoEv,
                          PlanItems::EgyEve})); // two column records: the average and a sample
    // Titles kept; pH with a decimal comma; a stored 0 stays "0"; no third column record.
    EXPECT_EQ(items.soilSampleTable.cell(1, 0), QStringLiteral("Mintajel:"));
    EXPECT_EQ(soilColumn(items, 1), QStringList({"Átlag", "7,4", "38", "2,1", "1,7", "180", "210",
                                                 "160", "40", "1,25", "3"}));
    EXPECT_EQ(soilColumn(items, 2), QStringList({"K-1", "6,9", "41", "0", "2", "150,5", "190", "120",
                                                 "35", "1", "2,5"}));
    EXPECT_EQ(soilColumn(items, 3), QStringList(11, QString()));

    // The header kept, the one application's date without leading zeros; its P is 0 and
    // Ertek, which is not stored, reads as 0.
    ASSERT_EQ(items.scheduleGrid.rowCount(), 2);
    EXPECT_EQ(items.scheduleGrid.row(0), QStringList({"Dátum", "Megnevezés", "Mennyiség"}));
    EXPECT_EQ(items.scheduleGrid.row(1), QStringList({"2012.3.5.", "Karbamid", "150,5"}));
    ASSERT_EQ(items.scheduleDetailGrid.rowCount(), 2);
    EXPECT_EQ(items.scheduleDetailGrid.row(1),
              QStringList({"46", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0,25", "Kén", "1,5",
                           "12", "0", "kg"}));
}

// Version 13 knows no site category (it reads as I) and no links; 14 keeps the category and
// stores no links whatever its count says; 15 reads both, the opener fills in the rest.
TEST(PlanFileReadTest, EachVersionReadsItsSiteCategoryAndLinks)
{
    const struct
    {
        int version;
        int siteCategory;
        QList<QStringList> links; // then one empty row
    } cases[] = {
        {13, 0, {}},
        {14, 3, {}}, // its file says 5 links and holds none
        {15, 5, {{"Átlag", "", "", "", "301"}, {"K-1", "", "", "", "17"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.version);
        PlanItems items = freshItems();
        items.siteCategory = 4;
        QString error;
        ASSERT_TRUE(readBytes(samplePlan(c.version), items, &error)) << qPrintable(error);
        expectCommonItems(items);
        EXPECT_EQ(items.siteCategory, c.siteCategory);
        ASSERT_EQ(items.leafLinks.rowCount(), c.links.size() + 2);
        for (int link = 0; link <= c.links.size(); ++link)
            EXPECT_EQ(items.leafLinks.row(link + 1), c.links.value(link, QStringList(5, QString())));
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
    // codes outside the group check no button
    EXPECT_EQ(QList<int>({items.residueCrop, items.legumeEffect, items.manureTiming}),
              QList<int>({-1, -1, -1}));
    EXPECT_EQ(items.sampleCount, 0); // only the average column
    EXPECT_EQ(items.scheduleGrid.rowCount(), 2); // header and one empty row
    EXPECT_EQ(items.scheduleDetailGrid.rowCount(), 2);
}

// A valid version-15 plan with one sample, one application and one link, then the same
// file spoilt in the ways the reader must notice, and in another version. The largest plan
// that does read is AFullPlanComesBackCellByCell of the writer's tests.
TEST(PlanFileReadTest, TruncatedFilesAbsurdCountsAndImpossibleValuesAreRefused)
{
    QByteArray good = samplePlan(15).chopped(56); // the second link left out
    const qsizetype trailer = good.size() - 56 - 2;
    good[trailer] = 2;     // site category III
    good[trailer + 1] = 1; // one link
    PlanItems unspoilt = freshItems();
    ASSERT_TRUE(readBytes(good, unspoilt, nullptr)); // the unspoilt file reads
    const auto withInt32 = [&](qsizetype offset, qint32 value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + offset);
        return bytes;
    };
    const auto withByte = [&](qsizetype offset, int value) {
        QByteArray bytes = good;
        bytes[offset] = char(quint8(value));
        return bytes;
    };
    const auto withDouble = [&](qsizetype offset, double value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + offset);
        return bytes;
    };
    constexpr qsizetype header = 8, soil = header + 168, schedule = soil + 2 * 112;
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<const char *, QByteArray> cases[] = {
        {"empty file", QByteArray()},
        {"counts only", good.left(8)},
        {"header cut", good.left(100)},
        {"last byte missing", good.chopped(1)},
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
        {"link count 128", withByte(trailer + 1, 0x80)}, // negative as a signed byte
        {"more links than the file has", withByte(trailer + 1, 2)},
        {"site category 6", withByte(trailer, 6)},
        {"site category 255", withByte(trailer, 255)},
        {"version 12", withInt32(8, 12)},
        {"version 16", withInt32(8, 16)},
        {"version -15", withInt32(8, -15)},
        // values that no laboratory, field or calendar gives
        {"planned yield 1e308", withDouble(header + 8, 1e308)},
        {"manure NaN", withDouble(header + 128, std::nan(""))},
        {"pH 15", withDouble(soil, 15)},
        {"negative potassium", withDouble(soil + 5 * 8, -1)},
        {"copper 1e7 mg/kg", withDouble(soil + 9 * 8, 1e7)},
        {"infinite amount", withDouble(schedule + 8, infinity)},
        {"year 2147483647", withInt32(schedule + 16, 0x7fffffff)},
        {"month 13", withInt32(schedule + 20, 13)},
        {"day 0", withInt32(schedule + 24, 0)},
    };
    for (const auto &[what, bytes] : cases) {
        SCOPED_TRACE(what);
        PlanItems items = freshItems();
        items.lotNumber = QStringLiteral("régi");
        items.sampleCount = 3;
        items.soilSampleTable.setCell(1, 4, QStringLiteral("M-3"));
        const QJsonObject before = planToJson(items);
        const TextGrid soilBefore = items.soilSampleTable;
        QString error;
        EXPECT_FALSE(readBytes(bytes, items, &error));
        EXPECT_EQ(error, formatMessage);
        EXPECT_EQ(planToJson(items), before); // the plan as it was
        EXPECT_EQ(items.soilSampleTable, soilBefore);
    }
}

// Every seed of the fuzzer's corpus, read as a plan file: "ok-" seeds must read, "bad-"
// seeds must be refused with the format message and leave the items alone.
TEST(PlanFileReadTest, EverySeedOfTheCorpusReadsOrIsRefused)
{
    const QDir corpus(QStringLiteral(PLANFILE_CORPUS_DIR));
    const QStringList seeds = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(seeds.size(), 12); // the seeds kept beside the fuzzer
    for (const QString &seed : seeds) {
        SCOPED_TRACE(qPrintable(seed));
        QFile file(corpus.filePath(seed));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        PlanItems items;
        items.lotNumber = QStringLiteral("előző");
        QString error;
        const bool read = PlanFile::readPlanFile(file, items, &error);
        // the schedule alone is taken from the same files, and refused for the same ones
        PlanFile::PlanSchedule schedule;
        file.seek(0);
        EXPECT_EQ(PlanFile::readPlanSchedule(file, schedule, nullptr), read);
        EXPECT_EQ(schedule.applications.size(), read ? PlanFile::scheduleRecordCount(items) : 0);
        if (seed.startsWith(QLatin1String("ok-"))) {
            EXPECT_TRUE(read) << qPrintable(error);
            EXPECT_GE(items.sampleCount, 0);
            EXPECT_LE(items.sampleCount, PlanItems::maxSampleCount);
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(error, formatMessage);
            EXPECT_EQ(items.lotNumber, QStringLiteral("előző")); // untouched
        }
    }
}

// Loading a file: a missing one is named, one of another kind gets the format message.
TEST(PlanFileReadTest, AMissingFileOrOneOfAnotherKindIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("nincs.tap"));
    const QString other = dir.filePath(QStringLiteral("config.ini"));
    {
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(364, '\x01')); // the size of a config.ini, not of a plan
    }
    PlanItems items = freshItems();
    items.lotNumber = QStringLiteral("régi");
    QString error;
    EXPECT_FALSE(PlanFile::loadPlanFile(missing, items, &error));
    EXPECT_TRUE(error.startsWith(
        QStringLiteral("A fájl nem nyitható meg: ") + QDir::toNativeSeparators(missing)))
        << qPrintable(error);
    EXPECT_FALSE(PlanFile::loadPlanFile(other, items, &error));
    EXPECT_EQ(error, formatMessage);
    EXPECT_EQ(items.lotNumber, QStringLiteral("régi")); // nothing read
}

} // namespace
