#include "gui/reference/needtabledialog.h"

#include "core/data/reference/cropeditordata.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/messages/messenger.h"
#include "core/plan/elements.h"
#include "gui/ui/controls.h"
#include "gui/ui/filteredcelldelegate.h"
#include "gui/ui/numberkeyfilter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int siteColumnWidth = 240; // the longest site category name whole
constexpr int levelColumnWidth = 82;
constexpr int elementCount = 3; // N, P and K have a specific need
constexpr int rowHeight = 19;


// Only numbers are typed into the grids: digits, comma, arrows, Backspace, Tab and Delete.
void filterNumberKeys(QTableWidget *grid)
{
    auto *filter = new NumberKeyFilter(NumberKeyFilter::Mode::Grid, {}, grid);
    grid->installEventFilter(filter);
    grid->setItemDelegate(new FilteredCellDelegate(filter, grid));
}

QTableWidget *makeGrid(const QString &name, const QStringList &headings, QWidget *parent)
{
    auto *grid = new QTableWidget(0, int(headings.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->horizontalHeader()->setDefaultSectionSize(levelColumnWidth);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // a digit typed on a cell starts editing it, as in the soil-sample grid
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed
                          | QAbstractItemView::SelectedClicked);
    filterNumberKeys(grid);
    return grid;
}

} // namespace

NeedTableDialog::NeedTableDialog(Messenger &messenger, ReferenceDatabase &reference,
                                 QWidget *parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_reference(reference)
{
    setObjectName(QStringLiteral("needTableDialog"));
    setWindowTitle(QStringLiteral("Növények fajlagos tápanyagigénye (kg/t)"));
    setModal(true);
    buildControls();
    buildNewRowPanel();

    connect(m_cropBox, &QComboBox::currentIndexChanged, this, &NeedTableDialog::chooseCrop);
    connect(m_elementBox, &QComboBox::currentIndexChanged, this,
            &NeedTableDialog::chooseElement);
    connect(m_addCropButton, &QPushButton::clicked, this, &NeedTableDialog::addCropRequested);
    connect(m_needGrid, &QTableWidget::itemSelectionChanged, this,
            &NeedTableDialog::updateCommands);
    connect(m_closeButton, &QPushButton::clicked, this, &NeedTableDialog::reject);
    connect(m_restoreDefaultsButton, &QPushButton::clicked, this,
            &NeedTableDialog::restoreDefaults);
    connect(m_newRowButton, &QPushButton::clicked, this, &NeedTableDialog::openNewRowPanel);
    connect(m_deleteRowButton, &QPushButton::clicked, this, &NeedTableDialog::deleteRow);
    connect(m_storeButton, &QPushButton::clicked, this, &NeedTableDialog::store);
    connect(m_cancelNewRowButton, &QPushButton::clicked, m_newRowPanel, &QWidget::hide);
    connect(m_addRowButton, &QPushButton::clicked, this, &NeedTableDialog::addNewRow);
    // A crop added, renamed or deleted meanwhile (through "+") shows in the list at once.
    connect(&m_reference, &ReferenceDatabase::tableChanged, this, [this](const QString &table) {
        if (table == Tables::Nov::name)
            reloadCrops();
    });

    reloadCrops();
    updateCommands();
}

void NeedTableDialog::buildControls()
{
    m_cropBox = new QComboBox(this);
    m_cropBox->setObjectName(QStringLiteral("cropBox"));
    m_cropBox->setMinimumWidth(260);
    m_cropBox->setPlaceholderText(QStringLiteral("(válasszon növényt)"));
    m_addCropButton
        = Controls::makeButton(QStringLiteral("+"), QStringLiteral("addCropButton"), this);
    m_addCropButton->setFixedWidth(25);
    m_elementBox = new QComboBox(this);
    m_elementBox->setObjectName(QStringLiteral("elementBox"));
    for (int element = 0; element < elementCount; ++element)
        m_elementBox->addItem(Elements::checkBoxNames()[element]);

    QStringList headings {QStringLiteral("Termőhely \\ Ellátottság"), QStringLiteral("Igen Gyenge")};
    for (int level = 2; level <= NeedTable::levelCount; ++level)
        headings.append(Elements::supplyLevelName(level));
    m_needGrid = makeGrid(QStringLiteral("needGrid"), headings, this);
    m_needGrid->setColumnWidth(0, siteColumnWidth);
    m_needGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_needGrid->setMinimumSize(siteColumnWidth + NeedTable::levelCount * levelColumnWidth + 4,
                               7 * rowHeight + 30);

    m_closeButton
        = Controls::makeButton(QStringLiteral("Bezárás"), QStringLiteral("closeButton"), this);
    m_restoreDefaultsButton = Controls::makeButton(QStringLiteral("Fejlesztői beállítás"),
                                                   QStringLiteral("restoreDefaultsButton"), this);
    m_newRowButton
        = Controls::makeButton(QStringLiteral("Új sor"), QStringLiteral("newRowButton"), this);
    m_deleteRowButton = Controls::makeButton(QStringLiteral("Sor törlés"),
                                             QStringLiteral("deleteRowButton"), this);
    m_storeButton
        = Controls::makeButton(QStringLiteral("Rögzítés"), QStringLiteral("storeButton"), this);
    for (QPushButton *button : {m_addCropButton, m_closeButton, m_restoreDefaultsButton,
                                m_newRowButton, m_deleteRowButton, m_storeButton})
        button->setAutoDefault(false);

    auto *choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("Növény :"), this));
    choices->addWidget(m_cropBox);
    choices->addWidget(m_addCropButton);
    choices->addSpacing(20);
    choices->addWidget(new QLabel(QStringLiteral("Elem :"), this));
    choices->addWidget(m_elementBox);
    choices->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_restoreDefaultsButton);
    buttons->addStretch();
    buttons->addWidget(m_newRowButton);
    buttons->addWidget(m_deleteRowButton);
    buttons->addWidget(m_storeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(m_needGrid, 1);
    layout->addLayout(buttons);

    Controls::setTabOrder({m_cropBox, m_addCropButton, m_elementBox, m_needGrid, m_closeButton,
                           m_restoreDefaultsButton, m_newRowButton, m_deleteRowButton,
                           m_storeButton});
}

void NeedTableDialog::buildNewRowPanel()
{
    m_newRowPanel = new QGroupBox(QStringLiteral("Új sor hozzáadása"), this);
    m_newRowPanel->setObjectName(QStringLiteral("newRowPanel"));
    m_newRowPanel->setAutoFillBackground(true);
    m_siteCategoryBox = new QComboBox(m_newRowPanel);
    m_siteCategoryBox->setObjectName(QStringLiteral("siteCategoryBox"));
    m_siteCategoryBox->setMinimumWidth(280);
    m_newRowCaption = new QLabel(m_newRowPanel);
    m_newRowCaption->setObjectName(QStringLiteral("newRowCaption"));
    QStringList levels;
    for (int level = 1; level <= NeedTable::levelCount; ++level)
        levels.append(Elements::supplyLevelName(level));
    m_newRowGrid = makeGrid(QStringLiteral("newRowGrid"), levels, m_newRowPanel);
    m_newRowGrid->setRowCount(1);
    m_newRowGrid->setFixedSize(NeedTable::levelCount * levelColumnWidth + 4,
                               m_newRowGrid->horizontalHeader()->sizeHint().height() + rowHeight
                                   + 4);
    m_cancelNewRowButton = Controls::makeButton(QStringLiteral("Mégsem"),
                                                QStringLiteral("cancelNewRowButton"), m_newRowPanel);
    m_addRowButton
        = Controls::makeButton(QStringLiteral("Hozzáad"), QStringLiteral("addRowButton"),
                               m_newRowPanel);
    for (QPushButton *button : {m_cancelNewRowButton, m_addRowButton})
        button->setAutoDefault(false);

    auto *site = new QHBoxLayout;
    site->addWidget(new QLabel(QStringLiteral("Szántóföldi termőhely :"), m_newRowPanel));
    site->addWidget(m_siteCategoryBox);
    site->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelNewRowButton);
    buttons->addWidget(m_addRowButton);
    auto *layout = new QVBoxLayout(m_newRowPanel);
    layout->addLayout(site);
    layout->addWidget(m_newRowCaption);
    layout->addWidget(m_newRowGrid);
    layout->addLayout(buttons);
    m_newRowPanel->hide();
}

void NeedTableDialog::reloadCrops()
{
    QString error;
    const auto crops = CropEditorData::loadCrops(m_reference, &error);
    if (!crops)
        m_messenger.inform(error, false, MessageKind::Error);
    const QSignalBlocker blocker(m_cropBox);
    m_cropBox->clear();
    int shown = -1;
    for (const CropEditorData::Crop &crop : crops.value_or(QList<CropEditorData::Crop> {})) {
        if (crop.novid == m_shownCrop)
            shown = m_cropBox->count();
        m_cropBox->addItem(crop.name, crop.novid);
    }
    m_cropBox->setCurrentIndex(shown);
    // A crop deleted meanwhile takes its rows with it: nothing stays chosen.
    if (shown < 0 && !m_shownCrop.isEmpty()) {
        m_shownCrop.clear();
        query();
    }
}

void NeedTableDialog::chooseCrop(int index)
{
    const QString novid = m_cropBox->itemData(index).toString();
    if (novid == m_shownCrop)
        return;
    if (!leaveEdits()) {
        const QSignalBlocker blocker(m_cropBox);
        m_cropBox->setCurrentIndex(m_cropBox->findData(m_shownCrop));
        return;
    }
    m_shownCrop = novid;
    query();
}

void NeedTableDialog::chooseElement(int index)
{
    if (index == m_shownElement)
        return;
    if (!leaveEdits()) {
        const QSignalBlocker blocker(m_elementBox);
        m_elementBox->setCurrentIndex(m_shownElement);
        return;
    }
    query();
}

bool NeedTableDialog::leaveEdits()
{
    // an open cell editor hands its text to the grid first
    m_needGrid->setCurrentItem(nullptr);
    if (!hasUnsavedChanges())
        return true;
    switch (m_messenger.display(QStringLiteral("Mentsem a változásokat ?"),
                                ButtonSet::IgenNemMegsem, true, MessageKind::Warning)) {
    case Answer::Igen: return store();
    case Answer::Nem: return true;
    default: return false;
    }
}

void NeedTableDialog::reject()
{
    if (leaveEdits())
        QDialog::reject();
}

QString NeedTableDialog::elementCode() const
{
    return Elements::codes()[m_shownElement];
}

void NeedTableDialog::query()
{
    if (m_elementBox->currentIndex() < 0) {
        m_messenger.inform(QStringLiteral("A lekéréshez hibás elem lett kiválasztva!"), true,
                           MessageKind::Error);
        const QSignalBlocker blocker(m_elementBox);
        m_elementBox->setCurrentIndex(0);
    }
    m_shownElement = m_elementBox->currentIndex();
    m_newRowPanel->hide();
    QList<NeedTable::Row> rows;
    if (!m_shownCrop.isEmpty()) {
        QString error;
        const auto stored = NeedTable::loadRows(m_reference, m_shownCrop, elementCode(), &error);
        if (!stored)
            m_messenger.inform(error, false, MessageKind::Error);
        rows = stored.value_or(rows);
    }
    m_storedRows = rows;
    showRows(rows);
}

void NeedTableDialog::showRows(const QList<NeedTable::Row> &rows)
{
    m_needGrid->setRowCount(0);
    m_needGrid->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        auto *site = new QTableWidgetItem(
            Elements::siteCategoryNames().value(rows.at(row).siteCategory - 1));
        site->setData(Qt::UserRole, rows.at(row).siteCategory);
        // the site category is chosen when the row is added, never typed
        site->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_needGrid->setItem(row, 0, site);
        for (int level = 0; level < NeedTable::levelCount; ++level)
            m_needGrid->setItem(row, level + 1, new QTableWidgetItem(rows.at(row).cells[level]));
    }
    updateCommands();
}

QList<NeedTable::Row> NeedTableDialog::gridRows() const
{
    QList<NeedTable::Row> rows;
    for (int row = 0; row < m_needGrid->rowCount(); ++row) {
        NeedTable::Row values;
        values.siteCategory = m_needGrid->item(row, 0)->data(Qt::UserRole).toInt();
        for (int level = 0; level < NeedTable::levelCount; ++level) {
            const QTableWidgetItem *cell = m_needGrid->item(row, level + 1);
            values.cells[level] = cell ? cell->text() : QString();
        }
        rows.append(values);
    }
    return rows;
}

bool NeedTableDialog::hasUnsavedChanges() const
{
    return !m_shownCrop.isEmpty() && gridRows() != m_storedRows;
}

void NeedTableDialog::updateCommands()
{
    const bool cropChosen = !m_shownCrop.isEmpty();
    m_restoreDefaultsButton->setEnabled(cropChosen);
    m_newRowButton->setEnabled(cropChosen);
    m_storeButton->setEnabled(cropChosen);
    m_deleteRowButton->setEnabled(cropChosen && !m_needGrid->selectedItems().isEmpty());
}

bool NeedTableDialog::store()
{
    if (m_shownCrop.isEmpty())
        return false;
    m_needGrid->setCurrentItem(nullptr); // the open cell editor's text goes in too
    QString error;
    if (!NeedTable::storeRows(m_reference, m_shownCrop, elementCode(), gridRows(), &error)) {
        m_messenger.inform(error, false, MessageKind::Error);
        return false;
    }
    query();
    return true;
}

void NeedTableDialog::restoreDefaults()
{
    if (m_shownCrop.isEmpty()
        || !m_messenger.askYesNo(QStringLiteral("A fejlesztői beállítás visszaállítása csak a "
                                                "kiválasztott növény fajlagos "
                                                "tápanyagszükségletét érinti, N,P,K -t is. Valóban "
                                                "visszaállítja a fejlesztői adatokat?"),
                                 false, MessageKind::Warning))
        return;
    QString error;
    const int restored = m_reference.restoreCropNeeds(m_shownCrop, &error);
    if (restored < 0)
        m_messenger.inform(error, false, MessageKind::Error);
    else if (restored == 0)
        m_messenger.inform(QStringLiteral("Nincs visszatölthető adat! Nem lehet visszatölteni!"),
                           true, MessageKind::Error);
    else
        query();
}

void NeedTableDialog::openNewRowPanel()
{
    if (m_shownCrop.isEmpty())
        return;
    m_siteCategoryBox->clear();
    QList<int> present;
    for (const NeedTable::Row &row : gridRows())
        present.append(row.siteCategory);
    for (int site = 1; site <= Elements::siteCategoryCount; ++site) {
        if (!present.contains(site))
            m_siteCategoryBox->addItem(Elements::siteCategoryNames().at(site - 1), site);
    }
    if (m_siteCategoryBox->count() == 0) {
        m_messenger.inform(QStringLiteral("A növényhez tartozó fajlagos sorok meg vannak adva!"),
                           true, MessageKind::Information);
        return;
    }
    m_siteCategoryBox->setCurrentIndex(0);
    for (int level = 0; level < NeedTable::levelCount; ++level)
        m_newRowGrid->setItem(0, level, new QTableWidgetItem);
    m_newRowCaption->setText(QStringLiteral("Növény fajlagos ") + m_elementBox->currentText()
                             + QStringLiteral(" szükséglete a talaj szolgáltatóképessége szerint:"));
    m_newRowPanel->adjustSize();
    m_newRowPanel->move(8, 8);
    m_newRowPanel->show();
    m_newRowPanel->raise();
    m_newRowGrid->setCurrentCell(0, 0);
    m_newRowGrid->setFocus();
}

void NeedTableDialog::addNewRow()
{
    if (m_siteCategoryBox->currentIndex() < 0) {
        m_messenger.inform(QStringLiteral("A szántóföldi termőhely helytelenül lett megadva!"),
                           true, MessageKind::Error);
        return;
    }
    m_newRowGrid->setCurrentItem(nullptr); // the open cell editor's text goes in too
    NeedTable::Row row;
    row.siteCategory = m_siteCategoryBox->currentData().toInt();
    for (int level = 0; level < NeedTable::levelCount; ++level) {
        const QTableWidgetItem *cell = m_newRowGrid->item(0, level);
        row.cells[level] = cell ? cell->text() : QString();
    }
    QList<NeedTable::Row> rows = gridRows();
    rows.append(row);
    showRows(rows);
    m_newRowPanel->hide();
}

void NeedTableDialog::deleteRow()
{
    const QList<QTableWidgetItem *> marked = m_needGrid->selectedItems();
    if (marked.isEmpty())
        return;
    m_needGrid->removeRow(marked.first()->row());
    updateCommands();
}
