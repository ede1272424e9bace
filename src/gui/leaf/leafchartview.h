#pragma once

#include "core/leaf/leafchart.h"

#include <QWidget>

class QPainter;
class QScrollBar;

// The evaluation picture on screen: one white widget painting the leaf chart, sized to it,
// inside a scroll area. Turning the wheel over it moves the scroll position by the wheel's
// delta, 120 pixels a notch, forward upwards.
class LeafChartView final : public QWidget
{
    Q_OBJECT

public:
    explicit LeafChartView(QWidget *parent = nullptr);

    void setChart(const LeafChart &chart);
    const LeafChart &chart() const { return m_chart; }
    // The scroll bar the wheel moves.
    void setScrollBar(QScrollBar *scrollBar) { m_scrollBar = scrollBar; }

    QSize sizeHint() const override;

    // Paints one page of a chart in its own units: screen pixels, or hundredths of an inch
    // when the painter has been scaled so (font sizes in points either way).
    static void paintPage(QPainter &painter, const ChartPage &page, LeafChart::Medium medium);

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    LeafChart m_chart;
    QScrollBar *m_scrollBar = nullptr;
};
