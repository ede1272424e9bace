#include "core/plan/plan.h"

#include "core/planfile/planjson.h"

#include <QSignalSpy>

#include <functional>
#include <optional>
#include <utility>

#include <gtest/gtest.h>

namespace {

// Fills every item with a non-reset value, as a worked plan would have it.
void fillPlan(Plan &plan)
{
    PlanItems items = plan.items();
    items.elementSelected.fill(false);
    items.showDescriptions = true;
    items.lotNumber = QStringLiteral("0123/4");
    items.parcelNumber = QStringLiteral("7");
    items.area = QStringLiteral("125000");
    items.farmingYear = QStringLiteral("2026/2027");
    items.siteCategory = 4;
    items.sampleCount = 3;
    items.programAverage = true;
    for (int column = 1; column <= 4; ++column) {
        for (int row = 1; row < PlanItems::soilRowCount; ++row)
            items.soilSampleTable.setCell(row, column, QStringLiteral("%1,5").arg(row));
    }
    items.soilSampleTable.setCell(5, 1000, QStringLiteral("9"));
    items.cropId = QStringLiteral("000001");
    items.plannedYield = QStringLiteral("6,5");
    items.residueCrop = PlanItems::Kukorica;
    items.forecropYield = QStringLiteral("8");
    items.legumeEffect = 3;
    items.manureTiming = PlanItems::EgyEve;
    items.manureAmount = QStringLiteral("30");
    items.yieldLoss = true;
    items.residualN = QStringLiteral("10");
    items.residualP = QStringLiteral("11");
    items.residualK = QStringLiteral("12");
    items.scheduleGrid.setRowCount(5);
    items.scheduleGrid.setCell(3, 1, QStringLiteral("Pétisó 27% N"));
    items.scheduleDetailGrid.setRowCount(5);
    items.scheduleDetailGrid.setCell(3, 0, QStringLiteral("27"));
    items.leafLinks.setRowCount(4);
    items.leafLinks.setCell(2, 1, QStringLiteral("L-12"));
    plan.setItems(items);
    plan.setStepState(3, Plan::StepState::Done);
    plan.setStepEnabled(4, true);
    plan.setSummaryEnabled(true);
}

} // namespace

TEST(PlanTest, ResetGivesTheValuesOfANewPlan)
{
    Plan plan;
    fillPlan(plan);
    QSignalSpy resetSpy(&plan, &Plan::planReset);
    plan.resetPlan();
    const PlanItems &items = plan.items();

    EXPECT_EQ(resetSpy.count(), 1);
    // Every item empty, unticked or "000000" as a new record has it, all eleven elements
    // ticked; a file load sets the site category and manure amount itself, so they stay.
    PlanItems expected;
    expected.elementSelected.fill(true);
    expected.siteCategory = 4;
    expected.manureAmount = QStringLiteral("30");
    EXPECT_EQ(planToJson(items), planToJson(expected));
    // Rows 1–11 of every data column are emptied, the average column's mark too; the
    // header row and the row titles of column 0 belong to the window, not the plan data.
    for (int column = 1; column < PlanItems::soilColumnCount; ++column) {
        for (int row = 1; row < PlanItems::soilRowCount; ++row) {
            if (!items.soilSampleTable.cell(row, column).isEmpty())
                FAIL() << "cell " << row << "," << column << " not emptied";
        }
    }
    // Header plus one empty row in each grid; the two schedule grids stay parallel.
    EXPECT_EQ(items.scheduleGrid.rowCount(), 2);
    EXPECT_EQ(items.scheduleDetailGrid.rowCount(), 2);
    EXPECT_EQ(items.leafLinks.rowCount(), 2);

    // Only step 1 is available, and it is the current one.
    EXPECT_EQ(plan.stepState(1), Plan::StepState::Current);
    EXPECT_TRUE(plan.isStepEnabled(1));
    for (int step = 2; step <= Plan::stepCount; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(plan.stepState(step), Plan::StepState::Locked);
        EXPECT_FALSE(plan.isStepEnabled(step));
    }
    EXPECT_FALSE(plan.isSummaryEnabled());
}

TEST(PlanTest, MarkModifiedFollowsChangesAndSaves)
{
    Plan plan;
    QSignalSpy spy(&plan, &Plan::modifiedChanged);
    plan.markEdited(); // no plan open: no change
    EXPECT_FALSE(plan.isModified());
    EXPECT_EQ(spy.count(), 0);
    plan.setOpen(true);

    plan.markEdited();
    EXPECT_TRUE(plan.isModified());
    plan.markEdited(); // a second change reports nothing new
    EXPECT_EQ(spy.count(), 1);

    plan.markSaved();
    EXPECT_FALSE(plan.isModified());
    ASSERT_EQ(spy.count(), 2);
    EXPECT_FALSE(spy.at(1).at(0).toBool());

    // After a save, the next change counts again.
    plan.markEdited();
    EXPECT_TRUE(plan.isModified());

    // Saved while closed still clears the flag.
    plan.setOpen(false);
    plan.markSaved();
    EXPECT_FALSE(plan.isModified());
}

// Each change names its item (nothing when nothing changed) and only an edit marks the plan.
TEST(PlanTest, ChangesNameTheirItemAndOnlyEditsMarkTheOpenPlan)
{
    using Check = std::function<bool(const PlanItems &)>;
    const struct
    {
        const char *name;
        std::function<void(Plan &)> change;
        std::optional<PlanItem> item;
        bool modified;
        Check holds;
    } cases[] = {
        {"the same value", [](Plan &p) { p.setSiteCategory(4); }, {}, false, nullptr},
        {"an average", [](Plan &p) { p.setSoilCell(2, 1, "7", Plan::Change::Computed); },
         PlanItem::SoilSampleTable, false, nullptr},
        {"a load", [](Plan &p) { p.setItems(PlanItems()); }, PlanItem::All, false, nullptr},
        {"samples past the limit", [](Plan &p) { p.setSampleCount(1200); }, PlanItem::SampleCount,
         true, [](const PlanItems &i) { return i.sampleCount == PlanItems::maxSampleCount; }},
        {"nitrogen unticked", [](Plan &p) { p.selectElement(Elements::N, false); },
         PlanItem::ElementSelected, true, [](const PlanItems &i) {
             const auto &on = i.elementSelected;
             return !on[Elements::N] && !on[Elements::Cu] && !on[Elements::Mn] && on[Elements::Zn];
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Plan plan;
        plan.setSiteCategory(4);
        plan.setOpen(true);
        QSignalSpy changed(&plan, &Plan::itemChanged);
        c.change(plan);
        EXPECT_EQ(plan.isModified(), c.modified);
        ASSERT_EQ(changed.count(), c.item ? 1 : 0);
        if (c.item) {
            EXPECT_EQ(changed.first().first().value<PlanItem>(), *c.item);
        }
        EXPECT_TRUE(!c.holds || c.holds(plan.items()));
    }
}

TEST(PlanTest, StepsOutsideOneToFiveAreIgnored)
{
    Plan plan;
    QSignalSpy spy(&plan, &Plan::stepsChanged);
    plan.setStepState(0, Plan::StepState::Done);
    plan.setStepState(6, Plan::StepState::Done);
    plan.setStepEnabled(-1, true);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(plan.stepState(6), Plan::StepState::Locked);
    EXPECT_FALSE(plan.isStepEnabled(0));
}
