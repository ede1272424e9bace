#include "core/reports/planreports.h"

#include "core/data/reference/adviserrecord.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/leaf/leaflinks.h"
#include "core/plan/elements.h"
#include "core/plan/planitems.h"
#include "core/plan/resulttable.h"
#include "core/reports/nitratefeeds.h"
#include "core/reports/plansummary.h"
#include "core/reports/recommendationtexts.h"

namespace {

// The elements' flags "showN" … "showCu": whether the printed table has their column.
const QStringList &flagNames()
{
    static const QStringList names {
        QStringLiteral("showN"),  QStringLiteral("showP"),  QStringLiteral("showK"),
        QStringLiteral("showMg"), QStringLiteral("showMn"), QStringLiteral("showZn"),
        QStringLiteral("showCu"), QStringLiteral("showFe")};
    return names;
}

} // namespace

PlanReports::PlanReports(const PlanItems &items, const ReferenceDatabase &reference,
                         const QString &startDirectory)
    : m_items(items)
    , m_reference(reference)
    , m_engine(startDirectory)
{
}

PlanFeeds::PlanHeader PlanReports::planHeader() const
{
    namespace Nov = Tables::Nov;
    PlanFeeds::PlanHeader header;
    header.lotNumber = m_items.lotNumber;
    header.area = m_items.area;
    header.siteCategoryName = Elements::siteCategoryNames().value(m_items.siteCategory);
    header.sampleCount = QString::number(m_items.sampleCount);
    header.programAverage = m_items.programAverage;
    if (m_cropChosen) {
        const std::optional<QVariantMap> crop
            = m_reference.selectFirst(Nov::name, Filter::equals(Nov::Novid, m_items.cropId));
        header.cropName = crop ? crop->value(Nov::Nev).toString() : QString();
        header.plannedYield = m_items.plannedYield;
    }
    header.parcelNumber = m_items.parcelNumber;
    header.farmingYear = m_items.farmingYear;
    const QVariantMap captions
        = m_reference.selectFirst(Tables::Modtext::name).value_or(QVariantMap());
    header.firstCaption = captions.value(Tables::Modtext::St1).toString();
    header.secondCaption = captions.value(Tables::Modtext::St2).toString();
    header.adviserLine = adviserLine();
    return header;
}

QString PlanReports::adviserLine() const
{
    return AdviserRecord::readAdviser(m_reference).adviserLine();
}

QVariantMap PlanReports::elementFlags() const
{
    QVariantMap flags;
    for (int element = 0; element < PrintState::mappedElementCount; ++element)
        flags.insert(flagNames()[element], m_state.elementColumnMap[element] >= 0);
    flags.insert(QStringLiteral("withLeafAnalysis"), m_state.withLeafAnalysis);
    flags.insert(QStringLiteral("showNitrate"), m_nitrateSectionShown);
    return flags;
}

std::optional<PlanReport> PlanReports::render(const QString &project, const QString &title,
                                              const QList<ReportFeed *> &feeds, QString *error)
{
    std::optional<RenderedReport> rendered = m_engine.render(project, feeds, elementFlags(), error);
    if (!rendered)
        return std::nullopt;
    return PlanReport {std::move(*rendered), title};
}

std::optional<PlanReport> PlanReports::resultList(const ResultTable &grid, QString *error)
{
    m_state = PrintState();
    m_state.reportTitle = grid.boxTitle;
    m_state.printRowCount = grid.rowCount() + 1; // the headings are the grid's row 0
    m_state.printColCount = grid.columnCount();
    m_state.elementColumnMap = elementColumnMap(grid.headings, m_state.printColCount);

    const std::unique_ptr<ReportFeed> list = PlanFeeds::resultGridFeed(grid, m_state);
    const std::unique_ptr<ReportFeed> header = PlanFeeds::planHeaderFeed(planHeader(), m_state);
    return render(resultListProject(), grid.boxTitle, {list.get(), header.get()}, error);
}

std::optional<PlanReport> PlanReports::fullSummary(const PlanSummary &summary,
                                                   bool withLeafAnalysis, QString *error)
{
    m_state = PrintState();
    m_state.reportTitle = summaryTitle();
    m_state.withLeafAnalysis = withLeafAnalysis;
    m_state.printRowCount = m_items.sampleCount * 4;
    m_state.printColCount = summary.summaryTable.columnCount();
    m_state.elementColumnMap
        = elementColumnMap(summary.summaryTable.row(0), m_state.printColCount);

    const std::optional<QList<QVariantMap>> texts
        = RecommendationTexts::readTexts(m_reference, summary.recommendationFilter, error);
    if (!texts)
        return std::nullopt;
    const auto header = PlanFeeds::planHeaderFeed(planHeader(), m_state);
    const auto blocks = PlanFeeds::summaryFeed(summary, m_state);
    const auto soil = PlanFeeds::soilResultsFeed(m_items);
    const auto corrections = PlanFeeds::correctionTextFeed(summary.correctionTextList);
    const auto schedule = PlanFeeds::scheduleFeed(m_items);
    const auto totals = PlanFeeds::appliedTotalsFeed(summary.appliedTotals);
    const auto remainder = PlanFeeds::remainderFeed(summary.remainderTable, m_items.sampleCount);
    const auto recommendations = PlanFeeds::recommendationTextFeed(*texts);
    const auto nitrateLimits = NitrateFeeds::limitFeed(summary.nitrateCheck);
    const auto closedPeriod = NitrateFeeds::closedPeriodFeed(summary.nitrateCheck);
    QList<ReportFeed *> feeds {header.get(),   blocks.get(),    soil.get(),
                               corrections.get(), schedule.get(), totals.get(),
                               remainder.get(), recommendations.get()};
    if (m_nitrateSectionShown)
        feeds << nitrateLimits.get() << closedPeriod.get();
    if (!withLeafAnalysis)
        return render(summaryProject(), summaryTitle(), feeds, error);
    const QList<QStringList> leafRows = LeafLinks::leafResults(m_reference, m_items.leafLinks);
    const auto leafResults = PlanFeeds::leafResultsFeed(leafRows);
    feeds.append(leafResults.get());
    return render(leafSummaryProject(), summaryTitle(), feeds, error);
}

std::optional<PlanReport> PlanReports::recommendations(const Filter &filter, QString *error)
{
    m_state = PrintState();
    m_state.reportTitle = QStringLiteral("Tápanyag-gazdálkodási javaslatok");
    const std::optional<QList<QVariantMap>> texts
        = RecommendationTexts::readTexts(m_reference, filter, error);
    if (!texts)
        return std::nullopt;
    const auto feed = PlanFeeds::recommendationTextFeed(*texts);
    return render(recommendationProject(), m_state.reportTitle, {feed.get()}, error);
}

std::optional<PlanReport> PlanReports::coverSheet(QString *error)
{
    m_state = PrintState();
    m_state.reportTitle = QStringLiteral("Szaktanácsadó");
    QString readError;
    const AdviserRecord adviser = AdviserRecord::readAdviser(m_reference, &readError);
    if (!readError.isEmpty()) {
        if (error)
            *error = readError;
        return std::nullopt;
    }
    const PlanFeeds::CoverSheet values {adviser.Nev, adviser.Irany, adviser.Telep,
                                        adviser.Cim, adviser.Tel,   adviser.Fax,
                                        adviser.Email, adviser.Regsz, adviser.Szerv};
    const auto feed = PlanFeeds::coverSheetFeed(values, m_state);
    return render(coverSheetProject(), m_state.reportTitle, {feed.get()}, error);
}
