#pragma once

#include "core/data/defaults/csv.h"

#include <QString>
#include <QVariant>

#include <optional>

class QSqlDatabase;

namespace Schema {
struct Field;
struct Table;
} // namespace Schema

// The default reference data compiled into the program: one CSV resource per table
// (":/reference/Nov.csv" …), with decimal points and "true"/"false" for logical fields.
// The default copies Find2Back and Find3Back are seeded from the same files as Find2 and Find3.
namespace ReferenceDefaults {

// The parsed CSV resource of a table; no value and a text when it is missing or malformed.
std::optional<Csv::Table> readTable(const Schema::Table &table, QString *error = nullptr);

// One cell as the field stores it: empty cells of number, logical and date fields are null,
// empty text stays empty text. No value and a text for a cell the field cannot hold.
std::optional<QVariant> cellValue(
    const Schema::Field &field, const QString &cell, QString *error = nullptr);

// Creates every reference table in an empty database and fills those that have built-in
// rows, all in one transaction: on failure the database is left without tables.
bool seed(QSqlDatabase &database, QString *error = nullptr);

} // namespace ReferenceDefaults
