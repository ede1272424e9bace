// The full summary of a 999-sample plan, built by replaying every list, filled into its
// design, laid out and written in each format: the batch printing of many plans from the
// command line should take at most 2 s per plan as PDF in at most 120 MiB, and 0.2 s as a
// web page. The peak memory of the process is reported with each run ("peakMiB"); run a
// single format (--benchmark_filter=summaryTo/Pdf) for its own peak.

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/plan.h"
#include "core/plan/schedule.h"
#include "core/plan/soilsamples.h"
#include "core/reports/planreports.h"
#include "core/reports/plansummary.h"
#include "core/reports/reportdocument.h"
#include "core/text/numbers.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// A refused replay would be a fault of the benchmark plan: its reason goes to stderr.
SummaryResult replay(Plan &plan, const ReferenceDatabase &reference)
{
    SummaryResult summary = buildSummary(plan, reference, false);
    if (!summary.summary)
        std::fprintf(stderr, "%s\n", qPrintable(summary.summary.refusalText()));
    return summary;
}

struct LargePlan
{
    QTemporaryDir directory;
    ReferenceDatabase reference;
    Plan plan;

    LargePlan()
    {
        const QString path = directory.filePath(QStringLiteral("referencia.sqlite"));
        QString error;
        if (!ReferenceDatabase::createFromDefaults(path, &error) || !reference.open(path, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
        plan.resetPlan();
        PlanItems items = plan.items();
        items.elementSelected.fill(true);
        items.showDescriptions = true;
        items.lotNumber = QStringLiteral("0452/7");
        items.area = QStringLiteral("1245000");
        items.siteCategory = 1;
        items.cropId = QStringLiteral("1");
        items.plannedYield = QStringLiteral("6,5");
        items.manureTiming = PlanItems::EgyEve;
        items.manureAmount = QStringLiteral("20");
        SoilSamples::initSoilGrid(items);
        SoilSamples::setSampleCount(items, PlanItems::maxSampleCount);
        items.programAverage = true;
        // values that walk through the supply bands as the columns go
        for (int column = 2; column <= PlanItems::maxSampleCount + 1; ++column) {
            items.soilSampleTable.setCell(1, column, QStringLiteral("M-%1").arg(column - 1));
            for (int row = 2; row <= 11; ++row) {
                const double value = 1 + (column * 7 + row * 13) % 120 * 0.5;
                items.soilSampleTable.setCell(row, column, Text::formatGeneral(value));
            }
        }
        const QList<QVariantMap> materials
            = reference.select(Tables::Tapanyagok::name).value_or(QList<QVariantMap>());
        for (int row = 0; row < 20 && row < materials.size(); ++row)
            Schedule::addScheduleRow(items, materials[row], QDate(2026, 3, 1).addDays(row),
                                     QStringLiteral("100"));
        plan.setItems(items);
    }
};

LargePlan &largePlan()
{
    static LargePlan plan;
    return plan;
}

double peakMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The whole way from the plan to the file in `format`: the replay, the filled design, the
// document and the export. The anchor is writing the same bytes to a file, timed in the same
// run; "ratio" is the export's time over the anchor's. NUTRISOR_BENCH_KEEP names a directory
// that keeps the files (terv.pdf, terv.txt, …) for a comparison with another build.
void summaryTo(benchmark::State &run, ReportFormat format, const QString &suffix)
{
    LargePlan &large = largePlan();
    const QString keep = qEnvironmentVariable("NUTRISOR_BENCH_KEEP");
    const QString target = QDir(keep.isEmpty() ? large.directory.path() : keep)
                               .filePath(QStringLiteral("terv.") + suffix);
    int pages = 0;
    double seconds = 0;
    for (auto _ : run) {
        const auto started = std::chrono::steady_clock::now();
        const SummaryResult summary = replay(large.plan, large.reference);
        if (!summary.summary) {
            run.SkipWithError("the summary failed");
            return;
        }
        PlanReports reports(large.plan.items(), large.reference, QString());
        QString error;
        const std::optional<PlanReport> report = reports.fullSummary(*summary.summary, false, &error);
        if (!report) {
            run.SkipWithError(qPrintable(error));
            return;
        }
        const ReportDocument document(report->rendered.html, report->title,
                                      report->rendered.orientation);
        if (!document.exportTo(target, format, &error)) {
            run.SkipWithError(qPrintable(error));
            return;
        }
        if (format == ReportFormat::Pdf)
            pages = document.pageCount();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
                       .count();
    }

    // the anchor: the same bytes written raw, the best of five
    QFile written(target);
    const QByteArray bytes = written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
    double anchor = 1e9;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const auto started = std::chrono::steady_clock::now();
        QFile raw(target + QStringLiteral(".raw"));
        if (!raw.open(QIODevice::WriteOnly) || raw.write(bytes) != bytes.size()) {
            run.SkipWithError("the anchor file cannot be written");
            return;
        }
        raw.close();
        anchor = std::min(anchor, std::chrono::duration<double>(
                                      std::chrono::steady_clock::now() - started)
                                      .count());
    }
    QFile::remove(target + QStringLiteral(".raw"));
    if (format == ReportFormat::Pdf)
        run.counters["pages"] = pages;
    run.counters["KiB"] = double(bytes.size()) / 1024.0;
    run.counters["anchorMs"] = anchor * 1000.0;
    run.counters["ratio"] = seconds / double(run.iterations()) / anchor;
    run.counters["peakMiB"] = peakMiB();
}
BENCHMARK_CAPTURE(summaryTo, Pdf, ReportFormat::Pdf, QStringLiteral("pdf"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(summaryTo, Html, ReportFormat::Html, QStringLiteral("html"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(summaryTo, Text, ReportFormat::Text, QStringLiteral("txt"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(summaryTo, Rtf, ReportFormat::Rtf, QStringLiteral("rtf"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The parts of it: the replay alone, and the replay with the filled design.
void summaryReplay(benchmark::State &run)
{
    LargePlan &large = largePlan();
    for (auto _ : run)
        benchmark::DoNotOptimize(replay(large.plan, large.reference));
}
BENCHMARK(summaryReplay)->Unit(benchmark::kMillisecond);

void summaryFilled(benchmark::State &run)
{
    LargePlan &large = largePlan();
    const SummaryResult summary = replay(large.plan, large.reference);
    for (auto _ : run) {
        PlanReports reports(large.plan.items(), large.reference, QString());
        benchmark::DoNotOptimize(reports.fullSummary(*summary.summary, false));
    }
}
BENCHMARK(summaryFilled)->Unit(benchmark::kMillisecond);

void summaryLayout(benchmark::State &run)
{
    LargePlan &large = largePlan();
    const SummaryResult summary = replay(large.plan, large.reference);
    // NUTRISOR_BENCH_DESIGNS: a directory of designs to try instead of the built-in ones
    PlanReports reports(large.plan.items(), large.reference,
                        qEnvironmentVariable("NUTRISOR_BENCH_DESIGNS"));
    const std::optional<PlanReport> report = reports.fullSummary(*summary.summary, false);
    for (auto _ : run) {
        const ReportDocument document(report->rendered.html, report->title,
                                      report->rendered.orientation);
        benchmark::DoNotOptimize(document.pageCount());
    }
}
BENCHMARK(summaryLayout)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
