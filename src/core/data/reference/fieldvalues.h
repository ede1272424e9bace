#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace Schema {
struct Field;
struct Table;
} // namespace Schema

// Values between the row maps callers use and the forms the reference tables store: logical
// fields as 0/1, dates as "yyyy-MM-dd" text, numbers as numbers, texts as texts.
namespace FieldValues {

// A caller's value as the field stores it. Numbers must come as numbers: typed text is
// converted by the caller with the user's number convention, never guessed at here. A null
// value, or empty text in a number, logical or date field, is an empty field; text fields
// keep even empty text; a recommendation text (Jav.Jav) given as HTML keeps only harmless
// markup (Text::storedMemo). No value, and a text naming the field, for a value it cannot
// hold.
std::optional<QVariant> toStored(const Schema::Table &table, const Schema::Field &field,
    const QVariant &value, QString *error = nullptr);

// A stored value as a row map gives it: text as QString, numbers as double or qlonglong,
// logical fields as bool, dates as QDate. A column the schema does not know (null field)
// keeps the value the driver gave.
QVariant fromStored(const Schema::Field *field, const QVariant &raw);

// A filter value as the driver binds it, in the form the fields hold: logical values as
// 0/1, dates as ISO text.
QVariant bindable(const QVariant &value);

} // namespace FieldValues
