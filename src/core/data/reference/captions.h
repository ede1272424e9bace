#pragma once

#include <QString>

class ReferenceDatabase;

// The captions of the lot and the parcel number, which the user may rename in step 2 and
// the reports print. Empty texts stand for the built-in captions.
struct FieldCaptions
{
    QString lot;
    QString parcel;
};

// The captions live in the one row of Modtext.
namespace Captions {

// The captions saved; empty texts when the table holds no row or cannot be read.
FieldCaptions readCaptions(const ReferenceDatabase &reference);
// Saves both captions: the first save of an empty table adds its row, later ones change that
// row. False when nothing was saved, with the reason in *error when the database gave one.
bool saveCaptions(ReferenceDatabase &reference, const FieldCaptions &captions,
                  QString *error = nullptr);

} // namespace Captions
