#include "core/data/defaults/referencedefaults.h"

#include "core/data/reference/tables.h"

#include <gtest/gtest.h>

namespace {

const Schema::Field &fieldOf(QLatin1String table, QLatin1String field)
{
    return *Schema::table(table)->field(field);
}

TEST(ReferenceDefaultsCell, ConvertsEachFieldType)
{
    struct Case
    {
        const char *name;
        const Schema::Field &field;
        QString cell;
        QVariant expected;
    };
    const Case cases[] = {
        {"decimal point", fieldOf(Tables::Find::name, Tables::Find::S2), QStringLiteral("41.99"),
            41.99},
        {"sentinel limit", fieldOf(Tables::Find::name, Tables::Find::S3), QStringLiteral("99999"),
            99999.0},
        {"integer", fieldOf(Tables::Find::name, Tables::Find::S4), QStringLiteral("7"),
            qlonglong(7)},
        {"false", fieldOf(Tables::Tapanyagok::name, Tables::Tapanyagok::Deleted),
            QStringLiteral("false"), 0},
        // the adviser file writes True/False with capitals
        {"False", fieldOf(Tables::Tanacsado::name, Tables::Tanacsado::Megjel),
            QStringLiteral("False"), 0},
        {"True", fieldOf(Tables::Mintak::name, Tables::Mintak::Szuretkor), QStringLiteral("True"),
            1},
        {"date", fieldOf(Tables::Mintak::name, Tables::Mintak::Datum), QStringLiteral("2012-07-23"),
            QStringLiteral("2012-07-23")},
        {"crop id stays text", fieldOf(Tables::Nov::name, Tables::Nov::Novid), QStringLiteral("1"),
            QStringLiteral("1")},
        // an empty limit is an empty field; an empty parameter code is empty text
        {"empty limit", fieldOf(Tables::Find::name, Tables::Find::S3), QString(), QVariant()},
        {"empty code", fieldOf(Tables::Find::name, Tables::Find::St3), QString(),
            QStringLiteral("")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const std::optional<QVariant> value = ReferenceDefaults::cellValue(c.field, c.cell, &error);
        ASSERT_TRUE(value) << error.toStdString();
        EXPECT_EQ(value->isNull(), c.expected.isNull());
        if (!c.expected.isNull()) {
            EXPECT_EQ(value->typeId(), c.expected.typeId());
            EXPECT_EQ(*value, c.expected);
        }
    }
}

TEST(ReferenceDefaultsCell, RefusesCellsTheFieldCannotHold)
{
    struct Case
    {
        const char *name;
        const Schema::Field &field;
        QString cell;
        QString error;
    };
    const Case cases[] = {
        // the files write a decimal point; a comma means the file was saved wrongly
        {"decimal comma", fieldOf(Tables::Find::name, Tables::Find::S1), QStringLiteral("1,5"),
            QStringLiteral("a(z) S1 mező értéke nem szám: „1,5”.")},
        {"fraction in an integer", fieldOf(Tables::Find::name, Tables::Find::S4),
            QStringLiteral("2.5"), QStringLiteral("a(z) S4 mező értéke nem egész szám: „2.5”.")},
        {"yes is no logical value", fieldOf(Tables::Mintak::name, Tables::Mintak::Deleted),
            QStringLiteral("igen"),
            QStringLiteral("a(z) Deleted mező értéke nem logikai érték: „igen”.")},
        {"Hungarian date", fieldOf(Tables::Mintak::name, Tables::Mintak::Datum),
            QStringLiteral("2012.07.23."),
            QStringLiteral("a(z) Datum mező értéke nem dátum: „2012.07.23.”.")},
        {"crop id of seven characters", fieldOf(Tables::Nov::name, Tables::Nov::Novid),
            QStringLiteral("1234567"),
            QStringLiteral("a(z) Novid mező értéke nem fér el 6 karakteren: „1234567”.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(ReferenceDefaults::cellValue(c.field, c.cell, &error));
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
