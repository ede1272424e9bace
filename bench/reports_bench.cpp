// The output of a report as large as the full summary of a 999-sample plan (four blocks of
// rows per sample column, about 4000 table rows on over a hundred landscape pages): the
// layout, and each export format written to memory. The layout and the PDF should each
// take a few seconds at most, for an adviser who prints many plans in one go.

#include "core/reports/reportdocument.h"

#include <QBuffer>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

QString largeSummaryHtml()
{
    QString rows;
    for (int row = 0; row < 4000; ++row) {
        rows += QStringLiteral("<tr><td>M-%1</td><td>Ellátottság</td>").arg(row / 4);
        for (int element = 0; element < 8; ++element)
            rows += QStringLiteral("<td align=\"right\">%1,5</td>").arg(row + element);
        rows += QStringLiteral("</tr>");
    }
    return QStringLiteral("<html><body><h1>Összesített kimutatás</h1>"
                          "<table border=\"1\" cellspacing=\"0\" width=\"100%\">%1</table>"
                          "</body></html>")
        .arg(rows);
}

const QString &html()
{
    static const QString text = largeSummaryHtml();
    return text;
}

void layout(benchmark::State &state)
{
    for (auto _ : state) {
        const ReportDocument report(html(), QStringLiteral("Összesített kimutatás"),
                                    QPageLayout::Landscape);
        benchmark::DoNotOptimize(report.pageCount());
    }
}
BENCHMARK(layout)->Unit(benchmark::kMillisecond);

void exportFormat(benchmark::State &state)
{
    const ReportDocument report(html(), QStringLiteral("Összesített kimutatás"),
                                QPageLayout::Landscape);
    const auto format = ReportFormat(state.range(0));
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(report.write(buffer, format));
    }
    state.counters["pages"] = report.pageCount();
}
BENCHMARK(exportFormat)
    ->Arg(int(ReportFormat::Pdf))
    ->Arg(int(ReportFormat::Rtf))
    ->Arg(int(ReportFormat::Text))
    ->Arg(int(ReportFormat::Html))
    ->Unit(benchmark::kMillisecond);

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
