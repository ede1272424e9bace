#include "gui/ui/stepquestion.h"

#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/reports/plansummary.h"

#include <utility>

StepOutcome completeStep(Plan &plan, int step, bool interactive, Messenger &messenger)
{
    const StepCheck check = checkStep(plan.items(), step);
    const bool correct = !check.passed && interactive && wantsToCorrect(check, messenger);
    return applyStepCheck(plan, step, check, correct);
}

bool wantsToCorrect(const StepCheck &check, Messenger &messenger)
{
    return messenger.askYesNo(check.question, check.inLabel);
}

bool showSummaryStop(Plan &plan, const SummaryResult &result, Messenger &messenger)
{
    if (result.question) {
        const bool correct = wantsToCorrect(*result.question, messenger);
        return applyStepCheck(plan, result.failedStep, *result.question, correct)
               == StepOutcome::KeepOpen;
    }
    if (!result.summary.refusalText().isEmpty())
        messenger.inform(result.summary.refusal());
    return false;
}
