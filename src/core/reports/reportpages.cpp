#include "core/reports/reportpages.h"

#include "core/reports/paragraphlayouts.h"
#include "core/reports/reportmarkup.h"
#include "core/reports/reportstyles.h"

#include <QPaintDevice>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <span>

namespace {

using Fixed = LayoutFixed;
using Look = ReportStyles::Look;
using Lines = ParagraphLines;
const Fixed fixedMax = LayoutFixed::max();

// A fill (an area in one of the page's brushes) or a line of text (its glyph runs at the
// line's top left corner), on the page that paints it.
struct Item
{
    QRectF rect;
    int page = 0;
    int brush = -1; // a fill's brush; -1 for a line of text
    const LineRuns *runs = nullptr;
};

} // namespace

struct ReportPages::Pages
{
    QSizeF pageSize;
    int pageCount = 0;
    QList<Item> items; // by page
    QList<qsizetype> starts; // where each page's items start, and the end
    QList<QBrush> brushes;
    QList<std::shared_ptr<const LineRuns>> lines; // what the text items point at
};

namespace {

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

class Layouter
{
public:
    Layouter(const ReportMarkup &markup, const QSizeF &pageSize, const QFont &font,
        QPaintDevice *device, ReportPages::Pages &pages)
        : m_styles(markup.head, font)
        , m_paragraphs(m_styles, font, device)
        , m_pageHeight(Fixed::fromReal(pageSize.height()))
        , m_pageWidth(Fixed::fromReal(pageSize.width()))
        , m_scale(device->logicalDpiY() / 96.0)
        , m_out(pages)
    { }

    bool run(const QList<ReportMarkup::Item> &items);

private:
    struct Flow
    {
        Fixed y;
        Fixed pageBottom;
        int itemCount = 0; // painted items so far, to take them back
        std::optional<QTextBlockFormat> previousBlock;
    };
    struct Placed
    {
        int firstLinePage = 0;
    };

    Paragraph paragraph(
        const ReportMarkup::Runs &runs, const QString &open, const QString &close, const Look &base)
    {
        return m_paragraphs.paragraph(runs, open, close, base);
    }
    const Lines &lines(const Paragraph &paragraph, Fixed width, bool anywhere = false)
    {
        return m_paragraphs.lines(paragraph, width, anywhere);
    }
    bool block(const ReportMarkup::Block &block, Flow &flow, bool breakBefore, Placed &placed);
    bool table(const ReportMarkup::Table &table, Flow &flow, Placed &placed);
    void newPage(Flow &flow) const
    {
        flow.pageBottom += m_pageHeight;
        flow.y = std::max(flow.y, flow.pageBottom - m_pageHeight);
    }
    int pageOf(Fixed y) const { return int((y.v) / m_pageHeight.v); }
    // The printed page of a line whose top is at y, as the text document counts it for the
    // headings: its layout counts in 1/64ths, so a line moved to the top of a page can lie a
    // fraction of a unit above the page's exact edge.
    int printedPage(Fixed y) const { return int((y.real() + 1) / m_out.pageSize.height()); }
    Fixed scaled(qreal px) const { return Fixed::fromReal(px * m_scale); }
    void addText(const std::shared_ptr<const LineRuns> &runs, Fixed x, Fixed y)
    {
        m_items.append({QRectF(x.real(), y.real(), 0, 0), int(y.real() / m_out.pageSize.height()),
            -1, runs.get()});
    }
    void addFill(const QRectF &rect, const QBrush &brush);
    void addBorder(
        const QRectF &rect, qreal topMargin, qreal bottomMargin, qreal border, const QBrush &brush);
    void addBackground(
        const QRectF &rect, qreal topMargin, qreal bottomMargin, const QBrush &brush);

    ReportStyles m_styles;
    ParagraphLayouts m_paragraphs;
    Fixed m_pageHeight;
    Fixed m_pageWidth;
    qreal m_scale;
    ReportPages::Pages &m_out;
    QList<Item> m_items;
};

void Layouter::addFill(const QRectF &rect, const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush || rect.isEmpty())
        return;
    qsizetype index = m_out.brushes.indexOf(brush);
    if (index < 0) {
        index = m_out.brushes.size();
        m_out.brushes.append(brush);
    }
    // on every page it reaches
    const qreal height = m_out.pageSize.height();
    const int first = std::max(0, int(std::floor(rect.top() / height)));
    const int last = std::max(first, int(std::floor((rect.bottom() - 0.001) / height)));
    for (int page = first; page <= last; ++page)
        m_items.append({rect, page, int(index), nullptr});
}

// A solid border of width `border` whose inner top left corner is rect's top left plus the
// border and whose right and bottom edges lie just outside it, as the document layout draws
// frames and cells. Where it goes over a page break it is closed on each page, `topMargin`
// below the top of the next page and `bottomMargin` above the foot of the page.
void Layouter::addBorder(
    const QRectF &rect, qreal topMargin, qreal bottomMargin, qreal border, const QBrush &brush)
{
    const qreal pageHeight = m_out.pageSize.height();
    const int topPage = int(rect.top() / pageHeight);
    const int bottomPage = int((rect.bottom() + border) / pageHeight);
    for (int page = topPage; page <= bottomPage; ++page) {
        QRectF edges = QRectF(rect.toRect());
        if (topPage != bottomPage) {
            edges.setTop(std::max(edges.top(), page * pageHeight + topMargin - border));
            edges.setBottom(std::min(edges.bottom(), (page + 1) * pageHeight - bottomMargin));
            if (edges.bottom() <= edges.top())
                continue;
        }
        const qreal l = edges.left(), t = edges.top(), r = edges.right(), b = edges.bottom();
        addFill(QRectF(QPointF(l, t), QPointF(l + border, b + border)), brush);
        addFill(QRectF(QPointF(l + border, t), QPointF(r + border, t + border)), brush);
        addFill(QRectF(QPointF(r, t + border), QPointF(r + border, b)), brush);
        addFill(QRectF(QPointF(l + border, b), QPointF(r + border, b + border)), brush);
    }
}

// A cell's background, on each page it reaches between the same margins as its border.
void Layouter::addBackground(
    const QRectF &rect, qreal topMargin, qreal bottomMargin, const QBrush &brush)
{
    const qreal pageHeight = m_out.pageSize.height();
    const int topPage = int(rect.top() / pageHeight);
    const int bottomPage = int(rect.bottom() / pageHeight);
    if (topPage == bottomPage) {
        addFill(rect, brush);
        return;
    }
    for (int page = topPage; page <= bottomPage; ++page) {
        QRectF part = QRectF(rect.toRect());
        part.setTop(std::max(part.top(), page * pageHeight + topMargin));
        part.setBottom(std::min(part.bottom(), (page + 1) * pageHeight - bottomMargin));
        if (part.bottom() > part.top())
            addFill(part, brush);
    }
}

// A heading, a paragraph or loose text in the body, as the document layout places a block.
bool Layouter::block(const ReportMarkup::Block &block, Flow &flow, bool breakBefore, Placed &placed)
{
    const QString open = block.tag;
    QString close;
    if (!open.isEmpty()) {
        qsizetype end = 1;
        while (end < open.size() && open.at(end).isLetterOrNumber())
            ++end;
        close = QStringLiteral("</") + open.mid(1, end - 1) + u'>';
    }
    const Look &look = m_styles.look(open + QStringLiteral("x") + close);
    if (breakBefore || (look.block.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        newPage(flow);
    if (flow.previousBlock) {
        const qreal margin = std::max(look.block.topMargin(), flow.previousBlock->bottomMargin());
        if (margin > 0)
            flow.y += Fixed::fromReal(margin * m_scale);
    }
    const Paragraph text = paragraph(block.runs, open, close, look);
    const Lines &laid = lines(text, m_pageWidth);
    const Fixed contentHeight = m_pageHeight;
    bool first = true;
    Fixed bottom;
    for (const Lines::Line &line : laid.lines) {
        while (flow.y + line.breakHeight > flow.pageBottom && contentHeight >= line.breakHeight)
            newPage(flow);
        if (first)
            placed.firstLinePage = printedPage(flow.y);
        first = false;
        addText(line.runs, Fixed(), flow.y);
        bottom = flow.y + line.breakHeight;
        flow.y += line.height;
    }
    // a line whose leading is negative reaches below its rounded height
    flow.y = std::max(flow.y, bottom);
    if (look.block.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        newPage(flow);
    flow.previousBlock = look.block;
    return true;
}

bool Layouter::table(const ReportMarkup::Table &markup, Flow &flow, Placed &placed)
{
    const Look &tableLook
        = m_styles.look(markup.tag + QStringLiteral("<tr><td>x</td></tr></table>"));
    const QTextTableFormat &format = tableLook.table;
    if (format.borderCollapse())
        return false;
    const int rows = markup.rows;
    const int columns = markup.columns;

    // the grid: every place's cell, places no cell covers get an empty one
    QList<ReportMarkup::Cell> cells = markup.cells;
    QList<int> at(rows * columns, -1);
    for (int i = 0; i < cells.size(); ++i) {
        const ReportMarkup::Cell &cell = cells.at(i);
        for (int r = cell.row; r < std::min(rows, cell.row + cell.rowSpan); ++r)
            for (int c = cell.column; c < cell.column + cell.columnSpan; ++c)
                at[r * columns + c] = i;
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (at[r * columns + c] >= 0)
                continue;
            ReportMarkup::Cell empty;
            empty.tag = QStringLiteral("<td>");
            empty.row = r;
            empty.column = c;
            at[r * columns + c] = int(cells.size());
            cells.append(empty);
        }
    }
    for (ReportMarkup::Cell &cell : cells)
        cell.rowSpan = std::min(cell.rowSpan, rows - cell.row);

    // each cell's look, text and padding
    struct CellData
    {
        Look look;
        Paragraph text;
        Fixed top, bottom, left, right; // padding
    };
    const Fixed cellPadding = Fixed::fromReal(format.cellPadding() * m_scale);
    const auto padding = [&](const QTextTableCellFormat &cell, QTextFormat::Property property) {
        const QVariant value = cell.property(property);
        return value.isNull() ? cellPadding : Fixed::fromReal(value.toReal() * m_scale);
    };
    QList<CellData> data;
    data.reserve(cells.size());
    for (const ReportMarkup::Cell &cell : cells) {
        const bool header = cell.row < markup.headerRows;
        const QString open = markup.tag + (header ? QStringLiteral("<thead>") : QString())
            + QStringLiteral("<tr>") + cell.tag;
        const QString close = cell.tag.startsWith(QLatin1String("<th"), Qt::CaseInsensitive)
            ? QStringLiteral("</th></tr>")
            : QStringLiteral("</td></tr>");
        const QString tableClose
            = (header ? QStringLiteral("</thead>") : QString()) + QStringLiteral("</table>");
        CellData entry;
        entry.look = m_styles.look(open + QStringLiteral("x") + close + tableClose);
        entry.text = paragraph(cell.runs, open, close + tableClose, entry.look);
        entry.top = padding(entry.look.cell, QTextFormat::TableCellTopPadding);
        entry.bottom = padding(entry.look.cell, QTextFormat::TableCellBottomPadding);
        entry.left = padding(entry.look.cell, QTextFormat::TableCellLeftPadding);
        entry.right = padding(entry.look.cell, QTextFormat::TableCellRightPadding);
        data.append(entry);
    }

    // the frame
    const Fixed topMargin = Fixed::fromReal(format.topMargin() * m_scale).round();
    const Fixed bottomMargin = Fixed::fromReal(format.bottomMargin() * m_scale).round();
    const Fixed leftMargin = Fixed::fromReal(format.leftMargin() * m_scale).round();
    const Fixed rightMargin = Fixed::fromReal(format.rightMargin() * m_scale).round();
    const Fixed border = Fixed::fromReal(format.border() * m_scale).round();
    const Fixed framePadding = Fixed::fromReal(format.padding() * m_scale).round();
    Fixed frameWidth = Fixed::fromReal(format.width().value(m_pageWidth.real()));
    if (format.width().type() == QTextLength::FixedLength)
        frameWidth = Fixed::fromReal(frameWidth.real() * m_scale);
    Fixed contentsWidth = frameWidth - (border + framePadding) * 2 - leftMargin - rightMargin;
    const Fixed effectiveTopMargin = topMargin + border + framePadding;
    const Fixed effectiveBottomMargin = topMargin + border + framePadding;
    const Fixed cellSpacing = Fixed::fromReal(format.cellSpacing() * m_scale).round();
    const Fixed left = leftMargin + framePadding + border;
    const Fixed top = topMargin + framePadding + border;

    // column widths
    QList<QTextLength> constraints(columns);
    for (const ReportMarkup::Cell &cell : cells) {
        if (cell.columnSpan != 1 || cell.width.isEmpty()
            || constraints[cell.column].type() != QTextLength::VariableLength)
            continue;
        const QString width = cell.width.trimmed();
        bool ok = false;
        // read as the HTML reader reads it; a width of nothing or less is left to the text
        // document
        if (const qreal value = width.toDouble(&ok); ok) {
            if (value <= 0)
                return false;
            constraints[cell.column] = QTextLength(QTextLength::FixedLength, value);
        } else if (width.endsWith(u'%')) {
            const qreal percent = width.chopped(1).toDouble(&ok);
            if (ok && percent <= 0)
                return false;
            if (ok)
                constraints[cell.column] = QTextLength(QTextLength::PercentageLength, percent);
        }
    }
    QList<Fixed> widths, columnPositions;
    // A table wider than its room is measured again with words broken anywhere, as the
    // document layout does; it is then left as wide as it came out.
    for (const bool anywhere : {false, true}) {
        const Fixed remaining
            = contentsWidth - border * 2 * columns - cellSpacing * (columns - 1) - cellSpacing * 2;
        QList<Fixed> minWidths(columns, Fixed::of(1)), maxWidths(columns, fixedMax);
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < rows; ++r) {
                const int index = at[r * columns + c];
                const ReportMarkup::Cell &cell = cells.at(index);
                if (cell.row != r || (cell.columnSpan > 1 && c != cell.column))
                    continue;
                const CellData &entry = data.at(index);
                const Fixed widthPadding = entry.left + entry.right;
                const Lines &measured = lines(entry.text, fixedMax, anywhere);
                const int span = cell.columnSpan;
                Fixed toDistribute = measured.minimumWidth + entry.text.leftMargin
                    + entry.text.rightMargin + widthPadding;
                for (int n = 0; n < span; ++n) {
                    const int col = c + n;
                    const Fixed w = toDistribute / (span - n);
                    minWidths[col] = std::max(minWidths[col], w).ceil();
                    toDistribute -= minWidths[col];
                    if (toDistribute <= Fixed())
                        break;
                }
                const Fixed contentMax
                    = measured.maximumWidth + entry.text.leftMargin + entry.text.rightMargin;
                if (contentMax <= Fixed())
                    continue;
                Fixed maxW = maxWidths[c];
                maxW = maxW == fixedMax ? contentMax + widthPadding
                                        : std::max(maxW, contentMax + widthPadding);
                maxW = maxW.ceil();
                toDistribute = maxW;
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
        widths = shareColumns(constraints, minWidths, maxWidths, remaining,
            format.width().type() != QTextLength::VariableLength, m_scale);
        columnPositions.fill(Fixed(), columns);
        columnPositions[0] = left + cellSpacing + border;
        for (int c = 1; c < columns; ++c)
            columnPositions[c] = columnPositions[c - 1] + widths[c - 1] + border * 2 + cellSpacing;
        const Fixed usedWidth
            = columnPositions.last() + widths.last() + framePadding + border + cellSpacing - left;
        if (usedWidth <= contentsWidth || anywhere) {
            contentsWidth = usedWidth;
            break;
        }
    }
    const auto cellWidth = [&](int column, int span) {
        return columnPositions[column + span - 1] + widths[column + span - 1]
            - columnPositions[column];
    };

    // rows, moved down past the foot of a page as the document layout moves them
    const auto layOutRows = [&](Fixed tableY, QList<Fixed> &rowPositions, QList<Fixed> &heights,
                                QList<QList<Fixed>> &lineTops, QList<Fixed> &cellHeights,
                                Fixed &headerHeight) {
        rowPositions.fill(Fixed(), rows);
        heights.fill(Fixed(), rows);
        lineTops.fill({}, cells.size());
        cellHeights.fill(Fixed(), cells.size());
        rowPositions[0] = top + cellSpacing + border;
        headerHeight = Fixed();
        Fixed tableTopMargin = effectiveTopMargin;
        const int headerRowCount = std::min(markup.headerRows, rows - 1);
        bool droppedTable = false;
        QList<Fixed> heightToDistribute(columns);
        const auto rowSpanEnds = [&](int row) {
            for (int c = 0; c < columns; ++c) {
                const ReportMarkup::Cell &cell = cells.at(at[row * columns + c]);
                if (cell.rowSpan > 1 && cell.row + cell.rowSpan - 1 == row)
                    return true;
            }
            return false;
        };
        for (int r = 0; r < rows; ++r) {
            bool restart = false;
            if (r > 0)
                rowPositions[r]
                    = rowPositions[r - 1] + heights[r - 1] + border + cellSpacing + border;
            const int tableStartPage = int((tableY.v) / m_pageHeight.v);
            const int currentPage = int((rowPositions[r] + tableY).v / m_pageHeight.v);
            const Fixed pageBottom = m_pageHeight * (currentPage + 1) - effectiveBottomMargin
                - tableY - cellSpacing - border;
            const Fixed pageTop
                = m_pageHeight * currentPage + tableTopMargin - tableY + cellSpacing + border;
            const Fixed nextPageTop = pageTop + m_pageHeight;
            if (rowPositions[r] > pageBottom)
                rowPositions[r] = nextPageTop;
            else if (rowPositions[r] < pageTop)
                rowPositions[r] = pageTop;
            Fixed dropDistance;
            // a row is moved down once, when none of its cells starts above the page's foot
            bool dropRow = true;
            bool relayout = true;
            while (relayout) {
                relayout = false;
                const int rowStartPage = int((rowPositions[r] + tableY).v / m_pageHeight.v);
                if (r <= headerRowCount && rowStartPage > tableStartPage && !droppedTable) {
                    // the header and the first row go to the next page together
                    rowPositions[0] = nextPageTop;
                    tableTopMargin = effectiveTopMargin;
                    droppedTable = true;
                    restart = true;
                    break;
                }
                int rowCells = 0;
                for (int c = 0; c < columns; ++c) {
                    const int index = at[r * columns + c];
                    const ReportMarkup::Cell &cell = cells.at(index);
                    if (cell.columnSpan > 1 && cell.column != c)
                        continue;
                    if (cell.rowSpan > 1 && cell.row != r) {
                        if (cell.row + cell.rowSpan - 1 == r)
                            heights[r] = std::max(heights[r], heightToDistribute[c] - dropDistance)
                                             .round();
                        continue;
                    }
                    const CellData &entry = data.at(index);
                    ++rowCells;
                    const Fixed width = cellWidth(c, cell.columnSpan) - entry.left - entry.right;
                    const Lines &laid = lines(entry.text, width);
                    // the cell's own flow, its lines moved past the page's foot
                    const Fixed frameY = tableY + rowPositions[r] + entry.top;
                    const Fixed pageTopMargin = tableTopMargin + cellSpacing + border + entry.top;
                    const Fixed pageBottomMargin
                        = effectiveBottomMargin + cellSpacing + border + entry.bottom;
                    Fixed cellPageBottom
                        = m_pageHeight * (int((frameY.v) / m_pageHeight.v) + 1) - pageBottomMargin;
                    Fixed y = std::max(Fixed(),
                        m_pageHeight * int(frameY.v / m_pageHeight.v) + pageTopMargin - frameY);
                    const Fixed contentHeight = m_pageHeight - pageTopMargin - pageBottomMargin;
                    QList<Fixed> tops;
                    Fixed bottom;
                    for (const Lines::Line &line : laid.lines) {
                        while (frameY + y + line.breakHeight > cellPageBottom
                            && contentHeight >= line.breakHeight) {
                            cellPageBottom += m_pageHeight;
                            y = std::max(y,
                                cellPageBottom - m_pageHeight + pageBottomMargin + pageTopMargin
                                    - frameY);
                        }
                        tops.append(y);
                        bottom = y + line.breakHeight;
                        y += line.height;
                    }
                    y = std::max(y, bottom);
                    const Fixed height = (y + entry.bottom + entry.top).round();
                    if (cell.rowSpan > 1)
                        heightToDistribute[c] = height + dropDistance;
                    else
                        heights[r] = std::max(heights[r], height);
                    cellHeights[index] = y;
                    lineTops[index] = tops;
                    const Fixed childPos
                        = rowPositions[r] + entry.top + (tops.isEmpty() ? Fixed() : tops.first());
                    if (childPos < pageBottom)
                        dropRow = false;
                }
                if (rowCells > 0 && dropRow) {
                    dropDistance = nextPageTop - rowPositions[r];
                    rowPositions[r] = nextPageTop;
                    heights[r] = Fixed();
                    dropRow = false;
                    if (r > headerRowCount && !rowSpanEnds(r - 1))
                        heights[r - 1] = pageBottom - rowPositions[r - 1];
                    relayout = true;
                }
            }
            if (restart) {
                r = -1;
                continue;
            }
            const Fixed effectiveHeight = heights[r] + border + cellSpacing + border;
            for (int c = 0; c < columns; ++c)
                heightToDistribute[c]
                    = std::max(heightToDistribute[c] - effectiveHeight - dropDistance, Fixed());
            if (r == headerRowCount - 1) {
                headerHeight
                    = rowPositions[r] + heights[r] - rowPositions[0] + cellSpacing + border * 2;
                headerHeight -= headerHeight * int((headerHeight.v) / m_pageHeight.v);
                tableTopMargin += headerHeight;
            }
        }
    };

    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        newPage(flow);
    Fixed tableY = flow.y;
    QList<Fixed> rowPositions, heights, cellHeights;
    QList<QList<Fixed>> lineTops;
    Fixed headerHeight;
    const auto layOut
        = [&] { layOutRows(tableY, rowPositions, heights, lineTops, cellHeights, headerHeight); };
    layOut();
    if (tableY + rowPositions[0] > flow.pageBottom) {
        // the whole table goes to the next page when its first row would
        newPage(flow);
        tableY = flow.y;
        layOut();
    }
    const Fixed tableHeight = rowPositions.last() + heights.last() + framePadding + border
        + cellSpacing + (bottomMargin + border + framePadding);
    const Fixed tableWidth = left + contentsWidth + rightMargin + framePadding + border;
    Fixed tableX;
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (m_pageWidth > tableWidth) {
        if (align & Qt::AlignRight)
            tableX = m_pageWidth - tableWidth;
        else if (align & Qt::AlignHCenter)
            tableX = m_pageWidth / 2 - tableWidth / 2;
    }

    // painting: the frame's border on each page, then every cell
    const int startPage = pageOf(tableY);
    const int endPage = pageOf(tableY + tableHeight);
    const qreal b = border.real();
    const QBrush borderBrush
        = format.borderBrush().style() == Qt::NoBrush ? QBrush(Qt::darkGray) : format.borderBrush();
    if (b > 0) {
        const qreal w = (tableWidth - border * 2 - leftMargin - rightMargin).real();
        const qreal h = (tableHeight - border * 2 - topMargin - bottomMargin).real();
        addBorder(QRectF((tableX + leftMargin).real(), (tableY + topMargin).real(), w + b, h + b),
            effectiveTopMargin.real(), effectiveBottomMargin.real(), b, borderBrush);
    }
    const int headerRowCount = std::min(markup.headerRows, rows - 1);
    const auto paintCell = [&](int index, Fixed yOffset) {
        const ReportMarkup::Cell &cell = cells.at(index);
        const CellData &entry = data.at(index);
        const int last = cell.row + cell.rowSpan - 1;
        const QRectF rect((tableX + columnPositions[cell.column]).real(),
            (yOffset + rowPositions[cell.row]).real(),
            cellWidth(cell.column, cell.columnSpan).real(),
            (rowPositions[last] + heights[last] - rowPositions[cell.row]).real());
        // a cell going over a page break is closed above the next page's repeated header
        const qreal topMargin = (effectiveTopMargin + cellSpacing + border
            + (cell.row >= headerRowCount ? headerHeight : Fixed()))
                                    .real();
        const qreal bottomMargin = (effectiveBottomMargin + cellSpacing + border).real();
        if (b > 0)
            addBorder(QRectF(rect.left() - b, rect.top() - b, rect.width() + b, rect.height() + b),
                topMargin, bottomMargin, b, borderBrush);
        addBackground(rect, topMargin, bottomMargin, entry.look.cell.background());
        const Fixed available = rowPositions[last] + heights[last] - rowPositions[cell.row];
        const Fixed contentHeight = cellHeights[index] + entry.top + entry.bottom;
        Fixed offset;
        if (entry.look.cell.verticalAlignment() == QTextCharFormat::AlignMiddle)
            offset = (available - contentHeight) / 2;
        else if (entry.look.cell.verticalAlignment() == QTextCharFormat::AlignBottom)
            offset = available - contentHeight;
        const Fixed width = cellWidth(cell.column, cell.columnSpan) - entry.left - entry.right;
        const Lines &laid = lines(entry.text, width);
        const Fixed contentTop = yOffset + rowPositions[cell.row] + offset + entry.top;
        for (int i = 0; i < laid.lines.size() && i < lineTops[index].size(); ++i)
            addText(laid.lines[i].runs, tableX + columnPositions[cell.column] + entry.left,
                    contentTop + lineTops[index][i]);
        // where its first line prints
        return contentTop + (lineTops[index].isEmpty() ? Fixed() : lineTops[index].first());
    };
    for (int page = startPage + 1; page <= endPage; ++page) {
        const Fixed pageTop = m_pageHeight * page + effectiveTopMargin + cellSpacing + border;
        for (int index = 0; index < cells.size(); ++index)
            if (cells.at(index).row < headerRowCount)
                paintCell(index, pageTop - rowPositions[0]);
    }
    Fixed firstLineTop = tableY + rowPositions[0];
    for (int index = 0; index < cells.size(); ++index) {
        const Fixed top = paintCell(index, tableY);
        if (index == at[0])
            firstLineTop = top;
    }

    placed.firstLinePage = printedPage(firstLineTop);
    flow.y = tableY + tableHeight;
    flow.pageBottom = m_pageHeight * (pageOf(flow.y) + 1);
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        newPage(flow);
    // After a table whose last cell has text the HTML reader leaves an empty paragraph,
    // hidden in the table's corner, and the next paragraph's top margin counts from it;
    // after an empty last cell the next paragraph follows the table with no margin.
    if (cells.at(at.last()).runs.isEmpty())
        flow.previousBlock.reset();
    else
        flow.previousBlock = QTextBlockFormat();
    return true;
}

bool Layouter::run(const QList<ReportMarkup::Item> &items)
{
    Flow flow;
    flow.pageBottom = m_pageHeight;
    // headings waiting for what follows them: a heading is moved to the next page when what
    // it heads starts on a later page than the heading
    struct Waiting
    {
        qsizetype item;
        Flow before;
        int page;
    };
    QList<Waiting> headings;
    QSet<qsizetype> breaks;
    for (qsizetype index = 0; index < items.size(); ++index) {
        const ReportMarkup::Item &item = items.at(index);
        flow.itemCount = int(m_items.size());
        const Flow before = flow;
        Placed placed;
        bool heading = false;
        if (const auto *text = std::get_if<ReportMarkup::Block>(&item)) {
            heading = text->tag.size() > 2 && text->tag.at(1).toLower() == u'h'
                && text->tag.at(2).isDigit();
            if (!block(*text, flow, breaks.contains(index), placed))
                return false;
        } else if (!table(std::get<ReportMarkup::Table>(item), flow, placed)) {
            return false;
        }
        if (heading) {
            headings.append({index, before, placed.firstLinePage});
            continue;
        }
        const auto moved = std::find_if(headings.begin(), headings.end(), [&](const Waiting &w) {
            return w.page < placed.firstLinePage && !breaks.contains(w.item);
        });
        if (moved != headings.end()) {
            breaks.insert(moved->item);
            flow = moved->before;
            m_items.resize(flow.itemCount);
            index = moved->item - 1;
        }
        headings.clear();
    }
    m_out.pageCount = std::max(1, int(std::ceil(flow.y.real() / m_out.pageSize.height())));
    // the items come page by page but for the header rows repeated on later pages
    std::stable_sort(m_items.begin(), m_items.end(),
        [](const Item &a, const Item &b) { return a.page < b.page; });
    m_out.items = std::move(m_items);
    m_out.lines = m_paragraphs.takeRuns();
    m_out.starts.fill(0, m_out.pageCount + 1);
    qsizetype at = 0;
    for (int page = 0; page <= m_out.pageCount; ++page) {
        while (at < m_out.items.size() && m_out.items.at(at).page < page)
            ++at;
        m_out.starts[page] = at;
    }
    m_out.starts[m_out.pageCount] = m_out.items.size();
    return true;
}

} // namespace

ReportPages::ReportPages(std::unique_ptr<Pages> pages)
    : m_pages(std::move(pages))
{ }

ReportPages::~ReportPages() = default;

std::unique_ptr<ReportPages> ReportPages::layOut(
    const QString &html, const QSizeF &pageSize, const QFont &defaultFont, QPaintDevice *device)
{
    const std::optional<ReportMarkup> markup = ReportMarkup::read(html);
    if (!markup || markup->items.isEmpty())
        return nullptr;
    auto pages = std::make_unique<Pages>();
    pages->pageSize = pageSize;
    if (!Layouter(*markup, pageSize, defaultFont, device, *pages).run(markup->items))
        return nullptr;
    return std::unique_ptr<ReportPages>(new ReportPages(std::move(pages)));
}

int ReportPages::pageCount() const
{
    return m_pages->pageCount;
}

void ReportPages::paint(QPainter &painter, int page) const
{
    if (page < 0 || page >= m_pages->pageCount)
        return;
    painter.save();
    painter.translate(0, -page * m_pages->pageSize.height());
    const std::span<const Item> items(m_pages->items.constData() + m_pages->starts[page],
        m_pages->starts[page + 1] - m_pages->starts[page]);
    painter.setPen(Qt::NoPen);
    for (const Item &item : items)
        if (item.brush >= 0)
            painter.fillRect(item.rect, m_pages->brushes.at(item.brush));
    for (const Item &item : items) {
        if (!item.runs)
            continue;
        for (const ColouredRun &run : *item.runs) {
            painter.setPen(QPen(run.brush, 0));
            painter.drawGlyphRun(item.rect.topLeft(), run.glyphs);
        }
    }
    painter.restore();
}
