#include "core/data/reference/fieldvalues.h"

#include "core/data/defaults/referencedefaults.h"
#include "core/data/reference/tables.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

namespace M = Tables::Mintak;
namespace F = Tables::Find;

const Schema::Field &field(QLatin1String tableName, QLatin1String fieldName)
{
    return *Schema::table(tableName)->field(fieldName);
}

// The two ways a value reaches the form a field stores: a caller's typed value (toStored),
// a cell of a built-in file (cellValue: a decimal point, True/False in any letter case).
// A null `stored` is an empty field; an `error` is a refusal.
TEST(FieldValuesToStored, ConvertsOrRefusesByTheFieldType)
{
    struct Case
    {
        const char *name;
        QLatin1String table;
        QLatin1String field;
        QVariant value; // a QString from a built-in file when `cell`
        bool cell;
        QVariant stored;
        QString error = {};
    };
    const Case cases[] = {
        {"logical true", M::name, M::Szuretkor, true, false, 1},
        {"logical false", M::name, M::Deleted, false, false, 0},
        {"logical as 0/1", M::name, M::Szuretkor, 1, false, 1},
        {"date", M::name, M::Datum, QDate(2012, 3, 5), false, QStringLiteral("2012-03-05")},
        {"date text in stored form", M::name, M::Datum, QStringLiteral("2012-03-05"), false,
            QStringLiteral("2012-03-05")},
        {"integer", M::name, M::Fajid, 3, false, qlonglong(3)},
        // a whole number held in a double (Find3 keeps Sztid as a float) is an integer
        {"whole double as integer", M::name, M::Fajid, 3.0, false, qlonglong(3)},
        {"real from integer", M::name, M::N, 2, false, 2.0},
        {"empty text in a number field", M::name, M::N, QStringLiteral(""), false, QVariant()},
        {"null", M::name, M::N, QVariant(), false, QVariant()},
        {"empty text stays text", M::name, M::Nev, QString(), false, QStringLiteral("")},
        {"fraction as integer", M::name, M::Fajid, 2.5, false, {},
            QStringLiteral("A(z) Mintak.Fajid mező értéke nem egész szám: „2.5”.")},
        // typed numbers are converted by the caller; text is never guessed at
        {"typed number text", M::name, M::N, QStringLiteral("2,5"), false, {},
            QStringLiteral("A(z) Mintak.N mező értéke nem szám: „2,5”.")},
        {"logical 2", M::name, M::Deleted, 2, false, {},
            QStringLiteral("A(z) Mintak.Deleted mező értéke nem logikai érték: „2”.")},
        {"Hungarian date text", M::name, M::Datum, QStringLiteral("2012.03.05."), false, {},
            QStringLiteral("A(z) Mintak.Datum mező értéke nem dátum: „2012.03.05.”.")},
        {"invalid date", M::name, M::Datum, QDate(2012, 2, 30), false, {},
            QStringLiteral("A(z) Mintak.Datum mező értéke nem dátum: „”.")},

        {"cell: decimal point", F::name, F::S2, QStringLiteral("41.99"), true, 41.99},
        {"cell: integer", F::name, F::S4, QStringLiteral("7"), true, qlonglong(7)},
        {"cell: false", Tables::Tapanyagok::name, Tables::Tapanyagok::Deleted,
            QStringLiteral("false"), true, 0},
        // the adviser file writes True/False with capitals
        {"cell: False", Tables::Tanacsado::name, Tables::Tanacsado::Megjel,
            QStringLiteral("False"), true, 0},
        {"cell: True", M::name, M::Szuretkor, QStringLiteral("True"), true, 1},
        {"cell: date", M::name, M::Datum, QStringLiteral("2012-07-23"), true,
            QStringLiteral("2012-07-23")},
        {"cell: crop id stays text", Tables::Nov::name, Tables::Nov::Novid, QStringLiteral("1"),
            true, QStringLiteral("1")},
        // an empty limit is an empty field; an empty parameter code is empty text
        {"cell: empty limit", F::name, F::S3, QString(), true, QVariant()},
        {"cell: empty code", F::name, F::St3, QString(), true, QStringLiteral("")},
        // the files write a decimal point; a comma means the file was saved wrongly
        {"cell: decimal comma", F::name, F::S1, QStringLiteral("1,5"), true, {},
            QStringLiteral("a(z) S1 mező értéke nem szám: „1,5”.")},
        {"cell: fraction in an integer", F::name, F::S4, QStringLiteral("2.5"), true, {},
            QStringLiteral("a(z) S4 mező értéke nem egész szám: „2.5”.")},
        {"cell: yes is no logical value", M::name, M::Deleted, QStringLiteral("igen"), true, {},
            QStringLiteral("a(z) Deleted mező értéke nem logikai érték: „igen”.")},
        {"cell: Hungarian date", M::name, M::Datum, QStringLiteral("2012.07.23."), true, {},
            QStringLiteral("a(z) Datum mező értéke nem dátum: „2012.07.23.”.")},
        {"cell: crop id of seven characters", Tables::Nov::name, Tables::Nov::Novid,
            QStringLiteral("1234567"), true, {},
            QStringLiteral("a(z) Novid mező értéke nem fér el 6 karakteren: „1234567”.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const Schema::Field &target = field(c.table, c.field);
        const std::optional<QVariant> stored = c.cell
            ? ReferenceDefaults::cellValue(target, c.value.toString(), &error)
            : FieldValues::toStored(*Schema::table(c.table), target, c.value, &error);
        EXPECT_EQ(error, c.error);
        ASSERT_EQ(stored.has_value(), c.error.isEmpty());
        if (!stored)
            continue;
        EXPECT_EQ(stored->isNull(), c.stored.isNull());
        if (!c.stored.isNull()) {
            EXPECT_EQ(stored->typeId(), c.stored.typeId());
            EXPECT_EQ(*stored, c.stored);
        }
    }
}

TEST(FieldValuesFromStored, GivesTheRowMapTypes)
{
    EXPECT_EQ(FieldValues::fromStored(&field(M::name, M::Deleted), qlonglong(1)), QVariant(true));
    EXPECT_EQ(FieldValues::fromStored(&field(M::name, M::Datum), QStringLiteral("2013-08-05")),
        QVariant(QDate(2013, 8, 5)));
    EXPECT_EQ(FieldValues::fromStored(&field(M::name, M::N), qlonglong(3)), QVariant(3.0));
    EXPECT_EQ(
        FieldValues::fromStored(&field(M::name, M::Fajid), qlonglong(5)), QVariant(qlonglong(5)));
    // a column the schema does not describe keeps the driver's value
    EXPECT_EQ(FieldValues::fromStored(nullptr, QStringLiteral("x")), QVariant(QStringLiteral("x")));
}

} // namespace
