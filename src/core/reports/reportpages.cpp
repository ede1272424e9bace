#include "core/reports/reportpages.h"

#include "core/reports/pagecanvas.h"
#include "core/reports/pageflow.h"
#include "core/reports/reportmarkup.h"

ReportPages::ReportPages(std::unique_ptr<PageCanvas> canvas)
    : m_canvas(std::move(canvas))
{ }

ReportPages::~ReportPages() = default;

std::unique_ptr<ReportPages> ReportPages::layOut(
    const QString &html, const QSizeF &pageSize, const QFont &defaultFont, QPaintDevice *device)
{
    const std::optional<ReportMarkup> markup = ReportMarkup::read(html);
    if (!markup || markup->items.isEmpty())
        return nullptr;
    auto canvas = std::make_unique<PageCanvas>(pageSize);
    if (!PageFlow(*markup, defaultFont, device, *canvas).run())
        return nullptr;
    return std::unique_ptr<ReportPages>(new ReportPages(std::move(canvas)));
}

int ReportPages::pageCount() const
{
    return m_canvas->pageCount();
}

void ReportPages::paint(QPainter &painter, int page) const
{
    m_canvas->paint(painter, page);
}
