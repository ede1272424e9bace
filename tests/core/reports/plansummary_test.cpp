#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/cropneed.h"
#include "core/plan/elementselection.h"
#include "core/plan/schedule.h"
#include "core/plan/split.h"
#include "core/plan/supplyclassifier.h"
#include "core/plan/stepcompletion.h"
#include "summaryfixture.h"

#include <gtest/gtest.h>

namespace {

// Every value of `list` must stand in block row 4j + block of the summary, under the
// element of its heading.
void expectBlock(const PlanSummary &summary, const ResultTable &list, int block)
{
    const TextGrid &table = summary.summaryTable;
    ASSERT_GT(list.rowCount(), 0);
    for (int j = 0; j < list.rowCount(); ++j) {
        const int row = 4 * j + block;
        EXPECT_EQ(table.cell(row, 0), list.cell(j, 0)) << "row " << row;
        EXPECT_EQ(table.cell(row, 1), list.reportTitle) << "row " << row;
        for (int column = 1; column < list.columnCount(); ++column) {
            const int target = int(table.row(0).indexOf(list.headings[column]));
            ASSERT_GE(target, 2) << list.headings[column].toStdString();
            EXPECT_EQ(table.cell(row, target), list.cell(j, column))
                << "row " << row << ", " << list.headings[column].toStdString();
        }
    }
}

} // namespace

TEST_F(SummaryTest, EveryBlockHoldsWhatItsStepLists)
{
    setSamples(3);
    m_plan.setManureTiming(PlanItems::EgyEve); // corrections with their sentences
    m_plan.setManureAmount(QStringLiteral("20"));
    const PlanSummary built = summary();

    // the lists computed one by one, as the buttons compute them
    PlanItems items = m_plan.items();
    CalculationState state;
    ElementSelection::applySelectedFlags(items, state.elements);
    SupplyClassifier classifier(m_database);
    CropNeedCalculator calculator(m_database, classifier);
    const ResultTable supply = showSupplyLevels(items, state, classifier).value();
    const ResultTable doses = showRecommendedDoses(items, state, calculator)->doses;
    const ResultTable split = showSplit(items, state, m_database).value();
    const ResultTable corrected
        = Corrections::computeCorrectedDoses(items, state, calculator, classifier).value();
    const ResultTable rest = Schedule::remainder(items, state, calculator, classifier).value();

    ASSERT_EQ(supply.rowCount(), 4);
    EXPECT_EQ(built.summaryTable.rowCount(), 17);
    EXPECT_EQ(built.elementCount, supply.columnCount() - 1);
    for (int column = 1; column < supply.columnCount(); ++column)
        EXPECT_EQ(built.summaryTable.cell(0, column + 1), supply.headings[column]);
    expectBlock(built, supply, 1);
    expectBlock(built, doses, 2);
    expectBlock(built, split, 3);
    expectBlock(built, corrected, 4);

    ASSERT_EQ(built.remainderTable.rowCount(), 5);
    EXPECT_EQ(built.remainderTable.row(0), rest.headings);
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(built.remainderTable.row(j + 1), rest.rows[j]);
    EXPECT_EQ(built.appliedTotals, Schedule::appliedTotals(items));
    EXPECT_EQ(built.correctionTextList, state.correctionTextList);
    EXPECT_FALSE(built.correctionTextList.isEmpty());
}

TEST_F(SummaryTest, ElementsAListLacksStayEmptyInItsBlock)
{
    const PlanSummary built = summary();
    const int magnesium = int(built.summaryTable.row(0).indexOf(QStringLiteral("Magnézium")));
    ASSERT_GE(magnesium, 2);
    EXPECT_FALSE(built.summaryTable.cell(1, magnesium).isEmpty()); // supply level
    EXPECT_TRUE(built.summaryTable.cell(3, magnesium).isEmpty());  // the split has N, P, K only
}

TEST_F(SummaryTest, TheFirstFailingStepStopsTheSummaryAfterItsMessage)
{
    struct Case
    {
        const char *what;
        std::function<void(PlanItems &)> spoil;
        int step;
        QString message;
    };
    const QString unsummarised = QStringLiteral(" Az összesített kimutatás nem készíthető el.");
    const QList<Case> cases {
        {"a sample without its mark",
         [](PlanItems &items) { items.soilSampleTable.setCell(1, 2, QString()); }, 2,
         QStringLiteral("Helytelen adatkitöltés! Hiba a táblázat kitöltésénél.") + unsummarised},
        {"a sample value that is not a number",
         [](PlanItems &items) { items.soilSampleTable.setCell(2, 2, QStringLiteral("x")); }, 2,
         QString()},
        {"no crop", [](PlanItems &items) { items.cropId = PlanItems::noCrop(); }, 3,
         QStringLiteral("Nincs kiválasztott növény!") + unsummarised},
        {"an empty yield", [](PlanItems &items) { items.plannedYield.clear(); }, 3,
         QStringLiteral("A várt hozam nincs megadva!") + unsummarised},
        {"yield loss without residues",
         [](PlanItems &items) {
             items.yieldLoss = true;
             items.residualN.clear();
         },
         4, Corrections::invalidInputText()},
    };
    const PlanItems whole = m_plan.items();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        m_plan.setItems(whole);
        edit(c.spoil);
        const SummaryResult result = buildSummary(m_plan, m_database, false);
        EXPECT_FALSE(result.summary);
        EXPECT_EQ(result.failedStep, c.step);
        EXPECT_FALSE(result.question); // nothing is asked without a window
        EXPECT_FALSE(result.summary.refusalText().isEmpty());
        if (!c.message.isEmpty()) {
            EXPECT_EQ(result.summary.refusalText(), c.message);
        }
    }
}

TEST_F(SummaryTest, TheStepTwoQuestionIsAskedWhenInteractive)
{
    m_plan.setSoilCell(1, 2, QString());
    const SummaryResult result = buildSummary(m_plan, m_database, true);
    EXPECT_FALSE(result.summary);
    ASSERT_TRUE(result.question.has_value());
    EXPECT_EQ(result.question->question,
              QStringLiteral("Helytelen adatkitöltés! Javítja?  Hiba a táblázat kitöltésénél."));
    // the question is left to the window; "Javítja?" answered yes keeps the step open
    EXPECT_EQ(completeStep(m_plan, 2, true), StepOutcome::KeepOpen);
}

TEST_F(SummaryTest, TheSummaryLeavesTheItemsOfTheStepsAsTheyWere)
{
    const PlanItems before = m_plan.items();
    summary();
    const PlanItems &after = m_plan.items();
    EXPECT_EQ(after.scheduleGrid, before.scheduleGrid);
    EXPECT_EQ(after.elementSelected, before.elementSelected);
    EXPECT_EQ(after.plannedYield, before.plannedYield);
    EXPECT_EQ(after.soilSampleTable.row(1), before.soilSampleTable.row(1));
}
