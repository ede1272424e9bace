#pragma once

#include <QSizeF>

#include <memory>

class PageCanvas;
class QFont;
class QPainter;
class QPaintDevice;
class QString;

// A report body laid out on pages by the program itself, the way QTextDocument lays out the
// same markup (its rules for margins, tables, column widths, rows moved to the next page and
// header rows repeated there, headings kept with what follows), only without building a text
// document: each distinct cell text is laid out once and each page paints its glyph runs,
// fills and rules. The look of every element (fonts, colours, margins, alignment, borders)
// is asked of Qt's HTML reader with the page's style sheet, so the design's styles hold.
// A 999-sample summary is laid out and painted several times faster this way.
class ReportPages
{
public:
    // Null when the markup holds anything but headings, paragraphs and plain tables; the
    // report is then laid out by QTextDocument. `pageSize` is the body of a page in the units
    // of `device`, on which the fonts are measured.
    static std::unique_ptr<ReportPages> layOut(const QString &html, const QSizeF &pageSize,
        const QFont &defaultFont, QPaintDevice *device);
    ~ReportPages();

    int pageCount() const;
    // Paints page `page` (from 0) with the body's top left corner at the painter's origin.
    void paint(QPainter &painter, int page) const;

private:
    explicit ReportPages(std::unique_ptr<PageCanvas> canvas);
    std::unique_ptr<PageCanvas> m_canvas;
};
