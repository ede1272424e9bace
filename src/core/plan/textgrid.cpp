#include "core/plan/textgrid.h"

#include <algorithm>

TextGrid::TextGrid(int rowCount, int columnCount)
{
    resize(rowCount, columnCount);
}

void TextGrid::resize(int rowCount, int columnCount)
{
    rowCount = std::max(rowCount, 0);
    columnCount = std::max(columnCount, 0);
    if (rowCount == m_rowCount && columnCount == m_columnCount)
        return;
    if (columnCount == m_columnCount) {
        m_cells.resize(qsizetype(rowCount) * columnCount);
        m_rowCount = rowCount;
        return;
    }
    QList<QString> cells(qsizetype(rowCount) * columnCount);
    const int keptRows = std::min(rowCount, m_rowCount);
    const int keptColumns = std::min(columnCount, m_columnCount);
    for (int r = 0; r < keptRows; ++r) {
        for (int c = 0; c < keptColumns; ++c)
            cells[qsizetype(r) * columnCount + c] = m_cells[qsizetype(r) * m_columnCount + c];
    }
    m_cells = std::move(cells);
    m_rowCount = rowCount;
    m_columnCount = columnCount;
}

QString TextGrid::cell(int row, int column) const
{
    return contains(row, column) ? m_cells[qsizetype(row) * m_columnCount + column] : QString();
}

void TextGrid::setCell(int row, int column, const QString &text)
{
    if (contains(row, column))
        m_cells[qsizetype(row) * m_columnCount + column] = text;
}

void TextGrid::clear(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    firstRow = std::max(firstRow, 0);
    firstColumn = std::max(firstColumn, 0);
    lastRow = std::min(lastRow, m_rowCount - 1);
    lastColumn = std::min(lastColumn, m_columnCount - 1);
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c)
            m_cells[qsizetype(r) * m_columnCount + c].clear();
    }
}

void TextGrid::clearAll()
{
    for (QString &text : m_cells)
        text.clear();
}

QList<QString> TextGrid::row(int row) const
{
    QList<QString> cells;
    if (row < 0 || row >= m_rowCount)
        return cells;
    cells.reserve(m_columnCount);
    for (int c = 0; c < m_columnCount; ++c)
        cells.append(m_cells[qsizetype(row) * m_columnCount + c]);
    return cells;
}
