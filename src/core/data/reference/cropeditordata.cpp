#include "core/data/reference/cropeditordata.h"

#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"

namespace CropEditorData {

namespace {

namespace Nov = Tables::Nov;

// A fault of the database: its own words, in the memo, as the other table errors show.
Refusal databaseFault(const QString &error)
{
    return Refusal {error, MessageKind::Error, false};
}

} // namespace

std::optional<QList<Crop>> loadCrops(const ReferenceDatabase &reference, QString *error)
{
    // Nov reads in its name order by default
    const auto rows = reference.select(Nov::name, {}, {}, ReferenceDatabase::DeletedRows::Hidden,
                                       error);
    if (!rows)
        return std::nullopt;
    QList<Crop> crops;
    for (const QVariantMap &row : *rows)
        crops.append({row.value(Nov::Novid).toString(), row.value(Nov::Nev).toString()});
    return crops;
}

Outcome<QString> addCrop(ReferenceDatabase &reference, const QString &name)
{
    QString error;
    const int same = reference.count(Nov::name, Filter::equals(Nov::Nev, name),
                                     ReferenceDatabase::DeletedRows::Hidden, &error);
    if (same < 0)
        return databaseFault(error);
    if (same > 0)
        return Refusal {QStringLiteral("A növény már rögzítve van az adatbázisban!"),
                        MessageKind::Warning, true};
    if (name.isEmpty())
        return Refusal {QStringLiteral("Nincs megnevezés megadva!"), MessageKind::Error, true};
    const QString novid = reference.nextCropId(&error);
    if (novid.isEmpty())
        return databaseFault(error);
    if (!reference.insert(Nov::name, {{Nov::Novid, novid}, {Nov::Nev, name}}, &error))
        return databaseFault(error);
    return novid;
}

Outcome<void> renameCrop(ReferenceDatabase &reference, const QString &novid, const QString &name)
{
    if (name.isEmpty())
        return Refusal {QStringLiteral("Üres mezőre nem lehet módosítani egy növény "
                                       "megnevezését! Kérem töltse ki a megnevezés mezőt!"),
                        MessageKind::Information, false};
    QString error;
    const int changed
        = reference.update(Nov::name, Filter::equals(Nov::Novid, novid), {{Nov::Nev, name}}, &error);
    if (changed < 0)
        return databaseFault(error);
    if (changed == 0)
        return databaseFault(QStringLiteral("A(z) %1 azonosítójú növény nem található.").arg(novid));
    return {};
}

Outcome<void> deleteCrop(ReferenceDatabase &reference, const QString &novid)
{
    QString error;
    if (!reference.deleteCrop(novid, &error))
        return databaseFault(error);
    return {};
}

} // namespace CropEditorData
