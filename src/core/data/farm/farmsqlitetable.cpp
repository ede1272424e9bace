#include "core/data/farm/farmsqlitetable.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

static QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

static QString newConnectionName()
{
    static std::atomic<int> counter = 0;
    return QStringLiteral("nutrisor-farm-%1").arg(++counter);
}

FarmSqliteTable::FarmSqliteTable(const QString &tableName, const QString &filePath,
                                 const QString &connectionName, const QString &storedTableName)
    : FarmTable(tableName, filePath)
    , m_connectionName(connectionName)
    , m_storedTableName(storedTableName)
{
}

std::unique_ptr<FarmSqliteTable> FarmSqliteTable::open(const QString &filePath,
                                                       const QString &tableName, QString *error)
{
    const QString shownPath = QDir::toNativeSeparators(filePath);
    const QString connectionName = newConnectionName();
    QString storedTableName;
    QString failure;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                          connectionName);
        database.setDatabaseName(filePath);
        // Read only: the farm files belong to the farm-management program.
        database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!database.isValid()) {
            failure = QStringLiteral("Az SQLite adatbázis-kezelő nem érhető el, a(z) %1 nem "
                                     "olvasható.")
                          .arg(shownPath);
        } else if (!database.open()) {
            failure = QStringLiteral("A(z) %1 nem nyitható meg: %2")
                          .arg(shownPath, database.lastError().text());
        } else {
            QSqlQuery query(database);
            query.prepare(QStringLiteral("SELECT name FROM sqlite_master "
                                         "WHERE type = 'table' AND name = ? COLLATE NOCASE"));
            query.addBindValue(tableName);
            if (!query.exec())
                failure = QStringLiteral("A(z) %1 nem olvasható: %2")
                              .arg(shownPath, query.lastError().text());
            else if (query.next())
                storedTableName = query.value(0).toString();
            else
                failure = QStringLiteral("A(z) %1 fájlban nincs %2 nevű tábla.")
                              .arg(shownPath, tableName);
        }
        if (!failure.isEmpty())
            database.close();
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(connectionName);
        if (error)
            *error = failure;
        return nullptr;
    }
    return std::unique_ptr<FarmSqliteTable>(
        new FarmSqliteTable(tableName, filePath, connectionName, storedTableName));
}

FarmSqliteTable::~FarmSqliteTable()
{
    {
        QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool FarmSqliteTable::readRows(const Filter &filter, QStringList *fieldNames,
                               QList<QVariantList> *rows, QString *error)
{
    QVariantList bindings;
    const QString where = filter.sqlWhere(&bindings);
    QString sql = QStringLiteral("SELECT * FROM ") + quotedIdentifier(m_storedTableName);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    // Table order: the order the rows were written in, or key order in a keyed table, as the
    // farm-management program lists them.
    sql += QStringLiteral(" ORDER BY rowid");

    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    if (ok) {
        for (const QVariant &value : std::as_const(bindings))
            query.addBindValue(value);
        ok = query.exec();
    }
    const auto failed = [&] {
        if (error)
            *error = QStringLiteral("A(z) %1 tábla nem olvasható (%2): %3")
                         .arg(tableName(), QDir::toNativeSeparators(filePath()),
                              query.lastError().text());
        return false;
    };
    if (!ok)
        return failed();

    const QSqlRecord record = query.record();
    fieldNames->clear();
    for (int column = 0; column < record.count(); ++column)
        fieldNames->append(record.fieldName(column));
    rows->clear();
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int column = 0; column < record.count(); ++column)
            row.append(query.value(column));
        rows->append(row);
    }
    // A file damaged past its first pages fails only while the rows are stepped through.
    if (query.lastError().isValid())
        return failed();
    return true;
}
