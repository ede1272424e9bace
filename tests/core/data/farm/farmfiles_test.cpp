#include "core/data/farm/farmdatabase.h"

#include "core/data/farm/farmfields.h"
#include "core/data/farm/farmsqlitetable.h"
#include "core/data/farm/samplefarm.h"
#include "farmtesthelpers.h"
#include "support/paradoxwriter.h"
#include "support/qstringprinter.h"

#include <QBuffer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace FarmFields;

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
