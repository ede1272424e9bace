#include "core/plan/split.h"

#include "core/plan/calculationstate.h"
#include "core/plan/elements.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "plantestdatabase.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

#include <array>

namespace {

const QString crop = QStringLiteral("990003"); // a crop of the tests only

class SplitTest : public PlanDatabaseTest
{
protected:
    void SetUp() override
    {
        PlanDatabaseTest::SetUp();
        // Category I (Sztid 1), stored out of order: the list must still take them by
        // ascending upper limit (Ka); then autumn N, P and K in %, the largest autumn N.
        addSplitRow(crop, 1, {100, 20, 30, 40, 50});
        addSplitRow(crop, 1, {37, 40, 70, 60, 60});
        addSplitRow(crop, 1, {50, 33.5, 100, 0, 45});
        // neither another site category nor another crop may be read
        addSplitRow(crop, 2, {200, 1, 1, 1, 1});
        addSplitRow(QStringLiteral("990004"), 1, {200, 2, 2, 2, 2});

        SoilSamples::initSoilGrid(m_items);
        m_items.cropId = crop;
        m_items.siteCategory = 0;
        m_items.elementSelected.fill(false);
        for (Elements::Element e : {Elements::N, Elements::P, Elements::K})
            m_items.elementSelected[e] = true;
    }

    void addSplitRow(const QString &novid, int sztid, const std::array<double, 5> &values)
    {
        namespace F = Tables::Find3;
        ASSERT_TRUE(m_database.insert(F::name, {{F::Novid, novid}, {F::Sztid, sztid},
            {F::Ka, values[0]}, {F::ON, values[1]}, {F::OP, values[2]}, {F::OK, values[3]},
            {F::MaxN, values[4]}}));
    }

    void setColumns(const QList<QString> &plasticities)
    {
        m_items.sampleCount = int(plasticities.size()) - 1;
        for (int s = 0; s < plasticities.size(); ++s) {
            const int column = s + 1;
            m_items.soilSampleTable.setCell(
                1, column, s == 0 ? QStringLiteral("Átlag") : QString::number(s) + '.');
            m_items.soilSampleTable.setCell(kaRow, column, plasticities[s]);
        }
    }

    ResultTable split()
    {
        const Outcome<ResultTable> result = showSplit(m_items, m_state, m_database);
        EXPECT_FALSE(result.isRefused()) << result.refusalText().toStdString();
        return result ? *result : ResultTable();
    }

    PlanItems m_items;
    CalculationState m_state;
};

} // namespace

TEST_F(SplitTest, EachColumnTakesTheFirstBandReachingItsPlasticity)
{
    struct Case
    {
        QString plasticity;
        QStringList cells;
    };
    const QStringList band37 = {"Ö:40%,Max:60kg/ha", "Ö:70%T:30%", "Ö:60%T:40%"};
    const QStringList band50 = {"Ö:33,5%,Max:45kg/ha", "Ö:100%T:0%", "Ö:0%T:100%"};
    const QStringList band100 = {"Ö:20%,Max:50kg/ha", "Ö:30%T:70%", "Ö:40%T:60%"};
    const QStringList none = {"---", "---", "---"};
    const QList<Case> cases = {
        {"37", band37},   // a limit equal to the value is that band's
        {"37,5", band50}, // just above, with a decimal comma: the next band
        {"50", band50},
        {"100", band100}, // the last band's own limit
        {"100,1", none},
    };
    QList<QString> plasticities;
    for (const Case &c : cases)
        plasticities.append(c.plasticity);
    setColumns(plasticities);

    const ResultTable result = split();
    EXPECT_EQ(result.reportTitle, QStringLiteral("Megosztás(Ösz/Tavasz) :"));
    EXPECT_EQ(result.headings, (QStringList {"", "Nitrogén", "Foszfor", "Kálium"}));
    EXPECT_EQ(result.columnWidths, (QList<int> {0, 140, 100, 100}));
    ASSERT_EQ(result.rowCount(), cases.size());
    for (int s = 0; s < cases.size(); ++s) {
        SCOPED_TRACE(cases[s].plasticity.toStdString());
        EXPECT_EQ(result.rows[s],
            QStringList {s == 0 ? QStringLiteral("Átlag") : QString::number(s) + '.'}
                + cases[s].cells);
    }
}

TEST_F(SplitTest, OnlyTheSelectedElementsGetAColumn)
{
    setColumns({"40"});
    m_items.elementSelected[Elements::N] = false;
    m_items.elementSelected[Elements::K] = false;
    const ResultTable result = split();
    EXPECT_EQ(result.headings, (QStringList {"", "Foszfor"}));
    EXPECT_EQ(result.columnWidths, (QList<int> {0, 100}));
    ASSERT_EQ(result.rowCount(), 1);
    EXPECT_EQ(result.rows[0], (QStringList {"Átlag", "Ö:100%T:0%"})); // the 50 band

    // N and K alone: N keeps its wider column
    m_items.elementSelected[Elements::N] = true;
    m_items.elementSelected[Elements::P] = false;
    m_items.elementSelected[Elements::K] = true;
    EXPECT_EQ(split().columnWidths, (QList<int> {0, 140, 100}));
}

// Only the rules of the plan's crop and site category count; without any, every cell is "---".
TEST_F(SplitTest, TheCropAndSiteCategoryChooseTheRules)
{
    setColumns({"10", "150"});
    const QStringList none = {"---", "---", "---"};
    const struct
    {
        const char *name;
        QString cropId;
        int siteCategory;
        QStringList cells;
    } cases[] = {
        {"a crop without rules", QStringLiteral("990005"), 0, none},
        {"a site category without rules", crop, 2, none},
        {"no site category chosen", crop, -1, none},
        {"Sztid 2: the one 200 band", crop, 1, {"Ö:1%,Max:1kg/ha", "Ö:1%T:99%", "Ö:1%T:99%"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        m_items.cropId = c.cropId;
        m_items.siteCategory = c.siteCategory;
        const ResultTable result = split();
        ASSERT_EQ(result.rowCount(), 2);
        EXPECT_EQ(result.rows[0], QStringList {"Átlag"} + c.cells);
        EXPECT_EQ(result.rows[1], QStringList {"1."} + c.cells);
    }
}
