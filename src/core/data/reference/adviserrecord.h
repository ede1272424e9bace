#pragma once

#include <QString>

class ReferenceDatabase;

// The adviser who prepares the plans: one setting of the installation, kept in the first row
// of Tanacsado. The cover sheet prints every field; the plan reports name the adviser in
// their header only when Megjel is set.
struct AdviserRecord
{
    QString Nev;
    QString Irany; // post code, at most 4 characters
    QString Telep;
    QString Cim;
    QString Tel;
    QString Fax;
    QString Email;
    QString Regsz; // registration identifier
    QString Szerv; // umbrella organisation
    bool Megjel = false; // named in the plan reports

    bool operator==(const AdviserRecord &) const = default;

    // The first row of Tanacsado; an empty record when the table holds none, and also on a
    // read error, which then sets *error (left alone otherwise).
    static AdviserRecord readAdviser(const ReferenceDatabase &reference, QString *error = nullptr);

    // Stores the record as the table's first row: a new row when the table is empty,
    // otherwise the first row changes and any further rows stay as they are. On failure
    // nothing changes and *error says why.
    static bool storeAdviser(
        ReferenceDatabase &reference, const AdviserRecord &record, QString *error = nullptr);

    // The line of the plan report headers: "Tervet készítette: " with the name, the
    // identifier and the phone number where given; empty when Megjel is not set.
    QString adviserLine() const;
};
