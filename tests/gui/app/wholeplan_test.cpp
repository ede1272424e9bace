#include "gui/app/mainwindow.h"

#include "core/data/farm/samplefarm.h"
#include "core/text/numbers.h"
#include "gui/app/steplistbox.h"
#include "gui/steps/requestpanel.h"
#include "gui/steps/resultbox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>

#include "mainwindowfixture.h"

namespace {

using State = Plan::StepState;

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
    QAbstractItemModel *doses = m_window->resultBox()->grid()->model();
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
