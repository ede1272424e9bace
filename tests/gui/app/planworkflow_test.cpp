#include "gui/app/mainwindow.h"

#include "core/planfile/planfile.h"
#include "core/plan/soilsamples.h"
#include "core/plan/stepcompletion.h"
#include "cli/commandruns.h"
#include "gui/app/steplistbox.h"
#include "gui/steps/step3panel.h"
#include "support/scriptedfilechooser.h"

#include <QFile>
#include <QFileDevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>

#include <cstdio>

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

    // A plan at step 4: elements, a field with one sample, winter wheat for 6,5 t/ha.
    void makePlan()
    {
        m_window->session().newPlan();
        m_window->wizard().finishStep(1);
        PlanItems &items = m_plan.items();
        fillOneSampleField(items, 2);
        items.farmingYear = QStringLiteral("2026/27");
        items.cropId = QStringLiteral("1");
        items.plannedYield = QStringLiteral("6,5");
        m_plan.notifyItemsChanged();
        ASSERT_EQ(completeStep(m_plan, 2, true, m_messenger), StepOutcome::Completed);
        ASSERT_EQ(completeStep(m_plan, 3, true, m_messenger), StepOutcome::Completed);
        m_plan.markModified(false);
    }

    ScriptedFileChooser m_chooser;
};

TEST_F(PlanWorkflowTest, SavedPlanOpensWithItsStepsReestablished)
{
    makePlan();
    m_chooser.expect(planPath("terv")); // the extension is added
    ASSERT_TRUE(m_window->session().savePlan()) << qPrintable(m_messenger.lastText());
    EXPECT_TRUE(QFile::exists(planPath("terv.tap")));
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_FALSE(action("savePlanAction")->isEnabled());
    EXPECT_EQ(m_chooser.filters().value(0),
              QStringLiteral("Tápanyag-gazdálkodási terv (.tap)|*.tap"));
    const PlanItems saved = m_plan.items();

    m_window->session().newPlan();
    ASSERT_TRUE(m_plan.items().lotNumber.isEmpty());
    m_chooser.expect(planPath("terv.tap"));
    action("openPlanAction")->trigger();
    EXPECT_EQ(m_chooser.filters().value(1),
              QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap"));

    const PlanItems &items = m_plan.items();
    EXPECT_EQ(m_window->stepListBox()->title(), QStringLiteral("Tápanyagterv módosítása"));
    EXPECT_EQ(items.lotNumber, saved.lotNumber);
    EXPECT_EQ(items.area, saved.area);
    EXPECT_EQ(items.farmingYear, saved.farmingYear);
    EXPECT_EQ(items.siteCategory, 2);
    EXPECT_EQ(items.sampleCount, 1);
    EXPECT_EQ(items.soilSampleTable.cell(1, 2), QStringLiteral("K-1"));
    EXPECT_EQ(items.soilSampleTable.cell(2, 2), QStringLiteral("7,4"));
    EXPECT_EQ(items.cropId, QStringLiteral("1"));
    EXPECT_EQ(items.plannedYield, QStringLiteral("6,5"));
    // Steps 1–4 of a plan saved at step 4 are done again, silently; nothing is modified.
    for (int step = 1; step <= 4; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(m_plan.stepState(step), State::Done);
    }
    EXPECT_EQ(m_plan.stepState(5), State::Done); // step 5 has no check
    EXPECT_TRUE(m_plan.isSummaryEnabled());
    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());
}

TEST_F(PlanWorkflowTest, AFileThatIsNoPlanLeavesThePlanAsItWas)
{
    makePlan();
    QFile broken(planPath("hibas.tap"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a plan at all");
    broken.close();
    m_messenger.expect(Answer::Ok);
    EXPECT_FALSE(m_window->session().openPlanFile(planPath("hibas.tap")));
    EXPECT_EQ(m_messenger.lastText(), QStringLiteral("A fájl formátuma helytelen! Nem lehet megnyitni!"));
    EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Error);
    EXPECT_EQ(m_plan.items().lotNumber, QStringLiteral("0452/7 Őrség-dűlő"));
    EXPECT_TRUE(m_plan.isModified());
}

TEST_F(PlanWorkflowTest, OpenAsksAboutChangesAndShowsTheDialogWhateverTheAnswer)
{
    makePlan();
    m_messenger.expect(Answer::Megsem);
    m_chooser.expect(QString()); // the user cancels the open dialog
    action("openPlanAction")->trigger();
    EXPECT_EQ(m_messenger.lastText(), QStringLiteral("Mentsem a változásokat ?"));
    EXPECT_EQ(m_chooser.pendingAnswers(), 0);
    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_TRUE(m_plan.isModified());
}

TEST_F(PlanWorkflowTest, ExitFollowsTheAnswerAndACancelledSave)
{
    makePlan();
    // "Mégsem": the program stays, the plan too.
    m_messenger.expect(Answer::Megsem);
    action("exitAction")->trigger();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_plan.isModified());
    // "Igen" and then "Mégse" in the save dialog: the program stays, the plan too.
    m_messenger.expect(Answer::Igen);
    m_chooser.expect(QString());
    action("exitAction")->trigger();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_TRUE(m_plan.isModified());
    // "Nem": the plan closes without a file and the window goes.
    m_messenger.expect(Answer::Nem);
    action("exitAction")->trigger();
    EXPECT_FALSE(m_plan.isOpen());
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(QDir(m_dir.path()).entryList({QStringLiteral("*.tap")}).isEmpty());
}

TEST_F(PlanWorkflowTest, AnAreaThatIsNotWholeStopsTheSaveBeforeTheDialog)
{
    makePlan();
    for (const char *area : {"", "12,5"}) {
        SCOPED_TRACE(area);
        m_plan.items().area = QString::fromUtf8(area);
        m_messenger.expect(Answer::Ok);
        // No file dialog is expected: the chooser fails the test if one comes.
        EXPECT_FALSE(m_window->session().savePlan());
        EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Error);
        EXPECT_TRUE(m_plan.isModified());
    }
}

TEST_F(PlanWorkflowTest, CancellingTheSaveFromTheCloseQuestionKeepsThePlan)
{
    makePlan();
    m_messenger.expect(Answer::Igen);
    m_chooser.expect(QString());
    EXPECT_FALSE(m_window->session().closePlan());
    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_TRUE(m_plan.isModified());

    // Saving twice asks for the name twice.
    m_chooser.expect(planPath("elso.tap"));
    EXPECT_TRUE(m_window->session().savePlan());
    m_plan.markModified(false);
    m_chooser.expect(planPath("masodik.TAP"));
    EXPECT_TRUE(m_window->session().savePlan());
    // Only ".tap" in small letters counts as the extension.
    EXPECT_TRUE(QFile::exists(planPath("masodik.TAP.tap")));
}

TEST_F(PlanWorkflowTest, AFileThatCannotBeWrittenIsNotReportedSaved)
{
    makePlan();
    // A folder that is not there: the file cannot be created.
    m_chooser.expect(planPath("nincs-ilyen-mappa/terv.tap"));
    m_messenger.expect(Answer::Ok);
    EXPECT_FALSE(m_window->session().savePlan());
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_TRUE(action("savePlanAction")->isEnabled());
    EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Error);
    EXPECT_TRUE(m_messenger.lastText().contains(QStringLiteral("terv.tap")))
        << qPrintable(m_messenger.lastText());
}

TEST_F(PlanWorkflowTest, AnUnknownCropIsReportedAndLoadingGoesOn)
{
    makePlan();
    m_plan.items().cropId = QStringLiteral("987");
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
    otherPlan.markModified(false);
    EXPECT_TRUE(other.action(QStringLiteral("savePlanAction"))->isEnabled());
}

TEST_F(PlanWorkflowTest, ExportPrintsThePlanAsJson)
{
    makePlan();
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(planPath("export.tap"), m_plan.items(), &error));
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    ASSERT_EQ(exportPlanJson(planPath("export.tap"), out, err), 0);
    std::rewind(out);
    QByteArray json;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
        json.append(buffer, qsizetype(n));
    const QJsonDocument document = QJsonDocument::fromJson(json);
    ASSERT_TRUE(document.isObject());
    EXPECT_TRUE(json.contains("0452/7 \xc5\x90rs\xc3\xa9g-d\xc5\xb1l\xc5\x91")); // UTF-8 ő, ű

    EXPECT_EQ(exportPlanJson(planPath("nincs.tap"), out, err), 1);
    std::rewind(err);
    const size_t n = std::fread(buffer, 1, sizeof buffer, err);
    EXPECT_TRUE(QByteArray(buffer, qsizetype(n)).contains("A f\xc3\xa1jl form\xc3\xa1tuma helytelen!"));
    std::fclose(out);
    std::fclose(err);
}

} // namespace
