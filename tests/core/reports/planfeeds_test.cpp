#include "core/data/reference/adviserrecord.h"
#include "core/plan/calculationstate.h"
#include "core/plan/elementselection.h"
#include "core/plan/corrections.h"
#include "core/plan/supplyclassifier.h"
#include "core/reports/planfeeds.h"
#include "core/reports/planreports.h"
#include "feeddrain.h"
#include "summaryfixture.h"

#include <gtest/gtest.h>

namespace {

class PlanFeedsTest : public SummaryTest
{
protected:
    // The print state of the full summary, as its print prepares it.
    PrintState summaryState(const PlanSummary &built)
    {
        PlanReports reports(m_plan.items(), m_database, QString());
        EXPECT_TRUE(reports.fullSummary(built, false));
        return reports.printState();
    }

    ResultTable supplyList()
    {
        CalculationState state;
        ElementSelection::applySelectedFlags(m_plan.items(), state.elements);
        SupplyClassifier classifier(m_database);
        return showSupplyLevels(m_plan.items(), state, classifier).value();
    }

    void storeAdviser(bool shown, const QString &identifier, const QString &phone)
    {
        AdviserRecord adviser;
        adviser.Nev = QStringLiteral("Kovács Ödön");
        adviser.Tel = phone;
        adviser.Fax = QStringLiteral("96/111-112"); // never on the line
        adviser.Regsz = identifier;
        adviser.Megjel = shown;
        QString error;
        ASSERT_TRUE(AdviserRecord::storeAdviser(m_database, adviser, &error)) << error.toStdString();
    }

    QString adviserLine()
    {
        PlanReports reports(m_plan.items(), m_database, QString());
        PrintState state;
        const auto header = PlanFeeds::planHeaderFeed(reports.planHeader(), state);
        return drain(*header).column(QStringLiteral("Szaktan")).value(0);
    }
};

} // namespace

TEST_F(PlanFeedsTest, WithNitrogenAndPotassiumOnlyTheOtherElementsAreEmpty)
{
    select({Elements::N, Elements::K});
    const ResultTable list = supplyList();
    PrintState listState;
    listState.printRowCount = list.rowCount() + 1;
    listState.elementColumnMap = elementColumnMap(list.headings, list.columnCount());
    const DrainedFeed grid = drain(*PlanFeeds::resultGridFeed(list, listState));
    ASSERT_EQ(grid.rows.size(), list.rowCount());
    EXPECT_EQ(grid.column(QStringLiteral("param")).value(0), list.reportTitle);
    EXPECT_EQ(grid.column(QStringLiteral("nit")).value(0), list.cell(0, 1));
    EXPECT_EQ(grid.column(QStringLiteral("kal")).value(0), list.cell(0, 2));

    const PlanSummary built = summary();
    const PrintState state = summaryState(built);
    const DrainedFeed blocks = drain(*PlanFeeds::summaryFeed(built, state));
    ASSERT_FALSE(blocks.rows.isEmpty());
    for (const char *empty : {"fos", "mag", "man", "cin", "rez"}) {
        SCOPED_TRACE(empty);
        for (const QString &value : grid.column(QString::fromLatin1(empty)))
            EXPECT_EQ(value, QString());
        for (const char *block : {"el", "ja", "ki", "ko"}) {
            for (const QString &value : blocks.column(QString::fromLatin1(block) + QString::fromLatin1(empty)))
                EXPECT_EQ(value, QString());
        }
    }
    for (const char *filled : {"elnit", "elkal", "janit", "kokal"})
        EXPECT_NE(blocks.column(QString::fromLatin1(filled)).value(0), QString()) << filled;
}

TEST_F(PlanFeedsTest, ThreeSamplesGiveOneSummaryRowPerSoilColumn)
{
    setSamples(3);
    const PlanSummary built = summary();
    const PrintState state = summaryState(built);
    EXPECT_EQ(state.printRowCount, 12);

    const DrainedFeed blocks = drain(*PlanFeeds::summaryFeed(built, state));
    EXPECT_EQ(blocks.announced, 4);
    ASSERT_EQ(blocks.rows.size(), 4);
    for (int j = 0; j < 4; ++j) // block rows 1, 5, 9, 13
        EXPECT_EQ(blocks.column(QStringLiteral("paramko"))[j], built.summaryTable.cell(4 * j + 4, 1));
    EXPECT_EQ(blocks.column(QStringLiteral("minta")), (QStringList {"Átlag", "M-1", "M-2", "M-3"}));
    EXPECT_EQ(blocks.columns.size(), 33);
    for (const auto &[column, description] :
        {std::pair {8, "Description 9"}, {9, "Description10"}, {32, "Description33"}})
        EXPECT_EQ(blocks.columns[column].description, QString::fromLatin1(description));

    const DrainedFeed soil = drain(*PlanFeeds::soilResultsFeed(m_plan.items()));
    EXPECT_EQ(soil.announced, 4);
    ASSERT_EQ(soil.rows.size(), 4);
    QStringList secondSample; // soil column 3: mark, then the ten values
    for (int row = 1; row <= 11; ++row)
        secondSample.append(m_plan.items().soilSampleTable.cell(row, 3));
    EXPECT_EQ(soil.rows[2], secondSample);

    const DrainedFeed remainder = drain(*PlanFeeds::remainderFeed(built.remainderTable, 3));
    EXPECT_EQ(remainder.announced, 5);
    EXPECT_EQ(remainder.rows.size(), 5);
    EXPECT_EQ(remainder.rows[0].value(1), QStringLiteral("Nitrogén"));
}

TEST_F(PlanFeedsTest, TheAdviserLineFollowsTheStoredData)
{
    storeAdviser(true, QString(), QStringLiteral("+36 30 123 4567"));
    EXPECT_EQ(adviserLine(), QStringLiteral("Tervet készítette: Kovács Ödön (tel.: +36 30 123 4567 )"));
    storeAdviser(true, QStringLiteral("SZT-42"), QString());
    EXPECT_EQ(adviserLine(), QStringLiteral("Tervet készítette: Kovács Ödön, azonosító: SZT-42"));

    storeAdviser(false, QStringLiteral("SZT-42"), QStringLiteral("+36 30 123 4567"));
    EXPECT_EQ(adviserLine(), QString());
    PlanReports reports(m_plan.items(), m_database, QString());
    ASSERT_TRUE(reports.coverSheet());
    PrintState state;
    const DrainedFeed cover = drain(*PlanFeeds::coverSheetFeed(
        {QStringLiteral("Kovács Ödön"), QStringLiteral("9330")}, state));
    EXPECT_EQ(cover.announced, 1);
    ASSERT_EQ(cover.rows.size(), 1);
    EXPECT_TRUE(state.headerRowDone);
}

TEST_F(PlanFeedsTest, TheHeaderCarriesThePlanWithItsUnits)
{
    PlanReports reports(m_plan.items(), m_database, QString());
    PrintState state;
    const DrainedFeed header = drain(*PlanFeeds::planHeaderFeed(reports.planHeader(), state));
    ASSERT_EQ(header.rows.size(), 1);
    QStringList values;
    for (const char *name : {"ter", "mintasz", "atlag", "nov", "hozam", "st1"})
        values.append(header.column(QString::fromLatin1(name)).value(0));
    EXPECT_EQ(values, (QStringList {"125000 m2", "1 db", "Program által", "Őszi búza", "6,5 t/ha",
                                    "Helyrajzi szám :"}));
}

TEST_F(PlanFeedsTest, AnElementWithoutAColumnMapsToMinusOneAndDeliversNothing)
{
    const QStringList headings {QString(), QStringLiteral("Kálium"), QStringLiteral("Nitrogén"),
                                QStringLiteral("Nitrogén")};
    const auto map = elementColumnMap(headings, int(headings.size()));
    EXPECT_EQ(map[PrintState::N], 2); // the first column of that name
    EXPECT_EQ(map[PrintState::K], 1);
    EXPECT_EQ(map[PrintState::P], -1);
    EXPECT_EQ(map[PrintState::Fe], -1);
    EXPECT_EQ(elementColumnMap(headings, 2)[PrintState::N], -1); // beyond the column count

    PrintState state;
    state.elementColumnMap = map;
    const QStringList row {QStringLiteral("Átlag"), QStringLiteral("Jó")};
    EXPECT_EQ(state.mappedValue(row, PrintState::P), QString());
    EXPECT_EQ(state.mappedValue(row, PrintState::N), QString()); // column 2 is past the row
    EXPECT_EQ(state.mappedValue(row, PrintState::K), QStringLiteral("Jó"));
}

TEST_F(PlanFeedsTest, TheScheduleFeedNumbersItsRowsAndAnEmptyOneDeliversItsBlankRow)
{
    addSchedule(QDate(2026, 4, 2), QStringLiteral("150"));
    const DrainedFeed schedule = drain(*PlanFeeds::scheduleFeed(m_plan.items()));
    ASSERT_EQ(schedule.rows.size(), 2);
    EXPECT_EQ(schedule.column(QStringLiteral("sorsz")), (QStringList {"1", "2"}));
    EXPECT_EQ(schedule.column(QStringLiteral("menny")).last(), QStringLiteral("150"));
    EXPECT_EQ(schedule.column(QStringLiteral("me")).last(), m_plan.items().scheduleDetailGrid.cell(2, 15));
    EXPECT_FALSE(schedule.column(QStringLiteral("me")).last().isEmpty());

    edit([](PlanItems &items) {
        Schedule::deleteScheduleRow(items, 2);
        Schedule::deleteScheduleRow(items, 1);
    });
    const DrainedFeed empty = drain(*PlanFeeds::scheduleFeed(m_plan.items()));
    ASSERT_EQ(empty.rows.size(), 1);
    EXPECT_EQ(empty.column(QStringLiteral("datum")).first(), QString());
}

TEST_F(PlanFeedsTest, TheCorrectionAndTotalsFeedsStartAtRowZero)
{
    const DrainedFeed texts = drain(*PlanFeeds::correctionTextFeed({4, 7}));
    EXPECT_EQ(texts.column(QStringLiteral("Text")),
              (QStringList {Corrections::correctionTexts()[3], Corrections::correctionTexts()[6]}));
    EXPECT_EQ(drain(*PlanFeeds::correctionTextFeed({})).rows.size(), 0);

    const PlanSummary built = summary();
    const DrainedFeed totals = drain(*PlanFeeds::appliedTotalsFeed(built.appliedTotals));
    ASSERT_EQ(totals.rows.size(), 2);
    EXPECT_EQ(totals.rows[0].value(1), QStringLiteral("Nitrogén"));
    EXPECT_EQ(totals.rows[1].value(0), QStringLiteral("Össz hatóanyag:"));
}
