#pragma once

#include "core/reports/layoutfixed.h"
#include "core/reports/paragraphlayouts.h"
#include "core/reports/reportmarkup.h"
#include "core/reports/reportstyles.h"

#include <QList>
#include <QTextFormat>

#include <algorithm>
#include <optional>

class PageCanvas;

// Where the flow of a report's body has got to on its pages.
struct FlowPosition
{
    LayoutFixed y;
    LayoutFixed pageBottom;
    // the paragraph just above, whose bottom margin meets the next paragraph's top margin
    std::optional<QTextBlockFormat> previousBlock;

    void newPage(LayoutFixed pageHeight)
    {
        pageBottom += pageHeight;
        y = std::max(y, pageBottom - pageHeight);
    }
};

// Lays a table out on the pages as the text document does, and paints it: the column widths
// shared out by the cells' widths and widest lines, rows moved to the next page when none of
// their cells starts above its foot (the header rows repeated there), the whole table moved
// when its first row would not fit, borders and backgrounds closed at each page break.
class TableFlow
{
public:
    TableFlow(ReportStyles &styles, ParagraphLayouts &paragraphs, PageCanvas &canvas, qreal scale);

    // Lays `table` out where `flow` stands and paints it. False, with nothing painted, when
    // the table is left to the text document. `firstLinePage`: the printed page of its first
    // cell's first line.
    bool layOut(const ReportMarkup::Table &table, FlowPosition &flow, int &firstLinePage);

private:
    struct Cell
    {
        ReportMarkup::Cell markup;
        ReportStyles::Look look;
        Paragraph text;
        LayoutFixed top, bottom, left, right; // padding
    };
    // The table's frame, in layout units.
    struct Frame
    {
        LayoutFixed topMargin, bottomMargin, leftMargin, rightMargin, border, padding;
        LayoutFixed contentsWidth, cellSpacing;
        LayoutFixed effectiveTopMargin, effectiveBottomMargin; // margin, border and padding
        LayoutFixed left, top; // where the cells' area starts
    };

    void readCells(const ReportMarkup::Table &table);
    void readFrame();
    bool readColumnConstraints();
    void shareWidths();
    void layOutRows(LayoutFixed tableY);
    bool rowSpanEnds(int row) const;
    LayoutFixed cellWidth(int column, int span) const
    {
        return m_columnPositions[column + span - 1] + m_widths[column + span - 1]
            - m_columnPositions[column];
    }
    // Paints the cell `index` with the table's rows shifted by `yOffset`; where its first
    // line prints.
    LayoutFixed paintCell(int index, LayoutFixed yOffset, LayoutFixed tableX);
    LayoutFixed paint(
        LayoutFixed tableY, LayoutFixed tableX, LayoutFixed tableHeight, LayoutFixed tableWidth);
    QBrush borderBrush() const;

    ReportStyles &m_styles;
    ParagraphLayouts &m_paragraphs;
    PageCanvas &m_canvas;
    qreal m_scale;

    // the table being laid out
    QTextTableFormat m_format;
    int m_rows = 0;
    int m_columns = 0;
    int m_headerRows = 0;
    QList<Cell> m_cells;
    QList<int> m_at; // the cell at each place of the grid, row by row
    Frame m_frame;
    QList<QTextLength> m_constraints;
    QList<LayoutFixed> m_widths;
    QList<LayoutFixed> m_columnPositions;
    QList<LayoutFixed> m_rowPositions;
    QList<LayoutFixed> m_heights;
    QList<ParagraphLines> m_cellLines; // each cell's lines as laid out in its row
    QList<QList<LayoutFixed>> m_lineTops; // and their tops, from the top of its content
    QList<LayoutFixed> m_cellHeights; // each cell's content
    LayoutFixed m_headerHeight;
};
