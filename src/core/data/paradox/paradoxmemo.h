#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The data of a memo (or other blob) field of a Paradox table. The record keeps the start
// of the data and, in its last ten bytes, where the whole of it lies in the table's .MB
// file: the offset of a block of that file with an index into it, the length and a
// modification number. Short data lives in the record alone.
namespace Paradox {

// The bytes of the field `field` (its `size` bytes in the record) with `memoFile` the whole
// .MB file (empty when the table has none). An empty field gives empty bytes. No value, and
// a short Hungarian text in *problem, when the field points outside the file, at a block
// of another kind, or its lengths disagree.
std::optional<QByteArray> readBlob(const char *field, int size, const QByteArray &memoFile,
                                   QString *problem);

// Whether bytes can be the .MB file of a table: whole 4 KiB blocks, the first a header.
bool looksLikeMemoFile(const QByteArray &memoFile);

} // namespace Paradox
