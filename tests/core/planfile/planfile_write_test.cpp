#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"
#include "core/plan/stepcompletion.h"
#include "core/planfile/planjson.h"

#include "support/qstringprinter.h"
#include "support/testdata.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray writeBytes(const PlanItems &items, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(PlanFile::writePlanFile(buffer, items, error)) << qPrintable(*error);
    return buffer.data();
}

PlanItems readBack(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    PlanItems back;
    QString error;
    EXPECT_TRUE(PlanFile::readPlanFile(buffer, back, &error)) << qPrintable(error);
    return back;
}

// A plan with one sample, one application and one leaf link.
PlanItems knownPlan()
{
    PlanItems items;
    items.elementSelected.fill(true);
    items.elementSelected[Elements::Mo] = false;
    items.showDescriptions = true;
    items.lotNumber = QStringLiteral("Őrség-dűlő 0452/7, a régi malom mögötti tábla"); // 45 characters
    items.parcelNumber = QStringLiteral("3");
    items.area = QStringLiteral("124500");
    items.farmingYear = QStringLiteral("2026/27");
    items.siteCategory = -1; // none chosen
    items.sampleCount = 1;
    items.programAverage = true;
    // 7,40 and 150,0 are the same numbers as 7,4 and 150
    const char *const average[] = {"7,40", "38", "2,1", "1,7", "180", "210", "160", "40", "1,2", "3"};
    const char *const sample[] = {"6", "40", "0", "2", "150,5", "190", "120", "35", "1", "2,5"};
    items.soilSampleTable.setCell(1, 1, QStringLiteral("Átlag"));
    items.soilSampleTable.setCell(1, 2, QStringLiteral("K-1"));
    for (int row = 2; row <= 11; ++row) {
        items.soilSampleTable.setCell(row, 1, QString::fromLatin1(average[row - 2]));
        items.soilSampleTable.setCell(row, 2, QString::fromLatin1(sample[row - 2]));
    }
    items.cropId = QStringLiteral("1");
    items.plannedYield = QString(); // empty edit
    items.residueCrop = PlanItems::Kaposztarepce;
    items.forecropYield = QStringLiteral("3,2");
    items.legumeEffect = PlanItems::LucernaElozoEv;
    items.manureTiming = PlanItems::KetEve;
    items.manureAmount = QStringLiteral("30");
    items.yieldLoss = true;
    items.residualN = QStringLiteral("12,5");
    items.residualK = QStringLiteral("-4");

    items.scheduleGrid.setCell(1, 0, QStringLiteral("2012.03.05."));
    items.scheduleGrid.setCell(1, 1, QStringLiteral("Pétisó 27%"));
    items.scheduleGrid.setCell(1, 2, QStringLiteral("150,0"));
    for (int c = 0; c < 11; ++c)
        items.scheduleDetailGrid.setCell(1, c, QStringLiteral("0"));
    items.scheduleDetailGrid.setCell(1, 0, QStringLiteral("27"));
    items.scheduleDetailGrid.setCell(1, 3, QStringLiteral("4,5"));
    items.scheduleDetailGrid.setCell(1, 11, QStringLiteral("Ca"));
    items.scheduleDetailGrid.setCell(1, 12, QStringLiteral("8"));
    items.scheduleDetailGrid.setCell(1, 13, QStringLiteral("7"));
    items.scheduleDetailGrid.setCell(1, 14, QStringLiteral("1234,5"));
    items.scheduleDetailGrid.setCell(1, 15, QStringLiteral("kg"));

    items.leafLinks.setRowCount(3); // one link and the empty row below it
    items.leafLinks.setCell(1, 0, QStringLiteral("K-1"));
    items.leafLinks.setCell(1, 1, QStringLiteral("L-12"));
    items.leafLinks.setCell(1, 4, QStringLiteral("301"));
    return items;
}

// The file holds: the lot number's 45 characters cut to the 29 that fit before the NUL, the
// crop id padded with NULs, Káposztarepce kept as Őszi búza (whose straw it counts as), 0 for
// an empty edit, no category chosen written as I, and no Ertek (1234,5): eight zero bytes.
TEST(PlanFileWriteTest, KnownPlanGivesTheExpectedBytes)
{
    const QByteArray expected = testData(QStringLiteral("planfile/known-plan.tap"));
    QString error;
    const QByteArray written = writeBytes(knownPlan(), &error);
    ASSERT_EQ(written.size(), 8 + 168 + 2 * 112 + 216 + 2 + 56);
    for (qsizetype i = 0; i < written.size(); ++i)
        ASSERT_EQ(quint8(written[i]), quint8(expected[i])) << "at offset " << i;

    // It reads back normalised, and into the same file again: numbers and dates in the
    // general format, Ertek 0, an empty yield empty, only a link's mark and Id.
    const PlanItems back = readBack(expected);
    EXPECT_EQ(back.soilSampleTable.cell(2, 1), QStringLiteral("7,4"));
    EXPECT_EQ(back.scheduleGrid.row(1), QStringList({"2012.3.5.", "Pétisó 27%", "150"}));
    EXPECT_EQ(back.scheduleDetailGrid.cell(1, 14), QStringLiteral("0")); // was 1234,5
    EXPECT_EQ(back.plannedYield, QString());
    EXPECT_EQ(back.residueCrop, PlanItems::OsziBuza); // Káposztarepce's stored meaning
    EXPECT_EQ(back.siteCategory, 0);
    EXPECT_EQ(back.lotNumber, QStringLiteral("Őrség-dűlő 0452/7, a régi mal"));
    EXPECT_EQ(back.leafLinks.row(1), QStringList({"K-1", "", "", "", "301"}));
    EXPECT_EQ(writeBytes(back, &error), expected);
}

TEST(PlanFileWriteTest, CountsFollowTheGrids)
{
    PlanItems items = knownPlan();
    items.sampleCount = 0;                      // only the average column is written
    items.scheduleGrid.setCell(1, 1, QString()); // rows, but no name in row 1: no schedule
    items.leafLinks.setRowCount(2);             // header and the empty row: no link
    items.area = QString();
    const QByteArray written = writeBytes(items);
    EXPECT_EQ(written.size(), 8 + 168 + 112 + 2);
    EXPECT_EQ(written.left(8), QByteArray("\x01\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(written.mid(12, 4), QByteArray(4, '\0')); // an empty area: 0, not given
    EXPECT_EQ(written.right(2), QByteArray("\x00\x00", 2));
}

TEST(PlanFileWriteTest, ValuesThatDoNotConvertWriteNothing)
{
    const struct
    {
        const char *what;
        void (*spoil)(PlanItems &);
        QString message;
    } cases[] = {
        {"area with a fraction", [](PlanItems &p) { p.area = QStringLiteral("12,5"); },
         QStringLiteral("A terület nem egész szám: „12,5”. A terv nem menthető.")},
        {"yield not a number", [](PlanItems &p) { p.plannedYield = QStringLiteral("hat"); },
         QStringLiteral("A tervezett hozam értéke nem szám: „hat”. A terv nem menthető.")},
        {"empty average value", [](PlanItems &p) { p.soilSampleTable.setCell(2, 1, QString()); },
         QStringLiteral("A talajminták táblázatának 2. sorának 1. oszlopa nem szám: „”. A terv "
                        "nem menthető.")},
        {"bad date", [](PlanItems &p) { p.scheduleGrid.setCell(1, 0, QStringLiteral("2012.02.30.")); },
         QStringLiteral("A kijuttatás 1. sorának dátuma hibás: „2012.02.30.”. A terv nem menthető.")},
        {"amount not a number", [](PlanItems &p) { p.scheduleGrid.setCell(1, 2, QStringLiteral("x")); },
         QStringLiteral("A kijuttatás 1. sorának 2. oszlopa nem szám: „x”. A terv nem menthető.")},
        // values no laboratory or calendar gives would be refused by the reader
        {"pH 15", [](PlanItems &p) { p.soilSampleTable.setCell(2, 1, QStringLiteral("15")); },
         QStringLiteral("A talajminták táblázatának 2. sorának 1. oszlopa nem lehet „15”: 0 és 14 "
                        "közé esik. A terv nem menthető.")},
        {"huge yield", [](PlanItems &p) { p.plannedYield = QStringLiteral("1E308"); },
         QStringLiteral("A tervezett hozam értéke túl nagy: „1E308”. A terv nem menthető.")},
        {"huge amount", [](PlanItems &p) { p.scheduleGrid.setCell(1, 2, QStringLiteral("2E6")); },
         QStringLiteral("A kijuttatás 1. sorának 2. oszlopa túl nagy: „2E6”. A terv nem menthető.")},
        {"year 999", [](PlanItems &p) { p.scheduleGrid.setCell(1, 0, QStringLiteral("0999.1.1.")); },
         QStringLiteral("A kijuttatás 1. sorának dátuma hibás: „0999.1.1.”. A terv nem menthető.")},
        {"material id not whole", [](PlanItems &p) { p.scheduleDetailGrid.setCell(1, 13, QStringLiteral("7,5")); },
         QStringLiteral("A kijuttatás 1. sorának anyagazonosítója hibás: „7,5”. A terv nem menthető.")},
        {"1000 samples", [](PlanItems &p) { p.sampleCount = 1000; },
         QStringLiteral("A minták száma 0 és 999 között lehet, nem 1000. A terv nem menthető.")},
        {"51 applications", [](PlanItems &p) {
             p.scheduleGrid.setRowCount(52);
             p.scheduleDetailGrid.setRowCount(52);
         },
         QStringLiteral("A terv legfeljebb 50 kijuttatási sort tartalmazhat.")},
        {"128 links", [](PlanItems &p) { p.leafLinks.setRowCount(130); },
         QStringLiteral("A terv legfeljebb 127 talaj- és levélminta-kapcsolatot tartalmazhat.")},
        {"crop id of seven characters", [](PlanItems &p) { p.cropId = QStringLiteral("1234567"); },
         QStringLiteral("A növény azonosítója hosszabb hat karakternél: „1234567”.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        PlanItems items = knownPlan();
        c.spoil(items);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_FALSE(PlanFile::writePlanFile(buffer, items, &error));
        EXPECT_EQ(error, c.message);
        EXPECT_TRUE(buffer.data().isEmpty()); // checked before the first byte
    }
}

// A device that takes no byte, like a full disk.
class FullDevice final : public QIODevice
{
public:
    FullDevice()
    {
        open(QIODevice::WriteOnly);
        setErrorString(QStringLiteral("Nincs hely az eszközön"));
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

TEST(PlanFileWriteTest, AFailingDeviceIsReported)
{
    FullDevice device;
    QString error;
    EXPECT_FALSE(PlanFile::writePlanFile(device, knownPlan(), &error));
    EXPECT_EQ(error, QStringLiteral("A terv nem írható ki: Nincs hely az eszközön"));
}

// Every cell of the largest plan: 999 samples, 50 applications, 127 links.
PlanItems fullPlan()
{
    PlanItems items;
    items.elementSelected = {true, false, true, false, true, false, true, false, true, false, true};
    items.showDescriptions = true;
    items.lotNumber = QStringLiteral("Őrség-dűlő 12/3");
    items.parcelNumber = QStringLiteral("Ű-7");
    items.area = QStringLiteral("-5");
    items.farmingYear = QStringLiteral("2012/13");
    items.siteCategory = 5;
    items.sampleCount = 999;
    items.programAverage = true;
    for (int column = 1; column <= 1000; ++column) {
        items.soilSampleTable.setCell(1, column, column == 1 ? QStringLiteral("Átlag")
                                                             : QStringLiteral("ő-%1").arg(column));
        for (int row = 2; row <= 11; ++row)
            items.soilSampleTable.setCell(row, column, // within every row's range, none alike
                                          QStringLiteral("%1,%2").arg(row).arg(column * 10 + 1));
    }
    items.cropId = QStringLiteral("16");
    items.plannedYield = QStringLiteral("6,75");
    items.residueCrop = PlanItems::Kukorica;
    items.forecropYield = QStringLiteral("1E-5");
    items.legumeEffect = PlanItems::EveloPillangos;
    items.manureTiming = PlanItems::EgyEve;
    items.manureAmount = QStringLiteral("25");
    items.yieldLoss = true;
    items.residualN = QStringLiteral("1");
    items.residualP = QStringLiteral("2");
    items.residualK = QStringLiteral("3");
    items.scheduleGrid.setRowCount(51);
    items.scheduleDetailGrid.setRowCount(51);
    for (int row = 1; row <= 50; ++row) {
        items.scheduleGrid.setCell(row, 0, QStringLiteral("2012.%1.%2.").arg(row % 12 + 1).arg(row % 28 + 1));
        items.scheduleGrid.setCell(row, 1, QStringLiteral("Műtrágya ű%1").arg(row));
        items.scheduleGrid.setCell(row, 2, QStringLiteral("%1,5").arg(row));
        for (int column = 0; column < 11; ++column)
            items.scheduleDetailGrid.setCell(row, column, QStringLiteral("%1").arg(row + column));
        items.scheduleDetailGrid.setCell(row, 11, QStringLiteral("Egyéb ő"));
        items.scheduleDetailGrid.setCell(row, 12, QStringLiteral("%1,25").arg(row));
        items.scheduleDetailGrid.setCell(row, 13, QString::number(1000 + row));
        items.scheduleDetailGrid.setCell(row, 14, QStringLiteral("0"));
        items.scheduleDetailGrid.setCell(row, 15, QStringLiteral("t"));
    }
    items.leafLinks.setRowCount(129);
    for (int row = 1; row <= 127; ++row) {
        items.leafLinks.setCell(row, 0, QStringLiteral("ő-%1").arg(row));
        items.leafLinks.setCell(row, 4, QString::number(row * 3));
    }
    return items;
}

TEST(PlanFileWriteTest, AFullPlanComesBackCellByCell)
{
    const PlanItems original = fullPlan();
    QString error;
    const QByteArray bytes = writeBytes(original, &error);
    EXPECT_EQ(bytes.size(), 8 + 168 + 1000 * 112 + 50 * 216 + 2 + 127 * 56);

    const PlanItems back = readBack(bytes);
    // Every mark and value, link and application (dates written without leading zeros, the
    // forecrop yield in the general format's 1E-5, ő and ű through cp1250), the rest as the
    // JSON view sees it; the second write gives the same bytes.
    EXPECT_EQ(back.soilSampleTable, original.soilSampleTable);
    EXPECT_EQ(back.leafLinks, original.leafLinks);
    EXPECT_EQ(back.scheduleGrid.rowCount(), 51);
    EXPECT_EQ(planToJson(back), planToJson(original));
    EXPECT_EQ(writeBytes(back), bytes);
}

TEST(PlanFileWriteTest, AZeroItsOptionNeedsReadsBackAsZero)
{
    PlanItems items = knownPlan();
    items.residueCrop = PlanItems::Kukorica;
    items.forecropYield = QStringLiteral("0");
    items.manureTiming = PlanItems::EgyEve;
    items.manureAmount = QStringLiteral("0");
    items.yieldLoss = true;
    items.residualN = items.residualP = items.residualK = QStringLiteral("0");
    items.plannedYield = QStringLiteral("0");
    PlanItems back = readBack(writeBytes(items));
    EXPECT_EQ(QStringList({back.forecropYield, back.manureAmount, back.residualN, back.residualP,
                           back.residualK}), QStringList(5, QStringLiteral("0")));
    EXPECT_EQ(back.plannedYield, QString()); // a yield of 0 shows an empty edit, as none does
    EXPECT_TRUE(checkModifyingFactors(back)); // step 4 accepts the reopened plan

    // with the options off the zeros stay empty edits, as before
    items.residueCrop = PlanItems::EgyikSem;
    items.manureTiming = PlanItems::NemVolt;
    items.yieldLoss = false;
    back = readBack(writeBytes(items));
    EXPECT_EQ(QStringList({back.forecropYield, back.manureAmount, back.residualN, back.residualP,
                           back.residualK}), QStringList(5, QString()));
}

TEST(PlanFileName, EnsureTapExtension)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("terv"), QStringLiteral("terv.tap")},
        {QStringLiteral("terv.tap"), QStringLiteral("terv.tap")},        // already ends in .tap
        {QStringLiteral("terv.TAP"), QStringLiteral("terv.TAP.tap")},    // compared case by case
        {QStringLiteral("/home/a/terv.tap.bak"), QStringLiteral("/home/a/terv.tap.bak.tap")},
        {QStringLiteral("tap"), QStringLiteral("tap.tap")},              // no point before it
    };
    for (const auto &[name, expected] : cases) {
        SCOPED_TRACE(qPrintable(name));
        EXPECT_EQ(PlanFile::ensureTapExtension(name), expected);
    }
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PlanFileSaveTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(QStringLiteral("terv.tap"));
};

// A saved plan is the writer's bytes, loads back and leaves no temporary file behind; a plan
// that does not convert (the messages in ValuesThatDoNotConvertWriteNothing) then leaves that
// file as it was, and no file is made below it.
TEST_F(PlanFileSaveTest, SavedFileLoadsBackAndABadPlanLeavesIt)
{
    const QByteArray expected = testData(QStringLiteral("planfile/known-plan.tap"));
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(m_path, knownPlan(), &error)) << qPrintable(error);
    EXPECT_EQ(fileBytes(m_path), expected);
    PlanItems back;
    ASSERT_TRUE(PlanFile::loadPlanFile(m_path, back, &error)) << qPrintable(error);
    EXPECT_EQ(planToJson(back), planToJson(readBack(expected)));
    EXPECT_EQ(files(), QStringList{QStringLiteral("terv.tap")});

    PlanItems bad = knownPlan();
    bad.area = QStringLiteral("tíz");
    EXPECT_FALSE(PlanFile::savePlanFile(m_path, bad, &error));
    EXPECT_EQ(fileBytes(m_path), expected);
    EXPECT_EQ(files(), QStringList{QStringLiteral("terv.tap")});

    // A directory that is a file cannot hold one, whoever runs the test.
    const QString path = m_path + QStringLiteral("/terv.tap");
    EXPECT_FALSE(PlanFile::savePlanFile(path, knownPlan(), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("A fájl nem hozható létre: ")
                                 + QDir::toNativeSeparators(path)))
        << qPrintable(error);
}

TEST_F(PlanFileSaveTest, AReadOnlyDirectoryKeepsTheOldFile)
{
    const QByteArray old("régi terv");
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    const auto writable = [&](bool yes) {
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                | (yes ? QFileDevice::WriteOwner
                                                       : QFileDevice::Permissions()));
    };
    writable(false);
    QFile probe(m_dir.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        writable(true);
        GTEST_SKIP() << "running as a user who may write anywhere";
    }
    QString error;
    EXPECT_FALSE(PlanFile::savePlanFile(m_path, knownPlan(), &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(m_path))) << qPrintable(error);
    EXPECT_EQ(fileBytes(m_path), old); // the old file as it was
    writable(true);
}

} // namespace
