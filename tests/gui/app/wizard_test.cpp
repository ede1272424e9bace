#include "gui/app/mainwindow.h"

#include "core/plan/soilsamples.h"
#include "gui/steps/resultbox.h"
#include "gui/ui/stepquestion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>

#include "mainwindowfixture.h"

namespace {

using State = Plan::StepState;

// The wizard driven through its buttons, as a user works through a plan.
class WizardTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        QTest::mouseClick(toolButton("newPlanButton"), Qt::LeftButton);
    }

    void pressDone(int step)
    {
        QTest::mouseClick(inBox<QPushButton>(step, "doneButton"), Qt::LeftButton);
    }

    // The one-sample field on site category I.
    void fillField()
    {
        m_plan.update(
            PlanItem::All, [](PlanItems &items) { fillOneSampleField(items, 0); }, Plan::Change::Computed);
    }

    // Step 1 done, the step-2 box open on the field.
    void openStepTwoWithField()
    {
        QTest::mouseClick(stepButton(1), Qt::LeftButton);
        pressDone(1);
        QTest::mouseClick(stepButton(2), Qt::LeftButton);
        fillField();
    }

    void completeStepsOneAndTwo()
    {
        QTest::mouseClick(stepButton(1), Qt::LeftButton);
        pressDone(1);
        fillField();
        ASSERT_EQ(completeStep(m_plan, 2, true, m_messenger), StepOutcome::Completed);
    }
};

// "Kész", or leaving the box, completes step 1: the rows are starred (the stars themselves
// are ElementSelection's) and step 2 opens up.
TEST_F(WizardTest, StepOneDoneStarsTheRowsAndUnlocksStepTwo)
{
    QTest::mouseClick(stepButton(1), Qt::LeftButton);
    ASSERT_TRUE(m_window->stepBox(1)->isVisible());
    // Only Kálium (and with it Magnézium) left out.
    QTest::mouseClick(inBox<QCheckBox>(1, "elementKBox"), Qt::LeftButton);
    pressDone(1);

    EXPECT_FALSE(m_window->stepBox(1)->isVisible());
    EXPECT_EQ(m_plan.stepState(1), State::Done);
    EXPECT_EQ(m_plan.stepState(2), State::Current);
    EXPECT_TRUE(stepButton(2)->isEnabled());
    EXPECT_FALSE(stepButton(3)->isEnabled());
    // N, Mn, Zn, Cu need Ka; which rows each element stars is ElementSelection's.
    EXPECT_EQ(m_plan.items().soilSampleTable.cell(3, 0), QStringLiteral("Kötöttség Ka *"));
    const ElementTable &elements = m_window->session().calculationState().elements;
    EXPECT_FALSE(elements.entry(ElementTable::K).selected);

    QTest::mouseClick(stepButton(1), Qt::LeftButton);
    QCheckBox *nitrogen = inBox<QCheckBox>(1, "elementNBox");
    nitrogen->setFocus();
    ASSERT_TRUE(nitrogen->hasFocus());
    QTest::mouseClick(nitrogen, Qt::LeftButton); // unticks N, Cu and Mn
    stepButton(1)->setFocus();
    EXPECT_FALSE(m_window->stepBox(1)->isVisible());
    // The lists follow the ticks; the row labels keep their old texts: humus keeps the star
    // of N and Cu, both unticked now.
    EXPECT_FALSE(elements.entry(ElementTable::N).selected);
    EXPECT_EQ(m_plan.items().soilSampleTable.cell(5, 0), QStringLiteral("Humusz % *"));
}

// Őszi búza on site category I, its nitrogen supply "Gyenge" (Ka 38, humus 1,7 %): 30 kg/t,
// so 180 kg/ha at 6 t/ha. The list's title and headings are checked in the whole plan.
TEST_F(WizardTest, RecommendedDosesGoToTheResultBox)
{
    completeStepsOneAndTwo();
    QTest::mouseClick(stepButton(3), Qt::LeftButton);
    EXPECT_FALSE(m_window->resultBox()->isVisible());
    auto *crops = inBox<QTableWidget>(3, "cropList");
    crops->setCurrentItem(crops->findItems(QStringLiteral("Őszi búza"), Qt::MatchExactly).value(0));
    auto *yield = inBox<QLineEdit>(3, "yieldEdit");
    yield->setFocus();
    QTest::keyClicks(yield, QStringLiteral("6"));
    QTest::mouseClick(inBox<QPushButton>(3, "recommendedDosesButton"), Qt::LeftButton);

    EXPECT_FALSE(m_window->stepBox(3)->isVisible());
    ResultBox *result = m_window->resultBox();
    ASSERT_TRUE(result->isVisible());
    QAbstractItemModel *model = result->grid()->model();
    ASSERT_EQ(model->rowCount(), 2); // the average and the sample
    EXPECT_EQ(model->columnCount(), 8); // every listed element: N, P, K, Mg, Zn, Mn, Cu
    EXPECT_EQ(QStringList({model->index(0, 0).data().toString(), model->index(1, 0).data().toString(),
                           model->index(0, 1).data().toString()}),
              QStringList({"Átlag", "K-1", "180"}));
    EXPECT_TRUE(m_messenger.shown().isEmpty());
}

// Done on faulty data asks whether to mend it (the questions and the step states are the
// step checks'): "Igen" keeps the box open, "Nem" closes it with the step still to do;
// mended, the step is done and the next one opens up.
TEST_F(WizardTest, DoneOnFaultyDataAsksAndFollowsTheAnswer)
{
    QTest::mouseClick(stepButton(1), Qt::LeftButton);
    pressDone(1);
    QTest::mouseClick(stepButton(2), Qt::LeftButton);
    inBox<QComboBox>(2, "siteCategoryCombo")->setCurrentIndex(-1);
    m_messenger.expect(Answer::Igen);
    pressDone(2);
    EXPECT_EQ(m_messenger.shown().size(), 1); // the question was asked
    EXPECT_TRUE(m_window->stepBox(2)->isVisible());

    m_messenger.expect(Answer::Nem);
    pressDone(2);
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());
    EXPECT_FALSE(stepButton(3)->isEnabled());

    QTest::mouseClick(stepButton(2), Qt::LeftButton);
    QTest::keyClicks(inBox<QLineEdit>(2, "lotNumberEdit"), QStringLiteral("0452/7"));
    QTest::keyClicks(inBox<QLineEdit>(2, "areaEdit"), QStringLiteral("124500"));
    inBox<QComboBox>(2, "siteCategoryCombo")->setCurrentIndex(2);
    pressDone(2);
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());
    EXPECT_EQ(m_plan.stepState(2), State::Done);
    EXPECT_EQ(m_plan.stepState(3), State::Current);
    EXPECT_TRUE(stepButton(3)->isEnabled());
    EXPECT_TRUE(action("step3Action")->isEnabled());
    EXPECT_EQ(m_plan.items().lotNumber, QStringLiteral("0452/7"));
    EXPECT_EQ(m_plan.items().siteCategory, 2);
}

// A refused step 2 lists nothing, "Igen" keeping its box open; completed, every column.
TEST_F(WizardTest, SupplyLevelsAreListedOnlyOnceStepTwoIsDone)
{
    openStepTwoWithField();
    const QString ka = m_plan.items().soilSampleTable.cell(3, 2);
    m_plan.setSoilCell(3, 2, QString(), Plan::Change::Computed); // a starred cell left empty
    m_messenger.expect(Answer::Nem);
    QTest::mouseClick(inBox<QPushButton>(2, "supplyLevelsButton"), Qt::LeftButton);
    EXPECT_EQ(m_messenger.shown().size(), 1); // the step-2 question (its text: the step checks)
    EXPECT_FALSE(m_window->resultBox()->isVisible());
    QTest::mouseClick(stepButton(2), Qt::LeftButton);
    m_messenger.expect(Answer::Igen);
    QTest::mouseClick(inBox<QPushButton>(2, "supplyLevelsButton"), Qt::LeftButton);
    EXPECT_TRUE(m_window->stepBox(2)->isVisible());
    EXPECT_FALSE(m_window->resultBox()->isVisible());

    m_plan.setSoilCell(3, 2, ka, Plan::Change::Computed);
    QTest::mouseClick(inBox<QPushButton>(2, "supplyLevelsButton"), Qt::LeftButton);
    EXPECT_EQ(m_plan.stepState(2), State::Done);
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());
    ResultBox *result = m_window->resultBox();
    ASSERT_TRUE(result->isVisible()); // its titles: the whole plan's and the report tests
    QAbstractItemModel *model = result->grid()->model();
    ASSERT_EQ(model->rowCount(), 2);
    QStringList headings, sample;
    for (int column = 0; column < model->columnCount(); ++column) {
        headings << model->headerData(column, Qt::Horizontal).toString();
        sample << model->index(1, column).data().toString();
    }
    EXPECT_EQ(headings, (QStringList{"", "Nitrogén", "Foszfor", "Kálium", "Magnézium", "Cink",
                                     "Mangán", "Réz"}));
    // Site category I, Ka 38 and humus 1,7 %: nitrogen "Gyenge"; the sample has every level.
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("Gyenge"));
    EXPECT_EQ(sample.first(), QStringLiteral("K-1"));
    EXPECT_FALSE(sample.contains(QString())) << qPrintable(sample.join(u'|'));
}

TEST_F(WizardTest, ANonNumberInTheSamplesStopsTheAveragesAndTheStep)
{
    openStepTwoWithField();
    m_plan.update(
        PlanItem::All,
        [](PlanItems &items) {
            SoilSamples::setSampleCount(items, 2);
            items.soilSampleTable.setCell(1, 3, QStringLiteral("K-2"));
            for (int row = 2; row <= 11; ++row)
                items.soilSampleTable.setCell(row, 3, QStringLiteral("5"));
            items.soilSampleTable.setCell(4, 3, QStringLiteral("sok"));
            items.programAverage = true;
        },
        Plan::Change::Computed);
    // The message and the averages left alone are the step-2 panel's tests.
    m_messenger.expect(Answer::Ok);
    pressDone(2);
    ASSERT_EQ(m_messenger.shown().size(), 1);
    EXPECT_TRUE(m_messenger.lastText().contains(QStringLiteral("sok")));
    EXPECT_EQ(m_plan.stepState(2), State::Current);
    EXPECT_TRUE(m_window->stepBox(2)->isVisible());
}

// The steps menu shows the boxes like the buttons; a dragged box comes to the front.
TEST_F(WizardTest, TheStepsMenuShowsTheBoxesAndADraggedBoxComesToTheFront)
{
    completeStepsOneAndTwo();
    action("step3Action")->trigger();
    EXPECT_TRUE(m_window->stepBox(3)->isVisible());
    action("step2Action")->trigger();
    EXPECT_TRUE(m_window->stepBox(2)->isVisible());
    EXPECT_FALSE(m_window->stepBox(3)->isVisible());
    EXPECT_FALSE(m_window->resultBox()->isVisible());

    QTest::mouseClick(stepButton(3), Qt::LeftButton);
    MovableBox *box = m_window->stepBox(3);
    m_window->resultBox()->show();
    m_window->resultBox()->raise();
    box->boxMouseDown(QPoint(5, 5));
    box->boxMouseMove(QPoint(25, 45));
    box->boxMouseUp(); // where it lands is the layout test's
    // The last visible child is painted on top.
    QWidget *top = nullptr;
    for (QObject *child : box->parentWidget()->children()) {
        if (auto *widget = qobject_cast<QWidget *>(child); widget && widget->isVisible())
            top = widget;
    }
    EXPECT_EQ(top, box);
}

// The underlining and the emptying on leaving are HoverHelp's; here the window's text.
TEST_F(WizardTest, HoveringAStepButtonShowsItsHelpText)
{
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(stepButton(1), &enter);
    EXPECT_EQ(m_window->statusLabel()->text(),
              QStringLiteral("1. lépés: a tervezendő tápelemek kiválasztása"));
}

} // namespace
