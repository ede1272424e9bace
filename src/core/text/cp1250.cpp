#include "core/text/cp1250.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>

namespace Text {

namespace {

// The characters of the bytes 0x80..0xFF; the lower half is ASCII. The five bytes the code
// page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) stand for the C1 control of the same
// number, as Qt's converter reads them, so every byte survives a round trip. The table reads
// every byte exactly as Qt's converter does, and far faster than opening one per field.
// clang-format off
constexpr std::array<char16_t, 128> builtinUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

// Characters of the upper half mapped back to their bytes, so both directions agree with
// decodeCp1250.
const QHash<char16_t, char> &upperHalfBytes()
{
    static const QHash<char16_t, char> bytes = [] {
        QByteArray upperHalf(128, '\0');
        for (int i = 0; i < 128; ++i)
            upperHalf[i] = char(0x80 + i);
        const QString characters = decodeCp1250(upperHalf);
        QHash<char16_t, char> result;
        for (int i = 0; i < 128 && i < characters.size(); ++i)
            result.insert(characters.at(i).unicode(), char(0x80 + i));
        return result;
    }();
    return bytes;
}

QString decodeBytes(const char *bytes, qsizetype size, const std::array<char16_t, 128> &upperHalf)
{
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const uchar code = uchar(bytes[i]);
        out[i] = code < 0x80 ? char16_t(code) : upperHalf[code - 0x80];
    }
    return text;
}

} // namespace

QByteArray encodeCp1250(const QString &text)
{
    // Qt's encoder would write the control character SUB (0x1A) for a character the code page
    // lacks and silently drop a lone surrogate at the end; the files want one '?' for each
    // such character, so the bytes come from the decoder's table instead.
    const QHash<char16_t, char> &upperHalf = upperHalfBytes();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            bytes += char(c.unicode());
            continue;
        }
        // a character outside the BMP is one '?', not two
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        bytes += upperHalf.value(c.unicode(), '?');
    }
    return bytes;
}

QString decodeCp1250(const QByteArray &bytes)
{
    return decodeSingleByte(bytes, builtinUpperHalf);
}

QChar cp1250BuiltinCharacter(uchar byte)
{
    return byte < 0x80 ? QChar(char16_t(byte)) : QChar(builtinUpperHalf[byte - 0x80]);
}

QString decodeSingleByte(const QByteArray &bytes, const std::array<char16_t, 128> &upperHalf)
{
    return decodeBytes(bytes.constData(), bytes.size(), upperHalf);
}

void writeFixedField(char *dest, int size, const QString &text)
{
    if (!dest || size <= 0)
        return;
    std::memset(dest, 0, size_t(size));
    const QByteArray bytes = encodeCp1250(text);
    // One byte per character, so the cut never splits a letter.
    const auto count = std::min<qsizetype>(bytes.size(), size - 1);
    std::memcpy(dest, bytes.constData(), size_t(count));
}

QByteArray fixedField(const QString &text, int size)
{
    if (size <= 0)
        return QByteArray();
    QByteArray field(size, '\0');
    writeFixedField(field.data(), size, text);
    return field;
}

QString readFixedField(const char *source, int size)
{
    if (!source || size <= 0)
        return QString();
    const void *nul = std::memchr(source, 0, size_t(size));
    const qsizetype length = nul ? static_cast<const char *>(nul) - source : size;
    return decodeBytes(source, length, builtinUpperHalf);
}

} // namespace Text
