#pragma once

#include <QString>
#include <QStringList>

#include <array>

// What a print run prepares before the feeds are asked for their rows.
struct PrintState
{
    // The elements a printed table may carry, in the order of the report columns.
    enum MappedElement { N, P, K, Mg, Mn, Zn, Cu, Fe, mappedElementCount };

    QString reportTitle;
    int printRowCount = 0;
    int printColCount = 0;
    // The column of the printed table whose heading names each element; -1 for none.
    std::array<int, mappedElementCount> elementColumnMap{-1, -1, -1, -1, -1, -1, -1, -1};
    // The end of data of the one-row feeds.
    bool headerRowDone = false;
    bool withLeafAnalysis = false;

    // The column mapped for `element`, looked up in a row of the printed table; the empty
    // text when the element has no column.
    QString mappedValue(const QStringList &row, int element) const
    {
        const int column = elementColumnMap[element];
        return column >= 0 && column < row.size() ? row[column] : QString();
    }
};

// The headings the element columns are found by: "Nitrogén", "Foszfor", … "Vas".
const std::array<QString, PrintState::mappedElementCount> &mappedElementNames();

// For each element, the first of the columns 0 … columnCount − 1 of `headings` whose text is
// the element's name; -1 when none is.
std::array<int, PrintState::mappedElementCount> elementColumnMap(const QStringList &headings,
                                                                 int columnCount);
