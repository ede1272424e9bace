#pragma once

#include <QtGlobal>

// The values a plan can hold: what a laboratory, a field or a calendar gives. The reader
// refuses a file holding anything else and the writer never writes it, so that no plan
// prints an infinite dose or a date that is no date.
namespace PlanFile {

// The soil values of a column in their stored order (pH, Ka, CaCO3 %, humus %, then the
// nutrients in mg/kg); `valueIndex` counts from 0.
struct ValueRange
{
    double lowest;
    double highest;
};
ValueRange soilValueRange(int valueIndex);
bool isPlausibleSoilValue(int valueIndex, double value);

// Yields, amounts, contents and residues: finite and at most a million in size.
constexpr double largestQuantity = 1e6;
bool isPlausibleQuantity(double value);

// A calendar date with a four-digit year.
bool isPlausibleDate(qint32 year, qint32 month, qint32 day);

} // namespace PlanFile
