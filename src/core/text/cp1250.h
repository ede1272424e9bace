#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// Central European (Windows-1250) bytes of plan files and config.ini.
namespace Text {

// One byte per character; a character the code page lacks becomes '?' (a character outside
// the BMP too, as one '?').
QByteArray encodeCp1250(const QString &text);
QString decodeCp1250(const QByteArray &bytes);

// The character of a byte by the program's own table, which reads every byte as Qt's
// converter does, also in a Qt built without ICU.
QChar cp1250BuiltinCharacter(uchar byte);

// Text from the bytes of a single-byte code page: the lower half is ASCII, the upper half the
// characters of `upperHalf` (bytes 0x80..0xFF). Every code page built in reads through here.
QString decodeSingleByte(const QByteArray &bytes, const std::array<char16_t, 128> &upperHalf);

// Writes text into a fixed-size field of `size` bytes: the cp1250 bytes, cut to size - 1,
// then a NUL; the rest of the field is zero. Never writes outside dest[0 .. size).
void writeFixedField(char *dest, int size, const QString &text);

// The field as exactly `size` bytes (see writeFixedField).
QByteArray fixedField(const QString &text, int size);

// Reads a NUL-terminated cp1250 field of `size` bytes; a field without a NUL is read whole.
QString readFixedField(const char *source, int size);

} // namespace Text
