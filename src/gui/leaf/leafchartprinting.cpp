#include "gui/leaf/leafchartprinting.h"

#include "core/leaf/leafchart.h"
#include "gui/leaf/leafchartview.h"
#include "gui/reports/reportpreview.h"

#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

namespace LeafChartPrinting {

static QPageLayout paperLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

bool print(const LeafChart &chart, QPagedPaintDevice *device)
{
    device->setPageLayout(paperLayout());
    const QPageRanges ranges = device->pageRanges();
    QPainter painter;
    if (!painter.begin(device))
        return false;
    bool first = true;
    for (int page = 0; page < chart.pages.size(); ++page) {
        if (!ranges.isEmpty() && !ranges.contains(page + 1))
            continue;
        if (!first)
            device->newPage();
        first = false;
        painter.save();
        painter.scale(device->logicalDpiX() / 100.0, device->logicalDpiY() / 100.0);
        LeafChartView::paintPage(painter, chart.pages.at(page), LeafChart::Medium::Print);
        painter.restore();
    }
    return painter.end();
}

PaintedPages paintedPages(const LeafChart &chart)
{
    return {QStringLiteral("Levélanalízis"), paperLayout(), int(chart.pages.size()),
        [&chart](QPagedPaintDevice *device) { return print(chart, device); }};
}

void showPreview(
    const LeafChart &chart, FileChooser &fileChooser, Messenger &messenger, QWidget *parent)
{
    ReportPreview preview(paintedPages(chart), fileChooser, messenger, parent);
    preview.exec();
}

} // namespace LeafChartPrinting
