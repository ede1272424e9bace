#include "core/reports/pagecanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <span>

PageCanvas::PageCanvas(const QSizeF &pageSize)
    : m_pageSize(pageSize)
    , m_pageHeight(LayoutFixed::fromReal(pageSize.height()))
    , m_pageWidth(LayoutFixed::fromReal(pageSize.width()))
{ }

void PageCanvas::addText(const std::shared_ptr<const LineRuns> &runs, LayoutFixed x, LayoutFixed y)
{
    m_items.append(
        {QRectF(x.real(), y.real(), 0, 0), int(y.real() / m_pageSize.height()), -1, runs.get()});
}

void PageCanvas::addFill(const QRectF &rect, const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush || rect.isEmpty())
        return;
    qsizetype index = m_brushes.indexOf(brush);
    if (index < 0) {
        index = m_brushes.size();
        m_brushes.append(brush);
    }
    // on every page it reaches
    const qreal height = m_pageSize.height();
    const int first = std::max(0, int(std::floor(rect.top() / height)));
    const int last = std::max(first, int(std::floor((rect.bottom() - 0.001) / height)));
    for (int page = first; page <= last; ++page)
        m_items.append({rect, page, int(index), nullptr});
}

void PageCanvas::addBorder(
    const QRectF &rect, qreal topMargin, qreal bottomMargin, qreal border, const QBrush &brush)
{
    const qreal pageHeight = m_pageSize.height();
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

void PageCanvas::addBackground(
    const QRectF &rect, qreal topMargin, qreal bottomMargin, const QBrush &brush)
{
    const qreal pageHeight = m_pageSize.height();
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

void PageCanvas::finish(LayoutFixed height, QList<std::shared_ptr<const LineRuns>> lines)
{
    m_lines = std::move(lines);
    m_pageCount = std::max(1, int(std::ceil(height.real() / m_pageSize.height())));
    // the items come page by page but for the header rows repeated on later pages
    std::stable_sort(m_items.begin(), m_items.end(),
        [](const Item &a, const Item &b) { return a.page < b.page; });
    m_starts.fill(0, m_pageCount + 1);
    qsizetype at = 0;
    for (int page = 0; page <= m_pageCount; ++page) {
        while (at < m_items.size() && m_items.at(at).page < page)
            ++at;
        m_starts[page] = at;
    }
    m_starts[m_pageCount] = m_items.size();
}

void PageCanvas::paint(QPainter &painter, int page) const
{
    if (page < 0 || page >= m_pageCount)
        return;
    painter.save();
    painter.translate(0, -page * m_pageSize.height());
    const std::span<const Item> items(
        m_items.constData() + m_starts[page], m_starts[page + 1] - m_starts[page]);
    painter.setPen(Qt::NoPen);
    for (const Item &item : items)
        if (item.brush >= 0)
            painter.fillRect(item.rect, m_brushes.at(item.brush));
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
