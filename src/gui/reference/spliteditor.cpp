#include "gui/reference/spliteditor.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/splitrules.h"
#include "core/data/reference/tables.h"
#include "core/messages/messenger.h"
#include "core/plan/elements.h"
#include "gui/ui/controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

namespace Find3 = Tables::Find3;

constexpr int idRole = Qt::UserRole;
constexpr int boxWidth = 50;

} // namespace

SplitEditor::SplitEditor(Messenger &messenger, ReferenceDatabase &reference, QWidget *parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_reference(reference)
{
    setObjectName(QStringLiteral("splitEditor"));
    setWindowTitle(QStringLiteral("Tápanyag kijuttatásásnak megosztása"));
    buildControls();
    buildRulePanel();

    connect(m_cropCombo, &QComboBox::currentIndexChanged, this, &SplitEditor::showRules);
    connect(m_addCropButton, &QPushButton::clicked, this, &SplitEditor::addCropRequested);
    connect(m_closeButton, &QPushButton::clicked, this, &SplitEditor::accept);
    connect(m_restoreButton, &QPushButton::clicked, this, &SplitEditor::restoreDefaults);
    connect(m_newRuleButton, &QPushButton::clicked, this, &SplitEditor::openNewRule);
    connect(m_deleteRuleButton, &QPushButton::clicked, this, &SplitEditor::deleteMarkedRule);
    connect(m_rulesGrid, &QTableWidget::itemSelectionChanged, this, &SplitEditor::updateButtons);
    connect(m_cancelRuleButton, &QPushButton::clicked, m_rulePanel, &QWidget::hide);
    connect(m_storeRuleButton, &QPushButton::clicked, this, &SplitEditor::storeNewRule);
    // Whoever writes the crops or the rules, the window shows the table as it now is.
    connect(&m_reference, &ReferenceDatabase::tableChanged, this, [this](const QString &table) {
        if (table == Tables::Nov::name)
            reloadCrops();
        else if (table == Find3::name)
            showRules();
    });

    reloadCrops();
    resize(760, 420);
}

void SplitEditor::buildControls()
{
    m_cropCombo = new QComboBox(this);
    m_cropCombo->setObjectName(QStringLiteral("cropCombo"));
    m_cropCombo->setMinimumWidth(260);
    m_cropCombo->setMaxVisibleItems(20);
    m_addCropButton
        = Controls::makeButton(QStringLiteral("+"), QStringLiteral("addCropButton"), this);
    m_addCropButton->setFixedWidth(25);

    m_rulesGrid = new QTableWidget(0, 6, this);
    m_rulesGrid->setObjectName(QStringLiteral("rulesGrid"));
    m_rulesGrid->setHorizontalHeaderLabels({QStringLiteral("Szántóföldi termőhely"),
        QStringLiteral("< Ka"), QStringLiteral("N megoszt. %"), QStringLiteral("P megoszt. %"),
        QStringLiteral("K megoszt. %"), QStringLiteral("Max. N kg/ha")});
    m_rulesGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rulesGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rulesGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rulesGrid->verticalHeader()->hide();
    m_rulesGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_rulesGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_rulesGrid->horizontalHeader()->setStretchLastSection(true);

    m_closeButton
        = Controls::makeButton(QStringLiteral("Bezárás"), QStringLiteral("closeButton"), this);
    m_restoreButton = Controls::makeButton(
        QStringLiteral("Fejlesztői beállítás"), QStringLiteral("restoreButton"), this);
    m_newRuleButton
        = Controls::makeButton(QStringLiteral("Új sor"), QStringLiteral("newRuleButton"), this);
    m_deleteRuleButton = Controls::makeButton(
        QStringLiteral("Sor törlése"), QStringLiteral("deleteRuleButton"), this);
    for (QPushButton *button :
        {m_closeButton, m_restoreButton, m_newRuleButton, m_deleteRuleButton})
        button->setAutoDefault(false);

    auto *cropRow = new QHBoxLayout;
    cropRow->addWidget(new QLabel(QStringLiteral("Növény megnevezése :"), this));
    cropRow->addWidget(m_cropCombo, 1);
    cropRow->addWidget(m_addCropButton);
    cropRow->addStretch();

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_newRuleButton);
    buttonRow->addWidget(m_deleteRuleButton);
    buttonRow->addWidget(m_restoreButton);
    buttonRow->addStretch();
    buttonRow->addWidget(m_closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(cropRow);
    layout->addWidget(m_rulesGrid, 1);
    layout->addLayout(buttonRow);
}

void SplitEditor::buildRulePanel()
{
    // Outside the layout: the panel stands over the grid while it is open.
    m_rulePanel = new QGroupBox(QStringLiteral("Tápanyagkijuttatás  megosztásának új eleme"), this);
    m_rulePanel->setObjectName(QStringLiteral("rulePanel"));
    m_rulePanel->setAutoFillBackground(true);
    m_siteCategoryCombo = new QComboBox(m_rulePanel);
    m_siteCategoryCombo->setObjectName(QStringLiteral("siteCategoryCombo"));
    m_siteCategoryCombo->addItems(Elements::siteCategoryNames());
    m_autumnNEdit = Controls::makeEdit(QStringLiteral("autumnNEdit"), m_rulePanel, boxWidth);
    m_autumnPEdit = Controls::makeEdit(QStringLiteral("autumnPEdit"), m_rulePanel, boxWidth);
    m_autumnKEdit = Controls::makeEdit(QStringLiteral("autumnKEdit"), m_rulePanel, boxWidth);
    m_kaEdit = Controls::makeEdit(QStringLiteral("kaEdit"), m_rulePanel, boxWidth);
    m_maxNEdit = Controls::makeEdit(QStringLiteral("maxNEdit"), m_rulePanel, boxWidth);
    m_cancelRuleButton = Controls::makeButton(
        QStringLiteral("Mégsem"), QStringLiteral("cancelRuleButton"), m_rulePanel);
    m_storeRuleButton = Controls::makeButton(
        QStringLiteral("Rögzít"), QStringLiteral("storeRuleButton"), m_rulePanel);

    auto *grid = new QGridLayout(m_rulePanel);
    grid->addWidget(new QLabel(QStringLiteral("Szántóföldi termőhely :"), m_rulePanel), 0, 0);
    grid->addWidget(m_siteCategoryCombo, 0, 1, 1, 2);
    const std::tuple<const char *, QLineEdit *, const char *> rows[] = {
        {"Öszi Nitrogén adag :", m_autumnNEdit, "%"},
        {"Öszi Foszfor adag :", m_autumnPEdit, "%"},
        {"Öszi kálium adag :", m_autumnKEdit, "%"},
        {"Kötöttség felső határa :", m_kaEdit, ""},
        {"Maximális Nitrogén adag :", m_maxNEdit, "kg/ha"},
    };
    int row = 1;
    for (const auto &[caption, edit, unit] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), m_rulePanel), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(QString::fromUtf8(unit), m_rulePanel), row, 2);
        ++row;
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelRuleButton);
    buttons->addWidget(m_storeRuleButton);
    grid->addLayout(buttons, row, 0, 1, 3);
    m_rulePanel->hide();

    Controls::setTabOrder({m_siteCategoryCombo, m_autumnNEdit, m_autumnPEdit, m_autumnKEdit,
        m_kaEdit, m_maxNEdit, m_cancelRuleButton, m_storeRuleButton});
}

void SplitEditor::setAddCropEnabled(bool enabled)
{
    m_addCropButton->setEnabled(enabled);
}

QString SplitEditor::chosenCropId() const
{
    return m_cropCombo->currentData().toString();
}

void SplitEditor::reloadCrops()
{
    const QString chosen = chosenCropId();
    QString error;
    const auto crops = m_reference.select(
        Tables::Nov::name, {}, {}, ReferenceDatabase::DeletedRows::Hidden, &error);
    {
        const QSignalBlocker blocker(m_cropCombo);
        m_cropCombo->clear();
        for (const QVariantMap &crop : crops.value_or(QList<QVariantMap>()))
            m_cropCombo->addItem(
                crop.value(Tables::Nov::Nev).toString(), crop.value(Tables::Nov::Novid).toString());
        // a crop deleted meanwhile is no longer chosen, and its rules are gone from the grid
        m_cropCombo->setCurrentIndex(chosen.isEmpty() ? -1 : m_cropCombo->findData(chosen));
    }
    if (!crops)
        showDatabaseError(error);
    showRules();
}

void SplitEditor::showRules()
{
    const QString novid = chosenCropId();
    QList<QVariantMap> rules;
    if (!novid.isEmpty()) {
        QString error;
        const auto read = SplitRules::cropRules(m_reference, novid, &error);
        if (!read)
            showDatabaseError(error);
        rules = read.value_or(QList<QVariantMap>());
    }
    m_rulesGrid->clearContents();
    m_rulesGrid->setRowCount(int(rules.size()));
    for (int row = 0; row < rules.size(); ++row) {
        const QVariantMap &rule = rules.at(row);
        const QStringList cells = {SplitRules::siteCategoryName(rule.value(Find3::Sztid)),
            SplitRules::numberCell(rule.value(Find3::Ka)),
            SplitRules::autumnSpringCell(rule.value(Find3::ON)),
            SplitRules::autumnSpringCell(rule.value(Find3::OP)),
            SplitRules::autumnSpringCell(rule.value(Find3::OK)),
            SplitRules::numberCell(rule.value(Find3::MaxN))};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setData(idRole, rule.value(Find3::Id));
            m_rulesGrid->setItem(row, column, item);
        }
    }
    // nothing is marked until the user marks it
    m_rulesGrid->clearSelection();
    updateButtons();
}

void SplitEditor::updateButtons()
{
    const bool hasCrop = !chosenCropId().isEmpty();
    m_newRuleButton->setEnabled(hasCrop);
    m_restoreButton->setEnabled(hasCrop);
    m_deleteRuleButton->setEnabled(hasCrop && !m_rulesGrid->selectedItems().isEmpty());
}

void SplitEditor::openNewRule()
{
    if (chosenCropId().isEmpty())
        return;
    m_siteCategoryCombo->setCurrentIndex(0);
    for (QLineEdit *edit : {m_autumnNEdit, m_autumnPEdit, m_autumnKEdit, m_kaEdit, m_maxNEdit})
        edit->clear();
    m_rulePanel->adjustSize();
    // over the grid's upper left corner, the chosen crop still in sight
    m_rulePanel->move(m_rulesGrid->pos());
    m_rulePanel->raise();
    m_rulePanel->show();
    m_siteCategoryCombo->setFocus();
}

void SplitEditor::storeNewRule()
{
    const int siteCategory = m_siteCategoryCombo->currentIndex() + 1;
    const QString novid = chosenCropId();
    if (siteCategory < 1 || novid.isEmpty())
        return;
    const SplitRules::RuleInput input = {siteCategory, m_kaEdit->text(), m_autumnNEdit->text(),
        m_autumnPEdit->text(), m_autumnKEdit->text(), m_maxNEdit->text()};
    const SplitRules::RuleCheck check = SplitRules::checkRule(novid, input);
    if (check.failedBox != SplitRules::RuleBox::None) {
        // no message: the box to correct gets the focus
        QLineEdit *failed = nullptr;
        switch (check.failedBox) {
        case SplitRules::RuleBox::Ka:
            failed = m_kaEdit;
            break;
        case SplitRules::RuleBox::AutumnN:
            failed = m_autumnNEdit;
            break;
        case SplitRules::RuleBox::AutumnP:
            failed = m_autumnPEdit;
            break;
        case SplitRules::RuleBox::AutumnK:
            failed = m_autumnKEdit;
            break;
        default:
            failed = m_maxNEdit;
            break;
        }
        failed->setFocus();
        failed->selectAll();
        return;
    }
    QString error;
    if (!SplitRules::addRule(m_reference, check.row, &error)) {
        showDatabaseError(error);
        return;
    }
    m_rulePanel->hide();
    m_newRuleButton->setFocus();
}

void SplitEditor::deleteMarkedRule()
{
    const QList<QTableWidgetItem *> marked = m_rulesGrid->selectedItems();
    if (marked.isEmpty())
        return;
    const qint64 id = marked.first()->data(idRole).toLongLong();
    if (!m_messenger.askYesNo(QStringLiteral("Biztosan törli a kijelölt sort?"), true))
        return;
    QString error;
    if (!SplitRules::removeRule(m_reference, id, &error))
        showDatabaseError(error);
}

void SplitEditor::restoreDefaults()
{
    const QString novid = chosenCropId();
    if (novid.isEmpty())
        return;
    if (!m_messenger.askYesNo(
            QStringLiteral("A fejlesztői beállítások visszaállítása csak a kijelölt növény "
                           "megosztási adataira érvényes. Valóban visszatölti a fejlesztői "
                           "beállításokat?"),
            false))
        return;
    QString error;
    const int restored = m_reference.restoreCropSplits(novid, &error);
    if (restored < 0)
        showDatabaseError(error);
    else if (restored == 0)
        m_messenger.inform(QStringLiteral("Nincs visszatölthető adat! Nem lehet visszatölteni!"),
            true, MessageKind::Error);
}

void SplitEditor::showDatabaseError(const QString &error)
{
    m_messenger.inform(error, false, MessageKind::Error);
}
