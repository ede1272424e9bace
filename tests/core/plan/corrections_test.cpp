#include "core/plan/corrections.h"

#include "core/plan/calculationstate.h"
#include "core/plan/cropneed.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "core/plan/supplyclassifier.h"
#include "plantestdatabase.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

namespace Find2 = Tables::Find2;

const QString crop = QStringLiteral("990002"); // a crop of the tests only

class CorrectionsTest : public PlanCalculationTest
{
protected:
    void SetUp() override
    {
        PlanCalculationTest::SetUp();
        // The supply level of N, P and K is the value of humus, P and K content themselves:
        // a value equal to a limit falls into that limit's band, so 3 is "Közepes".
        for (const auto &[code, parameter] :
             {std::pair {"N", "Hsz"}, std::pair {"P", "Po"}, std::pair {"K", "Ko"}}) {
            QList<FindRow> rows;
            for (int level = 1; level <= 6; ++level)
                rows.append({parameter, double(level), {}, 0, {}, 0, level});
            rows.append({parameter, 99999, {}, 0, {}, 0, 7});
            setRules(QString::fromLatin1(code), rows);
        }
        // The same need at every level, for site categories I, II, IV, V and VI: at a
        // planned yield of 8 t/ha N 15 × 8 = 120, P 5 × 8 = 40, K 30 × 8 = 240 kg/ha.
        // Category III has no rows.
        for (int sztid : {1, 2, 4, 5, 6}) {
            addNeed(crop, QStringLiteral("N"), sztid, allLevels(15));
            addNeed(crop, QStringLiteral("P"), sztid, allLevels(5));
            addNeed(crop, QStringLiteral("K"), sztid, allLevels(30));
        }

        startPlan(crop, 0);
        setColumn(1, QStringLiteral("Átlag"), 3, 3, 3);
        select({ElementTable::N, ElementTable::P, ElementTable::K});
    }

    static QVariantMap allLevels(double need)
    {
        return {{Find2::Igy, need}, {Find2::Gy, need}, {Find2::K, need}, {Find2::M, need},
            {Find2::J, need}, {Find2::S, need}, {Find2::I, need}};
    }

    // Soil column `column` (1 the average) with the supply levels of N, P and K, plasticity
    // 20 and pH 6,5.
    void setColumn(int column, const QString &mark, int levelN, int levelP, int levelK)
    {
        TextGrid &grid = m_items.soilSampleTable;
        grid.setCell(1, column, mark);
        grid.setCell(humusRow, column, QString::number(levelN));
        grid.setCell(phosphorusRow, column, QString::number(levelP));
        grid.setCell(potassiumRow, column, QString::number(levelK));
        grid.setCell(kaRow, column, QStringLiteral("20"));
        grid.setCell(phRow, column, QStringLiteral("6,5"));
    }

    // The step-4 factors of a case; what is not given keeps a new plan's value.
    struct Factors
    {
        int legume = PlanItems::NincsPillangos;
        int manureTiming = PlanItems::NemVolt;
        const char *manureAmount = "";
        int residue = PlanItems::EgyikSem;
        const char *forecropYield = "";
        bool yieldLoss = false;
        const char *residualN = "";
        const char *residualP = "";
        const char *residualK = "";
    };

    // A new plan of the crop at 8 t/ha with the given factors.
    void setFactors(const Factors &f)
    {
        m_items = PlanItems();
        startPlan(crop, 0);
        m_items.legumeEffect = f.legume;
        m_items.manureTiming = f.manureTiming;
        m_items.manureAmount = QString::fromUtf8(f.manureAmount);
        m_items.residueCrop = f.residue;
        m_items.forecropYield = QString::fromUtf8(f.forecropYield);
        m_items.yieldLoss = f.yieldLoss;
        m_items.residualN = QString::fromUtf8(f.residualN);
        m_items.residualP = QString::fromUtf8(f.residualP);
        m_items.residualK = QString::fromUtf8(f.residualK);
    }

    Outcome<ResultTable> corrected()
    {
        return Corrections::computeCorrectedDoses(m_items, m_state, m_calculator, m_classifier);
    }

};

const QString nitrogen = QStringLiteral("Nitrogén");
const QString phosphorus = QStringLiteral("Foszfor");
const QString potassium = QStringLiteral("Kálium");

} // namespace

TEST(CorrectionTextsTest, SixteenSentencesNumberedFromOne)
{
    const QStringList &texts = Corrections::correctionTexts();
    ASSERT_EQ(texts.size(), 16);
    EXPECT_EQ(texts[0],
        QStringLiteral(" - Pillangós elővetemény csökkenti a szükséges nitrogén mennyiségét."));
    EXPECT_EQ(texts[3],
        QStringLiteral(
            " - Előző évbeni szervestrágyázás csökkenti a szükséges nitrogén mennyiségét."));
    // 9 (maize, wheat, rapeseed) and 10 (sunflower) read the same but are two numbers
    EXPECT_EQ(texts[8], texts[9]);
    EXPECT_EQ(texts[15],
        QStringLiteral(
            " - Elővetemény hozamnövekménye miatt, a kálium szükséges mennyisége megnő."));
    EXPECT_EQ(Corrections::invalidInputText(),
        QStringLiteral("Helytelen adatkitöltés ! A számításokat nem lehet elvégezni."));
}

TEST(CorrectionTextsTest, EachNumberIsListedOnceInTheOrderAdded)
{
    CalculationState state;
    EXPECT_FALSE(Corrections::addCorrectionText(state, 12));
    EXPECT_FALSE(Corrections::addCorrectionText(state, 4));
    EXPECT_TRUE(Corrections::addCorrectionText(state, 12)); // already there: not again
    EXPECT_FALSE(Corrections::addCorrectionText(state, 0)); // no sentence 0
    EXPECT_FALSE(Corrections::addCorrectionText(state, 17));
    EXPECT_EQ(state.correctionTextList, (QList<int> {12, 4}));
    // sentences 1 and 16 are listed in TermsOfEachElement
}

TEST_F(CorrectionsTest, TermsOfEachElement)
{
    using P = PlanItems;
    struct Case
    {
        const char *name;
        int siteCategory;
        int levelN, levelP, levelK;
        Factors factors;
        double n, p, k;
        QList<int> texts;
    };
    const QList<Case> cases = {
        {"defaults: nothing to correct", 0, 3, 3, 3, {}, 0, 0, 0, {}},
        {"legume forecrop on category I at Közepes", 0, 3, 3, 3,
            {.legume = P::PillangosElozoEv}, -30, 0, 0, {1}},
        {"lucerne last year, category II, Igen jó", 1, 7, 3, 3, {.legume = P::LucernaElozoEv},
            -30, 0, 0, {1}},
        {"lucerne two years ago", 0, 3, 3, 3, {.legume = P::LucernaKetEve}, -30, 0, 0, {1}},
        {"perennial legume on category I at Közepes", 0, 3, 3, 3, {.legume = P::EveloPillangos},
            -50, 0, 0, {2}},
        {"perennial legume at Gyenge: below Közepes", 0, 2, 3, 3, {.legume = P::EveloPillangos},
            0, 0, 0, {}},
        {"perennial legume on category IV", 3, 5, 3, 3, {.legume = P::EveloPillangos}, 0, 0, 0,
            {}},
        {"legume on category VI", 5, 5, 3, 3, {.legume = P::PillangosElozoEv}, 0, 0, 0, {}},
        {"category V keeps the legume credit", 4, 3, 3, 3, {.legume = P::EveloPillangos}, -50, 0,
            0, {2}},
        {"manure 20 t/ha two years ago: 1,2, 1,5 and 2 kg per tonne", 0, 7, 7, 7,
            {.manureTiming = P::KetEve, .manureAmount = "20"}, -24, -30, -40, {5, 8, 13}},
        // 20 t/ha a year ago is worked through in the whole-plan walk of the window tests
        {"manure 12,5 t/ha a year ago: 1,8, 2 and 4 kg per tonne", 0, 3, 3, 3,
            {.manureTiming = P::EgyEve, .manureAmount = "12,5"}, -22.5, -25, -50, {4, 7, 12}},
        {"no manure: its amount is not read", 0, 3, 3, 3, {.manureAmount = "sok"}, 0, 0, 0, {}},
        {"sunflower residue 3 t/ha at K level Megfelelő, the lowest that counts: 25 kg per tonne",
            0, 3, 3, 4,
            {.residue = P::Napraforgo, .forecropYield = "3"}, 0, 0, -75, {10}},
        {"sunflower residue at K level Közepes: nothing", 0, 3, 3, 3,
            {.residue = P::Napraforgo, .forecropYield = "3"}, 0, 0, 0, {}},
        {"maize residue 6 t/ha: 7 kg per tonne", 0, 3, 3, 6,
            {.residue = P::Kukorica, .forecropYield = "6"}, 0, 0, -42, {9}},
        {"winter wheat residue 4,5 t/ha", 0, 3, 3, 7,
            {.residue = P::OsziBuza, .forecropYield = "4,5"}, 0, 0, -31.5, {9}},
        {"rapeseed residue 2 t/ha", 0, 3, 3, 5,
            {.residue = P::Kaposztarepce, .forecropYield = "2"}, 0, 0, -14, {9}},
        {"no residue: the forecrop yield is not read", 0, 3, 3, 7, {.forecropYield = "3"}, 0, 0,
            0, {}},
        {"yield surplus of 10 kg K at Igen jó raises the need by all of it", 0, 3, 3, 7,
            {.yieldLoss = true, .residualN = "0", .residualP = "0", .residualK = "-10"}, 0, 0, 10,
            {16}},
        {"yield surplus of N and P at any level", 0, 1, 2, 3,
            {.yieldLoss = true, .residualN = "-8", .residualP = "-2,5", .residualK = "0"}, 8, 2.5,
            0, {14, 15}},
        {"yield loss at Megfelelő: half of what was left counts", 0, 4, 4, 4,
            {.yieldLoss = true, .residualN = "20", .residualP = "10", .residualK = "30"}, -10, -5,
            -15, {3, 6, 11}},
        {"yield loss at Közepes: nothing counts", 0, 3, 3, 3,
            {.yieldLoss = true, .residualN = "20", .residualP = "10", .residualK = "30"}, 0, 0, 0,
            {}},
        {"residuals are not read without the yield loss", 0, 7, 7, 7,
            {.residualN = "-10", .residualK = "x"}, 0, 0, 0, {}},
        {"N terms add up in the order legume, residual, manure", 0, 3, 3, 3,
            {.legume = P::EveloPillangos, .manureTiming = P::EgyEve, .manureAmount = "10",
                .yieldLoss = true, .residualN = "-5", .residualP = "0", .residualK = "0"},
            -50 + 5 - 18, -20, -40, {2, 14, 4, 7, 12}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setFactors(c.factors);
        m_items.siteCategory = c.siteCategory;
        setColumn(1, QStringLiteral("Átlag"), c.levelN, c.levelP, c.levelK);
        m_state.elements.loadSampleColumn(m_items, 0);
        m_state.correctionTextList.clear();
        EXPECT_DOUBLE_EQ(
            Corrections::elementCorrection(nitrogen, m_items, m_state, m_classifier), c.n);
        EXPECT_DOUBLE_EQ(
            Corrections::elementCorrection(phosphorus, m_items, m_state, m_classifier), c.p);
        EXPECT_DOUBLE_EQ(
            Corrections::elementCorrection(potassium, m_items, m_state, m_classifier), c.k);
        EXPECT_EQ(m_state.correctionTextList, c.texts);
    }
}

TEST_F(CorrectionsTest, OnlyNitrogenPhosphorusAndPotassiumAreCorrected)
{
    m_items.manureTiming = PlanItems::EgyEve;
    m_items.manureAmount = QStringLiteral("20");
    m_state.elements.loadSampleColumn(m_items, 0);
    for (const char *name : {"Magnézium", "Cink", "Mangán", "Réz", "Kötöttség", "nitrogén", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Corrections::elementCorrection(
                      QString::fromUtf8(name), m_items, m_state, m_classifier),
            0);
    }
    EXPECT_TRUE(m_state.correctionTextList.isEmpty());
}

TEST_F(CorrectionsTest, AnUndeterminedLevelGetsOnlyTheLevelFreeTerms)
{
    setRules(QStringLiteral("K"), {}); // K can no longer be classified
    setFactors({.manureTiming = PlanItems::KetEve, .manureAmount = "5",
        .residue = PlanItems::Napraforgo, .forecropYield = "3", .yieldLoss = true,
        .residualN = "0", .residualP = "0", .residualK = "-10"});
    setColumn(1, QStringLiteral("Átlag"), 3, 3, 7);
    m_state.elements.loadSampleColumn(m_items, 0);
    // no residue term; the surplus +10 and the manure 2 × 5 still count
    EXPECT_DOUBLE_EQ(
        Corrections::elementCorrection(potassium, m_items, m_state, m_classifier), 10 - 10);
    EXPECT_EQ(m_state.correctionTextList, (QList<int> {16, 13}));
}

TEST_F(CorrectionsTest, DefaultsGiveTheRecommendedDoses)
{
    select({ElementTable::N, ElementTable::P, ElementTable::K, ElementTable::Mg, ElementTable::Zn,
        ElementTable::Mn, ElementTable::Cu});
    m_items.sampleCount = 1;
    setColumn(2, QStringLiteral("1."), 5, 6, 2);
    const ResultTable recommended = showRecommendedDoses(m_items, m_state, m_calculator)->doses;

    const Outcome<ResultTable> result = corrected();
    EXPECT_FALSE(result.isRefused());
    EXPECT_EQ(result->headings,
        (QStringList {"", "Nitrogén", "Foszfor", "Kálium", "Magnézium", "Cink", "Mangán", "Réz"}));
    EXPECT_EQ(result->rows, recommended.rows);
    ASSERT_EQ(result->rowCount(), 2);
    // 15, 5 and 30 kg/t at 8 t/ha; K 240 over 200 and Ka 20 give Mg 30; P at Közepes and
    // pH 6,5 Zn 3; N 120 over 100 and pH 6,5 Mn 6; Ka 20 and N 120 Cu 3
    EXPECT_EQ(result->rows[0], (QStringList {"Átlag", "120", "40", "240", "30", "3", "6", "3"}));
    EXPECT_TRUE(m_state.correctionTextList.isEmpty());
    EXPECT_FALSE(m_state.correctionsApplied);
}

TEST_F(CorrectionsTest, ACorrectionBeyondTheDoseShowsZeroButKeepsItsSign)
{
    select({ElementTable::N, ElementTable::K, ElementTable::Mg, ElementTable::Mn, ElementTable::Cu});
    m_items.manureTiming = PlanItems::EgyEve;
    m_items.manureAmount = QStringLiteral("100");
    const ResultTable recommended = showRecommendedDoses(m_items, m_state, m_calculator)->doses;
    // N 120, K 240; Mg 30 (K over 200), Mn 6 (N over 100), Cu 3 (N 100 to 200)
    EXPECT_EQ(recommended.rows[0], (QStringList {"Átlag", "120", "240", "30", "6", "3"}));

    const Outcome<ResultTable> result = corrected();
    // N 120 − 180 = −60 and K 240 − 400 = −160 show 0; Mg 20 (K up to 200), Mn 12 (N up to
    // 100) and Cu 2 (N under 100) follow the signed corrected doses of the column
    EXPECT_EQ(result->rows[0], (QStringList {"Átlag", "0", "0", "20", "12", "2"}));
    EXPECT_DOUBLE_EQ(m_state.doseN, -60);
    EXPECT_DOUBLE_EQ(m_state.doseK, -160);
    EXPECT_FALSE(m_state.correctionsApplied);
    // the recommended doses do not build on the signed doses the correction left
    EXPECT_EQ(showRecommendedDoses(m_items, m_state, m_calculator)->doses, recommended);
}

TEST_F(CorrectionsTest, TextsInTheOrderTheyFirstApply)
{
    setFactors({.legume = PlanItems::PillangosElozoEv, .yieldLoss = true, .residualN = "10",
        .residualP = "-4", .residualK = "0"});
    m_items.sampleCount = 2;
    // the average at N level Gyenge: only the P surplus applies (15)
    setColumn(1, QStringLiteral("Átlag"), 2, 3, 3);
    // N at Megfelelő and Jó: legume (1) and half the residual (3), the P surplus again
    setColumn(2, QStringLiteral("1."), 4, 3, 3);
    setColumn(3, QStringLiteral("2."), 5, 3, 3);

    const Outcome<ResultTable> result = corrected();
    EXPECT_EQ(m_state.correctionTextList, (QList<int> {15, 1, 3}));
    // samples 1 and 2: N 120 − 30 − 5
    EXPECT_EQ(result->rows,
        (QList<QStringList> {{"Átlag", "120", "44", "240"}, {"1.", "85", "44", "240"},
            {"2.", "85", "44", "240"}}));

    // the next computation starts a new list
    setFactors({});
    setColumn(1, QStringLiteral("Átlag"), 3, 3, 3);
    corrected();
    EXPECT_TRUE(m_state.correctionTextList.isEmpty());
}

TEST_F(CorrectionsTest, InvalidInputChangesNothing)
{
    using P = PlanItems;
    struct Case
    {
        const char *name;
        Factors factors;
        bool valid;
    };
    // manure without its amount and an empty residual: Step4PanelTest.AFactorWithoutItsAmount…
    const QList<Case> cases = {
        {"residue without a forecrop yield", {.residue = P::Kaposztarepce}, false},
        {"residue with a forecrop yield that is no number",
            {.residue = P::Kukorica, .forecropYield = "3.5"}, false},
        {"yield loss with a residual K that is no number",
            {.yieldLoss = true, .residualN = "5", .residualP = "5", .residualK = "öt"}, false},
        {"text in the manure amount with no manure is ignored", {.manureAmount = "sok"}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setFactors(c.factors);
        setColumn(1, QStringLiteral("Átlag"), 3, 3, 3);
        m_state.correctionTextList = {7, 2};
        m_state.doseN = 11;

        const Outcome<ResultTable> result = corrected();
        EXPECT_FALSE(m_state.correctionsApplied);
        if (c.valid) {
            ASSERT_FALSE(result.isRefused());
            EXPECT_EQ(result->rowCount(), 1);
            continue;
        }
        EXPECT_EQ(result.refusalText(), Corrections::invalidInputText());
        EXPECT_EQ(m_state.correctionTextList, (QList<int> {7, 2}));
        EXPECT_EQ(m_state.doseN, 11);
    }
}

TEST_F(CorrectionsTest, AMissingNeedShowsNoValue)
{
    select({ElementTable::N, ElementTable::P, ElementTable::K, ElementTable::Mn, ElementTable::Cu});
    m_items.manureTiming = PlanItems::EgyEve;
    m_items.manureAmount = QStringLiteral("10");

    // category III has no need rows: N, P and K show "---" and get no correction text; with
    // no N dose Mn is 12 and Cu 2 (N under 100, Ka 20)
    m_items.siteCategory = 2;
    Outcome<ResultTable> result = corrected();
    EXPECT_EQ(result->rows[0], (QStringList {"Átlag", "---", "---", "---", "12", "2"}));
    EXPECT_TRUE(m_state.correctionTextList.isEmpty());
    EXPECT_EQ(m_state.doseN, 0);

    // a planned yield that is no number gives no dose at all
    m_items.siteCategory = 0;
    m_items.plannedYield = QStringLiteral("nyolc");
    result = corrected();
    EXPECT_EQ(result->rows[0], (QStringList {"Átlag", "---", "---", "---", "---", "---"}));

    // a manganese need of 0 (N over 100 at pH over 7,4) is a need: "0"
    m_items.plannedYield = QStringLiteral("8");
    m_items.manureTiming = PlanItems::NemVolt;
    m_items.soilSampleTable.setCell(phRow, 1, QStringLiteral("7,5"));
    result = corrected();
    EXPECT_EQ(result->rows[0], (QStringList {"Átlag", "120", "40", "240", "0", "3"}));
}
