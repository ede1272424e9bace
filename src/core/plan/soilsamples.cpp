#include "core/plan/soilsamples.h"

#include "core/plan/elements.h"
#include "core/plan/elementselection.h"
#include "core/plan/planitems.h"
#include "core/text/numbers.h"

#include <algorithm>
#include <array>

namespace SoilSamples {

namespace {

constexpr int markRow = 1;
constexpr int firstValueRow = 2;
constexpr int lastValueRow = 11;
constexpr int averageColumn = 1;

// The columns that hold data: the average and the samples, never past the grid.
int lastDataColumn(const PlanItems &items)
{
    const int count = std::clamp(items.sampleCount, 0, PlanItems::maxSampleCount);
    return averageColumn + count;
}

} // namespace

void initSoilGrid(PlanItems &items)
{
    TextGrid &grid = items.soilSampleTable;
    grid.clear(0, PlanItems::soilRowCount - 1, 0, PlanItems::soilColumnCount - 1);
    grid.setCell(0, averageColumn, QStringLiteral("Átlag"));
    for (int column = averageColumn + 1; column < PlanItems::soilColumnCount; ++column)
        grid.setCell(0, column, QString::number(column - 1) + QLatin1Char('.'));
    grid.setCell(markRow, 0, QStringLiteral("Mintajel:"));
    grid.setCell(markRow, averageColumn, QStringLiteral("Átlag"));
    const QStringList &labels = Elements::soilRowLabels();
    for (int row = firstValueRow; row <= lastValueRow; ++row)
        grid.setCell(row, 0, labels[row - firstValueRow]);
}

void setSampleCount(PlanItems &items, int count)
{
    items.sampleCount = std::clamp(count, 0, PlanItems::maxSampleCount);
}

QString BadCell::message() const
{
    const QStringList &labels = Elements::soilRowLabels();
    const QString rowLabel = row >= firstValueRow && row <= lastValueRow
        ? labels[row - firstValueRow]
        : QString::number(row) + QStringLiteral(". sor");
    const QString sample = column == averageColumn
        ? QStringLiteral("Az átlag oszlop")
        : QStringLiteral("A(z) %1. minta").arg(column - 1);
    return QStringLiteral("%1 „%2” értéke nem szám: „%3”. Kérem javítsa!")
        .arg(sample, rowLabel, text);
}

Outcome<void> computeAverages(PlanItems &items)
{
    const int count = std::clamp(items.sampleCount, 0, PlanItems::maxSampleCount);
    if (!items.programAverage || count == 0)
        return {};

    // Every cell is read before anything is written, so a bad cell leaves the column as it was.
    TextGrid &grid = items.soilSampleTable;
    std::array<double, lastValueRow + 1> sums {};
    for (int row = firstValueRow; row <= lastValueRow; ++row) {
        for (int column = averageColumn + 1; column <= averageColumn + count; ++column) {
            const QString text = grid.cell(row, column);
            // An empty cell counts as 0: the divisor is always the number of samples.
            if (text.isEmpty())
                continue;
            const std::optional<double> value = Text::parseDecimal(text);
            if (!value)
                return Outcome<void>::refused(BadCell {row, column, text}.message());
            sums[row] += *value;
        }
    }
    for (int row = firstValueRow; row <= lastValueRow; ++row)
        grid.setCell(row, averageColumn, Text::formatGeneral(sums[row] / count));
    return {};
}

bool checkSoilGrid(const PlanItems &items)
{
    return !firstMissingCell(items);
}

std::optional<CellPlace> firstMissingCell(const PlanItems &items)
{
    if (items.sampleCount < 1)
        return std::nullopt;
    QList<int> rows {markRow};
    for (int element = 0; element < Elements::elementCount; ++element) {
        if (items.elementSelected[element])
            rows += ElementSelection::requiredRows(Elements::Element(element));
    }
    std::sort(rows.begin(), rows.end());
    const TextGrid &grid = items.soilSampleTable;
    for (int column = averageColumn; column <= lastDataColumn(items); ++column) {
        for (int row : std::as_const(rows)) {
            if (grid.cell(row, column).isEmpty())
                return CellPlace {row, column};
        }
    }
    return std::nullopt;
}

QString checkFieldData(const PlanItems &items)
{
    QString faults;
    if (items.lotNumber.isEmpty())
        faults += QStringLiteral("Nincs megadva helyrajzi szám. ");
    if (items.area.isEmpty())
        faults += QStringLiteral("Nincs megadva terület. ");
    else if (!Text::parseInteger(items.area))
        faults += QStringLiteral("Terület értéke nem egész szám. ");
    if (items.siteCategory < 0 || items.siteCategory >= Elements::siteCategoryCount)
        faults += QStringLiteral("Helytelen talajkategória. ");
    return faults;
}

} // namespace SoilSamples
