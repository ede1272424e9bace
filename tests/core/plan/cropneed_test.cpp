#include "core/plan/cropneed.h"

#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/elementtable.h"
#include "core/plan/needcalculation.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "core/plan/split.h"
#include "core/plan/supplyclassifier.h"
#include "plantestdatabase.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

namespace Find2 = Tables::Find2;

const QString crop = QStringLiteral("990001"); // a crop of the tests only

class CropNeedTest : public PlanCalculationTest
{
protected:
    void SetUp() override
    {
        PlanCalculationTest::SetUp();
        // N by humus: up to 2 "Gyenge", above "Igen jó"; P by its soil content: up to 50
        // "Igen gyenge", 100 "Közepes", 200 "Megfelelő", above "Igen jó"; K always
        // "Igen gyenge".
        setRules(
            QStringLiteral("N"), {{"Hsz", 2, {}, 0, {}, 0, 2}, {"Hsz", 99999, {}, 0, {}, 0, 7}});
        setRules(QStringLiteral("P"),
            {{"Po", 50, {}, 0, {}, 0, 1}, {"Po", 100, {}, 0, {}, 0, 3},
                {"Po", 200, {}, 0, {}, 0, 4}, {"Po", 99999, {}, 0, {}, 0, 7}});
        setRules(QStringLiteral("K"), {{"Ko", 99999, {}, 0, {}, 0, 1}});
        // Site category III (Sztid 3). The P row has no "Igen jó" value.
        addNeed(crop, QStringLiteral("N"), 3, {{Find2::Gy, 2.5}, {Find2::I, 1.5}});
        addNeed(
            crop, QStringLiteral("P"), 3, {{Find2::Igy, 1.5}, {Find2::K, 1.2}, {Find2::M, 0.8}});
        addNeed(crop, QStringLiteral("K"), 3, {{Find2::Igy, 25}});
        // the same crop in another site category must not be read
        addNeed(crop, QStringLiteral("N"), 4, {{Find2::Gy, 99}});

        startPlan(crop, 2);
    }

    void setColumn(int column, const QString &mark, const QList<std::pair<int, QString>> &cells)
    {
        m_items.soilSampleTable.setCell(1, column, mark);
        for (const auto &[row, text] : cells)
            m_items.soilSampleTable.setCell(row, column, text);
    }

};

const QList<int> allDosable = {ElementTable::N, ElementTable::P, ElementTable::K, ElementTable::Mg,
    ElementTable::Zn, ElementTable::Mn, ElementTable::Cu};

} // namespace

TEST(CropNeedRulesTest, AmountsByTheFixedRules)
{
    using E = ElementTable;
    struct Case
    {
        const char *name;
        int entry;
        double doseN, doseK, ka, ph;
        int phosphorusLevel;
        double amount;
    };
    // the cells the need and dose lists below and the corrections tests work through are left out
    const double y = 6;
    const QList<Case> cases = {
        {"Mg: Ka 30 starts the middle band", E::Mg, 0, 0, 30, 7, 0, 30},
        {"Mg: Ka over 42", E::Mg, 0, 200, 42.1, 7, 0, 40},
        {"Mg: K over 200, light soil", E::Mg, 0, 200.1, 10, 7, 0, 30},
        {"Mg: K over 200, heavy soil", E::Mg, 0, 300, 43, 7, 0, 60},
        {"Zn: P level 2 whatever the pH", E::Zn, 0, 0, 0, 8, 2, 0.05 * y},
        {"Zn: P level 3, acid", E::Zn, 0, 0, 0, 5.9, 3, 5},
        {"Zn: P level 3, pH 6 is no longer acid", E::Zn, 0, 0, 0, 6, 3, 3},
        {"Zn: P level 4, acid", E::Zn, 0, 0, 0, 5.99, 4, 10},
        {"Zn: P level 6, pH 6", E::Zn, 0, 0, 0, 6, 6, 5},
        {"Zn: P level not determined", E::Zn, 0, 0, 0, 6, -1, -1},
        {"Zn: no level 0", E::Zn, 0, 0, 0, 6, 0, -1},
        {"Mn: 100 kg N is the lower band, pH 7.4 the middle", E::Mn, 100, 0, 0, 7.4, 0, 6},
        {"Mn: pH 7 starts the middle band", E::Mn, 100, 0, 0, 7.0, 0, 6},
        {"Mn: acid", E::Mn, 50, 0, 0, 6.99, 0, 12},
        {"Mn: alkaline", E::Mn, 0, 0, 0, 7.41, 0, 3},
        {"Mn: over 100 kg N, middle pH", E::Mn, 100.5, 0, 0, 7.4, 0, 3},
        {"Cu: 100 kg N is the middle band", E::Cu, 100, 0, 29.9, 7, 0, 3},
        {"Cu: under 100 kg N", E::Cu, 99.9, 0, 29.9, 7, 0, 2},
        {"Cu: 200 kg N still the middle band", E::Cu, 200, 0, 30, 7, 0, 6},
        {"Cu: over 200 kg N, Ka 42", E::Cu, 200.1, 0, 42, 7, 0, 7},
        {"Cu: heavy soil, middle N", E::Cu, 150, 0, 43, 7, 0, 8},
        {"Cu: heavy soil, much N", E::Cu, 250, 0, 43, 7, 0, 10},
        {"N has no fixed rule", E::N, 0, 0, 0, 7, 3, -1},
        {"a soil parameter has none", E::Ka, 0, 0, 0, 7, 3, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CropNeedCalculator::ruleAmount(
                      c.entry, y, c.doseN, c.doseK, c.ka, c.ph, c.phosphorusLevel),
            c.amount);
    }
}

TEST_F(CropNeedTest, MicroElementNeedsRoundUpToThousandths)
{
    struct Case
    {
        const char *name;
        int entry;
        double doseN, doseK;
        QString ka, ph, phosphorus, yield;
        double need;
    };
    // 3,334 at yield 6, a manganese need of 0 and zinc at P level 7 are in the list tests below
    const QList<Case> cases = {
        {"Mg 20 at yield 0,7: 28.5714...", ElementTable::Mg, 0, 0, "10", "7", "", "0,7", 28.572},
        {"Mg 45 at yield 0,9 is exactly 50", ElementTable::Mg, 0, 250, "35", "7", "", "0,9", 50},
        {"Zn 0.3 at yield 6 is 0.05, not raised", ElementTable::Zn, 0, 0, "", "7", "10", "6", 0.05},
        {"Zn 3 at yield 7: 0.42857...", ElementTable::Zn, 0, 0, "", "7", "80", "7", 0.429},
        {"Cu 7 at yield 0,7 is exactly 10", ElementTable::Cu, 0, 0, "43", "7", "", "0,7", 10},
        {"Mn is not rounded", ElementTable::Mn, 0, 0, "", "5", "", "7", 12.0 / 7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setColumn(1, QStringLiteral("Átlag"),
            {{kaRow, c.ka}, {phRow, c.ph}, {phosphorusRow, c.phosphorus}});
        m_items.plannedYield = c.yield;
        m_state.elements = ElementTable();
        m_state.elements.loadSampleColumn(m_items, 0);
        m_state.doseN = c.doseN;
        m_state.doseK = c.doseK;
        EXPECT_EQ(m_calculator.specificNeed(c.entry, m_items, m_state).value(), c.need);
        // the fixed rules never store a dose
        EXPECT_EQ(m_state.doseN, c.doseN);
        EXPECT_EQ(m_state.doseK, c.doseK);
    }
}

TEST_F(CropNeedTest, MicroElementsNeedAUsableYield)
{
    setColumn(1, QStringLiteral("Átlag"), {{kaRow, "35"}, {phRow, "6,5"}, {phosphorusRow, "80"}});
    m_state.elements.loadSampleColumn(m_items, 0);
    for (const QString yield : {"", "sok", "0", "-2", "6.5"}) {
        SCOPED_TRACE(yield.toStdString());
        m_items.plannedYield = yield;
        for (int entry : {ElementTable::Mg, ElementTable::Zn, ElementTable::Mn, ElementTable::Cu}) {
            SCOPED_TRACE(entry);
            EXPECT_EQ(m_calculator.specificNeed(entry, m_items, m_state).value(), -1);
        }
    }
}

TEST_F(CropNeedTest, NPKNeedsComeFromTheCropsRowAtTheSupplyLevel)
{
    struct Case
    {
        const char *name;
        int entry;
        QString humus, phosphorus;
        QString yield;
        bool correctionsApplied;
        double need;
        double doseN, doseK;
    };
    const QList<Case> cases = {
        // the levels, column I and the stored N and K doses are worked through in the lists below
        {"P stores no dose", ElementTable::P, "", "150", "8", false, 0.8, 0, 0},
        {"while corrected, N leaves the doses", ElementTable::N, "1,5", "", "8", true, 2.5, 0, 0},
        {"no yield: no dose", ElementTable::N, "1,5", "", "", false, 2.5, 0, 0},
        {"a yield that is no number: no dose", ElementTable::K, "", "", "nyolc", false, 25, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setColumn(1, QStringLiteral("Átlag"), {{humusRow, c.humus}, {phosphorusRow, c.phosphorus}});
        m_items.plannedYield = c.yield;
        m_state = CalculationState();
        m_state.correctionsApplied = c.correctionsApplied;
        m_state.elements.loadSampleColumn(m_items, 0);
        const Outcome<double> need = m_calculator.specificNeed(c.entry, m_items, m_state);
        ASSERT_FALSE(need.isRefused()) << need.refusalText().toStdString();
        EXPECT_EQ(*need, c.need);
        EXPECT_EQ(m_state.doseN, c.doseN);
        EXPECT_EQ(m_state.doseK, c.doseK);
    }
}

TEST_F(CropNeedTest, NPKWithoutARowOrWithoutALevel)
{
    setColumn(1, QStringLiteral("Átlag"), {{humusRow, "1,5"}});
    m_state.elements.loadSampleColumn(m_items, 0);

    m_items.siteCategory = 0; // the crop has no row for site category I
    EXPECT_EQ(m_calculator.specificNeed(ElementTable::N, m_items, m_state).value(), 0);
    m_items.siteCategory = 3; // site category IV has the row with 99 in "Gy"
    EXPECT_EQ(m_calculator.specificNeed(ElementTable::N, m_items, m_state).value(), 99);

    m_items.siteCategory = 2;
    setRules(QStringLiteral("N"), {});
    SupplyClassifier classifier(m_database);
    CropNeedCalculator calculator(m_database, classifier);
    m_state.doseN = 55;
    // no level: no column to read, and no dose for Mn and Cu to build on
    EXPECT_EQ(calculator.specificNeed(ElementTable::N, m_items, m_state).value(), -1);
    EXPECT_EQ(m_state.doseN, 0);
}

TEST_F(CropNeedTest, AnUnreadableReferenceRefusesEveryListThatReadsIt)
{
    select(allDosable);
    setColumn(1, QStringLiteral("Átlag"), {{humusRow, "1,5"}});
    m_state.elements.loadSampleColumn(m_items, 0);
    const ReferenceDatabase closed;
    NeedCalculation need(closed);
    const QString message = QStringLiteral("A referencia-adatbázis nincs megnyitva.");

    EXPECT_EQ(need.calculator.specificNeed(ElementTable::N, m_items, m_state).refusalText(),
        message);
    // the fixed rules of the micro elements read no table
    EXPECT_FALSE(need.calculator.specificNeed(ElementTable::Mg, m_items, m_state).isRefused());
    EXPECT_EQ(showSpecificNeeds(m_items, m_state, need.calculator).refusalText(), message);
    EXPECT_EQ(showRecommendedDoses(m_items, m_state, need.calculator).refusalText(), message);
    EXPECT_EQ(Corrections::computeCorrectedDoses(
                  m_items, m_state, need.calculator, need.classifier)
                  .refusalText(),
        message);
    EXPECT_FALSE(m_state.correctionsApplied); // a refused correction leaves no trace
    EXPECT_EQ(showSplit(m_items, m_state, closed).refusalText(), message);
}

TEST_F(CropNeedTest, RecommendedDosesForEveryColumn)
{
    select(allDosable);
    SoilSamples::setSampleCount(m_items, 2);
    // Average: N level 2, P level 4, Ka 42, pH 7,4.
    setColumn(1, QStringLiteral("Átlag"),
        {{phRow, "7,4"}, {kaRow, "42"}, {humusRow, "1,5"}, {phosphorusRow, "150"},
            {potassiumRow, "10"}});
    // Sample 1: N level 7, P level 7 (no value, and no zinc rule), light acid soil.
    setColumn(2, QStringLiteral("TVG1"),
        {{phRow, "5"}, {kaRow, "29,9"}, {humusRow, "3"}, {phosphorusRow, "250"},
            {potassiumRow, "10"}});
    // Sample 2: its Ka is no number, so sample 1's 29,9 stays; P level 1.
    setColumn(3, QStringLiteral("TVG2"),
        {{phRow, "6"}, {kaRow, "nem szám"}, {humusRow, "1"}, {phosphorusRow, "10"},
            {potassiumRow, "10"}});
    m_state.correctionsApplied = true; // left by an earlier correction

    const RecommendedDoses result = showRecommendedDoses(m_items, m_state, m_calculator).value();
    EXPECT_FALSE(m_state.correctionsApplied);

    const TextGrid &needs = result.needs.grid;
    ASSERT_EQ(needs.rowCount(), 4);
    ASSERT_EQ(needs.columnCount(), 8);
    EXPECT_EQ(needs.row(0),
        QStringList({"", "Nitrogén", "Foszfor", "Kálium", "Magnézium", "Cink", "Mangán", "Réz"}));
    // Average, yield 8: N dose 20, K dose 200.
    //   Mg 30 (K 200, Ka 42) / 8 = 3.75; Zn 5 (P level 4, pH 7.4) / 8 = 0.625;
    //   Mn 6 (N 20, pH 7.4) / 8 = 0.75; Cu 5 (Ka 42, N 20) / 8 = 0.625.
    EXPECT_EQ(
        needs.row(1), QStringList({"Átlag", "2,5", "0,8", "25", "3,75", "0,625", "0,75", "0,625"}));
    // Sample 1: N 1.5 (dose 12); Mg 20 / 8 = 2.5; Mn 12 (acid) / 8 = 1.5; Cu 2 / 8 = 0.25.
    EXPECT_EQ(needs.row(2), QStringList({"TVG1", "1,5", "---", "25", "2,5", "---", "1,5", "0,25"}));
    // Sample 2: P 1.5 at level 1; Zn 0.05 × 8 / 8 = 0.05; Mn 12 at pH 6.
    EXPECT_EQ(
        needs.row(3), QStringList({"TVG2", "2,5", "1,5", "25", "2,5", "0,05", "1,5", "0,25"}));
    EXPECT_TRUE(result.needs.caption.isEmpty());
    EXPECT_FALSE(result.needs.yieldMissing);

    const ResultTable &doses = result.doses;
    EXPECT_EQ(doses.reportTitle, QStringLiteral("Javasolt adag: (kg/ha)"));
    EXPECT_EQ(doses.headings, needs.row(0));
    // need × 8 kg/ha: the 2.5 kg/t of N make 20 kg/ha
    EXPECT_EQ(doses.rows,
        (QList<QStringList> {{"Átlag", "20", "6,4", "200", "30", "5", "6", "5"},
            {"TVG1", "12", "---", "200", "20", "---", "12", "2"},
            {"TVG2", "20", "12", "200", "20", "0,4", "12", "2"}}));
}

TEST_F(CropNeedTest, RoundedNeedGivesItsDose)
{
    // x = 20 for magnesium (K dose 150, Ka 29,9) at yield 6: 3.334 kg/t, 20.004 kg/ha.
    select({ElementTable::K, ElementTable::Mg});
    setColumn(1, QStringLiteral("Átlag"), {{kaRow, "29,9"}, {potassiumRow, "10"}});
    m_items.plannedYield = QStringLiteral("6");
    const RecommendedDoses result = showRecommendedDoses(m_items, m_state, m_calculator).value();
    EXPECT_EQ(result.needs.grid.row(1), QStringList({"Átlag", "25", "3,334"}));
    EXPECT_EQ(result.doses.rows, (QList<QStringList> {{"Átlag", "150", "20,004"}}));
}

TEST_F(CropNeedTest, ShowingNeedsWhileCorrectedUsesNoDoses)
{
    // K need 30 at yield 8 makes 240 kg/ha, over the Mg limit of 200 once it is stored.
    addNeed(QStringLiteral("990002"), QStringLiteral("K"), 3, {{Find2::Igy, 30}});
    m_items.cropId = QStringLiteral("990002");
    select({ElementTable::K, ElementTable::Mg});
    setColumn(1, QStringLiteral("Átlag"), {{kaRow, "42"}, {potassiumRow, "10"}});

    m_state.correctionsApplied = true;
    const SpecificNeeds corrected = showSpecificNeeds(m_items, m_state, m_calculator).value();
    EXPECT_TRUE(m_state.correctionsApplied);
    EXPECT_EQ(corrected.grid.cell(1, 2), QStringLiteral("3,75")); // 30 (K dose 0) / 8

    const RecommendedDoses recommended
        = showRecommendedDoses(m_items, m_state, m_calculator).value();
    EXPECT_EQ(recommended.needs.grid.cell(1, 2), QStringLiteral("5,625")); // 45 / 8
    EXPECT_EQ(recommended.doses.cell(0, 2), QStringLiteral("45"));
}

TEST_F(CropNeedTest, WithoutAYieldOnlyTheNPKNeedsShow)
{
    struct Case
    {
        const char *name;
        QString yield;
        QStringList needs;
        QStringList doses;
        bool yieldMissing;
    };
    const QStringList onlyN = {"Átlag", "2,5", "---", "---", "---"};
    const QStringList noDose = {"Átlag", "---", "---", "---", "---"};
    // an empty yield: Step3PanelTest; a yield of 8: the average of RecommendedDosesForEveryColumn
    const QList<Case> cases = {
        {"a decimal point", "8.5", onlyN, noDose, true},
        // a yield of 0 is a number: the N dose is 0 kg/ha, the micro elements cannot divide
        {"zero", "0", onlyN, {"Átlag", "0", "---", "---", "---"}, true},
    };
    select({ElementTable::N, ElementTable::Mg, ElementTable::Mn, ElementTable::Cu});
    setColumn(1, QStringLiteral("Átlag"), {{kaRow, "42"}, {phRow, "7,4"}, {humusRow, "1"}});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        m_items.plannedYield = c.yield;
        const SpecificNeeds needs = showSpecificNeeds(m_items, m_state, m_calculator).value();
        EXPECT_EQ(needs.grid.row(1), c.needs);
        EXPECT_EQ(needs.yieldMissing, c.yieldMissing);
        const RecommendedDoses doses
            = showRecommendedDoses(m_items, m_state, m_calculator).value();
        EXPECT_EQ(doses.doses.rows, QList<QStringList> {c.doses});
        EXPECT_EQ(doses.needs.yieldMissing, c.yieldMissing);
    }
}

TEST_F(CropNeedTest, AMissingYieldMattersForTheNeedsOnlyWithMgMnOrZn)
{
    m_items.plannedYield.clear();
    setColumn(1, QStringLiteral("Átlag"), {{humusRow, "1"}});
    select({ElementTable::N, ElementTable::K});
    EXPECT_FALSE(showSpecificNeeds(m_items, m_state, m_calculator)->yieldMissing);
    // the doses of N and K do need it
    EXPECT_TRUE(showRecommendedDoses(m_items, m_state, m_calculator)->needs.yieldMissing);
    select({});
    EXPECT_FALSE(showRecommendedDoses(m_items, m_state, m_calculator)->needs.yieldMissing);
    select({ElementTable::Zn});
    EXPECT_TRUE(showSpecificNeeds(m_items, m_state, m_calculator)->yieldMissing);
}

TEST_F(CropNeedTest, TheCaptionTellsOfAMissingReferenceRow)
{
    // the text itself is checked with the step-3 panel
    const QString text = SpecificNeeds::noReferenceCaption();
    addNeed(QStringLiteral("990003"), QStringLiteral("K"), 3, {{Find2::Igy, 20}}); // K only
    addNeed(QStringLiteral("990004"), QStringLiteral("N"), 3, {{Find2::Gy, 2}}); // N only
    struct Case
    {
        const char *name;
        QString crop;
        QList<int> entries;
        QString caption;
    };
    const QList<Case> cases = {
        {"a later K with a row clears it", "990003", {ElementTable::N, ElementTable::K}, ""},
        {"the last of N, K without a row", "990004", {ElementTable::N, ElementTable::K}, text},
        // Zn at P level 7 is not available: it neither sets nor clears the caption
        {"a need that is not available leaves it", "990003", {ElementTable::N, ElementTable::Zn},
            text},
        // 0 kg/t of manganese is the rule's answer, not a missing row
        {"a manganese need of 0", "990004", {ElementTable::N, ElementTable::Mn}, ""},
    };
    // N dose 2 × 60 = 120 kg/ha, over 100: Mn at pH 8 needs 0; P 250 is level 7
    setColumn(1, QStringLiteral("Átlag"),
        {{humusRow, "1"}, {phRow, "8"}, {phosphorusRow, "250"}, {potassiumRow, "1"}});
    m_items.plannedYield = QStringLiteral("60");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        m_items.cropId = c.crop;
        select(c.entries);
        const SpecificNeeds needs = showSpecificNeeds(m_items, m_state, m_calculator).value();
        EXPECT_EQ(needs.caption, c.caption);
        for (int column = 1; column < needs.grid.columnCount(); ++column)
            EXPECT_NE(needs.grid.cell(1, column), QString());
    }
}
