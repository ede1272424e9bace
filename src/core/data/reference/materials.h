#pragma once

#include "core/plan/outcome.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class ReferenceDatabase;

// The fertiliser and yield-enhancing materials (Tapanyagok) as the materials editor keeps
// them: the listed materials, a new material with its own id, the contents typed into the
// editor's boxes, and the soft delete. Materials are never removed from the table.
namespace Materials {

// The twelve content fields in the order of the editor's boxes: N, P, K, Mg, S, Mn, Zn, Cu,
// Fe, Mo, B and Egyebmeny, the further ingredient's content.
const QList<QLatin1String> &contentFields();
// The captions of those boxes without their colon ("Nitrogén" … "Egyéb").
const QStringList &contentCaptions();

// The materials not marked deleted, in table order. No value on error.
std::optional<QList<QVariantMap>> listedMaterials(
    const ReferenceDatabase &database, QString *error = nullptr);

// Creates a material of the name, solid ("kg") or liquid ("l"), with the next free id (the
// largest Anyagid + 1, deleted materials counted), every content 0 and not deleted. An
// empty name and a name a listed material already has (without regard to case and blanks
// around) are refused, with nothing written. The new Anyagid.
Outcome<qint64> addMaterial(ReferenceDatabase &database, const QString &name, bool isLiquid);

// Stores the boxes' texts into the material: `contents` in the order of contentFields(),
// each a decimal number (an empty box counts as 0), and the further ingredient's name. A
// box that is not a number is refused, naming it, with nothing written.
Outcome<void> storeContents(ReferenceDatabase &database, qint64 anyagid,
    const QStringList &contents, const QString &otherName);

// Marks the material deleted; it stays in the table and leaves every list.
Outcome<void> deleteMaterial(ReferenceDatabase &database, qint64 anyagid);

} // namespace Materials
