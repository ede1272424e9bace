#pragma once

#include "core/plan/outcome.h"
#include "core/plan/resulttable.h"

class ReferenceDatabase;
struct CalculationState;
struct PlanItems;

// "Tápanyag kijuttatásának javasolt megosztása": per soil column the autumn and spring
// shares of N, P and K (and the largest autumn N dose) from the split rules of the plan's
// crop and site category, by the band of the column's plasticity. A column no band covers
// shows "---". Refused with the database's message when the rules cannot be read.
Outcome<ResultTable> showSplit(const PlanItems &items, CalculationState &state,
                               const ReferenceDatabase &database);
