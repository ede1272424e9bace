#pragma once

#include "core/data/filter.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class FileChooser;
class Messenger;
class PlanSession;
class QWidget;
class ReferenceDatabase;
class ReportDocument;
class ResultBox;
struct PlanReport;
struct PlanSummary;

// The printouts of the main window, each shown in the print preview: the result box's list,
// the full summary built last, the recommendation texts chosen last and the adviser's cover
// sheet. It keeps the summary and the texts between building and printing them.
class PlanPrinting final : public QObject
{
    Q_OBJECT

public:
    PlanPrinting(PlanSession &session, const ReferenceDatabase &reference, Messenger &messenger,
                 FileChooser &fileChooser, const QString &startDirectory, ResultBox &resultBox,
                 QWidget *window);
    ~PlanPrinting() override;

    enum class PrintKind { ResultList, Summary, Recommendations };
    void printResult(PrintKind kind);
    // "Összesített kimutatás": replays the plan's lists and prints the summary; a step that
    // fails says so and nothing is printed. With leaf analysis it is "Összesített kimutatás
    // levélanaéízissel": the lists then take linked columns' N, P, K and Mg levels from their
    // leaf samples, and keep doing so for this plan until the plain summary is asked for.
    void showSummary(bool withLeafAnalysis = false);
    // "Leírások nyomtatása": the texts of the ticked elements (step 1 is the caller's).
    void printDescriptions();
    // "Fedlap nyomtatása" of the adviser panel.
    void printCoverSheet();

    void setFileChooser(FileChooser &chooser) { m_fileChooser = &chooser; }
    // Tests look at the report instead of the modal preview.
    void setReportViewer(std::function<void(const ReportDocument &)> viewer)
    {
        m_reportViewer = std::move(viewer);
    }

signals:
    // A replayed step failed and the user chose to correct it: its box should show.
    void stepToCorrect(int step);

private:
    // The report in the preview, or the error when it could not be made (report null).
    void showReport(const PlanReport *report, const QString &error);

    PlanSession &m_session;
    const ReferenceDatabase &m_reference;
    Messenger &m_messenger;
    FileChooser *m_fileChooser;
    QString m_startDirectory;
    ResultBox &m_resultBox;
    QWidget *m_window;
    std::function<void(const ReportDocument &)> m_reportViewer;
    std::shared_ptr<const PlanSummary> m_lastSummary;
    Filter m_recommendationFilter;
};
