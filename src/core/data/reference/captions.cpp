#include "core/data/reference/captions.h"

#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"

#include <QVariantMap>

namespace Captions {

namespace F = Tables::Modtext;

FieldCaptions readCaptions(const ReferenceDatabase &reference)
{
    const std::optional<QVariantMap> row = reference.selectFirst(F::name);
    if (!row)
        return {};
    return {row->value(F::St1).toString(), row->value(F::St2).toString()};
}

bool saveCaptions(ReferenceDatabase &reference, const FieldCaptions &captions, QString *error)
{
    const QVariantMap values {{F::St1, captions.lot}, {F::St2, captions.parcel}};
    QString readError;
    const std::optional<QVariantMap> first = reference.selectFirst(F::name, {}, {}, &readError);
    if (!first && readError.isEmpty())
        return reference.insert(F::name, values, error).has_value();
    if (!first) {
        if (error)
            *error = readError;
        return false;
    }
    // The table has no key: its row is picked by what it holds.
    const Filter row = Filter::equals(F::St1, first->value(F::St1))
        && Filter::equals(F::St2, first->value(F::St2));
    return reference.update(F::name, row, values, error) > 0;
}

} // namespace Captions
