#include "core/data/reference/referencedatabase.h"

#include "core/data/reference/tables.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace Nov = Tables::Nov;
namespace Find = Tables::Find;
namespace Find2 = Tables::Find2;
namespace Find3 = Tables::Find3;
namespace Tapanyagok = Tables::Tapanyagok;

// The data lines of a built-in file, read here without the program's own reader.
QStringList defaultLines(const QString &file)
{
    QFile resource(QStringLiteral(":/reference/") + file);
    if (!resource.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file.toStdString();
        return {};
    }
    QStringList lines;
    for (const QString &line : QString::fromUtf8(resource.readAll()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    if (!lines.isEmpty())
        lines.removeFirst(); // the header
    return lines;
}

QVariantList column(const QList<QVariantMap> &rows, const QString &field)
{
    QVariantList values;
    for (const QVariantMap &row : rows)
        values.append(row.value(field));
    return values;
}

QStringList texts(const QList<QVariantMap> &rows, const QString &field)
{
    QStringList values;
    for (const QVariantMap &row : rows)
        values.append(row.value(field).toString());
    return values;
}

class ReferenceDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        m_path = m_directory.filePath(QStringLiteral("nutrisor.db"));
        QString error;
        ASSERT_TRUE(ReferenceDatabase::createFromDefaults(m_path, &error)) << error.toStdString();
        ASSERT_TRUE(m_database.open(m_path, &error)) << error.toStdString();
    }

    QList<QVariantMap> rows(const QString &table, const Filter &filter = {},
        const QStringList &orderBy = {},
        ReferenceDatabase::DeletedRows deleted = ReferenceDatabase::DeletedRows::Hidden)
    {
        QString error;
        const std::optional<QList<QVariantMap>> result
            = m_database.select(table, filter, orderBy, deleted, &error);
        if (!result) {
            ADD_FAILURE() << error.toStdString();
            return {};
        }
        return *result;
    }

    int allRows(const QString &table)
    {
        return m_database.count(table, {}, ReferenceDatabase::DeletedRows::Included);
    }

    void execRaw(const QString &sql)
    {
        QSqlQuery query(m_database.database());
        ASSERT_TRUE(query.exec(sql)) << sql.toStdString();
    }

    QTemporaryDir m_directory;
    QString m_path;
    ReferenceDatabase m_database;
};

// --- the seed -------------------------------------------------------------------------------

// Every field of the schema is there, or opening would have refused the file (see
// MissingTableOrFieldIsReportedByName); a whole row as read is compared in
// SeededValuesKeepTheirTypes.
TEST_F(ReferenceDatabaseTest, EveryTableHasTheRowsOfItsBuiltInFile)
{
    // the default copies are seeded from the working tables' files
    const QMap<QString, QString> seededFrom = {{QStringLiteral("Find2Back"), QStringLiteral("Find2")},
        {QStringLiteral("Find3Back"), QStringLiteral("Find3")}};
    for (const Schema::Table &table : Schema::referenceTables()) {
        SCOPED_TRACE(table.name.toStdString());
        const QString file = seededFrom.value(table.name, table.name) + QStringLiteral(".csv");
        EXPECT_EQ(allRows(table.name), int(defaultLines(file).size()));
    }
    EXPECT_TRUE(m_database.missingTables().isEmpty());
}

TEST_F(ReferenceDatabaseTest, SeededValuesKeepTheirTypes)
{
    // first line of Find2.csv: 1;N;1;33;30;27;27;20;10;10
    const std::optional<QVariantMap> need = m_database.selectFirst(Find2::name,
        Filter::equals(Find2::Novid, QStringLiteral("1"))
            && Filter::equals(Find2::Anyid, QStringLiteral("N")));
    ASSERT_TRUE(need);
    // Novid is kept as text
    EXPECT_EQ(*need,
        (QVariantMap {{Find2::Novid, QStringLiteral("1")}, {Find2::Anyid, QStringLiteral("N")},
            {Find2::Sztid, qlonglong(1)}, {Find2::Igy, 33.0}, {Find2::Gy, 30.0}, {Find2::K, 27.0},
            {Find2::M, 27.0}, {Find2::J, 20.0}, {Find2::S, 10.0}, {Find2::I, 10.0}}));

    const std::optional<QVariantMap> material
        = m_database.selectFirst(Tapanyagok::name, Filter::equals(Tapanyagok::Anyagid, 1));
    ASSERT_TRUE(material);
    EXPECT_EQ(material->value(Tapanyagok::Megnev), QVariant(QStringLiteral("Pétisó 27% N")));
    // Dates and logical fields: each step is in the tables of fieldvalues_test; the built-in
    // adviser's logical field in AdviserRecordTest, the captions in the step 2 panel's tests.
}

TEST_F(ReferenceDatabaseTest, CreatingRefusesAnExistingFileOrAMissingFolder)
{
    QString error;
    EXPECT_FALSE(ReferenceDatabase::createFromDefaults(m_path, &error));
    EXPECT_EQ(error, QStringLiteral("A(z) %1 fájl már létezik.").arg(m_path));
    // the open database is untouched
    EXPECT_EQ(allRows(Nov::name), int(defaultLines(QStringLiteral("Nov.csv")).size()));

    const QString path = m_directory.filePath(QStringLiteral("nincs/nutrisor.db"));
    EXPECT_FALSE(ReferenceDatabase::createFromDefaults(path, &error));
    EXPECT_EQ(error,
        QStringLiteral("A(z) %1 mappa nem létezik.")
            .arg(QDir::toNativeSeparators(m_directory.filePath(QStringLiteral("nincs")))));
    EXPECT_EQ(QDir(m_directory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
        QStringList({"nutrisor.db"}));
}

// --- filters and orders ---------------------------------------------------------------------

// Each table reads in its own order, whatever the order rows were added in: crops by name
// without case (a byte order would put every lower-case and accented name after "Zab"; here
// Á sorts with a, Ö and Ő after every o-word, "Alma" before "alma"), need rows by site
// category, split rules by ascending Ka (not by Id), classification rules as imported.
TEST_F(ReferenceDatabaseTest, RowsComeInTheOrderOfTheirTable)
{
    struct Case
    {
        QString table;
        QVariantMap common; // every added row holds these
        QStringList fields;
        QList<QVariantList> added; // values of `fields`, in the order they are added
        Filter filter;
        QStringList expected; // of the last of `fields`
    };
    const Case cases[] = {
        {Nov::name, {}, {Nov::Novid, Nov::Nev},
            {{"20", "alma"}, {"21", "Bab"}, {"22", "Alma"}, {"23", "Ágyás"}, {"24", "ÖKÖR"},
                {"25", "Kukorica 'FAO 300'"}},
            {}, {"Ágyás", "Alma", "alma", "Bab", "Bíborhere (mag)", "Kukorica 'FAO 300'",
                "Kukorica (szemes)", "Lucerna (széna)", "Napraforgó", "ÖKÖR", "Őszi árpa",
                "Őszi búza", "Őszi káposztarepce", "Rozs", "Silókukorica", "Szója", "Tavaszi árpa",
                "Tritikálé", "Zab"}},
        {Find2::name, {{Find2::Novid, QStringLiteral("30")}, {Find2::Anyid, QStringLiteral("P")}},
            {Find2::Sztid}, {{4}, {1}, {6}, {2}, {5}, {3}},
            Filter::equals(Find2::Novid, QStringLiteral("30")), {"1", "2", "3", "4", "5", "6"}},
        {Find3::name, {{Find3::Novid, QStringLiteral("30")}, {Find3::Sztid, 4.0}, {Find3::ON, 20.0}},
            {Find3::Ka}, {{100.0}, {29.99}, {50.0}},
            Filter::equals(Find3::Novid, QStringLiteral("30")) && Filter::equals(Find3::Sztid, 4),
            {"29.99", "50", "100"}},
        {Find::name, {{Find::Find, QStringLiteral("X")}, {Find::St1, QStringLiteral("Ka")},
            {Find::S4, 3}}, {Find::S1}, {{3.0}, {1.0}, {2.0}},
            Filter::equals(Find::Find, QStringLiteral("X")), {"3", "1", "2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table.toStdString());
        for (const QVariantList &values : c.added) {
            QVariantMap row = c.common;
            for (int i = 0; i < values.size(); ++i)
                row.insert(c.fields.at(i), values.at(i));
            ASSERT_TRUE(m_database.insert(c.table, row));
        }
        const QStringList read = texts(rows(c.table, c.filter), c.fields.last());
        EXPECT_EQ(read, c.expected) << read.join(QLatin1Char('|')).toStdString();
    }
    // a name with an apostrophe is found by equality, which is exact: letter case counts
    EXPECT_EQ(texts(rows(Nov::name, Filter::equals(Nov::Nev, QStringLiteral("Kukorica 'FAO 300'"))),
                  Nov::Novid),
        QStringList({"25"}));
    EXPECT_TRUE(
        rows(Nov::name, Filter::equals(Nov::Nev, QStringLiteral("kukorica 'FAO 300'"))).isEmpty());
    // the key order of the crops is the text order of Novid
    EXPECT_EQ(texts(rows(Nov::name, {}, {Nov::Novid}), Nov::Novid).mid(0, 2),
        QStringList({"1", "13"}));


    // the N rules of the built-in file, line by line: Find;St1;St2;St3;S1;S2;S3;S4
    QStringList fileRules = defaultLines(QStringLiteral("Find.csv"));
    fileRules.removeIf([](const QString &line) { return !line.startsWith(QLatin1String("N;")); });
    ASSERT_FALSE(fileRules.isEmpty());
    QStringList readRules;
    for (const QVariantMap &row :
        rows(Find::name, Filter::equals(Find::Find, QStringLiteral("N")))) {
        QStringList cells;
        for (const QLatin1String field :
            {Find::Find, Find::St1, Find::St2, Find::St3, Find::S1, Find::S2, Find::S3, Find::S4})
            cells.append(row.value(field).toString());
        readRules.append(cells.join(QLatin1Char(';')));
    }
    EXPECT_EQ(readRules, fileRules);
}

// --- writes ---------------------------------------------------------------------------------

TEST_F(ReferenceDatabaseTest, DeletedMaterialStaysButIsNotListedAndANewOneHasZeroContents)
{
    const int materials = allRows(Tapanyagok::name);
    const Filter urea = Filter::equals(Tapanyagok::Anyagid, 3);
    QString error;
    ASSERT_EQ(m_database.markDeleted(Tapanyagok::name, urea, &error), 1) << error.toStdString();

    EXPECT_EQ(allRows(Tapanyagok::name), materials);
    const QList<QVariantMap> listed = rows(Tapanyagok::name);
    EXPECT_EQ(listed.size(), materials - 1);
    EXPECT_FALSE(column(listed, Tapanyagok::Anyagid).contains(qlonglong(3)));
    EXPECT_TRUE(rows(Tapanyagok::name, urea).isEmpty());
    const QList<QVariantMap> kept
        = rows(Tapanyagok::name, urea, {}, ReferenceDatabase::DeletedRows::Included);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept.first().value(Tapanyagok::Deleted), QVariant(true));
    EXPECT_EQ(kept.first().value(Tapanyagok::N), QVariant(46.0)); // contents untouched

    // such rows are never removed
    EXPECT_EQ(m_database.remove(Tapanyagok::name, urea, &error), -1);
    EXPECT_EQ(error,
        QStringLiteral("A(z) Tapanyagok tábla sorai nem törölhetők, csak töröltnek jelölhetők."));
    EXPECT_EQ(allRows(Tapanyagok::name), materials);

    // a new material with its name and unit only is listed with zero contents
    const std::optional<qint64> id = m_database.insert(Tapanyagok::name,
        {{Tapanyagok::Megnev, QStringLiteral("Új anyag")}, {Tapanyagok::Mert, QStringLiteral("l")}},
        &error);
    ASSERT_TRUE(id) << error.toStdString();
    // the next free material id after the 27 built-in ones
    EXPECT_EQ(*id, 28);
    const std::optional<QVariantMap> row
        = m_database.selectFirst(Tapanyagok::name, Filter::equals(Tapanyagok::Anyagid, *id));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value(Tapanyagok::Deleted), QVariant(false));
    EXPECT_EQ(row->value(Tapanyagok::Zn), QVariant(0.0));
    EXPECT_EQ(row->value(Tapanyagok::Egyeb), QVariant(QString()));
}

TEST_F(ReferenceDatabaseTest, WritesRefuseValuesTheFieldCannotHold)
{
    struct Case
    {
        const char *name;
        QString table;
        QVariantMap values;
        QString error;
    };
    const Case cases[] = {
        {"name too long", Nov::name,
            {{Nov::Novid, QStringLiteral("40")}, {Nov::Nev, QString(51, QLatin1Char('x'))}},
            QStringLiteral("A(z) Nov.Nev mező legfeljebb 50 karakter lehet: „%1”.")
                .arg(QString(51, QLatin1Char('x')))},
        {"unknown field", Nov::name, {{QStringLiteral("Name"), QStringLiteral("x")}},
            QStringLiteral("A(z) Nov táblának nincs Name mezője.")},
        {"unknown table", QStringLiteral("Novenyek"), {{Nov::Nev, QStringLiteral("x")}},
            QStringLiteral("A(z) Novenyek nem a referencia-adatbázis táblája.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(m_database.insert(c.table, c.values, &error));
        EXPECT_EQ(error, c.error) << error.toStdString();
    }
    EXPECT_EQ(allRows(Nov::name), int(defaultLines(QStringLiteral("Nov.csv")).size()));
}

// --- transactions ---------------------------------------------------------------------------

TEST_F(ReferenceDatabaseTest, DeletingACropRemovesItsNeedAndSplitRows)
{
    // a second file open beside it, on a connection of its own, keeps its crop
    const QString second = m_directory.filePath(QStringLiteral("b.db"));
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(second));
    ReferenceDatabase other;
    ASSERT_TRUE(other.open(second));
    EXPECT_NE(m_database.database().connectionName(), other.database().connectionName());
    const Filter crop1 = Filter::equals(Nov::Novid, QStringLiteral("1"));
    const int needs = allRows(Find2::name);
    const int splits = allRows(Find3::name);
    const int cropNeeds = m_database.count(Find2::name, crop1);
    const int cropSplits = m_database.count(Find3::name, crop1);
    ASSERT_GT(cropNeeds, 0);
    ASSERT_GT(cropSplits, 0);

    // A table that refuses to give up its rows after the need rows have gone inside the
    // transaction: the split rules, then the crop itself (it goes last). Nothing is lost.
    for (const QString locked : {"Find3", "Nov"}) {
        SCOPED_TRACE(locked.toStdString());
        execRaw(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON %1 "
                               "BEGIN SELECT RAISE(ABORT, 'locked'); END")
                    .arg(locked));
        QString error;
        EXPECT_FALSE(m_database.deleteCrop(QStringLiteral("1"), &error));
        EXPECT_TRUE(error.startsWith(
            QStringLiteral("A(z) %1 táblából nem törölhető: locked").arg(locked)))
            << error.toStdString();
        EXPECT_EQ(m_database.count(Find2::name, crop1), cropNeeds);
        EXPECT_EQ(m_database.count(Find3::name, crop1), cropSplits);
        EXPECT_EQ(m_database.count(Nov::name, crop1), 1);
        execRaw(QStringLiteral("DROP TRIGGER refuse"));
    }

    // then the connection is usable again
    QSignalSpy changed(&m_database, &ReferenceDatabase::tableChanged);
    QString error;
    ASSERT_TRUE(m_database.deleteCrop(QStringLiteral("1"), &error)) << error.toStdString();
    // each table it changed is named once, after the commit
    QStringList tables;
    for (const QList<QVariant> &signal : changed)
        tables.append(signal.first().toString());
    tables.sort();
    EXPECT_EQ(tables, QStringList({Find2::name, Find3::name, Nov::name}));
    EXPECT_EQ(m_database.count(Nov::name, crop1), 0);
    EXPECT_EQ(m_database.count(Find2::name, crop1), 0);
    EXPECT_EQ(m_database.count(Find3::name, crop1), 0);
    EXPECT_EQ(allRows(Find2::name), needs - cropNeeds);
    EXPECT_EQ(allRows(Find3::name), splits - cropSplits);
    // the defaults keep the crop's rows
    EXPECT_EQ(m_database.count(Tables::Find2Back::name, crop1), cropNeeds);
    EXPECT_EQ(m_database.count(Tables::Find3Back::name, crop1), cropSplits);
    EXPECT_EQ(other.count(Nov::name, crop1), 1);

    // a crop that is not there changes nothing
    EXPECT_FALSE(m_database.deleteCrop(QStringLiteral("1"), &error));
    EXPECT_EQ(error, QStringLiteral("A(z) 1 azonosítójú növény nem található."));
}

TEST_F(ReferenceDatabaseTest, FailedWorkIsUndoneAndInnerFailureOnlyUndoesItself)
{
    const int crops = allRows(Nov::name);
    const auto addCrop = [&](const char *id, QString *error) {
        return bool(m_database.insert(Nov::name,
            {{Nov::Novid, QString::fromLatin1(id)}, {Nov::Nev, QString::fromLatin1(id)}}, error));
    };

    QSignalSpy changed(&m_database, &ReferenceDatabase::tableChanged);
    QString error;
    EXPECT_FALSE(m_database.inTransaction(
        [&](QString *workError) {
            if (!addCrop("50", workError) || !addCrop("51", workError))
                return false;
            *workError = QStringLiteral("megszakítva");
            return false;
        },
        &error));
    EXPECT_EQ(error, QStringLiteral("megszakítva"));
    EXPECT_EQ(allRows(Nov::name), crops);

    // a failing statement inside the work: a duplicate key
    EXPECT_FALSE(m_database.inTransaction(
        [&](QString *workError) { return addCrop("52", workError) && addCrop("52", workError); },
        &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("A(z) Nov táblába nem írható sor:")))
        << error.toStdString();
    EXPECT_EQ(allRows(Nov::name), crops);

    // nested: the inner failure is undone, the outer work goes on and is kept
    EXPECT_TRUE(m_database.inTransaction(
        [&](QString *workError) {
            if (!addCrop("53", workError))
                return false;
            QString innerError;
            EXPECT_FALSE(m_database.inTransaction(
                [&](QString *inner) { return addCrop("54", inner) && addCrop("53", inner); },
                &innerError));
            return addCrop("55", workError);
        },
        &error))
        << error.toStdString();
    EXPECT_EQ(allRows(Nov::name), crops + 2);
    EXPECT_EQ(m_database.count(Nov::name, Filter::equals(Nov::Novid, QStringLiteral("54"))), 0);
    // work undone is never announced; the kept work once, when it is committed
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().first().toString(), Nov::name);
}

TEST_F(ReferenceDatabaseTest, ReplacingNeedRowsChecksEveryRowFirst)
{
    const Filter crop1N = Filter::equals(Find2::Novid, QStringLiteral("1"))
        && Filter::equals(Find2::Anyid, QStringLiteral("N"));
    const Filter crop1P = Filter::equals(Find2::Novid, QStringLiteral("1"))
        && Filter::equals(Find2::Anyid, QStringLiteral("P"));
    const QList<QVariantMap> before = rows(Find2::name);
    const QList<QVariantMap> phosphorus = rows(Find2::name, crop1P);

    struct Bad
    {
        const char *name;
        QList<QVariantMap> rows;
        QString error;
    };
    const Bad bad[] = {
        {"site category 7", {{{Find2::Sztid, 1}}, {{Find2::Sztid, 7}}},
            QStringLiteral("A termőhely száma 1 és 6 közötti egész szám, nem 7.")},
        {"site category twice", {{{Find2::Sztid, 2}}, {{Find2::Sztid, 2}}},
            QStringLiteral("A(z) 2. termőhely kétszer szerepel.")},
        {"other element", {{{Find2::Sztid, 1}, {Find2::Anyid, QStringLiteral("K")}}},
            QStringLiteral("A sor más elemhez tartozik: K.")},
    };
    for (const Bad &b : bad) {
        SCOPED_TRACE(b.name);
        QString error;
        EXPECT_FALSE(
            m_database.replaceCropNeeds(QStringLiteral("1"), QStringLiteral("N"), b.rows, &error));
        EXPECT_EQ(error, b.error);
        EXPECT_EQ(rows(Find2::name), before);
    }

    QString error;
    ASSERT_TRUE(m_database.replaceCropNeeds(QStringLiteral("1"), QStringLiteral("N"),
        {{{Find2::Sztid, 3}, {Find2::Gy, 2.5}}, {{Find2::Sztid, 1}, {Find2::Gy, 3.0}}}, &error))
        << error.toStdString();
    const QList<QVariantMap> replaced = rows(Find2::name, crop1N);
    EXPECT_EQ(column(replaced, Find2::Sztid), (QVariantList {qlonglong(1), qlonglong(3)}));
    EXPECT_EQ(column(replaced, Find2::Gy), (QVariantList {3.0, 2.5}));
    EXPECT_TRUE(replaced.first().value(Find2::Igy).isNull());
    // the other elements of the crop stay
    EXPECT_EQ(rows(Find2::name, crop1P), phosphorus);

    // no rows: the crop and element have none afterwards
    ASSERT_TRUE(m_database.replaceCropNeeds(QStringLiteral("1"), QStringLiteral("N"), {}));
    EXPECT_EQ(m_database.count(Find2::name, crop1N), 0);

    EXPECT_FALSE(
        m_database.replaceCropNeeds(QStringLiteral("1"), QStringLiteral("Mg"), {}, &error));
    EXPECT_EQ(
        error, QStringLiteral("Fajlagos igény csak N, P és K elemre adható meg, nem Mg elemre."));
}

TEST_F(ReferenceDatabaseTest, RestoringDefaultsReplacesOneCropsRowsOnly)
{
    const Filter crop1 = Filter::equals(Find2::Novid, QStringLiteral("1"));
    const Filter crop2 = Filter::equals(Find2::Novid, QStringLiteral("2"));
    const QList<QVariantMap> defaults = rows(Tables::Find2Back::name, crop1);
    ASSERT_TRUE(m_database.replaceCropNeeds(
        QStringLiteral("1"), QStringLiteral("K"), {{{Find2::Sztid, 1}, {Find2::Igy, 99.0}}}));
    ASSERT_EQ(m_database.update(Find2::name, crop2, {{Find2::Igy, 77.0}}), 18);

    QString error;
    EXPECT_EQ(m_database.restoreCropNeeds(QStringLiteral("1"), &error), defaults.size())
        << error.toStdString();
    // all three elements of the crop, the level-7 column included
    EXPECT_EQ(rows(Find2::name, crop1), defaults);
    // the other crop keeps its edited rows
    EXPECT_EQ(column(rows(Find2::name, crop2), Find2::Igy), QVariantList(18, 77.0));

    // splits get new Ids
    const Filter split1 = Filter::equals(Find3::Novid, QStringLiteral("1"));
    const QList<QVariantMap> oldSplits = rows(Find3::name, split1);
    ASSERT_GT(m_database.remove(Find3::name, split1), 0);
    EXPECT_EQ(m_database.restoreCropSplits(QStringLiteral("1"), &error), oldSplits.size())
        << error.toStdString();
    const QList<QVariantMap> restored = rows(Find3::name, split1);
    ASSERT_EQ(restored.size(), oldSplits.size());
    for (int i = 0; i < restored.size(); ++i) {
        QVariantMap withoutId = restored.at(i);
        QVariantMap oldWithoutId = oldSplits.at(i);
        EXPECT_NE(withoutId.take(Find3::Id), oldWithoutId.take(Find3::Id));
        EXPECT_EQ(withoutId, oldWithoutId);
    }

    // a crop without defaults keeps its rows
    ASSERT_TRUE(m_database.insert(Find2::name,
        {{Find2::Novid, QStringLiteral("30")}, {Find2::Anyid, QStringLiteral("N")},
            {Find2::Sztid, 1}}));
    EXPECT_EQ(m_database.restoreCropNeeds(QStringLiteral("30"), &error), 0);
    EXPECT_EQ(m_database.count(Find2::name, Filter::equals(Find2::Novid, QStringLiteral("30"))), 1);
}

TEST_F(ReferenceDatabaseTest, NextCropIdNeverReusesAnIdWithRowsAndACropWithoutRowsGoesAlone)
{
    // the built-in crops end at 16
    EXPECT_EQ(m_database.nextCropId(), QStringLiteral("17"));
    // after deleting crop 16 its default rows remain, so 16 is not handed out again
    ASSERT_TRUE(m_database.deleteCrop(QStringLiteral("16")));
    EXPECT_EQ(m_database.nextCropId(), QStringLiteral("17"));
    ASSERT_TRUE(m_database.insert(
        Nov::name, {{Nov::Novid, QStringLiteral("17")}, {Nov::Nev, QStringLiteral("Mák")}}));
    EXPECT_EQ(m_database.nextCropId(), QStringLiteral("18"));

    // a crop without need or split rows is deleted alone
    const int needs = allRows(Find2::name);
    EXPECT_TRUE(m_database.deleteCrop(QStringLiteral("17")));
    EXPECT_EQ(m_database.count(Nov::name, Filter::equals(Nov::Novid, QStringLiteral("17"))), 0);
    EXPECT_EQ(allRows(Find2::name), needs);

    // no crop anywhere: 1; only crops 9 and 10: "9" sorts after "10" as text, the next is 11
    for (const Schema::Table &table : Schema::referenceTables()) {
        if (table.hasField(Nov::Novid)) {
            ASSERT_TRUE(m_database.replaceAllRows(table.name, {}));
        }
    }
    EXPECT_EQ(m_database.nextCropId(), QStringLiteral("1"));
    ASSERT_TRUE(m_database.replaceAllRows(Nov::name,
        {{{Nov::Novid, QStringLiteral("9")}}, {{Nov::Novid, QStringLiteral("10")}}}));
    EXPECT_EQ(m_database.nextCropId(), QStringLiteral("11"));
}

// --- opening --------------------------------------------------------------------------------

TEST_F(ReferenceDatabaseTest, MissingTableOrFieldIsReportedByName)
{
    const std::pair<const char *, QString> cases[] = {
        {"DROP TABLE Jav", QStringLiteral("A(z) %1 referencia-adatbázisból hiányzik: Jav.")},
        {"ALTER TABLE Hatar DROP COLUMN Ertekeles",
            QStringLiteral("A(z) %1 referencia-adatbázisból hiányzó mezők: Hatar.Ertekeles.")},
    };
    for (const auto &[sql, message] : cases) {
        SCOPED_TRACE(sql);
        m_database.close();
        ASSERT_TRUE(QFile::remove(m_path));
        ASSERT_TRUE(ReferenceDatabase::createFromDefaults(m_path));
        ASSERT_TRUE(m_database.open(m_path));
        execRaw(QString::fromLatin1(sql));
        const bool tableDropped = QByteArray(sql).startsWith("DROP TABLE");
        EXPECT_EQ(m_database.missingTables(), tableDropped ? QStringList({"Jav"}) : QStringList());
        EXPECT_EQ(m_database.hasTable(QStringLiteral("Jav")), !tableDropped);
        EXPECT_TRUE(m_database.hasTable(QStringLiteral("Comptext")));
        m_database.close();
        QString error;
        EXPECT_FALSE(m_database.open(m_path, &error));
        EXPECT_EQ(error, message.arg(m_path));
        EXPECT_FALSE(m_database.isOpen());
    }
}

TEST_F(ReferenceDatabaseTest, OpeningRefusesWhatIsNoReferenceDatabase)
{
    ReferenceDatabase database;
    QString error;

    const QString absent = m_directory.filePath(QStringLiteral("absent.db"));
    EXPECT_FALSE(database.open(absent, &error));
    EXPECT_EQ(error, QStringLiteral("A(z) %1 referencia-adatbázis nem található.").arg(absent));
    // opening did not create the file
    EXPECT_FALSE(QFile::exists(absent));

    const QString text = m_directory.filePath(QStringLiteral("text.db"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    EXPECT_FALSE(database.open(text, &error));
    EXPECT_TRUE(error.startsWith(
        QStringLiteral("A(z) %1 nem nyitható meg referencia-adatbázisként:").arg(text)))
        << error.toStdString();
    EXPECT_FALSE(database.isOpen());
    // what a closed database answers is in the crop need and adviser panel tests
}

} // namespace
