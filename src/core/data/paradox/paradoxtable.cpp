#include "core/data/paradox/paradoxtable.h"

#include "core/data/paradox/paradoxmemo.h"
#include "core/files/fileaccess.h"
#include "core/text/codepages.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTime>

#include <cstring>

extern "C" {
#include <paradox.h>
}

namespace {

// Paradox counts days from 1 January of the year 1, which is day 1.
constexpr qint64 julianDayOfDayZero = 1721425;
constexpr qint64 millisecondsPerDay = 86400000;

void keepError(pxdoc_t *, int, const char *message, void *data)
{
    if (data && message)
        *static_cast<QString *>(data) = QString::fromLocal8Bit(message);
}

// The stream pxlib reads: the very bytes that were checked.
std::FILE *streamOver(const QByteArray &bytes)
{
    std::FILE *stream = std::tmpfile();
    if (!stream)
        return nullptr;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) != size_t(bytes.size())
        || std::fseek(stream, 0, SEEK_SET) != 0) {
        std::fclose(stream);
        return nullptr;
    }
    return stream;
}

bool readAll(std::FILE *stream, QByteArray *bytes)
{
    bytes->clear();
    char buffer[65536];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        bytes->append(buffer, qsizetype(count));
    return !std::ferror(stream) && std::fseek(stream, 0, SEEK_SET) == 0;
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

bool isNullBytes(const char *data, int size)
{
    for (int i = 0; i < size; ++i) {
        if (data[i] != 0)
            return false;
    }
    return true;
}

} // namespace

ParadoxTable::~ParadoxTable()
{
    if (m_document) {
        PX_close(m_document);
        PX_delete(m_document);
    }
}

QString ParadoxTable::failure(const QString &problem) const
{
    return QStringLiteral("A(z) %1 Paradox tábla sérült, nem olvasható: %2.")
        .arg(m_shownName, problem);
}

std::unique_ptr<ParadoxTable> ParadoxTable::open(const QString &filePath, QString *error)
{
    const QString shownName = QDir::toNativeSeparators(filePath);
    std::FILE *stream = Files::openStreamForReading(filePath);
    QByteArray bytes;
    if (!stream || !readAll(stream, &bytes)) {
        if (stream)
            std::fclose(stream);
        if (error)
            *error = QStringLiteral("A(z) %1 nem nyitható meg.").arg(shownName);
        return nullptr;
    }

    // The memo file is needed only by a table with memo fields, but then whole: a memo may
    // live anywhere in it.
    QByteArray memoFile;
    QString problem;
    const std::optional<Paradox::Header> header = Paradox::readHeader(bytes, &problem);
    if (header && header->hasBlobFields()) {
        const QString memoPath = memoFilePath(filePath);
        QFile memo;
        if (memoPath.isEmpty() || !Files::openForReading(memo, memoPath)) {
            std::fclose(stream);
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
    return openStream(stream, bytes, memoFile, shownName, error);
}

std::unique_ptr<ParadoxTable> ParadoxTable::fromBytes(const QByteArray &table,
                                                      const QByteArray &memoFile,
                                                      const QString &shownName, QString *error)
{
    std::FILE *stream = streamOver(table);
    if (!stream) {
        if (error)
            *error = QStringLiteral("A(z) %1 nem olvasható: nincs hely az átmeneti fájlnak.")
                         .arg(shownName);
        return nullptr;
    }
    return openStream(stream, table, memoFile, shownName, error);
}

std::unique_ptr<ParadoxTable> ParadoxTable::openStream(std::FILE *stream, const QByteArray &table,
                                                       const QByteArray &memoFile,
                                                       const QString &shownName, QString *error)
{
    std::unique_ptr<ParadoxTable> result(new ParadoxTable);
    result->m_shownName = shownName;
    const auto fail = [&](const QString &text) -> std::unique_ptr<ParadoxTable> {
        if (error)
            *error = text;
        return nullptr;
    };

    QString problem;
    std::optional<Paradox::Header> header = Paradox::readHeader(table, &problem);
    if (!header) {
        std::fclose(stream);
        return fail(result->failure(problem));
    }
    result->m_header = *header;
    if (header->hasBlobFields() && !Paradox::looksLikeMemoFile(memoFile)) {
        std::fclose(stream);
        return fail(QStringLiteral("A(z) %1 Paradox tábla memófájlja sérült.").arg(shownName));
    }
    result->m_memoFile = memoFile;

    result->m_document = PX_new3(keepError, nullptr, nullptr, nullptr, &result->m_lastPxlibError);
    if (!result->m_document) {
        std::fclose(stream);
        return fail(result->failure(QStringLiteral("kevés a memória")));
    }
    if (PX_open_fp(result->m_document, stream) < 0) {
        // Whether or not pxlib kept the stream, it closes it with the document from now on.
        if (result->m_document->px_stream)
            result->m_document->px_stream->close = px_true;
        else
            std::fclose(stream);
        return fail(result->failure(result->m_lastPxlibError));
    }
    // The stream is closed with the document.
    result->m_document->px_stream->close = px_true;

    // The checked header and pxlib's reading of it must agree before records are read.
    if (PX_get_num_fields(result->m_document) != header->fields.size()
        || PX_get_recordsize(result->m_document) != header->recordSize
        || PX_get_num_records(result->m_document) != header->recordCount) {
        return fail(result->failure(QStringLiteral("a fejléc ellentmondásos")));
    }
    int offset = 0;
    for (const Paradox::Field &field : std::as_const(header->fields)) {
        result->m_fieldOffsets.push_back(offset);
        offset += field.size;
    }
    result->m_record.assign(size_t(header->recordSize), '\0');
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
    int deleted = 0;
    if (!PX_get_record2(m_document, record, m_record.data(), &deleted, nullptr)) {
        if (error)
            *error = QStringLiteral("A(z) %1 Paradox tábla %2. rekordja nem olvasható: %3")
                         .arg(m_shownName)
                         .arg(record + 1)
                         .arg(m_lastPxlibError);
        return false;
    }
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

QVariant ParadoxTable::fieldValue(int fieldIndex, QString *error) const
{
    using Paradox::FieldType;
    const Paradox::Field &field = m_header.fields.at(fieldIndex);
    // pxlib's converters write through a non-const pointer but do not change the record.
    char *data = const_cast<char *>(m_record.data()) + m_fieldOffsets.at(size_t(fieldIndex));
    pxdoc_t *document = m_document;

    switch (field.type) {
    case FieldType::Alpha: {
        char *text = nullptr;
        if (PX_get_data_alpha(document, data, field.size, &text) <= 0 || !text)
            return {};
        const QByteArray bytes(text);
        document->free(document, text);
        return Text::decodeCodePage(bytes, m_header.codePage);
    }
    case FieldType::Number:
    case FieldType::Currency: {
        double value = 0;
        if (PX_get_data_double(document, data, field.size, &value) <= 0)
            return {};
        return value;
    }
    case FieldType::Short: {
        short value = 0;
        if (PX_get_data_short(document, data, field.size, &value) <= 0)
            return {};
        return qlonglong(value);
    }
    case FieldType::Long:
    case FieldType::AutoIncrement:
    case FieldType::Date:
    case FieldType::Time: {
        // pxlib looks at more than the four bytes when it tests a long for empty
        if (isNullBytes(data, 4))
            return {};
        long value = 0;
        if (PX_get_data_long(document, data, 4, &value) <= 0)
            return {};
        if (field.type == FieldType::Date)
            return QDate::fromJulianDay(julianDayOfDayZero + value);
        if (field.type == FieldType::Time)
            return QTime::fromMSecsSinceStartOfDay(int(value % millisecondsPerDay));
        return qlonglong(value);
    }
    case FieldType::Timestamp: {
        double value = 0;
        if (PX_get_data_double(document, data, field.size, &value) <= 0)
            return {};
        const qint64 milliseconds = qint64(value);
        return QDateTime(QDate::fromJulianDay(julianDayOfDayZero + milliseconds / millisecondsPerDay),
                         QTime::fromMSecsSinceStartOfDay(int(milliseconds % millisecondsPerDay)));
    }
    case FieldType::Logical: {
        char value = 0;
        if (PX_get_data_byte(document, data, 1, &value) <= 0)
            return {};
        return value != 0;
    }
    case FieldType::Bcd: {
        // The first byte holds the sign and the count of decimals the field was made with.
        if (data[0] == 0)
            return {};
        if ((data[0] & 0x3f) != field.decimals) {
            if (error)
                *error = QStringLiteral("hibás BCD érték");
            return {};
        }
        char *text = nullptr;
        if (PX_get_data_bcd(document, reinterpret_cast<unsigned char *>(data), field.decimals,
                            &text)
                <= 0
            || !text)
            return {};
        // pxlib writes the decimal point of the C library's locale
        QString number = QString::fromLatin1(text);
        document->free(document, text);
        number.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double value = QLocale::c().toDouble(number, &ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("hibás BCD érték");
            return {};
        }
        return value;
    }
    case FieldType::Memo:
    case FieldType::FormattedMemo: {
        QString problem;
        const std::optional<QByteArray> bytes = Paradox::readBlob(data, field.size, m_memoFile,
                                                                  &problem);
        if (!bytes) {
            if (error)
                *error = problem;
            return {};
        }
        if (bytes->isEmpty())
            return {};
        return Text::decodeCodePage(*bytes, m_header.codePage);
    }
    case FieldType::Blob:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Bytes:
        break;
    }
    return {};
}
