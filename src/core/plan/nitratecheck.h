#pragma once

#include "core/plan/elements.h"
#include "core/plan/outcome.h"
#include "core/plan/resulttable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ReferenceDatabase;
struct CalculationState;
struct PlanItems;

// The nitrate action programme as it binds a field on nitrate-sensitive land: the yearly N
// dose may not exceed the largest dose set by crop, site category and the soil's N supply,
// and no N-containing material may be spread from 31 October to 15 February, except that
// autumn cereals may be top-dressed from 1 February.

// One soil column measured against the N limit.
struct NitrateColumn
{
    QString sampleLabel;
    int nitrogenLevel = Elements::undeterminedLevel; // the soil's N supply level, 1–7
    std::optional<double> limit; // kg/ha; none: no limit is known
    std::optional<double> correctedDose; // kg/ha; none where the corrected list has no N
    double scheduledNitrogen = 0; // kg/ha the whole schedule applies

    // kg/ha above the limit; 0 within it or without a known limit.
    double doseExcess() const;
    double scheduleExcess() const;
};

// A scheduled application of an N-containing material inside the closed period.
struct ClosedPeriodApplication
{
    int row = 0; // the schedule row, from 1
    QDate date;
    QString material;
    double amount = 0; // per hectare, as scheduled
    double nitrogen = 0; // kg/ha of N it spreads
};

struct NitrateCheck
{
    bool isAutumnCereal = false;
    QList<NitrateColumn> columns; // the average column first, then the samples
    QList<ClosedPeriodApplication> closedPeriod;

    // Under the corrected doses: per column the limit and how far the dose exceeds it.
    QList<ListNote> doseNotes() const;
    // Under the remainder: per column the limit and how far the scheduled N exceeds it,
    // then each application in the closed period.
    QList<ListNote> scheduleNotes() const;

    static QString heading()
    {
        return QStringLiteral("Nitrát cselekvési program (59/2008. FVM rendelet)");
    }
    static QString noLimitText() { return QStringLiteral("nincs ismert határérték"); }
    // "nincs ismert határérték" or "170 kg/ha".
    static QString limitText(const std::optional<double> &limit);
    // The summary's remark on a column: each excess, "megfelel" within the limit, nothing
    // without one.
    static QString remark(const NitrateColumn &column);
    // An amount as the notes print it: to a tenth of a kilogram, with its unit.
    static QString kilograms(double value);
    // What a closed-period application is told: the dates of the period that applied.
    QString closedPeriodText() const;
};

namespace NitrateRules {

// Whether N may not be spread on `date`: 31 October to 15 February, both days included;
// for an autumn cereal only up to 31 January.
bool isInClosedPeriod(const QDate &date, bool autumnCereal);

// The check of every soil column of `correctedDoses` (step 4's list, one row per soil
// column in the plan's order) and of the plan's schedule. The N level is the soil's own, by
// the supply rules. Refused when the rules cannot be read.
Outcome<NitrateCheck> checkNitrate(
    const PlanItems &items, const ReferenceDatabase &reference, const ResultTable &correctedDoses);

// The same for a plan whose corrected doses are not at hand: they are computed again on a
// copy of `state`, which therefore stays as it is. Refused as the corrected doses are.
Outcome<NitrateCheck> checkNitrate(
    const PlanItems &items, const ReferenceDatabase &reference, CalculationState state);

} // namespace NitrateRules
