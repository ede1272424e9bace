#pragma once

#include <QByteArray>
#include <QString>

// Central European (Windows-1250) bytes of plan files and config.ini.
namespace Text {

// One byte per character; a character the code page lacks becomes '?' (a character outside
// the BMP too, as one '?').
QByteArray encodeCp1250(const QString &text);
QString decodeCp1250(const QByteArray &bytes);

// The character of a byte by the program's own table, which stands in for Qt's converter in a
// Qt built without ICU.
QChar cp1250BuiltinCharacter(uchar byte);

// Writes text into a fixed-size field of `size` bytes: the cp1250 bytes, cut to size - 1,
// then a NUL; the rest of the field is zero. Never writes outside dest[0 .. size).
void writeFixedField(char *dest, int size, const QString &text);

// The field as exactly `size` bytes (see writeFixedField).
QByteArray fixedField(const QString &text, int size);

// Reads a NUL-terminated cp1250 field of `size` bytes; a field without a NUL is read whole.
QString readFixedField(const char *source, int size);

} // namespace Text
