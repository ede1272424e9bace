// Whole-table changes of the reference database: the copy written before reference tables
// are taken over from an earlier installation, and the replacement of a table's rows.

#include "core/data/reference/referencedatabase.h"

#include "core/data/reference/tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

bool ReferenceDatabase::writeCopy(const QString &path, QString *error) const
{
    const QString shown = QDir::toNativeSeparators(path);
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("A(z) %1 biztonsági másolat nem írható: %2").arg(shown, reason);
        return false;
    };
    if (!isOpen())
        return fail(QStringLiteral("a referencia-adatbázis nincs megnyitva."));
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("a fájl már létezik."));
    // SQLite writes the copy from its own pages, so it is whole even while the file is open.
    QSqlQuery query(database());
    if (!query.prepare(QStringLiteral("VACUUM INTO ?")))
        return fail(query.lastError().text());
    query.addBindValue(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    if (!query.exec()) {
        QFile::remove(path);
        return fail(query.lastError().text());
    }
    return true;
}

bool ReferenceDatabase::replaceAllRows(const QString &table, const QList<QVariantMap> &rows,
    QString *error)
{
    const Schema::Table *description = knownTable(table, error);
    if (!description)
        return false;
    return inTransaction(
        [&](QString *workError) {
            QString sqlError;
            if (execute(QStringLiteral("DELETE FROM %1").arg(Schema::quoted(table)), {},
                    &sqlError)
                < 0) {
                *workError = QStringLiteral("A(z) %1 tábla nem üríthető: %2").arg(table, sqlError);
                return false;
            }
            noteChanged(table);
            for (const QVariantMap &row : rows) {
                if (!insert(table, row, workError))
                    return false;
            }
            return true;
        },
        error);
}
