#pragma once

#include "core/plan/soilsamples.h"

#include <QString>

#include <optional>

class Plan;
struct PlanItems;

// What became of a step's "Kész".
enum class StepOutcome {
    Completed,  // the step is done and the next one unlocked
    KeepOpen,   // the check failed and the user chose to correct: the step's box stays open
    Reverted,   // the check failed and the user chose not to: the step is current again and
                // the later steps are locked
};

// What the check of a step's "Kész" found, and the question the user is then asked (with
// Igen and Nem, as a warning): correct the step, or have it reverted.
struct StepCheck
{
    bool passed = true;
    QString question;
    bool inLabel = true; // step 2's long question goes into the memo
    // Step 2 only: the table fault, or else the field faults, each ending in a blank.
    QString faults;
    // Step 2 only: the first empty cell of the sample table that failed, for the user to fill.
    std::optional<SoilSamples::CellPlace> missingCell;
};

// The check of step `step` (1–5); steps 1 and 5 always pass.
StepCheck checkStep(const PlanItems &items, int step);

// The routine in which every step's "Kész" ends: checks step `step` (1–5), moves the step
// states on and enables or disables the steps and the summary. When the check fails,
// `correct` is the answer to its question: true keeps the step as it is (KeepOpen), false
// reverts it. The step's box is visible after it exactly when the outcome is KeepOpen.
StepOutcome completeStep(Plan &plan, int step, bool correct);
// The same with the check of step `step` already made on the plan's current items, so that
// a caller that asked its question from the check does not check again.
StepOutcome applyStepCheck(Plan &plan, int step, const StepCheck &check, bool correct);

// The checks of steps 3 and 4 (step 2's are in SoilSamples).
bool checkCropData(const PlanItems &items);
bool checkModifyingFactors(const PlanItems &items);
