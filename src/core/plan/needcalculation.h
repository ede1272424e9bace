#pragma once

#include "core/plan/cropneed.h"
#include "core/plan/supplyclassifier.h"

class ReferenceDatabase;

// The supply classifier and the need calculator built on it, as one command uses them: both
// read the reference tables once per object, so each command makes its own pair and sees
// the tables as they are now.
struct NeedCalculation
{
    explicit NeedCalculation(const ReferenceDatabase &database)
        : classifier(database)
        , calculator(database, classifier)
    { }
    NeedCalculation(const NeedCalculation &) = delete;
    NeedCalculation &operator=(const NeedCalculation &) = delete;

    SupplyClassifier classifier;
    CropNeedCalculator calculator;
};
