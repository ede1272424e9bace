// The lists of steps 2 and 3 over a full soil table (999 samples and the average), and the
// sample grid of step 2 scrolled from its first to its last column: each must finish well
// inside the blink of an eye (about 100 ms) for the wizard to feel immediate.

#include "core/data/reference/referencedatabase.h"
#include "core/plan/calculationstate.h"
#include "core/plan/cropneed.h"
#include "core/plan/elementselection.h"
#include "core/plan/needcalculation.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/plan/supplyclassifier.h"
#include "core/planfile/planfile.h"
#include "core/text/numbers.h"
#include "gui/steps/soilsamplegrid.h"
#include "gui/steps/soilsamplemodel.h"

#include <QApplication>
#include <QBuffer>
#include <QPixmap>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

struct FullPlan
{
    QTemporaryDir directory;
    ReferenceDatabase reference;
    Plan plan;
    CalculationState state;

    FullPlan()
    {
        const QString path = directory.filePath(QStringLiteral("referencia.sqlite"));
        QString error;
        if (!ReferenceDatabase::createFromDefaults(path, &error) || !reference.open(path, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
        PlanItems items = plan.items();
        SoilSamples::initSoilGrid(items);
        SoilSamples::setSampleCount(items, PlanItems::maxSampleCount);
        items.siteCategory = 1;
        items.cropId = QStringLiteral("1");
        items.plannedYield = QStringLiteral("6,5");
        // Values that walk through the bands as the columns go; pH stays a pH, so the plan
        // can be saved.
        for (int column = 1; column <= PlanItems::maxSampleCount + 1; ++column) {
            items.soilSampleTable.setCell(1, column, QStringLiteral("M-%1").arg(column));
            for (int row = 2; row <= 11; ++row) {
                const double value = 1 + (column * 7 + row * 13) % (row == 2 ? 26 : 120) * 0.5;
                items.soilSampleTable.setCell(row, column, Text::formatGeneral(value));
            }
        }
        ElementSelection::applyElementSelection(items, state.elements);
        plan.setItems(items);
    }
};

FullPlan &fullPlan()
{
    static FullPlan plan;
    return plan;
}

void supplyLevels(benchmark::State &run)
{
    FullPlan &full = fullPlan();
    for (auto _ : run) {
        SupplyClassifier classifier(full.reference);
        benchmark::DoNotOptimize(showSupplyLevels(full.plan.items(), full.state, classifier));
    }
}
BENCHMARK(supplyLevels)->Unit(benchmark::kMillisecond);

void recommendedDoses(benchmark::State &run)
{
    FullPlan &full = fullPlan();
    for (auto _ : run) {
        NeedCalculation need(full.reference);
        benchmark::DoNotOptimize(
            showRecommendedDoses(full.plan.items(), full.state, need.calculator));
    }
}
BENCHMARK(recommendedDoses)->Unit(benchmark::kMillisecond);

void averages(benchmark::State &run)
{
    FullPlan &full = fullPlan();
    PlanItems items = full.plan.items();
    items.programAverage = true;
    for (auto _ : run)
        benchmark::DoNotOptimize(SoilSamples::computeAverages(items));
}
BENCHMARK(averages)->Unit(benchmark::kMillisecond);

// The step-2 grid over a full table: shown, scrolled to the last sample and back, painted
// each time, as a user dragging the scroll bar sees it.
void soilGridScroll(benchmark::State &run)
{
    FullPlan &full = fullPlan();
    SoilSampleModel model(full.plan);
    SoilSampleGrid grid;
    grid.setModel(&model);
    grid.resize(700, 300);
    grid.show();
    QScrollBar *bar = grid.horizontalScrollBar();
    for (auto _ : run) {
        bar->setValue(bar->maximum());
        benchmark::DoNotOptimize(grid.grab());
        bar->setValue(0);
        benchmark::DoNotOptimize(grid.grab());
    }
}
BENCHMARK(soilGridScroll)->Unit(benchmark::kMillisecond);

void soilGridOpen(benchmark::State &run)
{
    FullPlan &full = fullPlan();
    for (auto _ : run) {
        SoilSampleModel model(full.plan);
        SoilSampleGrid grid;
        grid.setModel(&model);
        grid.resize(700, 300);
        benchmark::DoNotOptimize(grid.grab());
    }
}
BENCHMARK(soilGridOpen)->Unit(benchmark::kMillisecond);

// A plan file with 999 samples and 50 schedule rows, written and read back in memory.
void planFileRoundTrip(benchmark::State &run)
{
    PlanItems items = fullPlan().plan.items();
    items.scheduleGrid.setRowCount(PlanItems::maxScheduleRows + 1);
    items.scheduleDetailGrid.setRowCount(PlanItems::maxScheduleRows + 1);
    for (int row = 1; row <= PlanItems::maxScheduleRows; ++row) {
        items.scheduleGrid.setCell(row, 0, QStringLiteral("2026.3.%1.").arg(row % 28 + 1));
        items.scheduleGrid.setCell(row, 1, QStringLiteral("Pétisó 27% N"));
        items.scheduleGrid.setCell(row, 2, QStringLiteral("150"));
        for (int column = 0; column < PlanItems::detailColumnCount; ++column)
            items.scheduleDetailGrid.setCell(row, column, QStringLiteral("1"));
        items.scheduleDetailGrid.setCell(row, 11, QString());
        items.scheduleDetailGrid.setCell(row, 15, QStringLiteral("kg"));
    }
    for (auto _ : run) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString error;
        if (!PlanFile::writePlanFile(buffer, items, &error)) {
            run.SkipWithError(qPrintable(error));
            break;
        }
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        PlanItems read;
        benchmark::DoNotOptimize(PlanFile::readPlanFile(buffer, read, &error));
    }
}
BENCHMARK(planFileRoundTrip)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
