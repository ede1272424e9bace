#include "core/data/paradox/paradoxvalue.h"

#include "core/data/paradox/paradoxmemo.h"
#include "core/text/codepages.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <bit>
#include <cmath>
#include <optional>

namespace Paradox {

namespace {

// Paradox counts days from 1 January of the year 1, which is day 1.
constexpr qint64 julianDayOfDayZero = 1721425;
constexpr qint64 millisecondsPerDay = 86400000;
constexpr int bcdDigits = 32; // nibbles after the byte of sign and decimals

quint64 bigEndian(const char *data, int size)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data);
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// The stored bits of a whole number of `size` bytes, the sign bit set for zero and the
// positive numbers; none for an empty field (all bytes zero).
std::optional<quint64> signedBits(const char *data, int size)
{
    const quint64 stored = bigEndian(data, size);
    if (stored == 0)
        return std::nullopt;
    return stored ^ (quint64(1) << (8 * size - 1));
}

// A double the same way, except that a negative number keeps all its bits inverted.
std::optional<double> storedDouble(const char *data)
{
    quint64 bits = bigEndian(data, 8);
    constexpr quint64 signBit = quint64(1) << 63;
    if (bits & signBit)
        bits &= ~signBit;
    else if (bits != 0)
        bits = ~bits;
    else
        return std::nullopt;
    return std::bit_cast<double>(bits);
}

// A BCD number: the first byte holds the sign (set for positive numbers, whose digits are
// stored as they are; a negative number keeps them inverted) and the count of decimals.
QVariant bcdValue(const Field &field, const char *data, QString *problem)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data);
    if (bytes[0] == 0)
        return {};
    const auto fail = [problem]() {
        if (problem)
            *problem = QStringLiteral("hibás BCD érték");
        return QVariant();
    };
    if ((bytes[0] & 0x3f) != field.decimals)
        return fail();
    const bool isNegative = !(bytes[0] & 0x80);
    const uchar flip = isNegative ? 0x0f : 0x00;
    const auto digit = [&](int nibble) {
        const uchar byte = bytes[1 + nibble / 2];
        return uchar((nibble % 2 ? byte & 0x0f : byte >> 4) ^ flip);
    };
    char text[bcdDigits + 3];
    int length = 0;
    if (isNegative)
        text[length++] = '-';
    const int wholeDigits = bcdDigits - field.decimals;
    int nibble = 0;
    while (nibble < wholeDigits && digit(nibble) == 0)
        ++nibble;
    if (nibble == wholeDigits)
        text[length++] = '0';
    for (; nibble < wholeDigits; ++nibble)
        text[length++] = char('0' + digit(nibble));
    text[length++] = '.';
    for (; nibble < bcdDigits; ++nibble)
        text[length++] = char('0' + digit(nibble));
    bool ok = false;
    const double value = QLocale::c().toDouble(QLatin1StringView(text, length), &ok);
    return ok ? QVariant(value) : fail();
}

} // namespace

QVariant decodeValue(const Field &field, const char *data, int codePage,
                     const QByteArray &memoFile, QString *problem)
{
    switch (field.type) {
    case FieldType::Alpha: {
        if (data[0] == 0)
            return {};
        return Text::decodeCodePage(QByteArray(data, qsizetype(qstrnlen(data, uint(field.size)))),
                                    codePage);
    }
    case FieldType::Number:
    case FieldType::Currency: {
        const std::optional<double> value = storedDouble(data);
        return value ? QVariant(*value) : QVariant();
    }
    case FieldType::Short: {
        const std::optional<quint64> bits = signedBits(data, 2);
        return bits ? QVariant(qlonglong(qint16(quint16(*bits)))) : QVariant();
    }
    case FieldType::Long:
    case FieldType::AutoIncrement:
    case FieldType::Date:
    case FieldType::Time: {
        const std::optional<quint64> bits = signedBits(data, 4);
        if (!bits)
            return {};
        const qint32 value = qint32(quint32(*bits));
        if (field.type == FieldType::Date)
            return QDate::fromJulianDay(julianDayOfDayZero + value);
        if (field.type == FieldType::Time)
            return QTime::fromMSecsSinceStartOfDay(int(value % millisecondsPerDay));
        return qlonglong(value);
    }
    case FieldType::Timestamp: {
        const std::optional<double> value = storedDouble(data);
        if (!value)
            return {};
        const qint64 milliseconds = qint64(*value);
        return QDateTime(QDate::fromJulianDay(julianDayOfDayZero + milliseconds / millisecondsPerDay),
                         QTime::fromMSecsSinceStartOfDay(int(milliseconds % millisecondsPerDay)));
    }
    case FieldType::Logical: {
        // 0x80 is false, 0x81 true; any other byte but zero counts as true
        const uchar stored = uchar(data[0]);
        if (stored == 0)
            return {};
        return stored != 0x80;
    }
    case FieldType::Bcd:
        return bcdValue(field, data, problem);
    case FieldType::Memo:
    case FieldType::FormattedMemo: {
        const std::optional<QByteArray> bytes = readBlob(data, field.size, memoFile, problem);
        if (!bytes || bytes->isEmpty())
            return {};
        return Text::decodeCodePage(*bytes, codePage);
    }
    case FieldType::Blob:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Bytes:
        break;
    }
    return {};
}

QByteArray wholeNumberBytes(const Field &field, double number)
{
    int size = 0;
    if (field.type == FieldType::Short)
        size = 2;
    else if (field.type == FieldType::Long || field.type == FieldType::AutoIncrement)
        size = 4;
    const double lowest = -std::ldexp(1.0, 8 * size - 1); // stored as zero bytes: empty
    if (size == 0 || number != std::trunc(number) || number <= lowest || number >= -lowest)
        return {};
    const quint64 bits = quint64(qint64(number)) ^ (quint64(1) << (8 * size - 1));
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(bits >> (8 * (size - 1 - i)));
    return bytes;
}

} // namespace Paradox
