#include "gui/reference/nitratelimitsdialog.h"

#include "core/data/reference/nitratelimittable.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/messages/messenger.h"
#include "core/plan/elements.h"
#include "core/text/numbers.h"
#include "gui/ui/controls.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

namespace F = Tables::NitrateLimits;

enum Column { SiteColumn, LevelColumn, MaxNColumn };

QString invalidDoseText()
{
    return QStringLiteral("A legnagyobb N-adag 0 vagy annál nagyobb szám legyen (kg/ha)!");
}

std::optional<double> doseOf(const QString &text)
{
    const std::optional<double> dose = Text::parseDecimal(text);
    return dose && *dose >= 0 ? dose : std::nullopt;
}

} // namespace

NitrateLimitsDialog::NitrateLimitsDialog(
    Messenger &messenger, ReferenceDatabase &reference, QWidget *parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_reference(reference)
{
    setObjectName(QStringLiteral("nitrateLimitsDialog"));
    setWindowTitle(QStringLiteral("Nitrátérzékeny terület N-korlátai"));
    buildControls();

    connect(m_cropCombo, &QComboBox::currentIndexChanged, this, &NitrateLimitsDialog::showLimits);
    connect(m_limitsGrid, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (column == MaxNColumn)
            storeEditedLimit(row);
    });
    connect(m_addButton, &QPushButton::clicked, this, &NitrateLimitsDialog::addLimit);
    connect(m_deleteButton, &QPushButton::clicked, this, &NitrateLimitsDialog::deleteMarkedRow);
    connect(m_restoreButton, &QPushButton::clicked, this, &NitrateLimitsDialog::restoreDefaults);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(&m_reference, &ReferenceDatabase::tableChanged, this, [this](const QString &table) {
        if (table == F::name)
            showLimits();
    });

    for (const QVariantMap &crop :
        m_reference.select(Tables::Nov::name).value_or(QList<QVariantMap>()))
        m_cropCombo->addItem(
            crop.value(Tables::Nov::Nev).toString(), crop.value(Tables::Nov::Novid).toString());
    showLimits();
    resize(620, 460);
}

void NitrateLimitsDialog::open(Messenger &messenger, ReferenceDatabase &reference, QWidget *parent)
{
    NitrateLimitsDialog dialog(messenger, reference, parent);
    dialog.exec();
}

void NitrateLimitsDialog::buildControls()
{
    m_cropCombo = new QComboBox(this);
    m_cropCombo->setObjectName(QStringLiteral("cropCombo"));
    m_cropCombo->setMinimumWidth(260);
    m_cropCombo->setMaxVisibleItems(20);

    m_limitsGrid = new QTableWidget(0, 3, this);
    m_limitsGrid->setObjectName(QStringLiteral("limitsGrid"));
    m_limitsGrid->setHorizontalHeaderLabels({QStringLiteral("Szántóföldi termőhely"),
        QStringLiteral("N-ellátottság"), QStringLiteral("Legnagyobb N-adag kg/ha")});
    m_limitsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_limitsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_limitsGrid->setEditTriggers(QAbstractItemView::DoubleClicked
        | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_limitsGrid->verticalHeader()->hide();
    m_limitsGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_limitsGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_limitsGrid->horizontalHeader()->setStretchLastSection(true);

    m_siteCategoryCombo = new QComboBox(this);
    m_siteCategoryCombo->setObjectName(QStringLiteral("siteCategoryCombo"));
    m_siteCategoryCombo->addItems(Elements::siteCategoryNames());
    m_levelCombo = new QComboBox(this);
    m_levelCombo->setObjectName(QStringLiteral("levelCombo"));
    for (int level = 1; level <= Elements::supplyLevelCount; ++level)
        m_levelCombo->addItem(Elements::supplyLevelName(level), level);
    m_maxNEdit = Controls::makeEdit(QStringLiteral("maxNEdit"), this, 60);

    m_addButton
        = Controls::makeButton(QStringLiteral("Hozzáad"), QStringLiteral("addButton"), this);
    m_deleteButton
        = Controls::makeButton(QStringLiteral("Sor törlése"), QStringLiteral("deleteButton"), this);
    m_restoreButton = Controls::makeButton(
        QStringLiteral("Fejlesztői beállítás"), QStringLiteral("restoreButton"), this);
    m_closeButton
        = Controls::makeButton(QStringLiteral("Bezárás"), QStringLiteral("closeButton"), this);
    for (QPushButton *button : {m_addButton, m_deleteButton, m_restoreButton, m_closeButton})
        button->setAutoDefault(false);

    auto *cropRow = new QHBoxLayout;
    cropRow->addWidget(new QLabel(QStringLiteral("Növény megnevezése :"), this));
    cropRow->addWidget(m_cropCombo, 1);
    cropRow->addStretch();

    auto *newRow = new QHBoxLayout;
    newRow->addWidget(new QLabel(QStringLiteral("Új sor :"), this));
    newRow->addWidget(m_siteCategoryCombo, 1);
    newRow->addWidget(m_levelCombo);
    newRow->addWidget(m_maxNEdit);
    newRow->addWidget(new QLabel(QStringLiteral("kg/ha"), this));
    newRow->addWidget(m_addButton);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_deleteButton);
    buttonRow->addWidget(m_restoreButton);
    buttonRow->addStretch();
    buttonRow->addWidget(m_closeButton);

    auto *source = new QLabel(
        QStringLiteral("Nitrátérzékeny területen a növény évi N-adagja nem haladhatja meg ezt "
                       "az értéket (59/2008. (IV. 29.) FVM rendelet, cselekvési program). Hiányzó "
                       "sor: nincs ismert határérték."),
        this);
    source->setObjectName(QStringLiteral("sourceLabel"));
    source->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(cropRow);
    layout->addWidget(m_limitsGrid, 1);
    layout->addLayout(newRow);
    layout->addWidget(source);
    layout->addLayout(buttonRow);
}

QString NitrateLimitsDialog::chosenCropId() const
{
    return m_cropCombo->currentData().toString();
}

void NitrateLimitsDialog::showLimits()
{
    const QSignalBlocker blocker(m_limitsGrid);
    const QList<QVariantMap> rows = NitrateLimitTable::cropRows(m_reference, chosenCropId());
    m_limitsGrid->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const int sztid = rows[row].value(F::Sztid).toInt();
        const int level = rows[row].value(F::Level).toInt();
        auto *site = new QTableWidgetItem(Elements::siteCategoryNames().value(sztid - 1));
        site->setData(Qt::UserRole, sztid);
        auto *supply = new QTableWidgetItem(Elements::supplyLevelName(level));
        supply->setData(Qt::UserRole, level);
        for (QTableWidgetItem *item : {site, supply})
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        const QVariant maxN = rows[row].value(F::MaxN);
        auto *dose = new QTableWidgetItem(
            maxN.isNull() ? QString() : Text::formatGeneral(maxN.toDouble()));
        dose->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_limitsGrid->setItem(row, SiteColumn, site);
        m_limitsGrid->setItem(row, LevelColumn, supply);
        m_limitsGrid->setItem(row, MaxNColumn, dose);
    }
    m_deleteButton->setEnabled(!rows.isEmpty());
}

void NitrateLimitsDialog::storeEditedLimit(int row)
{
    const int sztid = m_limitsGrid->item(row, SiteColumn)->data(Qt::UserRole).toInt();
    const int level = m_limitsGrid->item(row, LevelColumn)->data(Qt::UserRole).toInt();
    const std::optional<double> dose = doseOf(m_limitsGrid->item(row, MaxNColumn)->text());
    QString error;
    if (!dose) {
        m_messenger.inform(invalidDoseText(), true, MessageKind::Error);
        showLimits(); // the stored value again
    } else if (!NitrateLimitTable::setLimit(
                   m_reference, chosenCropId(), sztid, level, *dose, &error)) {
        showError(error);
    }
}

void NitrateLimitsDialog::addLimit()
{
    if (chosenCropId().isEmpty())
        return;
    const std::optional<double> dose = doseOf(m_maxNEdit->text());
    if (!dose) {
        m_messenger.inform(invalidDoseText(), true, MessageKind::Error);
        m_maxNEdit->setFocus();
        return;
    }
    QString error;
    if (!NitrateLimitTable::addLimit(m_reference, chosenCropId(),
            m_siteCategoryCombo->currentIndex() + 1, m_levelCombo->currentData().toInt(), *dose,
            &error)) {
        m_messenger.inform(error, true, MessageKind::Error);
        return;
    }
    m_maxNEdit->clear();
}

void NitrateLimitsDialog::deleteMarkedRow()
{
    const int row = m_limitsGrid->currentRow();
    if (row < 0)
        return;
    if (!m_messenger.askYesNo(QStringLiteral("Valóban törli a kijelölt sort?"), true))
        return;
    QString error;
    if (!NitrateLimitTable::removeLimit(m_reference, chosenCropId(),
            m_limitsGrid->item(row, SiteColumn)->data(Qt::UserRole).toInt(),
            m_limitsGrid->item(row, LevelColumn)->data(Qt::UserRole).toInt(), &error))
        showError(error);
}

void NitrateLimitsDialog::restoreDefaults()
{
    if (!m_messenger.askYesNo(
            QStringLiteral("A fejlesztői beállítás minden növény N-korlátait visszaállítja, a "
                           "módosítások elvesznek. Valóban visszatölti a fejlesztői "
                           "beállításokat?"),
            false))
        return;
    QString error;
    if (!NitrateLimitTable::restoreDefaults(m_reference, &error))
        showError(error);
}

void NitrateLimitsDialog::showError(const QString &error)
{
    m_messenger.inform(error, false, MessageKind::Error);
    showLimits();
}
