#pragma once

#include "core/reports/reportfeed.h"

#include <QList>
#include <QVariantMap>

#include <memory>

class TextGrid;
struct PlanItems;
struct PlanSummary;
struct PrintState;
struct ResultTable;

// The data feeds of the plan reports, each under the name the report designs use. A feed
// reads the tables it is given when its rows are asked for, so they must outlive it.
namespace PlanFeeds {

// The values of the plan header, in the column order of the header feed.
struct PlanHeader
{
    QString lotNumber;
    QString area;
    QString siteCategoryName;
    QString sampleCount;
    bool programAverage = false;
    QString cropName;
    QString plannedYield;
    QString parcelNumber;
    QString farmingYear;
    QString firstCaption;  // St1
    QString secondCaption; // St2
    QString adviserLine;
};

// The adviser's data for the cover sheet, in the column order of its feed: Nev, Irany,
// Telep, Cim, Tel, Fax, Email, Regsz, Szerv.
using CoverSheet = QStringList;

// "RvCustomConnection1": rows 1 … printRowCount − 1 of the result grid (row 0 its headings).
std::unique_ptr<ReportFeed> resultGridFeed(const ResultTable &grid, const PrintState &state);
// "RvCustomConnection2": the one row of the plan header.
std::unique_ptr<ReportFeed> planHeaderFeed(const PlanHeader &header, PrintState &state);
// "RvCustomConnection3": the four blocks of each soil column of the summary table.
std::unique_ptr<ReportFeed> summaryFeed(const PlanSummary &summary, const PrintState &state);
// "MintaEr": the laboratory values of the average column and of each sample.
std::unique_ptr<ReportFeed> soilResultsFeed(const PlanItems &items);
// "KorrTextP": the correction sentences the corrected doses applied.
std::unique_ptr<ReportFeed> correctionTextFeed(const QList<int> &correctionTextList);
// "Utemterv": the application schedule.
std::unique_ptr<ReportFeed> scheduleFeed(const PlanItems &items);
// "OsszKijut": the applied totals, headings first.
std::unique_ptr<ReportFeed> appliedTotalsFeed(const ResultTable &totals);
// "Maradek": the remainder, headings first.
std::unique_ptr<ReportFeed> remainderFeed(const TextGrid &remainderTable, int sampleCount);
// "Szaktanfedlap": the one row of the adviser's cover sheet.
std::unique_ptr<ReportFeed> coverSheetFeed(const CoverSheet &values, PrintState &state);
// "RvTableConnection1": the recommendation texts, rows of Jav with Javid, Javtap and Jav
// (the memo as markup for the report), and the element's name as "elem".
std::unique_ptr<ReportFeed> recommendationTextFeed(const QList<QVariantMap> &rows);

// "Levmintaer": the linked leaf samples of the combined summary, rows of the leaf mark and
// the N, P, K, Mg and Ca contents.
std::unique_ptr<ReportFeed> leafResultsFeed(const QList<QStringList> &rows);

} // namespace PlanFeeds
