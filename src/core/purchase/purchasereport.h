#pragma once

#include "core/reports/reportengine.h"

#include <QString>

#include <memory>
#include <optional>

class PurchaseList;
class ReportFeed;

// The printout of a purchase list: the report project and the two feeds its design reads,
// the materials and the plans read.
namespace PurchaseReport {

inline QString project()
{
    return QStringLiteral("Osszesites");
}
inline QString title()
{
    return QStringLiteral("Vásárlás tervezés");
}

// RvOsszConnection4: one row per material, columns "any" (name) and "menny" (kg).
std::unique_ptr<ReportFeed> materialFeed(const PurchaseList &list);
// RvTervek: one row per plan read, column "file".
std::unique_ptr<ReportFeed> planFeed(const PurchaseList &list);

// Fills the design (a user's own from `startDirectory` first); the files that could not be
// read reach it as the text "failedPlans" under the condition "hasFailedPlans". No value,
// with the reason in `error`, when the design cannot be used.
std::optional<RenderedReport> render(
    const PurchaseList &list, const QString &startDirectory, QString *error = nullptr);

} // namespace PurchaseReport
