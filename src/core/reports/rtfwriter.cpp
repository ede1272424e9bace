#include "core/reports/rtfwriter.h"

#include "core/reports/framewalker.h"

#include <QList>
#include <QStringList>
#include <QPageLayout>
#include <QPageSize>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace {

// RTF measures in twips, 1/20 point; the lengths of a text document are CSS pixels,
// 1/96 inch, so fifteen twips each.
constexpr double twipsPerMillimetre = 1440 / 25.4;
constexpr double twipsPerPixel = 15.0;
constexpr int minimumRuledPadding = 40; // 2 points

int pixelsToTwips(double pixels)
{
    return int(std::lround(pixels * twipsPerPixel));
}

// The font size steps of HTML headings and <font size>, relative to the base size, as the
// text document itself applies them.
double adjustedPointSize(int adjustment, double basePointSize)
{
    static constexpr double scale[] = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
    return scale[std::clamp(adjustment + 2, 0, 6)] * basePointSize;
}

class RtfBuilder final : public FrameWalker
{
public:
    RtfBuilder(const QTextDocument &document, const QPageLayout &pageLayout,
               const RtfPageFrame *frame)
        : m_document(document)
        , m_pageLayout(pageLayout)
        , m_frame(frame)
        , m_textWidth(int(std::lround(pageLayout.paintRect(QPageLayout::Millimeter).width()
                                      * twipsPerMillimetre)))
    {
        fontIndex(document.defaultFont().family());
    }

    QByteArray build()
    {
        walkFrame(*m_document.rootFrame());

        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1\n{\\fonttbl";
        for (qsizetype at = 0; at < m_fonts.size(); ++at) {
            rtf += "{\\f" + QByteArray::number(at) + "\\fswiss\\fcharset238 ";
            appendText(rtf, m_fonts[at]);
            rtf += ";}";
        }
        rtf += "}\n{\\colortbl;";
        for (const QColor &color : std::as_const(m_colors)) {
            rtf += "\\red" + QByteArray::number(color.red()) + "\\green"
                   + QByteArray::number(color.green()) + "\\blue"
                   + QByteArray::number(color.blue()) + ';';
        }
        rtf += "}\n";
        rtf += pageSetup();
        rtf += pageFrame();
        rtf += m_body;
        rtf += "}\n";
        return rtf;
    }

private:
    QByteArray pageSetup() const
    {
        // In millimetres, as point sizes come rounded to whole points.
        const QRectF page = m_pageLayout.fullRect(QPageLayout::Millimeter);
        const QMarginsF margins = m_pageLayout.margins(QPageLayout::Millimeter);
        auto twips = [](double millimetres) {
            return QByteArray::number(std::lround(millimetres * twipsPerMillimetre));
        };
        QByteArray setup = "\\paperw" + twips(page.width()) + "\\paperh" + twips(page.height())
                           + "\\margl" + twips(margins.left()) + "\\margr"
                           + twips(margins.right()) + "\\margt" + twips(margins.top())
                           + "\\margb" + twips(margins.bottom());
        if (m_pageLayout.orientation() == QPageLayout::Landscape)
            setup += "\\landscape";
        if (m_frame) {
            // Header and footer sit half-way into the top and bottom margins.
            setup += "\\headery" + twips(margins.top() / 2) + "\\footery"
                     + twips(margins.bottom() / 2);
        }
        return setup + "\\viewkind1\n";
    }

    QByteArray pageFrame() const
    {
        if (!m_frame)
            return {};
        QByteArray rtf
            = "{\\header\\pard\\plain\\ql\\brdrb\\brdrs\\brdrw10\\brsp40 {\\f0\\fs20\\b ";
        appendText(rtf, m_frame->header);
        rtf += "}\\par}\n{\\footer\\pard\\plain\\tqr\\tx" + QByteArray::number(m_textWidth)
               + "\\brdrt\\brdrs\\brdrw10\\brsp40 {\\f0\\fs16 ";
        appendText(rtf, m_frame->footerLeft);
        rtf += "\\tab ";
        // The page numbers are fields, so that each page shows its own.
        static const QRegularExpression placeholder(QStringLiteral("%([12])"));
        const QStringView caption(m_frame->pageCaption);
        qsizetype done = 0;
        auto it = placeholder.globalMatch(m_frame->pageCaption);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            appendText(rtf, caption.mid(done, match.capturedStart() - done));
            rtf += match.captured(1) == u"1" ? "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}"
                                             : "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}";
            done = match.capturedEnd();
        }
        appendText(rtf, caption.mid(done));
        rtf += "}\\par}\n";
        return rtf;
    }

    int fontIndex(const QString &family)
    {
        qsizetype at = m_fonts.indexOf(family);
        if (at < 0) {
            at = m_fonts.size();
            m_fonts.append(family);
        }
        return int(at);
    }

    // Index into the colour table; 0 is the reader's automatic colour.
    int colorIndex(const QColor &color)
    {
        const QColor opaque = color.toRgb();
        qsizetype at = m_colors.indexOf(opaque);
        if (at < 0) {
            at = m_colors.size();
            m_colors.append(opaque);
        }
        return int(at) + 1;
    }

    static void appendText(QByteArray &out, QStringView text)
    {
        for (const QChar ch : text) {
            const char16_t code = ch.unicode();
            switch (code) {
            case u'\\': out += "\\\\"; continue;
            case u'{': out += "\\{"; continue;
            case u'}': out += "\\}"; continue;
            case u'\t': out += "\\tab "; continue;
            case u'\n':
            case QChar::LineSeparator: out += "\\line "; continue;
            case QChar::Nbsp: out += "\\~"; continue;
            case QChar::SoftHyphen: out += "\\-"; continue;
            case QChar::ObjectReplacementCharacter: continue; // images are left out
            default: break;
            }
            if (code < 0x20 || (code >= 0xfdd0 && code <= 0xfdef))
                continue; // frame markers and other controls
            if (code < 0x80) {
                out += char(code);
            } else {
                // The number is a signed 16-bit value; "?" is what a reader that cannot show
                // the character prints instead (one character, as \uc1 says).
                out += "\\u" + QByteArray::number(qint16(code)) + '?';
            }
        }
    }

    double pointSize(const QTextCharFormat &format) const
    {
        if (format.hasProperty(QTextFormat::FontPointSize))
            return format.fontPointSize();
        if (format.hasProperty(QTextFormat::FontPixelSize))
            return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
        const double base = m_document.defaultFont().pointSizeF() > 0
                                ? m_document.defaultFont().pointSizeF()
                                : 10.0;
        if (format.hasProperty(QTextFormat::FontSizeAdjustment))
            return adjustedPointSize(format.intProperty(QTextFormat::FontSizeAdjustment), base);
        return base;
    }

    void writeRun(const QTextFragment &fragment)
    {
        const QTextCharFormat format = fragment.charFormat();
        const QFont font = format.font().resolve(m_document.defaultFont());
        m_body += "{\\f" + QByteArray::number(fontIndex(font.family())) + "\\fs"
                  + QByteArray::number(std::lround(pointSize(format) * 2));
        if (font.bold())
            m_body += "\\b";
        if (font.italic())
            m_body += "\\i";
        if (font.underline())
            m_body += "\\ul";
        if (font.strikeOut())
            m_body += "\\strike";
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            m_body += "\\super";
        else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            m_body += "\\sub";
        if (format.hasProperty(QTextFormat::ForegroundBrush)) {
            const QColor color = format.foreground().color();
            if (format.foreground().style() != Qt::NoBrush && color != Qt::black)
                m_body += "\\cf" + QByteArray::number(colorIndex(color));
        }
        m_body += ' ';
        appendText(m_body, fragment.text());
        m_body += '}';
    }

    static QByteArray alignment(Qt::Alignment alignment)
    {
        if (alignment & Qt::AlignHCenter)
            return "\\qc";
        if (alignment & Qt::AlignJustify)
            return "\\qj";
        if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
            return "\\qr";
        return "\\ql";
    }

    // A paragraph's properties and text, without the mark that ends it (\par or \cell).
    void writeParagraphText(const QTextBlock &block, bool inTable)
    {
        const QTextBlockFormat format = block.blockFormat();
        m_body += "\\pard\\plain";
        if (inTable)
            m_body += "\\intbl";
        m_body += alignment(format.alignment());

        double leftIndent = format.leftMargin() + format.indent() * 40.0;
        double firstIndent = format.textIndent();
        QTextList *list = block.textList();
        if (list) {
            leftIndent += list->format().indent() * 24.0;
            firstIndent = -18.0;
        }
        if (leftIndent > 0)
            m_body += "\\li" + QByteArray::number(pixelsToTwips(leftIndent));
        if (format.rightMargin() > 0)
            m_body += "\\ri" + QByteArray::number(pixelsToTwips(format.rightMargin()));
        if (firstIndent != 0)
            m_body += "\\fi" + QByteArray::number(pixelsToTwips(firstIndent));
        if (format.topMargin() > 0)
            m_body += "\\sb" + QByteArray::number(pixelsToTwips(format.topMargin()));
        if (format.bottomMargin() > 0)
            m_body += "\\sa" + QByteArray::number(pixelsToTwips(format.bottomMargin()));
        if (format.headingLevel() > 0) // a heading stays on the page of what it heads
            m_body += "\\outlinelevel" + QByteArray::number(format.headingLevel() - 1) + "\\keepn";
        if (m_pageBreakPending || format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            m_body += "\\pagebb";
        m_pageBreakPending = format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter;
        if (format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            m_body += "\\brdrb\\brdrs\\brdrw10\\brsp20";
        m_body += ' ';

        if (list) {
            const QString marker = isBulleted(*list) ? QString(QChar(0x2022))
                                                     : list->itemText(block);
            m_body += '{';
            appendText(m_body, marker);
            m_body += "\\tab}";
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().isValid())
                writeRun(it.fragment());
        }
    }

    void writeParagraph(const QTextBlock &block) override
    {
        writeParagraphText(block, false);
        m_body += "\\par\n";
    }

    // The paragraphs of a cell, each but the last ended by \par; an empty cell still gets
    // one paragraph.
    void writeCellContent(const QTextTableCell &cell)
    {
        const QList<QTextBlock> paragraphs = cellParagraphs(cell);
        for (qsizetype at = 0; at < paragraphs.size(); ++at) {
            if (at > 0)
                m_body += "\\par\n";
            writeParagraphText(paragraphs[at], true);
        }
        if (paragraphs.isEmpty())
            m_body += "\\pard\\plain\\intbl ";
    }

    QList<int> columnWidths(const QTextTable &table) const
    {
        const QTextTableFormat format = table.format();
        const int columns = table.columns();
        int tableWidth = m_textWidth;
        const QTextLength width = format.width();
        if (width.type() == QTextLength::FixedLength)
            tableWidth = pixelsToTwips(width.rawValue());
        else if (width.type() == QTextLength::PercentageLength)
            tableWidth = int(std::lround(m_textWidth * width.rawValue() / 100.0));
        tableWidth = std::clamp(tableWidth, columns * 100, std::max(m_textWidth, columns * 100));

        const QList<QTextLength> constraints = format.columnWidthConstraints();
        QList<int> widths(columns, 0);
        int given = 0;
        int variable = 0;
        for (int column = 0; column < columns; ++column) {
            const QTextLength length = column < constraints.size() ? constraints[column]
                                                                   : QTextLength();
            if (length.type() == QTextLength::FixedLength)
                widths[column] = pixelsToTwips(length.rawValue());
            else if (length.type() == QTextLength::PercentageLength)
                widths[column] = int(std::lround(tableWidth * length.rawValue() / 100.0));
            else
                ++variable;
            given += widths[column];
        }
        if (variable > 0 && given < tableWidth) {
            const int share = (tableWidth - given) / variable;
            for (int &columnWidth : widths) {
                if (columnWidth == 0)
                    columnWidth = share;
            }
        } else if (given > 0) {
            // Constraints that ask for more than the table has, or leave a gap with no
            // column to fill it, are scaled to the table's width.
            const int fallback = tableWidth / columns;
            for (int &columnWidth : widths) {
                columnWidth = columnWidth == 0 ? fallback
                                               : int(std::lround(double(columnWidth) * tableWidth
                                                                 / std::max(given, 1)));
            }
        }
        for (int &columnWidth : widths)
            columnWidth = std::max(columnWidth, 100);
        return widths;
    }

    void writeTable(const QTextTable &table) override
    {
        const QTextTableFormat format = table.format();
        const QList<int> widths = columnWidths(table);
        const bool bordered = format.border() > 0
                              && format.borderStyle() != QTextFrameFormat::BorderStyle_None;
        // RTF has one gap per row; a style sheet's cell padding (read from the first cell)
        // wins over the table's, and a ruled table keeps its text off the lines.
        double paddingPixels = format.cellPadding();
        const QTextTableCellFormat firstCell = table.cellAt(0, 0).format().toTableCellFormat();
        if (firstCell.hasProperty(QTextFormat::TableCellLeftPadding))
            paddingPixels = firstCell.leftPadding();
        int padding = pixelsToTwips(std::max(0.0, paddingPixels));
        if (bordered)
            padding = std::max(padding, minimumRuledPadding);
        const QByteArray border = "\\brdrs\\brdrw"
                                  + QByteArray::number(std::clamp(
                                      pixelsToTwips(format.border()), 1, 75));

        for (int row = 0; row < table.rows(); ++row) {
            m_body += "\\trowd\\trgaph" + QByteArray::number(padding) + "\\trleft"
                      + QByteArray::number(-padding);
            if (format.alignment() & Qt::AlignHCenter)
                m_body += "\\trqc";
            else if (format.alignment() & (Qt::AlignRight | Qt::AlignTrailing))
                m_body += "\\trqr";
            if (row < format.headerRowCount())
                m_body += "\\trhdr";
            // Rows are kept whole on a page, as in the preview.
            m_body += "\\trkeep";

            int edge = 0;
            for (int column = 0; column < table.columns();) {
                const QTextTableCell cell = table.cellAt(row, column);
                const int span = std::max(1, cell.columnSpan());
                if (cell.rowSpan() > 1)
                    m_body += cell.row() == row ? "\\clvmgf" : "\\clvmrg";
                const QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
                if (cellFormat.verticalAlignment() == QTextCharFormat::AlignMiddle)
                    m_body += "\\clvertalc";
                else if (cellFormat.verticalAlignment() == QTextCharFormat::AlignBottom)
                    m_body += "\\clvertalb";
                if (bordered) {
                    m_body += "\\clbrdrt" + border + "\\clbrdrl" + border + "\\clbrdrb" + border
                              + "\\clbrdrr" + border;
                }
                if (cellFormat.background().style() != Qt::NoBrush)
                    m_body += "\\clcbpat"
                              + QByteArray::number(colorIndex(cellFormat.background().color()));
                for (int spanned = column; spanned < column + span && spanned < widths.size();
                     ++spanned)
                    edge += widths[spanned];
                m_body += "\\cellx" + QByteArray::number(edge) + '\n';
                column += span;
            }

            for (int column = 0; column < table.columns();) {
                const QTextTableCell cell = table.cellAt(row, column);
                if (cell.row() == row)
                    writeCellContent(cell);
                else
                    m_body += "\\pard\\plain\\intbl ";
                m_body += "\\cell\n";
                column += std::max(1, cell.columnSpan());
            }
            m_body += "\\row\n";
        }
    }

    const QTextDocument &m_document;
    const QPageLayout &m_pageLayout;
    const RtfPageFrame *m_frame;
    const int m_textWidth;
    QStringList m_fonts;
    QList<QColor> m_colors;
    QByteArray m_body;
    bool m_pageBreakPending = false;
};

} // namespace

QByteArray RtfWriter::toRtf(const QTextDocument &document)
{
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    return toRtf(document, a4);
}

QByteArray RtfWriter::toRtf(const QTextDocument &document, const QPageLayout &pageLayout)
{
    return RtfBuilder(document, pageLayout, nullptr).build();
}

QByteArray RtfWriter::toRtf(const QTextDocument &document, const QPageLayout &pageLayout,
                            const RtfPageFrame &frame)
{
    return RtfBuilder(document, pageLayout, &frame).build();
}
