#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

class ReferenceDatabase;

// The editing of NitrateLimits, the largest yearly N dose on nitrate-sensitive land by crop,
// site category and N supply level. One row per crop, site category and level; a new row
// never repeats one that is there.
namespace NitrateLimitTable {

// The rows of one crop by site category and level.
QList<QVariantMap> cropRows(const ReferenceDatabase &reference, const QString &novid);

// Adds a limit (kg/ha, not below 0) for the crop, the site category (1–6) and the level
// (1–7). Refused, changing nothing, when the crop has a row for them already.
bool addLimit(ReferenceDatabase &reference, const QString &novid, int sztid, int level, double maxN,
    QString *error = nullptr);
bool setLimit(ReferenceDatabase &reference, const QString &novid, int sztid, int level, double maxN,
    QString *error = nullptr);
bool removeLimit(ReferenceDatabase &reference, const QString &novid, int sztid, int level,
    QString *error = nullptr);

// Every row of the table replaced by the built-in defaults, all or nothing.
bool restoreDefaults(ReferenceDatabase &reference, QString *error = nullptr);

} // namespace NitrateLimitTable
