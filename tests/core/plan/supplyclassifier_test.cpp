#include "core/plan/supplyclassifier.h"

#include "core/plan/calculationstate.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "plantestdatabase.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

using Rule = SupplyClassifier::Rule;

Rule rule(const QString &st1, double s1, int level, const QString &st2 = {}, double s2 = 0,
    const QString &st3 = {}, double s3 = 0)
{
    Rule r;
    r.parameter[0] = st1;
    r.parameter[1] = st2;
    r.parameter[2] = st3;
    r.limit[0] = s1;
    r.limit[1] = s2;
    r.limit[2] = s3;
    r.level = level;
    return r;
}

// The element table after loading a one-column grid whose cells hold the texts typed.
ElementTable loaded(const QList<std::pair<int, QString>> &cells, int siteCategory = 0)
{
    PlanItems items;
    SoilSamples::initSoilGrid(items);
    items.siteCategory = siteCategory;
    for (const auto &[row, text] : cells)
        items.soilSampleTable.setCell(row, 1, text);
    ElementTable elements;
    elements.loadSampleColumn(items, 0);
    return elements;
}

} // namespace

// The walk over rule rows: a value equal to a limit stays in that limit's band.
TEST(SupplyWalkTest, TheWalkMovesDownWhileALimitIsBelowTheValue)
{
    const QList<Rule> ka = {rule("Ka", 30, 2), rule("Ka", 50, 4), rule("Ka", 99, 6)};
    // Site category, then Ka within it, then humus within that: the rows ascend by S1,
    // then S2, then S3.
    const QList<Rule> nested = {
        rule("SzT", 1, 1, "Ka", 41.99, "Hsz", 1.5),
        rule("SzT", 1, 2, "Ka", 41.99, "Hsz", 1.9),
        rule("SzT", 1, 3, "Ka", 41.99, "Hsz", 99999),
        rule("SzT", 1, 4, "Ka", 99999, "Hsz", 2),
        rule("SzT", 1, 5, "Ka", 99999, "Hsz", 99999),
        rule("SzT", 2, 6, "Ka", 37.99, "Hsz", 1.2),
        rule("SzT", 2, 7, "Ka", 99999, "Hsz", 99999),
    };
    // 7.4 held in single precision is a little above 7.4; the decimal typed is not.
    const QList<Rule> ph = {rule("Ka", 99999, 3, "Ph", 7.4), rule("Ka", 99999, 5, "Ph", 99)};
    const auto kaOf = [](const QString &text) {
        return QList<std::pair<int, QString>>{{kaRow, text}};
    };
    const auto kaHumus = [](const QString &kaText, const QString &humus) {
        return QList<std::pair<int, QString>>{{kaRow, kaText}, {humusRow, humus}};
    };
    const auto phOf = [](const QString &text) {
        return QList<std::pair<int, QString>>{{phRow, text}, {kaRow, "30"}};
    };
    const struct
    {
        const char *name;
        QList<Rule> rules;
        QList<std::pair<int, QString>> cells;
        int siteCategory; // index 0–5, SzT is one more
        int level;
    } cases[] = {
        {"30 is not less than the limit 30: the first band", ka, kaOf("30"), 0, 2},
        {"just above the first limit", ka, kaOf("30,5"), 0, 4},
        {"the second limit", ka, kaOf("50"), 0, 4},
        {"the last limit", ka, kaOf("99"), 0, 6},
        {"above every limit: the last row", ka, kaOf("120"), 0, 6},
        {"humus at its limit, typed with a comma", nested, kaHumus("30", "1,5"), 0, 1},
        {"humus just above", nested, kaHumus("30", "1,6"), 0, 2},
        {"humus above both limits of the Ka band", nested, kaHumus("41,99", "5"), 0, 3},
        {"Ka above its band moves to the next Ka rows", nested, kaHumus("42", "1"), 0, 4},
        {"second site category", nested, kaHumus("10", "1"), 1, 6},
        {"second category, Ka above its band", nested, kaHumus("50", "5"), 1, 7},
        {"a category past every row ends on the last row", nested, kaHumus("0", "0"), 2, 7},
        {"pH 7,4", ph, phOf("7,4"), 0, 3},
        {"pH 7,41", ph, phOf("7,41"), 0, 5},
        // an empty or unknown parameter counts as zero
        {"empty parameter: 0 is not above the limit 0", {rule("", 0, 1), rule("", 5, 2)},
         kaOf("45"), 0, 1},
        {"empty parameter, negative limit: one row down", {rule("", -1, 1), rule("", 5, 2)},
         kaOf("45"), 0, 2},
        {"another letter case is another code", {rule("ka", 30, 1), rule("ka", 50, 2)},
         kaOf("45"), 0, 1},
        {"the same rules with the real code", {rule("Ka", 30, 1), rule("Ka", 50, 2)}, kaOf("45"),
         0, 2},
        {"a single row", {rule("Ka", 10, 4)}, kaOf("45"), 0, 4},
        {"no rows: not determined", {}, kaOf("45"), 0, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SupplyClassifier::walkRules(c.rules, loaded(c.cells, c.siteCategory)), c.level);
    }
}

class SupplyClassifierTest : public PlanDatabaseTest
{
protected:
    void SetUp() override
    {
        PlanDatabaseTest::SetUp();
        SoilSamples::initSoilGrid(m_items);
    }

    PlanItems m_items;
    CalculationState m_state;
};

TEST_F(SupplyClassifierTest, RulesAreReadOncePerObjectAndNoRulesLeaveTheLevelOpen)
{
    SupplyClassifier first(m_database);
    EXPECT_EQ(first.classifySupply(QStringLiteral("Fe"), m_state), -1);
    setRules(QStringLiteral("Cu"), {});
    EXPECT_EQ(first.classifySupply(QStringLiteral("Cu"), m_state), -1);
    setRules(QStringLiteral("Mg"), {{"Ka", 99, {}, 0, {}, 0, 3}});
    EXPECT_EQ(first.classifySupply(QStringLiteral("Mg"), m_state), 3);
    setRules(QStringLiteral("Mg"), {{"Ka", 99, {}, 0, {}, 0, 5}});
    // the same command keeps what it read; the next command sees the edit
    EXPECT_EQ(first.classifySupply(QStringLiteral("Mg"), m_state), 3);
    SupplyClassifier next(m_database);
    EXPECT_EQ(next.classifySupply(QStringLiteral("Mg"), m_state), 5);
}

TEST_F(SupplyClassifierTest, ALinkedLeafSampleGivesTheLevelOfNPKAndMg)
{
    setRules(QStringLiteral("N"), {{"Ka", 99, {}, 0, {}, 0, 3}});
    setRules(QStringLiteral("Zn"), {{"Ka", 99, {}, 0, {}, 0, 4}});
    QStringList asked;
    SupplyClassifier classifier(m_database);
    classifier.setLeafLevel([&](const QString &code, const QString &) -> std::optional<int> {
        asked.append(code);
        if (code == QLatin1String("P"))
            return std::nullopt; // no linked leaf sample: the soil rules decide
        return 6;
    });

    EXPECT_EQ(classifier.classifySupply(QStringLiteral("N"), m_state), 3); // leaf mode off
    EXPECT_TRUE(asked.isEmpty());

    m_state.withLeafAnalysis = true;
    EXPECT_EQ(classifier.classifySupply(QStringLiteral("N"), m_state), 6);
    EXPECT_EQ(classifier.classifySupply(QStringLiteral("Mg"), m_state), 6);
    EXPECT_EQ(classifier.classifySupply(QStringLiteral("Zn"), m_state), 4); // soil only
    setRules(QStringLiteral("P"), {{"Ka", 99, {}, 0, {}, 0, 2}});
    EXPECT_EQ(classifier.classifySupply(QStringLiteral("P"), m_state), 2);
    EXPECT_EQ(asked, QStringList({"N", "Mg", "P"}));
}

TEST_F(SupplyClassifierTest, SupplyLevelListHasARowPerSoilColumn)
{
    setRules(QStringLiteral("N"), {{"Hsz", 2, {}, 0, {}, 0, 2}, {"Hsz", 99999, {}, 0, {}, 0, 5}});
    setRules(QStringLiteral("P"), {{"Po", 100, {}, 0, {}, 0, 3}, {"Po", 99999, {}, 0, {}, 0, 7}});
    setRules(QStringLiteral("K"), {});
    SoilSamples::setSampleCount(m_items, 2);
    // mark, humus, P of the average and the two samples; "sok" keeps sample 1's 100
    const int rows[] = {1, humusRow, phosphorusRow};
    const QStringList columns[] = {
        {"Átlag", "1,5", "150"}, {"TVG1", "2", "100"}, {"TVG2", "3", "sok"}};
    for (int column = 1; column <= 3; ++column) {
        for (int k = 0; k < 3; ++k)
            m_items.soilSampleTable.setCell(rows[k], column, columns[column - 1][k]);
    }
    for (int entry : {ElementTable::N, ElementTable::P, ElementTable::K, ElementTable::Fe})
        m_state.elements.entry(entry).selected = true;

    SupplyClassifier classifier(m_database);
    const ResultTable result = showSupplyLevels(m_items, m_state, classifier).value();
    // Vas is selected but lists no supply level
    EXPECT_EQ(result.headings, QStringList({"", "Nitrogén", "Foszfor", "Kálium"}));
    ASSERT_EQ(result.rowCount(), 3); // the average, then the two samples
    // 1.5 is under the humus limit 2, 150 over the P limit 100; K has no rules
    EXPECT_EQ(result.rows[0], QStringList({"Átlag", "Gyenge", "Igen jó", "---"}));
    // both values at their limits
    EXPECT_EQ(result.rows[1], QStringList({"TVG1", "Gyenge", "Közepes", "---"}));
    EXPECT_EQ(result.rows[2], QStringList({"TVG2", "Jó", "Közepes", "---"}));
}

TEST_F(SupplyClassifierTest, ManganeseByTheBuiltInRules)
{
    // The default manganese rules: Ka bands up to 37, 50 and above, pH bands up to 5.49,
    // 7.49 and above, then the soil's Mn content decides between "Gyenge" and "Megfelelő".
    const struct
    {
        QString ka;
        QString ph;
        QString manganese;
        QString level;
    } cases[] = {
        {"38", "7,4", "13", "Gyenge"}, // Ka over 37, pH up to 7.49: limit 13 inclusive
        {"38", "7,4", "13,5", "Megfelelő"},
        {"37", "5,49", "26", "Gyenge"}, // every value at its limit stays in the first band
        {"37", "5,5", "7", "Gyenge"}, // pH over 5.49: the limit becomes 7
        {"37", "5,5", "7,01", "Megfelelő"},
        {"120", "8", "7", "Gyenge"}, // above every Ka and pH limit
        {"120", "8", "8", "Megfelelő"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.ka + u'/' + c.ph + u'/' + c.manganese).toStdString());
        m_items.soilSampleTable.setCell(kaRow, 1, c.ka);
        m_items.soilSampleTable.setCell(phRow, 1, c.ph);
        m_items.soilSampleTable.setCell(9, 1, c.manganese);
        m_state.elements.entry(ElementTable::Mn).selected = true;
        SupplyClassifier classifier(m_database);
        const ResultTable result = showSupplyLevels(m_items, m_state, classifier).value();
        ASSERT_EQ(result.rowCount(), 1); // no samples: the average alone
        EXPECT_EQ(result.headings, QStringList({"", "Mangán"}));
        EXPECT_EQ(result.rows[0], QStringList({"Átlag", c.level}));
    }
}
