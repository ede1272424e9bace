#include "core/data/reference/referencedatabase.h"

#include "core/data/reference/fieldvalues.h"
#include "core/data/defaults/referencedefaults.h"
#include "core/data/reference/tables.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>

#include <atomic>
#include <utility>

namespace {

const QString sqliteDriver = QStringLiteral("QSQLITE");

QString uniqueConnectionName(const QString &purpose)
{
    static std::atomic<int> counter {0};
    return QStringLiteral("nutrisor-reference-%1-%2").arg(purpose).arg(++counter);
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool prepareAndExec(
    QSqlQuery &query, const QString &sql, const QVariantList &bindings, QString *error)
{
    if (!query.prepare(sql))
        return fail(error, query.lastError().text());
    for (int i = 0; i < bindings.size(); ++i)
        query.bindValue(i, FieldValues::bindable(bindings.at(i)));
    if (!query.exec())
        return fail(error, query.lastError().text());
    return true;
}

QStringList existingTables(const QSqlDatabase &database)
{
    QStringList names;
    QSqlQuery query(database);
    if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        while (query.next())
            names.append(query.value(0).toString());
    }
    return names;
}

} // namespace

ReferenceDatabase::ReferenceDatabase(QObject *parent)
    : QObject(parent)
{
}

ReferenceDatabase::~ReferenceDatabase()
{
    close();
}

bool ReferenceDatabase::createFromDefaults(const QString &path, QString *error)
{
    const QFileInfo target(path);
    if (target.exists())
        return fail(error, QStringLiteral("A(z) %1 fájl már létezik.").arg(path));
    if (!target.absoluteDir().exists())
        return fail(error,
            QStringLiteral("A(z) %1 mappa nem létezik.")
                .arg(QDir::toNativeSeparators(target.absolutePath())));

    // Seed a temporary file beside the target, so a failure never leaves a half-filled
    // database under the real name.
    QTemporaryFile temporary(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return fail(error,
            QStringLiteral("A(z) %1 fájl nem hozható létre: %2")
                .arg(path, temporary.errorString()));
    temporary.close();

    const QString connectionName = uniqueConnectionName(QStringLiteral("seed"));
    bool seeded = false;
    QString seedError;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(sqliteDriver, connectionName);
        database.setDatabaseName(temporary.fileName());
        if (!database.open())
            seedError = database.lastError().text();
        else
            seeded = ReferenceDefaults::seed(database, &seedError);
        database.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!seeded)
        return fail(
            error, QStringLiteral("A referencia-adatbázis nem hozható létre: %1").arg(seedError));
    if (!temporary.rename(path))
        return fail(error,
            QStringLiteral("A(z) %1 fájl nem hozható létre: %2")
                .arg(path, temporary.errorString()));
    temporary.setAutoRemove(false);
    return true;
}

bool ReferenceDatabase::open(const QString &path, QString *error)
{
    close();
    if (!QFileInfo(path).isFile())
        return fail(error,
            QStringLiteral("A(z) %1 referencia-adatbázis nem található.")
                .arg(QDir::toNativeSeparators(path)));
    if (!QSqlDatabase::isDriverAvailable(sqliteDriver))
        return fail(error, QStringLiteral("Az SQLite adatbázis-kezelő nem érhető el."));

    m_connectionName = uniqueConnectionName(QStringLiteral("open"));
    m_path = path;
    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(sqliteDriver, m_connectionName);
        db.setDatabaseName(path);
        if (!db.open()) {
            openError = db.lastError().text();
        } else {
            // A file that is not a database opens fine; the first read tells.
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                openError = probe.lastError().text();
        }
    }
    if (!openError.isEmpty()) {
        close();
        return fail(error,
            QStringLiteral("A(z) %1 nem nyitható meg referencia-adatbázisként: %2")
                .arg(QDir::toNativeSeparators(path), openError));
    }

    const QStringList missing = missingTables();
    if (!missing.isEmpty()) {
        close();
        return fail(error,
            QStringLiteral("A(z) %1 referencia-adatbázisból hiányzik: %2.")
                .arg(QDir::toNativeSeparators(path), missing.join(QStringLiteral(", "))));
    }
    const QStringList fields = missingFields();
    if (!fields.isEmpty()) {
        close();
        return fail(error,
            QStringLiteral("A(z) %1 referencia-adatbázisból hiányzó mezők: %2.")
                .arg(QDir::toNativeSeparators(path), fields.join(QStringLiteral(", "))));
    }
    return true;
}

void ReferenceDatabase::close()
{
    if (m_connectionName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
    m_path.clear();
    m_transactionDepth = 0;
}

bool ReferenceDatabase::isOpen() const
{
    return !m_connectionName.isEmpty() && database().isOpen();
}

QSqlDatabase ReferenceDatabase::database() const
{
    if (m_connectionName.isEmpty())
        return QSqlDatabase();
    return QSqlDatabase::database(m_connectionName, false);
}

QStringList ReferenceDatabase::missingTables() const
{
    const QStringList present = existingTables(database());
    QStringList missing;
    for (const Schema::Table &table : Schema::referenceTables()) {
        if (!present.contains(table.name))
            missing.append(table.name);
    }
    return missing;
}

QStringList ReferenceDatabase::missingFields() const
{
    QStringList missing;
    const QSqlDatabase db = database();
    for (const Schema::Table &table : Schema::referenceTables()) {
        const QSqlRecord record = db.record(table.name);
        for (const Schema::Field &field : table.fields) {
            if (record.indexOf(field.name) < 0)
                missing.append(table.name + QLatin1Char('.') + field.name);
        }
    }
    return missing;
}

bool ReferenceDatabase::hasTable(const QString &table) const
{
    return existingTables(database()).contains(table);
}

const Schema::Table *ReferenceDatabase::knownTable(const QString &table, QString *error) const
{
    const Schema::Table *description = Schema::table(table);
    if (!description) {
        fail(error, QStringLiteral("A(z) %1 nem a referencia-adatbázis táblája.").arg(table));
        return nullptr;
    }
    if (!isOpen()) {
        fail(error, QStringLiteral("A referencia-adatbázis nincs megnyitva."));
        return nullptr;
    }
    return description;
}

QString ReferenceDatabase::whereClause(const Schema::Table &table, const Filter &filter,
    DeletedRows deleted, QVariantList *bindings, QString *error) const
{
    for (const QString &name : filter.fieldNames()) {
        if (!table.hasField(name)) {
            fail(error, QStringLiteral("A(z) %1 táblának nincs %2 mezője.").arg(table.name, name));
            return QString();
        }
    }
    Filter effective = filter;
    if (deleted == DeletedRows::Hidden && table.isSoftDeleted())
        effective = effective && Filter::equals(Tables::Deleted, false);
    // padded on both sides, so that it joins the statement text around it; empty on error
    const QString where = effective.sqlWhere(bindings);
    return where.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" WHERE %1 ").arg(where);
}

std::optional<QList<QVariantMap>> ReferenceDatabase::select(const QString &table,
    const Filter &filter, const QStringList &orderBy, DeletedRows deleted, QString *error) const
{
    const Schema::Table *description = knownTable(table, error);
    if (!description)
        return std::nullopt;
    QVariantList bindings;
    const QString where = whereClause(*description, filter, deleted, &bindings, error);
    if (where.isEmpty())
        return std::nullopt;

    QStringList order;
    for (const QString &name : orderBy.isEmpty() ? description->defaultOrder : orderBy) {
        const Schema::Field *field = description->field(name);
        if (!field) {
            fail(error, QStringLiteral("A(z) %1 táblának nincs %2 mezője.").arg(table, name));
            return std::nullopt;
        }
        order.append(Schema::orderExpression(*field));
        // names equal but for case keep one order from one read to the next
        if (field->order != Schema::TextOrder::Exact)
            order.append(Schema::quoted(field->name));
    }
    // ties, and tables without an order of their own, stay in table order
    order.append(QStringLiteral("rowid"));

    QSqlQuery query(database());
    query.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT * FROM %1%2ORDER BY %3")
                            .arg(Schema::quoted(table), where, order.join(QStringLiteral(", ")));
    QString queryError;
    if (!prepareAndExec(query, sql, bindings, &queryError)) {
        fail(error, QStringLiteral("A(z) %1 tábla nem olvasható: %2").arg(table, queryError));
        return std::nullopt;
    }

    QList<QVariantMap> rows;
    const QSqlRecord record = query.record();
    QList<const Schema::Field *> fields;
    for (int i = 0; i < record.count(); ++i)
        fields.append(description->field(record.fieldName(i)));
    while (query.next()) {
        QVariantMap row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i),
                query.isNull(i) ? QVariant()
                                : FieldValues::fromStored(fields.at(i), query.value(i)));
        rows.append(row);
    }
    return rows;
}

std::optional<QVariantMap> ReferenceDatabase::selectFirst(
    const QString &table, const Filter &filter, const QStringList &orderBy, QString *error) const
{
    const std::optional<QList<QVariantMap>> rows
        = select(table, filter, orderBy, DeletedRows::Hidden, error);
    if (!rows || rows->isEmpty())
        return std::nullopt;
    return rows->first();
}

int ReferenceDatabase::count(
    const QString &table, const Filter &filter, DeletedRows deleted, QString *error) const
{
    const Schema::Table *description = knownTable(table, error);
    if (!description)
        return -1;
    QVariantList bindings;
    const QString where = whereClause(*description, filter, deleted, &bindings, error);
    if (where.isEmpty())
        return -1;
    QSqlQuery query(database());
    QString queryError;
    if (!prepareAndExec(query,
            QStringLiteral("SELECT count(*) FROM %1%2").arg(Schema::quoted(table), where), bindings,
            &queryError)
        || !query.next()) {
        fail(error, QStringLiteral("A(z) %1 tábla nem olvasható: %2").arg(table, queryError));
        return -1;
    }
    return query.value(0).toInt();
}

std::optional<qint64> ReferenceDatabase::insert(
    const QString &table, const QVariantMap &values, QString *error)
{
    const Schema::Table *description = knownTable(table, error);
    if (!description)
        return std::nullopt;
    QStringList names;
    QStringList placeholders;
    QVariantList bindings;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const Schema::Field *field = description->field(it.key());
        if (!field) {
            fail(error, QStringLiteral("A(z) %1 táblának nincs %2 mezője.").arg(table, it.key()));
            return std::nullopt;
        }
        const std::optional<QVariant> value
            = FieldValues::toStored(*description, *field, it.value(), error);
        if (!value)
            return std::nullopt;
        // an empty field with a default takes the default
        if (value->isNull() && !field->defaultValue.isEmpty())
            continue;
        names.append(Schema::quoted(field->name));
        placeholders.append(QStringLiteral("?"));
        bindings.append(*value);
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Schema::quoted(table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(Schema::quoted(table), names.join(QStringLiteral(", ")),
                  placeholders.join(QStringLiteral(", ")));
    QSqlQuery query(database());
    QString queryError;
    if (!prepareAndExec(query, sql, bindings, &queryError)) {
        fail(error, QStringLiteral("A(z) %1 táblába nem írható sor: %2").arg(table, queryError));
        return std::nullopt;
    }
    const qint64 key = query.lastInsertId().toLongLong();
    noteChanged(table);
    return key;
}

int ReferenceDatabase::execute(const QString &sql, const QVariantList &bindings, QString *error)
{
    QSqlQuery query(database());
    if (!prepareAndExec(query, sql, bindings, error))
        return -1;
    return query.numRowsAffected();
}

int ReferenceDatabase::update(
    const QString &table, const Filter &filter, const QVariantMap &values, QString *error)
{
    const Schema::Table *description = knownTable(table, error);
    if (!description)
        return -1;
    if (values.isEmpty())
        return 0;
    QStringList assignments;
    QVariantList bindings;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const Schema::Field *field = description->field(it.key());
        if (!field) {
            fail(error, QStringLiteral("A(z) %1 táblának nincs %2 mezője.").arg(table, it.key()));
            return -1;
        }
        const std::optional<QVariant> value
            = FieldValues::toStored(*description, *field, it.value(), error);
        if (!value)
            return -1;
        assignments.append(Schema::quoted(field->name) + QStringLiteral(" = ?"));
        bindings.append(*value);
    }
    const QString where
        = whereClause(*description, filter, DeletedRows::Included, &bindings, error);
    if (where.isEmpty())
        return -1;
    QString queryError;
    const int changed
        = execute(QStringLiteral("UPDATE %1 SET %2%3")
                      .arg(Schema::quoted(table), assignments.join(QStringLiteral(", ")), where),
            bindings, &queryError);
    if (changed < 0)
        fail(error, QStringLiteral("A(z) %1 tábla nem módosítható: %2").arg(table, queryError));
    else if (changed > 0)
        noteChanged(table);
    return changed;
}

int ReferenceDatabase::remove(const QString &table, const Filter &filter, QString *error)
{
    const Schema::Table *description = knownTable(table, error);
    if (!description)
        return -1;
    if (description->isSoftDeleted()) {
        fail(error,
            QStringLiteral("A(z) %1 tábla sorai nem törölhetők, csak töröltnek jelölhetők.")
                .arg(table));
        return -1;
    }
    QVariantList bindings;
    const QString where
        = whereClause(*description, filter, DeletedRows::Included, &bindings, error);
    if (where.isEmpty())
        return -1;
    QString queryError;
    const int removed
        = execute(QStringLiteral("DELETE FROM %1%2").arg(Schema::quoted(table), where), bindings,
            &queryError);
    if (removed < 0)
        fail(error, QStringLiteral("A(z) %1 táblából nem törölhető: %2").arg(table, queryError));
    else if (removed > 0)
        noteChanged(table);
    return removed;
}

int ReferenceDatabase::markDeleted(const QString &table, const Filter &filter, QString *error)
{
    const Schema::Table *description = knownTable(table, error);
    if (!description)
        return -1;
    if (!description->isSoftDeleted()) {
        fail(
            error, QStringLiteral("A(z) %1 táblának nincs %2 mezője.").arg(table, Tables::Deleted));
        return -1;
    }
    return update(table, filter, {{Tables::Deleted, true}}, error);
}

bool ReferenceDatabase::inTransaction(
    const std::function<bool(QString *error)> &work, QString *error)
{
    if (!isOpen())
        return fail(error, QStringLiteral("A referencia-adatbázis nincs megnyitva."));
    // Savepoints rather than BEGIN, so that a multi-row change may call another one.
    const QString savepoint = QStringLiteral("nutrisor_change_%1").arg(m_transactionDepth + 1);
    QString sqlError;
    if (execute(QStringLiteral("SAVEPOINT ") + savepoint, {}, &sqlError) < 0)
        return fail(error, QStringLiteral("A módosítás nem kezdhető el: %1").arg(sqlError));

    const auto undo = [&] {
        execute(QStringLiteral("ROLLBACK TO ") + savepoint, {}, nullptr);
        execute(QStringLiteral("RELEASE ") + savepoint, {}, nullptr);
    };
    ++m_transactionDepth;
    QString workError;
    bool done = false;
    try {
        done = work(&workError);
    } catch (...) {
        --m_transactionDepth;
        undo();
        if (m_transactionDepth == 0)
            m_changedTables.clear();
        throw;
    }
    --m_transactionDepth;
    if (!done) {
        undo();
        if (m_transactionDepth == 0)
            m_changedTables.clear();
        return fail(
            error, workError.isEmpty() ? QStringLiteral("A módosítás nem sikerült.") : workError);
    }
    if (execute(QStringLiteral("RELEASE ") + savepoint, {}, &sqlError) < 0) {
        undo();
        if (m_transactionDepth == 0)
            m_changedTables.clear();
        return fail(error, QStringLiteral("A módosítás nem menthető: %1").arg(sqlError));
    }
    if (m_transactionDepth == 0) {
        const QSet<QString> changed = std::exchange(m_changedTables, {});
        for (const QString &table : changed)
            emit tableChanged(table);
    }
    return true;
}

void ReferenceDatabase::noteChanged(const QString &table)
{
    if (m_transactionDepth > 0)
        m_changedTables.insert(table);
    else
        emit tableChanged(table);
}
