#include "core/plan/schedule.h"

#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/cropneed.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "core/plan/supplyclassifier.h"
#include "plantestdatabase.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

#include <functional>
namespace {

namespace Find2 = Tables::Find2;
namespace Tapanyagok = Tables::Tapanyagok;

const QString crop = QStringLiteral("990006"); // a crop of the tests only
const QDate spring(2024, 3, 5);

// A material row as the materials table gives it: every content 0 unless given.
QVariantMap material(const QString &name, const QVariantMap &contents = {})
{
    QVariantMap row = {
        {Tapanyagok::Anyagid, qlonglong(7)},
        {Tapanyagok::Megnev, name},
        {Tapanyagok::Mert, QStringLiteral("kg")},
        {Tapanyagok::Egyeb, QString()},
        {Tapanyagok::Egyebmeny, 0.0},
        {Tapanyagok::Ertek, 0.0},
        {Tapanyagok::Deleted, false},
    };
    for (QLatin1String field : {Tapanyagok::N, Tapanyagok::P, Tapanyagok::K, Tapanyagok::Mg,
             Tapanyagok::S, Tapanyagok::Mn, Tapanyagok::Zn, Tapanyagok::Cu, Tapanyagok::Fe,
             Tapanyagok::Mo, Tapanyagok::B})
        row.insert(field, 0.0);
    for (auto it = contents.cbegin(); it != contents.cend(); ++it)
        row.insert(it.key(), it.value());
    return row;
}

const QVariantMap nitrate34 = material(QStringLiteral("Ammónium-nitrát 34% N"), {{"N", 34.0}});

class ScheduleTest : public PlanCalculationTest
{
protected:
    void SetUp() override
    {
        PlanCalculationTest::SetUp();
        // every soil at "Közepes"; at 8 t/ha N 12,5 × 8 = 100 and P 5 × 8 = 40 kg/ha; the
        // crop has no K row, so K has no dose
        for (const char *code : {"N", "P", "K"})
            setRules(QString::fromLatin1(code), {{"Hsz", 99999, {}, 0, {}, 0, 3}});
        addNeed(crop, QStringLiteral("N"), 1, {{Find2::K, 12.5}});
        addNeed(crop, QStringLiteral("P"), 1, {{Find2::K, 5}});

        startPlan(crop, 0);
        m_items.soilSampleTable.setCell(1, 1, QStringLiteral("Átlag"));
        select({ElementTable::N, ElementTable::P, ElementTable::K});
    }

    void add(const QVariantMap &row, const QString &amount)
    {
        ASSERT_EQ(Schedule::addScheduleRow(m_items, row, spring, amount).refusalText(), QString());
    }

    Outcome<ResultTable> remainder()
    {
        return Schedule::remainder(m_items, m_state, m_calculator, m_classifier);
    }

    Outcome<Schedule::Cover> cover(const QVariantMap &row)
    {
        return Schedule::coverGrid(m_items, row, m_state, m_calculator, m_classifier);
    }

};

using Pairs = QList<std::pair<QString, QString>>;

} // namespace

TEST_F(ScheduleTest, AddingToAnEmptyScheduleFillsRowOne)
{
    EXPECT_TRUE(Schedule::isEmpty(m_items));
    const QVariantMap compound = material(QStringLiteral("NPK 15-15-15"),
        {{"N", 15.0}, {"P", 15.0}, {"K", 15.0}, {"S", 2.5}, {"Egyeb", QStringLiteral("CaO")},
            {"Egyebmeny", 3.5}, {"Ertek", 120.0}, {"Anyagid", qlonglong(12)}});
    add(compound, QStringLiteral("250,5"));
    EXPECT_FALSE(Schedule::isEmpty(m_items));
    ASSERT_EQ(m_items.scheduleGrid.rowCount(), 2);
    ASSERT_EQ(m_items.scheduleDetailGrid.rowCount(), 2);
    // the amount stays as typed
    EXPECT_EQ(m_items.scheduleGrid.row(1), (QStringList {"2024.03.05.", "NPK 15-15-15", "250,5"}));
    EXPECT_EQ(m_items.scheduleDetailGrid.row(1),
        (QStringList {"15", "15", "15", "0", "2,5", "0", "0", "0", "0", "0", "0", "CaO", "3,5",
            "12", "120", "kg"}));
    // appending to both grids is scripted in Step5PanelTest.AddingFillsTheFirstRowThenAppends
}

TEST_F(ScheduleTest, RefusedRowsChangeNothing)
{
    struct Case
    {
        const char *name;
        QVariantMap material;
        QDate date;
        QString amount;
        QString message;
    };
    const QList<Case> cases = {
        {"blanks only", nitrate34, spring, "  ", "Kérem adja meg a tervezett anyagmennyiséget!"},
        {"no amount and no material: the amount first", {}, spring, "",
            "Kérem adja meg a tervezett anyagmennyiséget!"},
        {"a material without a name", material(""), spring, "200",
            "Kérem adja meg az anyag megnevezését!"},
        {"a decimal point", nitrate34, spring, "1.5",
            "A mennyiség nem szám: „1.5”. Kérem számot adjon meg!"},
        {"no date", nitrate34, QDate(), "200", "Kérem adja meg a kijuttatás időpontját!"},
    };
    add(nitrate34, QStringLiteral("100"));
    const PlanItems before = m_items;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Schedule::addScheduleRow(m_items, c.material, c.date, c.amount).refusalText(),
                  c.message);
        EXPECT_EQ(m_items.scheduleGrid, before.scheduleGrid);
        EXPECT_EQ(m_items.scheduleDetailGrid, before.scheduleDetailGrid);
    }
}

TEST_F(ScheduleTest, AtMostFiftyRows)
{
    for (int row = 1; row <= 50; ++row)
        add(nitrate34, QString::number(row));
    ASSERT_EQ(m_items.scheduleGrid.rowCount(), 51); // the header and fifty rows
    const PlanItems full = m_items;
    EXPECT_EQ(Schedule::addScheduleRow(m_items, nitrate34, spring, QStringLiteral("51"))
                  .refusalText(),
        QStringLiteral("A terv legfeljebb 50 kijuttatási sort tartalmazhat."));
    EXPECT_EQ(m_items.scheduleGrid, full.scheduleGrid);
    EXPECT_EQ(m_items.scheduleDetailGrid, full.scheduleDetailGrid);

    // after a deletion there is room again
    Schedule::deleteScheduleRow(m_items, 1);
    add(nitrate34, QStringLiteral("51"));
    EXPECT_EQ(m_items.scheduleGrid.cell(50, 2), QStringLiteral("51"));
}

// Moving rows up and blanking the last row are scripted in Step5PanelTest.DeletingARow…
TEST_F(ScheduleTest, DeletingOutsideTheRowsIsIgnoredAndTheLastRowIsBlankedInBothGrids)
{
    add(material(QStringLiteral("A"), {{"N", 10.0}}), QStringLiteral("1"));
    add(material(QStringLiteral("B"), {{"N", 20.0}}), QStringLiteral("2"));
    const PlanItems before = m_items;
    Schedule::deleteScheduleRow(m_items, 0); // the header is no row to delete
    Schedule::deleteScheduleRow(m_items, 3); // beyond the last row
    EXPECT_EQ(m_items.scheduleGrid, before.scheduleGrid);
    EXPECT_EQ(m_items.scheduleDetailGrid, before.scheduleDetailGrid);

    Schedule::deleteScheduleRow(m_items, 1);
    Schedule::deleteScheduleRow(m_items, 1);
    ASSERT_EQ(m_items.scheduleDetailGrid.rowCount(), 2);
    EXPECT_EQ(m_items.scheduleDetailGrid.row(1), QStringList(16, QString()));
    EXPECT_TRUE(Schedule::isEmpty(m_items));
    EXPECT_EQ(Schedule::appliedAmount(m_items, QStringLiteral("Nitrogén")), 0);
}

TEST_F(ScheduleTest, AppliedAmounts)
{
    add(nitrate34, QStringLiteral("200"));
    add(material(QStringLiteral("NP"), {{"N", 10.0}, {"P", 46.0}, {"Egyeb", QStringLiteral("S")},
            {"Egyebmeny", 12.5}}),
        QStringLiteral("150,5"));
    const QList<std::pair<const char *, double>> cases = {
        {"Nitrogén", 68 + 15.05},  // 34 % of 200 and 10 % of 150,5
        {"Foszfor", 69.23},        // 46 % of 150,5
        {"Kálium", 0},             // in neither
        {"mennyisége", 18.8125},   // the further component: 12,5 % of 150,5
        {"Egyéb", 0},              // a name, not a content
        {"nitrogén", 0},           // no such heading
    };
    for (const auto &[name, amount] : cases) {
        SCOPED_TRACE(name);
        EXPECT_DOUBLE_EQ(Schedule::appliedAmount(m_items, QString::fromUtf8(name)), amount);
    }

    // a hand-made row whose amount is no number adds nothing
    m_items.scheduleGrid.setCell(2, 2, QStringLiteral("x"));
    EXPECT_DOUBLE_EQ(Schedule::appliedAmount(m_items, QStringLiteral("Nitrogén")), 68);
}

TEST_F(ScheduleTest, TotalsOfTheSchedule)
{
    ResultTable totals = Schedule::appliedTotals(m_items);
    EXPECT_EQ(totals.reportTitle, QStringLiteral("(kg/ha):"));
    EXPECT_EQ(totals.headings,
        (QStringList {"", "Nitrogén", "Foszfor", "Kálium", "Magnézium", "Kén", "Mangán", "Cink",
            "Réz", "Vas", "Molibdelén", "Bór", "Egyéb", "mennyisége"}));
    EXPECT_EQ(totals.columnWidths, (QList<int> {100}));
    // an empty schedule applies nothing
    EXPECT_EQ(totals.rows,
        (QList<QStringList> {{"Össz hatóanyag:", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
            "0", "0", "0"}}));

    add(nitrate34, QStringLiteral("200"));
    add(material(QStringLiteral("Kieserit"),
            {{"Mg", 15.0}, {"S", 20.0}, {"Egyeb", QStringLiteral("CaO")}, {"Egyebmeny", 2.0}}),
        QStringLiteral("50"));
    totals = Schedule::appliedTotals(m_items);
    // N 34 % of 200; Mg 15 % and S 20 % of 50; "Egyéb" is a name and always 0; CaO 2 % of 50
    EXPECT_EQ(totals.rows,
        (QList<QStringList> {{"Össz hatóanyag:", "68", "0", "0", "7,5", "10", "0", "0", "0", "0",
            "0", "0", "0", "1"}}));
}

TEST_F(ScheduleTest, RemainderOfTheCorrectedNeed)
{
    m_items.sampleCount = 1;
    m_items.soilSampleTable.setCell(1, 2, QStringLiteral("1."));
    struct Case
    {
        const char *name;
        QVariantMap scheduled;
        QString amount;
        QStringList row;
    };
    const QList<Case> cases = {
        {"nothing applied yet", {}, "", {"100", "40", "---"}},
        {"68 of 100 kg N applied", nitrate34, "200", {"32", "40", "---"}},
        {"exactly the need: 50 % of 200", material(QStringLiteral("N 50"), {{"N", 50.0}}), "200",
            {"0", "40", "---"}},
        {"120 kg N applied: more than needed", material(QStringLiteral("N 40"), {{"N", 40.0}}),
            "300", {"-0", "40", "---"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Schedule::deleteScheduleRow(m_items, 1);
        if (!c.amount.isEmpty())
            add(c.scheduled, c.amount);
        const Outcome<ResultTable> result = remainder();
        ASSERT_FALSE(result.isRefused());
        EXPECT_EQ(result->reportTitle, QStringLiteral("maradék (kg/ha):"));
        EXPECT_EQ(result->headings, (QStringList {"", "Nitrogén", "Foszfor", "Kálium"}));
        // every soil column has the same need here, and the schedule covers them all
        EXPECT_EQ(result->rows,
            (QList<QStringList> {QStringList {"Átlag"} + c.row, QStringList {"1."} + c.row}));
    }
}

TEST_F(ScheduleTest, RemainderAfterTheCorrections)
{
    // manure 10 t/ha a year ago: N 100 − 18 = 82, P 40 − 20 = 20
    m_items.manureTiming = PlanItems::EgyEve;
    m_items.manureAmount = QStringLiteral("10");
    add(nitrate34, QStringLiteral("200"));
    EXPECT_EQ(remainder()->rows, (QList<QStringList> {{"Átlag", "14", "20", "---"}}));
    // invalid step-4 input: Step5PanelTest.InvalidStep4InputStopsTheRemainderAndTheCoverGrid
}

TEST_F(ScheduleTest, CoverGridGivesTheAmountForTheOpenNeed)
{
    const QVariantMap nitrate33 = material(QStringLiteral("N 33"), {{"N", 33.0}});
    struct Case
    {
        const char *name;
        QVariantMap scheduled;
        QString amount;
        QVariantMap chosen;
        Pairs rows;
    };
    const QList<Case> cases = {
        {"66 of 100 kg N applied: 34 kg open need 100 kg of a 34 % material", nitrate33, "200",
            nitrate34, {{"Nitrogén", "100"}}},
        {"nothing applied: 100 kg N and 40 kg P", {}, "",
            material(QStringLiteral("NP"), {{"N", 20.0}, {"P", 10.0}}),
            {{"Nitrogén", "500"}, {"Foszfor", "400"}}},
        {"N already covered", nitrate34, "300", nitrate34, {{"Nitrogén", "0"}}},
        {"K has no dose and S, Fe, Mo, B no code", {}, "",
            material(QStringLiteral("Mix"),
                {{"K", 40.0}, {"S", 10.0}, {"Fe", 1.0}, {"Mo", 1.0}, {"B", 1.0},
                    {"Egyeb", QStringLiteral("CaO")}, {"Egyebmeny", 5.0}}),
            {}},
        {"a content that is no number", {}, "",
            material(QStringLiteral("Rossz"), {{"N", QStringLiteral("sok")}, {"P", 8.0}}),
            {{"Foszfor", "500"}}},
        {"no material chosen", {}, "", {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Schedule::deleteScheduleRow(m_items, 1);
        if (!c.amount.isEmpty())
            add(c.scheduled, c.amount);
        const Outcome<Schedule::Cover> result = cover(c.chosen);
        ASSERT_FALSE(result.isRefused());
        EXPECT_EQ(result->rows, c.rows);
    }
}

TEST_F(ScheduleTest, CoverGridOnlyForDosedElementsOfTheAverageColumn)
{
    // only N and K are dosed; sample 1 at N level "Jó" has no N need, the average has
    setRules(QStringLiteral("N"),
        {{"Hsz", 5, {}, 0, {}, 0, 3}, {"Hsz", 99999, {}, 0, {}, 0, 5}});
    m_state.elements.entry(ElementTable::P).selected = false;
    m_items.sampleCount = 1;
    m_items.soilSampleTable.setCell(1, 2, QStringLiteral("1."));
    m_items.soilSampleTable.setCell(5, 2, QStringLiteral("10"));
    m_items.yieldLoss = true;
    m_items.residualN = m_items.residualP = m_items.residualK = QStringLiteral("0");
    const QVariantMap np = material(QStringLiteral("NP"), {{"N", 25.0}, {"P", 10.0}});
    EXPECT_EQ(cover(np)->rows, (Pairs {{"Nitrogén", "400"}}));
}
