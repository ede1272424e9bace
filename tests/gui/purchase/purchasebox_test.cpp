#include "gui/purchase/purchasebox.h"

#include "core/planfile/planjson.h"
#include "core/reports/reportdocument.h"
#include "support/purchaseplans.h"
#include "support/scriptedfilechooser.h"

#include <QListWidget>
#include <QTableView>
#include <QTextDocument>

#include "../app/mainwindowfixture.h"

// A modified plan open at step 3 is exactly as it was after a run, or a cancelled one.
TEST_F(MainWindowTest, PurchasePlanningNeverTouchesTheOpenPlan)
{
    ScriptedFileChooser chooser;
    m_window->setFileChooser(&chooser);
    auto *box = namedChild<PurchaseBox>(m_window.get(), "purchaseBox");
    makePlan(2);
    m_plan.setLotNumber(QStringLiteral("0452/8"));
    const QJsonObject openPlan = planToJson(m_plan.items());
    const auto expectOpenPlanUntouched = [&] {
        EXPECT_EQ(planToJson(m_plan.items()), openPlan);
        EXPECT_TRUE(m_plan.isOpen() && m_plan.isModified());
        EXPECT_EQ(m_plan.stepState(3), Plan::StepState::Current);
    };
    const auto listed = [box](const char *name) {
        QStringList texts;
        const auto *list = namedChild<QListWidget>(box, name);
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    };
    chooser.expect(QString());
    action("purchaseAction")->trigger();
    EXPECT_FALSE(box->isVisible());
    expectOpenPlanUntouched();

    savePurchasePlan(m_dir.filePath(QStringLiteral("kis.tap")), QStringLiteral("5000"),
                     {{7, "Pétisó", "200"}});
    savePurchasePlan(m_dir.filePath(QStringLiteral("nagy.tap")), QStringLiteral("20000"),
                     {{7, "Pétisó 27", "200"}, {3, "Kálisó", "150"}});
    chooser.expect(QStringList {m_dir.filePath(QStringLiteral("kis.tap")),
                                m_dir.filePath(QStringLiteral("hianyzik.tap")),
                                m_dir.filePath(QStringLiteral("nagy.tap"))}
                       .join(QLatin1Char('\n')));
    action("purchaseAction")->trigger();
    EXPECT_EQ(chooser.filters().last(), QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap"));
    ASSERT_TRUE(box->isVisible());
    snapshot("box");
    // 0,5 ha and 2 ha at 200 kg/ha under the later name; 2 ha at 150 kg/ha; one empty row
    const QAbstractItemModel *grid = namedChild<QTableView>(box, "purchaseGrid")->model();
    const QStringList cells {"Pétisó 27", "500", "Kálisó", "300", "", ""};
    ASSERT_EQ(grid->rowCount(), 3);
    for (int cell = 0; cell < cells.size(); ++cell)
        EXPECT_EQ(grid->index(cell / 2, cell % 2).data().toString(), cells.at(cell)) << cell;
    EXPECT_EQ(grid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Mennyiség  (kg)"));
    EXPECT_EQ(listed("readPlansList"), QStringList({"kis.tap", "nagy.tap"}));
    EXPECT_EQ(listed("failedPlansList"), QStringList {"hianyzik.tap"});
    expectOpenPlanUntouched();

    QString printed;
    box->setReportViewer([&printed](const ReportDocument &report) {
        printed = report.document().toPlainText();
        if (const QString shots = qEnvironmentVariable("NUTRISOR_SCREENSHOTS"); !shots.isEmpty())
            report.exportTo(shots + QStringLiteral("/purchase-list.pdf"), ReportFormat::Pdf);
    });
    namedChild<QPushButton>(box, "printPurchaseButton")->click();
    for (const char *text : {"Pétisó 27", "Kálisó", "nagy.tap", "hianyzik.tap"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(text))) << text;

    // another control of the window takes the focus: the box hides and empties
    stepButton(1)->setFocus();
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(box->purchaseList().readPlans().isEmpty());
}
