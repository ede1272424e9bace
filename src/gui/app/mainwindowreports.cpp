// The main window's printouts: the result box's list, the full summary, the recommendation
// texts and the adviser's cover sheet, each shown in the print preview.
#include "gui/app/mainwindow.h"

#include "core/messages/messenger.h"
#include "core/plan/elementselection.h"
#include "core/plan/plan.h"
#include "core/reports/planreports.h"
#include "core/reports/plansummary.h"
#include "core/reports/recommendationtexts.h"
#include "core/reports/reportdocument.h"
#include "gui/app/movablebox.h"
#include "gui/reports/reportpreview.h"
#include "gui/steps/resultbox.h"
#include "gui/ui/stepquestion.h"

void MainWindow::printResult(PrintKind kind)
{
    PlanReports reports(m_plan.items(), m_reference, m_paths.startDirectory);
    QString error;
    std::optional<PlanReport> report;
    switch (kind) {
    case PrintKind::ResultList:
        report = reports.resultList(m_resultBox->result(), &error);
        break;
    case PrintKind::Summary:
        if (!m_lastSummary)
            return;
        report = reports.fullSummary(*m_lastSummary, m_state.withLeafAnalysis, &error);
        break;
    case PrintKind::Recommendations:
        report = reports.recommendations(m_recommendationFilter, &error);
        break;
    }
    showReport(report ? &*report : nullptr, error);
}

void MainWindow::showSummary()
{
    // The summary replays every list itself; what the boxes showed before does not count.
    m_state.withLeafAnalysis = false;
    m_resultBox->hide();
    SummaryResult result = buildSummary(m_plan, m_reference, true);
    if (!result.summary) {
        const bool keepStepOpen = showSummaryStop(m_plan, result, m_messenger);
        if (keepStepOpen && result.failedStep >= 1 && result.failedStep <= Plan::stepCount)
            showStep(result.failedStep);
        return;
    }
    // The step-1 "Kész" closes the replay, as the step list expects after a summary.
    ElementSelection::applyElementSelection(m_plan.items(), m_state.elements);
    m_plan.notifyItemsChanged();
    m_lastSummary = std::make_shared<const PlanSummary>(std::move(*result.summary));
    printResult(PrintKind::Summary);
}

void MainWindow::printDescriptions()
{
    finishStep(1);
    m_recommendationFilter = RecommendationTexts::loadRecommendationTexts(m_plan.items());
    printResult(PrintKind::Recommendations);
}

void MainWindow::printCoverSheet()
{
    PlanReports reports(m_plan.items(), m_reference, m_paths.startDirectory);
    QString error;
    const std::optional<PlanReport> report = reports.coverSheet(&error);
    showReport(report ? &*report : nullptr, error);
}

void MainWindow::showReport(const PlanReport *report, const QString &error)
{
    if (!report) {
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
        return;
    }
    const ReportDocument document(report->rendered.html, report->title,
                                  report->rendered.orientation);
    if (m_reportViewer) {
        m_reportViewer(document);
        return;
    }
    ReportPreview preview(document, *m_fileChooser, m_messenger, this);
    preview.setExportPath(m_paths.startDirectory);
    preview.exec();
}
