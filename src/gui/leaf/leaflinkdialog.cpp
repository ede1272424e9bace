#include "gui/leaf/leaflinkdialog.h"

#include "core/leaf/leaflinks.h"
#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem *cellItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void setRow(QTableWidget *grid, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column)
        grid->setItem(row, column, cellItem(cells[column]));
}

QGroupBox *titledBox(const QString &title, QWidget *content)
{
    auto *box = new QGroupBox(title);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

} // namespace

LeafLinkDialog::LeafLinkDialog(Plan &plan, const ReferenceDatabase &reference,
                               Messenger &messenger, QWidget *parent)
    : QDialog(parent)
    , m_plan(plan)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("leafLinkDialog"));
    setWindowTitle(QStringLiteral("Talajminták és levélminták összekapcsolása"));

    m_soilList = makeGrid("soilList", {QStringLiteral("Sorsz."), QStringLiteral("Mintajel")});
    m_leafList = makeGrid("leafList", {QStringLiteral("G.év"), QStringLiteral("T.s.sz"),
                                       QStringLiteral("M. azon"), QStringLiteral("Név"),
                                       QStringLiteral("Dátum"), QStringLiteral("Ter."),
                                       QStringLiteral("Faj")});
    m_linkGrid = makeGrid("linkGrid", LeafLinks::headings());
    m_linkGrid->hideColumn(LeafLinks::LeafId); // the register's key, for the program only
    m_pairButton = new QPushButton(QStringLiteral("->> Kijelötltek párosítása ->>"));
    m_pairButton->setObjectName(QStringLiteral("pairButton"));
    m_removeButton = new QPushButton(QStringLiteral("összekapcsolás törlése"));
    m_removeButton->setObjectName(QStringLiteral("removeLinkButton"));
    auto *closeButton = new QPushButton(QStringLiteral("bezárás"));
    closeButton->setObjectName(QStringLiteral("closeButton"));

    // The two lists side by side, the pairing button under them, the links below.
    auto *lists = new QHBoxLayout;
    lists->addWidget(titledBox(QStringLiteral("talajminták"), m_soilList), 1);
    lists->addWidget(titledBox(QStringLiteral("levélminták"), m_leafList), 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_removeButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 3);
    layout->addWidget(m_pairButton, 0, Qt::AlignHCenter);
    layout->addWidget(m_linkGrid, 2);
    layout->addLayout(buttons);

    m_samples = LeafRegister::list(reference).value_or(QList<LeafSample>());
    fillSoilList();
    fillLeafList();
    fillLinks();

    connect(m_pairButton, &QPushButton::clicked, this, &LeafLinkDialog::addLink);
    connect(m_removeButton, &QPushButton::clicked, this, &LeafLinkDialog::removeLink);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    for (QTableWidget *grid : {m_soilList, m_leafList, m_linkGrid})
        connect(grid, &QTableWidget::itemSelectionChanged, this, &LeafLinkDialog::updateButtons);
    updateButtons();
    resize(1000, 620);
}

void LeafLinkDialog::open(Plan &plan, const ReferenceDatabase &reference, Messenger &messenger,
                          QWidget *parent)
{
    LeafLinkDialog dialog(plan, reference, messenger, parent);
    dialog.exec();
}

QTableWidget *LeafLinkDialog::makeGrid(const char *name, const QStringList &headings)
{
    auto *grid = new QTableWidget(0, int(headings.size()), this);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeaderLabels(headings);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void LeafLinkDialog::fillSoilList()
{
    // One row per soil column, however often the box opens.
    const QList<QStringList> rows = LeafLinks::soilList(m_plan.items());
    m_soilList->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row)
        setRow(m_soilList, row, rows[row]);
}

void LeafLinkDialog::fillLeafList()
{
    m_leafList->setRowCount(int(m_samples.size()));
    for (int row = 0; row < m_samples.size(); ++row) {
        const LeafSample &sample = m_samples[row];
        setRow(m_leafList, row,
               {sample.farmingYear, sample.fieldSerial, sample.sampleMark, sample.name,
                Text::formatShortDate(sample.date),
                sample.area ? Text::formatGeneral(*sample.area) : QString(), sample.species});
    }
}

void LeafLinkDialog::fillLinks()
{
    const TextGrid &links = m_plan.items().leafLinks;
    const int count = LeafLinks::linkCount(links);
    m_linkGrid->setRowCount(count);
    for (int row = 1; row <= count; ++row) {
        QStringList cells;
        for (int column = 0; column < LeafLinks::columnCount; ++column)
            cells.append(links.cell(row, column));
        setRow(m_linkGrid, row - 1, cells);
    }
}

void LeafLinkDialog::updateButtons()
{
    // Pairing needs both a soil column and a leaf sample: a link without a leaf sample
    // would have no Id.
    m_pairButton->setEnabled(!m_soilList->selectedItems().isEmpty()
                             && !m_leafList->selectedItems().isEmpty());
    m_removeButton->setEnabled(!m_linkGrid->selectedItems().isEmpty());
}

void LeafLinkDialog::addLink()
{
    const int soilRow = m_soilList->currentRow();
    const int leafRow = m_leafList->currentRow();
    if (m_soilList->selectedItems().isEmpty() || m_leafList->selectedItems().isEmpty()
        || soilRow < 0 || leafRow < 0 || leafRow >= m_samples.size())
        return;
    const QString soilMark = m_soilList->item(soilRow, 1)->text();
    const Outcome<TextGrid> links
        = LeafLinks::addLink(m_plan.items().leafLinks, soilMark, m_samples[leafRow]);
    if (!links) {
        m_messenger.inform(links.refusal());
        return;
    }
    m_plan.setLeafLinks(*links);
    fillLinks();
}

void LeafLinkDialog::removeLink()
{
    if (m_linkGrid->selectedItems().isEmpty())
        return;
    const std::optional<TextGrid> links
        = LeafLinks::removeLink(m_plan.items().leafLinks, m_linkGrid->currentRow() + 1);
    if (!links)
        return;
    m_plan.setLeafLinks(*links);
    fillLinks();
    updateButtons();
}
