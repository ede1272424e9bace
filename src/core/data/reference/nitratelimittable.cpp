#include "core/data/reference/nitratelimittable.h"

#include "core/data/defaults/referencedefaults.h"
#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"

namespace NitrateLimitTable {

namespace {

namespace F = Tables::NitrateLimits;

Filter rowFilter(const QString &novid, int sztid, int level)
{
    return Filter::equals(F::Novid, novid) && Filter::equals(F::Sztid, sztid)
        && Filter::equals(F::Level, level);
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QList<QVariantMap> cropRows(const ReferenceDatabase &reference, const QString &novid)
{
    return reference.select(F::name, Filter::equals(F::Novid, novid), {F::Sztid, F::Level})
        .value_or(QList<QVariantMap>());
}

bool addLimit(ReferenceDatabase &reference, const QString &novid, int sztid, int level, double maxN,
    QString *error)
{
    if (reference.count(F::name, rowFilter(novid, sztid, level)) > 0) {
        return fail(error,
            QStringLiteral("Ehhez a termőhelyi kategóriához és N-ellátottsághoz "
                           "már van határérték."));
    }
    return reference
        .insert(F::name, {{F::Novid, novid}, {F::Sztid, sztid}, {F::Level, level}, {F::MaxN, maxN}},
            error)
        .has_value();
}

bool setLimit(ReferenceDatabase &reference, const QString &novid, int sztid, int level, double maxN,
    QString *error)
{
    return reference.update(F::name, rowFilter(novid, sztid, level), {{F::MaxN, maxN}}, error) >= 0;
}

bool removeLimit(
    ReferenceDatabase &reference, const QString &novid, int sztid, int level, QString *error)
{
    return reference.remove(F::name, rowFilter(novid, sztid, level), error) >= 0;
}

bool restoreDefaults(ReferenceDatabase &reference, QString *error)
{
    const Schema::Table *table = Schema::table(F::name);
    const std::optional<Csv::Table> defaults = ReferenceDefaults::readTable(*table, error);
    if (!defaults)
        return false;
    QList<QVariantMap> rows;
    for (const QStringList &cells : defaults->rows) {
        QVariantMap row;
        for (int column = 0; column < defaults->header.size(); ++column) {
            const Schema::Field *field = table->field(defaults->header[column]);
            if (!field)
                continue;
            const std::optional<QVariant> value
                = ReferenceDefaults::cellValue(*field, cells.value(column), error);
            if (!value)
                return false;
            row.insert(field->name, *value);
        }
        rows.append(row);
    }
    return reference.replaceAllRows(F::name, rows, error);
}

} // namespace NitrateLimitTable
