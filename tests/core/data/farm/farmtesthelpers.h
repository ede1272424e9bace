#pragma once

// What the farm-database tests share: the sample farm's laboratory results, the two ways
// of storing the farm tables, and small helpers over files and tables.

#include "core/data/farm/farmtable.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

inline const QString labResultsCsv = QStringLiteral(NUTRISOR_FARM_SAMPLE_CSV);

// A way of storing the farm tables. Each backend writes the sample farm in its own files,
// and every case of FarmDatabaseTest runs against each of them.
struct FarmBackend
{
    const char *name;
    bool (*writeFarm)(const QString &csvPath, const QString &directory, QString *error);
};

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(bytes) == bytes.size();
}

// Every file of a directory with its bytes, to show that something left it alone.
inline QMap<QString, QByteArray> snapshot(const QString &directory)
{
    QMap<QString, QByteArray> files;
    const QDir dir(directory);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        files.insert(name, readBytes(dir.filePath(name)));
    return files;
}

// The header of a Paradox 7 keyed table with two fields, padded to its 2048 bytes.
inline QByteArray paradoxHeader(quint8 fileType = 0, quint8 fileVersion = 12)
{
    QByteArray header(2048, '\0');
    header[0x00] = 12;   // record size
    header[0x02] = 0x00; // header size 0x0800
    header[0x03] = 0x08;
    header[0x04] = char(fileType);
    header[0x05] = 2; // 2 KiB blocks
    header[0x21] = 2; // two fields
    header[0x39] = char(fileVersion);
    return header;
}

// Every field's text in table order, from the first row on.
inline QStringList columnTexts(FarmTable &table, const QString &field)
{
    QStringList texts;
    for (table.first(); !table.eof(); table.next())
        texts.append(table.text(field));
    return texts;
}

// The texts of the given fields in the current row.
inline QStringList rowTexts(const FarmTable &table, const QList<QLatin1String> &fields)
{
    QStringList texts;
    for (const QLatin1String field : fields)
        texts.append(table.text(field));
    return texts;
}

// Goes to the first row whose field holds the text; false when there is none.
inline bool seekText(FarmTable &table, const QString &field, const QString &text)
{
    for (table.first(); !table.eof(); table.next()) {
        if (table.text(field) == text)
            return true;
    }
    return false;
}
