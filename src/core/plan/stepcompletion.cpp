#include "core/plan/stepcompletion.h"

#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/text/numbers.h"

namespace {

using State = Plan::StepState;

// A text counts as a number here only when it is not empty and converts.
bool holdsNumber(const QString &text)
{
    return !text.isEmpty() && Text::isDecimal(text);
}

// Enables step n and makes it current, unless it is done already; a done step keeps its
// state and is not checked again.
void unlockStep(Plan &plan, int step)
{
    plan.setStepEnabled(step, true);
    if (plan.stepState(step) != State::Done)
        plan.setStepState(step, State::Current);
}

// The step becomes current again, every later step is locked and out of reach, and so is
// the summary.
void revertStep(Plan &plan, int step)
{
    plan.setStepState(step, State::Current);
    for (int later = step + 1; later <= Plan::stepCount; ++later) {
        plan.setStepState(later, State::Locked);
        plan.setStepEnabled(later, false);
    }
    plan.setSummaryEnabled(false);
}

bool wantsToCorrect(Messenger &messenger, bool interactive, const QString &text, bool inLabel)
{
    if (!interactive)
        return false;
    return messenger.display(text, ButtonSet::IgenNem, inLabel, MessageKind::Warning)
           == Answer::Igen;
}

StepOutcome completeCheckedStep(Plan &plan, int step, bool passed, bool interactive,
                                Messenger &messenger)
{
    if (passed) {
        plan.setStepState(step, State::Done);
        if (step < Plan::stepCount)
            unlockStep(plan, step + 1);
        return StepOutcome::Completed;
    }
    if (wantsToCorrect(messenger, interactive, QStringLiteral("Helytelen adatkitöltés! Javítja?"),
                       true))
        return StepOutcome::KeepOpen;
    revertStep(plan, step);
    return StepOutcome::Reverted;
}

} // namespace

bool checkCropData(const PlanItems &items)
{
    return holdsNumber(items.plannedYield);
}

bool checkModifyingFactors(const PlanItems &items)
{
    if (items.residueCrop != PlanItems::EgyikSem && !holdsNumber(items.forecropYield))
        return false;
    if (items.yieldLoss
        && !(holdsNumber(items.residualN) && holdsNumber(items.residualP)
             && holdsNumber(items.residualK)))
        return false;
    if (items.manureTiming != PlanItems::NemVolt && !holdsNumber(items.manureAmount))
        return false;
    return true;
}

StepOutcome completeStep(Plan &plan, int step, bool interactive, Messenger &messenger)
{
    const PlanItems &items = plan.items();
    switch (step) {
    case 1:
        unlockStep(plan, 2);
        plan.setStepState(1, State::Done);
        return StepOutcome::Completed;
    case 2: {
        const bool tableFaulty = !SoilSamples::checkSoilGrid(items);
        const QString fieldFaults = tableFaulty ? QString() : SoilSamples::checkFieldData(items);
        if (!tableFaulty && fieldFaults.isEmpty()) {
            unlockStep(plan, 3);
            plan.setStepState(2, State::Done);
            return StepOutcome::Completed;
        }
        const QString text = QStringLiteral("Helytelen adatkitöltés! Javítja? ")
                             + (tableFaulty ? QStringLiteral(" Hiba a táblázat kitöltésénél.")
                                            : fieldFaults);
        if (wantsToCorrect(messenger, interactive, text, false))
            return StepOutcome::KeepOpen;
        revertStep(plan, 2);
        return StepOutcome::Reverted;
    }
    case 3:
        return completeCheckedStep(plan, 3, checkCropData(items), interactive, messenger);
    case 4:
        return completeCheckedStep(plan, 4, checkModifyingFactors(items), interactive, messenger);
    case 5:
        plan.setStepState(5, State::Done);
        plan.setSummaryEnabled(true);
        return StepOutcome::Completed;
    default:
        return StepOutcome::Completed;
    }
}
