#include "core/reports/planfeeds.h"

#include "core/plan/corrections.h"
#include "core/plan/planitems.h"
#include "core/plan/resulttable.h"
#include "core/reports/plansummary.h"
#include "core/reports/printstate.h"

namespace PlanFeeds {

namespace {

// "Description 1" … "Description 9", then without the blank: "Description10" ….
QString tightDescription(int number)
{
    return number < 10 ? QStringLiteral("Description %1").arg(number)
                       : QStringLiteral("Description%1").arg(number);
}

QList<FeedColumn> describedColumns(const QList<std::pair<QString, QString>> &namesAndFullNames)
{
    QList<FeedColumn> columns;
    int number = 0;
    for (const auto &[name, fullName] : namesAndFullNames)
        columns.append({name, 30, fullName, QStringLiteral("Description %1").arg(++number)});
    return columns;
}

// A grid row as the result box shows it: row 0 the headings, then the rows.
QStringList resultGridRow(const ResultTable &grid, int row)
{
    return row == 0 ? grid.headings : grid.rows.value(row - 1);
}

} // namespace

std::unique_ptr<ReportFeed> resultGridFeed(const ResultTable &grid, const PrintState &state)
{
    QList<FeedColumn> columns = describedColumns({
        {QStringLiteral("minta"), QStringLiteral("mintajelf")},
        {QStringLiteral("param"), QStringLiteral("param")},
        {QStringLiteral("nit"), QStringLiteral("Nitrogén")},
        {QStringLiteral("fos"), QStringLiteral("Foszfor")},
        {QStringLiteral("kal"), QStringLiteral("Kálium")},
        {QStringLiteral("mag"), QStringLiteral("Magnézium")},
        {QStringLiteral("man"), QStringLiteral("Mangán")},
        {QStringLiteral("cin"), QStringLiteral("Cink")},
        {QStringLiteral("rez"), QStringLiteral("Réz")},
    });
    return std::make_unique<CountedFeed>(
        QStringLiteral("RvCustomConnection1"), std::move(columns), 1, state.printRowCount - 1,
        [&grid, &state](int row) {
            const QStringList cells = resultGridRow(grid, row);
            QStringList values {cells.value(0), grid.reportTitle};
            for (int element = PrintState::N; element <= PrintState::Cu; ++element)
                values.append(state.mappedValue(cells, element));
            return values;
        });
}

std::unique_ptr<ReportFeed> planHeaderFeed(const PlanHeader &header, PrintState &state)
{
    QList<FeedColumn> columns {
        {QStringLiteral("helysz"), 50, QStringLiteral("Helyrajzi szám"), QStringLiteral("Description 1")},
        {QStringLiteral("ter"), 30, QStringLiteral("Terület"), QStringLiteral("Description 2")},
        {QStringLiteral("tkat"), 50, QStringLiteral("Talaj kategória"), QStringLiteral("Description 3")},
        {QStringLiteral("mintasz"), 30, QStringLiteral("Minák száma"), QStringLiteral("Description 4")},
        {QStringLiteral("atlag"), 30, QStringLiteral("Átlagolva"), QStringLiteral("Description 5")},
        {QStringLiteral("nov"), 50, QStringLiteral("Növényfaj"), QStringLiteral("Description 6")},
        {QStringLiteral("hozam"), 30, QStringLiteral("Hozam"), QStringLiteral("Description 7")},
        {QStringLiteral("title"), 100, QStringLiteral("Cim"), QStringLiteral("Description 8")},
        {QStringLiteral("parcsor"), 30, QStringLiteral("Parcsor"), QStringLiteral("Description 9")},
        {QStringLiteral("gazdev"), 20, QStringLiteral("Gazdév"), QStringLiteral("Description 10")},
        {QStringLiteral("st1"), 30, QStringLiteral("elsomezo"), QStringLiteral("Description 9")},
        {QStringLiteral("st2"), 30, QStringLiteral("masodikmezo"), QStringLiteral("Description 10")},
        {QStringLiteral("Szaktan"), 250, QStringLiteral("masodikmezo"), QStringLiteral("Description 10")},
    };
    // A value the plan does not hold yet prints as nothing, without its unit.
    const auto withUnit = [](const QString &value, const QString &unit) {
        return value.isEmpty() ? QString() : value + unit;
    };
    const QStringList values {
        header.lotNumber,
        withUnit(header.area, QStringLiteral(" m2")),
        header.siteCategoryName,
        header.sampleCount + QStringLiteral(" db"),
        header.programAverage ? QStringLiteral("Program által") : QStringLiteral("Kézi bevitel"),
        header.cropName,
        withUnit(header.plannedYield, QStringLiteral(" t/ha")),
        state.reportTitle,
        header.parcelNumber,
        header.farmingYear,
        header.firstCaption,
        header.secondCaption,
        header.adviserLine,
    };
    return std::make_unique<SingleRowFeed>(QStringLiteral("RvCustomConnection2"),
                                           std::move(columns), values, state.headerRowDone);
}

std::unique_ptr<ReportFeed> summaryFeed(const PlanSummary &summary, const PrintState &state)
{
    static const QStringList blockNames {QStringLiteral("el"), QStringLiteral("ja"),
                                         QStringLiteral("ki"), QStringLiteral("ko")};
    static const QStringList elementSuffixes {
        QStringLiteral("nit"), QStringLiteral("fos"), QStringLiteral("kal"), QStringLiteral("mag"),
        QStringLiteral("man"), QStringLiteral("cin"), QStringLiteral("rez")};
    QList<FeedColumn> columns {
        {QStringLiteral("minta"), 30, QStringLiteral("mintajel"), tightDescription(1)},
        {QStringLiteral("paramel"), 30, QStringLiteral("param"), tightDescription(2)},
        {QStringLiteral("paramja"), 30, QStringLiteral("param"), tightDescription(3)},
        {QStringLiteral("paramki"), 30, QStringLiteral("param"), tightDescription(4)},
        {QStringLiteral("paramko"), 30, QStringLiteral("param"), tightDescription(5)},
    };
    int number = 5;
    for (const QString &block : blockNames) {
        for (int element = PrintState::N; element <= PrintState::Cu; ++element) {
            columns.append({block + elementSuffixes[element], 30,
                            mappedElementNames()[element], tightDescription(++number)});
        }
    }

    const TextGrid &table = summary.summaryTable;
    return std::make_unique<CountedFeed>(
        QStringLiteral("RvCustomConnection3"), std::move(columns), 1, state.printRowCount + 3,
        [&table, &state](int d) {
            const QString leafText = table.cell(d, PlanSummary::leafColumn);
            QStringList values {state.withLeafAnalysis && !leafText.isEmpty() ? leafText
                                                                               : table.cell(d, 0)};
            for (int block = 0; block < 4; ++block)
                values.append(table.cell(d + block, 1));
            for (int block = 0; block < 4; ++block) {
                const QStringList cells = table.row(d + block);
                for (int element = PrintState::N; element <= PrintState::Cu; ++element)
                    values.append(state.mappedValue(cells, element));
            }
            return values;
        },
        4);
}

std::unique_ptr<ReportFeed> soilResultsFeed(const PlanItems &items)
{
    QList<FeedColumn> columns = describedColumns({
        {QStringLiteral("minta"), QStringLiteral("mintajelf")},
        {QStringLiteral("erph"), QStringLiteral("Kémhatás")},
        {QStringLiteral("erka"), QStringLiteral("Kötöttség")},
        {QStringLiteral("ercaco"), QStringLiteral("Mész")},
        {QStringLiteral("erhsz"), QStringLiteral("Humusz")},
        {QStringLiteral("erp2o"), QStringLiteral("Foszfor")},
        {QStringLiteral("erk2o"), QStringLiteral("Kálium")},
        {QStringLiteral("ermg"), QStringLiteral("Magnézium")},
        {QStringLiteral("ermn"), QStringLiteral("Mangán")},
        {QStringLiteral("erzn"), QStringLiteral("Cink")},
        {QStringLiteral("ercu"), QStringLiteral("Réz")},
    });
    columns.last().description = QStringLiteral("Description 10");
    const TextGrid &table = items.soilSampleTable;
    return std::make_unique<CountedFeed>(
        QStringLiteral("MintaEr"), std::move(columns), 1, items.soilDataColumnCount(),
        [&table](int column) {
            QStringList values;
            for (int row = 1; row <= 11; ++row)
                values.append(table.cell(row, column));
            return values;
        });
}

std::unique_ptr<ReportFeed> correctionTextFeed(const QList<int> &correctionTextList)
{
    return std::make_unique<CountedFeed>(
        QStringLiteral("KorrTextP"),
        QList<FeedColumn> {{QStringLiteral("Text"), 200, QStringLiteral("Text"),
                            QStringLiteral("Description 1")}},
        0, int(correctionTextList.size()) - 1, [&correctionTextList](int row) {
            return QStringList {Corrections::correctionTexts().value(correctionTextList[row] - 1)};
        });
}

std::unique_ptr<ReportFeed> scheduleFeed(const PlanItems &items)
{
    QList<FeedColumn> columns = describedColumns({
        {QStringLiteral("sorsz"), QStringLiteral("Sorszám")},
        {QStringLiteral("datum"), QStringLiteral("Dátum")},
        {QStringLiteral("megnev"), QStringLiteral("Megnevezés")},
        {QStringLiteral("menny"), QStringLiteral("Mennyiség")},
        {QStringLiteral("me"), QStringLiteral("Mértékegység")},
    });
    return std::make_unique<CountedFeed>(
        QStringLiteral("Utemterv"), std::move(columns), 1, items.scheduleGrid.rowCount() - 1,
        [&items](int row) {
            return QStringList {QString::number(row), items.scheduleGrid.cell(row, 0),
                                items.scheduleGrid.cell(row, 1), items.scheduleGrid.cell(row, 2),
                                items.scheduleDetailGrid.cell(row, 15)};
        });
}

std::unique_ptr<ReportFeed> appliedTotalsFeed(const ResultTable &totals)
{
    return std::make_unique<CountedFeed>(
        QStringLiteral("OsszKijut"), numberedColumns(12), 0, 1, [&totals](int row) {
            const QStringList cells = resultGridRow(totals, row);
            QStringList values;
            for (int column = 0; column < 12; ++column)
                values.append(cells.value(column));
            return values;
        });
}

std::unique_ptr<ReportFeed> remainderFeed(const TextGrid &remainderTable, int sampleCount)
{
    return std::make_unique<CountedFeed>(
        QStringLiteral("Maradek"), numberedColumns(8), 0, sampleCount + 1,
        [&remainderTable](int row) {
            QStringList values;
            for (int column = 0; column < 8; ++column)
                values.append(remainderTable.cell(row, column));
            return values;
        });
}

std::unique_ptr<ReportFeed> coverSheetFeed(const CoverSheet &values, PrintState &state)
{
    QList<FeedColumn> columns {
        {QStringLiteral("Nev"), 50, QStringLiteral("Helyrajzi szám"), QStringLiteral("Description 1")},
        {QStringLiteral("Irany"), 30, QStringLiteral("Terület"), QStringLiteral("Description 2")},
        {QStringLiteral("Telep"), 50, QStringLiteral("Talaj kategória"), QStringLiteral("Description 3")},
        {QStringLiteral("Cim"), 50, QStringLiteral("Minák száma"), QStringLiteral("Description 4")},
        {QStringLiteral("Tel"), 20, QStringLiteral("Átlagolva"), QStringLiteral("Description 5")},
        {QStringLiteral("Fax"), 20, QStringLiteral("Növényfaj"), QStringLiteral("Description 6")},
        {QStringLiteral("Email"), 100, QStringLiteral("Hozam"), QStringLiteral("Description 7")},
        {QStringLiteral("Azon"), 20, QStringLiteral("Cim"), QStringLiteral("Description 8")},
        {QStringLiteral("Szerv"), 30, QStringLiteral("Parcsor"), QStringLiteral("Description 9")},
    };
    QStringList row = values;
    row.resize(columns.size());
    return std::make_unique<SingleRowFeed>(QStringLiteral("Szaktanfedlap"), std::move(columns),
                                           row, state.headerRowDone);
}

std::unique_ptr<ReportFeed> recommendationTextFeed(const QList<QVariantMap> &rows)
{
    QList<FeedColumn> columns {
        {QStringLiteral("Javid"), 30, QStringLiteral("Javid"), QStringLiteral("Description 1")},
        {QStringLiteral("Javtap"), 30, QStringLiteral("Javtap"), QStringLiteral("Description 2")},
        {QStringLiteral("Jav"), 240, QStringLiteral("Jav"), QStringLiteral("Description 3")},
        {QStringLiteral("elem"), 30, QStringLiteral("Elem"), QStringLiteral("Description 4")},
    };
    return std::make_unique<CountedFeed>(
        QStringLiteral("RvTableConnection1"), std::move(columns), 0, int(rows.size()) - 1,
        [&rows](int row) {
            const QVariantMap &values = rows[row];
            return QStringList {values.value(QStringLiteral("Javid")).toString(),
                                values.value(QStringLiteral("Javtap")).toString(),
                                values.value(QStringLiteral("Jav")).toString(),
                                values.value(QStringLiteral("elem")).toString()};
        });
}

std::unique_ptr<ReportFeed> leafResultsFeed(const QList<QStringList> &rows)
{
    QList<FeedColumn> columns = describedColumns({
        {QStringLiteral("minta"), QStringLiteral("mintajelf")},
        {QStringLiteral("N"), QStringLiteral("N")},
        {QStringLiteral("P"), QStringLiteral("P")},
        {QStringLiteral("K"), QStringLiteral("K")},
        {QStringLiteral("Mg"), QStringLiteral("Mg")},
        {QStringLiteral("Ca"), QStringLiteral("Ca")},
    });
    return std::make_unique<CountedFeed>(QStringLiteral("Levmintaer"), std::move(columns), 0,
                                         int(rows.size()) - 1,
                                         [&rows](int row) { return rows[row]; });
}

} // namespace PlanFeeds
