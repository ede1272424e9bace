#pragma once

#include "core/data/paradox/paradoxheader.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

// The value of one field of a Paradox record, decoded from the record's bytes. Paradox
// stores numbers big-endian with the sign bit flipped, so that their bytes sort as the
// numbers do; a field of zero bytes is empty.
namespace Paradox {

// The value of `field` whose `field.size` bytes start at `data`, as the program's row maps
// hold it: alpha and memo fields as QString converted from `codePage`, number, currency and
// BCD fields as double, short, long and autoincrement fields as qlonglong, logical fields as
// bool, dates as QDate, times as QTime, timestamps as QDateTime; an empty field, and a
// binary one, is a null QVariant. `memoFile` is the table's whole .MB file. A null value
// and a short Hungarian text in *problem when a BCD value or a memo cannot be read.
QVariant decodeValue(const Field &field, const char *data, int codePage,
                     const QByteArray &memoFile, QString *problem);

// The bytes a short, long or autoincrement field holds exactly when its value equals
// `number`; empty for a field of another type and for a number no such field can hold.
QByteArray wholeNumberBytes(const Field &field, double number);

} // namespace Paradox
