#pragma once

#include "core/data/farm/farmtable.h"
#include "core/data/filter.h"

#include <QString>

#include <memory>

class QIODevice;

// The kinds of table file a farm directory may hold.
enum class FarmFileFormat { Unknown, Sqlite, Paradox };

// An opened farm table, or the text telling the user why it could not be opened.
struct FarmTableResult
{
    std::unique_ptr<FarmTable> table; // null on failure
    QString error;

    explicit operator bool() const { return table != nullptr; }
};

// The farm database: the directory of the farm-management program's tables (Tablak,
// Talajmintak, parcellak, PTalajmintak), each in its own file "<table>.db" whose name may
// be written in any letter case. Everything is read only; the directory is the user's
// choice and this class only remembers it. Each opened table belongs to the caller.
class FarmDatabase
{
public:
    explicit FarmDatabase(const QString &directory) : m_directory(directory) {}

    QString directory() const { return m_directory; }

    // A farm directory holds at least Tablak.db and Talajmintak.db.
    static bool isFarmDirectory(const QString &directory);
    bool isFarmDirectory() const { return isFarmDirectory(m_directory); }

    // The path of the table's file, its name matched in any letter case ("TABLAK.DB" for
    // "Tablak"); the exact spelling wins when several match. Empty when there is none.
    static QString findTableFile(const QString &directory, const QString &tableName);
    QString tableFile(const QString &tableName) const;
    bool hasTable(const QString &tableName) const { return !tableFile(tableName).isEmpty(); }

    // Opens the table read only and reads the rows that pass `filter`, the cursor on the
    // first. The file's first bytes tell which reader opens it.
    FarmTableResult openTable(const QString &tableName, const Filter &filter = Filter()) const;

    // Tells the format from the first bytes without consuming them.
    static FarmFileFormat detectFormat(QIODevice &device);

private:
    QString m_directory;
};
