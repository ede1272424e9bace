#include "core/plan/fieldimport.h"

#include "core/data/farm/farmdatabase.h"
#include "core/data/farm/farmfields.h"
#include "core/data/farm/farmtable.h"
#include "core/plan/planitems.h"
#include "core/text/numbers.h"

#include <QList>
#include <QVariant>

#include <array>

namespace {

// One record of the sample table as the soil grid takes it.
struct SampleColumn
{
    bool isAverage = false;
    QString mark;
    std::array<QString, FarmFields::sampleValues.size()> values;
};

// The area as the user would type it: a whole number of square metres stays plain
// ("124500"), a stored fraction gets the decimal comma, an empty field stays empty.
QString areaText(const FarmTable &record)
{
    const QVariant stored = record.value(FarmFields::Ter);
    if (stored.isNull())
        return {};
    if (stored.typeId() == QMetaType::QString)
        return stored.toString();
    return Text::formatGeneral(record.number(FarmFields::Ter));
}

} // namespace

bool importField(PlanItems &items, const FarmTable &record, const FarmDatabase &farm,
    FarmRecordKind kind, QString *error)
{
    const bool isField = kind == FarmRecordKind::Fields;
    if (record.eof()) {
        if (error) {
            *error = isField ? QStringLiteral("Nincs kiválasztott tábla.")
                             : QStringLiteral("Nincs kiválasztott parcella.");
        }
        return false;
    }
    const int id = record.integer(isField ? FarmFields::Tableid : FarmFields::Parc_id);
    const QString sampleTable
        = isField ? QString(FarmTables::Talajmintak) : QString(FarmTables::PTalajmintak);
    FarmTableResult samples = farm.openTable(sampleTable, FarmFields::samplesOf(id));
    if (!samples) {
        if (error) {
            *error = QStringLiteral("A(z) %1 talajminta-tábla nem olvasható. %2")
                         .arg(sampleTable, samples.error);
        }
        return false;
    }

    // Everything is read before the plan changes, so a failed read leaves it untouched.
    QList<SampleColumn> columns;
    FarmTable &table = *samples.table;
    for (table.first(); !table.eof(); table.next()) {
        SampleColumn column;
        column.isAverage = table.integer(FarmFields::Mintas) == FarmFields::averageSampleNumber;
        column.mark = table.text(FarmFields::Mintajel);
        for (std::size_t i = 0; i < FarmFields::sampleValues.size(); ++i)
            column.values[i] = Text::formatGeneral(table.number(FarmFields::sampleValues[i]));
        columns.append(column);
    }

    if (isField)
        items.lotNumber = record.text(FarmFields::Helysz);
    else
        items.parcelNumber = record.text(FarmFields::Parcsor);
    items.area = areaText(record);

    // The grid is not cleared: without an average record column 1 keeps what it held, and
    // of two average records the later one wins. Samples beyond the 999 columns the plan
    // can hold are left out.
    TextGrid &grid = items.soilSampleTable;
    int next = 1;
    for (const SampleColumn &column : std::as_const(columns)) {
        int gridColumn = 1;
        if (!column.isAverage) {
            if (next > PlanItems::maxSampleCount)
                continue;
            gridColumn = ++next;
        }
        grid.setCell(1, gridColumn, column.mark);
        for (std::size_t i = 0; i < column.values.size(); ++i)
            grid.setCell(2 + int(i), gridColumn, column.values[i]);
    }
    items.sampleCount = next - 1;
    return true;
}
