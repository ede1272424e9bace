#pragma once

// Where each item lies in a plan file, shared by its reader and its writer (see planfile.h
// for the parts of the file and their sizes).
namespace PlanFile::Layout {

// Header offsets, from the start of the header (the file offset is 8 more).
constexpr int versionOffset = 0;
constexpr int areaOffset = 4;
constexpr int plannedYieldOffset = 8;
constexpr int programAverageOffset = 16;
constexpr int showDescriptionsOffset = 17;
constexpr int elementsOffset = 18;
constexpr int lotNumberOffset = 29;
constexpr int lotNumberSize = 30;
constexpr int parcelNumberOffset = 59;
constexpr int parcelNumberSize = 30;
constexpr int farmingYearOffset = 89;
constexpr int farmingYearSize = 20;
constexpr int cropIdOffset = 109;
constexpr int cropIdSize = 6;
constexpr int residueCropOffset = 115;
constexpr int legumeEffectOffset = 116;
constexpr int forecropYieldOffset = 120;
constexpr int manureAmountOffset = 128;
constexpr int manureTimingOffset = 136;
constexpr int yieldLossOffset = 137;
constexpr int residualNOffset = 144;
constexpr int residualPOffset = 152;
constexpr int residualKOffset = 160;

// Soil-sample column record: the ten values of rows 2–11, then the mark of row 1.
constexpr int markRow = 1;
constexpr int firstValueRow = 2;
constexpr int valueCount = 10;
constexpr int markOffset = 80;
constexpr int markSize = 32;

// Schedule record.
constexpr int materialIdOffset = 0;
constexpr int amountOffset = 8;
constexpr int yearOffset = 16;
constexpr int monthOffset = 20;
constexpr int dayOffset = 24;
constexpr int materialNameOffset = 28;
constexpr int materialNameSize = 36;
constexpr int contentsOffset = 64;
constexpr int otherNameOffset = 152;
constexpr int otherNameSize = 32;
constexpr int otherContentOffset = 184;
constexpr int unitOffset = 200;
constexpr int unitSize = 16;

// Columns of the schedule and its detail grid.
constexpr int dateColumn = 0;
constexpr int nameColumn = 1;
constexpr int amountColumn = 2;
constexpr int contentColumnCount = 11; // N … B
constexpr int otherNameColumn = 11;
constexpr int otherContentColumn = 12;
constexpr int materialIdColumn = 13;
constexpr int valueColumn = 14;
constexpr int unitColumn = 15;

// Leaf-link record.
constexpr int leafMarkSize = 52;
constexpr int leafIdOffset = 52;
constexpr int leafMarkColumn = 0;
constexpr int leafIdColumn = 4;

// Codes the file knows for the radio groups of step 4.
constexpr int residueCropCodes = 4; // Kukorica, Napraforgó, Őszi búza, Egyik sem
constexpr int legumeEffectCodes = 5;
constexpr int manureTimingCodes = 3;
constexpr int siteCategoryCodes = 6;

} // namespace PlanFile::Layout
