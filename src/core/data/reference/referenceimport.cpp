#include "core/data/reference/referenceimport.h"

#include "core/data/farm/farmdatabase.h"
#include "core/data/reference/fieldvalues.h"
#include "core/data/paradox/paradoxtable.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/files/fileaccess.h"
#include "core/text/richtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>

#include <optional>

namespace {

using Paradox::FieldType;

// The program's own tables, which no earlier installation had.
bool isOwnTable(const QString &table)
{
    return table == Tables::NitrateLimits::name;
}

// Fields the program numbers itself when the file has none: the rules of Find keep the
// order of the file.
bool isNumberedHere(const Schema::Table &table, const Schema::Field &field)
{
    return table.name == Tables::Find::name && field.name == Tables::Find::Sorszam;
}

QString paradoxTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Alpha:
        return QStringLiteral("szöveg");
    case FieldType::Memo:
    case FieldType::FormattedMemo:
        return QStringLiteral("memó");
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Bcd:
        return QStringLiteral("szám");
    case FieldType::Short:
    case FieldType::Long:
        return QStringLiteral("egész szám");
    case FieldType::AutoIncrement:
        return QStringLiteral("sorszám");
    case FieldType::Logical:
        return QStringLiteral("logikai");
    case FieldType::Date:
        return QStringLiteral("dátum");
    case FieldType::Time:
        return QStringLiteral("időpont");
    case FieldType::Timestamp:
        return QStringLiteral("időbélyeg");
    case FieldType::Blob:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Bytes:
        break;
    }
    return QStringLiteral("bináris");
}

QString schemaTypeName(Schema::FieldType type)
{
    switch (type) {
    case Schema::FieldType::Text:
        return QStringLiteral("szöveg");
    case Schema::FieldType::Real:
        return QStringLiteral("szám");
    case Schema::FieldType::Integer:
    case Schema::FieldType::AutoIncrement:
        return QStringLiteral("egész szám");
    case Schema::FieldType::Boolean:
        return QStringLiteral("logikai");
    case Schema::FieldType::Date:
        return QStringLiteral("dátum");
    }
    return QString();
}

bool isNumeric(FieldType type)
{
    switch (type) {
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Bcd:
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement:
        return true;
    default:
        return false;
    }
}

// Which Paradox fields can fill a field of the reference database. Whole numbers may come
// from a number field as long as each value is whole; a logical value may have been kept
// as the text "True" or "False".
bool fits(Schema::FieldType target, FieldType source)
{
    switch (target) {
    case Schema::FieldType::Text:
        return source == FieldType::Alpha || source == FieldType::Memo
               || source == FieldType::FormattedMemo;
    case Schema::FieldType::Real:
    case Schema::FieldType::Integer:
    case Schema::FieldType::AutoIncrement:
        return isNumeric(source);
    case Schema::FieldType::Boolean:
        return source == FieldType::Logical || source == FieldType::Alpha
               || source == FieldType::Short;
    case Schema::FieldType::Date:
        return source == FieldType::Date || source == FieldType::Timestamp;
    }
    return false;
}

// A value of the file as the reference database takes it; no value and a text for one it
// cannot hold.
std::optional<QVariant> converted(const Schema::Table &table, const Schema::Field &field,
                                  FieldType source, const QVariant &value, QString *problem)
{
    QVariant result = value;
    switch (field.type) {
    case Schema::FieldType::Text:
        // an empty text field holds the empty text, as a typed-in empty cell does
        if (value.isNull())
            result = QStringLiteral("");
        else if (table.name == Tables::Jav::name && field.name == Tables::Jav::Jav)
            result = Text::memoToRichText(value.toString());
        break;
    case Schema::FieldType::Boolean:
        if (source == FieldType::Alpha && !value.isNull()) {
            const QString text = value.toString().trimmed();
            if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                result = true;
            else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                result = false;
        }
        break;
    case Schema::FieldType::Date:
        if (value.typeId() == QMetaType::QDateTime)
            result = value.toDateTime().date();
        break;
    default:
        break;
    }
    if (!FieldValues::toStored(table, field, result, problem))
        return std::nullopt;
    return result;
}

QString refusalText(const QString &reason)
{
    return reason.endsWith(QLatin1Char('.')) ? reason : reason + QLatin1Char('.');
}

// The fields whose values must differ from row to row: the key, the unique indexes, the
// fields unique together.
QList<QStringList> uniqueFieldSets(const Schema::Table &table)
{
    QList<QStringList> sets;
    for (const Schema::Field &field : table.fields) {
        if (field.isKey)
            sets.append({field.name});
    }
    for (const Schema::Index &index : table.indexes) {
        if (index.isUnique)
            sets.append(index.fields);
    }
    if (!table.uniqueTogether.isEmpty())
        sets.append(table.uniqueTogether);
    return sets;
}

// Reads one table; its rows, or no value with the reason in *reason.
std::optional<QList<QVariantMap>> readTable(const Schema::Table &table, const QString &filePath,
                                            QString *reason)
{
    {
        QFile file;
        if (Files::openForReading(file, filePath)
            && FarmDatabase::detectFormat(file) != FarmFileFormat::Paradox) {
            *reason = QStringLiteral("A(z) %1 nem Paradox tábla.")
                          .arg(QDir::toNativeSeparators(filePath));
            return std::nullopt;
        }
    }
    const std::unique_ptr<ParadoxTable> paradox = ParadoxTable::open(filePath, reason);
    if (!paradox)
        return std::nullopt;
    const Paradox::Header &header = paradox->header();

    struct Column
    {
        const Schema::Field *field;
        int source; // -1: numbered here
    };
    QList<Column> columns;
    for (const Schema::Field &field : table.fields) {
        const int source = header.fieldIndex(field.name);
        if (source < 0) {
            if (isNumberedHere(table, field)) {
                columns.append({&field, -1});
                continue;
            }
            *reason = QStringLiteral("hiányzik a(z) %1 mező.").arg(field.name);
            return std::nullopt;
        }
        const FieldType type = header.fields.at(source).type;
        if (!fits(field.type, type)) {
            *reason = QStringLiteral("a(z) %1 mező %2, nem %3.")
                          .arg(field.name, paradoxTypeName(type), schemaTypeName(field.type));
            return std::nullopt;
        }
        columns.append({&field, source});
    }

    const QList<QStringList> uniqueSets = uniqueFieldSets(table);
    QList<QSet<QString>> seen(uniqueSets.size());
    QList<QVariantMap> rows;
    rows.reserve(paradox->recordCount());
    QVariantList values;
    for (int record = 0; record < paradox->recordCount(); ++record) {
        if (!paradox->readRecord(record, &values, reason))
            return std::nullopt;
        QVariantMap row;
        for (const Column &column : std::as_const(columns)) {
            const Schema::Field &field = *column.field;
            if (column.source < 0) {
                row.insert(field.name, qlonglong(record + 1));
                continue;
            }
            QString problem;
            const std::optional<QVariant> value = converted(
                table, field, header.fields.at(column.source).type, values.at(column.source),
                &problem);
            if (!value) {
                *reason = QStringLiteral("%1. sor: %2").arg(record + 1).arg(problem);
                return std::nullopt;
            }
            const bool numberedByEngine = field.type == Schema::FieldType::AutoIncrement;
            if (value->isNull() && field.isNotNull && field.defaultValue.isEmpty()
                && !numberedByEngine) {
                *reason = QStringLiteral("%1. sor: üres a(z) %2 mező.").arg(record + 1).arg(field.name);
                return std::nullopt;
            }
            row.insert(field.name, *value);
        }
        for (int set = 0; set < uniqueSets.size(); ++set) {
            QStringList key;
            bool hasEmpty = false;
            for (const QString &name : uniqueSets.at(set)) {
                const QVariant value = row.value(name);
                hasEmpty = hasEmpty || value.isNull();
                key.append(value.toString());
            }
            if (hasEmpty)
                continue; // the engine numbers an empty key; SQL lets empty values repeat
            const QString joined = key.join(QStringLiteral("\x1f"));
            if (seen[set].contains(joined)) {
                *reason = QStringLiteral("%1. sor: a(z) %2 értéke már szerepelt: %3.")
                              .arg(record + 1)
                              .arg(uniqueSets.at(set).join(QStringLiteral(", ")),
                                   key.join(QStringLiteral(", ")));
                return std::nullopt;
            }
            seen[set].insert(joined);
        }
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace

ReferenceImport ReferenceImport::scan(const QString &directory)
{
    ReferenceImport result;
    result.m_directory = directory;
    if (directory.isEmpty() || !QFileInfo(directory).isDir()) {
        result.m_directoryProblem = QStringLiteral("A(z) %1 mappa nem létezik.")
                                        .arg(QDir::toNativeSeparators(directory));
        return result;
    }
    for (const Schema::Table &table : Schema::referenceTables()) {
        if (isOwnTable(table.name))
            continue;
        // the tables were written for a file system that ignores letter case
        const QString filePath = FarmDatabase::findTableFile(directory, table.name);
        if (filePath.isEmpty()) {
            result.m_missing.append(table.name);
            continue;
        }
        QString reason;
        std::optional<QList<QVariantMap>> rows = readTable(table, filePath, &reason);
        if (rows)
            result.m_tables.append({table.name, filePath, std::move(*rows)});
        else
            result.m_refusals.append({table.name, filePath, refusalText(reason)});
    }
    return result;
}

int ReferenceImport::rowCount() const
{
    int count = 0;
    for (const Table &table : m_tables)
        count += int(table.rows.size());
    return count;
}

QString ReferenceImport::summary() const
{
    if (!m_directoryProblem.isEmpty())
        return m_directoryProblem;
    QStringList lines;
    lines.append(QStringLiteral("Régi referencia-táblák a(z) %1 mappában:")
                     .arg(QDir::toNativeSeparators(m_directory)));
    if (m_tables.isEmpty())
        lines.append(QStringLiteral("  nincs átvehető tábla"));
    for (const Table &table : m_tables)
        lines.append(QStringLiteral("  %1 (%2): %3 sor")
                         .arg(table.name, QFileInfo(table.filePath).fileName())
                         .arg(table.rows.size()));
    if (!m_refusals.isEmpty()) {
        lines.append(QStringLiteral("Kimaradó táblák:"));
        for (const Refusal &refusal : m_refusals)
            lines.append(QStringLiteral("  %1 (%2): %3")
                             .arg(refusal.name, QFileInfo(refusal.filePath).fileName(),
                                  refusal.reason));
    }
    if (!m_missing.isEmpty())
        lines.append(QStringLiteral("Hiányzó táblák: %1").arg(m_missing.join(QStringLiteral(", "))));
    return lines.join(QLatin1Char('\n'));
}

QString ReferenceImport::nothingToImport() const
{
    if (!m_directoryProblem.isEmpty())
        return m_directoryProblem;
    if (!m_tables.isEmpty())
        return QString();
    const QString shown = QDir::toNativeSeparators(m_directory);
    if (m_refusals.isEmpty())
        return QStringLiteral("A(z) %1 mappában nincs referencia-tábla.").arg(shown);
    return QStringLiteral("A(z) %1 mappa egyik referencia-táblája sem vehető át.").arg(shown);
}

QString ReferenceImport::backupPath(const QString &databasePath, const QDate &today)
{
    const QFileInfo database(databasePath);
    const QString stem = database.completeBaseName() + QLatin1Char('-')
                         + today.toString(QStringLiteral("yyyy-MM-dd"));
    const QString suffix = database.suffix().isEmpty() ? QString()
                                                       : QLatin1Char('.') + database.suffix();
    QString candidate = database.dir().filePath(stem + suffix);
    for (int number = 2; QFileInfo::exists(candidate); ++number)
        candidate = database.dir().filePath(stem + QStringLiteral("-%1").arg(number) + suffix);
    return candidate;
}

bool ReferenceImport::apply(ReferenceDatabase &database, const QDate &today, QString *backup,
                            QString *error) const
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("A régi referencia-táblák átvétele nem sikerült, a "
                                    "referencia-adatbázis nem változott. %1")
                         .arg(reason);
        return false;
    };
    const QString nothing = nothingToImport();
    if (!nothing.isEmpty())
        return fail(nothing);
    if (!database.isOpen())
        return fail(QStringLiteral("A referencia-adatbázis nincs megnyitva."));

    const QString copyPath = backupPath(database.path(), today);
    // The mark stays while this run lives: another run starting meanwhile leaves the copy be.
    QLockFile unfinished(unfinishedMarkPath(copyPath));
    unfinished.setStaleLockTime(0);
    if (!unfinished.tryLock())
        return fail(QStringLiteral("A(z) %1 biztonsági másolat nem írható: a jelölése nem "
                                   "hozható létre.")
                        .arg(QDir::toNativeSeparators(copyPath)));
    QString reason;
    if (!database.writeCopy(copyPath, &reason))
        return fail(reason);
    const bool replaced = database.inTransaction(
        [&](QString *workError) {
            for (const Table &table : m_tables) {
                if (!database.replaceAllRows(table.name, table.rows, workError))
                    return false;
            }
            return true;
        },
        &reason);
    if (!replaced) {
        QFile::remove(copyPath);
        return fail(reason);
    }
    unfinished.unlock();
    if (backup)
        *backup = copyPath;
    return true;
}

QString ReferenceImport::unfinishedMarkPath(const QString &backupPath)
{
    return backupPath + QStringLiteral(".befejezetlen");
}

void ReferenceImport::removeUnfinishedBackups(const QString &databasePath)
{
    const QFileInfo database(databasePath);
    const QString suffix = database.suffix().isEmpty() ? QString()
                                                       : QLatin1Char('.') + database.suffix();
    const QString pattern = database.completeBaseName() + QStringLiteral("-*") + suffix
                            + unfinishedMarkPath(QString());
    const QDir directory = database.dir();
    for (const QString &name : directory.entryList({pattern}, QDir::Files | QDir::Hidden)) {
        const QString markPath = directory.filePath(name);
        QLockFile mark(markPath);
        mark.setStaleLockTime(0);
        // A mark of a run that was killed is taken over; one that cannot be read was cut
        // short by the kill while it was being written.
        if (!mark.tryLock()) {
            const bool readable = mark.getLockInfo(nullptr, nullptr, nullptr);
            if (mark.error() != QLockFile::LockFailedError || readable
                || !mark.removeStaleLockFile() || !mark.tryLock())
                continue;
        }
        QFile::remove(markPath.chopped(unfinishedMarkPath(QString()).size()));
        mark.unlock();
    }
}
