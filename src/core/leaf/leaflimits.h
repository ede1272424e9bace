#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <optional>
#include <tuple>

class ReferenceDatabase;

// One class of a leaf-content scale: its upper limit in m/m %, its grade (0 optimal, negative
// below, positive above) and its wording.
struct LeafLimit
{
    double limit = 0;
    int grade = 0;
    QString wording;
};

// The class limits of the threshold table (Hatar) by species, season (1 = sampled at
// harvest, 0 otherwise) and element symbol, each scale in ascending limit order.
class LeafLimits
{
public:
    void add(int speciesId, int season, const QString &element, const LeafLimit &limit);
    // The classes of one scale, ascending; empty when the table has none.
    QList<LeafLimit> scale(int speciesId, int season, const QString &element) const;

    // Every row of Hatar; no value on a read error (then *error is set).
    static std::optional<LeafLimits> read(
        const ReferenceDatabase &reference, QString *error = nullptr);

private:
    QMap<std::tuple<int, int, QString>, QList<LeafLimit>> m_scales;
};
