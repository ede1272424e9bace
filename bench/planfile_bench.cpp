// A plan of 999 sample columns and 50 schedule rows saved and loaded on disk, against the
// anchor measured in the same run: the same bytes written through a save file and read back
// raw. Saving and opening a plan should cost at most three times the file system's work.
// Wall ("planMs", "rawMs", "ratio") and CPU ("planCpuMs", "rawCpuMs", "cpuRatio") per round.

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/planitems.h"
#include "core/plan/schedule.h"
#include "core/plan/soilsamples.h"
#include "core/planfile/planfile.h"
#include "core/text/numbers.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

struct LargePlanFile
{
    QTemporaryDir directory;
    PlanItems items;
    QByteArray bytes;

    LargePlanFile()
    {
        const QString path = directory.filePath(QStringLiteral("referencia.sqlite"));
        QString error;
        ReferenceDatabase reference;
        if (!ReferenceDatabase::createFromDefaults(path, &error) || !reference.open(path, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
        items.lotNumber = QStringLiteral("0452/7");
        items.parcelNumber = QStringLiteral("Kőröshegy 12/a");
        items.area = QStringLiteral("1245000");
        items.cropId = QStringLiteral("1");
        items.plannedYield = QStringLiteral("6,5");
        SoilSamples::initSoilGrid(items);
        SoilSamples::setSampleCount(items, PlanItems::maxSampleCount);
        // values as typed and as averaged: short decimals and long quotients
        for (int column = 1; column <= PlanItems::maxSampleCount + 1; ++column) {
            items.soilSampleTable.setCell(1, column, QStringLiteral("Minta-ő %1").arg(column));
            for (int row = 2; row <= 11; ++row) {
                // pH stays below 14, the rest below 61
                const double typed = 1 + (column * 7 + row * 13) % (row == 2 ? 26 : 120) * 0.5;
                const double value = column == 1 ? typed / 3 : typed;
                items.soilSampleTable.setCell(row, column, Text::formatGeneral(value));
            }
        }
        const QList<QVariantMap> materials
            = reference.select(Tables::Tapanyagok::name).value_or(QList<QVariantMap>());
        for (int row = 0; row < PlanFile::maxScheduleRecords && !materials.isEmpty(); ++row)
            Schedule::addScheduleRow(items, materials[row % materials.size()],
                                     QDate(2026, 3, 1).addDays(row), QStringLiteral("125,5"));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!PlanFile::writePlanFile(buffer, items, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
    }
};

LargePlanFile &largePlanFile()
{
    static LargePlanFile plan;
    return plan;
}

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

struct Clocks
{
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = cpuSeconds();

    void addTo(double &wallSeconds, double &cpuSecondsTotal) const
    {
        wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall)
                           .count();
        cpuSecondsTotal += cpuSeconds() - cpu;
    }
};

void planSaveLoad(benchmark::State &run)
{
    LargePlanFile &plan = largePlanFile();
    const QString planPath = plan.directory.filePath(QStringLiteral("terv.tap"));
    const QString rawPath = plan.directory.filePath(QStringLiteral("nyers.tap"));
    double planWall = 0, planCpu = 0, rawWall = 0, rawCpu = 0;
    for (auto _ : run) {
        {
            const Clocks clocks;
            QString error;
            PlanItems loaded;
            if (!PlanFile::savePlanFile(planPath, plan.items, &error)
                || !PlanFile::loadPlanFile(planPath, loaded, &error)) {
                run.SkipWithError(qPrintable(error));
                return;
            }
            benchmark::DoNotOptimize(loaded);
            clocks.addTo(planWall, planCpu);
        }
        {
            const Clocks clocks;
            QSaveFile out(rawPath);
            out.open(QIODevice::WriteOnly);
            out.write(plan.bytes);
            out.commit();
            QFile in(rawPath);
            in.open(QIODevice::ReadOnly);
            const QByteArray read = in.readAll();
            if (read != plan.bytes) {
                run.SkipWithError("the raw bytes did not come back");
                return;
            }
            clocks.addTo(rawWall, rawCpu);
        }
    }
    const double rounds = double(run.iterations());
    run.counters["fileKiB"] = double(plan.bytes.size()) / 1024.0;
    run.counters["planMs"] = planWall / rounds * 1e3;
    run.counters["rawMs"] = rawWall / rounds * 1e3;
    run.counters["ratio"] = planWall / rawWall;
    run.counters["planCpuMs"] = planCpu / rounds * 1e3;
    run.counters["rawCpuMs"] = rawCpu / rounds * 1e3;
    run.counters["cpuRatio"] = planCpu / rawCpu;
}
BENCHMARK(planSaveLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The conversions alone, in memory: what each side costs without the disk.
void planWriteInMemory(benchmark::State &run)
{
    LargePlanFile &plan = largePlanFile();
    for (auto _ : run) {
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        PlanFile::writePlanFile(out, plan.items, nullptr);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(planWriteInMemory)->Unit(benchmark::kMillisecond);

void planReadInMemory(benchmark::State &run)
{
    LargePlanFile &plan = largePlanFile();
    for (auto _ : run) {
        QBuffer in(&plan.bytes);
        in.open(QIODevice::ReadOnly);
        PlanItems loaded;
        PlanFile::readPlanFile(in, loaded, nullptr);
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(planReadInMemory)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
