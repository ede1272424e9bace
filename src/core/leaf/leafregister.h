#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class ReferenceDatabase;

// One leaf-sample result of the register (Mintak) with its species' name.
struct LeafSample
{
    qint64 id = 0;
    QString name; // Nev
    QString laboratory; // Labor
    QString sampleMark; // Mintaazon
    QDate date; // Datum
    QString block; // Blokk
    QString fieldSerial; // Tablassz
    QString farmingYear; // Gazdev
    std::optional<double> area; // Ter, ha
    int speciesId = 0; // Fajid
    QString species; // Faj of Fajok
    bool atHarvest = false; // Szuretkor; an empty value counts as not at harvest
    // N, P, K, Ca, Mg in m/m %, in this order
    std::optional<double> contents[5];
};

// A fruit species of Fajok with its best sampling period.
struct LeafSpecies
{
    int id = 0;
    QString name;
    QString optimalPeriod;
};

// The entry panel's values as typed: numbers as text, checked by validateEntry().
struct LeafEntry
{
    QString name, laboratory, sampleMark, block, fieldSerial, farmingYear, area;
    QDate date;
    std::optional<int> speciesId;
    bool atHarvest = false;
    QString contents[5]; // N, P, K, Ca, Mg
};

// The leaf-sample register over the reference database: results are never removed, only
// marked Deleted, and every list leaves the marked ones out.
namespace LeafRegister {

// The element symbols of the five contents, in order.
const QStringList &elementSymbols();

// The undeleted results that have a known species, by farming year, then date (then Id).
std::optional<QList<LeafSample>> list(const ReferenceDatabase &reference, QString *error = nullptr);
// The same by Id; empty when the register cannot be read.
QHash<qint64, LeafSample> byId(const ReferenceDatabase &reference);

// The species of Fajok in key order.
QList<LeafSpecies> species(const ReferenceDatabase &reference);

// The refusal text for an entry that cannot be stored: no species, or an area or content
// that is not a decimal number (blank ones are allowed). Empty when it can be stored.
QString validateEntry(const LeafEntry &entry);

// Stores an entry as a new result (no id) or over the result `id`, with Deleted false. The
// entry is checked first: a refused one writes nothing and sets *error to the refusal.
bool save(ReferenceDatabase &reference, const LeafEntry &entry, std::optional<qint64> id,
    QString *error = nullptr);

// The entry panel's values of a stored result, numbers in the general format.
LeafEntry entryOf(const LeafSample &sample);

// Marks the result `id` deleted; it stays in the table.
bool remove(ReferenceDatabase &reference, qint64 id, QString *error = nullptr);

} // namespace LeafRegister
