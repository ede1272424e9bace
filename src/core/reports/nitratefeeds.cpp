#include "core/reports/nitratefeeds.h"

#include "core/plan/nitratecheck.h"
#include "core/plan/resulttable.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

namespace NitrateFeeds {

namespace {

QList<FeedColumn> columnsNamed(const QStringList &names)
{
    QList<FeedColumn> columns;
    for (const QString &name : names)
        columns.append({name, 30, name, QStringLiteral("Description %1").arg(columns.size() + 1)});
    return columns;
}

} // namespace

std::unique_ptr<ReportFeed> limitFeed(const NitrateCheck &check)
{
    return std::make_unique<CountedFeed>(QStringLiteral("Nitrat"),
        columnsNamed({QStringLiteral("minta"), QStringLiteral("szint"), QStringLiteral("korlat"),
            QStringLiteral("korrigalt"), QStringLiteral("utemezett"),
            QStringLiteral("megjegyzes")}),
        0, int(check.columns.size()) - 1, [&check](int row) {
            const NitrateColumn &column = check.columns[row];
            const QString level = Elements::supplyLevelName(column.nitrogenLevel);
            return QStringList {
                column.sampleLabel,
                level.isEmpty() ? ResultTable::noValue() : level,
                column.limit ? Text::formatGeneral(*column.limit) : NitrateCheck::noLimitText(),
                column.correctedDose ? Text::formatGeneral(*column.correctedDose)
                                     : ResultTable::noValue(),
                Text::formatGeneral(column.scheduledNitrogen),
                NitrateCheck::remark(column),
            };
        });
}

std::unique_ptr<ReportFeed> closedPeriodFeed(const NitrateCheck &check)
{
    return std::make_unique<CountedFeed>(QStringLiteral("NitratTilalom"),
        columnsNamed({QStringLiteral("sorsz"), QStringLiteral("datum"), QStringLiteral("megnev"),
            QStringLiteral("menny"), QStringLiteral("nitrogen")}),
        0, int(check.closedPeriod.size()) - 1, [&check](int row) {
            const ClosedPeriodApplication &application = check.closedPeriod[row];
            return QStringList {QString::number(application.row),
                Text::formatShortDate(application.date), application.material,
                Text::formatGeneral(application.amount), Text::formatGeneral(application.nitrogen)};
        });
}

} // namespace NitrateFeeds
