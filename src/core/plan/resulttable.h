#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A line shown under a list: a remark, or a warning the adviser has to act on.
struct ListNote
{
    QString text;
    bool isWarning = false;
    bool operator==(const ListNote &) const = default;
};

// A computed list as the result box "Kimutatás" shows it and the reports read it: the box
// title, the hidden report title, the column headings (heading 0 over the sample labels,
// usually empty) and one row per soil column, each starting with its label.
struct ResultTable
{
    QString boxTitle;
    QString reportTitle;
    QStringList headings;
    QList<QStringList> rows;
    // Widths in pixels the list asks for, by column; columns not named size to their text.
    QList<int> columnWidths;
    // Lines under the list in the result box; the printed lists leave them out.
    QList<ListNote> notes;

    // The text shown where no value exists.
    static QString noValue() { return QStringLiteral("---"); }

    int rowCount() const { return int(rows.size()); }
    int columnCount() const { return int(headings.size()); }
    QString cell(int row, int column) const
    {
        return row >= 0 && row < rows.size() && column >= 0 && column < rows[row].size()
                   ? rows[row][column] : QString();
    }
    bool operator==(const ResultTable &) const = default;
};
