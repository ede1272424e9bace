#include "core/leaf/leafregister.h"

#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/text/numbers.h"

#include <QHash>
#include <QVariantMap>

namespace F = Tables::Mintak;

namespace LeafRegister {

static const QLatin1String contentFields[5] = {F::N, F::P, F::K, F::Ca, F::Mg};

const QStringList &elementSymbols()
{
    static const QStringList symbols = {QStringLiteral("N"), QStringLiteral("P"),
        QStringLiteral("K"), QStringLiteral("Ca"), QStringLiteral("Mg")};
    return symbols;
}

static std::optional<double> number(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

std::optional<QList<LeafSample>> list(const ReferenceDatabase &reference, QString *error)
{
    QHash<int, QString> speciesNames;
    for (const LeafSpecies &species : species(reference))
        speciesNames.insert(species.id, species.name);
    const auto rows = reference.select(
        F::name, {}, {F::Gazdev, F::Datum, F::Id}, ReferenceDatabase::DeletedRows::Hidden, error);
    if (!rows)
        return std::nullopt;
    QList<LeafSample> samples;
    for (const QVariantMap &row : *rows) {
        // a result whose species is not in Fajok is not listed, as the join leaves it out
        if (row.value(F::Fajid).isNull() || !speciesNames.contains(row.value(F::Fajid).toInt()))
            continue;
        LeafSample sample;
        sample.id = row.value(F::Id).toLongLong();
        sample.name = row.value(F::Nev).toString();
        sample.laboratory = row.value(F::Labor).toString();
        sample.sampleMark = row.value(F::Mintaazon).toString();
        sample.date = row.value(F::Datum).toDate();
        sample.block = row.value(F::Blokk).toString();
        sample.fieldSerial = row.value(F::Tablassz).toString();
        sample.farmingYear = row.value(F::Gazdev).toString();
        sample.area = number(row.value(F::Ter));
        sample.speciesId = row.value(F::Fajid).toInt();
        sample.species = speciesNames.value(sample.speciesId);
        sample.atHarvest = row.value(F::Szuretkor).toBool();
        for (int i = 0; i < 5; ++i)
            sample.contents[i] = number(row.value(contentFields[i]));
        samples.append(sample);
    }
    return samples;
}

QHash<qint64, LeafSample> byId(const ReferenceDatabase &reference)
{
    QHash<qint64, LeafSample> samples;
    for (const LeafSample &sample : list(reference).value_or(QList<LeafSample>()))
        samples.insert(sample.id, sample);
    return samples;
}

QList<LeafSpecies> species(const ReferenceDatabase &reference)
{
    namespace S = Tables::Fajok;
    QList<LeafSpecies> list;
    for (const QVariantMap &row : reference.select(S::name).value_or(QList<QVariantMap>()))
        list.append(
            {row.value(S::Id).toInt(), row.value(S::Faj).toString(), row.value(S::Opt).toString()});
    return list;
}

QString validateEntry(const LeafEntry &entry)
{
    if (!entry.speciesId)
        return QStringLiteral("Kérem válassza ki a növény faját!");
    const auto badNumber
        = [](const QString &text) { return !text.trimmed().isEmpty() && !Text::isDecimal(text); };
    if (badNumber(entry.area))
        return QStringLiteral("A terület nem szám: %1").arg(entry.area);
    for (int i = 0; i < 5; ++i) {
        if (badNumber(entry.contents[i]))
            return QStringLiteral("A(z) %1 -tartalom nem szám: %2")
                .arg(elementSymbols().at(i), entry.contents[i]);
    }
    return QString();
}

static QVariant decimal(const QString &text)
{
    const std::optional<double> value = Text::parseDecimal(text);
    return value ? QVariant(*value) : QVariant();
}

bool save(
    ReferenceDatabase &reference, const LeafEntry &entry, std::optional<qint64> id, QString *error)
{
    const QString refusal = validateEntry(entry);
    if (!refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return false;
    }
    QVariantMap values
        = {{F::Nev, entry.name}, {F::Labor, entry.laboratory}, {F::Mintaazon, entry.sampleMark},
            {F::Datum, entry.date}, {F::Blokk, entry.block}, {F::Tablassz, entry.fieldSerial},
            {F::Gazdev, entry.farmingYear}, {F::Ter, decimal(entry.area)},
            {F::Fajid, *entry.speciesId}, {F::Szuretkor, entry.atHarvest}, {F::Deleted, false}};
    for (int i = 0; i < 5; ++i)
        values.insert(contentFields[i], decimal(entry.contents[i]));
    if (!id)
        return reference.insert(F::name, values, error).has_value();
    return reference.update(F::name, Filter::equals(F::Id, *id), values, error) >= 0;
}

LeafEntry entryOf(const LeafSample &sample)
{
    const auto text = [](const std::optional<double> &value) {
        return value ? Text::formatGeneral(*value) : QString();
    };
    LeafEntry entry;
    entry.name = sample.name;
    entry.laboratory = sample.laboratory;
    entry.sampleMark = sample.sampleMark;
    entry.block = sample.block;
    entry.fieldSerial = sample.fieldSerial;
    entry.farmingYear = sample.farmingYear;
    entry.area = text(sample.area);
    entry.date = sample.date;
    entry.speciesId = sample.speciesId;
    entry.atHarvest = sample.atHarvest;
    for (int i = 0; i < 5; ++i)
        entry.contents[i] = text(sample.contents[i]);
    return entry;
}

bool remove(ReferenceDatabase &reference, qint64 id, QString *error)
{
    return reference.markDeleted(F::name, Filter::equals(F::Id, id), error) >= 0;
}

} // namespace LeafRegister
