#pragma once

#include "core/plan/outcome.h"
#include "core/plan/resulttable.h"

#include <QString>
#include <QStringList>

class CropNeedCalculator;
class SupplyClassifier;
struct CalculationState;
struct PlanItems;

// Step 4: the corrections of the recommended doses for what happened on the field before
// this crop (ploughed-in residue, legumes, yield loss or surplus, organic manure), and the
// corrected doses they give.
namespace Corrections {

// The sixteen sentences the reports print about the corrections; sentence n is at n - 1.
const QStringList &correctionTexts();

// "Helytelen adatkitöltés ! A számításokat nem lehet elvégezni."
QString invalidInputText();

// Lists sentence `number` unless it is listed already or sixteen are; true when it was
// listed already.
bool addCorrectionText(CalculationState &state, int number);

// The correction in kg/ha (negative lowers the dose) of the element named `elementName`
// (a heading of the dose list) for the soil column loaded into state.elements; only
// Nitrogén, Foszfor and Kálium have one. Lists the sentences of the terms that apply.
double elementCorrection(const QString &elementName, const PlanItems &items,
                         CalculationState &state, SupplyClassifier &classifier);

// "Korrigált hatóanyag dózisok": per soil column and dosed element the recommended dose
// plus its correction ("0" below zero). The corrected N and K doses feed Mg, Mn and Cu of
// the same column inside this computation only; afterwards correctionsApplied is clear
// again, so no other list ever sees them. A need that is not available shows "---".
// Refused with invalidInputText() on invalid step-4 input, and then nothing else changes;
// refused too when the need table cannot be read. `classifier` gives the supply levels the
// corrections depend on; it is normally the one `calculator` was made with.
Outcome<ResultTable> computeCorrectedDoses(const PlanItems &items, CalculationState &state,
                                           CropNeedCalculator &calculator,
                                           SupplyClassifier &classifier);

} // namespace Corrections
