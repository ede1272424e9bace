// "Lekérés" of one field from a farm kept in genuine Paradox tables whose Talajmintak.db
// holds 100,000 samples (10,000 fields of ten samples each, the average records included):
// the whole file is checked and read to find the field's samples, which must still feel
// immediate (well under a second).

#include "core/data/farm/farmdatabase.h"
#include "core/data/farm/farmfields.h"
#include "core/plan/fieldimport.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "support/paradoxwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

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

void importOneField(benchmark::State &state)
{
    const FarmDatabase farm(largeFarm().directory.path());
    FarmTableResult fields = farm.openTable(FarmTables::Tablak, FarmFields::activeFields());
    if (!fields) {
        state.SkipWithError(qPrintable(fields.error));
        return;
    }
    for (auto _ : state) {
        PlanItems items;
        SoilSamples::initSoilGrid(items);
        QString error;
        if (!importField(items, *fields.table, farm, FarmRecordKind::Fields, &error)
            || items.sampleCount != samplesPerField - 1) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        benchmark::DoNotOptimize(items.soilSampleTable);
    }
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
