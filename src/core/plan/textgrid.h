#pragma once

#include <QList>
#include <QString>

// A grid of texts addressed (row, column), as the plan's grids hold their cells. Reading a
// cell outside the grid gives the empty text; writing one outside the grid does nothing,
// so a grid never grows behind its owner's back.
class TextGrid
{
public:
    TextGrid() = default;
    TextGrid(int rowCount, int columnCount);

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }

    // Keeps the cells inside the new size; new cells are empty.
    void resize(int rowCount, int columnCount);
    void setRowCount(int rowCount) { resize(rowCount, m_columnCount); }
    void setColumnCount(int columnCount) { resize(m_rowCount, columnCount); }

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);

    // Empties the cells of rows [firstRow, lastRow] and columns [firstColumn, lastColumn]
    // that lie inside the grid.
    void clear(int firstRow, int lastRow, int firstColumn, int lastColumn);
    void clearAll();

    // One row's cells, column 0 first.
    QList<QString> row(int row) const;

    bool operator==(const TextGrid &other) const = default;

private:
    bool contains(int row, int column) const
    {
        return row >= 0 && row < m_rowCount && column >= 0 && column < m_columnCount;
    }

    int m_rowCount = 0;
    int m_columnCount = 0;
    QList<QString> m_cells; // row-major
};
