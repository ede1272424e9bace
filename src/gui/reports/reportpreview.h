#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>

class FileChooser;
class Messenger;
class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPagedPaintDevice;
class QPrinter;
class ReportDocument;

// Pages that paint themselves rather than an HTML report: their layout, their number and
// the routine that paints them onto a device (in the page range the device was given).
struct PaintedPages
{
    QString title;
    QPageLayout pageLayout;
    int pageCount = 1;
    std::function<bool(QPagedPaintDevice *)> print;
};

// The print preview "Nyomtatási kép" of a report: its pages as they print, with a toolbar
// to zoom, page through, print on a printer chosen in the system's print dialog, and export
// to a PDF, RTF, text or HTML file. The caller owns the report, the file chooser and the
// messenger; they must outlive the dialog.
class ReportPreview final : public QDialog
{
    Q_OBJECT

public:
    ReportPreview(const ReportDocument &report, FileChooser &fileChooser, Messenger &messenger,
                  QWidget *parent = nullptr);
    // Painted pages; the export writes them to a PDF file only.
    ReportPreview(PaintedPages pages, FileChooser &fileChooser, Messenger &messenger,
                  QWidget *parent = nullptr);
    ~ReportPreview() override;

    // Where the export dialog opens: a directory, or a path with the suggested file name.
    // A successful export remembers its file here.
    void setExportPath(const QString &path) { m_exportPath = path; }
    QString exportPath() const { return m_exportPath; }

    int currentPage() const;
    int pageCount() const;
    // "2. oldal / 3" as the toolbar shows it.
    QString pageCounterText() const;

    void zoomIn();
    void zoomOut();
    void fitWidth();
    void previousPage();
    void nextPage();

    // Asks for the printer in the system's print dialog, then prints the chosen pages.
    void printReport();

    // Asks for the file and its format, then writes it; a file that cannot be written is
    // said so through the messenger. True when a file was written.
    bool exportReport();

private:
    QAction *addToolAction(const QString &text, const QString &buttonText, const QString &name,
                           const QList<QKeySequence> &shortcuts);
    void buildToolBar();
    void updatePageCounter();
    bool exportPdf();

    const ReportDocument *m_report = nullptr; // none for painted pages
    PaintedPages m_pages;
    FileChooser &m_fileChooser;
    Messenger &m_messenger;
    std::unique_ptr<QPrinter> m_previewPrinter;
    QPrintPreviewWidget *m_preview = nullptr;
    QLabel *m_pageCounter = nullptr;
    QAction *m_previousPageAction = nullptr;
    QAction *m_nextPageAction = nullptr;
    QString m_exportPath;
};
