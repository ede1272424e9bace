#include "core/session/plansession.h"

#include "core/data/reference/cropeditordata.h"
#include "core/plan/plan.h"
#include "core/plan/stepcompletion.h"
#include "core/planfile/planfile.h"
#include "core/planfile/planjson.h"
#include "core/session/stepboxes.h"
#include "support/defaultreference.h"
#include "support/qstringprinter.h"
#include "support/sampleplan.h"
#include "support/scriptedfilechooser.h"
#include "support/scriptedmessenger.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using State = Plan::StepState;

// The window's step boxes as flags. Finishing a box closes it, except the one the user
// chooses to correct (keepOpen).
class FakeStepBoxes final : public StepBoxes
{
public:
    bool isStepShown(int step) const override { return shown.count(step) > 0; }
    StepOutcome finishStep(int step) override
    {
        finished.append(step);
        if (step == keepOpen)
            return StepOutcome::KeepOpen;
        shown.erase(step);
        return StepOutcome::Completed;
    }
    void hideStep(int step) override { shown.erase(step); }

    std::set<int> shown;
    QList<int> finished;
    int keepOpen = 0;
};

class PlanSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openDefaultReference(m_dir, m_reference);
        m_session.setStepBoxes(&m_boxes);
        QObject::connect(&m_session, &PlanSession::planStarted,
                         [this](const QString &caption) { m_captions.append(caption); });
        QObject::connect(&m_session, &PlanSession::planClosed,
                         [this](bool shown) { m_closedWithStepList.append(shown); });
    }

    QString planPath(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // A plan typed in up to step 4: the sample plan's items, steps 1–`doneSteps` done.
    void makePlan(int doneSteps = 3)
    {
        m_session.newPlan();
        m_plan.setItems(samplePlanItems(), Plan::Change::Edit);
        for (int step = 1; step <= doneSteps; ++step)
            ASSERT_EQ(completeStep(m_plan, step, false), StepOutcome::Completed);
        ASSERT_TRUE(m_plan.isModified());
    }

    QTemporaryDir m_dir;
    ReferenceDatabase m_reference;
    ScriptedMessenger m_messenger;
    ScriptedFileChooser m_chooser;
    Plan m_plan;
    PlanSession m_session{m_plan, m_messenger, m_chooser, m_reference, m_dir.path()};
    FakeStepBoxes m_boxes;
    QStringList m_captions;
    QList<bool> m_closedWithStepList;
};

TEST_F(PlanSessionTest, SavedPlanOpensWithItsStepsReestablished)
{
    makePlan();
    m_chooser.expect(planPath("terv")); // the extension is added
    ASSERT_TRUE(m_session.savePlan()) << qPrintable(m_messenger.lastText());
    EXPECT_TRUE(QFile::exists(planPath("terv.tap")));
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_EQ(m_chooser.filters().value(0),
              QStringLiteral("Tápanyag-gazdálkodási terv (.tap)|*.tap"));
    const PlanItems saved = m_plan.items();

    // A new plan drops the items without a question.
    m_session.newPlan();
    ASSERT_TRUE(m_plan.items().lotNumber.isEmpty());
    m_boxes.shown = {1, 2, 4};
    m_chooser.expect(planPath("terv.tap"));
    m_session.openPlanCommand();
    EXPECT_EQ(m_chooser.filters().value(1),
              QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap"));

    EXPECT_EQ(m_captions, (QStringList{"Új terv létrehozása", "Új terv létrehozása",
                                       "Tápanyagterv módosítása"}));
    EXPECT_EQ(planToJson(m_plan.items()), planToJson(saved));
    // Steps 1–4 of a plan saved at step 4 are done again, silently; step 5 has no check.
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(m_plan.stepState(step), State::Done);
    }
    EXPECT_TRUE(m_plan.isSummaryEnabled());
    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_TRUE(m_boxes.shown.empty()); // the loaded plan starts with every box closed
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());
}

TEST_F(PlanSessionTest, APlanSavedBeforeItsCropStepIsSavedWithoutItsCrop)
{
    makePlan(1); // step 3 is still locked
    m_chooser.expect(planPath("korai.tap"));
    ASSERT_TRUE(m_session.savePlan());
    PlanItems written;
    ASSERT_TRUE(PlanFile::loadPlanFile(planPath("korai.tap"), written, nullptr));
    EXPECT_EQ(written.cropId, QStringLiteral("000000"));
    EXPECT_EQ(m_plan.items().cropId, QStringLiteral("1")); // the plan on screen keeps it
}

TEST_F(PlanSessionTest, APlanForANewCropWithoutNeedRowsReopensWithItsCrop)
{
    const QString poppy = CropEditorData::addCrop(m_reference, QStringLiteral("Mák")).value();
    m_session.newPlan();
    PlanItems items = samplePlanItems();
    items.cropId = poppy;
    m_plan.setItems(items, Plan::Change::Edit);
    for (int step = 1; step <= 3; ++step)
        ASSERT_EQ(completeStep(m_plan, step, false), StepOutcome::Completed);
    m_chooser.expect(planPath("mak.tap"));
    ASSERT_TRUE(m_session.savePlan()) << qPrintable(m_messenger.lastText());
    m_session.newPlan();
    ASSERT_TRUE(m_session.openPlanFile(planPath("mak.tap")));
    EXPECT_EQ(m_plan.items().cropId, poppy);
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());
}

TEST_F(PlanSessionTest, SaveThatWritesNoFileLeavesThePlanModified)
{
    struct Case
    {
        const char *name;
        QString area;
        QString chosenPath; // empty: no dialog expected, or the dialog cancelled
        bool dialog;
        QString message; // empty: no message
    };
    const Case cases[] = {
        {"no area", QString(), {}, false,
         QStringLiteral("Nincs megadva terület. A terv nem menthető.")},
        {"area not whole", QStringLiteral("12,5"), {}, false,
         QStringLiteral("Terület értéke nem egész szám: „12,5”. A terv nem menthető.")},
        {"dialog cancelled", QStringLiteral("124500"), {}, true, {}},
        // A folder that is not there: the file cannot be created.
        {"unwritable", QStringLiteral("124500"), planPath("nincs-ilyen-mappa/terv.tap"), true,
         QStringLiteral("terv.tap")},
    };
    makePlan();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        m_plan.setArea(c.area);
        const qsizetype before = m_messenger.shown().size();
        if (c.dialog)
            m_chooser.expect(c.chosenPath);
        if (!c.message.isEmpty())
            m_messenger.expect(Answer::Ok);
        EXPECT_FALSE(m_session.savePlan());
        EXPECT_EQ(m_chooser.pendingAnswers(), 0);
        EXPECT_TRUE(m_plan.isModified());
        ASSERT_EQ(m_messenger.shown().size(), before + (c.message.isEmpty() ? 0 : 1));
        if (!c.message.isEmpty()) {
            EXPECT_TRUE(m_messenger.lastText().contains(c.message)) << qPrintable(m_messenger.lastText());
            EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Error);
        }
    }
    EXPECT_TRUE(QDir(m_dir.path()).entryList({QStringLiteral("*.tap")}).isEmpty());

    // Saving twice asks for the name twice; only ".tap" in small letters is the extension.
    m_chooser.expect(planPath("elso.tap"));
    EXPECT_TRUE(m_session.savePlan());
    m_plan.setLotNumber(QStringLiteral("másik"));
    m_chooser.expect(planPath("masodik.TAP"));
    EXPECT_TRUE(m_session.savePlan());
    EXPECT_TRUE(QFile::exists(planPath("masodik.TAP.tap")));
}

TEST_F(PlanSessionTest, AFileThatIsNoPlanLeavesThePlanAsItWas)
{
    makePlan();
    QFile broken(planPath("hibas.tap"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a plan at all");
    broken.close();
    m_boxes.shown = {3};
    m_messenger.expect(Answer::Ok);
    EXPECT_FALSE(m_session.openPlanFile(planPath("hibas.tap")));
    EXPECT_EQ(m_messenger.lastText(),
              QStringLiteral("A fájl formátuma helytelen! Nem lehet megnyitni!"));
    EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Error);
    EXPECT_EQ(m_plan.items().lotNumber, QStringLiteral("0452/7 Őrség-dűlő"));
    EXPECT_EQ(m_plan.stepState(3), State::Done);
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_EQ(m_boxes.shown, std::set<int>{3});
    EXPECT_EQ(m_captions.size(), 1); // only the first new plan
}

TEST_F(PlanSessionTest, OpenAsksAboutChangesAndShowsTheDialogWhateverTheAnswer)
{
    makePlan();
    m_messenger.expect(Answer::Megsem);
    m_chooser.expect(QString()); // the user cancels the open dialog
    m_session.openPlanCommand(); // the question's text is checked where the plan closes
    EXPECT_EQ(m_chooser.pendingAnswers(), 0);
    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_TRUE(m_plan.isModified());
}

TEST_F(PlanSessionTest, CloseFollowsTheAnswerToTheSaveQuestion)
{
    // Without changes nothing is asked.
    m_session.newPlan();
    EXPECT_TRUE(m_session.closePlan());
    EXPECT_FALSE(m_plan.isOpen());

    struct Case
    {
        const char *name;
        int answer;
        bool dialog;       // "Igen" leads to the save dialog
        QString savePath;  // empty: the dialog is cancelled
        bool closes;
    };
    const Case cases[] = {
        {"Mégsem", Answer::Megsem, false, {}, false},
        {"close box", Answer::None, false, {}, false}, // also "Mégsem"
        {"Igen, save cancelled", Answer::Igen, true, {}, false},
        {"Igen, saved", Answer::Igen, true, planPath("zaras.tap"), true},
        {"Nem", Answer::Nem, false, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        makePlan();
        m_boxes = FakeStepBoxes();
        m_boxes.shown = {1, 3, 5};
        m_closedWithStepList.clear();
        m_messenger.expect(c.answer);
        if (c.dialog)
            m_chooser.expect(c.savePath);
        EXPECT_EQ(m_session.closePlan(), c.closes);
        EXPECT_EQ(m_messenger.shown().last(),
                  (ScriptedMessenger::Shown {"Mentsem a változásokat ?", ButtonSet::IgenNemMegsem,
                                             true, MessageKind::Warning}));
        EXPECT_EQ(m_plan.isOpen(), !c.closes);
        EXPECT_EQ(m_plan.isModified(), !c.closes);
        // Closing finishes the boxes of steps 1–4 on screen; the step-5 box is left alone.
        EXPECT_EQ(m_boxes.finished, c.closes ? QList<int>({1, 3}) : QList<int>());
        EXPECT_EQ(m_closedWithStepList, c.closes ? QList<bool>({false}) : QList<bool>());
    }
    EXPECT_TRUE(QFile::exists(planPath("zaras.tap")));
}

TEST_F(PlanSessionTest, ABoxKeptOpenForCorrectionKeepsTheStepList)
{
    makePlan();
    m_plan.markSaved();
    m_boxes.shown = {2, 4};
    m_boxes.keepOpen = 4;
    EXPECT_TRUE(m_session.closePlan());
    EXPECT_FALSE(m_plan.isOpen());
    EXPECT_EQ(m_boxes.finished, QList<int>({2, 4}));
    EXPECT_EQ(m_closedWithStepList, QList<bool>({true}));
}

} // namespace
