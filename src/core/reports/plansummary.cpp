#include "core/reports/plansummary.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/cropneed.h"
#include "core/plan/elementselection.h"
#include "core/plan/needcalculation.h"
#include "core/plan/plan.h"
#include "core/plan/schedule.h"
#include "core/plan/soilsamples.h"
#include "core/plan/split.h"
#include "core/plan/stepcompletion.h"
#include "core/reports/recommendationtexts.h"
#include "core/text/numbers.h"

#include <utility>

namespace {

// The block titles of the four rows of each soil column.
enum Block { SupplyBlock = 1, DoseBlock = 2, SplitBlock = 3, CorrectedBlock = 4 };

QString cannotSummarise(const QString &reason)
{
    return reason + QStringLiteral(" Az összesített kimutatás nem készíthető el.");
}

// Copies a list into its block row of every soil column: the sample mark, the list's
// report title and each value under the element of the same name in row 0, so that a
// list with fewer elements than the supply list never shifts a value to another element.
void copyBlock(PlanSummary &summary, const ResultTable &list, int block)
{
    TextGrid &table = summary.summaryTable;
    QList<int> targetColumn;
    for (int column = 0; column < list.columnCount(); ++column) {
        int target = -1;
        for (int element = 0; column > 0 && element < summary.elementCount; ++element) {
            if (table.cell(0, element + 2) == list.headings[column]) {
                target = element + 2;
                break;
            }
        }
        targetColumn.append(target);
    }
    for (int j = 0; j < list.rowCount(); ++j) {
        const int row = 4 * j + block;
        table.setCell(row, 0, list.cell(j, 0));
        table.setCell(row, 1, list.reportTitle);
        for (int column = 1; column < targetColumn.size(); ++column) {
            if (targetColumn[column] >= 0)
                table.setCell(row, targetColumn[column], list.cell(j, column));
        }
    }
}

class SummaryBuilder
{
public:
    SummaryBuilder(Plan &plan, const ReferenceDatabase &reference, bool interactive,
                   bool withLeafAnalysis)
        : m_plan(plan)
        , m_items(plan.items())
        , m_reference(reference)
        , m_interactive(interactive)
        , m_need(reference, plan.items())
    {
        m_state.withLeafAnalysis = withLeafAnalysis;
        ElementSelection::applySelectedFlags(m_items, m_state.elements);
    }

    SummaryResult build()
    {
        if (!supplyLevels() || !recommendedDoses() || !split() || !correctedDoses()
            || !remainder())
            return m_result;
        markLeafSamples();
        m_summary.appliedTotals = Schedule::appliedTotals(m_items);
        const Outcome<NitrateCheck> nitrate
            = NitrateRules::checkNitrate(m_items, m_reference, m_correctedDoses);
        if (!nitrate) {
            fail(5, nitrate.refusal());
            return m_result;
        }
        m_summary.nitrateCheck = *nitrate;
        m_summary.recommendationFilter = m_items.showDescriptions
                                             ? RecommendationTexts::loadRecommendationTexts(m_items)
                                             : RecommendationTexts::noTexts();
        m_result.summary = std::move(m_summary);
        return m_result;
    }

private:
    bool fail(int step, const Refusal &refusal)
    {
        m_result.failedStep = step;
        m_result.summary = refusal;
        return false;
    }

    bool fail(int step, const QString &message) { return fail(step, Refusal {message}); }

    // A list with no row shows nothing, and the summary would print an empty block.
    bool listed(int step, const ResultTable &list)
    {
        if (!list.rows.isEmpty())
            return true;
        return fail(step, cannotSummarise(QStringLiteral("A(z) „%1” lista üres.").arg(list.boxTitle)));
    }

    bool supplyLevels()
    {
        if (m_items.programAverage) {
            Outcome<void> averaged;
            m_plan.update(
                PlanItem::SoilSampleTable,
                [&averaged](PlanItems &items) { averaged = SoilSamples::computeAverages(items); },
                Plan::Change::Computed);
            if (!averaged)
                return fail(2, averaged.refusal());
        }
        const StepCheck check = checkStep(m_items, 2);
        if (!check.passed) {
            if (m_interactive) {
                m_result.question = check;
                return fail(2, QString());
            }
            applyStepCheck(m_plan, 2, check, false);
            return fail(2, cannotSummarise(QStringLiteral("Helytelen adatkitöltés! ")
                                           + check.faults.trimmed()));
        }
        applyStepCheck(m_plan, 2, check, false);
        const Outcome<ResultTable> supply = showSupplyLevels(m_items, m_state, m_need.classifier);
        if (!supply)
            return fail(2, supply.refusal());
        const ResultTable &list = *supply;
        if (!listed(2, list))
            return false;

        int count = 0;
        while (count + 1 < list.columnCount() && !list.headings[count + 1].isEmpty())
            ++count;
        m_summary.elementCount = count;
        const int soilColumns = int(list.rows.size());
        m_summary.summaryTable = TextGrid(4 * soilColumns + 1,
                                          std::max(PlanSummary::leafColumn + 1, count + 2));
        for (int element = 0; element < count; ++element)
            m_summary.summaryTable.setCell(0, element + 2, list.headings[element + 1]);
        copyBlock(m_summary, list, SupplyBlock);
        return true;
    }

    bool recommendedDoses()
    {
        const bool cropKnown = !m_items.cropId.isEmpty() && m_items.cropId != PlanItems::noCrop()
                               && m_reference.count(Tables::Nov::name,
                                                    Filter::equals(Tables::Nov::Novid,
                                                                   m_items.cropId))
                                      > 0;
        if (!cropKnown)
            return fail(3, cannotSummarise(QStringLiteral("Nincs kiválasztott növény!")));
        if (!Text::parseDecimal(m_items.plannedYield))
            return fail(3, cannotSummarise(QStringLiteral("A várt hozam nincs megadva!")));
        const Outcome<RecommendedDoses> doses
            = showRecommendedDoses(m_items, m_state, m_need.calculator);
        if (!doses)
            return fail(3, doses.refusal());
        if (!listed(3, doses->doses))
            return false;
        copyBlock(m_summary, doses->doses, DoseBlock);
        m_summary.specificNeedTable = doses->needs.grid;
        return true;
    }

    bool split()
    {
        const Outcome<ResultTable> list = showSplit(m_items, m_state, m_reference);
        if (!list)
            return fail(3, list.refusal());
        if (!listed(3, *list))
            return false;
        copyBlock(m_summary, *list, SplitBlock);
        return true;
    }

    bool correctedDoses()
    {
        const Outcome<ResultTable> corrected = Corrections::computeCorrectedDoses(
            m_items, m_state, m_need.calculator, m_need.classifier);
        if (!corrected)
            return fail(4, corrected.refusal());
        if (!listed(4, *corrected))
            return false;
        copyBlock(m_summary, *corrected, CorrectedBlock);
        m_summary.correctionTextList = m_state.correctionTextList;
        m_correctedDoses = *corrected;
        return true;
    }

    bool remainder()
    {
        const Outcome<ResultTable> outcome
            = Schedule::remainder(m_items, m_state, m_need.calculator, m_need.classifier);
        if (!outcome)
            return fail(5, outcome.refusal());
        const ResultTable &rest = *outcome;
        if (!listed(5, rest))
            return false;
        const int columns = std::min(m_summary.elementCount, rest.columnCount() - 1) + 1;
        const int rows = std::min(m_items.sampleCount + 1, rest.rowCount()) + 1;
        TextGrid &table = m_summary.remainderTable;
        table = TextGrid(rows, columns);
        for (int column = 0; column < columns; ++column)
            table.setCell(0, column, rest.headings.value(column));
        for (int row = 1; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                table.setCell(row, column, rest.cell(row - 1, column));
        }
        return true;
    }

    // The rows of each soil column that took a level from its leaf sample name that sample.
    void markLeafSamples()
    {
        TextGrid &table = m_summary.summaryTable;
        for (int row = 1; row < table.rowCount(); ++row) {
            const QString mark = m_need.leafLevels->markOf(table.cell(row, 0));
            if (!mark.isEmpty())
                table.setCell(row, PlanSummary::leafColumn, mark);
        }
    }

    Plan &m_plan;
    const PlanItems &m_items;
    const ReferenceDatabase &m_reference;
    bool m_interactive;
    CalculationState m_state;
    NeedCalculation m_need;
    PlanSummary m_summary;
    ResultTable m_correctedDoses;
    SummaryResult m_result;
};

} // namespace

SummaryResult buildSummary(Plan &plan, const ReferenceDatabase &reference, bool interactive,
                           bool withLeafAnalysis)
{
    return SummaryBuilder(plan, reference, interactive, withLeafAnalysis).build();
}
