#pragma once

enum class StepOutcome;

// The window's step boxes as the plan commands see them. Closing a plan finishes each box on
// screen as its "Kész" would; opening one closes the boxes its steps no longer need. The
// session knows nothing more of the boxes or of the panels in them.
class StepBoxes
{
public:
    virtual ~StepBoxes() = default;

    virtual bool isStepShown(int step) const = 0;
    // The "Kész" of step `step` (1–5) with whatever its panel does first; the box stays on
    // screen exactly when the outcome is KeepOpen.
    virtual StepOutcome finishStep(int step) = 0;
    virtual void hideStep(int step) = 0;
};
