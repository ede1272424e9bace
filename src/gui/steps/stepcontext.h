#pragma once

class Messenger;
class Plan;
class ReferenceDatabase;
struct CalculationState;
struct ProgramSettings;

// What every step panel works with: the open plan, the reference tables it reads (and, for
// the captions of step 2, writes), the messenger that says what went wrong, and the
// calculation state that the plan session owns and the step computations carry from one
// call to the next; and the program's settings (their defaults when none are given).
struct StepContext
{
    Plan &plan;
    ReferenceDatabase &reference;
    Messenger &messenger;
    CalculationState &state;
    const ProgramSettings *settings = nullptr;
};
