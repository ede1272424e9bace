#pragma once

#include <QJsonObject>

struct PlanSummary;

// The computed results of a plan as JSON (nutrisor --export-json PLAN --results): the values
// the full summary prints, read from the same summary, as numbers. Per soil column and
// selected element the supply level (number and name), the specific need (kg/t), the
// recommended and corrected doses, the split and the remainder (kg/ha), with the nitrate
// check of the column; then the schedule's totals and its applications in the closed
// period. A value the summary shows as "---" is null.
QJsonObject planResultsToJson(const PlanSummary &summary);
