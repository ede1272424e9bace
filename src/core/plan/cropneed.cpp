#include "core/plan/cropneed.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/calculationstate.h"
#include "core/plan/elements.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/plan/supplyclassifier.h"
#include "core/text/numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

namespace Find2 = Tables::Find2;

constexpr double notAvailable = -1;

// x / y rounded up to thousandths. x and y stand for decimals (a typed yield, a rule's
// amount), so a quotient within rounding noise of a whole number of thousandths is taken as
// that number: 0.3 / 6 gives 0.05, not 0.051, while 20 / 6 gives 3.334.
double roundUpToThousandths(double x, double y)
{
    const double thousandths = 1000 * x / y;
    const double nearest = std::round(thousandths);
    const bool isWhole
        = std::abs(thousandths - nearest) <= 1e-12 * std::max(1.0, std::abs(thousandths));
    return (isWhole ? nearest : std::ceil(thousandths)) * 0.001;
}

std::optional<double> plannedYield(const PlanItems &items)
{
    return Text::parseDecimal(items.plannedYield);
}

bool isUsableYield(const std::optional<double> &yield)
{
    return yield && *yield > 0;
}

// The needs behind the need grid, kept as numbers so that the doses are not computed from
// texts rounded to 15 digits.
struct NeedValues
{
    SpecificNeeds needs;
    QList<QList<double>> values; // per soil column, per listed element
};

Outcome<NeedValues> computeNeeds(
    const PlanItems &items, CalculationState &state, CropNeedCalculator &calculator)
{
    NeedValues result;
    ElementTable &elements = state.elements;
    QList<int> listed;
    for (int index = ElementTable::firstUsed; index <= ElementTable::Caco; ++index) {
        if (elements.entry(index).selected && elements.entry(index).listsNeed)
            listed.append(index);
    }
    const int count = std::clamp(items.sampleCount, 0, PlanItems::maxSampleCount);

    const bool yieldDependentSelected = elements.entry(ElementTable::Mg).selected
        || elements.entry(ElementTable::Mn).selected || elements.entry(ElementTable::Zn).selected;
    result.needs.yieldMissing = yieldDependentSelected && !isUsableYield(plannedYield(items));

    TextGrid &grid = result.needs.grid;
    grid.resize(count + 2, int(listed.size()) + 1);
    for (int c = 0; c < listed.size(); ++c)
        grid.setCell(0, c + 1, elements.entry(listed[c]).name);

    for (int s = 0; s <= count; ++s) {
        elements.loadSampleColumn(items, s);
        grid.setCell(s + 1, 0, elements.currentSampleLabel());
        // every soil column starts from no dose: Mg, Mn and Cu use the doses of their own column
        state.doseK = 0;
        state.doseN = 0;
        QList<double> values;
        for (int c = 0; c < listed.size(); ++c) {
            const int entry = listed[c];
            const Outcome<double> specific = calculator.specificNeed(entry, items, state);
            if (!specific)
                return specific.refusal();
            const double need = *specific;
            values.append(need);
            if (need > 0) {
                grid.setCell(s + 1, c + 1, Text::formatGeneral(need));
                result.needs.caption.clear();
            } else {
                grid.setCell(s + 1, c + 1, ResultTable::noValue());
                // only N, P and K read the reference table: a zero elsewhere is a rule's value
                if (need == 0 && entry <= ElementTable::K)
                    result.needs.caption = SpecificNeeds::noReferenceCaption();
            }
        }
        result.values.append(values);
    }
    return result;
}

} // namespace

CropNeedCalculator::CropNeedCalculator(
    const ReferenceDatabase &database, SupplyClassifier &classifier)
    : m_database(database)
    , m_classifier(classifier)
{ }

Outcome<double> CropNeedCalculator::specificNeed(int entry, const PlanItems &items,
                                                 CalculationState &state)
{
    const ElementTable &elements = state.elements;
    if (entry == ElementTable::N || entry == ElementTable::P || entry == ElementTable::K) {
        const QString code = elements.entry(entry).code;
        const Outcome<QList<QVariantMap>> rows
            = needRows(items.cropId, code, items.siteCategory + 1);
        if (!rows)
            return rows.refusal();
        const int level = m_classifier.classifySupply(code, state);

        double need = notAvailable;
        if (rows->isEmpty()) {
            need = 0; // the crop has no row for this element and site category
        } else {
            // An undetermined level, or one whose column the table lacks, names no column.
            const QVariant stored = rows->first().value(Elements::supplyLevelAbbreviation(level));
            if (!Elements::supplyLevelAbbreviation(level).isEmpty() && !stored.isNull())
                need = stored.toDouble();
        }
        if (!state.correctionsApplied && entry != ElementTable::P) {
            // Without a usable need or yield the dependent elements see no dose.
            const std::optional<double> yield = plannedYield(items);
            const double dose = yield && need > 0 ? *yield * need : 0;
            (entry == ElementTable::N ? state.doseN : state.doseK) = dose;
        }
        return need;
    }

    if (entry < ElementTable::Mg || entry > ElementTable::Cu)
        return notAvailable;
    const std::optional<double> yield = plannedYield(items);
    // without a yield there is nothing to divide by
    if (!isUsableYield(yield))
        return notAvailable;
    const int phosphorusLevel
        = entry == ElementTable::Zn ? m_classifier.classifySupply(QStringLiteral("P"), state) : 0;
    const double amount = ruleAmount(entry, *yield, state.doseN, state.doseK,
        elements.entry(ElementTable::Ka).value, elements.entry(ElementTable::Ph).value,
        phosphorusLevel);
    if (amount < 0)
        return notAvailable;
    if (entry == ElementTable::Mn)
        return amount / *yield;
    return roundUpToThousandths(amount, *yield);
}

Outcome<QList<QVariantMap>> CropNeedCalculator::needRows(const QString &novid,
                                                         const QString &code, int sztid)
{
    const QString key = novid + QLatin1Char('/') + code + QLatin1Char('/') + QString::number(sztid);
    if (const auto cached = m_needRows.constFind(key); cached != m_needRows.constEnd())
        return cached.value();
    const Filter filter = Filter::equals(Find2::Novid, novid) && Filter::equals(Find2::Anyid, code)
        && Filter::equals(Find2::Sztid, sztid);
    QString error;
    const std::optional<QList<QVariantMap>> rows
        = m_database.select(Find2::name, filter, {}, ReferenceDatabase::DeletedRows::Hidden, &error);
    if (!rows)
        return Outcome<QList<QVariantMap>>::refused(error);
    m_needRows.insert(key, *rows);
    return *rows;
}

double CropNeedCalculator::ruleAmount(
    int entry, double yield, double doseN, double doseK, double ka, double ph, int phosphorusLevel)
{
    // Plasticity bands shared by magnesium and copper: below 30, 30 to 42, above 42.
    const int kaBand = ka < 30 ? 0 : ka <= 42 ? 1 : 2;
    switch (entry) {
    case ElementTable::Mg: {
        static const double amounts[2][3] = {{20, 30, 40}, {30, 45, 60}};
        return amounts[doseK <= 200 ? 0 : 1][kaBand];
    }
    case ElementTable::Zn:
        switch (phosphorusLevel) {
        case 1:
        case 2:
            return 0.05 * yield;
        case 3:
            return ph < 6.0 ? 5 : 3;
        case 4:
        case 5:
        case 6:
            return ph < 6.0 ? 10 : 5;
        default:
            // the rules give no zinc amount at a P level of "Igen jó" or an undetermined one
            return notAvailable;
        }
    case ElementTable::Mn: {
        // 100 kg N still counts as the lower band here, unlike copper; pH 7.4 is the
        // middle band's upper limit
        static const double amounts[2][3] = {{12, 6, 3}, {6, 3, 0}};
        const int phBand = ph < 7.0 ? 0 : ph <= 7.4 ? 1 : 2;
        return amounts[doseN <= 100 ? 0 : 1][phBand];
    }
    case ElementTable::Cu: {
        static const double amounts[3][3] = {{2, 3, 4}, {5, 6, 7}, {7, 8, 10}};
        const int nBand = doseN < 100 ? 0 : doseN <= 200 ? 1 : 2;
        return amounts[kaBand][nBand];
    }
    default:
        return notAvailable;
    }
}

Outcome<SpecificNeeds> showSpecificNeeds(
    const PlanItems &items, CalculationState &state, CropNeedCalculator &calculator)
{
    const Outcome<NeedValues> computed = computeNeeds(items, state, calculator);
    if (!computed)
        return computed.refusal();
    return computed->needs;
}

Outcome<RecommendedDoses> showRecommendedDoses(
    const PlanItems &items, CalculationState &state, CropNeedCalculator &calculator)
{
    // The recommended doses never build on an earlier correction.
    state.correctionsApplied = false;
    const Outcome<NeedValues> outcome = computeNeeds(items, state, calculator);
    if (!outcome)
        return outcome.refusal();
    const NeedValues &computed = *outcome;

    RecommendedDoses result;
    result.needs = computed.needs;
    const std::optional<double> yield = plannedYield(items);
    const TextGrid &grid = result.needs.grid;
    if (!yield && grid.columnCount() > 1)
        result.needs.yieldMissing = true; // every dose needs the yield

    ResultTable &doses = result.doses;
    doses.boxTitle = QStringLiteral("Javasolt hatóanyag dózisok");
    doses.reportTitle = QStringLiteral("Javasolt adag: (kg/ha)");
    doses.headings = grid.row(0);
    for (int r = 1; r < grid.rowCount(); ++r) {
        QStringList row {grid.cell(r, 0)};
        for (int c = 1; c < grid.columnCount(); ++c) {
            const double need = computed.values[r - 1][c - 1];
            row.append(
                need > 0 && yield ? Text::formatGeneral(need * *yield) : ResultTable::noValue());
        }
        doses.rows.append(row);
    }
    return result;
}
