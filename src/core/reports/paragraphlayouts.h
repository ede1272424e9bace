#pragma once

#include "core/reports/layoutfixed.h"
#include "core/reports/reportmarkup.h"
#include "core/reports/reportstyles.h"

#include <QBrush>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QTextLayout>
#include <QTextOption>

#include <memory>

class QPaintDevice;

// One line's glyphs, each run with the colour of its text, relative to the line's top left.
struct ColouredRun
{
    QGlyphRun glyphs;
    QBrush brush;
};
using LineRuns = QList<ColouredRun>;

// The text of a block or cell with its formats, ready for QTextLayout.
struct Paragraph
{
    QString text;
    QList<QTextLayout::FormatRange> formats;
    QTextOption option;
    LayoutFixed leftMargin;
    LayoutFixed rightMargin;
    QString key; // text, formats and alignment: equal keys lay out alike
};

// A paragraph laid out at one width: its lines as the document layout stacks them.
struct ParagraphLines
{
    struct Line
    {
        LayoutFixed height; // what the line takes up: ascent, descent and leading rounded up
        LayoutFixed breakHeight; // what must fit above the page's foot
        std::shared_ptr<const LineRuns> runs; // none when only measured
    };
    QList<Line> lines;
    LayoutFixed minimumWidth; // the widest word
    LayoutFixed maximumWidth; // the widest line at full width
};

// Lays out paragraphs as the text document lays out a block (its wrapping, design metrics and
// line heights), each distinct paragraph at each width once: a long report repeats the same
// cell texts over and over.
class ParagraphLayouts
{
public:
    ParagraphLayouts(ReportStyles &styles, const QFont &font, QPaintDevice *device);

    // The paragraph of `runs` inside the markup `open` ... `close`, whose own look is `base`.
    Paragraph paragraph(const ReportMarkup::Runs &runs, const QString &open, const QString &close,
        const ReportStyles::Look &base);
    // The paragraph laid out `width` wide; LayoutFixed::max() measures it (its lines then
    // keep no glyphs). `anywhere`: words may break anywhere. A copy (its lines are shared):
    // what the cache holds moves as it grows.
    ParagraphLines lines(const Paragraph &paragraph, LayoutFixed width, bool anywhere = false);
    // The glyphs of every line laid out, for the pages to keep.
    QList<std::shared_ptr<const LineRuns>> takeRuns() { return std::exchange(m_runs, {}); }

private:
    ReportStyles &m_styles;
    QFont m_font;
    QPaintDevice *m_device;
    QHash<QString, ParagraphLines> m_lines;
    QList<std::shared_ptr<const LineRuns>> m_runs;
};
