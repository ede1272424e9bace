#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/plan/stepcompletion.h"
#include "support/scriptedmessenger.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using State = Plan::StepState;

class StepCompletionTest : public ::testing::Test
{
protected:
    void SetUp() override { startPlan(); }

    // A new open plan whose field data pass the step-2 check.
    void startPlan()
    {
        plan.resetPlan();
        plan.setOpen(true);
        edit(SoilSamples::initSoilGrid);
        plan.setLotNumber(QStringLiteral("0123/4"));
        plan.setArea(QStringLiteral("125000"));
        plan.setSiteCategory(0);
    }

    void edit(const std::function<void(PlanItems &)> &setUp) { plan.update(PlanItem::All, setUp); }

    // Steps 1–3 done, 4 current: the state of a plan in the middle of its work.
    void completeThroughStep3()
    {
        plan.setPlannedYield(QStringLiteral("6,5"));
        ASSERT_EQ(completeStep(plan, 1, true, messenger), StepOutcome::Completed);
        ASSERT_EQ(completeStep(plan, 2, true, messenger), StepOutcome::Completed);
        ASSERT_EQ(completeStep(plan, 3, true, messenger), StepOutcome::Completed);
    }

    Plan plan;
    ScriptedMessenger messenger;
};

TEST_F(StepCompletionTest, StepOneUnlocksStepTwoWithoutAsking)
{
    EXPECT_EQ(completeStep(plan, 1, true, messenger), StepOutcome::Completed);
    EXPECT_EQ(plan.stepState(1), State::Done);
    EXPECT_EQ(plan.stepState(2), State::Current);
    EXPECT_TRUE(plan.isStepEnabled(2));
    EXPECT_FALSE(plan.isStepEnabled(3));
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(StepCompletionTest, StepTwoFieldFaultsAreListedInOrder)
{
    completeStep(plan, 1, true, messenger);
    plan.setLotNumber(QString());
    plan.setArea(QString());
    plan.setSiteCategory(-1);
    messenger.expect(Answer::Igen);
    EXPECT_EQ(completeStep(plan, 2, true, messenger), StepOutcome::KeepOpen);
    ASSERT_EQ(messenger.shown().size(), 1);
    const ScriptedMessenger::Shown &shown = messenger.shown().first();
    EXPECT_EQ(shown.text, QStringLiteral("Helytelen adatkitöltés! Javítja? "
                                         "Nincs megadva helyrajzi szám. "
                                         "Nincs megadva terület. "
                                         "Helytelen talajkategória. "));
    EXPECT_EQ(shown.buttons, ButtonSet::IgenNem);
    EXPECT_EQ(shown.kind, MessageKind::Warning);
    EXPECT_FALSE(shown.inLabel); // the long text goes into the memo
    // "Igen" leaves the step states as they were.
    EXPECT_EQ(plan.stepState(2), State::Current);
    EXPECT_FALSE(plan.isStepEnabled(3));
}

TEST_F(StepCompletionTest, StepTwoTableFaultHidesFieldFaults)
{
    completeStep(plan, 1, true, messenger);
    plan.setLotNumber(QString()); // not reported: the table check comes first
    plan.setSampleCount(1);
    plan.setSoilCell(1, 1, QStringLiteral("Átlag"));
    plan.setSoilCell(1, 2, QString()); // sample 1 has no mark
    messenger.expect(Answer::Nem);
    EXPECT_EQ(completeStep(plan, 2, true, messenger), StepOutcome::Reverted);
    // Two blanks between the question mark and "Hiba".
    EXPECT_EQ(messenger.lastText(),
              QStringLiteral("Helytelen adatkitöltés! Javítja?  Hiba a táblázat kitöltésénél."));
}

TEST_F(StepCompletionTest, ARefusedStepLocksEveryLaterStep)
{
    const struct
    {
        int step;
        void (*spoil)(PlanItems &);
    } cases[] = {
        {2, [](PlanItems &items) { items.lotNumber.clear(); }},
        {3, [](PlanItems &items) { items.plannedYield.clear(); }},
        {4, [](PlanItems &items) { items.manureTiming = PlanItems::EgyEve; }}, // no amount
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.step);
        startPlan();
        completeThroughStep3();
        ASSERT_EQ(completeStep(plan, 4, true, messenger), StepOutcome::Completed);
        EXPECT_FALSE(plan.isSummaryEnabled()); // step 5 enables it
        ASSERT_EQ(completeStep(plan, 5, true, messenger), StepOutcome::Completed);
        EXPECT_EQ(plan.stepState(5), State::Done);
        ASSERT_TRUE(plan.isSummaryEnabled());

        edit(c.spoil);
        messenger.expect(Answer::Nem);
        EXPECT_EQ(completeStep(plan, c.step, true, messenger), StepOutcome::Reverted);
        for (int step = 1; step <= 5; ++step) {
            SCOPED_TRACE(step);
            const State expected = step < c.step    ? State::Done
                                   : step == c.step ? State::Current
                                                    : State::Locked;
            EXPECT_EQ(plan.stepState(step), expected);
            EXPECT_EQ(plan.isStepEnabled(step), step <= c.step);
        }
        EXPECT_FALSE(plan.isSummaryEnabled());
    }
}

TEST_F(StepCompletionTest, NonInteractiveCompletionAnswersNoWithoutAsking)
{
    completeStep(plan, 1, false, messenger);
    plan.setLotNumber(QString());
    // The scripted messenger fails the test if anything is shown.
    EXPECT_EQ(completeStep(plan, 2, false, messenger), StepOutcome::Reverted);
    EXPECT_EQ(plan.stepState(2), State::Current);
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(StepCompletionTest, StepThreeEmptyYieldYesKeepsLaterStepsUnchanged)
{
    completeThroughStep3();
    ASSERT_EQ(plan.stepState(4), State::Current);
    plan.setPlannedYield(QString());
    messenger.expect(Answer::Igen);
    EXPECT_EQ(completeStep(plan, 3, true, messenger), StepOutcome::KeepOpen);
    EXPECT_EQ(messenger.lastText(), QStringLiteral("Helytelen adatkitöltés! Javítja?"));
    EXPECT_TRUE(messenger.shown().last().inLabel);
    EXPECT_EQ(plan.stepState(3), State::Done);
    EXPECT_EQ(plan.stepState(4), State::Current);
    EXPECT_TRUE(plan.isStepEnabled(4));
}

TEST_F(StepCompletionTest, StepThreeYieldMustBeANumber)
{
    const struct {
        const char *yield;
        bool passes;
    } cases[] = {
        {"6", true}, {"6,5", true}, {" 7 ", true}, {"", false}, {"6.5", false}, {"hat", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.yield);
        PlanItems items;
        items.plannedYield = QString::fromUtf8(c.yield);
        EXPECT_EQ(checkCropData(items), c.passes);
    }
}

TEST_F(StepCompletionTest, StepFourChecksOnlyTheFactorsInUse)
{
    struct Case {
        const char *name;
        int residueCrop;
        const char *forecropYield;
        bool yieldLoss;
        const char *residual;
        int manureTiming;
        const char *manureAmount;
        bool passes;
    };
    const Case cases[] = {
        {"nothing chosen", PlanItems::EgyikSem, "", false, "", PlanItems::NemVolt, "", true},
        {"manure a year ago, amount empty", PlanItems::EgyikSem, "", false, "",
         PlanItems::EgyEve, "", false},
        {"manure two years ago with amount", PlanItems::EgyikSem, "", false, "",
         PlanItems::KetEve, "30", true},
        {"residue without forecrop yield", PlanItems::Kukorica, "", false, "",
         PlanItems::NemVolt, "", false},
        {"residue with forecrop yield", PlanItems::Kukorica, "8,2", false, "", PlanItems::NemVolt,
         "", true},
        {"residue with text yield", PlanItems::OsziBuza, "sok", false, "", PlanItems::NemVolt, "",
         false},
        {"yield loss without residues", PlanItems::EgyikSem, "", true, "", PlanItems::NemVolt, "",
         false},
        {"yield loss with residues", PlanItems::EgyikSem, "", true, "10", PlanItems::NemVolt, "",
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PlanItems items;
        items.residueCrop = c.residueCrop;
        items.forecropYield = QString::fromUtf8(c.forecropYield);
        items.yieldLoss = c.yieldLoss;
        items.residualN = items.residualP = items.residualK = QString::fromUtf8(c.residual);
        items.manureTiming = c.manureTiming;
        items.manureAmount = QString::fromUtf8(c.manureAmount);
        EXPECT_EQ(checkModifyingFactors(items), c.passes);
    }
    // One missing residue of three is enough to fail.
    PlanItems items;
    items.residueCrop = PlanItems::EgyikSem;
    items.manureTiming = PlanItems::NemVolt;
    items.yieldLoss = true;
    items.residualN = items.residualP = QStringLiteral("5");
    items.residualK.clear();
    EXPECT_FALSE(checkModifyingFactors(items));
}

TEST_F(StepCompletionTest, RepeatingAnEarlierStepKeepsLaterDoneSteps)
{
    completeThroughStep3();
    ASSERT_EQ(plan.stepState(3), State::Done);
    // Step 2 again: step 3 stays done and is only enabled again, not re-checked.
    plan.setPlannedYield(QString());
    EXPECT_EQ(completeStep(plan, 2, true, messenger), StepOutcome::Completed);
    EXPECT_EQ(plan.stepState(3), State::Done);
    EXPECT_TRUE(plan.isStepEnabled(3));
    EXPECT_TRUE(messenger.shown().isEmpty());
}

} // namespace
