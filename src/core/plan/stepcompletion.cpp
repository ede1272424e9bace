#include "core/plan/stepcompletion.h"

#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/text/numbers.h"

#include <utility>

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

StepCheck checkStep(const PlanItems &items, int step)
{
    StepCheck check;
    switch (step) {
    case 2: {
        check.missingCell = SoilSamples::firstMissingCell(items);
        const bool tableFaulty = check.missingCell.has_value();
        check.faults = tableFaulty ? QStringLiteral("Hiba a táblázat kitöltésénél.")
                                   : SoilSamples::checkFieldData(items);
        check.passed = check.faults.isEmpty();
        // two blanks between the question mark and the table fault
        check.question = QStringLiteral("Helytelen adatkitöltés! Javítja? ")
                         + (tableFaulty ? QStringLiteral(" ") : QString()) + check.faults;
        check.inLabel = false;
        break;
    }
    case 3:
        check.passed = checkCropData(items);
        break;
    case 4:
        check.passed = checkModifyingFactors(items);
        break;
    default:
        break;
    }
    if (!check.passed && check.question.isEmpty())
        check.question = QStringLiteral("Helytelen adatkitöltés! Javítja?");
    return check;
}

StepOutcome completeStep(Plan &plan, int step, bool correct)
{
    return applyStepCheck(plan, step, checkStep(plan.items(), step), correct);
}

StepOutcome applyStepCheck(Plan &plan, int step, const StepCheck &check, bool correct)
{
    if (step < 1 || step > Plan::stepCount)
        return StepOutcome::Completed;
    if (!check.passed) {
        if (correct)
            return StepOutcome::KeepOpen;
        revertStep(plan, step);
        return StepOutcome::Reverted;
    }
    switch (step) {
    case 1:
    case 2:
        // the next step opens before this one shows as done
        unlockStep(plan, step + 1);
        plan.setStepState(step, State::Done);
        break;
    case Plan::stepCount:
        plan.setStepState(step, State::Done);
        plan.setSummaryEnabled(true);
        break;
    default:
        plan.setStepState(step, State::Done);
        unlockStep(plan, step + 1);
        break;
    }
    return StepOutcome::Completed;
}
