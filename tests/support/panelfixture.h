#pragma once

#include "core/data/reference/referencedatabase.h"
#include "core/plan/calculationstate.h"
#include "core/plan/elementselection.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/settings/programsettings.h"
#include "gui/steps/stepcontext.h"
#include "support/defaultreference.h"
#include "support/screenshot.h"
#include "support/scriptedmessenger.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

// A step panel under test: a temporary reference database made from the built-in
// defaults, an open plan with one average column (Ka 38, humus 1,7 %: nitrogen "Gyenge" on
// site category I) and nitrogen selected, and a scripted messenger. The panel is shown by
// showPanel(); with NUTRISOR_SCREENSHOTS set it is saved as a picture after each test.
class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openDefaultReference(m_dir, m_reference);
        if (HasFatalFailure())
            return;

        m_plan.resetPlan();
        m_plan.setOpen(true);
        PlanItems items = m_plan.items();
        SoilSamples::initSoilGrid(items);
        items.siteCategory = 0;
        TextGrid &grid = items.soilSampleTable;
        grid.setCell(1, 1, QStringLiteral("Átlag"));
        grid.setCell(3, 1, QStringLiteral("38"));
        grid.setCell(5, 1, QStringLiteral("1,7"));
        m_plan.setItems(items);
        selectOnly({Elements::N});
    }

    void TearDown() override
    {
        saveScreenshot(m_shown, m_shotPrefix);
        EXPECT_EQ(m_messenger.pendingAnswers(), 0) << "a message the test waited for never came";
    }

    // A control of the shown panel by its object name.
    template<typename T>
    T *child(const char *name) const
    {
        return namedChild<T>(m_shown, name);
    }

    void selectOnly(std::initializer_list<Elements::Element> elements)
    {
        // As completing step 1 does: the program's change, no edit.
        m_plan.update(
            PlanItem::All,
            [&](PlanItems &items) {
                items.elementSelected.fill(false);
                for (Elements::Element element : elements)
                    items.elementSelected[element] = true;
                ElementSelection::applyElementSelection(items, m_state.elements);
            },
            Plan::Change::Computed);
    }

    // Őszi búza: 30 kg/t of N at "Gyenge" on site I, 180 kg/ha for 6 t/ha.
    void chooseWheat()
    {
        m_plan.setCropId(QStringLiteral("1"));
        m_plan.setPlannedYield(QStringLiteral("6"));
        m_plan.markSaved();
    }

    // What a panel under test works with: the fixture's plan, tables, messenger and state.
    StepContext context() { return {m_plan, m_reference, m_messenger, m_state, &m_settings}; }

    // Replaces the text of a field as the user would: the field focused, all of it selected,
    // the new text typed.
    static void retype(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    // The plan's items as the panels read them.
    const PlanItems &items() const { return m_plan.items(); }

    // Shows the panel at `size`, the active window that keys go to, and names its pictures
    // "<prefix><test>.png".
    void showPanel(QWidget *panel, const QSize &size, const QString &shotPrefix)
    {
        m_shown = panel;
        m_shotPrefix = shotPrefix;
        panel->resize(size);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
    }

    QTemporaryDir m_dir;
    ReferenceDatabase m_reference;
    ScriptedMessenger m_messenger;
    Plan m_plan;
    CalculationState m_state;
    ProgramSettings m_settings;

private:
    QWidget *m_shown = nullptr;
    QString m_shotPrefix;
};
