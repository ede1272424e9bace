#include "core/data/farm/samplefarm.h"

#include "core/data/defaults/csv.h"
#include "core/data/farm/farmdatabase.h"
#include "core/data/farm/farmfields.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <array>
#include <atomic>
#include <optional>

namespace {

constexpr int valueCount = 10; // PH .. Cu, in the order of FarmFields::sampleValues

// The CSV's names of the ten laboratory values; the phosphorus column is P2O5 there.
const QStringList csvValueColumns = {QStringLiteral("PH"),   QStringLiteral("KA"),
                                     QStringLiteral("Mesz"), QStringLiteral("Hsz"),
                                     QStringLiteral("P2O5"), QStringLiteral("K2O"),
                                     QStringLiteral("Mg"),   QStringLiteral("Mn"),
                                     QStringLiteral("Zn"),   QStringLiteral("Cu")};

using Values = std::array<std::optional<double>, valueCount>;

struct LabSample
{
    QString mark;
    Values values;
};

// One field of the farm: which CSV field's samples it gets and what Tablak says of it.
struct FieldPlan
{
    int csvField;
    int tableId;
    QString lotNumber;
    QString houseName;
    double area; // m²
    QString block;
    bool active;
    bool withAverage;
};

struct ParcelPlan
{
    int csvField;
    int parcelId;
    int farmingYear;
    QString parcelNumber;
    QString branch;
    double area; // m²
    QString houseName;
    QString useCode;
    QString active; // "A" = active
    bool withAverage;
};

struct Column
{
    QString name;
    QString sqlType;
};

struct TableFile
{
    QString table;
    QList<Column> columns;
    QList<QVariantList> rows;
};

} // namespace

// Tableid is the field's number in the laboratory's results. Field 40 has ten samples, so
// its marks TVG1 .. TVG10 do not sort as text the way the table keeps them; field 40 is
// also larger than 100 ha.
static QList<FieldPlan> fieldPlans()
{
    return {
        {33, 33, QStringLiteral("0112/3"), QStringLiteral("Malom-dűlő"), 124500,
         QStringLiteral("KV4H7-D-11"), true, true},
        {37, 37, QStringLiteral("0115/1"), QStringLiteral("Rábca-part"), 87300,
         QStringLiteral("KV4H8-A-11"), true, true},
        {38, 38, QStringLiteral("0117/2"), QStringLiteral("Kenderföld"), 45210,
         QStringLiteral("KV4J1-F-11"), true, false},
        {40, 40, QStringLiteral("0121/5"), QStringLiteral("Nagy-Hanság"), 1234500,
         QStringLiteral("KV4J3-C-11"), true, true},
        {42, 42, QStringLiteral("0124/1"), QStringLiteral("Öreg-legelő"), 31800,
         QStringLiteral("KV5A2-E-11"), false, false},
        {48, 48, QStringLiteral("0130/7"), QStringLiteral("Templom-dűlő"), 96740,
         QStringLiteral("KV5A6-B-11"), true, false},
    };
}

static QList<ParcelPlan> parcelPlans()
{
    const QString wheat = QStringLiteral("Őszi búza");
    const QString cereals = QStringLiteral("KAL01");
    return {
        {50, 201, 2024, QStringLiteral("1"), wheat, 58200, QStringLiteral("Csárda-dűlő"),
         cereals, QStringLiteral("A"), true},
        {53, 202, 2024, QStringLiteral("2"), wheat, 23650, QStringLiteral("Kis-Rábca"), cereals,
         QStringLiteral("A"), false},
        {55, 203, 2024, QStringLiteral("3"), wheat, 41000, QStringLiteral("Fűzfás"), cereals,
         QStringLiteral("A"), false},
        {63, 204, 2023, QStringLiteral("4"), wheat, 12800, QStringLiteral("Tanya mögötti"),
         cereals, QStringLiteral("N"), false},
    };
}

static QString csvLocation(const QString &csvPath, int lineNumber)
{
    return QStringLiteral("%1, %2. sor").arg(QDir::toNativeSeparators(csvPath)).arg(lineNumber);
}

// Reads the laboratory results, grouped by field number, each field's samples in file order.
static bool readLabResults(const QString &csvPath, QHash<int, QList<LabSample>> *samples,
                           QString *error)
{
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("A(z) %1 nem nyitható meg: %2")
                     .arg(QDir::toNativeSeparators(csvPath), file.errorString());
        return false;
    }
    QString csvError;
    const std::optional<Csv::Table> table = Csv::parse(QString::fromUtf8(file.readAll()),
                                                       &csvError);
    if (!table) {
        *error = QStringLiteral("%1, %2").arg(QDir::toNativeSeparators(csvPath), csvError);
        return false;
    }

    const int fieldColumn = int(table->header.indexOf(QStringLiteral("Field")));
    const int sampleColumn = int(table->header.indexOf(QStringLiteral("Sample")));
    std::array<int, valueCount> valueColumns{};
    QStringList missing;
    if (fieldColumn < 0)
        missing.append(QStringLiteral("Field"));
    if (sampleColumn < 0)
        missing.append(QStringLiteral("Sample"));
    for (int i = 0; i < valueCount; ++i) {
        valueColumns[i] = int(table->header.indexOf(csvValueColumns.at(i)));
        if (valueColumns[i] < 0)
            missing.append(csvValueColumns.at(i));
    }
    if (!missing.isEmpty()) {
        *error = QStringLiteral("%1: hiányzó oszlop: %2")
                     .arg(csvLocation(csvPath, 1), missing.join(QStringLiteral(", ")));
        return false;
    }

    // The laboratory writes its numbers with a decimal point, unlike the user's entries.
    const QLocale c = QLocale::c();
    for (int index = 0; index < table->rows.size(); ++index) {
        const QStringList &cells = table->rows.at(index);
        const int lineNumber = table->lineNumbers.at(index);
        bool ok = false;
        const int field = c.toInt(cells.at(fieldColumn).trimmed(), &ok);
        if (!ok) {
            *error = QStringLiteral("%1: a tábla száma nem egész szám: %2")
                         .arg(csvLocation(csvPath, lineNumber), cells.at(fieldColumn));
            return false;
        }
        LabSample sample;
        sample.mark = cells.at(sampleColumn).trimmed();
        for (int i = 0; i < valueCount; ++i) {
            const QString cell = cells.at(valueColumns[i]).trimmed();
            if (cell.isEmpty())
                continue; // not measured
            const double value = c.toDouble(cell, &ok);
            if (!ok) {
                *error = QStringLiteral("%1: a(z) %2 értéke nem szám: %3")
                             .arg(csvLocation(csvPath, lineNumber), csvValueColumns.at(i), cell);
                return false;
            }
            sample.values[i] = value;
        }
        (*samples)[field].append(sample);
    }
    return true;
}

// The arithmetic mean of each value over the samples that measured it; empty where none did.
static Values averages(const QList<LabSample> &samples)
{
    Values result;
    for (int i = 0; i < valueCount; ++i) {
        double sum = 0;
        int count = 0;
        for (const LabSample &sample : samples) {
            if (sample.values[i]) {
                sum += *sample.values[i];
                ++count;
            }
        }
        if (count > 0)
            result[i] = sum / count;
    }
    return result;
}

static QVariantList sampleRow(int ownerId, int sampleNumber, const QString &mark,
                              const Values &values)
{
    QVariantList row{ownerId, sampleNumber, mark.isEmpty() ? QVariant() : QVariant(mark)};
    for (const std::optional<double> &value : values)
        row.append(value ? QVariant(*value) : QVariant());
    return row;
}

// The samples of one field or parcel: numbered 1 .. n in laboratory order, then the average
// record, which the farm-management program adds once the results are in.
static QList<QVariantList> sampleRows(int ownerId, const QList<LabSample> &samples,
                                      bool withAverage)
{
    QList<QVariantList> rows;
    for (int i = 0; i < samples.size(); ++i)
        rows.append(sampleRow(ownerId, i + 1, samples.at(i).mark, samples.at(i).values));
    if (withAverage)
        rows.append(sampleRow(ownerId, FarmFields::averageSampleNumber, QStringLiteral("Átlag"),
                              averages(samples)));
    return rows;
}

static QList<Column> sampleColumns()
{
    using namespace FarmFields;
    QList<Column> columns{{Tablakod, QStringLiteral("INTEGER")},
                          {Mintas, QStringLiteral("INTEGER")},
                          {Mintajel, QStringLiteral("TEXT")}};
    for (const QLatin1String name : sampleValues)
        columns.append({name, QStringLiteral("REAL")});
    return columns;
}

static bool buildTables(const QHash<int, QList<LabSample>> &samples, const QString &csvPath,
                        QList<TableFile> *tables, QString *error)
{
    using namespace FarmFields;
    TableFile fields{FarmTables::Tablak,
                     {{Tableid, QStringLiteral("INTEGER PRIMARY KEY")},
                      {Helysz, QStringLiteral("TEXT")},
                      {Hazmeg, QStringLiteral("TEXT")},
                      {Ter, QStringLiteral("REAL")},
                      {Blok, QStringLiteral("TEXT")},
                      {Muvag, QStringLiteral("TEXT")},
                      {Aktiv, QStringLiteral("INTEGER")}},
                     {}};
    TableFile fieldSamples{FarmTables::Talajmintak, sampleColumns(), {}};
    TableFile parcels{FarmTables::parcellak,
                      {{Parc_id, QStringLiteral("INTEGER PRIMARY KEY")},
                       {Evj, QStringLiteral("INTEGER")},
                       {Parcsor, QStringLiteral("TEXT")},
                       {Agazat, QStringLiteral("TEXT")},
                       {Ter, QStringLiteral("REAL")},
                       {Hazmeg, QStringLiteral("TEXT")},
                       {Hasznkod, QStringLiteral("TEXT")},
                       {Aktiv, QStringLiteral("TEXT")}},
                      {}};
    TableFile parcelSamples{FarmTables::PTalajmintak, sampleColumns(), {}};

    auto samplesOfField = [&](int csvField) -> const QList<LabSample> * {
        const auto found = samples.constFind(csvField);
        if (found == samples.constEnd()) {
            *error = QStringLiteral("A(z) %1 fájlban nincs minta a(z) %2. táblához.")
                         .arg(QDir::toNativeSeparators(csvPath))
                         .arg(csvField);
            return nullptr;
        }
        return &found.value();
    };

    for (const FieldPlan &plan : fieldPlans()) {
        const QList<LabSample> *labSamples = samplesOfField(plan.csvField);
        if (!labSamples)
            return false;
        fields.rows.append({plan.tableId, plan.lotNumber, plan.houseName, plan.area, plan.block,
                            QStringLiteral("szántó"), plan.active ? 1 : 0});
        fieldSamples.rows.append(sampleRows(plan.tableId, *labSamples, plan.withAverage));
    }
    for (const ParcelPlan &plan : parcelPlans()) {
        const QList<LabSample> *labSamples = samplesOfField(plan.csvField);
        if (!labSamples)
            return false;
        parcels.rows.append({plan.parcelId, plan.farmingYear, plan.parcelNumber, plan.branch,
                             plan.area, plan.houseName, plan.useCode, plan.active});
        parcelSamples.rows.append(sampleRows(plan.parcelId, *labSamples, plan.withAverage));
    }
    *tables = {fields, fieldSamples, parcels, parcelSamples};
    return true;
}

static QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

static bool writeTableFile(const TableFile &table, const QString &filePath, QString *error)
{
    static std::atomic<int> counter = 0;
    const QString connectionName = QStringLiteral("nutrisor-samplefarm-%1").arg(++counter);
    QString failure;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                          connectionName);
        database.setDatabaseName(filePath);
        if (!database.open()) {
            failure = database.lastError().text();
        } else {
            QStringList definitions;
            QStringList placeholders;
            for (const Column &column : table.columns) {
                definitions.append(quotedIdentifier(column.name) + QLatin1Char(' ')
                                   + column.sqlType);
                placeholders.append(QStringLiteral("?"));
            }
            QSqlQuery query(database);
            const QString tableName = quotedIdentifier(table.table);
            if (!query.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                                .arg(tableName, definitions.join(QStringLiteral(", "))))) {
                failure = query.lastError().text();
            } else if (!database.transaction()) {
                failure = database.lastError().text();
            } else if (!query.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                          .arg(tableName, placeholders.join(QStringLiteral(", "))))) {
                failure = query.lastError().text();
            } else {
                for (const QVariantList &row : table.rows) {
                    for (int column = 0; column < row.size(); ++column)
                        query.bindValue(column, row.at(column));
                    if (!query.exec()) {
                        failure = query.lastError().text();
                        break;
                    }
                }
                if (failure.isEmpty() && !database.commit())
                    failure = database.lastError().text();
                if (!failure.isEmpty())
                    database.rollback();
            }
            query.finish();
            database.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!failure.isEmpty()) {
        *error = QStringLiteral("A(z) %1 nem írható: %2")
                     .arg(QDir::toNativeSeparators(filePath), failure);
        return false;
    }
    return true;
}

// Removes every file of the table, whatever the letter case of its name.
static bool removeTableFiles(const QString &directory, const QString &table, QString *error)
{
    for (QString existing = FarmDatabase::findTableFile(directory, table); !existing.isEmpty();
         existing = FarmDatabase::findTableFile(directory, table)) {
        if (!QFile::remove(existing)) {
            *error = QStringLiteral("A(z) %1 nem törölhető.").arg(QDir::toNativeSeparators(existing));
            return false;
        }
    }
    return true;
}

bool writeSampleFarm(const QString &csvPath, const QString &directory, QString *error)
{
    QString failure;
    QHash<int, QList<LabSample>> samples;
    QList<TableFile> tables;
    if (!readLabResults(csvPath, &samples, &failure)
        || !buildTables(samples, csvPath, &tables, &failure)) {
        if (error)
            *error = failure;
        return false;
    }

    const QDir dir(directory);
    if (!dir.mkpath(QStringLiteral("."))) {
        if (error)
            *error = QStringLiteral("A(z) %1 könyvtár nem hozható létre.")
                         .arg(QDir::toNativeSeparators(directory));
        return false;
    }

    // Each table goes to a side file first; the old files are replaced only when all four
    // are complete.
    QStringList partPaths;
    bool ok = true;
    for (const TableFile &table : std::as_const(tables)) {
        const QString partPath = dir.filePath(table.table + QStringLiteral(".db.part"));
        partPaths.append(partPath);
        QFile::remove(partPath);
        if (!writeTableFile(table, partPath, &failure)) {
            ok = false;
            break;
        }
    }
    for (int i = 0; ok && i < tables.size(); ++i) {
        const QString target = dir.filePath(tables.at(i).table + QStringLiteral(".db"));
        ok = removeTableFiles(directory, tables.at(i).table, &failure);
        if (ok && !QFile::rename(partPaths.at(i), target)) {
            failure = QStringLiteral("A(z) %1 nem nevezhető át.")
                          .arg(QDir::toNativeSeparators(partPaths.at(i)));
            ok = false;
        }
    }
    if (!ok) {
        for (const QString &partPath : std::as_const(partPaths))
            QFile::remove(partPath);
        if (error)
            *error = failure;
    }
    return ok;
}
