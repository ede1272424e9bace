#include "core/reports/tableflow.h"

#include "core/reports/pagecanvas.h"

namespace {

using Fixed = LayoutFixed;
const Fixed fixedMax = LayoutFixed::max();

// Shares a table's room out among its columns as the text document does: the fixed widths
// first, then the percentages of the room, then what is left to the other columns up to
// their widest lines and, when the table has a width of its own, evenly past them; each width
// is then rounded to a whole unit, the error carried on to the next.
QList<Fixed> shareColumns(const QList<QTextLength> &constraints, QList<Fixed> minWidths,
    const QList<Fixed> &maxWidths, const Fixed room, bool fillRoom, qreal scale)
{
    const qsizetype columns = constraints.size();
    QList<Fixed> widths(columns);
    Fixed remaining = room;
    Fixed totalPercentage;
    int variableColumns = 0;
    Fixed totalMinWidth;
    for (int c = 0; c < columns; ++c) {
        const QTextLength &length = constraints.at(c);
        if (length.type() == QTextLength::FixedLength) {
            minWidths[c] = widths[c] = std::max(
                Fixed::fromReal(Fixed::fromReal(length.rawValue()).real() * scale), minWidths[c]);
            remaining -= widths[c];
        } else if (length.type() == QTextLength::PercentageLength) {
            totalPercentage += Fixed::fromReal(length.rawValue());
        } else {
            ++variableColumns;
            widths[c] = minWidths[c];
            remaining -= minWidths[c];
        }
        totalMinWidth += minWidths[c];
    }
    {
        const Fixed totalPercentagedWidth = room * totalPercentage / 100;
        Fixed remainingMinWidths = totalMinWidth;
        for (int c = 0; c < columns; ++c) {
            remainingMinWidths -= minWidths[c];
            if (constraints.at(c).type() != QTextLength::PercentageLength)
                continue;
            const Fixed allotted = Fixed::fromReal(constraints.at(c).rawValue());
            const Fixed percentWidth = totalPercentagedWidth * allotted / totalPercentage;
            const Fixed maxWidth = remaining - remainingMinWidths;
            if (percentWidth >= minWidths[c] && maxWidth > minWidths[c])
                widths[c]
                    = std::clamp(percentWidth, minWidths[c], std::max(minWidths[c], maxWidth));
            else
                widths[c] = minWidths[c];
            remaining -= widths[c];
        }
    }
    if (variableColumns > 0 && remaining > Fixed()) {
        QList<int> proper;
        for (int c = 0; c < columns; ++c)
            if (constraints.at(c).type() == QTextLength::VariableLength && maxWidths[c] != fixedMax)
                proper.append(c);
        Fixed lastRemaining = remaining;
        while (remaining > Fixed()) {
            for (qsizetype k = 0; k < proper.size(); ++k) {
                const int col = proper[k];
                const int left = int(proper.size() - k);
                const Fixed w = std::min(maxWidths[col] - widths[col], remaining / left);
                widths[col] += w;
                remaining -= w;
            }
            if (remaining == lastRemaining)
                break;
            lastRemaining = remaining;
        }
        if (remaining > Fixed() && fillRoom) {
            const Fixed each = remaining / variableColumns;
            for (int c = 0; c < columns; ++c)
                if (constraints.at(c).type() == QTextLength::VariableLength)
                    widths[c] += each;
        }
    }
    Fixed error;
    for (int c = 0; c < columns; ++c) {
        const Fixed original = widths[c];
        widths[c] = (widths[c] - error).round();
        error = widths[c] - original;
    }
    return widths;
}

} // namespace

TableFlow::TableFlow(
    ReportStyles &styles, ParagraphLayouts &paragraphs, PageCanvas &canvas, qreal scale)
    : m_styles(styles)
    , m_paragraphs(paragraphs)
    , m_canvas(canvas)
    , m_scale(scale)
{ }

// The grid: every place's cell, places no cell covers get an empty one; each cell's look,
// text and padding.
void TableFlow::readCells(const ReportMarkup::Table &table)
{
    m_rows = table.rows;
    m_columns = table.columns;
    m_headerRows = std::min(table.headerRows, m_rows - 1);
    QList<ReportMarkup::Cell> cells = table.cells;
    m_at.fill(-1, m_rows * m_columns);
    for (int i = 0; i < cells.size(); ++i) {
        const ReportMarkup::Cell &cell = cells.at(i);
        for (int r = cell.row; r < std::min(m_rows, cell.row + cell.rowSpan); ++r)
            for (int c = cell.column; c < cell.column + cell.columnSpan; ++c)
                m_at[r * m_columns + c] = i;
    }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            if (m_at[r * m_columns + c] >= 0)
                continue;
            ReportMarkup::Cell empty;
            empty.tag = QStringLiteral("<td>");
            empty.row = r;
            empty.column = c;
            m_at[r * m_columns + c] = int(cells.size());
            cells.append(empty);
        }
    }

    const Fixed cellPadding = Fixed::fromReal(m_format.cellPadding() * m_scale);
    const auto padding = [&](const QTextTableCellFormat &cell, QTextFormat::Property property) {
        const QVariant value = cell.property(property);
        return value.isNull() ? cellPadding : Fixed::fromReal(value.toReal() * m_scale);
    };
    m_cells.clear();
    m_cells.reserve(cells.size());
    for (ReportMarkup::Cell &cell : cells) {
        cell.rowSpan = std::min(cell.rowSpan, m_rows - cell.row);
        const bool header = cell.row < table.headerRows;
        const QString open = table.tag + (header ? QStringLiteral("<thead>") : QString())
            + QStringLiteral("<tr>") + cell.tag;
        const QString close = cell.tag.startsWith(QLatin1String("<th"), Qt::CaseInsensitive)
            ? QStringLiteral("</th></tr>")
            : QStringLiteral("</td></tr>");
        const QString tableClose
            = (header ? QStringLiteral("</thead>") : QString()) + QStringLiteral("</table>");
        Cell entry;
        entry.look = m_styles.look(open + QStringLiteral("x") + close + tableClose);
        entry.text = m_paragraphs.paragraph(cell.runs, open, close + tableClose, entry.look);
        entry.top = padding(entry.look.cell, QTextFormat::TableCellTopPadding);
        entry.bottom = padding(entry.look.cell, QTextFormat::TableCellBottomPadding);
        entry.left = padding(entry.look.cell, QTextFormat::TableCellLeftPadding);
        entry.right = padding(entry.look.cell, QTextFormat::TableCellRightPadding);
        entry.markup = std::move(cell);
        m_cells.append(std::move(entry));
    }
}

void TableFlow::readFrame()
{
    const auto scaled = [this](qreal length) { return Fixed::fromReal(length * m_scale).round(); };
    Frame &f = m_frame;
    f.topMargin = scaled(m_format.topMargin());
    f.bottomMargin = scaled(m_format.bottomMargin());
    f.leftMargin = scaled(m_format.leftMargin());
    f.rightMargin = scaled(m_format.rightMargin());
    f.border = scaled(m_format.border());
    f.padding = scaled(m_format.padding());
    Fixed frameWidth = Fixed::fromReal(m_format.width().value(m_canvas.pageWidth().real()));
    if (m_format.width().type() == QTextLength::FixedLength)
        frameWidth = Fixed::fromReal(frameWidth.real() * m_scale);
    f.contentsWidth = frameWidth - (f.border + f.padding) * 2 - f.leftMargin - f.rightMargin;
    // the text document takes the top margin for the bottom one here too
    f.effectiveTopMargin = f.topMargin + f.border + f.padding;
    f.effectiveBottomMargin = f.topMargin + f.border + f.padding;
    f.cellSpacing = scaled(m_format.cellSpacing());
    f.left = f.leftMargin + f.padding + f.border;
    f.top = f.topMargin + f.padding + f.border;
}

// The widths the cells ask for, read as the HTML reader reads them; a width of nothing or
// less leaves the table to the text document.
bool TableFlow::readColumnConstraints()
{
    m_constraints = QList<QTextLength>(m_columns);
    for (const Cell &entry : std::as_const(m_cells)) {
        const ReportMarkup::Cell &cell = entry.markup;
        if (cell.columnSpan != 1 || cell.width.isEmpty()
            || m_constraints[cell.column].type() != QTextLength::VariableLength)
            continue;
        const QString width = cell.width.trimmed();
        bool ok = false;
        if (const qreal value = width.toDouble(&ok); ok) {
            if (value <= 0)
                return false;
            m_constraints[cell.column] = QTextLength(QTextLength::FixedLength, value);
        } else if (width.endsWith(u'%')) {
            const qreal percent = width.chopped(1).toDouble(&ok);
            if (ok && percent <= 0)
                return false;
            if (ok)
                m_constraints[cell.column] = QTextLength(QTextLength::PercentageLength, percent);
        }
    }
    return true;
}

// The columns' widths and places. A table wider than its room is measured again with words
// broken anywhere, as the text document does; it is then left as wide as it came out.
void TableFlow::shareWidths()
{
    Frame &f = m_frame;
    const int columns = m_columns;
    for (const bool anywhere : {false, true}) {
        const Fixed room = f.contentsWidth - f.border * 2 * columns - f.cellSpacing * (columns - 1)
            - f.cellSpacing * 2;
        QList<Fixed> minWidths(columns, Fixed::of(1)), maxWidths(columns, fixedMax);
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < m_rows; ++r) {
                const Cell &entry = m_cells.at(m_at[r * columns + c]);
                const ReportMarkup::Cell &cell = entry.markup;
                if (cell.row != r || (cell.columnSpan > 1 && c != cell.column))
                    continue;
                const Fixed widthPadding = entry.left + entry.right;
                const ParagraphLines measured = m_paragraphs.lines(entry.text, fixedMax, anywhere);
                const Fixed margins = entry.text.leftMargin + entry.text.rightMargin;
                const int span = cell.columnSpan;
                // the widest word, shared over the columns the cell spans
                Fixed toDistribute = measured.minimumWidth + margins + widthPadding;
                for (int n = 0; n < span; ++n) {
                    const int col = c + n;
                    const Fixed w = toDistribute / (span - n);
                    minWidths[col] = std::max(minWidths[col], w).ceil();
                    toDistribute -= minWidths[col];
                    if (toDistribute <= Fixed())
                        break;
                }
                // and the widest line
                const Fixed contentMax = measured.maximumWidth + margins;
                if (contentMax <= Fixed())
                    continue;
                Fixed maxW = maxWidths[c] == fixedMax
                    ? contentMax + widthPadding
                    : std::max(maxWidths[c], contentMax + widthPadding);
                toDistribute = maxW.ceil();
                for (int n = 0; n < span; ++n) {
                    const int col = c + n;
                    Fixed w = toDistribute / (span - n);
                    if (maxWidths[col] != fixedMax)
                        w = std::max(maxWidths[col], w);
                    maxWidths[col] = std::max(minWidths[col], w);
                    toDistribute -= maxWidths[col];
                    if (toDistribute <= Fixed())
                        break;
                }
            }
        }
        m_widths = shareColumns(m_constraints, minWidths, maxWidths, room,
            m_format.width().type() != QTextLength::VariableLength, m_scale);
        m_columnPositions.fill(Fixed(), columns);
        m_columnPositions[0] = f.left + f.cellSpacing + f.border;
        for (int c = 1; c < columns; ++c)
            m_columnPositions[c]
                = m_columnPositions[c - 1] + m_widths[c - 1] + f.border * 2 + f.cellSpacing;
        const Fixed usedWidth = m_columnPositions.last() + m_widths.last() + f.padding + f.border
            + f.cellSpacing - f.left;
        if (usedWidth <= f.contentsWidth || anywhere) {
            f.contentsWidth = usedWidth;
            break;
        }
    }
}

bool TableFlow::rowSpanEnds(int row) const
{
    for (int c = 0; c < m_columns; ++c) {
        const ReportMarkup::Cell &cell = m_cells.at(m_at[row * m_columns + c]).markup;
        if (cell.rowSpan > 1 && cell.row + cell.rowSpan - 1 == row)
            return true;
    }
    return false;
}

// The rows from `tableY` on, moved down past the foot of a page as the text document moves
// them, and every cell's lines within its row.
void TableFlow::layOutRows(Fixed tableY)
{
    const Frame &f = m_frame;
    const Fixed pageHeight = m_canvas.pageHeight();
    const int columns = m_columns;
    m_rowPositions.fill(Fixed(), m_rows);
    m_heights.fill(Fixed(), m_rows);
    m_lineTops.fill({}, m_cells.size());
    m_cellLines.fill({}, m_cells.size());
    m_cellHeights.fill(Fixed(), m_cells.size());
    m_rowPositions[0] = f.top + f.cellSpacing + f.border;
    m_headerHeight = Fixed();
    Fixed tableTopMargin = f.effectiveTopMargin; // and the header, once it is laid out
    bool droppedTable = false;
    QList<Fixed> heightToDistribute(columns);
    const int tableStartPage = m_canvas.pageOf(tableY);
    for (int r = 0; r < m_rows; ++r) {
        if (r > 0)
            m_rowPositions[r]
                = m_rowPositions[r - 1] + m_heights[r - 1] + f.border + f.cellSpacing + f.border;
        const int currentPage = m_canvas.pageOf(m_rowPositions[r] + tableY);
        const Fixed pageBottom = pageHeight * (currentPage + 1) - f.effectiveBottomMargin - tableY
            - f.cellSpacing - f.border;
        const Fixed pageTop
            = pageHeight * currentPage + tableTopMargin - tableY + f.cellSpacing + f.border;
        const Fixed nextPageTop = pageTop + pageHeight;
        if (m_rowPositions[r] > pageBottom)
            m_rowPositions[r] = nextPageTop;
        else if (m_rowPositions[r] < pageTop)
            m_rowPositions[r] = pageTop;
        Fixed dropDistance;
        // a row is moved down once, when none of its cells starts above the page's foot
        bool dropRow = true;
        bool restart = false;
        for (bool relayout = true; relayout;) {
            relayout = false;
            if (r <= m_headerRows && m_canvas.pageOf(m_rowPositions[r] + tableY) > tableStartPage
                && !droppedTable) {
                // the header and the first row go to the next page together
                m_rowPositions[0] = nextPageTop;
                tableTopMargin = f.effectiveTopMargin;
                droppedTable = true;
                restart = true;
                break;
            }
            int rowCells = 0;
            for (int c = 0; c < columns; ++c) {
                const int index = m_at[r * columns + c];
                const Cell &entry = m_cells.at(index);
                const ReportMarkup::Cell &cell = entry.markup;
                if (cell.columnSpan > 1 && cell.column != c)
                    continue;
                if (cell.rowSpan > 1 && cell.row != r) {
                    if (cell.row + cell.rowSpan - 1 == r)
                        m_heights[r]
                            = std::max(m_heights[r], heightToDistribute[c] - dropDistance).round();
                    continue;
                }
                ++rowCells;
                const Fixed width = cellWidth(c, cell.columnSpan) - entry.left - entry.right;
                const ParagraphLines &laid = m_cellLines[index]
                    = m_paragraphs.lines(entry.text, width);
                // the cell's own flow, its lines moved past the page's foot
                const Fixed frameY = tableY + m_rowPositions[r] + entry.top;
                const Fixed pageTopMargin = tableTopMargin + f.cellSpacing + f.border + entry.top;
                const Fixed pageBottomMargin
                    = f.effectiveBottomMargin + f.cellSpacing + f.border + entry.bottom;
                const int framePage = m_canvas.pageOf(frameY);
                Fixed cellPageBottom = pageHeight * (framePage + 1) - pageBottomMargin;
                Fixed y = std::max(Fixed(), pageHeight * framePage + pageTopMargin - frameY);
                const Fixed contentHeight = pageHeight - pageTopMargin - pageBottomMargin;
                QList<Fixed> tops;
                Fixed bottom;
                for (const ParagraphLines::Line &line : laid.lines) {
                    while (frameY + y + line.breakHeight > cellPageBottom
                        && contentHeight >= line.breakHeight) {
                        cellPageBottom += pageHeight;
                        y = std::max(y,
                            cellPageBottom - pageHeight + pageBottomMargin + pageTopMargin
                                - frameY);
                    }
                    tops.append(y);
                    bottom = y + line.breakHeight;
                    y += line.height;
                }
                // a line whose leading is negative reaches below its rounded height
                y = std::max(y, bottom);
                const Fixed height = (y + entry.bottom + entry.top).round();
                if (cell.rowSpan > 1)
                    heightToDistribute[c] = height + dropDistance;
                else
                    m_heights[r] = std::max(m_heights[r], height);
                m_cellHeights[index] = y;
                if (m_rowPositions[r] + entry.top + (tops.isEmpty() ? Fixed() : tops.first())
                    < pageBottom)
                    dropRow = false;
                m_lineTops[index] = std::move(tops);
            }
            if (rowCells > 0 && dropRow) {
                dropDistance = nextPageTop - m_rowPositions[r];
                m_rowPositions[r] = nextPageTop;
                m_heights[r] = Fixed();
                dropRow = false;
                // the row above reaches down to the foot of the page, unless it closes cells
                // spanning several rows (so Qt 6.4 draws it)
                if (r > m_headerRows && !rowSpanEnds(r - 1))
                    m_heights[r - 1] = pageBottom - m_rowPositions[r - 1];
                relayout = true;
            }
        }
        if (restart) {
            r = -1;
            continue;
        }
        const Fixed effectiveHeight = m_heights[r] + f.border + f.cellSpacing + f.border;
        for (int c = 0; c < columns; ++c)
            heightToDistribute[c]
                = std::max(heightToDistribute[c] - effectiveHeight - dropDistance, Fixed());
        if (r == m_headerRows - 1) {
            m_headerHeight = m_rowPositions[r] + m_heights[r] - m_rowPositions[0] + f.cellSpacing
                + f.border * 2;
            m_headerHeight -= m_headerHeight * int(m_headerHeight.v / pageHeight.v);
            tableTopMargin += m_headerHeight;
        }
    }
}

Fixed TableFlow::paintCell(int index, Fixed yOffset, Fixed tableX)
{
    const Frame &f = m_frame;
    const Cell &entry = m_cells.at(index);
    const ReportMarkup::Cell &cell = entry.markup;
    const int last = cell.row + cell.rowSpan - 1;
    const Fixed height = m_rowPositions[last] + m_heights[last] - m_rowPositions[cell.row];
    const QRectF rect((tableX + m_columnPositions[cell.column]).real(),
        (yOffset + m_rowPositions[cell.row]).real(), cellWidth(cell.column, cell.columnSpan).real(),
        height.real());
    // a cell going over a page break is closed above the next page's repeated header
    const qreal topMargin = (f.effectiveTopMargin + f.cellSpacing + f.border
        + (cell.row >= m_headerRows ? m_headerHeight : Fixed()))
                                .real();
    const qreal bottomMargin = (f.effectiveBottomMargin + f.cellSpacing + f.border).real();
    const qreal b = f.border.real();
    if (b > 0)
        m_canvas.addBorder(
            QRectF(rect.left() - b, rect.top() - b, rect.width() + b, rect.height() + b), topMargin,
            bottomMargin, b, borderBrush());
    m_canvas.addBackground(rect, topMargin, bottomMargin, entry.look.cell.background());

    const Fixed contentHeight = m_cellHeights[index] + entry.top + entry.bottom;
    Fixed offset;
    if (entry.look.cell.verticalAlignment() == QTextCharFormat::AlignMiddle)
        offset = (height - contentHeight) / 2;
    else if (entry.look.cell.verticalAlignment() == QTextCharFormat::AlignBottom)
        offset = height - contentHeight;
    const ParagraphLines &laid = m_cellLines[index];
    const QList<Fixed> &tops = m_lineTops[index];
    const Fixed contentTop = yOffset + m_rowPositions[cell.row] + offset + entry.top;
    for (int i = 0; i < laid.lines.size() && i < tops.size(); ++i)
        m_canvas.addText(laid.lines[i].runs, tableX + m_columnPositions[cell.column] + entry.left,
            contentTop + tops[i]);
    return contentTop + (tops.isEmpty() ? Fixed() : tops.first());
}

QBrush TableFlow::borderBrush() const
{
    return m_format.borderBrush().style() == Qt::NoBrush ? QBrush(Qt::darkGray)
                                                         : m_format.borderBrush();
}

// The frame's border, the header rows again at the top of every later page, then every cell.
Fixed TableFlow::paint(Fixed tableY, Fixed tableX, Fixed tableHeight, Fixed tableWidth)
{
    const Frame &f = m_frame;
    const qreal b = f.border.real();
    if (b > 0) {
        const qreal w = (tableWidth - f.border * 2 - f.leftMargin - f.rightMargin).real();
        const qreal h = (tableHeight - f.border * 2 - f.topMargin - f.bottomMargin).real();
        m_canvas.addBorder(
            QRectF((tableX + f.leftMargin).real(), (tableY + f.topMargin).real(), w + b, h + b),
            f.effectiveTopMargin.real(), f.effectiveBottomMargin.real(), b, borderBrush());
    }
    const int startPage = m_canvas.pageOf(tableY);
    const int endPage = m_canvas.pageOf(tableY + tableHeight);
    for (int page = startPage + 1; page <= endPage; ++page) {
        const Fixed pageTop
            = m_canvas.pageHeight() * page + f.effectiveTopMargin + f.cellSpacing + f.border;
        for (int index = 0; index < m_cells.size(); ++index)
            if (m_cells.at(index).markup.row < m_headerRows)
                paintCell(index, pageTop - m_rowPositions[0], tableX);
    }
    Fixed firstLineTop = tableY + m_rowPositions[0];
    for (int index = 0; index < m_cells.size(); ++index) {
        const Fixed top = paintCell(index, tableY, tableX);
        if (index == m_at[0])
            firstLineTop = top;
    }
    return firstLineTop;
}

bool TableFlow::layOut(const ReportMarkup::Table &table, FlowPosition &flow, int &firstLinePage)
{
    m_format = m_styles.look(table.tag + QStringLiteral("<tr><td>x</td></tr></table>")).table;
    if (m_format.borderCollapse())
        return false;
    readCells(table);
    if (!readColumnConstraints())
        return false;
    readFrame();
    shareWidths();

    const Frame &f = m_frame;
    if (m_format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        flow.newPage(m_canvas.pageHeight());
    Fixed tableY = flow.y;
    layOutRows(tableY);
    if (tableY + m_rowPositions[0] > flow.pageBottom) {
        // the whole table goes to the next page when its first row would
        flow.newPage(m_canvas.pageHeight());
        tableY = flow.y;
        layOutRows(tableY);
    }
    const Fixed tableHeight = m_rowPositions.last() + m_heights.last() + f.padding + f.border
        + f.cellSpacing + (f.bottomMargin + f.border + f.padding);
    const Fixed tableWidth = f.left + f.contentsWidth + f.rightMargin + f.padding + f.border;
    Fixed tableX;
    const Fixed pageWidth = m_canvas.pageWidth();
    const Qt::Alignment align = m_format.alignment() & Qt::AlignHorizontal_Mask;
    if (pageWidth > tableWidth) {
        if (align & Qt::AlignRight)
            tableX = pageWidth - tableWidth;
        else if (align & Qt::AlignHCenter)
            tableX = pageWidth / 2 - tableWidth / 2;
    }
    firstLinePage = m_canvas.printedPage(paint(tableY, tableX, tableHeight, tableWidth));

    flow.y = tableY + tableHeight;
    flow.pageBottom = m_canvas.pageHeight() * (m_canvas.pageOf(flow.y) + 1);
    if (m_format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        flow.newPage(m_canvas.pageHeight());
    // After a table whose last cell has text the HTML reader leaves an empty paragraph,
    // hidden in the table's corner, and the next paragraph's top margin counts from it;
    // after an empty last cell the next paragraph follows the table with no margin.
    if (m_cells.at(m_at.last()).markup.runs.isEmpty())
        flow.previousBlock.reset();
    else
        flow.previousBlock = QTextBlockFormat();
    return true;
}
