#include "core/data/reference/needtable.h"

#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/elements.h"
#include "core/text/numbers.h"

#include <QHash>
#include <QVariantMap>

namespace NeedTable {

namespace {

namespace F = Tables::Find2;

// The need fields of the editor's columns, left to right.
const std::array<QLatin1String, levelCount> &levelFields()
{
    static const std::array<QLatin1String, levelCount> fields {F::Igy, F::Gy, F::K,
                                                               F::M,   F::J,  F::S};
    return fields;
}

Filter ofCropAndElement(const QString &novid, const QString &anyid)
{
    return Filter::equals(F::Novid, novid) && Filter::equals(F::Anyid, anyid);
}

} // namespace

std::optional<QList<Row>> loadRows(const ReferenceDatabase &reference, const QString &novid,
                                   const QString &anyid, QString *error)
{
    const auto stored = reference.select(F::name, ofCropAndElement(novid, anyid), {F::Sztid},
                                         ReferenceDatabase::DeletedRows::Hidden, error);
    if (!stored)
        return std::nullopt;
    QList<Row> rows;
    for (const QVariantMap &values : *stored) {
        Row row;
        row.siteCategory = values.value(F::Sztid).toInt();
        for (int level = 0; level < levelCount; ++level) {
            const QVariant value = values.value(levelFields()[level]);
            if (!value.isNull())
                row.cells[level] = Text::formatGeneral(value.toDouble());
        }
        rows.append(row);
    }
    return rows;
}

QString checkRows(const QList<Row> &rows)
{
    for (const Row &row : rows) {
        for (int level = 0; level < levelCount; ++level) {
            const QString &cell = row.cells[level];
            if (cell.trimmed().isEmpty())
                continue;
            const std::optional<double> value = Text::parseDecimal(cell);
            if (value && *value >= 0)
                continue;
            return QStringLiteral("Hibás érték: „%1” (%2, %3). Csak nem negatív szám adható "
                                  "meg, tizedesvesszővel. Semmi sem került rögzítésre.")
                .arg(cell, Elements::siteCategoryNames().value(row.siteCategory - 1).simplified(),
                     Elements::supplyLevelName(level + 1));
        }
    }
    return QString();
}

bool storeRows(ReferenceDatabase &reference, const QString &novid, const QString &anyid,
               const QList<Row> &rows, QString *error)
{
    const QString fault = checkRows(rows);
    if (!fault.isEmpty()) {
        if (error)
            *error = fault;
        return false;
    }
    // The level-7 values stay with their site categories.
    const auto stored = reference.select(F::name, ofCropAndElement(novid, anyid), {},
                                         ReferenceDatabase::DeletedRows::Hidden, error);
    if (!stored)
        return false;
    QHash<int, QVariant> levelSeven;
    for (const QVariantMap &values : *stored)
        levelSeven.insert(values.value(F::Sztid).toInt(), values.value(F::I));

    QList<QVariantMap> replacement;
    for (const Row &row : rows) {
        QVariantMap values {{F::Sztid, row.siteCategory}};
        for (int level = 0; level < levelCount; ++level) {
            const QString &cell = row.cells[level];
            values.insert(levelFields()[level], cell.trimmed().isEmpty()
                                                    ? QVariant()
                                                    : QVariant(*Text::parseDecimal(cell)));
        }
        values.insert(F::I, levelSeven.value(row.siteCategory));
        replacement.append(values);
    }
    return reference.replaceCropNeeds(novid, anyid, replacement, error);
}

} // namespace NeedTable
