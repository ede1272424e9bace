#pragma once

#include "core/reports/reportformat.h"

#include <QDate>
#include <QPageLayout>
#include <QString>

#include <memory>

class QIODevice;
class QImage;
class QPagedPaintDevice;
class QPainter;
class QTextBlock;
class QTextDocument;
class ReportPages;

// A filled report laid out on A4 pages: the body from the report's HTML, and on every page
// a running header (the report title over a thin rule) and a footer (the printing date and
// "<page>. oldal / <pages>"). It paints itself onto a printer or the preview and writes
// itself to a file in any of the export formats. The document is laid out once, at a fixed
// resolution of its own, so the preview, the printer and the PDF show the same page breaks;
// it is built only when a form that needs it asks for it (the web page needs none, the plain
// text no pages).
class ReportDocument
{
public:
    // html: the filled report (a whole HTML document in UTF-8 text); title: the running
    // header of every page; printDate: printed in the footer.
    ReportDocument(const QString &html, const QString &title,
                   QPageLayout::Orientation orientation = QPageLayout::Portrait,
                   const QDate &printDate = QDate::currentDate());
    ~ReportDocument();

    ReportDocument(ReportDocument &&) noexcept;
    ReportDocument &operator=(ReportDocument &&) noexcept;

    const QString &html() const { return m_html; }
    const QString &title() const { return m_title; }
    QDate printDate() const { return m_printDate; }

    // The body as laid out, one page of the page size per printed page.
    const QTextDocument &document() const { return laidOut(); }

    // A4 in the report's orientation with 15 mm margins; the header and the footer lie
    // inside the margins' printing area.
    QPageLayout pageLayout() const { return m_pageLayout; }

    int pageCount() const;
    // The printed pages are laid out by the program itself wherever the markup allows it
    // (see ReportPages), otherwise by the text document; off, always by the text document.
    void setOwnLayout(bool enabled);
    bool hasOwnLayout() const { return ownLayout() != nullptr; }
    // The page (from 0) that prints the first line of `block`, a block of a laid-out body.
    static int pageOf(const QTextBlock &block);

    // "2. oldal / 3".
    static QString pageCaption(int page, int pageCount);
    // The same with %1 for the page and %2 for the number of pages.
    static QString pageCaptionPattern();
    // "2024.03.05.", as the footer shows the printing date.
    QString printDateText() const;

    // Paints the pages onto a printer, the preview's printer or a PDF writer, in the page
    // range the device was given (every page when none). The pages are scaled to fit the
    // device's printing area, so another paper size shrinks them rather than cutting them.
    // False when nothing could be painted on the device.
    bool print(QPagedPaintDevice *device) const;

    // The report in `format` on `device` (HTML and plain text in UTF-8).
    bool write(QIODevice &device, ReportFormat format) const;

    // Writes the report to `path` through a temporary file that replaces the file only when
    // it is complete: a failure leaves an older file as it was and no partial one. False,
    // with a message naming the file in `error`, when the file cannot be written.
    bool exportTo(const QString &path, ReportFormat format, QString *error = nullptr) const;

private:
    // The body with the report's fonts; laid out on pages when `paged`.
    std::unique_ptr<QTextDocument> newDocument(bool paged) const;
    const QTextDocument &laidOut() const;
    const ReportPages *ownLayout() const;
    QSizeF bodySize() const;
    void paintPage(QPainter &painter, int page, int pageCount) const;
    QString browserHtml() const;

    QString m_html;
    QString m_title;
    QDate m_printDate;
    QPageLayout m_pageLayout;
    // The layout's fonts and lengths are measured on this device (held here, as the layout
    // keeps only a pointer to it).
    std::unique_ptr<QImage> m_layoutDevice;
    // Built by the first use that needs the pages.
    mutable std::unique_ptr<QTextDocument> m_document;
    bool m_ownLayoutEnabled = true;
    mutable bool m_ownLayoutTried = false;
    mutable std::unique_ptr<ReportPages> m_ownLayout;
};
