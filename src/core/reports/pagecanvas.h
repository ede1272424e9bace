#pragma once

#include "core/reports/layoutfixed.h"
#include "core/reports/paragraphlayouts.h"

#include <QBrush>
#include <QList>
#include <QRectF>
#include <QSizeF>

#include <memory>

class QPainter;

// What the pages of a report paint, gathered as the report is laid out: fills (areas in a
// brush: backgrounds and rules) and lines of text (glyph runs at the line's top left), each
// on the page that paints it. Lengths are in the layout's units from the top of the first
// page; the pages follow each other without a gap.
class PageCanvas
{
public:
    explicit PageCanvas(const QSizeF &pageSize);

    QSizeF pageSize() const { return m_pageSize; }
    // The page height as the layout counts it.
    LayoutFixed pageHeight() const { return m_pageHeight; }
    LayoutFixed pageWidth() const { return m_pageWidth; }
    // The page (from 0) of a position, as the layout counts it.
    int pageOf(LayoutFixed y) const { return int(y.v / m_pageHeight.v); }
    // The printed page of a line whose top is at y, as the text document counts it for its
    // headings: its layout counts in 1/64ths, so a line moved to the top of a page can lie a
    // fraction of a unit above the page's exact edge.
    int printedPage(LayoutFixed y) const { return printedPage(y.real(), m_pageSize.height()); }
    static int printedPage(qreal top, qreal pageHeight) { return int((top + 1) / pageHeight); }

    void addText(const std::shared_ptr<const LineRuns> &runs, LayoutFixed x, LayoutFixed y);
    void addFill(const QRectF &rect, const QBrush &brush);
    // A solid border of width `border` around `rect` as the text document draws frames and
    // cells: its inner top left corner lies a border inside rect's, its right and bottom edges
    // just outside rect. Over a page break it is closed on each page, `topMargin` below the
    // top of the next page and `bottomMargin` above the foot of the page.
    void addBorder(
        const QRectF &rect, qreal topMargin, qreal bottomMargin, qreal border, const QBrush &brush);
    // A cell's background, on each page it reaches between the same margins as its border.
    void addBackground(
        const QRectF &rect, qreal topMargin, qreal bottomMargin, const QBrush &brush);

    // How much is painted, and taking back what was painted since.
    qsizetype size() const { return m_items.size(); }
    void takeBack(qsizetype size) { m_items.resize(size); }

    // Sorts what was painted by page once the layout, `height` long, is done; `lines` keeps
    // the glyphs the text points at.
    void finish(LayoutFixed height, QList<std::shared_ptr<const LineRuns>> lines);
    int pageCount() const { return m_pageCount; }
    // Paints page `page` (from 0) with its top left corner at the painter's origin.
    void paint(QPainter &painter, int page) const;

private:
    struct Item
    {
        QRectF rect;
        int page = 0;
        int brush = -1; // a fill's brush; -1 for a line of text
        const LineRuns *runs = nullptr;
    };

    QSizeF m_pageSize;
    LayoutFixed m_pageHeight;
    LayoutFixed m_pageWidth;
    int m_pageCount = 0;
    QList<Item> m_items; // by page once finished
    QList<qsizetype> m_starts; // where each page's items start, and the end
    QList<QBrush> m_brushes;
    QList<std::shared_ptr<const LineRuns>> m_lines;
};
