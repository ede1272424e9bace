#pragma once

#include "core/reports/reportfeed.h"

#include <QList>
#include <QStringList>

// Walks a feed as the report engine does and keeps what it delivered.
struct DrainedFeed
{
    int announced = 0;
    QList<FeedColumn> columns;
    QList<QStringList> rows;

    // The values of the column named `name`, one per row.
    QStringList column(const QString &name) const
    {
        int index = -1;
        for (int c = 0; c < columns.size(); ++c) {
            if (columns[c].name == name)
                index = c;
        }
        QStringList values;
        for (const QStringList &row : rows)
            values.append(row.value(index));
        return values;
    }
};

inline DrainedFeed drain(ReportFeed &feed)
{
    DrainedFeed result;
    result.announced = feed.open();
    result.columns = feed.columns();
    for (feed.first(); !feed.eof(); feed.next()) {
        result.rows.append(feed.row());
        if (result.rows.size() > 100000)
            break; // a feed that never ends
    }
    return result;
}
