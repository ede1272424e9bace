#pragma once

#include "core/plan/outcome.h"
#include "core/plan/resulttable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <utility>

class CropNeedCalculator;
class SupplyClassifier;
struct CalculationState;
struct PlanItems;

// Step 5: the application schedule of concrete materials, what it applies and what of the
// corrected need it leaves open. The schedule lives in the plan's two parallel grids; row 0
// is their header and an empty schedule is one blank row.
namespace Schedule {

// True while the first row has no date.
bool isEmpty(const PlanItems &items);

// Adds a row for `material` (a Tapanyagok row; empty when none is chosen) applied on `date`
// at `amount` per hectare as typed. Refused, changing nothing, when the amount is empty or
// not a number, no material is chosen, the date is missing, or the schedule already holds
// the fifty rows a plan file can keep.
Outcome<void> addScheduleRow(PlanItems &items, const QVariantMap &material, const QDate &date,
                       const QString &amount);

// Removes row `row` (1 …); the grids never lose their first data row, which is blanked
// instead when it is the only one.
void deleteScheduleRow(PlanItems &items, int row);

// The active ingredient (kg/ha) of the element named `elementName` (a heading of the
// detail grid: "Nitrogén" … "mennyisége") that the whole schedule applies; 0 for an
// unknown name or an empty schedule.
double appliedAmount(const PlanItems &items, const QString &elementName);

// "Összesítés": the totals of the thirteen detail columns in one row "Össz hatóanyag:".
ResultTable appliedTotals(const PlanItems &items);

// "Kiértékelés": the corrected doses less what the schedule applies ("-0" where more is
// applied than needed; "---" stays where the need is not available). Refused as the
// corrected doses are.
Outcome<ResultTable> remainder(const PlanItems &items, CalculationState &state,
                    CropNeedCalculator &calculator, SupplyClassifier &classifier);

// The cover grid: for each element the chosen material contains and the plan doses, the
// amount of the material (kg/ha) that covers the average column's corrected need not yet
// covered by the schedule. Refused as the corrected doses are.
struct Cover
{
    QList<std::pair<QString, QString>> rows; // element name, amount
};
Outcome<Cover> coverGrid(const PlanItems &items, const QVariantMap &material, CalculationState &state,
                CropNeedCalculator &calculator, SupplyClassifier &classifier);

} // namespace Schedule
