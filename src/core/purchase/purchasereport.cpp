#include "core/purchase/purchasereport.h"

#include "core/purchase/purchaselist.h"
#include "core/reports/reportfeed.h"

#include <QVariantMap>

namespace PurchaseReport {

std::unique_ptr<ReportFeed> materialFeed(const PurchaseList &list)
{
    const QList<FeedColumn> columns {
        {QStringLiteral("any"), 30, QStringLiteral("név"), QStringLiteral("Description 1")},
        {QStringLiteral("menny"), 30, QStringLiteral("menny"), QStringLiteral("Description 2")},
    };
    const QList<QStringList> rows = list.rows();
    // Exactly the materials: no heading row and no empty row after them.
    return std::make_unique<CountedFeed>(QStringLiteral("RvOsszConnection4"), columns, 0,
        int(rows.size()) - 1, [rows](int row) { return rows.at(row); });
}

std::unique_ptr<ReportFeed> planFeed(const PurchaseList &list)
{
    const QList<FeedColumn> columns {
        {QStringLiteral("file"), 100, QStringLiteral("név"), QStringLiteral("Description 1")},
    };
    const QStringList plans = list.readPlans();
    return std::make_unique<CountedFeed>(QStringLiteral("RvTervek"), columns, 0,
        int(plans.size()) - 1, [plans](int row) { return QStringList {plans.at(row)}; });
}

std::optional<RenderedReport> render(
    const PurchaseList &list, const QString &startDirectory, QString *error)
{
    const std::unique_ptr<ReportFeed> materials = materialFeed(list);
    const std::unique_ptr<ReportFeed> plans = planFeed(list);
    const QVariantMap values {
        {QStringLiteral("failedPlans"), list.failedPlans().join(QStringLiteral(", "))},
        {QStringLiteral("hasFailedPlans"), !list.failedPlans().isEmpty()},
    };
    return ReportEngine(startDirectory)
        .render(project(), {materials.get(), plans.get()}, values, error);
}

} // namespace PurchaseReport
