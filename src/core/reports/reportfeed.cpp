#include "core/reports/reportfeed.h"

CountedFeed::CountedFeed(const QString &name, QList<FeedColumn> columns, int firstRow,
                         int lastRow, RowValues rowValues, int step)
    : ReportFeed(name)
    , m_columns(std::move(columns))
    , m_firstRow(firstRow)
    , m_lastRow(lastRow)
    , m_step(step)
    , m_current(firstRow)
    , m_rowValues(std::move(rowValues))
{
}

int CountedFeed::open()
{
    m_current = m_firstRow;
    if (m_lastRow < m_firstRow)
        return 0;
    return (m_lastRow - m_firstRow) / m_step + 1;
}

SingleRowFeed::SingleRowFeed(const QString &name, QList<FeedColumn> columns,
                             QStringList values, bool &rowDone)
    : ReportFeed(name)
    , m_columns(std::move(columns))
    , m_values(std::move(values))
    , m_rowDone(rowDone)
{
}

int SingleRowFeed::open()
{
    m_rowDone = false;
    return 1;
}

QStringList SingleRowFeed::row()
{
    const QStringList values = m_values;
    m_rowDone = true;
    return values;
}

QList<FeedColumn> numberedColumns(int count)
{
    QList<FeedColumn> columns;
    for (int i = 1; i <= count; ++i) {
        columns.append({QStringLiteral("f%1").arg(i), i == 1 ? 50 : 30,
                        QStringLiteral("F%1").arg(i), QStringLiteral("Description %1").arg(i)});
    }
    return columns;
}
