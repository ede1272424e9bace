#include "gui/ui/stepquestion.h"

#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/reports/plansummary.h"

#include <utility>

void showRefusal(Messenger &messenger, const Refusal &refusal)
{
    messenger.inform(refusal.text, refusal.inLabel, refusal.kind);
}

StepOutcome completeStep(Plan &plan, int step, bool interactive, Messenger &messenger)
{
    const StepCheck check = checkStep(plan.items(), step);
    const bool correct = !check.passed && interactive && wantsToCorrect(check, messenger);
    return applyStepCheck(plan, step, check, correct);
}

bool wantsToCorrect(const StepCheck &check, Messenger &messenger)
{
    return messenger.display(check.question, ButtonSet::IgenNem, check.inLabel,
                             MessageKind::Warning)
           == Answer::Igen;
}

bool showSummaryStop(Plan &plan, const SummaryResult &result, Messenger &messenger)
{
    if (result.question) {
        const bool correct = wantsToCorrect(*result.question, messenger);
        return applyStepCheck(plan, result.failedStep, *result.question, correct)
               == StepOutcome::KeepOpen;
    }
    if (!result.summary.refusalText().isEmpty())
        showRefusal(messenger, result.summary.refusal());
    return false;
}
