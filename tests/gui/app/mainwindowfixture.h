#pragma once

#include "core/data/reference/referencedatabase.h"
#include "core/plan/plan.h"
#include "core/settings/apppaths.h"
#include "core/session/plansession.h"
#include "gui/app/datalocationbox.h"
#include "gui/app/mainwindow.h"
#include "gui/app/planprinting.h"
#include "gui/app/wizardboxes.h"
#include "gui/ui/movablebox.h"
#include "gui/app/steplistbox.h"
#include "gui/ui/stepquestion.h"
#include "support/defaultreference.h"
#include "support/sampleplan.h"
#include "support/screenshot.h"
#include "support/scriptedfilechooser.h"
#include "support/scriptedmessenger.h"

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

// A main window on a temporary data directory with its own reference database, shown
// offscreen, its messages and file dialogs answered by the test.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_paths.programDirectory = m_dir.path();
        m_paths.dataDirectory = m_dir.path();
        m_paths.startDirectory = m_dir.path();
        openDefaultReference(m_dir, m_reference);
        if (HasFatalFailure())
            return;
        m_window = std::make_unique<MainWindow>(m_plan, m_messenger, m_reference, m_paths);
        m_window->setFileChooser(&m_chooser);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Tests that want to look at the window set NUTRISOR_SCREENSHOTS to a directory.
    void TearDown() override { saveScreenshot(m_window.get(), QString()); }

    // With NUTRISOR_SCREENSHOTS set: the window as it is now, under the test's name and `name`.
    void snapshot(const char *name) const
    {
        saveScreenshot(m_window.get(), QString(), QLatin1Char('-') + QLatin1String(name));
    }

    QAction *action(const char *name) const
    {
        QAction *found = m_window->action(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QPushButton *stepButton(int step) const { return m_window->stepListBox()->stepButton(step); }

    // A control of a step's box, by object name.
    template<typename T>
    T *inBox(int step, const char *name) const
    {
        T *found = m_window->stepBox(step)->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // The sample plan, step 1 finished through the window and steps 2 to `lastStep` completed.
    void makePlan(int lastStep)
    {
        m_window->session().newPlan();
        m_plan.setItems(samplePlanItems());
        m_window->wizard().finishStep(1);
        for (int step = 2; step <= lastStep; ++step)
            ASSERT_EQ(completeStep(m_plan, step, true, m_messenger), StepOutcome::Completed);
    }

    QToolButton *toolButton(const char *name) const
    {
        return m_window->findChild<QToolButton *>(QString::fromLatin1(name));
    }

    QTemporaryDir m_dir;
    AppPaths m_paths;
    ScriptedMessenger m_messenger;
    ScriptedFileChooser m_chooser;
    ReferenceDatabase m_reference;
    Plan m_plan;
    std::unique_ptr<MainWindow> m_window;
};

