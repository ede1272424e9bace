#include "core/plan/schedule.h"

#include "core/data/reference/tables.h"
#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/elements.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

#include <algorithm>
#include <optional>

namespace {

namespace Tapanyagok = Tables::Tapanyagok;

// Columns of the schedule grid.
constexpr int dateColumn = 0;
constexpr int nameColumn = 1;
constexpr int amountColumn = 2;

// Columns of the detail grid after the eleven element contents.
constexpr int otherNameColumn = 11;
constexpr int otherContentColumn = 12;
constexpr int materialIdColumn = 13;
constexpr int valueColumn = 14;
constexpr int unitColumn = 15;
constexpr int contentColumnCount = 13; // the element contents, "Egyéb" and "mennyisége"

// A field of a material row as a number: the database gives numbers, a material typed in
// elsewhere may hold its text.
std::optional<double> numberOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QString)
        return Text::parseDecimal(value.toString());
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

// A number kept as text in the grids; a text that is not a number counts as nothing.
double cellValue(const TextGrid &grid, int row, int column)
{
    return Text::parseDecimal(grid.cell(row, column)).value_or(0);
}

// What the schedule applies of detail column `column`, kg/ha: content % of each row's
// amount per hectare.
double appliedAt(const PlanItems &items, int column)
{
    if (Schedule::isEmpty(items))
        return 0;
    double total = 0;
    for (int row = 1; row < items.scheduleGrid.rowCount(); ++row) {
        // divided by 100 rather than times 0.01: whole contents and amounts stay exact
        total += cellValue(items.scheduleDetailGrid, row, column)
                 * cellValue(items.scheduleGrid, row, amountColumn) / 100;
    }
    return total;
}

// Moves the rows after `row` up one and drops the last data row; the first data row is
// blanked instead of dropped.
void removeRow(TextGrid &grid, int row)
{
    const int rowCount = grid.rowCount();
    for (int r = row; r + 1 < rowCount; ++r) {
        for (int c = 0; c < grid.columnCount(); ++c)
            grid.setCell(r, c, grid.cell(r + 1, c));
    }
    if (rowCount > 2)
        grid.setRowCount(rowCount - 1);
    else
        grid.clear(1, 1, 0, grid.columnCount() - 1);
}

Outcome<void> refused(const QString &text)
{
    return Outcome<void>::refused(text);
}

} // namespace

namespace Schedule {

bool isEmpty(const PlanItems &items)
{
    return items.scheduleGrid.cell(1, dateColumn).trimmed().isEmpty();
}

Outcome<void> addScheduleRow(PlanItems &items, const QVariantMap &material, const QDate &date,
                             const QString &amount)
{
    if (amount.trimmed().isEmpty())
        return refused(QStringLiteral("Kérem adja meg a tervezett anyagmennyiséget!"));
    if (material.value(Tapanyagok::Megnev).toString().isEmpty())
        return refused(QStringLiteral("Kérem adja meg az anyag megnevezését!"));
    // the summaries and the purchase list compute with the amount
    if (!Text::isDecimal(amount)) {
        return refused(QStringLiteral("A mennyiség nem szám: „") + amount
                       + QStringLiteral("”. Kérem számot adjon meg!"));
    }
    // a row without a date would count as the end of the schedule
    if (!date.isValid())
        return refused(QStringLiteral("Kérem adja meg a kijuttatás időpontját!"));

    TextGrid &grid = items.scheduleGrid;
    TextGrid &detail = items.scheduleDetailGrid;
    const int rowCount = std::max({grid.rowCount(), detail.rowCount(), 2});
    int row = 1;
    if (!isEmpty(items)) {
        // the plan file keeps no more rows than this
        if (rowCount - 1 >= PlanItems::maxScheduleRows)
            return refused(QStringLiteral("A terv legfeljebb 50 kijuttatási sort tartalmazhat."));
        row = rowCount;
    }
    grid.setRowCount(std::max(rowCount, row + 1));
    detail.setRowCount(std::max(rowCount, row + 1));
    if (detail.columnCount() < PlanItems::detailColumnCount)
        detail.setColumnCount(PlanItems::detailColumnCount);

    grid.setCell(row, dateColumn, Text::formatShortDate(date));
    grid.setCell(row, nameColumn, material.value(Tapanyagok::Megnev).toString());
    grid.setCell(row, amountColumn, amount);

    // A copy of the contents: later edits of the material leave the plan as it was.
    const QLatin1String contentFields[] = {Tapanyagok::N, Tapanyagok::P, Tapanyagok::K,
                                           Tapanyagok::Mg, Tapanyagok::S, Tapanyagok::Mn,
                                           Tapanyagok::Zn, Tapanyagok::Cu, Tapanyagok::Fe,
                                           Tapanyagok::Mo, Tapanyagok::B};
    const auto numberText = [&](QLatin1String field) {
        return Text::formatGeneral(numberOf(material.value(field)).value_or(0));
    };
    for (int e = 0; e < Elements::elementCount; ++e)
        detail.setCell(row, e, numberText(contentFields[e]));
    detail.setCell(row, otherNameColumn, material.value(Tapanyagok::Egyeb).toString());
    detail.setCell(row, otherContentColumn, numberText(Tapanyagok::Egyebmeny));
    detail.setCell(row, materialIdColumn, material.value(Tapanyagok::Anyagid).toString());
    detail.setCell(row, valueColumn, numberText(Tapanyagok::Ertek));
    detail.setCell(row, unitColumn, material.value(Tapanyagok::Mert).toString());
    return {};
}

void deleteScheduleRow(PlanItems &items, int row)
{
    if (row < 1 || row >= items.scheduleGrid.rowCount())
        return;
    removeRow(items.scheduleGrid, row);
    removeRow(items.scheduleDetailGrid, row);
}

double appliedAmount(const PlanItems &items, const QString &elementName)
{
    const int column = int(Elements::scheduleDetailHeader().indexOf(elementName));
    if (column < 0 || column >= contentColumnCount)
        return 0;
    return appliedAt(items, column);
}

ResultTable appliedTotals(const PlanItems &items)
{
    ResultTable result;
    result.boxTitle
        = QStringLiteral("Ütemterv végrehajtásával kijuttatott hatóanyag mennyiségek (kg/ha)");
    result.reportTitle = QStringLiteral("(kg/ha):");
    result.headings = QStringList {QString()} + Elements::scheduleDetailHeader();
    result.columnWidths = {100};
    QStringList row {QStringLiteral("Össz hatóanyag:")};
    for (int column = 0; column < contentColumnCount; ++column) {
        // the further component's name is no amount
        const double total = column == otherNameColumn ? 0 : appliedAt(items, column);
        row.append(Text::formatGeneral(total));
    }
    result.rows.append(row);
    return result;
}

Outcome<ResultTable> remainder(const PlanItems &items, CalculationState &state,
                               CropNeedCalculator &calculator, SupplyClassifier &classifier)
{
    Outcome<ResultTable> corrected
        = Corrections::computeCorrectedDoses(items, state, calculator, classifier);
    if (!corrected)
        return corrected;
    ResultTable &table = *corrected;
    table.boxTitle = QStringLiteral("Ütemterv végrehajtásával a korrigált szükséglet kielégülese.");
    table.reportTitle = QStringLiteral("maradék (kg/ha):");

    QList<double> applied;
    for (int column = 0; column < table.columnCount(); ++column)
        applied.append(column == 0 ? 0 : appliedAmount(items, table.headings[column]));
    for (QStringList &row : table.rows) {
        for (int column = 1; column < row.size() && column < applied.size(); ++column) {
            const std::optional<double> need = Text::parseDecimal(row[column]);
            if (!need)
                continue; // no need to cover: "---" stays
            const double rest = *need - applied[column];
            row[column] = rest < 0 ? QStringLiteral("-0") : Text::formatGeneral(rest);
        }
    }
    return corrected;
}

Outcome<Cover> coverGrid(const PlanItems &items, const QVariantMap &material,
                         CalculationState &state, CropNeedCalculator &calculator,
                         SupplyClassifier &classifier)
{
    const Outcome<ResultTable> outcome
        = Corrections::computeCorrectedDoses(items, state, calculator, classifier);
    if (!outcome)
        return outcome.refusal();
    const ResultTable &doses = *outcome;
    Cover result;
    if (doses.rows.isEmpty())
        return result;

    const ElementTable &elements = state.elements;
    const QStringList &header = Elements::scheduleDetailHeader();
    // the average column is the first row of the doses
    const QStringList &average = doses.rows.first();
    for (int column = 0; column <= otherNameColumn; ++column) {
        const QString &name = header[column];
        QString code;
        for (int index = ElementTable::firstUsed; index <= ElementTable::lastUsed; ++index) {
            if (elements.entry(index).name == name) {
                code = elements.entry(index).code;
                break;
            }
        }
        if (code.isEmpty())
            continue;
        const std::optional<double> content = numberOf(material.value(code));
        if (!content || *content == 0)
            continue;
        const int doseColumn = int(doses.headings.indexOf(name));
        if (doseColumn < 1 || doseColumn >= average.size())
            continue; // the plan does not dose it
        const std::optional<double> need = Text::parseDecimal(average[doseColumn]);
        if (!need)
            continue;
        const double rest = *need - appliedAt(items, column);
        const double quantity = rest > 0 ? rest / *content * 100 : 0;
        result.rows.append({name, Text::formatGeneral(quantity)});
    }
    return result;
}

} // namespace Schedule
