#pragma once

#include "core/plan/elements.h"
#include "core/plan/textgrid.h"

#include <QString>

#include <array>

// Every item of a plan that the plan file stores, held as the controls hold it: texts for
// edits (converted only when a step uses them), booleans for check boxes, codes for radio
// groups and text grids for the grids.
struct PlanItems
{
    // Limits of the plan file.
    static constexpr int maxSampleCount = 999;      // sample columns besides the average
    static constexpr int soilColumnCount = 1001;    // column 0 titles, 1 average, 2..1000 samples
    static constexpr int soilRowCount = 12;         // row 0 header, 1 mark, 2–11 values
    static constexpr int maxScheduleRows = 50;
    static constexpr int scheduleColumnCount = 3;   // date, material name, amount
    static constexpr int detailColumnCount = 16;
    static constexpr int maxLeafLinks = 127;
    static constexpr int leafLinkColumnCount = 5;

    // Radio codes of step 4.
    // Káposztarepce counts in the corrections like the other residues but has no code of
    // its own in the plan file.
    enum ResidueCrop { Kukorica = 0, Napraforgo = 1, OsziBuza = 2, EgyikSem = 3, Kaposztarepce = 4 };
    // Codes of the legume effect of step 4.
    enum LegumeEffect {
        NincsPillangos = 0, LucernaKetEve = 1, LucernaElozoEv = 2, EveloPillangos = 3, PillangosElozoEv = 4
    };
    enum ManureTiming { EgyEve = 0, KetEve = 1, NemVolt = 2 };

    static QString noCrop() { return QStringLiteral("000000"); }

    // Step 1
    std::array<bool, Elements::elementCount> elementSelected{};
    bool showDescriptions = false;

    // Step 2
    QString lotNumber;
    QString parcelNumber;
    QString area; // whole square metres as typed
    QString farmingYear;
    int siteCategory = 0; // 0–5 for I–VI; -1 while none is chosen
    int sampleCount = 0;
    bool programAverage = false;
    TextGrid soilSampleTable{soilRowCount, soilColumnCount};

    // Step 3
    QString cropId = noCrop();
    QString plannedYield;

    // Step 4
    int residueCrop = EgyikSem;
    QString forecropYield;
    int legumeEffect = 0;
    int manureTiming = NemVolt;
    QString manureAmount;
    bool yieldLoss = false;
    QString residualN;
    QString residualP;
    QString residualK;

    // Step 5: row 0 is the header of both grids; they always have the same row count.
    TextGrid scheduleGrid{2, scheduleColumnCount};
    TextGrid scheduleDetailGrid{2, detailColumnCount};

    // Soil–leaf links: row 0 header; columns mark, Mintaazon, Tablassz, Gazdev, Id.
    TextGrid leafLinks{2, leafLinkColumnCount};

    // Columns of the soil-sample table that hold data: the average and the samples.
    int soilDataColumnCount() const { return sampleCount + 1; }
};
