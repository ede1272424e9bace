#include "gui/leaf/leafentrypanel.h"

#include "gui/ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

static bool sameEntry(const LeafEntry &a, const LeafEntry &b)
{
    for (int i = 0; i < 5; ++i) {
        if (a.contents[i] != b.contents[i])
            return false;
    }
    return a.name == b.name && a.laboratory == b.laboratory && a.sampleMark == b.sampleMark
        && a.block == b.block && a.fieldSerial == b.fieldSerial && a.farmingYear == b.farmingYear
        && a.area == b.area && a.date == b.date && a.speciesId == b.speciesId
        && a.atHarvest == b.atHarvest;
}

LeafEntryPanel::LeafEntryPanel(QWidget *parent)
    : QGroupBox(QStringLiteral("  Levélanalízis eredmény rögzítés  "), parent)
{
    setObjectName(QStringLiteral("leafEntryPanel"));
    m_nameEdit = Controls::makeEdit(QStringLiteral("nameEdit"), this);
    m_laboratoryEdit = Controls::makeEdit(QStringLiteral("laboratoryEdit"), this);
    m_sampleMarkEdit = Controls::makeEdit(QStringLiteral("sampleMarkEdit"), this);
    m_dateEdit = new QDateEdit(this);
    m_dateEdit->setObjectName(QStringLiteral("dateEdit"));
    m_dateEdit->setCalendarPopup(true);
    m_dateEdit->setDisplayFormat(QStringLiteral("yyyy.MM.dd."));
    m_blockEdit = Controls::makeEdit(QStringLiteral("blockEdit"), this);
    m_fieldSerialEdit = Controls::makeEdit(QStringLiteral("fieldSerialEdit"), this);
    m_farmingYearEdit = Controls::makeEdit(QStringLiteral("farmingYearEdit"), this);
    m_areaEdit = Controls::makeEdit(QStringLiteral("areaEdit"), this, 80);
    m_speciesCombo = new QComboBox(this);
    m_speciesCombo->setObjectName(QStringLiteral("speciesCombo"));
    m_optimalPeriodLabel = new QLabel(this);
    m_optimalPeriodLabel->setObjectName(QStringLiteral("optimalPeriodLabel"));
    m_optimalPeriodLabel->setWordWrap(true);
    // three lines: the longest periods wrap twice
    m_optimalPeriodLabel->setMinimumHeight(
        3 * m_optimalPeriodLabel->fontMetrics().lineSpacing() + 4);
    m_atHarvestBox = new QCheckBox(QStringLiteral("Mintavétel szüretkor (igen/nem)"), this);
    m_atHarvestBox->setObjectName(QStringLiteral("atHarvestBox"));

    auto *left = new QFormLayout;
    left->addRow(QStringLiteral("Mintaeredmény elnevezése :"), m_nameEdit);
    left->addRow(QStringLiteral("Elemzést végző labor neve :"), m_laboratoryEdit);
    left->addRow(QStringLiteral("Minta azonosító szám :"), m_sampleMarkEdit);
    left->addRow(QStringLiteral("Mintavétel időpontja"), m_dateEdit);
    left->addRow(QStringLiteral("Blokkazonosító :"), m_blockEdit);
    left->addRow(QStringLiteral("Tábla sorszáma :"), m_fieldSerialEdit);
    left->addRow(QStringLiteral("Gazdasági év :"), m_farmingYearEdit);
    left->addRow(QStringLiteral("Mintahely magysága (ha) :"), m_areaEdit);
    left->addRow(QStringLiteral("Gyümölcs faj :"), m_speciesCombo);
    left->addRow(QStringLiteral("Optimális mintavétel időszak :"), m_optimalPeriodLabel);
    left->addRow(QString(), m_atHarvestBox);

    auto *results = new QGridLayout;
    results->addWidget(new QLabel(QStringLiteral("laboreredmények"), this), 0, 0, 1, 3);
    for (int i = 0; i < 5; ++i) {
        const QString &symbol = LeafRegister::elementSymbols().at(i);
        QLineEdit *edit = Controls::makeEdit(symbol + QStringLiteral("Edit"), this, 70);
        m_contentEdits.append(edit);
        results->addWidget(new QLabel(symbol + QStringLiteral(" -tartalom :"), this), i + 1, 0);
        results->addWidget(edit, i + 1, 1);
        results->addWidget(new QLabel(QStringLiteral("m/m %"), this), i + 1, 2);
    }
    results->setRowStretch(6, 1);

    m_cancelButton
        = Controls::makeButton(QStringLiteral("mégsem"), QStringLiteral("cancelButton"), this);
    m_storeButton
        = Controls::makeButton(QStringLiteral("rögzítés"), QStringLiteral("storeButton"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_storeButton);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addSpacing(24);
    columns->addLayout(results, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    Controls::setTabOrder({m_nameEdit, m_laboratoryEdit, m_sampleMarkEdit, m_dateEdit, m_blockEdit,
        m_fieldSerialEdit, m_farmingYearEdit, m_areaEdit, m_speciesCombo, m_atHarvestBox,
        m_contentEdits[0], m_contentEdits[1], m_contentEdits[2], m_contentEdits[3],
        m_contentEdits[4], m_cancelButton, m_storeButton});

    connect(
        m_speciesCombo, &QComboBox::currentIndexChanged, this, &LeafEntryPanel::showOptimalPeriod);
    connect(m_storeButton, &QPushButton::clicked, this, &LeafEntryPanel::storeRequested);
    connect(m_cancelButton, &QPushButton::clicked, this, &LeafEntryPanel::cancelRequested);
}

void LeafEntryPanel::setSpecies(const QList<LeafSpecies> &species)
{
    m_species = species;
    m_speciesCombo->clear();
    for (const LeafSpecies &one : species)
        m_speciesCombo->addItem(one.name, one.id);
    m_speciesCombo->setCurrentIndex(-1);
}

void LeafEntryPanel::showEntry(const LeafEntry &entry)
{
    m_nameEdit->setText(entry.name);
    m_laboratoryEdit->setText(entry.laboratory);
    m_sampleMarkEdit->setText(entry.sampleMark);
    m_dateEdit->setDate(entry.date);
    m_blockEdit->setText(entry.block);
    m_fieldSerialEdit->setText(entry.fieldSerial);
    m_farmingYearEdit->setText(entry.farmingYear);
    m_areaEdit->setText(entry.area);
    m_speciesCombo->setCurrentIndex(
        entry.speciesId ? m_speciesCombo->findData(*entry.speciesId) : -1);
    m_atHarvestBox->setChecked(entry.atHarvest);
    for (int i = 0; i < 5; ++i)
        m_contentEdits[i]->setText(entry.contents[i]);
    showOptimalPeriod();
    m_shown = this->entry();
    m_nameEdit->setFocus();
}

LeafEntry LeafEntryPanel::entry() const
{
    LeafEntry entry;
    entry.name = m_nameEdit->text();
    entry.laboratory = m_laboratoryEdit->text();
    entry.sampleMark = m_sampleMarkEdit->text();
    entry.date = m_dateEdit->date();
    entry.block = m_blockEdit->text();
    entry.fieldSerial = m_fieldSerialEdit->text();
    entry.farmingYear = m_farmingYearEdit->text();
    entry.area = m_areaEdit->text();
    if (m_speciesCombo->currentIndex() >= 0)
        entry.speciesId = m_speciesCombo->currentData().toInt();
    entry.atHarvest = m_atHarvestBox->isChecked();
    for (int i = 0; i < 5; ++i)
        entry.contents[i] = m_contentEdits[i]->text();
    return entry;
}

bool LeafEntryPanel::isChanged() const
{
    return !sameEntry(entry(), m_shown);
}

void LeafEntryPanel::showOptimalPeriod()
{
    const int index = m_speciesCombo->currentIndex();
    m_optimalPeriodLabel->setText(
        index >= 0 && index < m_species.size() ? m_species.at(index).optimalPeriod : QString());
}
