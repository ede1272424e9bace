// "Lekérés" of one field from a farm kept in genuine Paradox tables whose Talajmintak.db
// holds 100,000 samples (10,000 fields of ten samples each, the average records included):
// the whole file is checked and read to find the field's samples. The anchor is reading the
// same file whole into memory, measured in the same iterations; the goal is at most five
// times that (two at best).

#include "core/data/farm/farmdatabase.h"
#include "core/data/farm/farmfields.h"
#include "core/plan/fieldimport.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "support/paradoxwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Paradox::FieldType;

constexpr int fieldCount = 10000;
constexpr int samplesPerField = 10; // nine samples and the average record
constexpr int chosenField = 7777;

struct LargeFarm
{
    QTemporaryDir directory;

    LargeFarm()
    {
        using namespace FarmFields;
        ParadoxWriter::Table fields;
        fields.fields = {{Tableid, FieldType::AutoIncrement}, {Helysz, FieldType::Alpha, 20},
                         {Ter, FieldType::Number}, {Aktiv, FieldType::Short}};
        fields.rows = {{chosenField, QStringLiteral("0777/7"), 98765.0, 1}};

        ParadoxWriter::Table samples;
        samples.codePage = 852;
        samples.fields = {{Tablakod, FieldType::Long}, {Mintas, FieldType::Short},
                          {Mintajel, FieldType::Alpha, 12}};
        for (const QLatin1String name : sampleValues)
            samples.fields.append({name, FieldType::Number});
        samples.rows.reserve(fieldCount * samplesPerField);
        for (int field = 1; field <= fieldCount; ++field) {
            for (int sample = 1; sample <= samplesPerField; ++sample) {
                const int number = sample == samplesPerField ? 0 : sample;
                QVariantList row{field, number,
                                 number == 0 ? QStringLiteral("Átlag")
                                             : QStringLiteral("TVG%1").arg(number)};
                for (int value = 0; value < 10; ++value)
                    row.append(5.0 + value + sample / 10.0);
                samples.rows.append(row);
            }
        }
        QString error;
        const QDir farm(directory.path());
        if (!ParadoxWriter::write(farm.filePath(QStringLiteral("Tablak.db")), fields, &error)
            || !ParadoxWriter::write(farm.filePath(QStringLiteral("Talajmintak.db")), samples,
                                     &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::abort();
        }
    }
};

LargeFarm &largeFarm()
{
    static LargeFarm farm;
    return farm;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void importOneField(benchmark::State &state)
{
    const FarmDatabase farm(largeFarm().directory.path());
    FarmTableResult fields = farm.openTable(FarmTables::Tablak, FarmFields::activeFields());
    if (!fields) {
        state.SkipWithError(qPrintable(fields.error));
        return;
    }
    const QString samplesFile = QDir(largeFarm().directory.path())
                                    .filePath(QStringLiteral("Talajmintak.db"));
    std::vector<double> raw;
    std::vector<double> imports;
    for (auto _ : state) {
        state.PauseTiming();
        auto start = std::chrono::steady_clock::now();
        {
            QFile file(samplesFile);
            if (!file.open(QIODevice::ReadOnly)) {
                state.SkipWithError("Talajmintak.db");
                return;
            }
            benchmark::DoNotOptimize(file.readAll());
        }
        raw.push_back(millisecondsSince(start));
        state.ResumeTiming();

        start = std::chrono::steady_clock::now();
        PlanItems items;
        SoilSamples::initSoilGrid(items);
        QString error;
        if (!importField(items, *fields.table, farm, FarmRecordKind::Fields, &error)
            || items.sampleCount != samplesPerField - 1) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        benchmark::DoNotOptimize(items.soilSampleTable);
        imports.push_back(millisecondsSince(start));
    }
    state.counters["raw_ms"] = median(raw);
    state.counters["import_ms"] = median(imports);
    state.counters["ratio"] = median(imports) / median(raw);
}
BENCHMARK(importOneField)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    largeFarm(); // written once, outside the measurement
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
