#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class ReferenceDatabase;

// Taking over the reference tables of an earlier installation: the Paradox files (Nov.db,
// Find2.db, Find3.DB, Tapanyagok.DB, Jav.DB with Jav.MB, …) of one directory, read whole
// and checked against the reference database's schema before anything changes. A table
// whose file is damaged, or that lacks a field or has one of another type, is left out
// with the reason; the others replace the tables of the same name, rows as they are (the
// materials and leaf samples marked Deleted stay marked), in one transaction after a dated
// copy of the database is written beside it. Only the reading here touches files; asking
// the user is the caller's part.
class ReferenceImport
{
public:
    struct Table
    {
        QString name;     // the reference table, "Nov"
        QString filePath; // the Paradox file it comes from
        QList<QVariantMap> rows;
    };
    struct Refusal
    {
        QString name;
        QString filePath;
        QString reason;
    };

    // Reads every reference table found in `directory`, file names in any letter case.
    static ReferenceImport scan(const QString &directory);

    QString directory() const { return m_directory; }
    const QList<Table> &tables() const { return m_tables; }
    const QList<Refusal> &refusals() const { return m_refusals; }
    QStringList missingTables() const { return m_missing; }
    int rowCount() const;

    // What was found: per table its row count, the tables left out and why, the tables
    // missing. Shown (or printed) before the user is asked.
    QString summary() const;
    // Why nothing can be taken over; empty when some table can.
    QString nothingToImport() const;

    // The path of the copy written before the change: the database's name with the date
    // (and a number when that name is taken), beside the database.
    static QString backupPath(const QString &databasePath, const QDate &today);

    // Writes the copy, then replaces the tables found, all in one transaction. False, with
    // the database as it was and no copy left behind, when anything fails. Until the change
    // is committed the copy is marked unfinished, so a run killed meanwhile leaves a copy
    // the next start knows to remove.
    bool apply(ReferenceDatabase &database, const QDate &today, QString *backup,
               QString *error) const;

    // The mark of a copy whose import has not been committed yet.
    static QString unfinishedMarkPath(const QString &backupPath);
    // Removes the copies beside the database at `databasePath` whose import was killed or
    // failed before committing, with their marks; a copy an import of a run still going is
    // writing stays.
    static void removeUnfinishedBackups(const QString &databasePath);

private:
    QString m_directory;
    QString m_directoryProblem;
    QList<Table> m_tables;
    QList<Refusal> m_refusals;
    QStringList m_missing;
};
