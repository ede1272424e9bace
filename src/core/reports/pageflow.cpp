#include "core/reports/pageflow.h"

#include "core/reports/pagecanvas.h"

#include <QPaintDevice>
#include <QSet>

#include <algorithm>

namespace {

using Fixed = LayoutFixed;

bool isHeading(const ReportMarkup::Block &block)
{
    return block.tag.size() > 2 && block.tag.at(1).toLower() == u'h' && block.tag.at(2).isDigit();
}

} // namespace

PageFlow::PageFlow(
    const ReportMarkup &markup, const QFont &font, QPaintDevice *device, PageCanvas &canvas)
    : m_markup(markup)
    , m_styles(markup.head, font)
    , m_paragraphs(m_styles, font, device)
    , m_canvas(canvas)
    , m_scale(device->logicalDpiY() / 96.0)
    , m_tables(m_styles, m_paragraphs, canvas, m_scale)
{ }

// A heading, a paragraph or loose text in the body, placed as the text document places a
// block.
void PageFlow::block(
    const ReportMarkup::Block &block, FlowPosition &flow, bool breakBefore, int &firstLinePage)
{
    const QString close = ReportStyles::closingTags(block.tag);
    const ReportStyles::Look &look = m_styles.look(block.tag + QStringLiteral("x") + close);
    const Fixed pageHeight = m_canvas.pageHeight();
    if (breakBefore || (look.block.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        flow.newPage(pageHeight);
    if (flow.previousBlock) {
        const qreal margin = std::max(look.block.topMargin(), flow.previousBlock->bottomMargin());
        if (margin > 0)
            flow.y += Fixed::fromReal(margin * m_scale);
    }
    const Paragraph text = m_paragraphs.paragraph(block.runs, block.tag, close, look);
    const ParagraphLines laid = m_paragraphs.lines(text, m_canvas.pageWidth());
    bool first = true;
    Fixed bottom;
    for (const ParagraphLines::Line &line : laid.lines) {
        while (flow.y + line.breakHeight > flow.pageBottom && pageHeight >= line.breakHeight)
            flow.newPage(pageHeight);
        if (first)
            firstLinePage = m_canvas.printedPage(flow.y);
        first = false;
        m_canvas.addText(line.runs, Fixed(), flow.y);
        bottom = flow.y + line.breakHeight;
        flow.y += line.height;
    }
    // a line whose leading is negative reaches below its rounded height
    flow.y = std::max(flow.y, bottom);
    if (look.block.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        flow.newPage(pageHeight);
    flow.previousBlock = look.block;
}

bool PageFlow::run()
{
    const QList<ReportMarkup::Item> &items = m_markup.items;
    FlowPosition flow;
    flow.pageBottom = m_canvas.pageHeight();
    // Headings waiting for what follows them: a heading is moved to the next page when what
    // it heads starts on a later page, and what follows it is laid out again.
    struct Waiting
    {
        qsizetype item;
        FlowPosition before;
        qsizetype painted;
        int page;
    };
    QList<Waiting> headings;
    QSet<qsizetype> breaks;
    for (qsizetype index = 0; index < items.size(); ++index) {
        const ReportMarkup::Item &item = items.at(index);
        const FlowPosition before = flow;
        const qsizetype painted = m_canvas.size();
        int page = 0;
        const auto *text = std::get_if<ReportMarkup::Block>(&item);
        if (text) {
            block(*text, flow, breaks.contains(index), page);
            if (isHeading(*text)) {
                headings.append({index, before, painted, page});
                continue;
            }
        } else if (!m_tables.layOut(std::get<ReportMarkup::Table>(item), flow, page)) {
            return false;
        }
        const auto moved = std::find_if(headings.begin(), headings.end(),
            [&](const Waiting &w) { return w.page < page && !breaks.contains(w.item); });
        if (moved != headings.end()) {
            breaks.insert(moved->item);
            flow = moved->before;
            m_canvas.takeBack(moved->painted);
            index = moved->item - 1;
        }
        headings.clear();
    }
    m_canvas.finish(flow.y, m_paragraphs.takeRuns());
    return true;
}
