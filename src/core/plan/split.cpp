#include "core/plan/split.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/calculationstate.h"
#include "core/plan/elements.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/text/numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

namespace Find3 = Tables::Find3;

struct SplitColumn
{
    Elements::Element element;
    int width;
};

// The columns of the selected elements, in the order N, P, K.
QList<SplitColumn> splitColumns(const PlanItems &items)
{
    QList<SplitColumn> columns;
    const SplitColumn all[] = {{Elements::N, 140}, {Elements::P, 100}, {Elements::K, 100}};
    for (const SplitColumn &column : all) {
        if (items.elementSelected[column.element])
            columns.append(column);
    }
    return columns;
}

QString shareText(const QVariant &value)
{
    return Text::formatGeneral(value.toDouble());
}

// "Ö:70%T:30%": the autumn share as stored, the spring share the rest of the whole percent.
QString autumnSpringText(const QVariant &autumn)
{
    const long spring = 100 - std::lround(autumn.toDouble());
    return QStringLiteral("Ö:") + shareText(autumn) + QStringLiteral("%T:")
           + QString::number(spring) + QLatin1Char('%');
}

QString splitText(Elements::Element element, const QVariantMap &band)
{
    switch (element) {
    case Elements::N:
        return QStringLiteral("Ö:") + shareText(band.value(Find3::ON)) + QStringLiteral("%,Max:")
               + shareText(band.value(Find3::MaxN)) + QStringLiteral("kg/ha");
    case Elements::P:
        return autumnSpringText(band.value(Find3::OP));
    default:
        return autumnSpringText(band.value(Find3::OK));
    }
}

} // namespace

Outcome<ResultTable> showSplit(const PlanItems &items, CalculationState &state,
                               const ReferenceDatabase &database)
{
    ResultTable result;
    result.boxTitle = QStringLiteral("Tápanyag kijuttatásának javasolt megosztása");
    result.reportTitle = QStringLiteral("Megosztás(Ösz/Tavasz) :");

    const QList<SplitColumn> columns = splitColumns(items);
    const QStringList &names = Elements::scheduleDetailHeader();
    result.headings.append(QString());
    result.columnWidths.append(0); // the sample marks size to their text
    for (const SplitColumn &column : columns) {
        result.headings.append(names[column.element]);
        result.columnWidths.append(column.width);
    }

    // The bands of the crop and site category come in ascending upper limit.
    const Filter filter = Filter::equals(Find3::Novid, items.cropId)
                          && Filter::equals(Find3::Sztid, items.siteCategory + 1);
    QString readError;
    const std::optional<QList<QVariantMap>> read
        = database.select(Find3::name, filter, {}, ReferenceDatabase::DeletedRows::Hidden,
                          &readError);
    if (!read)
        return Outcome<ResultTable>::refused(readError);
    const QList<QVariantMap> &bands = *read;

    ElementTable &elements = state.elements;
    const int count = std::clamp(items.sampleCount, 0, PlanItems::maxSampleCount);
    for (int s = 0; s <= count; ++s) {
        elements.loadSampleColumn(items, s);
        const double plasticity = elements.entry(ElementTable::Ka).value;
        // a plasticity equal to a band's upper limit belongs to that band
        const auto band = std::find_if(bands.cbegin(), bands.cend(), [&](const QVariantMap &row) {
            return row.value(Find3::Ka).toDouble() >= plasticity;
        });
        QStringList row {elements.currentSampleLabel()};
        for (const SplitColumn &column : columns)
            row.append(band == bands.cend() ? ResultTable::noValue()
                                            : splitText(column.element, *band));
        result.rows.append(row);
    }
    return result;
}
