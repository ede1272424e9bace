#pragma once

#include "core/plan/outcome.h"
#include "core/plan/resulttable.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class ReferenceDatabase;
struct CalculationState;
struct PlanItems;

// The soil's supply level of an element, from the rule rows of Find. The rows of one element
// ascend by S1, then S2, then S3; the walk moves down them while a limit is below the
// parameter's value, so a value equal to a limit falls into that limit's band and a value
// above every limit into the last row.
class SupplyClassifier
{
public:
    struct Rule
    {
        QString parameter[3]; // St1..St3: codes of the element table, or empty
        double limit[3] = {0, 0, 0}; // S1..S3
        int level = 0;               // S4
    };

    // The leaf-based level of an element for the soil column of that mark, or none to fall
    // back on the soil rules. Asked only for N, P, K and Mg while withLeafAnalysis is set.
    using LeafLevel
        = std::function<std::optional<int>(const QString &code, const QString &soilMark)>;

    // The rules are read from `database` once per element and object: make one object per
    // command so that edited tables are seen at the next command.
    explicit SupplyClassifier(const ReferenceDatabase &database);

    void setLeafLevel(LeafLevel leafLevel) { m_leafLevel = std::move(leafLevel); }

    // Level 1..7, or -1 (Elements::undeterminedLevel) when the element has no rule rows,
    // for the column last loaded into state.elements.
    int classifySupply(const QString &code, const CalculationState &state);

    // The walk itself, over rows already read.
    static int walkRules(const QList<Rule> &rules, const class ElementTable &elements);

    // The text of the last failed read of the rule table, empty when all went well; the
    // lists built on the classifier turn it into their refusal.
    QString error() const { return m_error; }

private:
    const QList<Rule> &rulesOf(const QString &code);

    const ReferenceDatabase &m_database;
    QHash<QString, QList<Rule>> m_rules;
    LeafLevel m_leafLevel;
    QString m_error;
};

// "Tápanyag-szolgáltatási szint kimutatása": one row per soil column (average first,
// labelled with its sample mark) and one column per selected element that lists its supply,
// entries 1–14 in order, with the level's full name or "---". The caller has computed the
// averages and completed step 2 first. Refused when the rules cannot be read.
Outcome<ResultTable> showSupplyLevels(const PlanItems &items, CalculationState &state,
                                      SupplyClassifier &classifier);
