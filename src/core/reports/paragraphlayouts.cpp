#include "core/reports/paragraphlayouts.h"

#include <QTextLine>

#include <algorithm>
#include <cmath>

ParagraphLayouts::ParagraphLayouts(ReportStyles &styles, const QFont &font, QPaintDevice *device)
    : m_styles(styles)
    , m_font(font, device)
    , m_device(device)
{ }

Paragraph ParagraphLayouts::paragraph(const ReportMarkup::Runs &runs, const QString &open,
    const QString &close, const ReportStyles::Look &base)
{
    Paragraph paragraph;
    paragraph.option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    paragraph.option.setUseDesignMetrics(true);
    if (base.block.hasProperty(QTextFormat::BlockAlignment))
        paragraph.option.setAlignment(base.block.alignment());
    paragraph.leftMargin = LayoutFixed::fromReal(base.block.leftMargin());
    paragraph.rightMargin = LayoutFixed::fromReal(base.block.rightMargin());
    QString key = QString::number(int(paragraph.option.alignment())) + u'|';
    for (const ReportMarkup::Run &run : runs) {
        const ReportStyles::Look &look = run.inlineTags.isEmpty()
            ? base
            : m_styles.look(open + run.inlineTags + QStringLiteral("x")
                + ReportStyles::closingTags(run.inlineTags) + close);
        QTextLayout::FormatRange range;
        range.start = int(paragraph.text.size());
        range.length = int(run.text.size());
        range.format = look.chars;
        paragraph.text += run.text;
        key += QString::number(m_styles.formatIndex(look.chars)) + u':'
            + QString::number(run.text.size()) + u',';
        paragraph.formats.append(range);
    }
    if (runs.isEmpty()) {
        // an empty paragraph still has the height of a line in its font
        key += QString::number(m_styles.formatIndex(base.chars));
        paragraph.formats.append({0, 0, base.chars});
    }
    paragraph.key = key + u'|' + paragraph.text;
    return paragraph;
}

ParagraphLines ParagraphLayouts::lines(const Paragraph &paragraph, LayoutFixed width, bool anywhere)
{
    const QString key = QString::number(width.v) + (anywhere ? u'*' : u'|') + paragraph.key;
    auto it = m_lines.find(key);
    if (it != m_lines.end())
        return *it;

    QTextLayout layout(paragraph.text, m_font, m_device);
    QTextOption option = paragraph.option;
    if (anywhere)
        option.setWrapMode(QTextOption::WrapAnywhere);
    layout.setTextOption(option);
    QList<QTextLayout::FormatRange> formats = paragraph.formats;
    if (paragraph.text.isEmpty()) {
        // the font of an empty line is the paragraph's own
        layout.setFont(QFont(formats.first().format.font(), m_device));
        formats.clear();
    }
    layout.setFormats(formats);
    const LayoutFixed lineWidth = width - paragraph.leftMargin - paragraph.rightMargin;
    ParagraphLines result;
    QList<QTextLine> made;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(lineWidth.real());
        line.setPosition(QPointF(paragraph.leftMargin.real(), 0));
        made.append(line);
    }
    layout.endLayout();
    for (const QTextLine &line : made) {
        ParagraphLines::Line entry;
        entry.height
            = LayoutFixed::of(int(std::ceil(line.ascent() + line.descent() + line.leading())));
        entry.breakHeight = LayoutFixed::fromReal(line.height());
        result.lines.append(entry);
        if (width == LayoutFixed::max())
            continue; // measured only
        auto runs = std::make_shared<LineRuns>();
        const int from = line.textStart();
        const int to = from + line.textLength();
        for (const QTextLayout::FormatRange &range : formats) {
            const int start = std::max(from, range.start);
            const int end = std::min(to, range.start + range.length);
            if (end <= start)
                continue;
            const QBrush brush = range.format.hasProperty(QTextFormat::ForegroundBrush)
                ? range.format.foreground()
                : QBrush(Qt::black);
            for (const QGlyphRun &glyphs : line.glyphRuns(start, end - start))
                runs->append({glyphs, brush});
        }
        m_runs.append(runs);
        result.lines.last().runs = std::move(runs);
    }
    result.minimumWidth = LayoutFixed::fromReal(layout.minimumWidth());
    result.maximumWidth = LayoutFixed::fromReal(layout.maximumWidth());
    m_lines.insert(key, result);
    return result;
}
