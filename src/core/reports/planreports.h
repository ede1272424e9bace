#pragma once

#include "core/data/filter.h"
#include "core/reports/planfeeds.h"
#include "core/reports/printstate.h"
#include "core/reports/reportengine.h"

#include <optional>

class ReferenceDatabase;
struct PlanItems;
struct PlanSummary;
struct ResultTable;

// A report ready for the page: the filled design and the title of its pages.
struct PlanReport
{
    RenderedReport rendered;
    QString title;
};

// The plan's printouts: the print state and the feeds of each report project, filled
// through the report engine.
class PlanReports
{
public:
    // The report projects.
    static QString resultListProject() { return QStringLiteral("Ellatottsagproba"); }
    static QString summaryProject() { return QStringLiteral("full"); }
    static QString leafSummaryProject() { return QStringLiteral("fulllev"); }
    static QString recommendationProject() { return QStringLiteral("javaslat"); }
    static QString coverSheetProject() { return QStringLiteral("Szakfed"); }
    static QString summaryTitle() { return QStringLiteral("Tápanyag-gazdálkodási terv"); }

    PlanReports(const PlanItems &items, const ReferenceDatabase &reference,
                const QString &startDirectory);

    // Print kind 1: a list of the result box, titled with the box's title.
    std::optional<PlanReport> resultList(const ResultTable &grid, QString *error = nullptr);
    // Print kind 2: the full summary; the combined one with leaf analysis when asked.
    std::optional<PlanReport> fullSummary(const PlanSummary &summary, bool withLeafAnalysis,
                                          QString *error = nullptr);
    // Print kind 3: the recommendation texts the filter selects.
    std::optional<PlanReport> recommendations(const Filter &filter, QString *error = nullptr);
    // The adviser's cover sheet.
    std::optional<PlanReport> coverSheet(QString *error = nullptr);

    // Until the crop is chosen in step 3 the plan holds only the list's first crop as a
    // stand-in: the headers then print no crop and no yield.
    void setCropChosen(bool chosen) { m_cropChosen = chosen; }
    // Whether the full summary has its nitrate action programme section (the default).
    void setNitrateSectionShown(bool shown) { m_nitrateSectionShown = shown; }

    // The state the last report was prepared with.
    const PrintState &printState() const { return m_state; }

    // The plan header as the reports print it.
    PlanFeeds::PlanHeader planHeader() const;
    // "Tervet készítette: …" from the adviser's data when they are to be shown; empty
    // otherwise.
    QString adviserLine() const;

private:
    std::optional<PlanReport> render(const QString &project, const QString &title,
                                     const QList<ReportFeed *> &feeds, QString *error);
    QVariantMap elementFlags() const;

    const PlanItems &m_items;
    const ReferenceDatabase &m_reference;
    ReportEngine m_engine;
    PrintState m_state;
    bool m_cropChosen = true;
    bool m_nitrateSectionShown = true;
};
