#include "core/reports/planresultsjson.h"

#include "core/plan/elements.h"
#include "core/reports/plansummary.h"
#include "core/text/numbers.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {

QJsonValue number(const QString &text)
{
    const std::optional<double> value = Text::parseDecimal(text);
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue number(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

// The element code of a heading ("Nitrogén" → "N"); empty for a heading of no element.
QString codeOf(const QString &elementName)
{
    const qsizetype index = Elements::scheduleDetailHeader().indexOf(elementName);
    return index >= 0 && index < Elements::elementCount ? Elements::codes()[index] : QString();
}

int levelOf(const QString &name)
{
    for (int level = 1; level <= Elements::supplyLevelCount; ++level) {
        if (Elements::supplyLevelName(level) == name)
            return level;
    }
    return Elements::undeterminedLevel;
}

// "Ö:40%,Max:60kg/ha" (N) or "Ö:70%T:30%" (P, K) as its shares and the largest autumn N.
QJsonValue splitOf(const QString &text)
{
    static const QRegularExpression nitrogen(QStringLiteral("^Ö:([-0-9,]+)%,Max:([-0-9,]+)kg/ha$"));
    static const QRegularExpression shares(QStringLiteral("^Ö:([-0-9,]+)%T:([-0-9,]+)%$"));
    if (const auto match = nitrogen.match(text); match.hasMatch()) {
        return QJsonObject {{QStringLiteral("autumnPercent"), number(match.captured(1))},
            {QStringLiteral("autumnMaxN"), number(match.captured(2))}};
    }
    if (const auto match = shares.match(text); match.hasMatch()) {
        return QJsonObject {{QStringLiteral("autumnPercent"), number(match.captured(1))},
            {QStringLiteral("springPercent"), number(match.captured(2))}};
    }
    return QJsonValue::Null;
}

// The cell of `grid` in row `row` under the heading `name` of row 0, from `firstColumn` on.
QString cellUnder(const TextGrid &grid, int row, const QString &name, int firstColumn)
{
    for (int column = firstColumn; column < grid.columnCount(); ++column) {
        if (grid.cell(0, column) == name)
            return grid.cell(row, column);
    }
    return ResultTable::noValue();
}

QJsonObject nitrateOf(const NitrateColumn &column)
{
    return {{QStringLiteral("nitrogenLevel"), column.nitrogenLevel},
        {QStringLiteral("limit"), number(column.limit)},
        {QStringLiteral("correctedDose"), number(column.correctedDose)},
        {QStringLiteral("scheduledNitrogen"), column.scheduledNitrogen},
        {QStringLiteral("doseExcess"), column.doseExcess()},
        {QStringLiteral("scheduleExcess"), column.scheduleExcess()}};
}

} // namespace

QJsonObject planResultsToJson(const PlanSummary &summary)
{
    const TextGrid &table = summary.summaryTable;
    QJsonArray elements;
    for (int element = 0; element < summary.elementCount; ++element) {
        const QString name = table.cell(0, element + 2);
        elements.append(
            QJsonObject {{QStringLiteral("code"), codeOf(name)}, {QStringLiteral("name"), name}});
    }

    QJsonArray columns;
    const int columnCount = (table.rowCount() - 1) / 4;
    for (int j = 0; j < columnCount; ++j) {
        QJsonObject values;
        for (int element = 0; element < summary.elementCount; ++element) {
            const QString name = table.cell(0, element + 2);
            const QString level = table.cell(4 * j + 1, element + 2);
            values.insert(codeOf(name),
                QJsonObject {
                    {QStringLiteral("supplyLevel"), levelOf(level)},
                    {QStringLiteral("supplyLevelName"), level},
                    {QStringLiteral("specificNeed"),
                        number(cellUnder(summary.specificNeedTable, j + 1, name, 1))},
                    {QStringLiteral("recommendedDose"), number(table.cell(4 * j + 2, element + 2))},
                    {QStringLiteral("split"), splitOf(table.cell(4 * j + 3, element + 2))},
                    {QStringLiteral("correctedDose"), number(table.cell(4 * j + 4, element + 2))},
                    {QStringLiteral("remainder"),
                        number(cellUnder(summary.remainderTable, j + 1, name, 1))},
                });
        }
        QJsonObject column {{QStringLiteral("sample"), table.cell(4 * j + 1, 0)},
            {QStringLiteral("elements"), values}};
        if (j < summary.nitrateCheck.columns.size())
            column.insert(QStringLiteral("nitrate"), nitrateOf(summary.nitrateCheck.columns[j]));
        columns.append(column);
    }

    // What the whole schedule applies of every element.
    QJsonObject totals;
    const ResultTable &applied = summary.appliedTotals;
    for (int column = 1; column < applied.columnCount(); ++column) {
        const QString code = codeOf(applied.headings[column]);
        if (!code.isEmpty())
            totals.insert(code, number(applied.cell(0, column)));
    }

    QJsonArray closedPeriod;
    for (const ClosedPeriodApplication &application : summary.nitrateCheck.closedPeriod) {
        closedPeriod.append(QJsonObject {{QStringLiteral("row"), application.row},
            {QStringLiteral("date"), application.date.toString(Qt::ISODate)},
            {QStringLiteral("material"), application.material},
            {QStringLiteral("amount"), application.amount},
            {QStringLiteral("nitrogen"), application.nitrogen}});
    }
    return {{QStringLiteral("elements"), elements}, {QStringLiteral("columns"), columns},
        {QStringLiteral("scheduledTotals"), totals},
        {QStringLiteral("autumnCereal"), summary.nitrateCheck.isAutumnCereal},
        {QStringLiteral("nitrateClosedPeriod"), closedPeriod}};
}
