#pragma once

#include <QString>

class ReferenceDatabase;
class TextGrid;

// What a plan being opened looks up in the reference tables: its crop in the crop list and
// the leaf samples its links name.
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

} // namespace PlanLookups
