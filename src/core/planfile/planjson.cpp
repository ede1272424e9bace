#include "core/planfile/planjson.h"

#include "core/plan/planitems.h"
#include "core/planfile/planfile.h"

#include <QJsonArray>

namespace {

QJsonArray gridRows(const TextGrid &grid, int firstRow, int lastRow, int firstColumn,
                    int lastColumn)
{
    QJsonArray rows;
    for (int row = firstRow; row <= lastRow; ++row) {
        QJsonArray cells;
        for (int column = firstColumn; column <= lastColumn; ++column)
            cells.append(grid.cell(row, column));
        rows.append(cells);
    }
    return rows;
}

} // namespace

QJsonObject planToJson(const PlanItems &items)
{
    QJsonObject json;
    QJsonArray elements;
    for (bool selected : items.elementSelected)
        elements.append(selected);
    json.insert(QStringLiteral("elementSelected"), elements);
    json.insert(QStringLiteral("showDescriptions"), items.showDescriptions);

    json.insert(QStringLiteral("lotNumber"), items.lotNumber);
    json.insert(QStringLiteral("parcelNumber"), items.parcelNumber);
    json.insert(QStringLiteral("area"), items.area);
    json.insert(QStringLiteral("farmingYear"), items.farmingYear);
    json.insert(QStringLiteral("siteCategory"), items.siteCategory);
    json.insert(QStringLiteral("sampleCount"), items.sampleCount);
    json.insert(QStringLiteral("programAverage"), items.programAverage);
    // Row 1 the marks, rows 2–11 the values; column 1 the average, then the samples.
    json.insert(QStringLiteral("soilSampleTable"),
                gridRows(items.soilSampleTable, 1, PlanItems::soilRowCount - 1, 1,
                         items.soilDataColumnCount()));

    json.insert(QStringLiteral("cropId"), items.cropId);
    json.insert(QStringLiteral("plannedYield"), items.plannedYield);

    json.insert(QStringLiteral("residueCrop"), items.residueCrop);
    json.insert(QStringLiteral("forecropYield"), items.forecropYield);
    json.insert(QStringLiteral("legumeEffect"), items.legumeEffect);
    json.insert(QStringLiteral("manureTiming"), items.manureTiming);
    json.insert(QStringLiteral("manureAmount"), items.manureAmount);
    json.insert(QStringLiteral("yieldLoss"), items.yieldLoss);
    json.insert(QStringLiteral("residualN"), items.residualN);
    json.insert(QStringLiteral("residualP"), items.residualP);
    json.insert(QStringLiteral("residualK"), items.residualK);

    const int scheduleRows = PlanFile::scheduleRecordCount(items);
    json.insert(QStringLiteral("scheduleGrid"),
                gridRows(items.scheduleGrid, 1, scheduleRows, 0,
                         PlanItems::scheduleColumnCount - 1));
    json.insert(QStringLiteral("scheduleDetailGrid"),
                gridRows(items.scheduleDetailGrid, 1, scheduleRows, 0,
                         PlanItems::detailColumnCount - 1));
    json.insert(QStringLiteral("leafLinks"),
                gridRows(items.leafLinks, 1, PlanFile::leafLinkRecordCount(items), 0,
                         PlanItems::leafLinkColumnCount - 1));
    return json;
}
