#include "gui/leaf/leafsamplewindow.h"

#include "core/data/reference/planlookups.h"
#include "core/data/reference/referencedatabase.h"
#include "core/leaf/leafchart.h"
#include "core/leaf/leaflimits.h"
#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/plan/planitems.h"
#include "core/text/numbers.h"
#include "gui/leaf/leafchartprinting.h"
#include "gui/leaf/leafchartview.h"
#include "gui/leaf/leafentrypanel.h"
#include "gui/ui/aboutbox.h"
#include "gui/ui/controls.h"
#include "gui/ui/userguide.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

LeafSampleWindow::LeafSampleWindow(
    Messenger &messenger, ReferenceDatabase &reference, FileChooser &fileChooser, QWidget *parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_reference(reference)
    , m_fileChooser(fileChooser)
{
    setObjectName(QStringLiteral("leafSampleWindow"));
    setWindowTitle(QStringLiteral("Levélanalízis nyilvántartás és elemzés"));
    auto *layout = new QVBoxLayout(this);
    auto *menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    buildList();
    buildEvaluation();
    buildMenus(menuBar);
    m_entryPanel = new LeafEntryPanel(this);
    m_entryPanel->setSpecies(LeafRegister::species(m_reference));
    m_entryPanel->hide();
    layout->addWidget(m_entryPanel);
    layout->addWidget(m_evaluationPanel, 1);
    layout->addWidget(m_listArea, 1);
    connect(m_entryPanel, &LeafEntryPanel::storeRequested, this, [this] { storeEntry(); });
    connect(m_entryPanel, &LeafEntryPanel::cancelRequested, this, &LeafSampleWindow::cancelEntry);
    resize(1000, 640);
    reload();
}

void LeafSampleWindow::open(Messenger &messenger, ReferenceDatabase &reference,
    FileChooser &fileChooser, Plan &plan, QWidget *parent)
{
    {
        LeafSampleWindow window(messenger, reference, fileChooser, parent);
        window.exec();
    }
    plan.setLeafLinks(
        PlanLookups::fillLeafLinks(reference, plan.items().leafLinks), Plan::Change::Computed);
}

void LeafSampleWindow::buildList()
{
    m_listArea = new QWidget(this);
    m_grid = new QTableWidget(0, 14, m_listArea);
    m_grid->setObjectName(QStringLiteral("leafGrid"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Gazd.év"), QStringLiteral("Dátum"),
        QStringLiteral("Megnevezés"), QStringLiteral("Blokk"), QStringLiteral("Tábla s.sz."),
        QStringLiteral("Növény faj"), QStringLiteral("Minta azon."), QStringLiteral("Terület"),
        QStringLiteral("N"), QStringLiteral("P"), QStringLiteral("K"), QStringLiteral("Ca"),
        QStringLiteral("Mg"), QStringLiteral("Labor neve")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &LeafSampleWindow::updateCommands);

    m_newButton = Controls::makeButton(
        QStringLiteral("Új mintaeredmény"), QStringLiteral("newButton"), m_listArea);
    m_modifyButton = Controls::makeButton(
        QStringLiteral("Eredmény módosítása"), QStringLiteral("modifyButton"), m_listArea);
    m_deleteButton = Controls::makeButton(
        QStringLiteral("Eredmény törlése"), QStringLiteral("deleteButton"), m_listArea);
    m_evaluateButton = Controls::makeButton(
        QStringLiteral("Mintaeredmény elemzése"), QStringLiteral("evaluateButton"), m_listArea);
    connect(m_newButton, &QPushButton::clicked, this, &LeafSampleWindow::newResult);
    connect(m_modifyButton, &QPushButton::clicked, this, &LeafSampleWindow::modifyResult);
    connect(m_deleteButton, &QPushButton::clicked, this, &LeafSampleWindow::deleteResult);
    connect(m_evaluateButton, &QPushButton::clicked, this, &LeafSampleWindow::evaluateSelection);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {m_newButton, m_modifyButton, m_deleteButton, m_evaluateButton})
        buttons->addWidget(button);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(m_listArea);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
}

void LeafSampleWindow::buildEvaluation()
{
    m_evaluationPanel = new QGroupBox(QStringLiteral("Kimutatás a levélminták alapján"), this);
    m_evaluationPanel->setObjectName(QStringLiteral("evaluationPanel"));
    m_chartArea = new QScrollArea(m_evaluationPanel);
    m_chartArea->setObjectName(QStringLiteral("chartArea"));
    m_chartArea->setBackgroundRole(QPalette::Base);
    QPalette colours = m_chartArea->palette();
    colours.setColor(QPalette::Base, Qt::white);
    m_chartArea->setPalette(colours);
    m_chartView = new LeafChartView;
    m_chartView->setScrollBar(m_chartArea->verticalScrollBar());
    m_chartArea->setWidget(m_chartView);
    auto *closeButton = Controls::makeButton(
        QStringLiteral("bezárás"), QStringLiteral("closeEvaluationButton"), m_evaluationPanel);
    auto *printButton = Controls::makeButton(
        QStringLiteral("nyomtatás"), QStringLiteral("printButton"), m_evaluationPanel);
    connect(closeButton, &QPushButton::clicked, this, &LeafSampleWindow::closeEvaluation);
    connect(printButton, &QPushButton::clicked, this, &LeafSampleWindow::printEvaluation);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(printButton);
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(m_evaluationPanel);
    layout->addWidget(m_chartArea, 1);
    layout->addLayout(buttons);
    m_evaluationPanel->hide();
}

void LeafSampleWindow::buildMenus(QMenuBar *bar)
{
    const auto add = [this](QMenu *menu, const QString &caption, const QString &name,
                         void (LeafSampleWindow::*command)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    QMenu *results = bar->addMenu(QStringLiteral("Mittaeredmények"));
    m_listActions = {
        add(results, QStringLiteral("Új mintaeredmény"), QStringLiteral("newAction"),
            &LeafSampleWindow::newResult),
        add(results, QStringLiteral("Kijelölt eredmény módosítása"), QStringLiteral("modifyAction"),
            &LeafSampleWindow::modifyResult),
        add(results, QStringLiteral("Eredmény törlése"), QStringLiteral("deleteAction"),
            &LeafSampleWindow::deleteResult),
    };
    QMenu *evaluation = bar->addMenu(QStringLiteral("Elemzés"));
    m_listActions.append(add(evaluation, QStringLiteral("Kijelölt mintaeredmény(ek) elemzése"),
        QStringLiteral("evaluateAction"), &LeafSampleWindow::evaluateSelection));
    QMenu *help = bar->addMenu(QStringLiteral("Súgó"));
    add(help, QStringLiteral("Leírás"), QStringLiteral("guideAction"),
        &LeafSampleWindow::showGuide);
    QAction *about = help->addAction(QStringLiteral("Szoftver készítő"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, [this] {
        AboutBox box(this);
        box.exec();
    });
    QAction *quit = bar->addAction(QStringLiteral("Kilépés"));
    quit->setObjectName(QStringLiteral("quitAction"));
    connect(quit, &QAction::triggered, this, &LeafSampleWindow::reject);
}

void LeafSampleWindow::reload()
{
    QString error;
    const auto samples = LeafRegister::list(m_reference, &error);
    if (!samples)
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
    m_samples = samples.value_or(QList<LeafSample>());
    const auto number = [](const std::optional<double> &value) {
        return value ? Text::formatGeneral(*value) : QString();
    };
    m_grid->clearSelection();
    m_grid->setRowCount(int(m_samples.size()));
    for (int row = 0; row < m_samples.size(); ++row) {
        const LeafSample &s = m_samples.at(row);
        const QStringList cells = {s.farmingYear, s.date.toString(QStringLiteral("yyyy.MM.dd.")),
            s.name, s.block, s.fieldSerial, s.species, s.sampleMark, number(s.area),
            number(s.contents[0]), number(s.contents[1]), number(s.contents[2]),
            number(s.contents[3]), number(s.contents[4]), s.laboratory};
        for (int column = 0; column < cells.size(); ++column)
            m_grid->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    m_grid->resizeColumnsToContents();
    updateCommands();
}

bool LeafSampleWindow::isEntering() const
{
    return !m_entryPanel->isHidden();
}

std::optional<int> LeafSampleWindow::currentSampleRow() const
{
    const QModelIndexList rows = m_grid->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    const int current = m_grid->currentRow();
    for (const QModelIndex &index : rows) {
        if (index.row() == current)
            return current;
    }
    return rows.last().row();
}

QList<LeafSample> LeafSampleWindow::selectedSamples() const
{
    QList<LeafSample> selected;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows()) {
        if (index.row() < m_samples.size())
            selected.append(m_samples.at(index.row()));
    }
    return selected;
}

void LeafSampleWindow::updateCommands()
{
    const bool browsing = !isEntering() && m_evaluationPanel->isHidden();
    const bool hasRow = currentSampleRow().has_value();
    const bool enabled[] = {browsing, browsing && hasRow, browsing && hasRow, browsing};
    const QList<QPushButton *> buttons
        = {m_newButton, m_modifyButton, m_deleteButton, m_evaluateButton};
    for (int i = 0; i < 4; ++i) {
        buttons.at(i)->setEnabled(enabled[i]);
        if (i < m_listActions.size())
            m_listActions.at(i)->setEnabled(enabled[i]);
    }
    m_grid->setEnabled(!isEntering());
}

void LeafSampleWindow::showEntryPanel(const LeafEntry &entry, std::optional<qint64> id)
{
    m_editedId = id;
    m_entryPanel->show();
    m_entryPanel->showEntry(entry);
    updateCommands();
}

void LeafSampleWindow::newResult()
{
    if (isEntering() || !m_evaluationPanel->isHidden())
        return;
    LeafEntry entry;
    entry.date = QDate::currentDate();
    showEntryPanel(entry, std::nullopt);
}

void LeafSampleWindow::modifyResult()
{
    const std::optional<int> row = currentSampleRow();
    if (isEntering() || !m_evaluationPanel->isHidden() || !row)
        return;
    const LeafSample &sample = m_samples.at(*row);
    showEntryPanel(LeafRegister::entryOf(sample), sample.id);
}

void LeafSampleWindow::deleteResult()
{
    const std::optional<int> row = currentSampleRow();
    if (isEntering() || !m_evaluationPanel->isHidden() || !row)
        return;
    const qint64 id = m_samples.at(*row).id;
    if (m_messenger.display(QStringLiteral("Biztosan törli a kijelölt sort?"), ButtonSet::IgenNem,
            true, MessageKind::Warning)
        != Answer::Igen)
        return;
    QString error;
    if (!LeafRegister::remove(m_reference, id, &error))
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
    reload();
}

bool LeafSampleWindow::storeEntry()
{
    if (!isEntering())
        return false;
    QString error;
    if (!LeafRegister::save(m_reference, m_entryPanel->entry(), m_editedId, &error)) {
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
        return false;
    }
    m_entryPanel->hide();
    reload();
    return true;
}

void LeafSampleWindow::cancelEntry()
{
    m_entryPanel->hide();
    reload();
}

void LeafSampleWindow::evaluateSelection()
{
    if (isEntering())
        return;
    QString error;
    const std::optional<LeafLimits> limits = LeafLimits::read(m_reference, &error);
    if (!limits) {
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
        return;
    }
    m_evaluated = selectedSamples();
    m_chartView->setChart(buildLeafChart(m_evaluated, *limits, LeafChart::Medium::Screen));
    m_chartArea->verticalScrollBar()->setValue(0);
    m_listArea->hide();
    m_evaluationPanel->show();
    updateCommands();
}

void LeafSampleWindow::closeEvaluation()
{
    m_evaluated.clear();
    m_chartView->setChart(LeafChart());
    m_evaluationPanel->hide();
    m_listArea->show();
    updateCommands();
}

void LeafSampleWindow::printEvaluation()
{
    const std::optional<LeafLimits> limits = LeafLimits::read(m_reference);
    if (!limits)
        return;
    const LeafChart chart = buildLeafChart(m_evaluated, *limits, LeafChart::Medium::Print);
    LeafChartPrinting::showPreview(chart, m_fileChooser, m_messenger, this);
}

void LeafSampleWindow::showGuide()
{
    UserGuide::open(UserGuide::programGuidePath(), m_messenger);
}

void LeafSampleWindow::reject()
{
    if (isEntering()) {
        const int answer = m_messenger.display(QStringLiteral("Mentsem a változásokat ?"),
            ButtonSet::IgenNemMegsem, true, MessageKind::Warning);
        if (answer == Answer::Igen && !storeEntry())
            return;
        if (answer != Answer::Igen && answer != Answer::Nem)
            return;
        m_entryPanel->hide();
    }
    QDialog::reject();
}
