// The purchase list over 1,000 plan files of 20 schedule rows each, against the anchor
// measured in the same run: the same files read raw. Summing a farm's season should cost at
// most twice the file system's work. Wall ("listMs", "rawMs", "ratio") per round.

#include "core/plan/planitems.h"
#include "core/planfile/planfile.h"
#include "core/planfile/planfilelayout.h"
#include "core/purchase/purchaselist.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int planCount = 1000;
constexpr int rowsPerPlan = 20;

struct Season
{
    QTemporaryDir directory;
    QStringList paths;

    Season()
    {
        using namespace PlanFile::Layout;
        for (int plan = 0; plan < planCount; ++plan) {
            PlanItems items;
            items.area = QString::number(5000 + plan * 37);
            for (int row = 2; row < PlanItems::soilRowCount; ++row)
                items.soilSampleTable.setCell(row, 1, QStringLiteral("1,5"));
            items.scheduleGrid.setRowCount(rowsPerPlan + 1);
            items.scheduleDetailGrid.setRowCount(rowsPerPlan + 1);
            for (int row = 1; row <= rowsPerPlan; ++row) {
                // 60 materials of the farm, each plan using a third of them
                const int material = (plan * 7 + row * 3) % 60 + 1;
                items.scheduleGrid.setCell(row, dateColumn, QStringLiteral("2026.3.%1.").arg(row));
                items.scheduleGrid.setCell(
                    row, nameColumn, QStringLiteral("Anyag-ő %1").arg(material));
                items.scheduleGrid.setCell(
                    row, amountColumn, QStringLiteral("%1,5").arg(100 + row));
                for (int column = 0; column <= otherContentColumn; ++column)
                    items.scheduleDetailGrid.setCell(row, column, QStringLiteral("12,5"));
                items.scheduleDetailGrid.setCell(row, materialIdColumn, QString::number(material));
            }
            const QString path = directory.filePath(QStringLiteral("terv%1.tap").arg(plan));
            QString error;
            if (!PlanFile::savePlanFile(path, items, &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                std::exit(1);
            }
            paths << path;
        }
    }
};

Season &season()
{
    static Season files;
    return files;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void purchaseList(benchmark::State &run)
{
    const Season &files = season();
    double listWall = 0, rawWall = 0;
    for (auto _ : run) {
        auto start = std::chrono::steady_clock::now();
        const PurchaseList list = PurchaseList::fromFiles(files.paths);
        if (list.readPlans().size() != planCount) {
            run.SkipWithError("a plan was not read");
            return;
        }
        benchmark::DoNotOptimize(list.entries());
        listWall += secondsSince(start);

        start = std::chrono::steady_clock::now();
        qint64 bytes = 0;
        for (const QString &path : files.paths) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            bytes += file.readAll().size();
        }
        benchmark::DoNotOptimize(bytes);
        rawWall += secondsSince(start);
    }
    const double rounds = double(run.iterations());
    run.counters["listMs"] = listWall / rounds * 1e3;
    run.counters["rawMs"] = rawWall / rounds * 1e3;
    run.counters["ratio"] = listWall / rawWall;
}
BENCHMARK(purchaseList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
