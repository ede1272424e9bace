#pragma once

#include <QByteArray>
#include <QString>

class QPageLayout;
class QTextDocument;

// What every page of an RTF document repeats: a header line over a thin rule, and under a
// rule a footer with `footerLeft` on the left and `pageCaption` on the right, in which %1
// stands for the page's number and %2 for the number of pages (the reader fills them in).
struct RtfPageFrame
{
    QString header;
    QString footerLeft;
    QString pageCaption;
};

// Writes a laid-out report as Rich Text, which Qt cannot write itself: paragraphs with
// their alignment, spacing and outline level, bold, italic, underlined and coloured runs in
// their font sizes, bulleted and numbered lists, horizontal rules, page breaks, line breaks
// and tables (borders, shading, spans, repeated header rows). Every character beyond ASCII
// is written as \uN? after a Central European (cp1250) header, so ő and ű survive in any
// reader. Images are left out; a table inside a table cell gives its text as paragraphs.
class RtfWriter
{
public:
    // The document on A4 portrait pages with 15 mm margins.
    static QByteArray toRtf(const QTextDocument &document);

    // The document on pages of `pageLayout`; a table as wide as the text spans the page's
    // text width, and its columns get the widths their constraints give (fixed or per cent),
    // the others equal shares of what is left.
    static QByteArray toRtf(const QTextDocument &document, const QPageLayout &pageLayout);

    // As above, with a header and footer on every page.
    static QByteArray toRtf(const QTextDocument &document, const QPageLayout &pageLayout,
                            const RtfPageFrame &frame);
};
