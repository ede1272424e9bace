#include "gui/app/mainwindow.h"

#include "core/leaf/leaflinks.h"
#include "core/reports/reportdocument.h"
#include "gui/app/steplistbox.h"
#include "gui/reference/adviserpanel.h"
#include "gui/steps/resultbox.h"

#include <QPushButton>
#include <QTextDocument>

#include "mainwindowfixture.h"

namespace {

class PlanReportsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_window->printing().setReportViewer([this](const ReportDocument &report) {
            m_reports.append({report.title(), report.html(), report.document().toPlainText()});
            // with NUTRISOR_SCREENSHOTS set, each report as PDF, to look at its pages
            const QString shots = qEnvironmentVariable("NUTRISOR_SCREENSHOTS");
            if (!shots.isEmpty()) {
                const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
                report.exportTo(QStringLiteral("%1/%2-%3.pdf")
                                    .arg(shots, QString::fromUtf8(info->name()))
                                    .arg(m_reports.size()),
                                ReportFormat::Pdf);
            }
        });
    }

    struct Shown
    {
        QString title;
        QString html;
        QString text;
    };

    void click(const char *panel, const char *button)
    {
        auto *found = m_window->findChild<QWidget *>(QString::fromLatin1(panel))
                          ->findChild<QPushButton *>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }

    QList<Shown> m_reports;
};

} // namespace

// The summary does not depend on the lists shown before; a failing step stops it.
TEST_F(PlanReportsTest, TheSummaryDoesNotDependOnTheListsShownBefore)
{
    makePlan(5);
    EXPECT_TRUE(m_window->stepListBox()->summaryButton()->isEnabled());
    EXPECT_TRUE(action("summaryAction")->isEnabled());
    m_window->stepListBox()->summaryButton()->click();
    ASSERT_EQ(m_reports.size(), 1) << qPrintable(m_messenger.lastText());
    EXPECT_EQ(m_reports[0].title, QStringLiteral("Tápanyag-gazdálkodási terv"));
    EXPECT_FALSE(m_window->resultBox()->isVisible());

    // the user looks at every list, each leaving its state behind
    m_window->wizard().showSupplyLevels();
    m_window->wizard().showStep(3);
    click("step3Panel", "recommendedDosesButton");
    m_window->wizard().showStep(3);
    click("step3Panel", "splitButton");
    m_window->wizard().showStep(4);
    click("step4Panel", "correctedDosesButton");
    m_window->wizard().showStep(5);
    click("step5Panel", "remainderButton");
    m_window->wizard().showStep(5);
    click("step5Panel", "totalsButton");
    ASSERT_TRUE(m_window->resultBox()->isVisible());

    action("summaryAction")->trigger();
    ASSERT_EQ(m_reports.size(), 2);
    EXPECT_EQ(m_reports[1].html, m_reports[0].html);
    EXPECT_TRUE(m_reports[1].text.contains(QStringLiteral("0452/7 Őrség-dűlő")));
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());

    // A failing step stops the summary after its message.
    m_plan.setPlannedYield(QString(), Plan::Change::Computed);
    m_messenger.expect(Answer::Ok);
    action("summaryAction")->trigger();
    EXPECT_EQ(m_reports.size(), 2);
    EXPECT_EQ(m_messenger.shown().size(), 1); // its text is the summary's (tests/core/reports)
}

// The result box prints the list it shows. Before step 3 the plan holds only a stand-in crop:
// the header prints no crop and no yield.
TEST_F(PlanReportsTest, TheResultBoxPrintsTheListItShows)
{
    const QString empty = QStringLiteral("</td><td class=\"value\"></td>");
    for (const int lastStep : {2, 5}) {
        SCOPED_TRACE(lastStep);
        m_reports.clear();
        makePlan(lastStep);
        m_window->wizard().showSupplyLevels();
        ResultBox *box = m_window->resultBox();
        ASSERT_TRUE(box->isVisible());
        ASSERT_TRUE(box->printButton()->isEnabled());
        box->printButton()->click();
        ASSERT_EQ(m_reports.size(), 1);
        EXPECT_EQ(m_reports[0].title, box->result().boxTitle);
        EXPECT_TRUE(m_reports[0].text.contains(box->result().reportTitle));
        EXPECT_TRUE(m_reports[0].text.contains(box->result().cell(1, 1))); // K-1's first level
        EXPECT_EQ(m_reports[0].html.contains(QStringLiteral("6,5 t/ha")), lastStep == 5);
        EXPECT_EQ(m_reports[0].html.contains(QStringLiteral("Növényfaj:") + empty), lastStep == 2);
        EXPECT_EQ(m_reports[0].html.contains(QStringLiteral("Tervezett hozam:") + empty),
                  lastStep == 2);
    }
}

TEST_F(PlanReportsTest, DescriptionsPrintTheTextsOfTheTickedElements)
{
    makePlan(5);
    for (int element = 0; element < Elements::elementCount; ++element)
        m_plan.setElementSelected(element, element == Elements::K, Plan::Change::Computed);
    m_window->wizard().showStep(1);
    click("step1Box", "printDescriptionsButton");
    ASSERT_EQ(m_reports.size(), 1);
    EXPECT_TRUE(m_reports[0].text.contains(QStringLiteral("Kálium")));
    EXPECT_FALSE(m_reports[0].text.contains(QStringLiteral("Nitrogén")));
    EXPECT_EQ(m_plan.stepState(1), Plan::StepState::Done);
}

TEST_F(PlanReportsTest, TheCoverSheetPrintsTheStoredAdviser)
{
    action("adviserAction")->trigger();
    AdviserPanel *panel = m_window->adviserPanel();
    ASSERT_TRUE(panel->isVisible());
    panel->findChild<QPushButton *>(QStringLiteral("coverSheetButton"))->click();
    ASSERT_EQ(m_reports.size(), 1);
    EXPECT_TRUE(m_reports[0].text.contains(QStringLiteral("Bemutató szaktanácsadói hálózat")));
}

// The combined summary takes linked columns' N, P, K and Mg from their leaf samples and lists
// those samples; the step lists follow it for this plan only, never for the next one.
TEST_F(PlanReportsTest, TheCombinedSummaryFollowsTheLeafSamplesOfThisPlanOnly)
{
    EXPECT_FALSE(action("leafLinkAction")->isEnabled());
    EXPECT_FALSE(action("leafSummaryAction")->isEnabled());
    makePlan(5);
    EXPECT_TRUE(action("leafLinkAction")->isEnabled());
    EXPECT_TRUE(action("leafSummaryAction")->isEnabled());
    // K-1 with the apple sample L-2012-001 (N 2,1 %): above 1,89, below 2,7 (grade 0)
    TextGrid links(4, LeafLinks::columnCount);
    for (const auto &[row, soil, leaf, id] :
         {std::tuple {1, "Átlag", "L-2012-002", "2"}, {2, "K-1", "L-2012-001", "1"}}) {
        links.setCell(row, LeafLinks::SoilMark, QString::fromUtf8(soil));
        links.setCell(row, LeafLinks::LeafMark, QString::fromUtf8(leaf));
        links.setCell(row, LeafLinks::LeafId, QString::fromUtf8(id));
    }
    m_plan.setLeafLinks(links);
    const auto nitrogenOfK1 = [this] {
        m_window->wizard().showSupplyLevels();
        return m_window->resultBox()->result().cell(1, 1);
    };
    const QString soilLevel = nitrogenOfK1();
    ASSERT_NE(soilLevel, QStringLiteral("Megfelelő"));

    action("leafSummaryAction")->trigger();
    ASSERT_EQ(m_reports.size(), 1) << qPrintable(m_messenger.lastText());
    const QString text = m_reports[0].text.simplified();
    for (const char *expected : {"L-2012-001*", "Levélvizsgálati eredmények", "L-2012-002 1,55"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(nitrogenOfK1(), QStringLiteral("Megfelelő")); // until the plain summary

    // saved with its two links, opened again: both come back, and the soil rules decide
    m_chooser.expect(m_dir.filePath(QStringLiteral("b.tap")));
    ASSERT_TRUE(m_window->session().savePlan());
    ASSERT_TRUE(m_window->session().openPlanFile(m_dir.filePath(QStringLiteral("b.tap"))));
    EXPECT_EQ(m_plan.items().leafLinks.row(2), QStringList({"K-1", "L-2012-001", "3", "2012", "1"}));
    EXPECT_EQ(LeafLinks::linkCount(m_plan.items().leafLinks), 2);
    EXPECT_EQ(nitrogenOfK1(), soilLevel);

    // a new or closed plan leaves leaf mode behind as well
    CalculationState &state = m_window->session().calculationState();
    for (const auto &finish : {std::function([this] { m_window->session().newPlan(); }),
                               std::function([this] { m_window->session().closePlan(); })}) {
        state.withLeafAnalysis = true;
        finish();
        EXPECT_FALSE(state.withLeafAnalysis);
    }
}
