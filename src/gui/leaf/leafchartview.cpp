#include "gui/leaf/leafchartview.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

LeafChartView::LeafChartView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("leafChartView"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void LeafChartView::setChart(const LeafChart &chart)
{
    m_chart = chart;
    setFixedSize(sizeHint());
    update();
}

QSize LeafChartView::sizeHint() const
{
    return m_chart.size.isValid() ? m_chart.size + QSize(0, 20) : QSize(650, 90);
}

void LeafChartView::paintPage(QPainter &painter, const ChartPage &page, LeafChart::Medium medium)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (const ChartBox &box : page.boxes)
        painter.fillRect(box.rect, QColor(box.colour.red, box.colour.green, box.colour.blue));
    painter.setPen(Qt::black);
    for (const ChartText &text : page.texts) {
        QFont font = painter.font();
        if (medium == LeafChart::Medium::Print)
            font.setPixelSize(qRound(text.pointSize * 100 / 72.0)); // points in 1/100 inch
        else
            font.setPointSize(text.pointSize);
        painter.setFont(font);
        const QFontMetrics metrics(font, painter.device());
        QPoint at = text.at;
        if (text.anchor == TextAnchor::TopLeft || text.anchor == TextAnchor::TopCentre)
            at.ry() += metrics.ascent();
        if (text.anchor == TextAnchor::TopCentre || text.anchor == TextAnchor::BaselineCentre)
            at.rx() -= metrics.horizontalAdvance(text.text) / 2;
        painter.drawText(at, text.text);
    }
    painter.restore();
}

void LeafChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const ChartPage &page : m_chart.pages)
        paintPage(painter, page, LeafChart::Medium::Screen);
}

void LeafChartView::wheelEvent(QWheelEvent *event)
{
    if (!m_scrollBar) {
        QWidget::wheelEvent(event);
        return;
    }
    m_scrollBar->setValue(m_scrollBar->value() - event->angleDelta().y());
    event->accept();
}
