#pragma once

#include "core/data/filter.h"
#include "core/plan/nitratecheck.h"
#include "core/plan/outcome.h"
#include "core/plan/resulttable.h"
#include "core/plan/stepcompletion.h"
#include "core/plan/supplyclassifier.h"
#include "core/plan/textgrid.h"

#include <QList>
#include <QString>

#include <optional>

class Plan;
class ReferenceDatabase;

// The full plan summary as the reports read it.
struct PlanSummary
{
    // Row 0 the element names from column 2 on; for soil column j (0 the average) the rows
    // 4j+1 … 4j+4 hold the supply levels, recommended doses, split and corrected doses,
    // each with the sample mark in column 0 and the block title in column 1. Column 14 is
    // kept for a linked leaf sample's text.
    TextGrid summaryTable;
    // The remainder list: row 0 its headings, then one row per soil column.
    TextGrid remainderTable;
    // "Összesítés" of the schedule: the headings and the row "Össz hatóanyag:".
    ResultTable appliedTotals;
    // The specific needs (kg/t) behind the recommended doses: row 0 the element names from
    // column 1 on, then one row per soil column.
    TextGrid specificNeedTable;
    // The corrected N doses and the schedule against the nitrate action programme.
    NitrateCheck nitrateCheck;
    // The correction sentences the corrected doses applied.
    QList<int> correctionTextList;
    // The rows of Jav the summary prints.
    Filter recommendationFilter;

    static constexpr int leafColumn = 14;
    // The number of element columns (the non-empty headings of row 0).
    int elementCount = 0;
};

// How building the summary went.
struct SummaryResult
{
    // Refused with the message of the first replayed step that failed; with an empty text
    // while `question` is to be asked.
    Outcome<PlanSummary> summary = Refusal {};
    int failedStep = 0; // the plan step whose replay failed (2–5)
    // Interactive only: step 2's failed check. Its states are as they were: the caller asks
    // the question and applies the answer with applyStepCheck(plan, 2, *question, answer).
    std::optional<StepCheck> question;
};

// Replays the plan's lists in the order of the steps, each through the computation its
// button runs, on a calculation state of its own, so that the summary never depends on
// what was shown before: the supply levels (after the averages and the step-2 check), the
// recommended doses, the split, the corrected doses, the remainder and the applied totals,
// then the recommendation texts. The first step that fails or lists nothing stops the
// summary, which is then refused with its message. A failed step-2 check is left to the
// caller's question when `interactive`; otherwise step 2 is reverted as by the answer "Nem"
// and the summary refused with what is wrong. `withLeafAnalysis` makes it the combined
// summary: linked soil columns take N, P, K and Mg from their leaf samples, and their rows
// carry the leaf mark with "*" in the leaf column.
SummaryResult buildSummary(Plan &plan, const ReferenceDatabase &reference, bool interactive,
                           bool withLeafAnalysis = false);
