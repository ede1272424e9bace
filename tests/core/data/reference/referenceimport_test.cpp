#include "core/data/reference/referenceimport.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/text/richtext.h"
#include "support/paradoxwriter.h"
#include "support/qstringprinter.h"

#include <QDir>
#include <QMap>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Paradox::FieldType;

const QDate importDay(2024, 11, 5);

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A reference table as an earlier installation kept it: one Paradox field per field of the
// schema, texts as alpha fields just long enough (the long ones as memos, Jav as a
// formatted memo), the rules of Find without the row number the program adds.
ParadoxWriter::Table paradoxCopy(const Schema::Table &table, const QList<QVariantMap> &rows,
                                 int codePage, const QString &leftOut = QString())
{
    ParadoxWriter::Table copy;
    copy.codePage = codePage;
    copy.rows.resize(rows.size());
    for (const Schema::Field &field : table.fields) {
        if (field.name == leftOut
            || (table.name == Tables::Find::name && field.name == Tables::Find::Sorszam))
            continue;
        static const QMap<Schema::FieldType, FieldType> types = {
            {Schema::FieldType::Real, FieldType::Number},
            {Schema::FieldType::Integer, FieldType::Long},
            {Schema::FieldType::AutoIncrement, FieldType::AutoIncrement},
            {Schema::FieldType::Boolean, FieldType::Logical},
            {Schema::FieldType::Date, FieldType::Date}};
        ParadoxWriter::Field paradox{field.name, types.value(field.type, FieldType::Alpha), 0, 0};
        if (field.type == Schema::FieldType::Text) {
            int longest = qMax(1, field.maxLength);
            for (const QVariantMap &row : rows)
                longest = qMax(longest, int(row.value(field.name).toString().size()));
            if (table.name == Tables::Jav::name && field.name == Tables::Jav::Jav)
                paradox = {field.name, FieldType::FormattedMemo, 250, 0};
            else if (longest > 255)
                paradox = {field.name, FieldType::Memo, 40, 0};
            else
                paradox.size = longest;
        }
        copy.fields.append(paradox);
        for (qsizetype row = 0; row < rows.size(); ++row)
            copy.rows[row].append(rows.at(row).value(field.name));
    }
    return copy;
}

class ReferenceImportTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temporary.isValid());
        QString error;
        // The earlier installation: the built-in data, one material and one leaf sample
        // marked deleted, a recommendation text in RTF.
        const QString oldPath = m_temporary.filePath(QStringLiteral("regi.sqlite"));
        ASSERT_TRUE(ReferenceDatabase::createFromDefaults(oldPath, &error)) << qPrintable(error);
        ASSERT_TRUE(m_old.open(oldPath, &error)) << qPrintable(error);
        ASSERT_EQ(m_old.markDeleted(Tables::Tapanyagok::name,
                                    Filter::equals(Tables::Tapanyagok::Anyagid, 2), &error),
                  1);
        ASSERT_EQ(m_old.markDeleted(Tables::Mintak::name, Filter::equals(Tables::Mintak::Id, 1),
                                    &error),
                  1);
        ASSERT_EQ(m_old.update(Tables::Jav::name, Filter::equals(Tables::Jav::Javtap, "K"),
                               {{Tables::Jav::Jav, m_rtf}}, &error),
                  1);

        m_oldDirectory = m_temporary.filePath(QStringLiteral("regi"));
        ASSERT_TRUE(QDir().mkpath(m_oldDirectory));
        int codePage = 852;
        for (const Schema::Table &table : Schema::referenceTables()) {
            if (table.name == Tables::NitrateLimits::name)
                continue;
            // the help texts hold an en dash, which DOS Latin-2 lacks
            const bool needsWindows = table.name == Tables::Comptext::name;
            writeOldTable(table.name, table.name + QStringLiteral(".db"),
                          needsWindows ? 1250 : codePage);
            codePage = codePage == 852 ? 1250 : 852;
        }

        // The installation taking them over: the built-in data with its own changes.
        m_databasePath = m_temporary.filePath(QStringLiteral("nutrisor-referencia.sqlite"));
        ASSERT_TRUE(ReferenceDatabase::createFromDefaults(m_databasePath, &error));
        ASSERT_TRUE(m_database.open(m_databasePath, &error)) << qPrintable(error);
        ASSERT_TRUE(m_database.deleteCrop(QStringLiteral("1"), &error)) << qPrintable(error);
    }

    QList<QVariantMap> rowsOf(const ReferenceDatabase &database, const QString &table) const
    {
        QString error;
        const auto rows = database.select(table, {}, {}, ReferenceDatabase::DeletedRows::Included,
                                          &error);
        EXPECT_TRUE(rows.has_value()) << qPrintable(error);
        return rows.value_or(QList<QVariantMap>());
    }

    void writeOldTable(const QString &table, const QString &fileName, int codePage = 1250,
                       const QString &leftOut = QString())
    {
        QString error;
        ASSERT_TRUE(ParadoxWriter::write(
            oldFile(fileName),
            paradoxCopy(*Schema::table(table), rowsOf(m_old, table), codePage, leftOut), &error))
            << qPrintable(error);
    }

    QString oldFile(const QString &name) const { return QDir(m_oldDirectory).filePath(name); }

    const QString m_rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Arial;}}\r\n"
        "\\pard\\f0\\fs20 A k\\'e1lium \\b \\'f5szi\\b0  kijuttat\\'e1sa.\\par\r\n"
        "M\\'e1sodik bekezd\\'e9s: \\i \\u369?r\\i0\\par\r\n}");
    QTemporaryDir m_temporary;
    ReferenceDatabase m_old;
    QString m_oldDirectory;
    QString m_databasePath;
    ReferenceDatabase m_database;
};

// Every table of the earlier installation replaces the table of the same name with its
// rows as they were: the deleted material and leaf sample stay marked, the order of the
// classification rules is the order of the file, the RTF memo keeps its paragraphs, its
// bold and italic runs and its ő and ű.
TEST_F(ReferenceImportTest, TakesOverEveryTableWithItsRows)
{
    const ReferenceImport found = ReferenceImport::scan(m_oldDirectory);
    EXPECT_TRUE(found.refusals().isEmpty()) << qPrintable(found.summary());
    EXPECT_TRUE(found.missingTables().isEmpty());
    ASSERT_EQ(found.tables().size(), Schema::referenceTables().size() - 1); // all but NitrateLimits
    EXPECT_TRUE(found.nothingToImport().isEmpty());
    EXPECT_TRUE(found.summary().contains(
        QStringLiteral("  Nov (Nov.db): %1 sor").arg(rowsOf(m_old, Tables::Nov::name).size())))
        << qPrintable(found.summary());

    const QList<QVariantMap> limitsBefore = rowsOf(m_database, Tables::NitrateLimits::name);
    QString backup;
    QString error;
    // A change failing halfway is undone, its copy with it: the day's name stays free.
    QSqlQuery refuse(m_database.database());
    ASSERT_TRUE(refuse.exec(QStringLiteral("CREATE TRIGGER tele BEFORE INSERT ON Nov BEGIN "
                                           "SELECT RAISE(ABORT, 'a lemez megtelt'); END")));
    EXPECT_FALSE(found.apply(m_database, importDay, &backup, &error));
    ASSERT_TRUE(refuse.exec(QStringLiteral("DROP TRIGGER tele")));
    ASSERT_TRUE(found.apply(m_database, importDay, &backup, &error)) << qPrintable(error);
    EXPECT_EQ(backup, m_temporary.filePath(QStringLiteral("nutrisor-referencia-2024-11-05.sqlite")));
    EXPECT_FALSE(QFile::exists(ReferenceImport::unfinishedMarkPath(backup))); // committed

    for (const ReferenceImport::Table &table : found.tables()) {
        SCOPED_TRACE(qPrintable(table.name));
        QList<QVariantMap> expected = rowsOf(m_old, table.name);
        if (table.name == Tables::Jav::name) {
            for (QVariantMap &row : expected)
                row[Tables::Jav::Jav] = Text::memoToRichText(row.value(Tables::Jav::Jav).toString());
        }
        EXPECT_EQ(rowsOf(m_database, table.name), expected);
    }
    EXPECT_EQ(rowsOf(m_database, Tables::NitrateLimits::name), limitsBefore); // the program's own
    const auto potassium = m_database.selectFirst(Tables::Jav::name,
                                                  Filter::equals(Tables::Jav::Javtap, "K"));
    ASSERT_TRUE(potassium);
    EXPECT_EQ(potassium->value(Tables::Jav::Jav).toString(),
              QStringLiteral("<p>A kálium <b>őszi</b> kijuttatása.</p>"
                             "<p>Második bekezdés: <i>űr</i></p>"));

    // The copy holds the database as it was before: the deleted crop is still missing.
    ReferenceDatabase copy;
    ASSERT_TRUE(copy.open(backup, &error)) << qPrintable(error);
    EXPECT_EQ(copy.count(Tables::Nov::name, Filter::equals(Tables::Nov::Novid, "1")), 0);
    EXPECT_EQ(m_database.count(Tables::Nov::name, Filter::equals(Tables::Nov::Novid, "1")), 1);
    // A second import on the same day writes a copy of its own.
    EXPECT_EQ(ReferenceImport::backupPath(m_databasePath, importDay),
              m_temporary.filePath(QStringLiteral("nutrisor-referencia-2024-11-05-2.sqlite")));
}

// A table whose file lacks a field, has one of another type, repeats a key or is damaged
// is left out by name; the database keeps that table as it was. (A missing memo file is
// named by the Paradox reader's own tests.)
TEST_F(ReferenceImportTest, TablesThatDoNotFitAreLeftOutByName)
{
    writeOldTable(Tables::Nov::name, QStringLiteral("Nov.db"), 852, Tables::Nov::Nev);
    ParadoxWriter::Table splits = paradoxCopy(*Schema::table(Tables::Find3::name),
                                              rowsOf(m_old, Tables::Find3::name), 1250);
    splits.fields[2].type = FieldType::Number; // Novid as a number
    splits.fields[2].size = 0;
    QString error;
    ASSERT_TRUE(ParadoxWriter::write(oldFile(QStringLiteral("Find3.db")), splits, &error));
    ParadoxWriter::Table species = paradoxCopy(*Schema::table(Tables::Fajok::name),
                                               rowsOf(m_old, Tables::Fajok::name), 852);
    species.rows.append(species.rows.first());
    ASSERT_TRUE(ParadoxWriter::write(oldFile(QStringLiteral("Fajok.db")), species, &error));
    const QByteArray needs = readBytes(oldFile(QStringLiteral("Find2.db")));
    const int needBlocks = quint8(needs.at(0x0C)) | (quint8(needs.at(0x0D)) << 8);
    QFile truncated(oldFile(QStringLiteral("Find2.db")));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly | QIODevice::Truncate));
    truncated.write(needs.left(needs.size() - 10));
    truncated.close();
    QFile empty(oldFile(QStringLiteral("Hatar.db")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();

    const QList<QVariantMap> novBefore = rowsOf(m_database, Tables::Nov::name);
    const QList<QVariantMap> find2Before = rowsOf(m_database, Tables::Find2::name);
    const ReferenceImport found = ReferenceImport::scan(m_oldDirectory);
    QStringList refused;
    for (const ReferenceImport::Refusal &refusal : found.refusals())
        refused.append(refusal.name + QStringLiteral(": ") + refusal.reason);
    const QString shown = QDir::toNativeSeparators(m_oldDirectory) + QDir::separator();
    EXPECT_EQ(refused,
              QStringList({
                  QStringLiteral("Nov: hiányzik a(z) Nev mező."),
                  QStringLiteral("Find2: A(z) %1Find2.db Paradox tábla sérült, nem olvasható: a "
                                 "fájl csonka: %2 blokkjából csak %3 van meg.")
                      .arg(shown)
                      .arg(needBlocks)
                      .arg(needBlocks - 1),
                  QStringLiteral("Find3: a(z) Novid mező szám, nem szöveg."),
                  QStringLiteral("Fajok: %1. sor: a(z) Id értéke már szerepelt: 1.")
                      .arg(species.rows.size()),
                  QStringLiteral("Hatar: A(z) %1Hatar.db nem Paradox tábla.").arg(shown),
              }));
    EXPECT_TRUE(found.summary().contains(QStringLiteral("Kimaradó táblák:\n  Nov (Nov.db): "
                                                        "hiányzik a(z) Nev mező.")))
        << qPrintable(found.summary());

    // the materials of the earlier installation differ: one of them is marked deleted there
    ASSERT_NE(rowsOf(m_database, Tables::Tapanyagok::name), rowsOf(m_old, Tables::Tapanyagok::name));
    QString error2;
    ASSERT_TRUE(found.apply(m_database, importDay, nullptr, &error2)) << qPrintable(error2);
    EXPECT_EQ(rowsOf(m_database, Tables::Nov::name), novBefore);
    EXPECT_EQ(rowsOf(m_database, Tables::Find2::name), find2Before);
    EXPECT_EQ(rowsOf(m_database, Tables::Tapanyagok::name), rowsOf(m_old, Tables::Tapanyagok::name));
}

// Files named in another letter case are found; a directory with nothing to take over
// changes nothing and writes no copy.
TEST_F(ReferenceImportTest, FindsFilesInAnyLetterCaseAndRefusesAnEmptyDirectory)
{
    QTemporaryDir other;
    m_oldDirectory = other.path();
    writeOldTable(Tables::Find3::name, QStringLiteral("FIND3.DB"));
    writeOldTable(Tables::Tapanyagok::name, QStringLiteral("tapanyagok.db"));
    const ReferenceImport found = ReferenceImport::scan(other.path());
    ASSERT_EQ(found.tables().size(), 2);
    EXPECT_EQ(found.tables().at(0).name, Tables::Find3::name);
    EXPECT_EQ(found.tables().at(1).name, Tables::Tapanyagok::name);
    EXPECT_TRUE(found.missingTables().contains(Tables::Nov::name));

    QTemporaryDir empty;
    const ReferenceImport nothing = ReferenceImport::scan(empty.path());
    EXPECT_EQ(nothing.nothingToImport(),
              QStringLiteral("A(z) %1 mappában nincs referencia-tábla.")
                  .arg(QDir::toNativeSeparators(empty.path())));
    const QByteArray before = readBytes(m_databasePath);
    QString error;
    EXPECT_FALSE(nothing.apply(m_database, importDay, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("A régi referencia-táblák átvétele nem sikerült, a "
                                    "referencia-adatbázis nem változott. %1")
                         .arg(nothing.nothingToImport()));
    EXPECT_EQ(readBytes(m_databasePath), before);
    EXPECT_EQ(QDir(m_temporary.path()).entryList({QStringLiteral("nutrisor-referencia-*")}).size(), 0);

    const ReferenceImport nowhere = ReferenceImport::scan(empty.filePath(QStringLiteral("nincs")));
    EXPECT_EQ(nowhere.nothingToImport(),
              QStringLiteral("A(z) %1 mappa nem létezik.")
                  .arg(QDir::toNativeSeparators(empty.filePath(QStringLiteral("nincs")))));
}

} // namespace
