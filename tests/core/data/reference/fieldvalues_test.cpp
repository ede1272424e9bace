#include "core/data/reference/fieldvalues.h"

#include "core/data/reference/tables.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

const Schema::Table &table(QLatin1String name)
{
    return *Schema::table(name);
}

const Schema::Field &field(QLatin1String tableName, QLatin1String fieldName)
{
    return *table(tableName).field(fieldName);
}

TEST(FieldValuesToStored, ConvertsToTheStoredForm)
{
    namespace M = Tables::Mintak;
    struct Case
    {
        const char *name;
        QLatin1String field;
        QVariant value;
        QVariant stored; // QVariant() for an empty field
    };
    const Case cases[] = {
        {"logical true", M::Szuretkor, true, 1},
        {"logical false", M::Deleted, false, 0},
        {"logical as 0/1", M::Szuretkor, 1, 1},
        {"date", M::Datum, QDate(2012, 3, 5), QStringLiteral("2012-03-05")},
        {"date text in stored form", M::Datum, QStringLiteral("2012-03-05"),
            QStringLiteral("2012-03-05")},
        {"integer", M::Fajid, 3, qlonglong(3)},
        // a whole number held in a double (Find3 keeps Sztid as a float) is an integer
        {"whole double as integer", M::Fajid, 3.0, qlonglong(3)},
        {"real from integer", M::N, 2, 2.0},
        {"empty text in a number field", M::N, QStringLiteral(""), QVariant()},
        {"null", M::N, QVariant(), QVariant()},
        {"empty text stays text", M::Nev, QString(), QStringLiteral("")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const std::optional<QVariant> stored
            = FieldValues::toStored(table(M::name), field(M::name, c.field), c.value, &error);
        ASSERT_TRUE(stored) << error.toStdString();
        EXPECT_EQ(stored->isNull(), c.stored.isNull());
        if (!c.stored.isNull()) {
            EXPECT_EQ(stored->typeId(), c.stored.typeId());
            EXPECT_EQ(*stored, c.stored);
        }
    }
}

TEST(FieldValuesToStored, RefusesValuesTheFieldCannotHold)
{
    namespace M = Tables::Mintak;
    struct Case
    {
        const char *name;
        QLatin1String field;
        QVariant value;
        QString error;
    };
    const Case cases[] = {
        {"fraction as integer", M::Fajid, 2.5,
            QStringLiteral("A(z) Mintak.Fajid mező értéke nem egész szám: „2.5”.")},
        {"typed number text", M::N, QStringLiteral("2,5"),
            QStringLiteral("A(z) Mintak.N mező értéke nem szám: „2,5”.")},
        {"logical 2", M::Deleted, 2,
            QStringLiteral("A(z) Mintak.Deleted mező értéke nem logikai érték: „2”.")},
        {"Hungarian date text", M::Datum, QStringLiteral("2012.03.05."),
            QStringLiteral("A(z) Mintak.Datum mező értéke nem dátum: „2012.03.05.”.")},
        {"invalid date", M::Datum, QDate(2012, 2, 30),
            QStringLiteral("A(z) Mintak.Datum mező értéke nem dátum: „”.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(
            FieldValues::toStored(table(M::name), field(M::name, c.field), c.value, &error));
        EXPECT_EQ(error, c.error) << error.toStdString();
    }
}

TEST(FieldValuesFromStored, GivesTheRowMapTypes)
{
    namespace M = Tables::Mintak;
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
