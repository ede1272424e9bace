#include "gui/app/mainwindow.h"

#include "core/leaf/leaflinks.h"
#include "core/planfile/planfile.h"
#include "gui/app/steplistbox.h"
#include "gui/reference/adviserpanel.h"
#include "gui/steps/requestpanel.h"
#include "gui/steps/resultbox.h"
#include "gui/purchase/purchasebox.h"
#include "support/scriptedfilechooser.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <functional>
#include <type_traits>

#include "../app/mainwindowfixture.h"

namespace {

// The windows of the program as the user guide shows them: a plan made on the sample farm
// that the build writes, every box and dialog opened from its menu entry. With
// NUTRISOR_SCREENSHOTS set each is saved as "<test>-<name>.png" for the guide's pages.
class GuideShots : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        m_window->resize(1100, 760);
        m_window->dataLocationBox()->accept(QStringLiteral(NUTRISOR_SAMPLE_FARM_DIR));
    }

    void TearDown() override { m_window->hide(); }

    static void shoot(QWidget *widget, const char *name)
    {
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_TRUE(widget->isVisible()) << name;
        saveScreenshot(widget, QString(), QLatin1Char('-') + QLatin1String(name));
    }

    // Runs the menu entry `actionName`; the modal window it opens is pictured, after
    // `prepare` has worked in it, and closed.
    void shootModal(const char *actionName, const char *name,
                    const std::function<void(QWidget *)> &prepare = {})
    {
        shootModal(action(actionName), name, prepare);
    }
    // The same for the modal window that a button or a menu entry opens.
    template<typename Opener>
    void shootModal(Opener *opener, const char *name,
                    const std::function<void(QWidget *)> &prepare = {})
    {
        bool opened = false;
        QTimer::singleShot(0, m_window.get(), [&] {
            QWidget *window = QApplication::activeModalWidget();
            opened = window != nullptr;
            if (window) {
                if (prepare)
                    prepare(window);
                shoot(window, name);
                window->close();
            }
        });
        ASSERT_NE(opener, nullptr) << name;
        if constexpr (std::is_base_of_v<QAction, Opener>)
            opener->trigger();
        else
            opener->click();
        EXPECT_TRUE(opened) << name;
    }

    // An editor of one crop at a time shows winter wheat's rows; its crop list comes first.
    static void chooseWheat(QWidget *editor)
    {
        auto *crops = editor->findChild<QComboBox *>();
        crops->setCurrentIndex(crops->findText(QStringLiteral("Őszi búza")));
    }

    void click(int step, const char *name) { inBox<QPushButton>(step, name)->click(); }
    void showStep(int step) { stepButton(step)->click(); }
    void type(int step, const char *name, const QString &text)
    {
        QLineEdit *edit = inBox<QLineEdit>(step, name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // Steps 1 to 5 through the buttons: the farm's first field, winter wheat for `yield`
    // t/ha, manure a year before, 200 kg/ha of Pétisó.
    void walkPlan(const QString &yield = QStringLiteral("6"))
    {
        action("newPlanAction")->trigger();
        showStep(1);
        shoot(m_window->stepBox(1), "step1");
        click(1, "doneButton");
        showStep(2);
        click(2, "dataRequestButton");
        auto *request = m_window->findChild<RequestPanel *>();
        shoot(request, "request");
        request->findChild<QPushButton *>(QStringLiteral("fetchButton"))->click();
        shoot(m_window->stepBox(2), "step2");
        click(2, "supplyLevelsButton");
        shoot(m_window->resultBox(), "supply");
        showStep(3);
        auto *crops = inBox<QTableWidget>(3, "cropList");
        crops->setCurrentItem(crops->findItems(QStringLiteral("Őszi búza"), Qt::MatchExactly).value(0));
        type(3, "yieldEdit", yield);
        shoot(m_window->stepBox(3), "step3");
        click(3, "recommendedDosesButton");
        shoot(m_window->resultBox(), "recommended");
        showStep(3);
        click(3, "splitButton");
        shoot(m_window->resultBox(), "split");
        showStep(3);
        click(3, "doneButton");
        showStep(4);
        inBox<QRadioButton>(4, "egyEveRadio")->click();
        type(4, "manureAmountEdit", QStringLiteral("20"));
        shoot(m_window->stepBox(4), "step4");
        click(4, "correctedDosesButton");
        shoot(m_window->resultBox(), "corrected");
        showStep(4);
        click(4, "doneButton");
        showStep(5);
        auto *materials = inBox<QComboBox>(5, "materialCombo");
        materials->setCurrentIndex(materials->findText(QStringLiteral("Pétisó 27% N")));
        type(5, "amountEdit", QStringLiteral("200"));
        click(5, "addButton");
        shoot(m_window->stepBox(5), "step5");
        click(5, "totalsButton");
        shoot(m_window->resultBox(), "totals");
        showStep(5);
        click(5, "remainderButton");
        shoot(m_window->resultBox(), "remainder");
        showStep(5);
        click(5, "doneButton");
        ASSERT_TRUE(m_plan.isSummaryEnabled()) << qPrintable(m_messenger.lastText());
    }
};

TEST_F(GuideShots, Plan)
{
    shoot(m_window.get(), "start");
    walkPlan();
    shoot(m_window.get(), "window");
    shootModal("summaryAction", "summary");

    // The purchase list of the plan just made, saved as its file.
    const QString path = m_dir.filePath(QStringLiteral("0112-3.tap"));
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(path, m_plan.items(), &error)) << qPrintable(error);
    m_chooser.expect(path);
    action("purchaseAction")->trigger();
    shoot(m_window->findChild<PurchaseBox *>(), "purchase");
}

// The plan's average linked to a leaf sample, and the combined summary it prints.
TEST_F(GuideShots, Links)
{
    walkPlan();
    shootModal("leafLinkAction", "linkBox", [](QWidget *box) {
        box->findChild<QTableWidget *>(QStringLiteral("soilList"))->selectRow(0);
        box->findChild<QTableWidget *>(QStringLiteral("leafList"))->selectRow(1);
        box->findChild<QPushButton *>(QStringLiteral("pairButton"))->click();
    });
    EXPECT_EQ(LeafLinks::linkCount(m_plan.items().leafLinks), 1);
    shootModal("leafSummaryAction", "summary");
}

// A yield whose corrected N dose goes beyond the nitrate-sensitive land's limit, and the
// table of those limits.
TEST_F(GuideShots, Nitrate)
{
    walkPlan(QStringLiteral("9"));
    shootModal("nitrateLimitsAction", "limits", chooseWheat);
}

TEST_F(GuideShots, Settings)
{
    action("dataLocationAction")->trigger();
    shoot(m_window->dataLocationBox(), "dataLocation");
    m_window->dataLocationBox()->hide();
    action("adviserAction")->trigger();
    shoot(m_window->adviserPanel(), "adviser");
}

TEST_F(GuideShots, Editors)
{
    shootModal("cropSpeciesAction", "crops");
    shootModal("specificNeedAction", "needs", chooseWheat);
    shootModal("splitEditorAction", "split", chooseWheat);
    shootModal("materialsAction", "materials", [this](QWidget *editor) {
        shootModal(editor->findChild<QPushButton *>(QStringLiteral("addMaterialButton")),
                   "newMaterial");
    });
    // two samples evaluated, a new result being entered (then left), and the register
    shootModal("leafSamplesAction", "leafList", [](QWidget *window) {
        const auto button = [window](const char *name) {
            return window->findChild<QPushButton *>(QLatin1String(name));
        };
        auto *grid = window->findChild<QTableWidget *>();
        grid->selectionModel()->select(grid->model()->index(1, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        grid->selectionModel()->select(grid->model()->index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        button("evaluateButton")->click();
        shoot(window, "leafChart");
        button("closeEvaluationButton")->click();
        grid->clearSelection();
        button("newButton")->click();
        shoot(window, "leafEntry");
        button("cancelButton")->click();
    });
    shootModal("aboutAction", "about");
}

} // namespace
