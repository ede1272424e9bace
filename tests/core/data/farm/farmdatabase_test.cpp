#include "core/data/farm/farmdatabase.h"

#include "core/data/farm/farmfields.h"
#include "core/data/farm/samplefarm.h"
#include "farmtesthelpers.h"
#include "support/paradoxwriter.h"
#include "support/qstringprinter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace FarmFields;


class FarmDatabaseTest : public testing::TestWithParam<FarmBackend>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temporary.isValid());
        m_farmDirectory = m_temporary.filePath(QStringLiteral("farm"));

        // The laboratory left some values unmeasured: field 37's second sample has no
        // micronutrients, field 38's first sample has no mark.
        const QString csv = QString::fromUtf8(readBytes(labResultsCsv));
        ASSERT_FALSE(csv.isEmpty());
        QStringList lines = csv.split(QLatin1Char('\n'));
        int blanked = 0;
        for (QString &line : lines) {
            QStringList cells = line.split(QLatin1Char(';'));
            if (cells.size() < 12)
                continue;
            if (cells[0] == QLatin1String("37") && cells[1] == QLatin1String("TVG2")) {
                cells[9] = cells[10] = cells[11] = QString(); // Mn, Zn, Cu
                ++blanked;
            } else if (cells[0] == QLatin1String("38") && cells[1] == QLatin1String("TVG1")) {
                cells[1] = QString();
                ++blanked;
            }
            line = cells.join(QLatin1Char(';'));
        }
        ASSERT_EQ(blanked, 2);
        const QString csvPath = m_temporary.filePath(QStringLiteral("lab.csv"));
        ASSERT_TRUE(writeBytes(csvPath, lines.join(QLatin1Char('\n')).toUtf8()));

        QString error;
        ASSERT_TRUE(GetParam().writeFarm(csvPath, m_farmDirectory, &error)) << error.toStdString();
        m_written = snapshot(m_farmDirectory);
        ASSERT_EQ(m_written.size(), 4);
    }

    // Reading never changes a farm file, nor leaves a lock or journal file behind.
    void TearDown() override { EXPECT_EQ(snapshot(m_farmDirectory), m_written); }

    QString farmFile(const QString &name) const { return QDir(m_farmDirectory).filePath(name); }

    FarmTableResult open(const QString &table, const Filter &filter = Filter()) const
    {
        return FarmDatabase(m_farmDirectory).openTable(table, filter);
    }

    QTemporaryDir m_temporary;
    QString m_farmDirectory;
    QMap<QString, QByteArray> m_written;
};

// Which files make a farm, in any letter case, and which file each table is then read from;
// the parcel tables are optional, and a missing one is named.
TEST_P(FarmDatabaseTest, FarmDirectoryNeedsBothFieldTablesInAnyLetterCase)
{
    struct Case
    {
        const char *name;
        // sample farm file (none: a file that is not a table), copied as
        QList<std::pair<const char *, const char *>> files;
        const char *fieldsFile; // the file the fields are read from; none: not a farm
    };
    const QList<Case> cases = {
        {"all four tables", {{"Tablak.db", "Tablak.db"}, {"Talajmintak.db", "Talajmintak.db"},
          {"parcellak.db", "parcellak.db"}, {"PTalajmintak.db", "PTalajmintak.db"}}, "Tablak.db"},
        {"fields and their samples are enough",
         {{"Tablak.db", "Tablak.db"}, {"Talajmintak.db", "Talajmintak.db"}}, "Tablak.db"},
        {"names in other letter case",
         {{"Tablak.db", "TABLAK.DB"}, {"Talajmintak.db", "talajmintak.DB"}}, "TABLAK.DB"},
        // where the exact spelling exists too, it is the one read: the other is not a table
        {"exact spelling first",
         {{"Tablak.db", "Tablak.db"}, {nullptr, "TABLAK.DB"}, {"Talajmintak.db", "Talajmintak.db"}},
         "Tablak.db"},
        {"only the fields", {{"Tablak.db", "Tablak.db"}}, nullptr},
        {"only the samples", {{"Talajmintak.db", "Talajmintak.db"}}, nullptr},
        {"only the parcels",
         {{"parcellak.db", "parcellak.db"}, {"PTalajmintak.db", "PTalajmintak.db"}}, nullptr},
        {"a similar name is not the table",
         {{"Tablak.db", "Tablak.db.bak"}, {"Talajmintak.db", "Talajmintak.db"}}, nullptr},
        {"empty directory", {}, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir directory;
        for (const auto &[source, target] : c.files) {
            const QString copy = directory.filePath(QString::fromLatin1(target));
            ASSERT_TRUE(source ? QFile::copy(farmFile(QString::fromLatin1(source)), copy)
                               : writeBytes(copy, "not a table"));
        }
        EXPECT_EQ(FarmDatabase::isFarmDirectory(directory.path()), c.fieldsFile != nullptr);
        if (!c.fieldsFile)
            continue;
        const FarmDatabase farm(directory.path());
        const FarmTableResult fields = farm.openTable(FarmTables::Tablak);
        ASSERT_TRUE(fields) << fields.error.toStdString();
        EXPECT_EQ(fields.table->filePath(), directory.filePath(QString::fromLatin1(c.fieldsFile)));
        const FarmTableResult samples = farm.openTable(FarmTables::Talajmintak, samplesOf(33));
        ASSERT_TRUE(samples) << samples.error.toStdString();
        const bool withParcels = c.files.size() == 4; // only the first case copies them
        EXPECT_EQ(farm.hasTable(FarmTables::parcellak), withParcels);
        EXPECT_EQ(farm.hasTable(FarmTables::PTalajmintak), withParcels);
        if (!withParcels) {
            EXPECT_EQ(farm.openTable(FarmTables::parcellak).error,
                      QStringLiteral("Nem található a(z) parcellak.db fájl a(z) %1 könyvtárban.")
                          .arg(QDir::toNativeSeparators(directory.path())));
        }
    }
    const QString nowhere = m_temporary.filePath(QStringLiteral("nincs"));
    EXPECT_FALSE(FarmDatabase::isFarmDirectory(nowhere));
    EXPECT_FALSE(FarmDatabase::isFarmDirectory(QString()));
    // A directory that is not there is named the same way.
    EXPECT_EQ(FarmDatabase(nowhere).openTable(FarmTables::Talajmintak).error,
              QStringLiteral("Nem található a(z) Talajmintak.db fájl a(z) %1 könyvtárban.")
                  .arg(QDir::toNativeSeparators(nowhere)));
}

TEST_P(FarmDatabaseTest, ReadsTheFieldsInKeyOrderWithTheirValues)
{
    const FarmTableResult result = open(FarmTables::Tablak);
    ASSERT_TRUE(result) << result.error.toStdString();
    FarmTable &fields = *result.table;

    EXPECT_EQ(columnTexts(fields, Tableid),
              QStringList({"33", "37", "38", "40", "42", "48"}));

    fields.first();
    EXPECT_EQ(fields.integer(Tableid), 33);
    // the area in whole square metres, no point
    EXPECT_EQ(rowTexts(fields, {Helysz, Hazmeg, Ter, Blok, Muvag}),
              QStringList({"0112/3", "Malom-dűlő", "124500", "KV4H7-D-11", "szántó"}));
    EXPECT_EQ(fields.integer(Ter), 124500);
    EXPECT_EQ(fields.integer(Aktiv), 1);

    // A field over 100 ha: its area is still written out whole, not as 1.2345e+06.
    ASSERT_TRUE(seekText(fields, Tableid, QStringLiteral("40")));
    EXPECT_EQ(fields.text(Ter), QStringLiteral("1234500"));

    // Field names are matched in any letter case, as the farm program's engine does.
    EXPECT_TRUE(fields.hasField(QStringLiteral("HELYSZ")));
    EXPECT_EQ(fields.text(QStringLiteral("helysz")), QStringLiteral("0121/5"));
    // An unknown field reads as empty.
    EXPECT_FALSE(fields.hasField(QStringLiteral("Nincs")));
    EXPECT_TRUE(fields.value(QStringLiteral("Nincs")).isNull());
    EXPECT_EQ(fields.text(QStringLiteral("Nincs")), QString());
}

TEST_P(FarmDatabaseTest, ActiveFiltersHideInactiveFieldsAndParcels)
{
    FarmTableResult fields = open(FarmTables::Tablak, activeFields());
    ASSERT_TRUE(fields) << fields.error.toStdString();
    // Field 42 has Aktiv = 0.
    EXPECT_EQ(columnTexts(*fields.table, Tableid), QStringList({"33", "37", "38", "40", "48"}));

    // Clearing the filter brings the inactive field back.
    QString error;
    ASSERT_TRUE(fields.table->setFilter(Filter(), &error)) << error.toStdString();
    EXPECT_EQ(fields.table->rowCount(), 6);

    FarmTableResult parcels = open(FarmTables::parcellak, activeParcels());
    ASSERT_TRUE(parcels) << parcels.error.toStdString();
    // Parcel 204 is marked "N", not "A".
    EXPECT_EQ(columnTexts(*parcels.table, Parc_id), QStringList({"201", "202", "203"}));
    FarmTable &parcel = *parcels.table;
    parcel.first();
    EXPECT_EQ(parcel.integer(Evj), 2024);
    EXPECT_EQ(rowTexts(parcel, {Parcsor, Agazat, Ter, Hazmeg, Hasznkod, Aktiv}),
              QStringList({"1", "Őszi búza", "58200", "Csárda-dűlő", "KAL01", "A"}));
    // While tables are open the directory holds no lock or journal file either.
    EXPECT_EQ(snapshot(m_farmDirectory), m_written);
}

TEST_P(FarmDatabaseTest, SamplesOfOneFieldComeInTableOrderWithTheAverageRecord)
{
    FarmTableResult result = open(FarmTables::Talajmintak, samplesOf(40));
    ASSERT_TRUE(result) << result.error.toStdString();
    FarmTable &samples = *result.table;

    // Ten samples in laboratory order (TVG10 after TVG9, not after TVG1), then the average
    // record the farm program appended (its number 0 is read below for field 33).
    EXPECT_EQ(columnTexts(samples, Mintajel),
              QStringList({"TVG1", "TVG2", "TVG3", "TVG4", "TVG5", "TVG6", "TVG7", "TVG8",
                           "TVG9", "TVG10", "Átlag"}));
    EXPECT_EQ(columnTexts(samples, Tablakod), QStringList(11, QStringLiteral("40")));

    // The tenth sample as the laboratory measured it.
    samples.seek(9);
    const QList<double> tenth = {5.98, 61, 0.66704, 4.561888798, 98.254, 747, 450.4, 307, 2.82,
                                 9.15};
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(sampleValues[i].data());
        EXPECT_EQ(samples.number(sampleValues[i]), tenth[i]);
    }

    // Field 33's average record holds the means of its four samples.
    ASSERT_TRUE(samples.setFilter(samplesOf(33)));
    EXPECT_EQ(columnTexts(samples, Mintas), QStringList({"1", "2", "3", "4", "0"}));
    samples.seek(4);
    EXPECT_EQ(samples.integer(Mintas), averageSampleNumber);
    EXPECT_NEAR(samples.number(PH), 6.3125, 1e-12);       // (6.07 + 5.87 + 6.61 + 6.7) / 4
    EXPECT_NEAR(samples.number(P2O2), 273.1805, 1e-12);   // P2O5 of the laboratory

    // A field without an average record, and one without any sample.
    ASSERT_TRUE(samples.setFilter(samplesOf(38)));
    EXPECT_EQ(columnTexts(samples, Mintas), QStringList({"1", "2"}));
    ASSERT_TRUE(samples.setFilter(samplesOf(999)));
    EXPECT_TRUE(samples.isEmpty());
    samples.first();
    EXPECT_TRUE(samples.eof());
    EXPECT_TRUE(samples.value(PH).isNull());

    // Parcels' samples live in their own table, where a field's id means nothing.
    FarmTableResult parcel = open(FarmTables::PTalajmintak, samplesOf(201));
    ASSERT_TRUE(parcel) << parcel.error.toStdString();
    EXPECT_EQ(columnTexts(*parcel.table, Mintas), QStringList({"1", "2", "3", "4", "5", "6", "0"}));
    parcel.table->seek(6);
    // (5.18 + 5.38 + 7.04 + 5.31 + 5.64 + 7.16) / 6
    EXPECT_NEAR(parcel.table->number(PH), 5.951666666666667, 1e-12);
    ASSERT_TRUE(parcel.table->setFilter(samplesOf(33)));
    EXPECT_TRUE(parcel.table->isEmpty());
}

TEST_P(FarmDatabaseTest, UnmeasuredValuesReadAsZeroAndEmptyText)
{
    FarmTableResult result = open(FarmTables::Talajmintak, samplesOf(37));
    ASSERT_TRUE(result) << result.error.toStdString();
    FarmTable &samples = *result.table;

    ASSERT_TRUE(seekText(samples, Mintajel, QStringLiteral("TVG2")));
    for (const QLatin1String field : {Mn, Zn, Cu}) {
        SCOPED_TRACE(field.data());
        EXPECT_TRUE(samples.value(field).isNull());
        EXPECT_EQ(samples.text(field), QString());
        EXPECT_EQ(samples.number(field), 0.0);
        EXPECT_EQ(samples.integer(field), 0);
    }
    EXPECT_EQ(samples.number(PH), 4.42); // the measured values of the sample are kept
    EXPECT_EQ(samples.number(Mg), 166.8);

    // The average is the mean of the four samples that measured the value, not of five.
    ASSERT_TRUE(seekText(samples, Mintas, QStringLiteral("0")));
    EXPECT_NEAR(samples.number(Mn), 426, 1e-12);    // (428 + 418 + 423 + 435) / 4
    EXPECT_NEAR(samples.number(Zn), 1.8875, 1e-12); // (1.58 + 1.8 + 1.56 + 2.61) / 4

    // A sample without its mark.
    ASSERT_TRUE(samples.setFilter(samplesOf(38)));
    samples.first();
    EXPECT_EQ(samples.integer(Mintas), 1);
    EXPECT_TRUE(samples.value(Mintajel).isNull());
    EXPECT_EQ(samples.text(Mintajel), QString());
    EXPECT_EQ(samples.number(PH), 5.78);
}

TEST_P(FarmDatabaseTest, CursorStaysWithinTheRows)
{
    FarmTableResult result = open(FarmTables::Tablak, activeFields());
    ASSERT_TRUE(result) << result.error.toStdString();
    FarmTable &fields = *result.table;

    EXPECT_EQ(fields.position(), 0); // opening goes to the first row
    EXPECT_EQ(fields.integer(Tableid), 33);
    fields.seek(4);
    EXPECT_EQ(fields.integer(Tableid), 48);
    fields.next();
    EXPECT_TRUE(fields.eof());
    fields.next(); // past the end stays at the end
    EXPECT_TRUE(fields.eof());
    EXPECT_EQ(fields.position(), 5);
    EXPECT_EQ(fields.integer(Tableid), 0);
    fields.seek(-1);
    EXPECT_TRUE(fields.eof());
    fields.first();
    EXPECT_EQ(fields.integer(Tableid), 33);

    // A new filter starts again at its first row.
    fields.seek(3);
    ASSERT_TRUE(fields.setFilter(Filter::equals(Helysz, QStringLiteral("0130/7"))));
    EXPECT_EQ(fields.position(), 0);
    EXPECT_EQ(fields.integer(Tableid), 48);
}

INSTANTIATE_TEST_SUITE_P(Backends, FarmDatabaseTest,
                         testing::Values(FarmBackend{"sqlite", &writeSampleFarm},
                                         FarmBackend{"paradox", &ParadoxWriter::writeSampleFarm}),
                         [](const testing::TestParamInfo<FarmBackend> &info) {
                             return std::string(info.param.name);
                         });
} // namespace
