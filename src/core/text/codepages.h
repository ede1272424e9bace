#pragma once

#include <QByteArray>
#include <QString>

// The code pages of tables written by other programs: a Paradox table names its own in the
// header (852 for DOS, 1250 for Windows tables in Hungary). Both Hungarian code pages are
// built in, so ő and ű arrive right whatever converters Qt was built with.
namespace Text {

// Text from bytes of `codePage`. 852 and 1250 come from the program's own tables; another
// code page goes through Qt's converter ("IBM437", "windows-1252", …) and, when Qt has no
// converter for it, is read as 1250. A NUL ends nothing here: the caller cuts the field.
QString decodeCodePage(const QByteArray &bytes, int codePage);

// Bytes of `codePage` for text; a character the code page lacks becomes '?'.
QByteArray encodeCodePage(const QString &text, int codePage);

} // namespace Text
