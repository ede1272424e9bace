#include "core/data/reference/planlookups.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/planitems.h"
#include "core/plan/textgrid.h"
#include "support/defaultreference.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

namespace M = Tables::Mintak;

class PlanLookupsTest : public ::testing::Test
{
protected:
    void SetUp() override { openDefaultReference(m_dir, m_reference); }

    QTemporaryDir m_dir;
    ReferenceDatabase m_reference;
};

TEST_F(PlanLookupsTest, CropsAreLookedUpInTheCropList)
{
    EXPECT_TRUE(PlanLookups::isKnownCrop(m_reference, QStringLiteral("1")));
    EXPECT_FALSE(PlanLookups::isKnownCrop(m_reference, QStringLiteral("987")));
    EXPECT_FALSE(PlanLookups::isKnownCrop(m_reference, PlanItems::noCrop()));
    // The first crop is one the list holds; an empty list gives the empty crop.
    EXPECT_TRUE(PlanLookups::isKnownCrop(m_reference, PlanLookups::firstCropId(m_reference)));
    ASSERT_TRUE(m_reference.replaceAllRows(Tables::Nov::name, {}));
    EXPECT_EQ(PlanLookups::firstCropId(m_reference), QStringLiteral("000000"));
}

TEST_F(PlanLookupsTest, LeafLinksTakeTheirSampleDataFromTheRegister)
{
    const std::optional<qint64> id = m_reference.insert(
        M::name, {{M::Id, 7}, {M::Mintaazon, QStringLiteral("L-12")},
                  {M::Tablassz, QStringLiteral("0452/7")}, {M::Gazdev, QStringLiteral("2026")}});
    ASSERT_TRUE(id);

    TextGrid links(5, PlanItems::leafLinkColumnCount);
    const QStringList rows[] = {
        // mark, leaf sample, lot, year, Id as the file holds them
        {"K-1", "régi", "régi", "régi", "7"},  // found: the register's data
        {"K-2", "régi", "régi", "régi", "99"}, // gone: only the mark stays
        {"K-3", "kézi", "", "", ""},           // no Id: left as it is
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column)
            links.setCell(row + 1, column, rows[row][column]);
    }
    const TextGrid filled = PlanLookups::fillLeafLinks(m_reference, links);
    const QStringList expected[] = {
        {"K-1", "L-12", "0452/7", "2026", "7"},
        {"K-2", "", "", "", ""},
        {"K-3", "kézi", "", "", ""},
    };
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(filled.row(row + 1), expected[row]) << "row " << row + 1;
}

} // namespace
