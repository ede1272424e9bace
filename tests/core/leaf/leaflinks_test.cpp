#include "core/leaf/leaflinks.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/leaf/leaflinklevels.h"
#include "core/plan/planitems.h"
#include "support/defaultreference.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

namespace M = Tables::Mintak;
namespace H = Tables::Hatar;

// An apple register (species 1, sampled before harvest) and the N scale 2,0 (−1), 2,5 (0),
// 3,0 (+1); the Mg scale carries a grade no level is named for.
class LeafLinksTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openDefaultReference(m_dir, m_reference);
        ASSERT_TRUE(m_reference.replaceAllRows(M::name, {}));
        QList<QVariantMap> limits;
        for (const auto &[element, limit, grade] :
             {std::tuple {"N", 2.0, -1}, {"N", 2.5, 0}, {"N", 3.0, 1}, {"Mg", 0.2, 5}})
            limits.append({{H::Fajid, 1}, {H::Szezon, 0}, {H::Elem, QString::fromLatin1(element)},
                           {H::Hatar, limit}, {H::Ertek, grade}, {H::Ertekeles, QString()}});
        ASSERT_TRUE(m_reference.replaceAllRows(H::name, limits));
    }

    QString addSample(const QString &mark, const QVariant &n, bool deleted = false)
    {
        return QString::number(*m_reference.insert(
            M::name, {{M::Mintaazon, mark}, {M::Fajid, 1}, {M::Szuretkor, false}, {M::N, n},
                      {M::P, 0.18}, {M::K, 1.45}, {M::Ca, 1.7}, {M::Mg, 0.3},
                      {M::Gazdev, QStringLiteral("2012")}, {M::Tablassz, QStringLiteral("3")},
                      {M::Deleted, deleted}}));
    }

    // Link rows of (soil mark, leaf mark, leaf Id), between the headings and the empty row.
    static TextGrid linksOf(const QList<QStringList> &rows)
    {
        TextGrid links(int(rows.size()) + 2, LeafLinks::columnCount);
        for (int row = 0; row < rows.size(); ++row) {
            links.setCell(row + 1, LeafLinks::SoilMark, rows[row][0]);
            links.setCell(row + 1, LeafLinks::LeafMark, rows[row][1]);
            links.setCell(row + 1, LeafLinks::LeafId, rows[row][2]);
        }
        return links;
    }

    QTemporaryDir m_dir;
    ReferenceDatabase m_reference;
};

} // namespace

TEST_F(LeafLinksTest, LeafLevelsFollowTheLimitsAndFallBackToTheSoilRules)
{
    const QString low = addSample("La", 1.8), mid = addSample("Lb", 2.2), at = addSample("Lc", 2.5);
    const QString gone = addSample("Ld", 2.2, true), empty = addSample("Le", QVariant());
    LeafLinkLevels levels(m_reference,
                          linksOf({{"S-a", "La", low}, {"S-b", "La", low}, {"S-b", "Lb", mid},
                                   {"S-b", "L?", "x"}, {"S-c", "Lc", at}, {"S-d", "Ld", gone},
                                   {"S-e", "Le", empty}, {"S-x", "Lx", "1,5"}}));
    const struct
    {
        const char *what;
        QString soilMark, code;
        std::optional<int> level;
    } cases[] = {
        {"1,8 is below the first limit: Gyenge whatever its grade", "S-a", "N", 2},
        {"2,2: the class above 2,0, grade 0: Megfelelő", "S-b", "N", 4},
        {"2,5 equals a limit and goes to the class above it: Jó", "S-c", "N", 5},
        {"no link", "S-z", "N", std::nullopt},
        {"the leaf sample was deleted", "S-d", "N", std::nullopt},
        {"the leaf sample lacks the content", "S-e", "N", std::nullopt},
        {"an Id that is not a whole number", "S-x", "N", std::nullopt},
        {"an empty mark meets no trailing empty row", "", "N", std::nullopt},
        {"no limits for the element", "S-a", "K", std::nullopt},
        {"a grade outside -3…+3", "S-c", "Mg", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(levels.level(c.soilMark, c.code), c.level);
    }
    // the column of the later of two links takes its mark; columns left to the soil rules none
    EXPECT_EQ(levels.markOf(QStringLiteral("S-b")), QStringLiteral("Lb*"));
    EXPECT_EQ(levels.markOf(QStringLiteral("S-d")), QString());
    // beyond the last limit the last grade counts
    EXPECT_EQ(LeafLinkLevels::walkLimits({{2.0, -1, {}}, {3.0, 1, {}}}, 3.5), 5);

    EXPECT_EQ(LeafLinks::leafResults(m_reference, linksOf({{"S-a", "La", low}, {"S-d", "Ld", gone}})),
              QList<QStringList>({{"La", "1,8", "0,18", "1,45", "0,3", "1,7"},
                                  {"Ld", "", "", "", "", ""}}));
}

TEST_F(LeafLinksTest, LinksAreAddedBeforeTheEmptyRowAndOnlyLinksAreRemoved)
{
    LeafSample sample;
    sample.id = 7;
    sample.sampleMark = QStringLiteral("L-7");
    sample.fieldSerial = QStringLiteral("3");
    sample.farmingYear = QStringLiteral("2012");
    TextGrid links(2, LeafLinks::columnCount);
    for (int count = 1; count <= PlanItems::maxLeafLinks; ++count)
        links = *LeafLinks::addLink(links, QStringLiteral("M-%1").arg(count), sample);
    EXPECT_EQ(links.row(1), QStringList({"M-1", "L-7", "3", "2012", "7"}));
    EXPECT_EQ(links.row(128), QStringList(5, QString()));
    EXPECT_EQ(LeafLinks::addLink(links, QStringLiteral("M-0"), sample).refusalText(),
              QStringLiteral("A terv legfeljebb 127 talaj- és levélminta-kapcsolatot tartalmazhat."));

    EXPECT_FALSE(LeafLinks::removeLink(links, 0));   // the headings
    EXPECT_FALSE(LeafLinks::removeLink(links, 128)); // the empty row
    const TextGrid fewer = *LeafLinks::removeLink(links, 1);
    EXPECT_EQ(fewer.rowCount(), 128);
    EXPECT_EQ(fewer.cell(1, 0), QStringLiteral("M-2"));
    EXPECT_EQ(fewer.row(127), QStringList(5, QString()));
}
