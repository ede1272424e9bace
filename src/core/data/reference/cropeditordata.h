#pragma once

#include "core/plan/outcome.h"

#include <QList>
#include <QString>

#include <optional>

class ReferenceDatabase;

// What the crop species editor reads and writes in Nov: the list of crops, a new crop, a
// new name, and a crop deleted with every need and split row that hangs on it. Each call
// either does all it says or nothing; a refusal carries the message the editor shows.
namespace CropEditorData {

struct Crop
{
    QString novid;
    QString name;

    bool operator==(const Crop &) const = default;
};

// The crops in name order: Hungarian letters, without case ("Árpa" before "Borsó", "Őszi
// búza" before "Zab"). No value on error, with *error set.
std::optional<QList<Crop>> loadCrops(const ReferenceDatabase &reference, QString *error);

// "Rögzítés": a crop named `name` exactly as typed, under a fresh id (one more than the
// largest numeric id in use). Refuses a name some crop has already (the case counts) and an
// empty name. Gives the new crop's id.
Outcome<QString> addCrop(ReferenceDatabase &reference, const QString &name);

// "Módosítás": a crop keeps its id under a new name; an empty name is refused.
Outcome<void> renameCrop(ReferenceDatabase &reference, const QString &novid, const QString &name);

// "Törlés": the crop with its specific-need and split rows, in one transaction.
Outcome<void> deleteCrop(ReferenceDatabase &reference, const QString &novid);

} // namespace CropEditorData
