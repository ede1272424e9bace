#include "core/reports/plansummary.h"

#include "core/data/referencedatabase.h"
#include "core/data/tables.h"
#include "core/messages/messenger.h"
#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/cropneed.h"
#include "core/plan/elementselection.h"
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
    SummaryBuilder(Plan &plan, const ReferenceDatabase &reference, Messenger &messenger,
                   bool interactive, const SupplyClassifier::LeafLevel &leafLevel)
        : m_plan(plan)
        , m_items(std::as_const(plan).items())
        , m_reference(reference)
        , m_messenger(messenger)
        , m_interactive(interactive)
        , m_classifier(reference)
        , m_calculator(reference, m_classifier)
    {
        m_classifier.setLeafLevel(leafLevel);
        m_state.withLeafAnalysis = bool(leafLevel);
        ElementSelection::applySelectedFlags(m_items, m_state.elements);
    }

    SummaryResult build()
    {
        if (!supplyLevels() || !recommendedDoses() || !split() || !correctedDoses()
            || !remainder())
            return m_result;
        m_summary.appliedTotals = Schedule::appliedTotals(m_items);
        m_summary.recommendationFilter = m_items.showDescriptions
                                             ? RecommendationTexts::loadRecommendationTexts(m_items)
                                             : RecommendationTexts::noTexts();
        m_result.summary = std::move(m_summary);
        return m_result;
    }

private:
    bool fail(int step, const QString &message)
    {
        m_result.failedStep = step;
        if (!message.isEmpty())
            m_messenger.display(message, ButtonSet::OkOnly, true, MessageKind::Error);
        return false;
    }

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
            std::optional<SoilSamples::BadCell> bad;
            m_plan.update(
                PlanItem::SoilSampleTable,
                [&bad](PlanItems &items) { bad = SoilSamples::computeAverages(items); },
                Plan::Change::Computed);
            if (bad)
                return fail(2, bad->message());
        }
        const StepOutcome outcome = completeStep(m_plan, 2, m_interactive, m_messenger);
        if (outcome != StepOutcome::Completed) {
            m_result.keepStepOpen = outcome == StepOutcome::KeepOpen;
            if (m_interactive)
                return fail(2, QString());
            const QString faults = SoilSamples::checkSoilGrid(m_items)
                                       ? SoilSamples::checkFieldData(m_items).trimmed()
                                       : QStringLiteral("Hiba a táblázat kitöltésénél.");
            return fail(2, cannotSummarise(QStringLiteral("Helytelen adatkitöltés! ") + faults));
        }
        const ResultTable list = showSupplyLevels(m_items, m_state, m_classifier);
        if (!m_classifier.error().isEmpty())
            return fail(2, m_classifier.error());
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
        const RecommendedDoses doses = showRecommendedDoses(m_items, m_state, m_calculator);
        if (!m_calculator.error().isEmpty())
            return fail(3, m_calculator.error());
        if (!listed(3, doses.doses))
            return false;
        copyBlock(m_summary, doses.doses, DoseBlock);
        return true;
    }

    bool split()
    {
        QString error;
        const ResultTable list = showSplit(m_items, m_state, m_reference, &error);
        if (!error.isEmpty())
            return fail(3, error);
        if (!listed(3, list))
            return false;
        copyBlock(m_summary, list, SplitBlock);
        return true;
    }

    bool correctedDoses()
    {
        const Corrections::CorrectedDoses corrected
            = Corrections::computeCorrectedDoses(m_items, m_state, m_calculator, m_classifier);
        if (!corrected.error.isEmpty())
            return fail(4, corrected.error);
        if (!listed(4, corrected.doses))
            return false;
        copyBlock(m_summary, corrected.doses, CorrectedBlock);
        m_summary.correctionTextList = m_state.correctionTextList;
        return true;
    }

    bool remainder()
    {
        const Schedule::Remainder rest
            = Schedule::remainder(m_items, m_state, m_calculator, m_classifier);
        if (!rest.error.isEmpty())
            return fail(5, rest.error);
        if (!listed(5, rest.table))
            return false;
        const int columns = std::min(m_summary.elementCount, rest.table.columnCount() - 1) + 1;
        const int rows = std::min(m_items.sampleCount + 1, rest.table.rowCount()) + 1;
        TextGrid &table = m_summary.remainderTable;
        table = TextGrid(rows, columns);
        for (int column = 0; column < columns; ++column)
            table.setCell(0, column, rest.table.headings.value(column));
        for (int row = 1; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                table.setCell(row, column, rest.table.cell(row - 1, column));
        }
        return true;
    }

    Plan &m_plan;
    const PlanItems &m_items;
    const ReferenceDatabase &m_reference;
    Messenger &m_messenger;
    bool m_interactive;
    CalculationState m_state;
    SupplyClassifier m_classifier;
    CropNeedCalculator m_calculator;
    PlanSummary m_summary;
    SummaryResult m_result;
};

} // namespace

SummaryResult buildSummary(Plan &plan, const ReferenceDatabase &reference, Messenger &messenger,
                           bool interactive, const SupplyClassifier::LeafLevel &leafLevel)
{
    return SummaryBuilder(plan, reference, messenger, interactive, leafLevel).build();
}
