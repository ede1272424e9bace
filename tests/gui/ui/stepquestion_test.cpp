#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/plan/stepcompletion.h"
#include "gui/ui/stepquestion.h"
#include "support/scriptedmessenger.h"

#include <gtest/gtest.h>

namespace {

using State = Plan::StepState;
using Spoil = void (*)(PlanItems &);

class StepCompletionTest : public ::testing::Test
{
protected:
    void SetUp() override { startPlan(); }

    // A new open plan whose field data pass the step-2 check.
    void startPlan()
    {
        plan.resetPlan();
        plan.setOpen(true);
        plan.update(PlanItem::SoilSampleTable, SoilSamples::initSoilGrid);
        plan.setLotNumber(QStringLiteral("0123/4"));
        plan.setArea(QStringLiteral("125000"));
        plan.setSiteCategory(0);
    }

    // Steps 1–3 done, 4 current: the state of a plan in the middle of its work.
    void completeThroughStep3()
    {
        plan.setPlannedYield(QStringLiteral("6,5"));
        ASSERT_EQ(completeStep(plan, 1, true, messenger), StepOutcome::Completed);
        ASSERT_EQ(completeStep(plan, 2, true, messenger), StepOutcome::Completed);
        ASSERT_EQ(completeStep(plan, 3, true, messenger), StepOutcome::Completed);
    }

    // Every step's state and whether it is enabled, and the summary's.
    QString steps() const
    {
        QString text;
        for (int step = 1; step <= Plan::stepCount; ++step) {
            text += QString::number(int(plan.stepState(step)))
                    + (plan.isStepEnabled(step) ? u'+' : u'-');
        }
        return text + (plan.isSummaryEnabled() ? u'S' : u'-');
    }

    Plan plan;
    ScriptedMessenger messenger;
};

// A failed check asks its question with Igen and Nem as a warning. "Igen" (correct it) leaves
// every step as it was, even in a plan whose later steps are done; "Nem" — or no one to ask,
// which answers "Nem" unshown — makes the step current again and locks every later step and
// the summary.
TEST_F(StepCompletionTest, EachCheckAsksItsQuestionAndFollowsTheAnswer)
{
    const QString question = QStringLiteral("Helytelen adatkitöltés! Javítja?");
    const struct
    {
        int step;
        Spoil spoil;
        QString question; // empty: the check passes
        bool inLabel;
        bool interactive = true;
    } cases[] = {
        {1, [](PlanItems &items) { items.lotNumber.clear(); }, QString(), true},
        // the field faults in order, each ending in a blank; the long text goes into the memo
        {2,
         [](PlanItems &items) {
             items.lotNumber.clear();
             items.area.clear();
             items.siteCategory = -1;
         },
         question
             + QStringLiteral(" Nincs megadva helyrajzi szám. Nincs megadva terület. "
                              "Helytelen talajkategória. "),
         false},
        {2, [](PlanItems &items) { items.lotNumber.clear(); },
         question + QStringLiteral(" Nincs megadva helyrajzi szám. "), false, false},
        // a table fault hides the field faults; two blanks between the question mark and "Hiba"
        {2,
         [](PlanItems &items) {
             items.lotNumber.clear();
             SoilSamples::setSampleCount(items, 1);
             items.soilSampleTable.setCell(1, 1, QStringLiteral("Átlag"));
             items.soilSampleTable.setCell(1, 2, QString()); // sample 1 has no mark
         },
         question + QStringLiteral("  Hiba a táblázat kitöltésénél."), false},
        {3, [](PlanItems &items) { items.plannedYield = QStringLiteral("sok"); }, question, true},
        {4, [](PlanItems &items) { items.manureTiming = PlanItems::EgyEve; }, question, true},
        {5, [](PlanItems &items) { items.plannedYield.clear(); }, QString(), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.question.toStdString());
        startPlan();
        completeThroughStep3();
        ASSERT_EQ(completeStep(plan, 4, true, messenger), StepOutcome::Completed);
        EXPECT_FALSE(plan.isSummaryEnabled()); // step 5 enables it
        ASSERT_EQ(completeStep(plan, 5, true, messenger), StepOutcome::Completed);
        EXPECT_EQ(plan.stepState(5), State::Done);
        ASSERT_TRUE(plan.isSummaryEnabled());

        plan.update(PlanItem::All, c.spoil);
        const StepCheck check = checkStep(plan.items(), c.step);
        EXPECT_EQ(check.passed, c.question.isEmpty());
        EXPECT_EQ(check.question, c.question);
        EXPECT_EQ(check.inLabel, c.inLabel);
        if (check.passed)
            continue;
        const qsizetype shown = messenger.shown().size();
        if (c.interactive) {
            const QString before = steps();
            messenger.expect(Answer::Igen);
            EXPECT_EQ(completeStep(plan, c.step, true, messenger), StepOutcome::KeepOpen);
            EXPECT_EQ(messenger.shown().last(), (ScriptedMessenger::Shown {c.question,
                          ButtonSet::IgenNem, c.inLabel, MessageKind::Warning}));
            EXPECT_EQ(steps(), before);
            messenger.expect(Answer::Nem);
        }
        EXPECT_EQ(completeStep(plan, c.step, c.interactive, messenger), StepOutcome::Reverted);
        EXPECT_EQ(messenger.shown().size(), shown + (c.interactive ? 2 : 0));
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

// "Kész" unlocks the next step without asking; an earlier step done again keeps the later
// done steps done, enabled again but not checked again.
TEST_F(StepCompletionTest, CompletingUnlocksTheNextStepAndRepeatingKeepsLaterOnesDone)
{
    EXPECT_EQ(completeStep(plan, 1, true, messenger), StepOutcome::Completed);
    EXPECT_EQ(plan.stepState(1), State::Done);
    EXPECT_EQ(plan.stepState(2), State::Current);
    EXPECT_TRUE(plan.isStepEnabled(2));
    EXPECT_FALSE(plan.isStepEnabled(3));

    completeThroughStep3();
    plan.setPlannedYield(QString());
    EXPECT_EQ(completeStep(plan, 2, true, messenger), StepOutcome::Completed);
    EXPECT_EQ(plan.stepState(3), State::Done);
    EXPECT_TRUE(plan.isStepEnabled(3));
    EXPECT_TRUE(messenger.shown().isEmpty());
}

// The yield must be a number with a decimal comma; a factor left out is not checked.
TEST_F(StepCompletionTest, StepsThreeAndFourCheckOnlyTheValuesInUse)
{
    using I = PlanItems;
    const struct
    {
        int step;
        Spoil set;
        bool passes;
    } cases[] = {
        {3, [](I &i) { i.plannedYield = "6"; }, true},
        {3, [](I &i) { i.plannedYield = "6,5"; }, true},
        {3, [](I &i) { i.plannedYield = " 7 "; }, true},
        {3, [](I &i) { i.plannedYield = ""; }, false},
        {3, [](I &i) { i.plannedYield = "6.5"; }, false},
        {3, [](I &i) { i.plannedYield = "hat"; }, false},
        {4, [](I &) {}, true}, // no factor chosen
        {4, [](I &i) { i.manureTiming = I::KetEve; i.manureAmount = "30"; }, true},
        {4, [](I &i) { i.residueCrop = I::Kukorica; }, false},
        {4, [](I &i) { i.residueCrop = I::Kukorica; i.forecropYield = "8,2"; }, true},
        {4, [](I &i) { i.residueCrop = I::OsziBuza; i.forecropYield = "sok"; }, false},
        {4, [](I &i) { i.yieldLoss = true; }, false},
        {4, [](I &i) { i.yieldLoss = true; i.residualN = i.residualP = i.residualK = "10"; }, true},
        {4, [](I &i) { i.yieldLoss = true; i.residualN = i.residualP = "5"; }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        PlanItems items;
        c.set(items);
        EXPECT_EQ(checkStep(items, c.step).passed, c.passes);
    }
}

} // namespace
