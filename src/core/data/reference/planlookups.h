#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class ReferenceDatabase;
class TextGrid;

// What a plan being opened looks up in the reference tables: its crop in the crop list and
// the leaf samples its links name; what the nitrate action programme allows its crop.
namespace PlanLookups {

// Whether the crop list (Nov) holds the crop `novid`.
bool isKnownCrop(const ReferenceDatabase &reference, const QString &novid);

// The crop the crop list shows first (its own order); the empty crop ("000000") when the
// list is empty.
QString firstCropId(const ReferenceDatabase &reference);

// The soil–leaf links with each leaf sample's data read again from the register (Mintak) by
// the Id in column 4. Each link keeps its soil sample's mark (column 0); a link whose leaf
// sample is gone keeps only the mark, a row without an Id is left as it is.
TextGrid fillLeafLinks(const ReferenceDatabase &reference, TextGrid links);

// The largest yearly N dose in kg/ha allowed on nitrate-sensitive land for the crop, the
// site category `sztid` (1–6) and the N supply level (1–7) from NitrateLimits; none when the
// table has no row for them, which means that no limit is known, not that there is none.
std::optional<double> nitrateLimit(const ReferenceDatabase &reference, const QString &novid,
                                   int sztid, int level);

// The crops whose top-dressing is allowed from 1 February inside the closed period: the
// autumn cereals of the built-in list, by their names as the crop list (Nov) spells them.
const QStringList &autumnCerealNames();
// Whether the crop `novid` is named in that list (letter case and surrounding blanks aside).
bool isAutumnCereal(const ReferenceDatabase &reference, const QString &novid);

} // namespace PlanLookups
