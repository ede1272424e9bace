#pragma once

#include "core/plan/outcome.h"
#include "core/plan/textgrid.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ReferenceDatabase;
struct LeafSample;
struct PlanItems;

// The plan's soil–leaf links (leafLinks): row 0 is kept for the headings, each link row
// pairs a soil column's mark with a leaf sample of the register, and the last row is always
// empty. The same soil mark may be linked again; its last link counts.
namespace LeafLinks {

enum Column { SoilMark, LeafMark, FieldSerial, FarmingYear, LeafId, columnCount };

// "Talajminta jel", "Lev.mitajel", "Tábla s.sz.", "Gazd. év" and the untitled Id column.
const QStringList &headings();

// The number of link rows: every row but the headings and the trailing empty row.
int linkCount(const TextGrid &links);

// The soil list of the link box: for the average column "átlag", then 1, 2, … for the
// samples, each with its mark (row 1 of the soil grid).
QList<QStringList> soilList(const PlanItems &items);

// The links with one more, pairing `soilMark` with `sample`, in front of the empty row.
// Refused when the plan holds as many links as a plan file can.
Outcome<TextGrid> addLink(const TextGrid &links, const QString &soilMark, const LeafSample &sample);

// The links without the link in grid row `row`; none when that row is not a link (the
// headings, the trailing empty row, or past the end).
std::optional<TextGrid> removeLink(const TextGrid &links, int row);

// The grid row of the link that decides `soilMark`: the last link row with that mark whose
// leaf Id is a whole number. None when there is no such row.
std::optional<int> findLink(const TextGrid &links, const QString &soilMark);

// The linked leaf samples as the combined summary lists them, one row per link in link
// order: the leaf mark, then the N, P, K, Mg and Ca contents in the general format. The
// contents are empty for a link whose leaf sample is no longer in the register.
QList<QStringList> leafResults(const ReferenceDatabase &reference, const TextGrid &links);

} // namespace LeafLinks
