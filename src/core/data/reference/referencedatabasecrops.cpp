// The multi-row changes of one crop's reference rows: deleting the crop, replacing its need
// rows, restoring its defaults, and choosing the id of a new crop.
#include "core/data/reference/referencedatabase.h"

#include "core/data/reference/fieldvalues.h"
#include "core/data/reference/tables.h"

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool ReferenceDatabase::deleteCrop(const QString &novid, QString *error)
{
    return inTransaction(
        [&](QString *workError) {
            // the rows that hang on the crop first, the crop itself last
            const Filter ofCrop = Filter::equals(Tables::Nov::Novid, novid);
            if (remove(Tables::Find2::name, ofCrop, workError) < 0
                || remove(Tables::Find3::name, ofCrop, workError) < 0)
                return false;
            const int removed = remove(Tables::Nov::name, ofCrop, workError);
            if (removed < 0)
                return false;
            if (removed == 0)
                return fail(workError,
                    QStringLiteral("A(z) %1 azonosítójú növény nem található.").arg(novid));
            return true;
        },
        error);
}

bool ReferenceDatabase::replaceCropNeeds(
    const QString &novid, const QString &anyid, const QList<QVariantMap> &rows, QString *error)
{
    namespace F = Tables::Find2;
    if (anyid != QLatin1String("N") && anyid != QLatin1String("P") && anyid != QLatin1String("K"))
        return fail(error,
            QStringLiteral("Fajlagos igény csak N, P és K elemre adható meg, "
                           "nem %1 elemre.")
                .arg(anyid));
    const Schema::Table *description = knownTable(F::name, error);
    if (!description)
        return false;

    // Check every row before the old ones go.
    QList<QVariantMap> checked;
    QList<qint64> categories;
    for (const QVariantMap &row : rows) {
        QVariantMap values = row;
        if (values.contains(F::Novid) && values.value(F::Novid).toString() != novid)
            return fail(error,
                QStringLiteral("A sor más növényhez tartozik: %1.")
                    .arg(values.value(F::Novid).toString()));
        if (values.contains(F::Anyid) && values.value(F::Anyid).toString() != anyid)
            return fail(error,
                QStringLiteral("A sor más elemhez tartozik: %1.")
                    .arg(values.value(F::Anyid).toString()));
        values.insert(F::Novid, novid);
        values.insert(F::Anyid, anyid);
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const Schema::Field *field = description->field(it.key());
            if (!field)
                return fail(error,
                    QStringLiteral("A(z) %1 táblának nincs %2 mezője.").arg(F::name, it.key()));
            if (!FieldValues::toStored(*description, *field, it.value(), error))
                return false;
        }
        const std::optional<QVariant> category = FieldValues::toStored(
            *description, *description->field(F::Sztid), values.value(F::Sztid), error);
        if (!category)
            return false;
        const qint64 number = category->isNull() ? 0 : category->toLongLong();
        if (number < 1 || number > 6)
            return fail(error,
                QStringLiteral("A termőhely száma 1 és 6 közötti egész szám, nem %1.")
                    .arg(values.value(F::Sztid).toString()));
        if (categories.contains(number))
            return fail(error, QStringLiteral("A(z) %1. termőhely kétszer szerepel.").arg(number));
        categories.append(number);
        checked.append(values);
    }

    return inTransaction(
        [&](QString *workError) {
            const Filter ofCropAndElement
                = Filter::equals(F::Novid, novid) && Filter::equals(F::Anyid, anyid);
            if (remove(F::name, ofCropAndElement, workError) < 0)
                return false;
            for (const QVariantMap &values : checked) {
                if (!insert(F::name, values, workError))
                    return false;
            }
            return true;
        },
        error);
}

int ReferenceDatabase::restoreFromDefaults(
    const QString &table, const QString &defaultsTable, const QString &novid, QString *error)
{
    const Filter ofCrop = Filter::equals(Tables::Nov::Novid, novid);
    const std::optional<QList<QVariantMap>> defaults
        = select(defaultsTable, ofCrop, {}, DeletedRows::Included, error);
    if (!defaults)
        return -1;
    if (defaults->isEmpty())
        return 0;
    const Schema::Table *target = knownTable(table, error);
    if (!target)
        return -1;
    const bool done = inTransaction(
        [&](QString *workError) {
            if (remove(table, ofCrop, workError) < 0)
                return false;
            for (const QVariantMap &row : *defaults) {
                QVariantMap values;
                for (auto it = row.cbegin(); it != row.cend(); ++it) {
                    const Schema::Field *field = target->field(it.key());
                    // the target's own keys (Find3's Id) are given anew
                    if (field && field->type != Schema::FieldType::AutoIncrement)
                        values.insert(it.key(), it.value());
                }
                if (!insert(table, values, workError))
                    return false;
            }
            return true;
        },
        error);
    return done ? int(defaults->size()) : -1;
}

int ReferenceDatabase::restoreCropNeeds(const QString &novid, QString *error)
{
    return restoreFromDefaults(Tables::Find2::name, Tables::Find2Back::name, novid, error);
}

int ReferenceDatabase::restoreCropSplits(const QString &novid, QString *error)
{
    return restoreFromDefaults(Tables::Find3::name, Tables::Find3Back::name, novid, error);
}

QString ReferenceDatabase::nextCropId(QString *error) const
{
    qint64 largest = 0;
    for (const Schema::Table &table : Schema::referenceTables()) {
        if (!table.hasField(Tables::Nov::Novid))
            continue;
        const std::optional<QList<QVariantMap>> rows
            = select(table.name, {}, {}, DeletedRows::Included, error);
        if (!rows)
            return QString();
        for (const QVariantMap &row : *rows) {
            // ids are decimal digits; anything else cannot collide with a new number
            bool isNumber = false;
            const qint64 id = row.value(Tables::Nov::Novid).toString().toLongLong(&isNumber);
            if (isNumber && id > largest)
                largest = id;
        }
    }
    const QString id = QString::number(largest + 1);
    const int maxLength = Schema::table(Tables::Nov::name)->field(Tables::Nov::Novid)->maxLength;
    if (id.size() > maxLength) {
        fail(error, QStringLiteral("Nincs több szabad növényazonosító."));
        return QString();
    }
    return id;
}
