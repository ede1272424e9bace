#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The structure of a genuine Paradox table file (.db), as far as reading it needs: the
// header with its field descriptions and the chain of data blocks. Everything here is
// read from bytes and checked against the file's own size, so that a truncated or damaged
// table is refused before any reader trusts its numbers.
namespace Paradox {

// The field types as the header codes them.
enum class FieldType : quint8 {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoIncrement = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct Field
{
    QString name;
    FieldType type = FieldType::Alpha;
    int size = 0;     // bytes in the record (17 for BCD)
    int decimals = 0; // BCD only: digits after the decimal point

    // Memo, formatted memo, binary, OLE and graphic fields keep their data in the .MB file
    // beside the table once it outgrows the part kept in the record.
    bool isBlob() const;
    bool isMemo() const { return type == FieldType::Memo || type == FieldType::FormattedMemo; }
};

// A data block of the chain, in table order.
struct Block
{
    int number = 0;      // 1-based, as the chain counts
    int recordCount = 0; // records in use
    qint64 offset = 0;   // of the block in the file
};

struct Header
{
    int recordSize = 0;
    int headerSize = 0;
    int blockSize = 0; // bytes: 1 .. 32 KiB
    int recordCount = 0;
    int fileVersion = 0; // the header's version code, 3 (Paradox 3.0) .. 12 (7.x)
    int codePage = 0;    // 852, 1250 …; 0 when the header has none (Paradox 3.x)
    bool isKeyed = false;
    QList<Field> fields;
    QList<Block> blocks;

    bool hasBlobFields() const;
    int fieldIndex(const QString &name) const; // any letter case; -1 when missing
};

// The header and block chain of a table held whole in `bytes`; no value, and in *problem
// a short Hungarian text (without the file name) saying what is wrong, when the bytes are
// not a readable, unencrypted Paradox table: a header or field list that does not fit, an
// unknown field type, a record size other than the sum of the fields, blocks beyond the
// end of the file, a broken block chain, or record counts that disagree.
std::optional<Header> readHeader(const QByteArray &bytes, QString *problem);

} // namespace Paradox
