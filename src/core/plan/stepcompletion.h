#pragma once

class Messenger;
class Plan;

// What became of a step's "Kész".
enum class StepOutcome {
    Completed,  // the step is done and the next one unlocked
    KeepOpen,   // the check failed and the user chose to correct: the step's box stays open
    Reverted,   // the check failed and the user chose not to: the step is current again and
                // the later steps are locked
};

// The routine in which every step's "Kész" ends: checks step `step` (1–5), moves the step
// states on and enables or disables the steps and the summary. With `interactive` false
// every question is answered "Nem" without being shown. The step's box is visible after it
// exactly when the outcome is KeepOpen.
StepOutcome completeStep(Plan &plan, int step, bool interactive, Messenger &messenger);

// The checks of steps 3 and 4 (step 2's are in SoilSamples).
bool checkCropData(const struct PlanItems &items);
bool checkModifyingFactors(const struct PlanItems &items);
