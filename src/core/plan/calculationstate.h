#pragma once

#include "core/plan/elementtable.h"

#include <QList>

// What the step computations carry from one call to the next: the element table with its
// selection and loaded values, the N and K doses of the column being computed, and the two
// mode flags.
struct CalculationState
{
    ElementTable elements;
    double doseN = 0; // kg/ha; Mn and Cu depend on it
    double doseK = 0; // kg/ha; Mg depends on it
    // Set while the corrected doses are computed: the need computation then leaves doseN
    // and doseK as the correction set them.
    bool correctionsApplied = false;
    // Set by the combined summary with leaf analysis: N, P, K and Mg take their level from
    // a linked leaf sample first.
    bool withLeafAnalysis = false;
    // The numbers (1–16) of the correction sentences the last corrected-dose computation
    // applied, in the order they first applied; at most 16, each once.
    QList<int> correctionTextList;
};
