#pragma once

#include "core/plan/stepcompletion.h"

class Messenger;
class Plan;
struct SummaryResult;

// The questions of a step's "Kész" and of the summary, asked through the Messenger; the
// checks and the step states are core's.

// Completes step `step` as its "Kész" does: when the check fails, asks its question and
// applies the answer; with `interactive` false the answer is "Nem" without being shown.
StepOutcome completeStep(Plan &plan, int step, bool interactive, Messenger &messenger);

// Asks a failed check's question; true when the user chooses to correct the step.
bool wantsToCorrect(const StepCheck &check, Messenger &messenger);

// Says why `result` holds no summary: shows the failed step's message, or asks step 2's
// question and applies the answer. True when the user chose to correct the failed step,
// whose box then stays open.
bool showSummaryStop(Plan &plan, const SummaryResult &result, Messenger &messenger);
