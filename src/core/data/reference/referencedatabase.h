#pragma once

#include "core/data/filter.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace Schema {
struct Table;
}

// The reference database: one SQLite file holding the reference tables (crops, their need
// and split rules, materials, texts, adviser, leaf samples and thresholds). Each object owns
// its own named connection, opened on one file and removed when the object goes away, so
// several files (and several tests) can be open at once.
//
// Rows are read and written as maps from field name to value: text fields as QString,
// numbers as double or qlonglong, logical fields as bool, dates as QDate, empty fields as
// a null QVariant. Every statement is prepared with bound values. Calls that can fail return
// false (or no value) and put a text the caller can show into *error; they never show
// anything themselves. After a write has been committed, tableChanged names each table it
// changed, so that the lists read from it can read it again.
class ReferenceDatabase final : public QObject
{
    Q_OBJECT

public:
    // Whether a read of a soft-deleted table (Tapanyagok, Mintak) lists rows marked Deleted.
    enum class DeletedRows { Hidden, Included };

    explicit ReferenceDatabase(QObject *parent = nullptr);
    ~ReferenceDatabase() override;
    ReferenceDatabase(const ReferenceDatabase &) = delete;
    ReferenceDatabase &operator=(const ReferenceDatabase &) = delete;

    // Writes a new database file at `path` with every table and the built-in default rows.
    // Refuses to overwrite an existing file. The file appears only when it is complete.
    static bool createFromDefaults(const QString &path, QString *error = nullptr);

    // Opens an existing database file. Fails, naming them, when reference tables are
    // missing; the object is then closed again.
    bool open(const QString &path, QString *error = nullptr);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }

    // The connection, for a table model or a query the helpers below do not cover. Do not
    // keep copies beyond the life of this object.
    QSqlDatabase database() const;

    // The reference tables the open file lacks, in creation order.
    QStringList missingTables() const;
    bool hasTable(const QString &table) const;

    // The rows of `table` that pass `filter`, ordered by the named fields (text fields that
    // sort without case do so) and then in table order; with no fields named, in the table's
    // own order: Nov by name, Find as imported, Find2 by crop, element and site category,
    // Find3 by crop, site category, ascending Ka (blank as 0) and Id. Soft-deleted rows are
    // left out unless asked for. No value on error.
    std::optional<QList<QVariantMap>> select(const QString &table, const Filter &filter = {},
        const QStringList &orderBy = {}, DeletedRows deleted = DeletedRows::Hidden,
        QString *error = nullptr) const;
    // The first row select() would give; no value when there is none or on error (then
    // *error is set).
    std::optional<QVariantMap> selectFirst(const QString &table, const Filter &filter = {},
        const QStringList &orderBy = {}, QString *error = nullptr) const;
    // The number of rows passing the filter, counted as select() lists them; -1 on error.
    int count(const QString &table, const Filter &filter = {},
        DeletedRows deleted = DeletedRows::Hidden, QString *error = nullptr) const;

    // Inserts one row; fields left out get their defaults. Returns the new row's key (the
    // engine's row number, equal to an autoincrement or integer key field).
    std::optional<qint64> insert(
        const QString &table, const QVariantMap &values, QString *error = nullptr);
    // Sets the given fields of every row passing the filter; the number of rows changed,
    // -1 on error.
    int update(const QString &table, const Filter &filter, const QVariantMap &values,
        QString *error = nullptr);
    // Removes the rows passing the filter; the number removed, -1 on error. Rows of
    // soft-deleted tables are never removed: use markDeleted().
    int remove(const QString &table, const Filter &filter, QString *error = nullptr);
    // Marks the rows passing the filter deleted; they stay in the table. -1 on error.
    int markDeleted(const QString &table, const Filter &filter, QString *error = nullptr);

    // Runs `work` as one transaction: when it returns false (setting its error text) or a
    // commit fails, every change it made is undone. Calls may nest; an inner failure undoes
    // the inner changes only, and the outer work decides what to do about it.
    bool inTransaction(const std::function<bool(QString *error)> &work, QString *error = nullptr);

    // Deletes a crop with its specific-need rows (Find2) and split rules (Find3), all or
    // nothing. The default copies and the nitrate limits keep their rows.
    bool deleteCrop(const QString &novid, QString *error = nullptr);

    // Replaces the specific-need rows of one crop and element with `rows` (each with Sztid
    // and any of Igy … I; Novid and Anyid are set here). Every row is checked before the old
    // rows go: on any fault nothing changes.
    bool replaceCropNeeds(const QString &novid, const QString &anyid,
        const QList<QVariantMap> &rows, QString *error = nullptr);

    // Copies the default rows of one crop back: every element from Find2Back into Find2, or
    // the split rules from Find3Back into Find3 (with new Ids). The number of rows restored;
    // 0 when the defaults hold none for the crop, and then the crop's rows stay as they
    // were; -1 on error, with nothing changed.
    int restoreCropNeeds(const QString &novid, QString *error = nullptr);
    int restoreCropSplits(const QString &novid, QString *error = nullptr);

    // Writes a consistent copy of the whole database to `path`, which must not exist yet.
    bool writeCopy(const QString &path, QString *error = nullptr) const;
    // Replaces every row of `table` with `rows`, all or nothing. The soft-deleted tables
    // lose their rows here too: the new rows bring their own Deleted marks.
    bool replaceAllRows(const QString &table, const QList<QVariantMap> &rows,
        QString *error = nullptr);

    // A crop id not used by any crop nor by any row keyed by crop, the default copies
    // included, so a new crop never inherits a deleted crop's rows: one more than the
    // largest numeric Novid. Empty on error.
    QString nextCropId(QString *error = nullptr) const;

signals:
    // Rows of `table` were written, and the write is committed.
    void tableChanged(const QString &table);

private:
    // A write of `table` succeeded: announced now, or when the outermost transaction commits.
    void noteChanged(const QString &table);

    const Schema::Table *knownTable(const QString &table, QString *error) const;
    QString whereClause(const Schema::Table &table, const Filter &filter, DeletedRows deleted,
        QVariantList *bindings, QString *error) const;
    QStringList missingFields() const;
    int execute(const QString &sql, const QVariantList &bindings, QString *error);
    int restoreFromDefaults(
        const QString &table, const QString &defaultsTable, const QString &novid, QString *error);

    QString m_connectionName;
    QString m_path;
    int m_transactionDepth = 0;
    QSet<QString> m_changedTables; // written inside the open transaction
};
