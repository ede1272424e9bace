#include "core/data/reference/adviserrecord.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "support/defaultreference.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace F = Tables::Tanacsado;

// Nev, Irany, Telep, Cim, Tel, Fax, Email, Regsz, Szerv, Megjel
AdviserRecord adviser(const QStringList &texts, bool megjel)
{
    return {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], texts[7],
            texts[8], megjel};
}

AdviserRecord sampleAdviser()
{
    return adviser({"Kovács Ödön", "9400", "Sopron", "Ősz utca 12.", "+36 99 123 456",
                    "+36 99 123 457", "kovacs@example.hu", "SZT-0042", "Győri Agrárkamara"},
                   true);
}

class AdviserRecordTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openDefaultReference(m_directory, m_database);
    }

    QList<QVariantMap> rows() const
    {
        return m_database.select(F::name).value_or(QList<QVariantMap>());
    }

    QTemporaryDir m_directory;
    ReferenceDatabase m_database;
};

} // namespace

// The built-in row is read with its logical field; a store changes the first row only, even
// when an equal copy follows (picking the row by what it holds would change both); a post
// code longer than four is refused and nothing changes.
TEST_F(AdviserRecordTest, BuiltInRowIsReadAndAStoreChangesTheFirstRowOnly)
{
    QString error;
    const AdviserRecord builtIn = AdviserRecord::readAdviser(m_database, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    // the Fax empty in the defaults, Megjel "False"
    EXPECT_EQ(builtIn, adviser({"Minta Szaktanácsadó", "9330", "Kapuvár", "Fő utca 1.",
                                "+36 96 000 000", "", "szaktanacsado@example.hu", "DEMO-0001",
                                "Bemutató szaktanácsadói hálózat"},
                               false));

    AdviserRecord tooLong = sampleAdviser();
    tooLong.Irany = QStringLiteral("94001");
    EXPECT_FALSE(AdviserRecord::storeAdviser(m_database, tooLong, &error));
    EXPECT_EQ(
        error, QStringLiteral("A(z) Tanacsado.Irany mező legfeljebb 4 karakter lehet: „94001”."));
    EXPECT_EQ(AdviserRecord::readAdviser(m_database), builtIn);

    ASSERT_TRUE(m_database.insert(F::name, rows().first()).has_value());
    ASSERT_TRUE(AdviserRecord::storeAdviser(m_database, sampleAdviser()));
    const QList<QVariantMap> after = rows();
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(after.at(1).value(F::Nev).toString(), QStringLiteral("Minta Szaktanácsadó"));
    EXPECT_EQ(AdviserRecord::readAdviser(m_database), sampleAdviser());
}

// An empty table reads as an empty record and gains one row, which later stores change;
// a refused store adds none.
TEST_F(AdviserRecordTest, EmptyTableGainsOneRowAndLaterStoresChangeIt)
{
    ASSERT_GE(m_database.remove(F::name, {}), 0);
    QString error;
    EXPECT_EQ(AdviserRecord::readAdviser(m_database, &error), AdviserRecord());
    EXPECT_TRUE(error.isEmpty());
    AdviserRecord tooLong = sampleAdviser();
    tooLong.Irany = QStringLiteral("94001");
    EXPECT_FALSE(AdviserRecord::storeAdviser(m_database, tooLong));
    EXPECT_EQ(rows().size(), 0);

    const AdviserRecord first = sampleAdviser();
    ASSERT_TRUE(AdviserRecord::storeAdviser(m_database, first, &error)) << error.toStdString();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows().first().value(F::Cim).toString(), QStringLiteral("Ősz utca 12."));
    EXPECT_EQ(rows().first().value(F::Megjel), QVariant(true));
    EXPECT_EQ(AdviserRecord::readAdviser(m_database), first);

    AdviserRecord second = first;
    second.Nev = QStringLiteral("Szabó Éva");
    second.Tel.clear();
    second.Megjel = false;
    ASSERT_TRUE(AdviserRecord::storeAdviser(m_database, second, &error)) << error.toStdString();
    EXPECT_EQ(rows().size(), 1);
    EXPECT_EQ(AdviserRecord::readAdviser(m_database), second);
}

TEST(AdviserLine, NamesIdentifierAndPhoneWhereGiven)
{
    struct Case
    {
        const char *what;
        bool megjel;
        QString regsz;
        QString tel;
        QString expected;
    };
    const Case cases[] = {
        {"phone without identifier", true, QString(), QStringLiteral("06 30 111 2222"),
            QStringLiteral("Tervet készítette: Kovács Ödön (tel.: 06 30 111 2222 )")},
        {"identifier and phone", true, QStringLiteral("SZT-0042"), QStringLiteral("06 30 111 2222"),
            QStringLiteral(
                "Tervet készítette: Kovács Ödön, azonosító: SZT-0042 (tel.: 06 30 111 2222 )")},
        {"identifier without phone", true, QStringLiteral("SZT-0042"), QString(),
            QStringLiteral("Tervet készítette: Kovács Ödön, azonosító: SZT-0042")},
        {"name alone", true, QString(), QString(),
            QStringLiteral("Tervet készítette: Kovács Ödön")},
        // not to be shown: nothing at all, whatever the other fields hold
        {"not shown", false, QStringLiteral("SZT-0042"), QStringLiteral("06 30 111 2222"),
            QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        AdviserRecord record;
        record.Nev = QStringLiteral("Kovács Ödön");
        record.Fax = QStringLiteral("06 99 000 000"); // never on the line
        record.Megjel = c.megjel;
        record.Regsz = c.regsz;
        record.Tel = c.tel;
        EXPECT_EQ(record.adviserLine(), c.expected);
    }
}
