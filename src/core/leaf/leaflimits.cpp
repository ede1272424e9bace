#include "core/leaf/leaflimits.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"

#include <algorithm>

void LeafLimits::add(int speciesId, int season, const QString &element, const LeafLimit &limit)
{
    QList<LeafLimit> &scale = m_scales[{speciesId, season, element}];
    const auto at = std::upper_bound(scale.begin(), scale.end(), limit.limit,
        [](double value, const LeafLimit &row) { return value < row.limit; });
    scale.insert(at, limit);
}

QList<LeafLimit> LeafLimits::scale(int speciesId, int season, const QString &element) const
{
    return m_scales.value({speciesId, season, element});
}

std::optional<LeafLimits> LeafLimits::read(const ReferenceDatabase &reference, QString *error)
{
    namespace F = Tables::Hatar;
    const auto rows
        = reference.select(F::name, {}, {F::Hatar}, ReferenceDatabase::DeletedRows::Hidden, error);
    if (!rows)
        return std::nullopt;
    LeafLimits limits;
    for (const QVariantMap &row : *rows) {
        if (row.value(F::Hatar).isNull())
            continue;
        limits.add(row.value(F::Fajid).toInt(), row.value(F::Szezon).toInt(),
            row.value(F::Elem).toString(),
            {row.value(F::Hatar).toDouble(), row.value(F::Ertek).toInt(),
                row.value(F::Ertekeles).toString()});
    }
    return limits;
}
