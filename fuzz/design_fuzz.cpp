// libFuzzer entry: any report design, with a piece it may include, must be filled or refused
// with a message naming a file; it must never overrun the stack, loop without end or run
// for minutes. The piece is also given as a recommendation text, whose markup must come out
// of the sanitiser with no script and unchanged by a second pass.
//
// An input is the design ("full.html"), then a NUL, then the piece ("piece.html"); with no
// NUL the piece is empty. The design is filled from the feeds of a small fixed plan.
#include "core/plan/planitems.h"
#include "core/plan/resulttable.h"
#include "core/plan/soilsamples.h"
#include "core/reports/planfeeds.h"
#include "core/reports/printstate.h"
#include "core/reports/recommendationtexts.h"
#include "core/reports/reportengine.h"
#include "core/text/memohtml.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Two soil samples with their average, one schedule row.
const PlanItems &smallPlan()
{
    static const PlanItems items = [] {
        PlanItems plan;
        SoilSamples::initSoilGrid(plan);
        SoilSamples::setSampleCount(plan, 2);
        plan.sampleCount = 2;
        for (int column = 1; column <= 3; ++column) {
            plan.soilSampleTable.setCell(1, column, QStringLiteral("M-%1").arg(column));
            for (int row = 2; row <= 11; ++row)
                plan.soilSampleTable.setCell(row, column, QString::number(row * column));
        }
        plan.scheduleGrid.setCell(1, 0, QStringLiteral("2026.03.12."));
        plan.scheduleGrid.setCell(1, 1, QStringLiteral("Pétisó <27%>"));
        plan.scheduleGrid.setCell(1, 2, QStringLiteral("200"));
        return plan;
    }();
    return items;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir start;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArray design = split < 0 ? input : input.left(split);
    const QByteArray piece = split < 0 ? QByteArray() : input.mid(split + 1);
    writeFile(start.filePath(QStringLiteral("full.html")), design);
    writeFile(start.filePath(QStringLiteral("piece.html")), piece);

    const QString memo = RecommendationTexts::memoMarkup(QString::fromUtf8(piece));
    if (memo.contains(QLatin1String("<script"), Qt::CaseInsensitive)
        || Text::sanitizeMemoHtml(memo) != memo)
        __builtin_trap();

    PrintState state;
    state.printRowCount = 3;
    state.elementColumnMap = {1, 2, -1, -1, -1, -1, -1, -1};
    ResultTable grid;
    grid.reportTitle = QStringLiteral("Ellátottság");
    grid.headings
        = {QStringLiteral("Minta"), QStringLiteral("Nitrogén"), QStringLiteral("Foszfor")};
    grid.rows = {grid.headings,
        {QStringLiteral("Átlag"), QStringLiteral("közepes"), QStringLiteral("jó")},
        {QStringLiteral("M-1"), QStringLiteral("gyenge"), QStringLiteral("<b>&</b>")}};
    PlanFeeds::PlanHeader header;
    header.lotNumber = QStringLiteral("0123/4");
    header.area = QStringLiteral("125000");
    header.cropName = QStringLiteral("Őszi búza");
    const QList<QVariantMap> texts {
        {{QStringLiteral("Javid"), 1}, {QStringLiteral("Javtap"), QStringLiteral("N")},
            {QStringLiteral("Jav"), memo},
            {RecommendationTexts::elementNameKey(), QStringLiteral("Nitrogén")}},
        {{QStringLiteral("Javid"), 2}, {QStringLiteral("Javtap"), QStringLiteral("P")},
            {QStringLiteral("Jav"), QStringLiteral("<p>Foszfor</p>")}}};

    // the feeds read these when their rows are asked for
    const QList<int> corrections {1, 3};
    const PlanFeeds::CoverSheet cover {QStringLiteral("Minta Szaktanácsadó")};
    std::unique_ptr<ReportFeed> feeds[] = {PlanFeeds::resultGridFeed(grid, state),
        PlanFeeds::planHeaderFeed(header, state), PlanFeeds::soilResultsFeed(smallPlan()),
        PlanFeeds::correctionTextFeed(corrections), PlanFeeds::scheduleFeed(smallPlan()),
        PlanFeeds::coverSheetFeed(cover, state), PlanFeeds::recommendationTextFeed(texts)};
    QList<ReportFeed *> feedList;
    for (const auto &feed : feeds)
        feedList.append(feed.get());
    const QVariantMap values {{QStringLiteral("showN"), true}, {QStringLiteral("showP"), false},
        {QStringLiteral("title"), QStringLiteral("Terv")}};

    QString error;
    const std::optional<RenderedReport> report
        = ReportEngine(start.path()).render(QStringLiteral("full"), feedList, values, &error);
    if (!report && !error.contains(start.path()) && !error.contains(QLatin1String(":/reports/")))
        __builtin_trap(); // a refusal names the file at fault
    return 0;
}
