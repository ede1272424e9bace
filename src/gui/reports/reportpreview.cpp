#include "gui/reports/reportpreview.h"

#include "core/messages/filechooser.h"
#include "core/messages/messenger.h"
#include "core/reports/reportdocument.h"
#include "core/reports/reportformat.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPageRanges>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr qreal zoomStep = 1.25;

} // namespace

ReportPreview::ReportPreview(const ReportDocument &report, FileChooser &fileChooser,
                             Messenger &messenger, QWidget *parent)
    : ReportPreview(PaintedPages {report.title(), report.pageLayout(), report.pageCount(),
                                  [&report](QPagedPaintDevice *device) {
                                      return report.print(device);
                                  }},
                    fileChooser, messenger, parent)
{
    m_report = &report;
}

ReportPreview::ReportPreview(PaintedPages pages, FileChooser &fileChooser, Messenger &messenger,
                             QWidget *parent)
    : QDialog(parent)
    , m_pages(std::move(pages))
    , m_fileChooser(fileChooser)
    , m_messenger(messenger)
    , m_previewPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setWindowTitle(QStringLiteral("Nyomtatási kép"));
    m_previewPrinter->setPageLayout(m_pages.pageLayout);
    m_previewPrinter->setDocName(m_pages.title);

    m_preview = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) { m_pages.print(printer); });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this,
            &ReportPreview::updatePageCounter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(findChild<QToolBar *>(QStringLiteral("toolBar")));
    layout->addWidget(m_preview, 1);

    // An A4 page across and most of it down, within the screen.
    QSize size(820, 960);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    updatePageCounter();
}

ReportPreview::~ReportPreview() = default;

QAction *ReportPreview::addToolAction(const QString &text, const QString &buttonText,
                                      const QString &name, const QList<QKeySequence> &shortcuts)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    // The button shows its caption as written, dots included.
    action->setIconText(buttonText);
    action->setShortcuts(shortcuts);
    action->setShortcutContext(Qt::WindowShortcut);
    if (!shortcuts.isEmpty()) {
        action->setToolTip(QStringLiteral("%1 (%2)").arg(
            text, shortcuts.first().toString(QKeySequence::NativeText)));
    }
    addAction(action);
    return action;
}

void ReportPreview::buildToolBar()
{
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar->setMovable(false);

    QAction *print = addToolAction(QStringLiteral("Nyomtatás..."), QStringLiteral("Nyomtatás..."),
                                   QStringLiteral("printAction"), {QKeySequence::Print});
    connect(print, &QAction::triggered, this, &ReportPreview::printReport);
    QAction *exportAction = addToolAction(
        QStringLiteral("Exportálás..."), QStringLiteral("Exportálás..."),
        QStringLiteral("exportAction"), {QKeySequence::Save});
    connect(exportAction, &QAction::triggered, this, [this] { exportReport(); });
    toolBar->addAction(print);
    toolBar->addAction(exportAction);
    toolBar->addSeparator();

    // The zoom and page buttons are short signs; their names are in the tool tips.
    QAction *zoomInAction = addToolAction(
        QStringLiteral("Nagyítás"), QStringLiteral("+"), QStringLiteral("zoomInAction"),
        {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence::ZoomIn});
    connect(zoomInAction, &QAction::triggered, this, &ReportPreview::zoomIn);
    QAction *zoomOutAction = addToolAction(
        QStringLiteral("Kicsinyítés"), QStringLiteral("\u2212"), QStringLiteral("zoomOutAction"),
        {QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut});
    connect(zoomOutAction, &QAction::triggered, this, &ReportPreview::zoomOut);
    QAction *fitWidthAction = addToolAction(
        QStringLiteral("Teljes szélesség"), QStringLiteral("Teljes szélesség"),
        QStringLiteral("fitWidthAction"), {QKeySequence(Qt::Key_Asterisk)});
    connect(fitWidthAction, &QAction::triggered, this, &ReportPreview::fitWidth);
    toolBar->addAction(zoomInAction);
    toolBar->addAction(zoomOutAction);
    toolBar->addAction(fitWidthAction);
    toolBar->addSeparator();

    m_previousPageAction = addToolAction(
        QStringLiteral("Előző oldal"), QStringLiteral("\u25c0"),
        QStringLiteral("previousPageAction"), {QKeySequence(Qt::Key_PageUp)});
    connect(m_previousPageAction, &QAction::triggered, this, &ReportPreview::previousPage);
    m_nextPageAction = addToolAction(
        QStringLiteral("Következő oldal"), QStringLiteral("\u25b6"),
        QStringLiteral("nextPageAction"), {QKeySequence(Qt::Key_PageDown)});
    connect(m_nextPageAction, &QAction::triggered, this, &ReportPreview::nextPage);
    m_pageCounter = new QLabel(toolBar);
    m_pageCounter->setObjectName(QStringLiteral("pageCounter"));
    m_pageCounter->setContentsMargins(6, 0, 6, 0);
    toolBar->addAction(m_previousPageAction);
    toolBar->addWidget(m_pageCounter);
    toolBar->addAction(m_nextPageAction);

    auto *spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    // Escape closes the dialog as any dialog's does; the button says so too.
    auto *closeAction = new QAction(QStringLiteral("Bezárás"), this);
    closeAction->setObjectName(QStringLiteral("closeAction"));
    closeAction->setToolTip(QStringLiteral("Bezárás (Esc)"));
    connect(closeAction, &QAction::triggered, this, &QDialog::reject);
    toolBar->addAction(closeAction);
}

int ReportPreview::currentPage() const
{
    return m_preview->currentPage();
}

int ReportPreview::pageCount() const
{
    return m_pages.pageCount;
}

QString ReportPreview::pageCounterText() const
{
    return ReportDocument::pageCaption(std::max(1, currentPage()), pageCount());
}

void ReportPreview::zoomIn()
{
    m_preview->zoomIn(zoomStep);
}

void ReportPreview::zoomOut()
{
    m_preview->zoomOut(zoomStep);
}

void ReportPreview::fitWidth()
{
    m_preview->fitToWidth();
}

void ReportPreview::previousPage()
{
    m_preview->setCurrentPage(currentPage() - 1);
    updatePageCounter();
}

void ReportPreview::nextPage()
{
    m_preview->setCurrentPage(currentPage() + 1);
    updatePageCounter();
}

void ReportPreview::updatePageCounter()
{
    m_pageCounter->setText(pageCounterText());
    m_previousPageAction->setEnabled(currentPage() > 1);
    m_nextPageAction->setEnabled(currentPage() < pageCount());
}

void ReportPreview::printReport()
{
    // A printer of its own, so that what the user picks (or a file to print to) leaves the
    // preview as it is.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_pages.pageLayout);
    printer.setDocName(m_pages.title);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Nyomtatás"));
    dialog.setMinMax(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // "All pages" after a range was chosen once must not keep the old range.
    if (printer.printRange() == QPrinter::AllPages)
        printer.setPageRanges(QPageRanges());
    m_pages.print(&printer);
}

bool ReportPreview::exportReport()
{
    if (!m_report)
        return exportPdf();
    int chosenFilter = -1;
    const QString chosen = m_fileChooser.saveFileNameWithFilter(
        QStringLiteral("Exportálás"), m_exportPath, reportFileFilter(), &chosenFilter);
    if (chosen.isEmpty())
        return false;

    const QList<ReportFormatChoice> &choices = reportFormatChoices();
    const ReportFormat chosenFormat = chosenFilter >= 0 && chosenFilter < choices.size()
                                          ? choices[chosenFilter].format
                                          : ReportFormat::Pdf;
    const ReportTarget target = reportTargetFor(chosen, chosenFormat);
    QString error;
    if (!m_report->exportTo(target.path, target.format, &error)) {
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
        return false;
    }
    m_exportPath = target.path;
    return true;
}

bool ReportPreview::exportPdf()
{
    const QString chosen = m_fileChooser.saveFileName(
        QStringLiteral("Exportálás"), m_exportPath, QStringLiteral("PDF (*.pdf)"));
    if (chosen.isEmpty())
        return false;
    const QString path = chosen.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
                             ? chosen
                             : chosen + QStringLiteral(".pdf");
    QPdfWriter writer(path);
    writer.setPageLayout(m_pages.pageLayout);
    writer.setTitle(m_pages.title);
    if (!m_pages.print(&writer)) {
        m_messenger.display(QStringLiteral("A fájl nem írható: %1").arg(path), ButtonSet::OkOnly,
                            true, MessageKind::Error);
        return false;
    }
    m_exportPath = path;
    return true;
}
