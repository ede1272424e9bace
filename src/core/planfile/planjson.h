#pragma once

#include <QJsonObject>

struct PlanItems;

// The persisted items of a plan as JSON, for looking at a plan file outside the program
// (nutrisor --export-json): the texts as the controls show them after loading, each grid
// as an array of rows of texts holding only the rows and columns the plan file stores.
QJsonObject planToJson(const PlanItems &items);
