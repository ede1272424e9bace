#pragma once

#include "core/reports/paragraphlayouts.h"
#include "core/reports/reportmarkup.h"
#include "core/reports/reportstyles.h"
#include "core/reports/tableflow.h"

class PageCanvas;
class QFont;
class QPaintDevice;

// Lays a report's body out on its pages as the text document does: headings and paragraphs
// with their margins meeting, lines moved past the page's foot, a heading moved to the next
// page with what it heads, tables (see TableFlow); and paints it on a canvas.
class PageFlow
{
public:
    PageFlow(
        const ReportMarkup &markup, const QFont &font, QPaintDevice *device, PageCanvas &canvas);

    // Lays the report out and finishes the canvas; false when a table is left to the text
    // document.
    bool run();

private:
    void block(
        const ReportMarkup::Block &block, FlowPosition &flow, bool breakBefore, int &firstLinePage);

    const ReportMarkup &m_markup;
    ReportStyles m_styles;
    ParagraphLayouts m_paragraphs;
    PageCanvas &m_canvas;
    qreal m_scale; // layout units to a CSS pixel
    TableFlow m_tables;
};
