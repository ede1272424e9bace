#include "gui/purchase/purchasebox.h"

#include "core/planfile/planjson.h"
#include "core/reports/reportdocument.h"
#include "support/purchaseplans.h"
#include "support/scriptedfilechooser.h"

#include <QAbstractItemModel>
#include <QListWidget>
#include <QTableView>
#include <QTextDocument>

#include "../app/mainwindowfixture.h"

namespace {

// The main window with a modified plan open, and three plan files to sum.
class PurchaseBoxTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_window->setFileChooser(&m_chooser);
        m_box = namedChild<PurchaseBox>(m_window.get(), "purchaseBox");
        makePlan(2);
        m_plan.setLotNumber(QStringLiteral("0452/8"));
        m_openPlan = planToJson(m_plan.items());
        savePurchasePlan(m_dir.filePath(QStringLiteral("kis.tap")),
                         purchasePlanItems(QStringLiteral("5000"), {{7, "Pétisó", "200"}}));
        savePurchasePlan(m_dir.filePath(QStringLiteral("nagy.tap")),
                         purchasePlanItems(QStringLiteral("20000"),
                                           {{7, "Pétisó 27", "200"}, {3, "Kálisó", "150"}}));
    }

    // The open plan, its steps and its modified flag as they were before the run.
    void expectOpenPlanUntouched()
    {
        EXPECT_EQ(planToJson(m_plan.items()), m_openPlan);
        EXPECT_TRUE(m_plan.isOpen());
        EXPECT_TRUE(m_plan.isModified());
        EXPECT_EQ(m_plan.stepState(2), Plan::StepState::Done);
        EXPECT_EQ(m_plan.stepState(3), Plan::StepState::Current);
    }

    QStringList listed(const char *name) const
    {
        QStringList texts;
        auto *list = namedChild<QListWidget>(m_box, name);
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    }

    ScriptedFileChooser m_chooser;
    PurchaseBox *m_box = nullptr;
    QJsonObject m_openPlan;
};

} // namespace

TEST_F(PurchaseBoxTest, SumsTheChosenPlansWithoutTouchingTheOpenOne)
{
    m_chooser.expect(QStringList {m_dir.filePath(QStringLiteral("kis.tap")),
                                  m_dir.filePath(QStringLiteral("hianyzik.tap")),
                                  m_dir.filePath(QStringLiteral("nagy.tap"))}
                         .join(QLatin1Char('\n')));
    action("purchaseAction")->trigger();
    EXPECT_EQ(m_chooser.filters(), QStringList {QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap")});
    ASSERT_TRUE(m_box->isVisible());
    snapshot("box");

    const QAbstractItemModel *grid = namedChild<QTableView>(m_box, "purchaseGrid")->model();
    EXPECT_EQ(grid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Mennyiség  (kg)"));
    // 0,5 ha and 2 ha at 200 kg/ha under the later name; 2 ha at 150 kg/ha; one empty row
    const QStringList expected {QStringLiteral("Pétisó 27"), QStringLiteral("500"),
                                QStringLiteral("Kálisó"), QStringLiteral("300"), {}, {}};
    ASSERT_EQ(grid->rowCount(), 3);
    for (int cell = 0; cell < expected.size(); ++cell)
        EXPECT_EQ(grid->index(cell / 2, cell % 2).data().toString(), expected.at(cell)) << cell;
    EXPECT_EQ(listed("readPlansList"), QStringList({QStringLiteral("kis.tap"), QStringLiteral("nagy.tap")}));
    EXPECT_EQ(listed("failedPlansList"), QStringList {QStringLiteral("hianyzik.tap")});
    expectOpenPlanUntouched();

    QString printed;
    m_box->setReportViewer([&printed](const ReportDocument &report) {
        printed = report.document().toPlainText();
        if (const QString shots = qEnvironmentVariable("NUTRISOR_SCREENSHOTS"); !shots.isEmpty())
            report.exportTo(shots + QStringLiteral("/purchase-list.pdf"), ReportFormat::Pdf);
    });
    namedChild<QPushButton>(m_box, "printPurchaseButton")->click();
    for (const QString text : {QStringLiteral("Pétisó 27"), QStringLiteral("Kálisó"),
                               QStringLiteral("nagy.tap"), QStringLiteral("hianyzik.tap")})
        EXPECT_TRUE(printed.contains(text)) << qPrintable(text);

    // another control of the window takes the focus: the box hides and empties
    namedChild<QPushButton>(m_box, "closePurchaseButton")->setFocus();
    stepButton(1)->setFocus();
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_TRUE(m_box->purchaseList().readPlans().isEmpty());
    expectOpenPlanUntouched();
}

TEST_F(PurchaseBoxTest, CancellingTheDialogChangesNothing)
{
    m_chooser.expect(QString());
    action("purchaseAction")->trigger();
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_TRUE(m_box->purchaseList().entries().isEmpty());
    expectOpenPlanUntouched();
}
