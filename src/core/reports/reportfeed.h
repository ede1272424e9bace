#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One column a feed declares: every column is of the string type and every value is
// delivered as text.
struct FeedColumn
{
    QString name;
    int width = 30;
    QString fullName;
    QString description;
};

// A named data feed of a report: the engine opens it, asks for its columns, then walks its
// rows from First through Next until EOF, asking for each row's values in column order.
class ReportFeed
{
public:
    explicit ReportFeed(const QString &name) : m_name(name) {}
    virtual ~ReportFeed() = default;
    ReportFeed(const ReportFeed &) = delete;
    ReportFeed &operator=(const ReportFeed &) = delete;

    QString name() const { return m_name; }

    // Open: resets the feed and announces how many rows it delivers.
    virtual int open() = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // GetCols
    virtual QList<FeedColumn> columns() const = 0;
    // GetRow: the values of the current row, one per column.
    virtual QStringList row() = 0;

private:
    QString m_name;
};

// A feed over numbered rows: the row number starts at `firstRow` and advances by `step`;
// EOF once it passes `lastRow`. The values of a row come from `rowValues(rowNumber)`.
class CountedFeed final : public ReportFeed
{
public:
    using RowValues = std::function<QStringList(int rowNumber)>;

    CountedFeed(const QString &name, QList<FeedColumn> columns, int firstRow, int lastRow,
                RowValues rowValues, int step = 1);

    int open() override;
    void first() override { m_current = m_firstRow; }
    void next() override { m_current += m_step; }
    bool eof() const override { return m_current > m_lastRow; }
    QList<FeedColumn> columns() const override { return m_columns; }
    QStringList row() override { return m_rowValues(m_current); }

    int currentRow() const { return m_current; }

private:
    QList<FeedColumn> m_columns;
    int m_firstRow;
    int m_lastRow;
    int m_step;
    int m_current;
    RowValues m_rowValues;
};

// A feed of exactly one row whose end is told by a flag it shares with the other one-row
// feeds of the run: Open clears it, GetRow sets it after writing, EOF answers it.
class SingleRowFeed final : public ReportFeed
{
public:
    SingleRowFeed(const QString &name, QList<FeedColumn> columns, QStringList values,
                  bool &rowDone);

    int open() override;
    void first() override {}
    void next() override {}
    bool eof() const override { return m_rowDone; }
    QList<FeedColumn> columns() const override { return m_columns; }
    QStringList row() override;

private:
    QList<FeedColumn> m_columns;
    QStringList m_values;
    bool &m_rowDone;
};

// The columns "f1" … "fN" of the plain table feeds: f1 is 50 wide, the others 30; full
// names "F1" …, descriptions "Description 1" ….
QList<FeedColumn> numberedColumns(int count);
