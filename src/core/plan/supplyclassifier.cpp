#include "core/plan/supplyclassifier.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/calculationstate.h"
#include "core/plan/elements.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"

#include <algorithm>

namespace {

namespace Find = Tables::Find;

// The elements whose level a linked leaf sample can give.
bool hasLeafLevel(const QString &code)
{
    return code == QLatin1String("N") || code == QLatin1String("P") || code == QLatin1String("K")
        || code == QLatin1String("Mg");
}

SupplyClassifier::Rule ruleOf(const QVariantMap &row)
{
    const QLatin1String parameterFields[] = {Find::St1, Find::St2, Find::St3};
    const QLatin1String limitFields[] = {Find::S1, Find::S2, Find::S3};
    SupplyClassifier::Rule rule;
    for (int k = 0; k < 3; ++k) {
        rule.parameter[k] = row.value(parameterFields[k]).toString();
        // an empty limit reads as 0, as the table engine gives it
        rule.limit[k] = row.value(limitFields[k]).toDouble();
    }
    rule.level = row.value(Find::S4).toInt();
    return rule;
}

} // namespace

SupplyClassifier::SupplyClassifier(const ReferenceDatabase &database)
    : m_database(database)
{ }

const QList<SupplyClassifier::Rule> &SupplyClassifier::rulesOf(const QString &code)
{
    const auto cached = m_rules.constFind(code);
    if (cached != m_rules.constEnd())
        return cached.value();

    static const QList<Rule> none;
    QString error;
    // The default order of Find is the order the rules were imported in, which the walk needs.
    const std::optional<QList<QVariantMap>> rows = m_database.select(Find::name,
        Filter::equals(Find::Find, code), {}, ReferenceDatabase::DeletedRows::Hidden, &error);
    if (!rows) {
        m_error = error;
        return none; // not cached: the next command may find the table readable again
    }
    QList<Rule> rules;
    rules.reserve(rows->size());
    for (const QVariantMap &row : *rows)
        rules.append(ruleOf(row));
    return *m_rules.insert(code, rules);
}

int SupplyClassifier::classifySupply(const QString &code, const CalculationState &state)
{
    if (state.withLeafAnalysis && m_leafLevel && hasLeafLevel(code)) {
        if (const std::optional<int> level = m_leafLevel(code, state.elements.currentSampleLabel()))
            return *level;
    }
    return walkRules(rulesOf(code), state.elements);
}

int SupplyClassifier::walkRules(const QList<Rule> &rules, const ElementTable &elements)
{
    if (rules.isEmpty())
        return Elements::undeterminedLevel;

    // Each step compares one parameter with its limit column and moves down while the limit
    // is below the value; the next step starts from the row the last one stopped on. A step
    // that runs off the last row stays there, and later steps no longer move.
    qsizetype current = 0;
    bool atEnd = false;
    for (int k = 0; k < 3; ++k) {
        const double value = elements.findParameter(rules[current].parameter[k]).value;
        while (!atEnd && rules[current].limit[k] < value) {
            if (current + 1 < rules.size())
                ++current;
            else
                atEnd = true;
        }
    }
    return rules[current].level;
}

Outcome<ResultTable> showSupplyLevels(
    const PlanItems &items, CalculationState &state, SupplyClassifier &classifier)
{
    ResultTable result;
    result.boxTitle = QStringLiteral("Tápanyag-szolgáltatási szint kimutatása");
    result.reportTitle = QStringLiteral("Ellátottság :");
    result.headings.append(QString());

    ElementTable &elements = state.elements;
    const int count = std::clamp(items.sampleCount, 0, PlanItems::maxSampleCount);
    for (int s = 0; s <= count; ++s) {
        elements.loadSampleColumn(items, s);
        QStringList row {elements.currentSampleLabel()};
        for (int index = ElementTable::firstUsed; index <= ElementTable::Caco; ++index) {
            const ElementEntry &entry = elements.entry(index);
            if (!entry.selected || !entry.listsSupply)
                continue;
            if (s == 0)
                result.headings.append(entry.name);
            const QString name
                = Elements::supplyLevelName(classifier.classifySupply(entry.code, state));
            // a level the rules do not name (undetermined, or outside 1–7) shows as missing
            row.append(name.isEmpty() ? ResultTable::noValue() : name);
        }
        result.rows.append(row);
    }
    if (!classifier.error().isEmpty())
        return Outcome<ResultTable>::refused(classifier.error());
    return result;
}
