#pragma once

#include "core/plan/elements.h"
#include "core/plan/plan.h"
#include "core/plan/planitems.h"
#include "core/plan/schedule.h"
#include "core/plan/soilsamples.h"
#include "core/reports/plansummary.h"
#include "support/scriptedmessenger.h"
#include "../plan/plantestdatabase.h"

#include <QDate>

#include <algorithm>
#include <functional>
#include <initializer_list>

// A plan on the built-in reference data that every step can compute: winter wheat on site
// category I, a soil column per sample with its own values, one schedule row.
class SummaryTest : public PlanDatabaseTest
{
protected:
    void SetUp() override
    {
        PlanDatabaseTest::SetUp();
        m_plan.resetPlan();
        setSamples(1);
        edit([](PlanItems &items) {
            items.lotNumber = QStringLiteral("0123/4");
            items.parcelNumber = QStringLiteral("2");
            items.area = QStringLiteral("125000");
            items.farmingYear = QStringLiteral("2026");
            items.siteCategory = 0;
            items.cropId = QStringLiteral("1"); // Őszi búza
            items.plannedYield = QStringLiteral("6,5");
        });
        select({Elements::N, Elements::P, Elements::K, Elements::Mg, Elements::Mn,
                Elements::Zn, Elements::Cu});
        addSchedule(QDate(2026, 3, 12), QStringLiteral("200"));
    }

    // Changes the plan's items as a test sets them up, through the plan.
    void edit(const std::function<void(PlanItems &)> &change)
    {
        m_plan.update(PlanItem::All, change, Plan::Change::Computed);
    }

    void select(std::initializer_list<Elements::Element> elements)
    {
        for (int element = 0; element < Elements::elementCount; ++element)
            m_plan.setElementSelected(element, std::find(elements.begin(), elements.end(), element)
                                                   != elements.end());
    }

    // The average column and `count` samples, each with values of its own; the averages are
    // computed by the program.
    void setSamples(int count) { edit([count](PlanItems &plan) { fillSamples(plan, count); }); }
    static void fillSamples(PlanItems &items, int count)
    {
        SoilSamples::initSoilGrid(items);
        SoilSamples::setSampleCount(items, count);
        items.programAverage = true;
        for (int column = 2; column <= count + 1; ++column) {
            const int s = column - 1;
            const QStringList values {
                QStringLiteral("7,%1").arg(s % 10),  QString::number(30 + 2 * s),
                QStringLiteral("1,%1").arg(s % 10),  QStringLiteral("2,%1").arg(s % 10),
                QString::number(80 + 17 * (s % 20)), QString::number(150 + 23 * (s % 15)),
                QString::number(100 + s % 90),       QString::number(30 + s % 40),
                QStringLiteral("1,%1").arg(s % 10),  QStringLiteral("2,%1").arg(s % 10)};
            items.soilSampleTable.setCell(1, column, QStringLiteral("M-%1").arg(s));
            for (int row = 2; row <= 11; ++row)
                items.soilSampleTable.setCell(row, column, values[row - 2]);
        }
        items.sampleCount = count;
    }

    // A row of the first material of the built-in list, added as step 5 adds it.
    void addSchedule(const QDate &date, const QString &amount)
    {
        const std::optional<QVariantMap> material
            = m_database.selectFirst(Tables::Tapanyagok::name);
        ASSERT_TRUE(material);
        Outcome<void> added;
        edit([&](PlanItems &plan) {
            added = Schedule::addScheduleRow(plan, *material, date, amount);
        });
        ASSERT_EQ(added.refusalText(), QString());
    }

    PlanSummary summary()
    {
        SummaryResult result = buildSummary(m_plan, m_database, false);
        EXPECT_FALSE(result.summary.isRefused()) << result.summary.refusalText().toStdString();
        return result.summary ? *result.summary : PlanSummary();
    }

    Plan m_plan;
    ScriptedMessenger m_messenger;
};
