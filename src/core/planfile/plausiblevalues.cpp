#include "core/planfile/plausiblevalues.h"

#include <QDate>

#include <array>
#include <cmath>

namespace PlanFile {

ValueRange soilValueRange(int valueIndex)
{
    // A mass fraction in mg/kg cannot pass a million; Ka is the water a hundred grams of
    // soil take up, a few hundred even for peat.
    static constexpr std::array<ValueRange, 10> ranges = {{
        {0, 14},         // pH
        {0, 500},        // Ka
        {0, 100},        // CaCO3 %
        {0, 100},        // humus %
        {0, 1e6}, {0, 1e6}, {0, 1e6}, {0, 1e6}, {0, 1e6}, {0, 1e6}, // P2O5 K2O Mg Mn Zn Cu
    }};
    return valueIndex >= 0 && valueIndex < int(ranges.size()) ? ranges[size_t(valueIndex)]
                                                               : ValueRange {0, 1e6};
}

bool isPlausibleSoilValue(int valueIndex, double value)
{
    const ValueRange range = soilValueRange(valueIndex);
    // NaN fails both comparisons
    return value >= range.lowest && value <= range.highest;
}

bool isPlausibleQuantity(double value)
{
    return std::abs(value) <= largestQuantity;
}

bool isPlausibleDate(qint32 year, qint32 month, qint32 day)
{
    return year >= 1000 && year <= 9999 && QDate::isValid(year, month, day);
}

} // namespace PlanFile
