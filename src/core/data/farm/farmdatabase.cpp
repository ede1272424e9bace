#include "core/data/farm/farmdatabase.h"

#include "core/data/farm/farmfields.h"
#include "core/data/farm/farmparadoxtable.h"
#include "core/data/farm/farmsqlitetable.h"
#include "core/files/fileaccess.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QIODevice>

static const QString tableFileSuffix = QStringLiteral(".db");

bool FarmDatabase::isFarmDirectory(const QString &directory)
{
    return !findTableFile(directory, FarmTables::Tablak).isEmpty()
           && !findTableFile(directory, FarmTables::Talajmintak).isEmpty();
}

QString FarmDatabase::findTableFile(const QString &directory, const QString &tableName)
{
    const QDir dir(directory);
    if (directory.isEmpty() || !dir.exists())
        return {};
    // The farm-management program was written for a file system that ignores letter case,
    // so its files turn up as Tablak.db, TABLAK.DB or tablak.DB.
    const QString wanted = tableName + tableFileSuffix;
    QString found;
    const QStringList entries = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &entry : entries) {
        if (entry == wanted)
            return dir.filePath(entry);
        if (found.isEmpty() && entry.compare(wanted, Qt::CaseInsensitive) == 0)
            found = entry;
    }
    return found.isEmpty() ? QString() : dir.filePath(found);
}

QString FarmDatabase::tableFile(const QString &tableName) const
{
    return findTableFile(m_directory, tableName);
}

static quint16 littleEndianWord(const QByteArray &bytes, int offset)
{
    return quint16(quint8(bytes.at(offset)) | (quint8(bytes.at(offset + 1)) << 8));
}

// A Paradox table begins with a fixed header; these of its fields have few valid values,
// which is enough to tell a table from other files.
static bool looksLikeParadoxTable(const QByteArray &header)
{
    constexpr int headerLength = 0x58;
    if (header.size() < headerLength)
        return false;
    const quint16 recordSize = littleEndianWord(header, 0x00);
    const quint16 headerSize = littleEndianWord(header, 0x02);
    const quint8 fileType = quint8(header.at(0x04));       // 0 keyed, 2 unkeyed table
    const quint8 maxTableSize = quint8(header.at(0x05));   // block size in KiB
    const quint16 fieldCount = littleEndianWord(header, 0x21);
    const quint8 fileVersion = quint8(header.at(0x39));    // 3 (Paradox 3.0) .. 12 (7.x)
    return recordSize > 0 && headerSize >= headerLength && (fileType == 0 || fileType == 2)
           && maxTableSize >= 1 && maxTableSize <= 32 && fieldCount > 0 && fileVersion >= 3
           && fileVersion <= 12;
}

FarmFileFormat FarmDatabase::detectFormat(QIODevice &device)
{
    static const QByteArray sqliteMagic("SQLite format 3\0", 16);
    const QByteArray header = device.peek(0x58);
    if (header.startsWith(sqliteMagic))
        return FarmFileFormat::Sqlite;
    if (looksLikeParadoxTable(header))
        return FarmFileFormat::Paradox;
    return FarmFileFormat::Unknown;
}

// The reader for each kind of table file.
static std::unique_ptr<FarmTable> openReader(FarmFileFormat format, const QString &filePath,
                                             const QString &tableName, QString *error)
{
    const QString shownPath = QDir::toNativeSeparators(filePath);
    switch (format) {
    case FarmFileFormat::Sqlite:
        return FarmSqliteTable::open(filePath, tableName, error);
    case FarmFileFormat::Paradox:
        return FarmParadoxTable::open(filePath, tableName, error);
    case FarmFileFormat::Unknown:
        break;
    }
    *error = QStringLiteral("A(z) %1 nem SQLite-adatbázis és nem Paradox tábla.").arg(shownPath);
    return nullptr;
}

FarmTableResult FarmDatabase::openTable(const QString &tableName, const Filter &filter) const
{
    FarmTableResult result;
    const QString filePath = tableFile(tableName);
    if (filePath.isEmpty()) {
        result.error = QStringLiteral("Nem található a(z) %1 fájl a(z) %2 könyvtárban.")
                           .arg(tableName + tableFileSuffix,
                                QDir::toNativeSeparators(m_directory));
        return result;
    }

    FarmFileFormat format = FarmFileFormat::Unknown;
    {
        QFile file;
        QString reason;
        if (!Files::openForReading(file, filePath, &reason)) {
            result.error = QStringLiteral("A(z) %1 nem nyitható meg: %2")
                               .arg(QDir::toNativeSeparators(filePath), reason);
            return result;
        }
        format = detectFormat(file);
    }

    std::unique_ptr<FarmTable> table = openReader(format, filePath, tableName, &result.error);
    if (table && table->setFilter(filter, &result.error))
        result.table = std::move(table);
    return result;
}
