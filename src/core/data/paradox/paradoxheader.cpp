#include "core/data/paradox/paradoxheader.h"

#include "core/text/codepages.h"

#include <vector>

namespace Paradox {

namespace {

// Offsets in the fixed part of the header.
constexpr int fixedHeaderLength = 0x58;
constexpr int dataHeaderEnd = 0x78; // versions 4.0 and later add a data header
constexpr int codePageOffset = 0x6A;
constexpr int blockHeaderLength = 6; // next block, previous block, size of the records
constexpr quint32 encryptionInDataHeader = 0xFF00FF00;
constexpr int dosCodePageOfOldTables = 852; // Paradox 3.x tables have no code page of their own

quint16 word(const QByteArray &bytes, qint64 offset)
{
    return quint16(quint8(bytes.at(offset)) | (quint8(bytes.at(offset + 1)) << 8));
}

quint32 longWord(const QByteArray &bytes, qint64 offset)
{
    return quint32(word(bytes, offset)) | (quint32(word(bytes, offset + 2)) << 16);
}

std::optional<Header> refuse(QString *problem, const QString &text)
{
    if (problem)
        *problem = text;
    return std::nullopt;
}

bool isKnownType(quint8 code)
{
    switch (FieldType(code)) {
    case FieldType::Alpha:
    case FieldType::Date:
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Logical:
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Time:
    case FieldType::Timestamp:
    case FieldType::AutoIncrement:
    case FieldType::Bcd:
    case FieldType::Bytes:
        return true;
    }
    return false;
}

// The size a field of the type must have in the record, or the range it may have.
bool hasValidSize(const Field &field)
{
    switch (field.type) {
    case FieldType::Alpha:
    case FieldType::Bytes:
        return field.size >= 1 && field.size <= 255;
    case FieldType::Logical:
        return field.size == 1;
    case FieldType::Short:
        return field.size == 2;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::Time:
    case FieldType::AutoIncrement:
        return field.size == 4;
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Timestamp:
        return field.size == 8;
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        // ten bytes point into the .MB file, the rest holds the start of the data
        return field.size >= 11 && field.size <= 250;
    case FieldType::Bcd:
        return field.decimals >= 0 && field.decimals <= 32;
    }
    return false;
}

} // namespace

bool Field::isBlob() const
{
    switch (type) {
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return true;
    default:
        return false;
    }
}

bool Header::hasBlobFields() const
{
    for (const Field &field : fields) {
        if (field.isBlob())
            return true;
    }
    return false;
}

int Header::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<Header> readHeader(const QByteArray &bytes, QString *problem)
{
    const qint64 fileSize = bytes.size();
    if (fileSize < fixedHeaderLength)
        return refuse(problem, QStringLiteral("a fájl rövidebb a Paradox fejlécnél"));

    Header header;
    header.recordSize = word(bytes, 0x00);
    header.headerSize = word(bytes, 0x02);
    const quint8 fileType = quint8(bytes.at(0x04));
    const quint8 blockKiB = quint8(bytes.at(0x05));
    const quint32 recordCount = longWord(bytes, 0x06);
    const int fileBlocks = word(bytes, 0x0C);
    const int firstBlock = word(bytes, 0x0E);
    const int fieldCount = word(bytes, 0x21);
    quint32 encryption = longWord(bytes, 0x25);
    header.fileVersion = quint8(bytes.at(0x39));

    if (fileType != 0 && fileType != 2)
        return refuse(problem, QStringLiteral("a fájl nem Paradox adattábla (típusa %1)").arg(fileType));
    header.isKeyed = fileType == 0;
    if (header.fileVersion < 3 || header.fileVersion > 12)
        return refuse(problem, QStringLiteral("ismeretlen Paradox változat (%1)").arg(header.fileVersion));
    if (blockKiB < 1 || blockKiB > 32)
        return refuse(problem, QStringLiteral("hibás blokkméret (%1 KiB)").arg(blockKiB));
    header.blockSize = blockKiB * 1024;
    if (fieldCount < 1 || fieldCount > 255)
        return refuse(problem, QStringLiteral("hibás a mezők száma (%1)").arg(fieldCount));
    if (recordCount > quint32(INT_MAX))
        return refuse(problem, QStringLiteral("hibás a rekordok száma"));
    header.recordCount = int(recordCount);
    if (header.headerSize > fileSize)
        return refuse(problem, QStringLiteral("a fájl csonka: rövidebb a fejlécénél"));

    const bool hasDataHeader = header.fileVersion >= 5;
    const int fieldInfoStart = hasDataHeader ? dataHeaderEnd : fixedHeaderLength;
    if (hasDataHeader && header.headerSize >= dataHeaderEnd) {
        header.codePage = word(bytes, codePageOffset);
        if (encryption == encryptionInDataHeader)
            encryption = longWord(bytes, 0x5C);
    } else {
        header.codePage = dosCodePageOfOldTables;
    }
    if (encryption == encryptionInDataHeader && !hasDataHeader)
        encryption = 0;
    if (encryption != 0)
        return refuse(problem, QStringLiteral("jelszóval védett tábla"));

    // Field descriptions, the table name pointer, one name pointer per field, the table
    // name, then the field names: all inside the header.
    const int tableNameLength = header.fileVersion == 12 ? 261 : 79;
    const qint64 namesStart = fieldInfoStart + 2 * qint64(fieldCount) + 4 + 4 * qint64(fieldCount)
                              + tableNameLength;
    if (namesStart > header.headerSize)
        return refuse(problem, QStringLiteral("a fejléc nem fér el a mezők leírásával"));

    int recordSize = 0;
    for (int i = 0; i < fieldCount; ++i) {
        const quint8 type = quint8(bytes.at(fieldInfoStart + 2 * i));
        const quint8 size = quint8(bytes.at(fieldInfoStart + 2 * i + 1));
        if (!isKnownType(type))
            return refuse(problem, QStringLiteral("ismeretlen mezőtípus (%1. mező)").arg(i + 1));
        Field field;
        field.type = FieldType(type);
        if (field.type == FieldType::Bcd) {
            field.size = 17;
            field.decimals = size;
        } else {
            field.size = size;
        }
        if (!hasValidSize(field))
            return refuse(problem, QStringLiteral("hibás mezőhossz (%1. mező)").arg(i + 1));
        recordSize += field.size;
        header.fields.append(field);
    }
    qint64 position = namesStart;
    for (Field &field : header.fields) {
        const qint64 end = bytes.indexOf('\0', position);
        if (end < 0 || end >= header.headerSize)
            return refuse(problem, QStringLiteral("a mezők nevei nem férnek el a fejlécben"));
        field.name = Text::decodeCodePage(bytes.mid(position, end - position), header.codePage);
        position = end + 1;
    }

    if (recordSize != header.recordSize)
        return refuse(problem,
                      QStringLiteral("a rekordméret (%1) nem egyezik a mezők hosszával (%2)")
                          .arg(header.recordSize)
                          .arg(recordSize));
    const int recordsPerBlock = (header.blockSize - blockHeaderLength) / header.recordSize;
    if (recordsPerBlock < 1)
        return refuse(problem, QStringLiteral("a rekord nem fér el egy blokkban"));

    const qint64 dataEnd = header.headerSize + qint64(fileBlocks) * header.blockSize;
    if (dataEnd > fileSize)
        return refuse(problem, QStringLiteral("a fájl csonka: %1 blokkjából csak %2 van meg")
                                   .arg(fileBlocks)
                                   .arg((fileSize - header.headerSize) / header.blockSize));

    // The chain of data blocks, in table order. Each block holds 1 .. recordsPerBlock
    // records: the reader counts the records of a block from its size field and would
    // misplace every record after a block that claims more, or none.
    std::vector<bool> visited(size_t(fileBlocks) + 1);
    int chained = 0;
    for (int number = firstBlock; number != 0;) {
        if (number > fileBlocks || visited[size_t(number)])
            return refuse(problem, QStringLiteral("hibás a blokkok láncolata"));
        visited[size_t(number)] = true;
        Block block;
        block.number = number;
        block.offset = header.headerSize + qint64(number - 1) * header.blockSize;
        const qint16 usedBytes = qint16(word(bytes, block.offset + 4));
        const int records = usedBytes / header.recordSize + 1;
        if (usedBytes < 0 || usedBytes % header.recordSize != 0 || records > recordsPerBlock) {
            if (header.recordCount > 0)
                return refuse(problem, QStringLiteral("hibás a(z) %1. blokk mérete").arg(number));
            block.recordCount = 0;
        } else {
            block.recordCount = records;
        }
        chained += block.recordCount;
        header.blocks.append(block);
        number = word(bytes, block.offset);
    }
    if (chained != header.recordCount)
        return refuse(problem,
                      QStringLiteral("a fejléc %1 rekordja helyett %2 van a blokkokban")
                          .arg(header.recordCount)
                          .arg(chained));
    return header;
}

} // namespace Paradox
