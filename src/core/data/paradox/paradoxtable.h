#pragma once

#include "core/data/paradox/paradoxheader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

// A genuine Paradox table, read whole into memory and opened read only. The file is checked
// whole (Paradox::readHeader) before any record is trusted; the records are then found in
// the data blocks that check walked, in the chain's order. A table with memo fields also
// needs its .MB file beside it.
//
// Values come as the program's row maps use them: alpha and memo fields as QString
// converted from the table's own code page, number, currency and BCD fields as double,
// short, long and autoincrement fields as qlonglong, logical fields as bool, dates as
// QDate; an empty field is a null QVariant. Binary fields read as null.
class ParadoxTable
{
public:
    ParadoxTable(const ParadoxTable &) = delete;
    ParadoxTable &operator=(const ParadoxTable &) = delete;

    // Opens the table at `filePath` and, when it has memo fields, the .MB file of the same
    // name (in any letter case). Null, with a message naming the file, when either is
    // missing, unreadable or damaged.
    static std::unique_ptr<ParadoxTable> open(const QString &filePath, QString *error);
    // The same on bytes held in memory; `shownName` names the table in messages.
    static std::unique_ptr<ParadoxTable> fromBytes(const QByteArray &table,
                                                   const QByteArray &memoFile,
                                                   const QString &shownName, QString *error);

    const Paradox::Header &header() const { return m_header; }
    QStringList fieldNames() const;
    int recordCount() const { return m_header.recordCount; }

    // The values of record `record` (0-based, table order), one per field. False with a
    // message when the record or a memo of it cannot be read.
    bool readRecord(int record, QVariantList *values, QString *error = nullptr);
    // One field of the record last read.
    QVariant fieldValue(int field, QString *error = nullptr) const;
    // Goes to a record without converting any field; fieldValue() then converts one.
    bool loadRecord(int record, QString *error = nullptr);
    // Whether field `field` of the record last loaded holds exactly `bytes`
    // (Paradox::wholeNumberBytes).
    bool fieldHolds(int field, const QByteArray &bytes) const;

private:
    ParadoxTable() = default;
    // The table on `table` whose check gave `header`, or `problem` when it failed.
    static std::unique_ptr<ParadoxTable> create(const QByteArray &table,
                                                const QByteArray &memoFile,
                                                std::optional<Paradox::Header> header,
                                                const QString &problem,
                                                const QString &shownName, QString *error);
    QString failure(const QString &problem) const;

    Paradox::Header m_header;
    QByteArray m_table; // the whole file, as checked
    QByteArray m_memoFile;
    QString m_shownName;
    std::vector<int> m_fieldOffsets;
    std::vector<int> m_blockStarts; // the first record of each block of the chain
    int m_block = 0;                // the block of the record last loaded
    const char *m_record = nullptr; // that record's bytes in m_table
};
