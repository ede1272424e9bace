#include "core/data/paradox/paradoxmemo.h"

namespace Paradox {

namespace {

constexpr int pointerLength = 10;   // offset and index, length, modification number
constexpr int memoBlockSize = 4096; // the .MB file's allocation unit
constexpr int singleBlobHeader = 9; // type, block count, length, modification number
constexpr int suballocatedTable = 12; // a shared block's entries start here
constexpr int suballocatedEntries = 64;
constexpr int chunk = 16;             // unit of offsets and lengths in a shared block

quint32 longWord(const char *bytes)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes);
    return quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
}

std::optional<QByteArray> refuse(QString *problem, const QString &text)
{
    if (problem)
        *problem = text;
    return std::nullopt;
}

} // namespace

bool looksLikeMemoFile(const QByteArray &memoFile)
{
    return memoFile.size() >= memoBlockSize && memoFile.size() % memoBlockSize == 0
           && memoFile.at(0) == 0;
}

std::optional<QByteArray> readBlob(const char *field, int size, const QByteArray &memoFile,
                                   QString *problem)
{
    const int leader = size - pointerLength;
    if (leader < 1)
        return refuse(problem, QStringLiteral("hibás memómező"));
    const char *pointer = field + leader;
    const quint32 location = longWord(pointer);
    const quint32 length = longWord(pointer + 4);
    if (length == 0)
        return QByteArray();
    if (length <= quint32(leader))
        return QByteArray(field, int(length));

    const qint64 blockOffset = location & 0xffffff00u;
    const int index = int(location & 0xffu);
    const qint64 fileSize = memoFile.size();
    if (blockOffset == 0 || blockOffset + memoBlockSize > fileSize)
        return refuse(problem, QStringLiteral("a memó a memófájlon kívülre mutat"));
    const char *block = memoFile.constData() + blockOffset;
    switch (block[0]) {
    case 2: { // a blob of one or more whole blocks
        if (index != 0xff || longWord(block + 3) != length
            || blockOffset + singleBlobHeader + qint64(length) > fileSize) {
            return refuse(problem, QStringLiteral("a memó hossza nem egyezik a memófájléval"));
        }
        return QByteArray(block + singleBlobHeader, qsizetype(length));
    }
    case 3: { // small blobs sharing one block, found through its table
        if (index >= suballocatedEntries)
            return refuse(problem, QStringLiteral("hibás memóhivatkozás"));
        const auto *entry = reinterpret_cast<const uchar *>(block + suballocatedTable + 5 * index);
        const qint64 start = qint64(entry[0]) * chunk;
        const qint64 stored = (qint64(entry[1]) - 1) * chunk + entry[4];
        if (entry[0] == 0 || entry[1] == 0 || stored != qint64(length)
            || start + stored > memoBlockSize) {
            return refuse(problem, QStringLiteral("a memó hossza nem egyezik a memófájléval"));
        }
        return QByteArray(block + start, qsizetype(length));
    }
    default:
        return refuse(problem, QStringLiteral("a memó nem adatblokkra mutat"));
    }
}

} // namespace Paradox
