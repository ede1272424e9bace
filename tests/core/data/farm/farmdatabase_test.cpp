#include "core/data/farm/farmdatabase.h"

#include "core/data/farm/farmfields.h"
#include "core/data/farm/farmsqlitetable.h"
#include "core/data/farm/samplefarm.h"
#include "support/paradoxwriter.h"
#include "support/qstringprinter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace FarmFields;

const QString labResultsCsv = QStringLiteral(NUTRISOR_FARM_SAMPLE_CSV);

// A way of storing the farm tables. Each backend writes the sample farm in its own files,
// and every case of FarmDatabaseTest runs against each of them.
struct FarmBackend
{
    const char *name;
    bool (*writeFarm)(const QString &csvPath, const QString &directory, QString *error);
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(bytes) == bytes.size();
}

// Every file of a directory with its bytes, to show that something left it alone.
QMap<QString, QByteArray> snapshot(const QString &directory)
{
    QMap<QString, QByteArray> files;
    const QDir dir(directory);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        files.insert(name, readBytes(dir.filePath(name)));
    return files;
}

// The header of a Paradox 7 keyed table with two fields, padded to its 2048 bytes.
QByteArray paradoxHeader(quint8 fileType = 0, quint8 fileVersion = 12)
{
    QByteArray header(2048, '\0');
    header[0x00] = 12;   // record size
    header[0x02] = 0x00; // header size 0x0800
    header[0x03] = 0x08;
    header[0x04] = char(fileType);
    header[0x05] = 2; // 2 KiB blocks
    header[0x21] = 2; // two fields
    header[0x39] = char(fileVersion);
    return header;
}

// Every field's text in table order, from the first row on.
QStringList columnTexts(FarmTable &table, const QString &field)
{
    QStringList texts;
    for (table.first(); !table.eof(); table.next())
        texts.append(table.text(field));
    return texts;
}

// The texts of the given fields in the current row.
QStringList rowTexts(const FarmTable &table, const QList<QLatin1String> &fields)
{
    QStringList texts;
    for (const QLatin1String field : fields)
        texts.append(table.text(field));
    return texts;
}

// Goes to the first row whose field holds the text; false when there is none.
bool seekText(FarmTable &table, const QString &field, const QString &text)
{
    for (table.first(); !table.eof(); table.next()) {
        if (table.text(field) == text)
            return true;
    }
    return false;
}

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

// Files in the farm directory that the readers cannot use, what only the SQLite reader
// has, and the sample farm writer's own checks.
class FarmFileTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_directory.isValid()); }

    void writeFarm(const QString &directory = QString())
    {
        QString error;
        ASSERT_TRUE(writeSampleFarm(labResultsCsv, directory.isEmpty() ? m_directory.path()
                                                                       : directory, &error))
            << error.toStdString();
    }

    QString tablePath() const { return m_directory.filePath(QStringLiteral("Tablak.db")); }
    FarmTableResult openFields() const
    {
        return FarmDatabase(m_directory.path()).openTable(FarmTables::Tablak);
    }

    QTemporaryDir m_directory;
};

// A damaged Paradox table is named with what is wrong, before pxlib reads a byte of it.
TEST_F(FarmFileTest, TruncatedAndCorruptParadoxTablesAreRefused)
{
    QString error;
    ASSERT_TRUE(ParadoxWriter::writeSampleFarm(labResultsCsv, m_directory.path(), &error))
        << error.toStdString();
    const QByteArray good = readBytes(tablePath());
    // The header, then one block of 3 KiB, pxlib's size for records of 80 to 139 bytes.
    ASSERT_EQ(good.size(), 0x800 + 3 * 1024);
    auto changed = [&](int offset, QByteArray bytes) {
        QByteArray copy = good;
        copy.replace(offset, bytes.size(), bytes);
        return copy;
    };
    struct Case
    {
        const char *name;
        QByteArray bytes;
        QString problem;
    };
    const QList<Case> cases = {
        {"cut inside its block", good.left(good.size() - 100),
         QStringLiteral("a fájl csonka: 1 blokkjából csak 0 van meg")},
        {"cut inside its header", good.left(0x400),
         QStringLiteral("a fájl csonka: rövidebb a fejlécénél")},
        {"header alone", paradoxHeader(), QStringLiteral("ismeretlen mezőtípus (1. mező)")},
        {"record size of another table", changed(0x00, QByteArray("\x50\x00", 2)),
         QStringLiteral("a rekordméret (80) nem egyezik a mezők hosszával (99)")},
        {"more records than the blocks hold", changed(0x06, QByteArray("\x07", 1)),
         QStringLiteral("a fejléc 7 rekordja helyett 6 van a blokkokban")},
        {"chain into a missing block", changed(0x0E, QByteArray("\x05\x00", 2)),
         QStringLiteral("hibás a blokkok láncolata")},
        {"block claiming more than it holds", changed(0x804, QByteArray("\x00\x7f", 2)),
         QStringLiteral("hibás a(z) 1. blokk mérete")},
        {"alpha field of 0 bytes", changed(0x78 + 3, QByteArray("\x00", 1)),
         QStringLiteral("hibás mezőhossz (2. mező)")},
        {"encrypted", changed(0x5C, QByteArray("\x01\x02\x03\x04", 4)),
         QStringLiteral("jelszóval védett tábla")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeBytes(tablePath(), c.bytes));
        const FarmTableResult result = openFields();
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error, QStringLiteral("A(z) %1 Paradox tábla sérült, nem olvasható: %2.")
                                    .arg(QDir::toNativeSeparators(tablePath()), c.problem));
        EXPECT_EQ(readBytes(tablePath()), c.bytes);
    }
}

// Writes an SQLite file holding the given statements' tables.
void writeSqliteFile(const QString &path, const QStringList &statements)
{
    const QString connection = QStringLiteral("farmdatabase-test-writer");
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        database.setDatabaseName(path);
        ASSERT_TRUE(database.open());
        QSqlQuery query(database);
        for (const QString &statement : statements)
            ASSERT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
        query.finish();
        database.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

// The table is found in any letter case, its fields keep the file's spelling; a file
// without the table is named, and leaves no connection open.
TEST_F(FarmFileTest, SqliteFileIsReadByItsTableInAnyLetterCase)
{
    writeSqliteFile(tablePath(), {QStringLiteral("CREATE TABLE Parcellak (Parc_id INTEGER)")});
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();
    FarmTableResult result = openFields();
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error, QStringLiteral("A(z) %1 fájlban nincs Tablak nevű tábla.")
                                .arg(QDir::toNativeSeparators(tablePath())));
    EXPECT_EQ(QSqlDatabase::connectionNames(), connectionsBefore);

    ASSERT_TRUE(QFile::remove(tablePath()));
    writeSqliteFile(tablePath(), {QStringLiteral("CREATE TABLE TABLAK (TABLEID INTEGER, "
                                                 "AKTIV INTEGER)"),
                                  QStringLiteral("INSERT INTO TABLAK VALUES (7, 1)")});
    result = openFields();
    ASSERT_TRUE(result) << result.error.toStdString();
    EXPECT_EQ(result.table->integer(Tableid), 7);
    EXPECT_EQ(result.table->fieldNames(), QStringList({"TABLEID", "AKTIV"}));
}

// What only the SQLite reader has: a read-only connection of its own for each open table,
// removed when the table is closed.
TEST_F(FarmFileTest, EachSqliteTableHasItsOwnReadOnlyConnectionUntilClosed)
{
    writeFarm();
    const QByteArray before = readBytes(tablePath());
    FarmTableResult fields = openFields();
    FarmTableResult samples = FarmDatabase(m_directory.path()).openTable(FarmTables::Talajmintak);
    ASSERT_TRUE(fields && samples);
    const QString fieldsConnection =
        dynamic_cast<FarmSqliteTable &>(*fields.table).connectionName();
    const QString samplesConnection =
        dynamic_cast<FarmSqliteTable &>(*samples.table).connectionName();
    EXPECT_NE(fieldsConnection, samplesConnection);
    EXPECT_TRUE(QSqlDatabase::contains(fieldsConnection));
    EXPECT_TRUE(QSqlDatabase::contains(samplesConnection));
    EXPECT_FALSE(QSqlDatabase::contains(QLatin1String(QSqlDatabase::defaultConnection)));
    {
        QSqlQuery query(QSqlDatabase::database(fieldsConnection, false));
        EXPECT_FALSE(query.exec(QStringLiteral("UPDATE Tablak SET Aktiv = 0")));
        EXPECT_TRUE(query.lastError().text().contains(QLatin1String("readonly")))
            << query.lastError().text().toStdString();
    }
    ASSERT_TRUE(fields.table->setFilter(activeFields()));
    EXPECT_EQ(fields.table->rowCount(), 5); // the inactive field is still there, untouched

    fields.table.reset();
    EXPECT_FALSE(QSqlDatabase::contains(fieldsConnection));
    EXPECT_TRUE(QSqlDatabase::contains(samplesConnection));
    EXPECT_EQ(readBytes(tablePath()), before);
    // still readable: fields 33, 37 and 40 with their average records, 38, 42 and 48 without
    EXPECT_EQ(samples.table->rowCount(), (4 + 1) + (5 + 1) + 2 + (10 + 1) + 2 + 5);
    samples.table.reset();
    EXPECT_FALSE(QSqlDatabase::contains(samplesConnection));
}

// The format is told from the first bytes; a file of neither format is named as such.
TEST_F(FarmFileTest, TellsTheFormatFromTheFirstBytesAndNamesAFileThatIsNoTable)
{
    QByteArray sqlite("SQLite format 3\0", 16);
    sqlite.append(QByteArray(100, '\0'));
    QByteArray noFields = paradoxHeader();
    noFields[0x21] = 0;
    struct Case
    {
        const char *name;
        QByteArray bytes;
        FarmFileFormat format;
    };
    const QList<Case> cases = {
        {"SQLite", sqlite, FarmFileFormat::Sqlite},
        {"SQLite magic without its NUL", QByteArray("SQLite format 3!"), FarmFileFormat::Unknown},
        {"SQLite magic cut short", QByteArray("SQLite format 3"), FarmFileFormat::Unknown},
        {"Paradox 7 keyed table", paradoxHeader(), FarmFileFormat::Paradox},
        {"Paradox 3 unkeyed table", paradoxHeader(2, 3), FarmFileFormat::Paradox},
        {"Paradox primary index", paradoxHeader(1), FarmFileFormat::Unknown},
        {"unknown Paradox version", paradoxHeader(0, 13), FarmFileFormat::Unknown},
        {"Paradox version too old", paradoxHeader(0, 2), FarmFileFormat::Unknown},
        {"Paradox header without fields", noFields, FarmFileFormat::Unknown},
        {"Paradox header cut short", paradoxHeader().left(0x57), FarmFileFormat::Unknown},
        {"empty", QByteArray(), FarmFileFormat::Unknown},
        {"zeros", QByteArray(4096, '\0'), FarmFileFormat::Unknown},
        {"text", QByteArray("Tableid;Helysz\n33;0112/3\n"), FarmFileFormat::Unknown},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QBuffer buffer;
        buffer.setData(c.bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        EXPECT_EQ(FarmDatabase::detectFormat(buffer), c.format);
        EXPECT_EQ(buffer.pos(), 0); // the reader starts from the beginning
        if (c.format != FarmFileFormat::Unknown)
            continue;
        ASSERT_TRUE(writeBytes(tablePath(), c.bytes));
        const FarmTableResult result = openFields();
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error, QStringLiteral("A(z) %1 nem SQLite-adatbázis és nem Paradox tábla.")
                                    .arg(QDir::toNativeSeparators(tablePath())));
        EXPECT_EQ(readBytes(tablePath()), c.bytes);
    }
}

// The sample farm writer checks the laboratory results before it writes anything.
TEST_F(FarmFileTest, BadResultsLeaveTheDirectoryAsItWas)
{
    const QString farm = m_directory.filePath(QStringLiteral("farm"));
    writeFarm(farm);
    const QMap<QString, QByteArray> before = snapshot(farm);
    const QString csv = QString::fromUtf8(readBytes(labResultsCsv));
    const QString csvPath = m_directory.filePath(QStringLiteral("bad.csv"));
    const QString shownCsv = QDir::toNativeSeparators(csvPath);

    QStringList lines = csv.split(QLatin1Char('\n'));
    lines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("63;")); });
    const QString withoutField63 = lines.join(QLatin1Char('\n'));

    // Each case replaces a piece of the results; the field without samples loses its lines.
    struct Case
    {
        const char *name;
        const char *from;
        const char *to;
        QString error;
    };
    const QList<Case> cases = {
        {"decimal comma", "33;TVG2;5.87;", "33;TVG2;5,87;",
         QStringLiteral("%1, 3. sor: a(z) PH értéke nem szám: 5,87").arg(shownCsv)},
        {"missing column", ";Cu;", ";Cink2;",
         QStringLiteral("%1, 1. sor: hiányzó oszlop: Cu").arg(shownCsv)},
        {"field without samples", nullptr, nullptr,
         QStringLiteral("A(z) %1 fájlban nincs minta a(z) 63. táblához.").arg(shownCsv)},
        {"row cut short", "34;TVG1;6.85;55;", "34;TVG1;6.85\n55;",
         QStringLiteral("%1, 6. sor: 3 mező a fejléc 15 mezője helyett.").arg(shownCsv)},
        {"field number not whole", "33;TVG3;", "33a;TVG3;",
         QStringLiteral("%1, 4. sor: a tábla száma nem egész szám: 33a").arg(shownCsv)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = c.from ? QString(csv).replace(QString::fromUtf8(c.from),
                                                           QString::fromUtf8(c.to))
                                    : withoutField63;
        ASSERT_NE(text, csv); // the case really changed the results
        ASSERT_TRUE(writeBytes(csvPath, text.toUtf8()));
        QString error;
        EXPECT_FALSE(writeSampleFarm(csvPath, farm, &error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(snapshot(farm), before);
    }

    const QString missing = m_directory.filePath(QStringLiteral("nincs.csv"));
    QString error;
    EXPECT_FALSE(writeSampleFarm(missing, farm, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("A(z) %1 nem nyitható meg: ")
                                     .arg(QDir::toNativeSeparators(missing))))
        << error.toStdString();
    EXPECT_EQ(snapshot(farm), before);
}

TEST_F(FarmFileTest, WritingTheSampleFarmAgainReplacesTheTablesInAnyLetterCase)
{
    const QDir farm(m_directory.path());
    ASSERT_TRUE(writeBytes(farm.filePath(QStringLiteral("TABLAK.DB")), "old"));
    ASSERT_TRUE(writeBytes(farm.filePath(QStringLiteral("parcellak.db")), "old"));
    ASSERT_TRUE(writeBytes(farm.filePath(QStringLiteral("Jegyzet.txt")), "kept"));

    writeFarm();
    EXPECT_EQ(farm.entryList(QDir::Files, QDir::Name),
              QStringList({"Jegyzet.txt", "PTalajmintak.db", "Tablak.db", "Talajmintak.db",
                           "parcellak.db"}));
    const FarmTableResult fields = openFields();
    ASSERT_TRUE(fields) << fields.error.toStdString();
    EXPECT_EQ(fields.table->rowCount(), 6);
}

} // namespace
