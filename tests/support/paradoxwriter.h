#pragma once

#include "core/data/paradox/paradoxheader.h"

#include <QList>
#include <QString>
#include <QVariant>

// Genuine Paradox tables written with pxlib, for tests, benchmarks and the fuzzer's seeds:
// the program itself only reads them. Texts are stored in the table's code page, which the
// header names; memo fields go to the .MB file beside the table.
namespace ParadoxWriter {

struct Field
{
    QString name;
    Paradox::FieldType type = Paradox::FieldType::Alpha;
    int size = 0;     // alpha and memo fields; the others have their fixed size
    int decimals = 0; // BCD
};

struct Table
{
    QList<Field> fields;
    QList<QVariantList> rows; // one value per field; a null QVariant leaves the field empty
    int codePage = 1250;
    bool isKeyed = false; // keyed on the first field, without its .PX index
};

// Writes `table` into `path` (replacing it) and, when it has memo fields, into `path` with
// the extension .MB. Values: QString for alpha and memo fields, numbers for the number
// types, bool for logical fields, QDate for dates.
bool write(const QString &path, const Table &table, QString *error);

// The sample farm of writeSampleFarm as Paradox tables: Tablak and PTalajmintak in code
// page 1250, Talajmintak and parcellak in 852; the keys are autoincrement fields, sample
// numbers and flags short, owners long, values numbers, the parcels' areas BCD.
bool writeSampleFarm(const QString &csvPath, const QString &directory, QString *error);

} // namespace ParadoxWriter
