#include "gui/purchase/purchasebox.h"

#include "core/messages/filechooser.h"
#include "core/messages/messenger.h"
#include "core/purchase/purchasereport.h"
#include "core/reports/reportdocument.h"
#include "gui/reports/reportpreview.h"
#include "gui/ui/texttablemodel.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

namespace {
constexpr int rowHeight = 19;
constexpr int boxWidth = 560;
constexpr int boxHeight = 520;
constexpr int buttonWidth = 90;
// Right of the step list, where the other boxes open.
const QPoint boxPosition(175, 5);

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}
} // namespace

PurchaseBox::PurchaseBox(
    Messenger &messenger, FileChooser &fileChooser, const QString &startDirectory, QWidget *parent)
    : MovableBox(QStringLiteral("Vásárlás tervezés"), parent)
    , m_messenger(messenger)
    , m_fileChooser(&fileChooser)
    , m_startDirectory(startDirectory)
{
    setObjectName(QStringLiteral("purchaseBox"));
    m_model = new TextTableModel(this);
    m_model->setAlignments({Qt::Alignment()}, Qt::AlignRight | Qt::AlignVCenter);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("purchaseGrid"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_grid->horizontalHeader()->setHighlightSections(false);

    m_readList = new QListWidget(this);
    m_readList->setObjectName(QStringLiteral("readPlansList"));
    m_failedList = new QListWidget(this);
    m_failedList->setObjectName(QStringLiteral("failedPlansList"));

    m_closeButton = new QPushButton(QStringLiteral("Bezárás"), this);
    m_closeButton->setObjectName(QStringLiteral("closePurchaseButton"));
    m_closeButton->setFixedWidth(buttonWidth);
    connect(m_closeButton, &QPushButton::clicked, this, &PurchaseBox::closeBox);
    m_printButton = new QPushButton(QStringLiteral("Nyomtatás"), this);
    m_printButton->setObjectName(QStringLiteral("printPurchaseButton"));
    m_printButton->setFixedWidth(buttonWidth);
    connect(m_printButton, &QPushButton::clicked, this, &PurchaseBox::printList);

    auto *layout = new QGridLayout(this);
    layout->addWidget(caption(QStringLiteral("Összesített termésnövelő anyagok a sikeresen "
                                             "megnyitott tervek alapján:"),
                          this),
        0, 0, 1, 2);
    layout->addWidget(m_grid, 1, 0, 1, 2);
    layout->addWidget(caption(QStringLiteral("Az összesítés a kijelöt tervek ütemterveinek "
                                             "összegzésével lett számítva."),
                          this),
        2, 0, 1, 2);
    layout->addWidget(caption(QStringLiteral("Sikeresen megnyitott tervek:"), this), 3, 0);
    layout->addWidget(caption(QStringLiteral("Sikertelen megnyitások:"), this), 3, 1);
    layout->addWidget(m_readList, 4, 0);
    layout->addWidget(m_failedList, 4, 1);
    layout->setRowStretch(1, 3);
    layout->setRowStretch(4, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_printButton);
    layout->addLayout(buttons, 5, 0, 1, 2);
    move(boxPosition);
    resize(boxWidth, boxHeight);
    showList();
    hide();

    connect(qApp, &QApplication::focusChanged, this, &PurchaseBox::hideWhenFocusLeaves);
}

void PurchaseBox::planPurchases()
{
    closeBox();
    const QStringList files = m_fileChooser->openFileNames(
        QStringLiteral("Vásárlás tervezés"), m_startDirectory, fileFilter());
    if (files.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_list = PurchaseList::fromFiles(files);
    QApplication::restoreOverrideCursor();
    showList();
    show();
    raise();
    m_closeButton->setFocus();
}

void PurchaseBox::closeBox()
{
    hide();
    m_list = PurchaseList();
    showList();
}

void PurchaseBox::printList()
{
    QString error;
    const std::optional<RenderedReport> report
        = PurchaseReport::render(m_list, m_startDirectory, &error);
    if (!report) {
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
        return;
    }
    const ReportDocument document(report->html, PurchaseReport::title(), report->orientation);
    if (m_reportViewer) {
        m_reportViewer(document);
        return;
    }
    ReportPreview preview(document, *m_fileChooser, m_messenger, this);
    preview.setExportPath(m_startDirectory);
    preview.exec();
}

void PurchaseBox::showList()
{
    // The grid keeps one empty row below the materials.
    QList<QStringList> rows = m_list.rows();
    rows.append({QString(), QString()});
    m_model->setTable({QStringLiteral("Megnevezés"), QStringLiteral("Mennyiség  (kg)")}, rows);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grid->resizeColumnToContents(1);
    m_grid->setColumnWidth(1, m_grid->columnWidth(1) + 16); // room beside the heading
    m_readList->clear();
    m_readList->addItems(m_list.readPlans());
    m_failedList->clear();
    m_failedList->addItems(m_list.failedPlans());
}

void PurchaseBox::hideWhenFocusLeaves(QWidget *old, QWidget *now)
{
    // Only a control of the main window takes the box's place; a dialog does not.
    if (!isVisible() || !old || !now || now->window() != window())
        return;
    if (isAncestorOf(old) && !isAncestorOf(now))
        closeBox();
}
