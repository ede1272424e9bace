#include "core/data/reference/materials.h"

#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/text/numbers.h"

#include <algorithm>

namespace Materials {

namespace Tapanyagok = Tables::Tapanyagok;

namespace {

Refusal databaseError(const QString &error)
{
    return Refusal {error, MessageKind::Error, false};
}

Filter ofMaterial(qint64 anyagid)
{
    return Filter::equals(Tapanyagok::Anyagid, anyagid);
}

} // namespace

const QList<QLatin1String> &contentFields()
{
    static const QList<QLatin1String> fields = {Tapanyagok::N, Tapanyagok::P, Tapanyagok::K,
        Tapanyagok::Mg, Tapanyagok::S, Tapanyagok::Mn, Tapanyagok::Zn, Tapanyagok::Cu,
        Tapanyagok::Fe, Tapanyagok::Mo, Tapanyagok::B, Tapanyagok::Egyebmeny};
    return fields;
}

const QStringList &contentCaptions()
{
    static const QStringList captions
        = {QStringLiteral("Nitrogén"), QStringLiteral("Foszfor"), QStringLiteral("Kálium"),
            QStringLiteral("Magnézium"), QStringLiteral("Kén"), QStringLiteral("Mangán"),
            QStringLiteral("Cink"), QStringLiteral("Réz"), QStringLiteral("Vas"),
            QStringLiteral("Molibd."), QStringLiteral("Bór"), QStringLiteral("Egyéb")};
    return captions;
}

std::optional<QList<QVariantMap>> listedMaterials(const ReferenceDatabase &database, QString *error)
{
    return database.select(Tapanyagok::name, {}, {}, ReferenceDatabase::DeletedRows::Hidden, error);
}

Outcome<qint64> addMaterial(ReferenceDatabase &database, const QString &name, bool isLiquid)
{
    const QString megnev = name.trimmed();
    if (megnev.isEmpty())
        return Refusal {QStringLiteral("Nincs megnevezés megadva!"), MessageKind::Error, true};

    QString error;
    const std::optional<QList<QVariantMap>> all = database.select(
        Tapanyagok::name, {}, {}, ReferenceDatabase::DeletedRows::Included, &error);
    if (!all)
        return databaseError(error);
    qint64 largest = 0;
    for (const QVariantMap &material : *all) {
        largest = std::max(largest, material.value(Tapanyagok::Anyagid).toLongLong());
        // step 5 lists the materials by name: two of one name could not be told apart
        const bool listed = !material.value(Tapanyagok::Deleted).toBool();
        if (listed
            && material.value(Tapanyagok::Megnev)
                    .toString()
                    .trimmed()
                    .compare(megnev, Qt::CaseInsensitive)
                == 0) {
            return Refusal {QStringLiteral("Már van „%1” nevű anyag! Kérem más nevet adjon meg!")
                                .arg(material.value(Tapanyagok::Megnev).toString()),
                MessageKind::Error, true};
        }
    }

    QVariantMap row = {{Tapanyagok::Anyagid, largest + 1}, {Tapanyagok::Megnev, megnev},
        {Tapanyagok::Mert, isLiquid ? QStringLiteral("l") : QStringLiteral("kg")},
        {Tapanyagok::Egyeb, QString()}, {Tapanyagok::Ertek, 0.0}, {Tapanyagok::Deleted, false}};
    for (const QLatin1String &field : contentFields())
        row.insert(field, 0.0);
    if (!database.insert(Tapanyagok::name, row, &error))
        return databaseError(error);
    return largest + 1;
}

Outcome<void> storeContents(ReferenceDatabase &database, qint64 anyagid,
    const QStringList &contents, const QString &otherName)
{
    const QList<QLatin1String> &fields = contentFields();
    QVariantMap values = {{Tapanyagok::Egyeb, otherName}};
    for (int i = 0; i < fields.size(); ++i) {
        const QString text = contents.value(i).trimmed();
        const std::optional<double> value
            = text.isEmpty() ? std::optional<double>(0) : Text::parseDecimal(text);
        if (!value) {
            return Refusal {QStringLiteral("A(z) %1 tartalma nem szám: „%2”. Kérem javítsa!")
                                .arg(contentCaptions().at(i), contents.value(i)),
                MessageKind::Error, true};
        }
        values.insert(fields.at(i), *value);
    }
    QString error;
    const int changed = database.update(Tapanyagok::name, ofMaterial(anyagid), values, &error);
    if (changed < 0)
        return databaseError(error);
    if (changed == 0)
        return databaseError(QStringLiteral("Az anyag már nincs a táblában."));
    return {};
}

Outcome<void> deleteMaterial(ReferenceDatabase &database, qint64 anyagid)
{
    QString error;
    if (database.markDeleted(Tapanyagok::name, ofMaterial(anyagid), &error) < 0)
        return databaseError(error);
    return {};
}

} // namespace Materials
