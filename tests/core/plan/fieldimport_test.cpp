#include "core/plan/fieldimport.h"

#include "core/data/farm/farmdatabase.h"
#include "core/data/farm/farmfields.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "core/planfile/planjson.h"
#include "support/qstringprinter.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

using namespace FarmFields;

// Writes one farm table as the farm-management program's SQLite export has it: a file
// "<table>.db" holding one table of that name.
void writeFarmTable(const QString &directory, const QString &table, const QStringList &columns,
    const QList<QVariantList> &rows)
{
    const QString connection = QStringLiteral("fieldimport-test-") + table;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        database.setDatabaseName(QDir(directory).filePath(table + QStringLiteral(".db")));
        ASSERT_TRUE(database.open()) << database.lastError().text().toStdString();
        QSqlQuery query(database);
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE \"%1\" (%2)")
                                   .arg(table, columns.join(QStringLiteral(", ")))))
            << query.lastError().text().toStdString();
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks.append(QStringLiteral("?"));
        database.transaction();
        ASSERT_TRUE(query.prepare(QStringLiteral("INSERT INTO \"%1\" VALUES (%2)")
                                      .arg(table, marks.join(QStringLiteral(", ")))));
        for (const QVariantList &row : rows) {
            for (int i = 0; i < row.size(); ++i)
                query.bindValue(i, row[i]);
            ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        }
        database.commit();
    }
    QSqlDatabase::removeDatabase(connection);
}

const QStringList sampleColumns
    = {"Tablakod INTEGER", "Mintas INTEGER", "Mintajel TEXT", "PH REAL", "KA REAL", "Mesz REAL",
        "Hsz REAL", "P2O2 REAL", "K2O REAL", "Mg REAL", "Mn REAL", "Zn REAL", "Cu REAL"};

QVariantList sample(int owner, int number, const QString &mark, double first)
{
    QVariantList row {owner, number, mark};
    for (int i = 0; i < 10; ++i)
        row.append(first + i);
    return row;
}

QStringList column(const PlanItems &items, int gridColumn)
{
    QStringList cells;
    for (int row = 1; row <= 11; ++row)
        cells.append(items.soilSampleTable.cell(row, gridColumn));
    return cells;
}

class FieldImportTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        writeFarmTable(m_directory.path(), FarmTables::Tablak,
            {"Tableid INTEGER PRIMARY KEY", "Helysz TEXT", "Ter REAL", "Aktiv INTEGER"},
            {{7, "0123/4", 124500.0, 1}, {8, "0125", 30000.0, 1}, {9, "0200/1", 5000.0, 1}});
        // Field 7: a sample, its average, another sample; field 8's rows lie between them
        // and must stay out. Field 9 has no samples.
        QVariantList unmeasured {7, 2, "TVG2", 7.4, 38.0, QVariant(), 2.25, 120.0, 250.0,
            QVariant(), QVariant(), QVariant(), QVariant()};
        writeFarmTable(m_directory.path(), FarmTables::Talajmintak, sampleColumns,
            {sample(7, 1, "TVG1", 6.07), sample(8, 1, "Másik", 100),
                sample(7, averageSampleNumber, "Átlag", 0.5), unmeasured});
        writeFarmTable(m_directory.path(), FarmTables::parcellak,
            {"Parc_id INTEGER PRIMARY KEY", "Parcsor TEXT", "Ter REAL", "Aktiv TEXT"},
            {{31, "12", 12.5, "A"}});
        writeFarmTable(
            m_directory.path(), FarmTables::PTalajmintak, sampleColumns, {sample(31, 1, "P1", 5)});
        SoilSamples::initSoilGrid(m_items);
        m_items.lotNumber = QStringLiteral("régi hrsz");
        m_items.parcelNumber = QStringLiteral("régi parcella");
        m_items.area = QStringLiteral("1");
        m_items.farmingYear = QStringLiteral("2025/2026");
    }

    // The farm table positioned on the record whose key is `id`.
    std::unique_ptr<FarmTable> record(const QString &table, const QString &key, int id)
    {
        FarmTableResult result = FarmDatabase(m_directory.path()).openTable(table);
        EXPECT_TRUE(result) << result.error.toStdString();
        if (!result)
            return {};
        for (result.table->first(); !result.table->eof(); result.table->next()) {
            if (result.table->integer(key) == id)
                break;
        }
        return std::move(result.table);
    }

    // Imports the record whose key is `id` into m_items; the error text in m_error.
    bool importRecord(const QString &table, const QString &key, int id, FarmRecordKind kind)
    {
        const auto chosen = record(table, key, id);
        EXPECT_TRUE(chosen && !chosen->eof());
        m_error.clear();
        return chosen
            && importField(m_items, *chosen, FarmDatabase(m_directory.path()), kind, &m_error);
    }

    QTemporaryDir m_directory;
    PlanItems m_items;
    QString m_error;
};

} // namespace

TEST_F(FieldImportTest, AFieldWithAnAverageAndTwoSamples)
{
    ASSERT_TRUE(importRecord(FarmTables::Tablak, Tableid, 7, FarmRecordKind::Fields))
        << m_error.toStdString();

    EXPECT_EQ(m_items.lotNumber, QStringLiteral("0123/4"));
    EXPECT_EQ(m_items.area, QStringLiteral("124500")); // whole square metres, no decimals
    EXPECT_EQ(m_items.parcelNumber, QStringLiteral("régi parcella")); // not a parcel
    EXPECT_EQ(m_items.farmingYear, QStringLiteral("2025/2026"));
    EXPECT_EQ(m_items.sampleCount, 2); // the average record is not a sample

    // the average record goes to column 1 although it came second
    EXPECT_EQ(column(m_items, 1),
        QStringList(
            {"Átlag", "0,5", "1,5", "2,5", "3,5", "4,5", "5,5", "6,5", "7,5", "8,5", "9,5"}));
    // samples in table order, each with its mark in row 1
    EXPECT_EQ(column(m_items, 2),
        QStringList({"TVG1", "6,07", "7,07", "8,07", "9,07", "10,07", "11,07", "12,07", "13,07",
            "14,07", "15,07"}));
    // an unmeasured value is written as 0
    EXPECT_EQ(column(m_items, 3),
        QStringList({"TVG2", "7,4", "38", "0", "2,25", "120", "250", "0", "0", "0", "0"}));
    EXPECT_EQ(m_items.soilSampleTable.cell(1, 4), QString());
    // the headers stay
    EXPECT_EQ(m_items.soilSampleTable.cell(0, 1), QStringLiteral("Átlag"));
    EXPECT_EQ(m_items.soilSampleTable.cell(2, 0), QStringLiteral("Kémhatás pH"));
}

TEST_F(FieldImportTest, AFieldWithoutSamplesKeepsTheAverageColumn)
{
    for (int row = 1; row <= 11; ++row)
        m_items.soilSampleTable.setCell(row, 1, QStringLiteral("%1").arg(row));
    const QStringList averageBefore = column(m_items, 1);
    m_items.sampleCount = 4;

    ASSERT_TRUE(importRecord(FarmTables::Tablak, Tableid, 9, FarmRecordKind::Fields))
        << m_error.toStdString();
    EXPECT_EQ(m_items.sampleCount, 0);
    EXPECT_EQ(column(m_items, 1), averageBefore); // the grid is not cleared first
}

TEST_F(FieldImportTest, AParcelSetsTheParcelNumber)
{
    ASSERT_TRUE(importRecord(FarmTables::parcellak, Parc_id, 31, FarmRecordKind::Parcels))
        << m_error.toStdString();
    EXPECT_EQ(m_items.parcelNumber, QStringLiteral("12"));
    EXPECT_EQ(m_items.lotNumber, QStringLiteral("régi hrsz"));
    // a stored fraction keeps it, so the field check can refuse the area
    EXPECT_EQ(m_items.area, QStringLiteral("12,5"));
    EXPECT_EQ(m_items.sampleCount, 1);
    EXPECT_EQ(m_items.soilSampleTable.cell(1, 2), QStringLiteral("P1"));
    EXPECT_EQ(m_items.soilSampleTable.cell(11, 2), QStringLiteral("14"));
    // no average record: column 1 keeps its label
    EXPECT_EQ(m_items.soilSampleTable.cell(1, 1), QStringLiteral("Átlag"));
}

TEST_F(FieldImportTest, FailuresChangeNothing)
{
    const PlanItems before = m_items;
    struct Case
    {
        const char *name;
        bool atEnd;
        bool withoutSampleTable;
        QString errorPart;
    };
    const QList<Case> cases = {
        {"no record chosen", true, false, QStringLiteral("Nincs kiválasztott tábla.")},
        {"sample table missing", false, true, QStringLiteral("Talajmintak")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto field = record(FarmTables::Tablak, Tableid, 7);
        ASSERT_TRUE(field);
        if (c.atEnd)
            field->seek(field->rowCount());
        if (c.withoutSampleTable) {
            ASSERT_TRUE(QFile::remove(m_directory.filePath(QStringLiteral("Talajmintak.db"))));
        }
        QString error;
        EXPECT_FALSE(importField(
            m_items, *field, FarmDatabase(m_directory.path()), FarmRecordKind::Fields, &error));
        EXPECT_TRUE(error.contains(c.errorPart)) << error.toStdString();
        EXPECT_EQ(planToJson(m_items), planToJson(before));
        EXPECT_EQ(m_items.soilSampleTable, before.soilSampleTable);
    }
}

TEST_F(FieldImportTest, SamplesBeyondTheLastColumnAreLeftOut)
{
    QList<QVariantList> rows;
    for (int number = 1; number <= 1001; ++number)
        rows.append(sample(9, number, QStringLiteral("M%1").arg(number), number));
    ASSERT_TRUE(QFile::remove(m_directory.filePath(QStringLiteral("Talajmintak.db"))));
    writeFarmTable(m_directory.path(), FarmTables::Talajmintak, sampleColumns, rows);

    ASSERT_TRUE(importRecord(FarmTables::Tablak, Tableid, 9, FarmRecordKind::Fields))
        << m_error.toStdString();
    // 999 samples fill columns 2–1000, the largest plan the plan file holds
    EXPECT_EQ(m_items.sampleCount, 999);
    EXPECT_EQ(m_items.soilSampleTable.cell(1, 1000), QStringLiteral("M999"));
    EXPECT_EQ(m_items.soilSampleTable.cell(2, 1000), QStringLiteral("999"));
}
