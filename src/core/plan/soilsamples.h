#pragma once

#include "core/plan/outcome.h"

#include <QString>

#include <optional>

struct PlanItems;

// The soil-sample table of step 2 and its checks. Rows: 0 header, 1 sample mark, 2–11 the
// ten laboratory values; columns: 0 row titles, 1 the average, 2 … sampleCount + 1 samples.
namespace SoilSamples {

// The texts of a fresh grid: row 0 "Átlag", "1.", "2.", …; row 1 "Mintajel:", "Átlag";
// column 0 the plain row labels.
void initSoilGrid(PlanItems &items);

// Sets the number of sample columns (0 … 999); cells beyond it keep their texts.
void setSampleCount(PlanItems &items, int count);

// A cell that does not hold a number, as the averaging meets it.
struct BadCell
{
    int row = 0;
    int column = 0;
    QString text;
    // "A(z) 2. minta „Kémhatás pH” értéke nem szám: „x”. Kérem javítsa!" — names the cell
    // for the user.
    QString message() const;
};

// With "Átlag számíttatása programmal" ticked and at least one sample: writes into column 1
// of rows 2–11 the sum of the sample cells divided by the number of samples (an empty cell
// counts as 0), in the general format. A cell that is not a number stops it before anything
// is written: refused with the BadCell message that names it.
Outcome<void> computeAverages(PlanItems &items);

// A cell of the sample table, in the table's own rows and columns.
struct CellPlace
{
    int row = 0;
    int column = 0;
    friend bool operator==(const CellPlace &, const CellPlace &) = default;
};

// The sample-table check of "Kész": with at least one sample, every column from the average
// to the last sample needs its mark and, for each ticked element, the rows it needs.
// True when the table passes.
bool checkSoilGrid(const PlanItems &items);
// The first empty cell that fails that check, column by column from the average and top to
// bottom within a column; none when the table passes.
std::optional<CellPlace> firstMissingCell(const PlanItems &items);

// The field check: the messages for the faulty identification items, each ending in a
// blank, in the order lot number, area, area not whole, site category; empty when all pass.
QString checkFieldData(const PlanItems &items);

} // namespace SoilSamples
