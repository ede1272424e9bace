#pragma once

#include "core/plan/outcome.h"
#include "core/plan/resulttable.h"
#include "core/plan/textgrid.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantMap>

class ReferenceDatabase;
class SupplyClassifier;
struct CalculationState;
struct PlanItems;

// The crop's specific need (kg per tonne of yield) for the elements that list a need, and the
// recommended doses (kg/ha) that follow from it with the planned yield.
class CropNeedCalculator
{
public:
    CropNeedCalculator(const ReferenceDatabase &database, SupplyClassifier &classifier);

    // kg/t for entry 1–7 of the element table for the soil column loaded into
    // state.elements: N, P, K from Find2 by crop, site category and supply level (0 when
    // the crop has no row for it, -1 when the level is not determined or its column is
    // missing); Mg, Zn, Mn, Cu by the fixed rules (-1 without a usable planned yield, and
    // for zinc at a P level of 7 or undetermined). Other entries give -1. Unless
    // correctionsApplied is set, N and K store their dose (yield × need) in state.
    // Refused with the database's message when the need table cannot be read.
    Outcome<double> specificNeed(int entry, const PlanItems &items, CalculationState &state);

    // The amount in kg/ha that the fixed rules give for Mg, Zn, Mn and Cu before it is
    // divided by the yield; -1 where no rule applies.
    static double ruleAmount(int entry, double yield, double doseN, double doseK, double ka,
                             double ph, int phosphorusLevel);

private:
    // The need rows of one crop, element and site category, read once per object: a list
    // over many soil columns asks for the same rows again and again. A failed read is
    // tried again at the next call.
    Outcome<QList<QVariantMap>> needRows(const QString &novid, const QString &code, int sztid);

    const ReferenceDatabase &m_database;
    SupplyClassifier &m_classifier;
    QHash<QString, QList<QVariantMap>> m_needRows;
};

// The specific-need grid of step 3: row 0 the headings (column 0 empty), then one row per
// soil column labelled with its sample mark, one column per selected element that lists a
// need; a need of 0 or less shows "---".
struct SpecificNeeds
{
    TextGrid grid{1, 1};
    // The caption beside the grid: "(nincs az adatbázisban NPK)" when an N, P or K need had
    // no reference row and no positive need came after it, empty otherwise.
    QString caption;
    // The planned yield is empty or not a number while an element that needs it is listed:
    // the caller shows the warning yieldWarningText().
    bool yieldMissing = false;
    static QString noReferenceCaption() { return QStringLiteral("(nincs az adatbázisban NPK)"); }
    static QString yieldWarningText()
    {
        return QStringLiteral(
            "A magnézium, mangán, cink számításához kérem állítsa be a várt hozamot!");
    }
};

// Refused as specificNeed is.
Outcome<SpecificNeeds> showSpecificNeeds(const PlanItems &items, CalculationState &state,
                                         CropNeedCalculator &calculator);

// "Javasolt hatóanyag dózisok": need × planned yield for every cell of the need grid,
// unrounded, "---" where the need or the yield is not available. Clears correctionsApplied
// before it computes, so that the recommended doses never depend on an earlier correction.
// Refused as specificNeed is.
struct RecommendedDoses
{
    SpecificNeeds needs;
    ResultTable doses;
};
Outcome<RecommendedDoses> showRecommendedDoses(const PlanItems &items, CalculationState &state,
                                               CropNeedCalculator &calculator);
