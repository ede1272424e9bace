#include "core/reports/reportdocument.h"

#include "core/reports/pagecanvas.h"
#include "core/reports/plaintextwriter.h"
#include "core/reports/reportmarkup.h"
#include "core/reports/reportpages.h"
#include "core/reports/rtfwriter.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageRanges>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// The layout resolution: four layout units to the point, so every whole point size is a
// whole pixel size for the header and footer fonts.
constexpr int unitsPerPoint = 4;
constexpr int layoutDpi = 72 * unitsPerPoint;
constexpr int pdfResolution = 300;

// The bands of the printing area, in points: the header's title line and rule on top,
// the footer's rule and line at the bottom, the body between them.
constexpr double titleHeight = 14.0;
constexpr double headerRuleY = 17.0;
constexpr double bodyTop = 26.0;
constexpr double footerHeight = 26.0;
constexpr double footerRuleGap = 8.0;
constexpr double footerTextGap = 12.0;
constexpr double ruleWidth = 0.5;
constexpr int titlePointSize = 10;
constexpr int footerPointSize = 8;
constexpr int bodyPointSize = 10;

constexpr double marginMillimetres = 15.0;

QFont reportFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(bodyPointSize);
    return font;
}

// A font for the header or footer in layout units (the painter is scaled to them).
QFont bandFont(const QFont &base, int pointSize, bool bold)
{
    QFont font = base;
    font.setPixelSize(pointSize * unitsPerPoint);
    font.setBold(bold);
    return font;
}

QSizeF printingAreaUnits(const QPageLayout &layout)
{
    // From millimetres, as the page layout rounds point sizes to whole points.
    return layout.paintRect(QPageLayout::Millimeter).size() * (72 / 25.4 * unitsPerPoint);
}

// "<text>: <path> (<reason>)"; the reason is left out where the system gave none, as when
// the finished file cannot take the old one's place (a file that never failed says what
// such a reason reads like).
QString fileMessage(const QString &text, const QString &path, const QFileDevice &file)
{
    const QString message = QStringLiteral("%1: %2").arg(text, QDir::toNativeSeparators(path));
    const QString reason = file.errorString();
    if (file.error() == QFileDevice::NoError || reason.isEmpty()
        || reason == QFile().errorString())
        return message;
    return QStringLiteral("%1 (%2)").arg(message, reason);
}

// A heading left alone at the foot of a page while what it heads starts on the next one
// moves to the next page too. The headings are taken in order, so a heading over a heading
// goes with it; each move lays out only what follows it.
void keepHeadingsWithNext(QTextDocument &document)
{
    const auto page = &ReportDocument::pageOf;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        QTextBlock next = block.next();
        while (next.isValid() && next.blockFormat().headingLevel() > 0)
            next = next.next();
        if (!next.isValid() || page(next) <= page(block))
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
        // The layout takes the break in only for the block itself: what follows is laid out
        // again, or it would keep its old places and be painted over by what moved down.
        document.markContentsDirty(block.position(), document.characterCount() - block.position());
    }
}

// Where the body may be read in parts: before every table that stands on its own at the top
// of the body, right after a heading, a paragraph or another table. Empty when the body is
// not plain enough to be cut safely (comments, scripts, preformatted text, tables or lists
// inside other boxes) or has no <body> tag; the first number is where the body starts.
QList<qsizetype> topLevelTableCuts(const QString &html)
{
    // boxes a table may stand inside; a cut there would part their opening and closing tags
    static const QRegularExpression boxTag(
        QStringLiteral("<(/?)(table|div|blockquote|ul|ol|dl|li|dd|dt|center|address|form|"
                       "fieldset|section|article|header|footer|main|nav|aside|figure|span|"
                       "font|a|b|i|u|s|em|strong|big|small|sub|sup|code|tt|cite|q|nobr)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression closedBefore(
        QStringLiteral("(</(h[1-6]|p|table)\\s*>|<body(\\s[^>]*)?>)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);

    const qsizetype body = ReportMarkup::bodyStart(html);
    if (body < 0 || ReportMarkup::hasRawText(html, body))
        return {};
    QList<qsizetype> cuts {body};
    int depth = 0;
    for (auto it = boxTag.globalMatch(html, body); it.hasNext();) {
        const QRegularExpressionMatch tag = it.next();
        if (!tag.captured(1).isEmpty()) {
            depth = std::max(0, depth - 1);
            continue;
        }
        if (depth == 0 && tag.captured(2).compare(QLatin1String("table"), Qt::CaseInsensitive) == 0) {
            const qsizetype from = std::max<qsizetype>(cuts.last(), tag.capturedStart() - 64);
            if (closedBefore.match(html.mid(from, tag.capturedStart() - from)).hasMatch())
                cuts.append(tag.capturedStart());
        }
        ++depth;
    }
    return cuts;
}

// Reads `html` into `document` as setHtml() does, but a large body one top-level table at a
// time: the reader's working copy of the markup is several times the size of the document it
// builds, and so holds only one part at a time. Each part is read with the page's head (its
// style sheet) and body tag, and the blank before each cut is left out, as the whole reading
// leaves out a blank before a table; the document comes out the same.
void readHtml(QTextDocument &document, const QString &html)
{
    const QList<qsizetype> cuts = topLevelTableCuts(html);
    if (cuts.size() < 3) {
        document.setHtml(html);
        return;
    }
    const auto part = [&](qsizetype from, qsizetype to) {
        while (to > from && html.at(to - 1).isSpace())
            --to;
        return QStringView(html).sliced(from, to - from);
    };
    const QString head = html.first(cuts.first());
    document.setHtml(part(0, cuts[1]).toString());
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    for (qsizetype index = 1; index < cuts.size(); ++index) {
        const QStringView text = index + 1 < cuts.size()
                                     ? part(cuts[index], cuts[index + 1])
                                     : QStringView(html).sliced(cuts[index]);
        cursor.movePosition(QTextCursor::End);
        cursor.insertHtml(head + text.toString());
    }
    document.setUndoRedoEnabled(undo);
}

} // namespace

int ReportDocument::pageOf(const QTextBlock &block)
{
    const QTextDocument &document = *block.document();
    const QRectF rect = document.documentLayout()->blockBoundingRect(block);
    const QTextLayout *layout = block.layout();
    const qreal top = layout && layout->lineCount() > 0 ? rect.top() + layout->lineAt(0).y()
                                                         : rect.top();
    return PageCanvas::printedPage(top, document.pageSize().height());
}

ReportDocument::ReportDocument(const QString &html, const QString &title,
                               QPageLayout::Orientation orientation, const QDate &printDate)
    : m_html(html)
    , m_title(title)
    , m_printDate(printDate)
    , m_pageLayout(QPageSize(QPageSize::A4), orientation,
                   QMarginsF(marginMillimetres, marginMillimetres, marginMillimetres,
                             marginMillimetres),
                   QPageLayout::Millimeter)
    , m_layoutDevice(std::make_unique<QImage>(1, 1, QImage::Format_Mono))
{
    const int dotsPerMetre = int(std::lround(layoutDpi / 0.0254));
    m_layoutDevice->setDotsPerMeterX(dotsPerMetre);
    m_layoutDevice->setDotsPerMeterY(dotsPerMetre);
}

ReportDocument::~ReportDocument() = default;
ReportDocument::ReportDocument(ReportDocument &&) noexcept = default;
ReportDocument &ReportDocument::operator=(ReportDocument &&) noexcept = default;

std::unique_ptr<QTextDocument> ReportDocument::newDocument(bool paged) const
{
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(m_layoutDevice.get());
    // Design metrics keep the line breaks independent of the device the pages go to.
    document->setUseDesignMetrics(true);
    document->setDefaultFont(reportFont());
    document->setDocumentMargin(0);
    document->setMetaInformation(QTextDocument::DocumentTitle, m_title);
    // On a page of no size nothing is laid out, so the text is read without a layout and
    // laid out once, on the pages, when they are asked for.
    document->setPageSize(QSizeF(0, 0));
    readHtml(*document, m_html);
    if (paged) {
        document->setPageSize(bodySize());
        keepHeadingsWithNext(*document);
    }
    return document;
}

const QTextDocument &ReportDocument::laidOut() const
{
    if (!m_document)
        m_document = newDocument(true);
    return *m_document;
}

QSizeF ReportDocument::bodySize() const
{
    const QSizeF area = printingAreaUnits(m_pageLayout);
    return QSizeF(area.width(), area.height() - (bodyTop + footerHeight) * unitsPerPoint);
}

void ReportDocument::setOwnLayout(bool enabled)
{
    m_ownLayoutEnabled = enabled;
}

const ReportPages *ReportDocument::ownLayout() const
{
    if (!m_ownLayoutEnabled)
        return nullptr;
    if (!m_ownLayoutTried) {
        m_ownLayoutTried = true;
        m_ownLayout = ReportPages::layOut(m_html, bodySize(), reportFont(), m_layoutDevice.get());
    }
    return m_ownLayout.get();
}

int ReportDocument::pageCount() const
{
    if (const ReportPages *pages = ownLayout())
        return pages->pageCount();
    return laidOut().pageCount();
}

QString ReportDocument::pageCaption(int page, int pageCount)
{
    return pageCaptionPattern().arg(page).arg(pageCount);
}

QString ReportDocument::pageCaptionPattern()
{
    return QStringLiteral("%1. oldal / %2");
}

QString ReportDocument::printDateText() const
{
    return m_printDate.toString(QStringLiteral("yyyy.MM.dd."));
}

bool ReportDocument::print(QPagedPaintDevice *device) const
{
    QPainter painter;
    if (!device || !painter.begin(device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QSizeF area = printingAreaUnits(m_pageLayout);
    const qreal scale = std::min(device->width() / area.width(), device->height() / area.height());
    painter.scale(scale, scale);

    const QPageRanges ranges = device->pageRanges();
    const int pages = pageCount();
    bool firstPage = true;
    for (int page = 1; page <= pages; ++page) {
        if (!ranges.isEmpty() && !ranges.contains(page))
            continue;
        if (!firstPage && !device->newPage())
            return false;
        firstPage = false;
        paintPage(painter, page, pages);
    }
    return painter.end();
}

void ReportDocument::paintPage(QPainter &painter, int page, int pageCount) const
{
    const QSizeF area = printingAreaUnits(m_pageLayout);
    const QSizeF body = bodySize();
    const QFont base = reportFont();
    const QPen rule(Qt::black, ruleWidth * unitsPerPoint);

    painter.save();

    const QFont titleFont = bandFont(base, titlePointSize, true);
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    const QRectF titleRect(0, 0, area.width(), titleHeight * unitsPerPoint);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignBottom,
                     QFontMetricsF(titleFont).elidedText(m_title, Qt::ElideRight,
                                                         titleRect.width()));
    painter.setPen(rule);
    painter.drawLine(QLineF(0, headerRuleY * unitsPerPoint, area.width(),
                            headerRuleY * unitsPerPoint));

    painter.save();
    painter.translate(0, bodyTop * unitsPerPoint);
    painter.setClipRect(QRectF(QPointF(0, 0), body));
    if (const ReportPages *pages = ownLayout()) {
        pages->paint(painter, page - 1);
    } else {
        const QRectF pageRect(QPointF(0, (page - 1) * body.height()), body);
        painter.translate(0, -pageRect.top());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = pageRect;
        context.palette.setColor(QPalette::Text, Qt::black);
        m_document->documentLayout()->draw(&painter, context);
    }
    painter.restore();

    const double footerTop = area.height() - footerHeight * unitsPerPoint;
    const double ruleY = footerTop + footerRuleGap * unitsPerPoint;
    painter.setPen(rule);
    painter.drawLine(QLineF(0, ruleY, area.width(), ruleY));
    painter.setFont(bandFont(base, footerPointSize, false));
    painter.setPen(Qt::black);
    const QRectF footerRect(0, footerTop + footerTextGap * unitsPerPoint, area.width(),
                            (footerHeight - footerTextGap) * unitsPerPoint);
    painter.drawText(footerRect, Qt::AlignLeft | Qt::AlignVCenter, printDateText());
    painter.drawText(footerRect, Qt::AlignRight | Qt::AlignVCenter,
                     pageCaption(page, pageCount));

    painter.restore();
}

QString ReportDocument::browserHtml() const
{
    // The file is written in UTF-8 whatever the template said, so its own charset goes and
    // ours comes first in the head; a browser tab shows the report title.
    static const QRegularExpression charsetMeta(QStringLiteral("<meta[^>]*charset[^>]*>"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression headTag(QStringLiteral("<head(\\s[^>]*)?>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression htmlTag(QStringLiteral("<html(\\s[^>]*)?>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression titleTag(QStringLiteral("<title(\\s[^>]*)?>"),
                                             QRegularExpression::CaseInsensitiveOption);

    QString html = m_html;
    html.remove(charsetMeta);
    QString head = QStringLiteral("<meta charset=\"utf-8\">");
    if (!html.contains(titleTag))
        head += QStringLiteral("<title>%1</title>").arg(m_title.toHtmlEscaped());

    if (const QRegularExpressionMatch match = headTag.match(html); match.hasMatch())
        return html.insert(match.capturedEnd(), head);
    if (const QRegularExpressionMatch match = htmlTag.match(html); match.hasMatch())
        return html.insert(match.capturedEnd(), QStringLiteral("<head>%1</head>").arg(head));
    return QStringLiteral("<!DOCTYPE html>\n<html><head>%1</head><body>%2</body></html>\n")
        .arg(head, html);
}

bool ReportDocument::write(QIODevice &device, ReportFormat format) const
{
    QByteArray bytes;
    switch (format) {
    case ReportFormat::Pdf: {
        QPdfWriter writer(&device);
        writer.setResolution(pdfResolution);
        writer.setPageLayout(m_pageLayout);
        writer.setTitle(m_title);
        writer.setCreator(QStringLiteral("Nutrisor"));
        return print(&writer);
    }
    case ReportFormat::Rtf:
        // The word processor lays out its own pages: the RTF keeps each heading with what
        // follows, so it needs no pages laid out here, and keeps only the design's breaks.
        bytes = RtfWriter::toRtf(*newDocument(false), m_pageLayout,
                                 {m_title, printDateText(), pageCaptionPattern()});
        break;
    case ReportFormat::Text:
        bytes = PlainTextWriter::toPlainText(m_document ? *m_document : *newDocument(false))
                    .toUtf8();
        break;
    case ReportFormat::Html:
        bytes = browserHtml().toUtf8();
        break;
    }
    return device.write(bytes) == bytes.size();
}

bool ReportDocument::exportTo(const QString &path, ReportFormat format, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = fileMessage(QStringLiteral("A fájl nem hozható létre"), path, file);
        return false;
    }
    if (!write(file, format)) {
        if (error)
            *error = fileMessage(QStringLiteral("A kimutatás nem írható ide"), path, file);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = fileMessage(QStringLiteral("A kimutatás nem írható ide"), path, file);
        return false;
    }
    return true;
}
