#include "gui/app/mainwindow.h"

#include "core/data/farm/samplefarm.h"
#include "core/text/numbers.h"
#include "gui/steps/requestpanel.h"
#include "gui/steps/resultbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
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

// A refused step 2 lists nothing, whatever the answer; completed, every column. (The box
// follows the answer as after "Kész", through the same completion.)
TEST_F(WizardTest, SupplyLevelsAreListedOnlyOnceStepTwoIsDone)
{
    openStepTwoWithField();
    const QString ka = m_plan.items().soilSampleTable.cell(3, 2);
    m_plan.setSoilCell(3, 2, QString(), Plan::Change::Computed); // a starred cell left empty
    for (const int answer : {Answer::Nem, Answer::Igen}) {
        QTest::mouseClick(stepButton(2), Qt::LeftButton);
        m_messenger.expect(answer);
        QTest::mouseClick(inBox<QPushButton>(2, "supplyLevelsButton"), Qt::LeftButton);
        EXPECT_EQ(m_window->stepBox(2)->isVisible(), answer == Answer::Igen);
        EXPECT_FALSE(m_window->resultBox()->isVisible());
    }
    EXPECT_EQ(m_messenger.shown().size(), 2); // the step-2 question (its text: the step checks)

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
    m_plan.setProgramAverage(true, Plan::Change::Computed);
    m_plan.setSoilCell(4, 2, QStringLiteral("sok"), Plan::Change::Computed);
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

// One plan made from start to end through the buttons, on the built-in reference data and
// a field imported from the sample farm, as an adviser would make it.
class WholePlanTest : public MainWindowTest
{
protected:
    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // The shown list as numbers, row by row; "---" and other texts give no value.
    QList<QList<std::optional<double>>> shownNumbers() const
    {
        QList<QList<std::optional<double>>> rows;
        QAbstractItemModel *model = m_window->resultBox()->grid()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QList<std::optional<double>> cells;
            for (int column = 1; column < model->columnCount(); ++column)
                cells.append(Text::parseDecimal(model->index(row, column).data().toString()));
            rows.append(cells);
        }
        return rows;
    }
};

TEST_F(WholePlanTest, FromTheElementsToTheRemainder)
{
    QTemporaryDir farm;
    QString error;
    ASSERT_TRUE(writeSampleFarm(QStringLiteral(NUTRISOR_FARM_SAMPLE_CSV), farm.path(), &error))
        << qPrintable(error);
    m_window->dataLocationBox()->accept(farm.path());

    // Step 1: every element.
    click(toolButton("newPlanButton"));
    click(stepButton(1));
    click(inBox<QPushButton>(1, "doneButton"));
    ASSERT_EQ(m_plan.stepState(1), State::Done);

    // Step 2: the first active field of the farm, with its samples.
    click(stepButton(2));
    click(inBox<QPushButton>(2, "dataRequestButton"));
    RequestPanel *request = m_window->findChild<RequestPanel *>();
    ASSERT_NE(request, nullptr);
    ASSERT_TRUE(request->isVisible());
    click(request->findChild<QPushButton *>(QStringLiteral("fetchButton")));
    EXPECT_FALSE(request->isVisible());
    const PlanItems &items = m_plan.items();
    EXPECT_FALSE(items.lotNumber.isEmpty());
    EXPECT_FALSE(items.area.isEmpty());
    ASSERT_GE(items.sampleCount, 1);
    snapshot("imported");
    click(inBox<QPushButton>(2, "supplyLevelsButton"));
    ASSERT_EQ(m_window->resultBox()->title(), QStringLiteral("Tápanyag-szolgáltatási szint kimutatása"));
    snapshot("supply");
    ASSERT_EQ(m_plan.stepState(2), State::Done) << qPrintable(m_messenger.lastText());

    // Step 3: winter wheat for 6 t/ha.
    click(stepButton(3));
    auto *crops = inBox<QTableWidget>(3, "cropList");
    crops->setCurrentItem(crops->findItems(QStringLiteral("Őszi búza"), Qt::MatchExactly).value(0));
    type(inBox<QLineEdit>(3, "yieldEdit"), QStringLiteral("6"));
    click(inBox<QPushButton>(3, "recommendedDosesButton"));
    ASSERT_EQ(m_window->resultBox()->title(), QStringLiteral("Javasolt hatóanyag dózisok"));
    EXPECT_FALSE(m_window->stepBox(3)->isVisible());
    QAbstractItemModel *doses = m_window->resultBox()->grid()->model();
    EXPECT_EQ(doses->columnCount(), 8); // every element listed: N, P, K, Mg, Zn, Mn, Cu
    ASSERT_EQ(doses->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nitrogén"));
    ASSERT_EQ(doses->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Kálium"));
    snapshot("recommended");
    const auto recommended = shownNumbers();
    ASSERT_EQ(recommended.size(), items.sampleCount + 1);
    ASSERT_TRUE(recommended[0][0]); // the average's nitrogen
    click(stepButton(3));
    click(inBox<QPushButton>(3, "splitButton"));
    ASSERT_EQ(m_window->resultBox()->title(), QStringLiteral("Tápanyag kijuttatásának javasolt megosztása"));
    snapshot("split");
    click(stepButton(3));
    click(inBox<QPushButton>(3, "doneButton"));
    ASSERT_EQ(m_plan.stepState(3), State::Done);

    // Step 4: 20 t/ha of manure a year ago (what it credits is the corrections' tests').
    click(stepButton(4));
    inBox<QRadioButton>(4, "egyEveRadio")->click();
    type(inBox<QLineEdit>(4, "manureAmountEdit"), QStringLiteral("20"));
    click(inBox<QPushButton>(4, "correctedDosesButton"));
    ASSERT_EQ(m_window->resultBox()->title(), QStringLiteral("Korrigált hatóanyag dózisok"));
    snapshot("corrected");
    const auto corrected = shownNumbers();
    ASSERT_EQ(corrected.size(), recommended.size());
    ASSERT_TRUE(corrected[0][0]);
    EXPECT_LT(*corrected[0][0], *recommended[0][0]); // the average's nitrogen, less the manure's
    click(stepButton(4));
    click(inBox<QPushButton>(4, "doneButton"));
    ASSERT_EQ(m_plan.stepState(4), State::Done);

    // Step 5: 200 kg/ha of Pétisó (27 % N) applies 54 kg/ha of nitrogen; what stays open of
    // the corrected need is the schedule's tests'.
    click(stepButton(5));
    auto *materials = inBox<QComboBox>(5, "materialCombo");
    materials->setCurrentIndex(materials->findText(QStringLiteral("Pétisó 27% N")));
    ASSERT_GE(materials->currentIndex(), 0);
    type(inBox<QLineEdit>(5, "amountEdit"), QStringLiteral("200"));
    click(inBox<QPushButton>(5, "addButton"));
    EXPECT_EQ(items.scheduleGrid.cell(1, 1), QStringLiteral("Pétisó 27% N"));
    EXPECT_EQ(items.scheduleGrid.cell(1, 2), QStringLiteral("200"));

    click(inBox<QPushButton>(5, "totalsButton"));
    ASSERT_EQ(m_window->resultBox()->title(),
              QStringLiteral("Ütemterv végrehajtásával kijuttatott hatóanyag mennyiségek (kg/ha)"));
    snapshot("totals");
    const auto totals = shownNumbers();
    ASSERT_EQ(totals.size(), 1);
    EXPECT_EQ(totals[0][0], 54);
    EXPECT_EQ(totals[0][1], 0);

    click(stepButton(5));
    click(inBox<QPushButton>(5, "remainderButton"));
    ASSERT_EQ(m_window->resultBox()->title(),
              QStringLiteral("Ütemterv végrehajtásával a korrigált szükséglet kielégülese."));
    snapshot("remainder");
    // Phosphorus: nothing applied, the corrected need stays open.
    const auto remainder = shownNumbers();
    ASSERT_EQ(remainder.size(), corrected.size());
    EXPECT_EQ(remainder[0][1], corrected[0][1]);

    click(stepButton(5));
    click(inBox<QPushButton>(5, "doneButton"));
    EXPECT_EQ(m_plan.stepState(5), State::Done);
    EXPECT_TRUE(m_plan.isSummaryEnabled());
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());
}

} // namespace
