#include "core/leaf/leafregister.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/leaf/leaflimits.h"
#include "support/defaultreference.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

namespace M = Tables::Mintak;

class LeafRegisterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openDefaultReference(m_dir, m_reference);
        // start from an empty register
        ASSERT_TRUE(m_reference.replaceAllRows(M::name, {}));
    }

    qint64 addRow(const QString &year, QDate date, const QVariant &species, const QString &mark)
    {
        return *m_reference.insert(M::name,
            {{M::Gazdev, year}, {M::Datum, date}, {M::Fajid, species}, {M::Mintaazon, mark}});
    }

    QStringList listedMarks() const
    {
        QStringList marks;
        const QList<LeafSample> samples = LeafRegister::list(m_reference).value();
        for (const LeafSample &sample : samples)
            marks.append(sample.sampleMark);
        return marks;
    }

    QTemporaryDir m_dir;
    ReferenceDatabase m_reference;
};

} // namespace

// Listed by farming year, then date (stored so that it sorts as a date); results without a
// known species and deleted ones are left out; a row stored without a Deleted mark counts
// as not deleted, in every list alike.
TEST_F(LeafRegisterTest, ListingOrderAndWhatIsLeftOut)
{
    addRow("2013", QDate(2013, 8, 2), 1, "b");
    addRow("2012", QDate(2012, 12, 1), 2, "a2");
    addRow("2013", QDate(2013, 10, 1), 1, "c");
    addRow("2012", QDate(2012, 9, 30), 5, "a1");
    addRow("2013", QDate(2013, 1, 1), QVariant(), "no species");
    addRow("2013", QDate(2013, 1, 1), 99, "unknown species");
    const qint64 gone = addRow("2011", QDate(2011, 1, 1), 1, "deleted");
    ASSERT_TRUE(LeafRegister::remove(m_reference, gone));

    EXPECT_EQ(listedMarks(), QStringList({"a1", "a2", "b", "c"}));
    EXPECT_EQ(LeafRegister::list(m_reference)->first().species, QStringLiteral("Őszibarack"));
    EXPECT_EQ(m_reference.count(M::name, {}, ReferenceDatabase::DeletedRows::Included), 7);
    EXPECT_EQ(m_reference.count(M::name), 6);
}

// Add, change and bad numbers: a refused entry writes nothing.
TEST_F(LeafRegisterTest, EntriesStoredChangedAndRefused)
{
    LeafEntry entry;
    entry.farmingYear = "2014", entry.sampleMark = "L1", entry.area = "1,5";
    entry.date = QDate(2014, 7, 20);
    entry.contents[0] = "2,4";
    entry.atHarvest = true;

    const struct
    {
        std::optional<int> species;
        QString area, magnesium, refusal;
    } refusals[] = {{std::nullopt, "1,5", "", "Kérem válassza ki a növény faját!"},
        {1, "1.5", "", "A terület nem szám: 1.5"},
        {1, "1,5", "x", "A(z) Mg -tartalom nem szám: x"}};
    for (const auto &refusal : refusals) {
        LeafEntry bad = entry;
        bad.speciesId = refusal.species, bad.area = refusal.area,
        bad.contents[4] = refusal.magnesium;
        QString error;
        EXPECT_FALSE(LeafRegister::save(m_reference, bad, std::nullopt, &error));
        EXPECT_EQ(error, refusal.refusal);
        EXPECT_EQ(m_reference.count(M::name, {}, ReferenceDatabase::DeletedRows::Included), 0);
    }

    entry.speciesId = 1;
    ASSERT_TRUE(LeafRegister::save(m_reference, entry, std::nullopt));
    QList<LeafSample> listed = *LeafRegister::list(m_reference);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.first().area, 1.5);
    EXPECT_EQ(listed.first().contents[0], 2.4);
    EXPECT_FALSE(listed.first().contents[3].has_value());
    EXPECT_TRUE(listed.first().atHarvest);

    LeafEntry changed = LeafRegister::entryOf(listed.first());
    EXPECT_EQ(changed.area, QStringLiteral("1,5"));
    changed.contents[0] = "3";
    changed.speciesId = 2;
    ASSERT_TRUE(LeafRegister::save(m_reference, changed, listed.first().id));
    listed = *LeafRegister::list(m_reference);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.first().contents[0], 3.0);
    EXPECT_EQ(listed.first().species, QStringLiteral("Körte"));
    EXPECT_EQ(listed.first().date, QDate(2014, 7, 20));
}

// The built-in class limits: the revised apple N scale has three classes, grape none for Ca.
TEST_F(LeafRegisterTest, BuiltInLimitsAscendPerScale)
{
    const LeafLimits limits = *LeafLimits::read(m_reference);
    QList<double> apple;
    const QList<LeafLimit> appleScale = limits.scale(1, 0, "N");
    for (const LeafLimit &limit : appleScale)
        apple.append(limit.limit);
    EXPECT_EQ(apple, QList<double>({1.89, 2.7, 4.05}));
    EXPECT_TRUE(limits.scale(8, 0, "Ca").isEmpty());
    EXPECT_EQ(limits.scale(8, 1, "N").size(), 5);
}
