#pragma once

#include "core/plan/elements.h"
#include "core/plan/plan.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"

// A field of 12,45 ha with one sample whose values every element can be classified with:
// Ka 38 and humus 1,7 %, so nitrogen is "Gyenge" on site category I.
inline void fillOneSampleField(PlanItems &items, int siteCategory)
{
    items.lotNumber = QStringLiteral("0452/7 Őrség-dűlő");
    items.area = QStringLiteral("124500");
    items.siteCategory = siteCategory;
    SoilSamples::setSampleCount(items, 1);
    const char *const values[] = {"7,4", "38", "2,1", "1,7", "180", "210", "160", "40", "1,2", "3"};
    for (int column = 1; column <= 2; ++column) {
        items.soilSampleTable.setCell(1, column, column == 1 ? QStringLiteral("Átlag")
                                                             : QStringLiteral("K-1"));
        for (int row = 2; row <= 11; ++row)
            items.soilSampleTable.setCell(row, column, QString::fromUtf8(values[row - 2]));
    }
}

// A plan every step can compute on the built-in reference data: N, P, K and their
// followers, the field above on site category III, winter wheat for 6,5 t/ha, manure the
// year before.
inline PlanItems samplePlanItems()
{
    Plan plan;
    plan.resetPlan();
    PlanItems items = plan.items();
    for (Elements::Element element : {Elements::N, Elements::P, Elements::K, Elements::Mg,
                                      Elements::Mn, Elements::Zn, Elements::Cu})
        items.elementSelected[element] = true;
    fillOneSampleField(items, 2);
    items.farmingYear = QStringLiteral("2026");
    items.cropId = QStringLiteral("1");
    items.plannedYield = QStringLiteral("6,5");
    items.manureTiming = PlanItems::EgyEve;
    items.manureAmount = QStringLiteral("20");
    return items;
}
