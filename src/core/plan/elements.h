#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The fixed names of the domain: elements, supply levels, site categories and the rows of
// the soil-sample table. Every window and report takes its captions from here.
namespace Elements {

// The eleven elements of step 1, in the order of the check boxes and of the plan file.
constexpr int elementCount = 11;
enum Element { N, P, K, Mg, S, Mn, Zn, Cu, Fe, Mo, B };

// Element codes as the reference tables store them.
const std::array<QString, elementCount> &codes();

// The captions of the step-1 check boxes ("Molibdén").
const std::array<QString, elementCount> &checkBoxNames();

// Header row 0 of the schedule detail grid, columns 0–12: the element names ("Molibdelén",
// as the printed material lists have it), "Egyéb" and "mennyisége".
const QStringList &scheduleDetailHeader();

// Supply levels 1–7: full names and abbreviations (the abbreviations name the need columns).
constexpr int supplyLevelCount = 7;
constexpr int undeterminedLevel = -1;
QString supplyLevelName(int level);         // "" outside 1–7
QString supplyLevelAbbreviation(int level); // "" outside 1–7

// The six arable site categories, index 0–5 for I–VI, blanks after the numerals included.
constexpr int siteCategoryCount = 6;
const QStringList &siteCategoryNames();

// Rows 2–11 of the soil-sample table: the plain labels of the ten laboratory values.
constexpr int soilValueCount = 10;
const QStringList &soilRowLabels();

} // namespace Elements
