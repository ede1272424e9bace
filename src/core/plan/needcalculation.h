#pragma once

#include "core/leaf/leaflinklevels.h"
#include "core/plan/cropneed.h"
#include "core/plan/planitems.h"
#include "core/plan/supplyclassifier.h"

#include <memory>

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
    // With the plan's soil–leaf links: in leaf mode a linked column's N, P, K and Mg levels
    // come from its leaf sample (the register is read only when one is asked for).
    NeedCalculation(const ReferenceDatabase &database, const PlanItems &items)
        : NeedCalculation(database)
    {
        leafLevels = std::make_shared<LeafLinkLevels>(database, items.leafLinks);
        classifier.setLeafLevel([levels = leafLevels](const QString &code, const QString &mark) {
            return levels->level(mark, code);
        });
    }
    NeedCalculation(const NeedCalculation &) = delete;
    NeedCalculation &operator=(const NeedCalculation &) = delete;

    SupplyClassifier classifier;
    CropNeedCalculator calculator;
    std::shared_ptr<LeafLinkLevels> leafLevels; // none without the plan's links
};
