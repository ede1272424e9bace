#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

class ReferenceDatabase;

// The specific need of one crop and one element as the need editor shows it: one row per
// site category with the six values of the supply levels "Igen gyenge" … "Sok" as text
// (kg per tonne of yield, decimal comma). The seventh level ("Igen jó", field I) has no
// column in the editor; a rewrite keeps each site category's stored value of it.
namespace NeedTable {

constexpr int levelCount = 6; // the editor's columns: Igy, Gy, K, M, J, S

struct Row
{
    int siteCategory = 0; // 1..6
    std::array<QString, levelCount> cells;

    bool operator==(const Row &) const = default;
};

// The stored rows of one crop and element ("N", "P" or "K") in site-category order; an
// empty field gives an empty cell. No value on error, with *error set.
std::optional<QList<Row>> loadRows(const ReferenceDatabase &reference, const QString &novid,
                                   const QString &anyid, QString *error);

// The first cell that is neither empty nor a non-negative decimal number, as the message
// the editor shows; empty when every cell is good.
QString checkRows(const QList<Row> &rows);

// "Rögzítés": replaces the stored rows of the crop and element with `rows`, all or nothing.
// Every cell is checked first; on a bad cell or a database fault nothing is written and
// *error says why. The level-7 value of each site category that stays is carried over.
bool storeRows(ReferenceDatabase &reference, const QString &novid, const QString &anyid,
               const QList<Row> &rows, QString *error);

} // namespace NeedTable
