#include "core/data/paradox/paradoxtable.h"

#include "core/data/paradox/paradoxmemo.h"
#include "core/data/paradox/paradoxvalue.h"
#include "core/files/fileaccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int blockHeaderLength = 6; // next block, previous block, size of the records

// The whole file in one read.
bool readAll(const QString &filePath, QByteArray *bytes)
{
    QFile file;
    if (!Files::openForReading(file, filePath))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// The .MB file of a table: the same name with the other extension, in any letter case;
// the table's own spelling of its name wins when several match.
QString memoFilePath(const QString &tablePath)
{
    const QFileInfo table(tablePath);
    const QString wanted = table.completeBaseName() + QStringLiteral(".MB");
    const QDir dir = table.absoluteDir();
    const QStringList entries = dir.entryList(QDir::Files, QDir::Name);
    QString found;
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (entry.startsWith(table.completeBaseName()))
            return dir.filePath(entry);
        if (found.isEmpty())
            found = entry;
    }
    return found.isEmpty() ? QString() : dir.filePath(found);
}

} // namespace

QString ParadoxTable::failure(const QString &problem) const
{
    return QStringLiteral("A(z) %1 Paradox tábla sérült, nem olvasható: %2.")
        .arg(m_shownName, problem);
}

std::unique_ptr<ParadoxTable> ParadoxTable::open(const QString &filePath, QString *error)
{
    const QString shownName = QDir::toNativeSeparators(filePath);
    QByteArray bytes;
    if (!readAll(filePath, &bytes)) {
        if (error)
            *error = QStringLiteral("A(z) %1 nem nyitható meg.").arg(shownName);
        return nullptr;
    }

    // The memo file is needed only by a table with memo fields, but then whole: a memo may
    // live anywhere in it.
    QByteArray memoFile;
    QString problem;
    std::optional<Paradox::Header> header = Paradox::readHeader(bytes, &problem);
    if (header && header->hasBlobFields()) {
        const QString memoPath = memoFilePath(filePath);
        QFile memo;
        if (memoPath.isEmpty() || !Files::openForReading(memo, memoPath)) {
            if (error) {
                const QFileInfo table(filePath);
                *error = QStringLiteral("A(z) %1 Paradox táblához tartozó %2 memófájl nem "
                                        "található vagy nem nyitható meg.")
                             .arg(shownName,
                                  memoPath.isEmpty()
                                      ? table.completeBaseName() + QStringLiteral(".MB")
                                      : QDir::toNativeSeparators(memoPath));
            }
            return nullptr;
        }
        memoFile = memo.readAll();
    }
    return create(bytes, memoFile, std::move(header), problem, shownName, error);
}

std::unique_ptr<ParadoxTable> ParadoxTable::fromBytes(const QByteArray &table,
                                                      const QByteArray &memoFile,
                                                      const QString &shownName, QString *error)
{
    QString problem;
    std::optional<Paradox::Header> header = Paradox::readHeader(table, &problem);
    return create(table, memoFile, std::move(header), problem, shownName, error);
}

std::unique_ptr<ParadoxTable> ParadoxTable::create(const QByteArray &table,
                                                   const QByteArray &memoFile,
                                                   std::optional<Paradox::Header> header,
                                                   const QString &problem,
                                                   const QString &shownName, QString *error)
{
    std::unique_ptr<ParadoxTable> result(new ParadoxTable);
    result->m_shownName = shownName;
    const auto fail = [&](const QString &text) -> std::unique_ptr<ParadoxTable> {
        if (error)
            *error = text;
        return nullptr;
    };
    if (!header)
        return fail(result->failure(problem));
    if (header->hasBlobFields() && !Paradox::looksLikeMemoFile(memoFile))
        return fail(QStringLiteral("A(z) %1 Paradox tábla memófájlja sérült.").arg(shownName));
    result->m_header = std::move(*header);
    result->m_table = table;
    result->m_memoFile = memoFile;

    int offset = 0;
    for (const Paradox::Field &field : std::as_const(result->m_header.fields)) {
        result->m_fieldOffsets.push_back(offset);
        offset += field.size;
    }
    int first = 0;
    for (const Paradox::Block &block : std::as_const(result->m_header.blocks)) {
        result->m_blockStarts.push_back(first);
        first += block.recordCount;
    }
    return result;
}

QStringList ParadoxTable::fieldNames() const
{
    QStringList names;
    for (const Paradox::Field &field : m_header.fields)
        names.append(field.name);
    return names;
}

bool ParadoxTable::loadRecord(int record, QString *error)
{
    if (record < 0 || record >= m_header.recordCount) {
        if (error)
            *error = failure(QStringLiteral("nincs %1. rekordja").arg(record + 1));
        return false;
    }
    // Records are mostly read in table order: the block of the last one, or the next.
    const auto &blocks = m_header.blocks;
    const auto holds = [&](int block) {
        return record >= m_blockStarts[size_t(block)]
               && record < m_blockStarts[size_t(block)] + blocks.at(block).recordCount;
    };
    if (!holds(m_block)) {
        if (m_block + 1 < blocks.size() && holds(m_block + 1)) {
            ++m_block;
        } else {
            const auto after = std::upper_bound(m_blockStarts.begin(), m_blockStarts.end(),
                                                record);
            m_block = int(after - m_blockStarts.begin()) - 1;
        }
    }
    const Paradox::Block &block = blocks.at(m_block);
    m_record = m_table.constData() + block.offset + blockHeaderLength
               + qint64(record - m_blockStarts[size_t(m_block)]) * m_header.recordSize;
    return true;
}

bool ParadoxTable::readRecord(int record, QVariantList *values, QString *error)
{
    if (!loadRecord(record, error))
        return false;
    values->clear();
    values->reserve(m_header.fields.size());
    for (int field = 0; field < m_header.fields.size(); ++field) {
        QString problem;
        QVariant value = fieldValue(field, &problem);
        if (!problem.isEmpty()) {
            if (error)
                *error = QStringLiteral("A(z) %1 Paradox tábla %2. rekordjának %3 mezője nem "
                                        "olvasható: %4.")
                             .arg(m_shownName)
                             .arg(record + 1)
                             .arg(m_header.fields.at(field).name, problem);
            return false;
        }
        values->append(std::move(value));
    }
    return true;
}

bool ParadoxTable::fieldHolds(int field, const QByteArray &bytes) const
{
    if (!m_record || bytes.size() != m_header.fields.at(field).size)
        return false;
    const char *data = m_record + m_fieldOffsets[size_t(field)];
    for (qsizetype i = 0; i < bytes.size(); ++i) { // a few bytes: no call to memcmp
        if (data[i] != bytes[i])
            return false;
    }
    return true;
}

QVariant ParadoxTable::fieldValue(int field, QString *error) const
{
    if (!m_record)
        return {};
    return Paradox::decodeValue(m_header.fields.at(field),
                                m_record + m_fieldOffsets.at(size_t(field)), m_header.codePage,
                                m_memoFile, error);
}
