#include "gui/app/planprinting.h"

#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/reports/planreports.h"
#include "core/reports/plansummary.h"
#include "core/reports/recommendationtexts.h"
#include "core/reports/reportdocument.h"
#include "core/session/plansession.h"
#include "gui/reports/reportpreview.h"
#include "gui/steps/resultbox.h"
#include "gui/ui/stepquestion.h"

#include <utility>

PlanPrinting::PlanPrinting(PlanSession &session, const ReferenceDatabase &reference,
                           Messenger &messenger, FileChooser &fileChooser,
                           const QString &startDirectory, ResultBox &resultBox, QWidget *window)
    : QObject(window)
    , m_session(session)
    , m_reference(reference)
    , m_messenger(messenger)
    , m_fileChooser(&fileChooser)
    , m_startDirectory(startDirectory)
    , m_resultBox(resultBox)
    , m_window(window)
{ }

PlanPrinting::~PlanPrinting() = default;

void PlanPrinting::printResult(PrintKind kind)
{
    const CalculationState &state = m_session.calculationState();
    PlanReports reports(m_session.plan().items(), m_reference, m_startDirectory);
    reports.setCropChosen(m_session.plan().stepState(3) == Plan::StepState::Done);
    reports.setNitrateSectionShown(m_session.settings().nitrateChecks);
    QString error;
    std::optional<PlanReport> report;
    switch (kind) {
    case PrintKind::ResultList:
        report = reports.resultList(m_resultBox.result(), &error);
        break;
    case PrintKind::Summary:
        if (!m_lastSummary)
            return;
        report = reports.fullSummary(*m_lastSummary, state.withLeafAnalysis, &error);
        break;
    case PrintKind::Recommendations:
        report = reports.recommendations(m_recommendationFilter, &error);
        break;
    }
    showReport(report ? &*report : nullptr, error);
}

void PlanPrinting::showSummary(bool withLeafAnalysis)
{
    // The summary replays every list itself; what the boxes showed before does not count.
    m_session.calculationState().withLeafAnalysis = withLeafAnalysis;
    m_resultBox.hide();
    SummaryResult result = buildSummary(m_session.plan(), m_reference, true, withLeafAnalysis);
    if (!result.summary) {
        const bool keepStepOpen = showSummaryStop(m_session.plan(), result, m_messenger);
        if (keepStepOpen && result.failedStep >= 1 && result.failedStep <= Plan::stepCount)
            emit stepToCorrect(result.failedStep);
        return;
    }
    // The step-1 "Kész" closes the replay, as the step list expects after a summary.
    m_session.applyElementSelection();
    m_lastSummary = std::make_shared<const PlanSummary>(std::move(*result.summary));
    printResult(PrintKind::Summary);
}

void PlanPrinting::printDescriptions()
{
    m_recommendationFilter
        = RecommendationTexts::loadRecommendationTexts(m_session.plan().items());
    printResult(PrintKind::Recommendations);
}

void PlanPrinting::printCoverSheet()
{
    PlanReports reports(m_session.plan().items(), m_reference, m_startDirectory);
    QString error;
    const std::optional<PlanReport> report = reports.coverSheet(&error);
    showReport(report ? &*report : nullptr, error);
}

void PlanPrinting::showReport(const PlanReport *report, const QString &error)
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
    ReportPreview preview(document, *m_fileChooser, m_messenger, m_window);
    preview.setExportPath(m_startDirectory);
    preview.exec();
}
