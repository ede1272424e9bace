#include "gui/app/mainwindow.h"

#include "core/planfile/planfile.h"
#include "gui/app/steplistbox.h"
#include "gui/steps/step3panel.h"
#include "support/scriptedfilechooser.h"

#include <QFile>
#include <QFileDevice>
#include <QMenuBar>

#include "mainwindowfixture.h"

namespace {

using State = Plan::StepState;

class PlanWorkflowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_window->setFileChooser(&m_chooser);
    }

    QString planPath(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // The sample plan at step 4, changed since it was made.
    void makePlan()
    {
        MainWindowTest::makePlan(3);
        m_plan.markEdited();
    }

    ScriptedFileChooser m_chooser;
};

// The file commands themselves are PlanSession's (tests/core/session); here the menu reaches
// them and the window follows the plan.
TEST_F(PlanWorkflowTest, MenuSaveAndOpenReachTheSession)
{
    makePlan();
    m_chooser.expect(planPath("terv.tap"));
    action("savePlanAction")->trigger();
    EXPECT_TRUE(QFile::exists(planPath("terv.tap")));
    EXPECT_FALSE(action("savePlanAction")->isEnabled());

    m_window->session().newPlan();
    m_window->wizard().showStep(1);
    m_chooser.expect(planPath("terv.tap"));
    action("openPlanAction")->trigger();
    EXPECT_EQ(m_window->stepListBox()->title(), QStringLiteral("Tápanyagterv módosítása"));
    for (int step = 1; step <= 5; ++step)
        EXPECT_FALSE(m_window->stepBox(step)->isVisible()) << step;
    EXPECT_FALSE(action("savePlanAction")->isEnabled());
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());
}

TEST_F(PlanWorkflowTest, ExitFollowsTheAnswer)
{
    makePlan();
    // "Mégsem": the program stays, the plan too.
    m_messenger.expect(Answer::Megsem);
    action("exitAction")->trigger();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_plan.isModified());
    // (a save cancelled after "Igen" is the session's, tests/core/session)
    // "Nem": the plan closes without a file and the window goes.
    m_messenger.expect(Answer::Nem);
    action("exitAction")->trigger();
    EXPECT_FALSE(m_plan.isOpen());
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(QDir(m_dir.path()).entryList({QStringLiteral("*.tap")}).isEmpty());
}

TEST_F(PlanWorkflowTest, AnUnknownCropIsReportedAndLoadingGoesOn)
{
    makePlan();
    m_plan.setCropId(QStringLiteral("987"), Plan::Change::Computed);
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(planPath("ismeretlen.tap"), m_plan.items(), &error))
        << qPrintable(error);
    m_window->session().newPlan();
    m_messenger.expect(Answer::Ok);
    EXPECT_TRUE(m_window->session().openPlanFile(planPath("ismeretlen.tap")));
    // The crop list stands on its first crop, and that is the plan's crop now.
    EXPECT_EQ(m_plan.items().cropId, m_window->wizard().step3Panel()->currentCropId());
    EXPECT_EQ(m_messenger.lastText(), QStringLiteral("A növény fajtája nem ismert!"));
    EXPECT_EQ(m_plan.items().lotNumber, QStringLiteral("0452/7 Őrség-dűlő"));
    // The step-3 check looks only at the yield, so the steps still come back.
    EXPECT_EQ(m_plan.stepState(3), State::Done);
    EXPECT_FALSE(m_plan.isModified());
}

TEST_F(PlanWorkflowTest, APlanNamedOnTheCommandLineOpensAtStart)
{
    makePlan();
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(planPath("indulo.tap"), m_plan.items(), &error));
    Plan otherPlan;
    MainWindow other(otherPlan, m_messenger, m_reference, m_paths);
    other.setPendingPlanPath(planPath("indulo.tap"));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    EXPECT_TRUE(otherPlan.isOpen());
    EXPECT_EQ(otherPlan.items().lotNumber, QStringLiteral("0452/7 Őrség-dűlő"));
    EXPECT_EQ(other.stepListBox()->title(), QStringLiteral("Tápanyagterv módosítása"));
    // As after opening from the menu: a change makes it savable.
    otherPlan.markEdited();
    EXPECT_TRUE(other.action(QStringLiteral("savePlanAction"))->isEnabled());
}

} // namespace
