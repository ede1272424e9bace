#include "gui/steps/step5panel.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/messages/messenger.h"
#include "core/plan/calculationstate.h"
#include "core/plan/needcalculation.h"
#include "core/plan/nitratecheck.h"
#include "core/plan/plan.h"
#include "core/plan/schedule.h"
#include "gui/ui/controls.h"
#include "gui/ui/texttablemodel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

QString unitPerHectare(const QVariantMap &material)
{
    return material.value(Tables::Tapanyagok::Mert).toString() + QStringLiteral("/ha");
}

// The titles of the schedule grid; row 0 of the plan's grid is not shown.
QStringList scheduleHeadings()
{
    return {QStringLiteral("Dátum"), QStringLiteral("Megnevezés"), QStringLiteral("Mennyiség")};
}

// Every column of `grid` stays in view: the named one takes the room the others, sized to
// their texts and titles, leave.
void fitColumns(QTableView *grid, int stretched)
{
    QHeaderView *columns = grid->horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(40);
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        columns->setSectionResizeMode(column, column == stretched ? QHeaderView::Stretch
                                                                  : QHeaderView::ResizeToContents);
}

} // namespace

Step5Panel::Step5Panel(const StepContext &context, QWidget *parent)
    : StepPanel(context, parent)
{
    setObjectName(QStringLiteral("step5Panel"));
    buildControls();

    connect(m_materialCombo, &QComboBox::currentIndexChanged, this, &Step5Panel::chooseMaterial);
    filterNumberKeys(m_amountEdit);
    // Installed after the number filter, so it sees Enter before the filter refuses it.
    m_amountEdit->installEventFilter(this);
    connect(m_addButton, &QPushButton::clicked, this, &Step5Panel::addToSchedule);
    connect(m_deleteButton, &QPushButton::clicked, this, &Step5Panel::deleteSelectedRow);
    connect(m_totalsButton, &QPushButton::clicked, this, &Step5Panel::showAppliedTotals);
    connect(m_remainderButton, &QPushButton::clicked, this, &Step5Panel::showRemainder);
    connect(m_doneButton, &QPushButton::clicked, this, &Step5Panel::doneRequested);
    connect(m_addMaterialButton, &QPushButton::clicked, this, &Step5Panel::addMaterialRequested);
    // The materials come from Tapanyagok: whatever changes it, the list follows.
    connect(&m_reference, &ReferenceDatabase::tableChanged, this, [this](const QString &table) {
        if (table == Tables::Tapanyagok::name)
            reloadMaterials();
    });

    setDateToToday();
    reloadMaterials();
    refreshFromPlan();
}

void Step5Panel::buildControls()
{
    m_materialCombo = new QComboBox(this);
    m_materialCombo->setObjectName(QStringLiteral("materialCombo"));
    m_materialCombo->setEditable(false);
    m_materialCombo->setMinimumWidth(220);
    m_materialCombo->setMaxVisibleItems(20);

    m_addMaterialButton = Controls::makeButton(QStringLiteral("+"), QStringLiteral("addMaterialButton"), this);
    m_addMaterialButton->setFixedWidth(25);

    m_dateEdit = new QDateEdit(this);
    m_dateEdit->setObjectName(QStringLiteral("dateEdit"));
    m_dateEdit->setCalendarPopup(true);
    m_dateEdit->setDisplayFormat(QStringLiteral("yyyy.MM.dd."));

    m_amountEdit = new QLineEdit(this);
    m_amountEdit->setObjectName(QStringLiteral("amountEdit"));
    m_amountEdit->setFixedWidth(80);
    m_unitLabel = new QLabel(QStringLiteral("kg/ha"), this);
    m_unitLabel->setObjectName(QStringLiteral("unitLabel"));

    m_addButton = Controls::makeButton(QStringLiteral("Hozzáadás a tervhez >>>"),
                             QStringLiteral("addButton"), this);

    const QString coverHint = QStringLiteral(
        "A kijelölt anyag hatóanyaga(i) által kielégíthető szükségletek még ki nem elégített "
        "részéhez szükséges mennyiség.");
    m_coverGrid = new QTableWidget(0, 2, this);
    m_coverGrid->setObjectName(QStringLiteral("coverGrid"));
    m_coverGrid->setHorizontalHeaderLabels({QStringLiteral("Anyag"), QStringLiteral("Mennyiség")});
    fitColumns(m_coverGrid, 0);
    m_coverGrid->verticalHeader()->hide();
    m_coverGrid->verticalHeader()->setDefaultSectionSize(19);
    m_coverGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_coverGrid->setSelectionMode(QAbstractItemView::NoSelection);
    m_coverGrid->setToolTip(coverHint);
    m_coverGrid->setFixedHeight(140);
    m_coverHintLabel = new QLabel(coverHint, this);
    m_coverHintLabel->setObjectName(QStringLiteral("coverHintLabel"));
    m_coverHintLabel->setWordWrap(true);
    QFont hintFont = m_coverHintLabel->font();
    hintFont.setItalic(true);
    m_coverHintLabel->setFont(hintFont);

    m_scheduleModel = new TextTableModel(this);
    // Amounts line up by their digits.
    m_scheduleModel->setAlignments({{}, {}, Qt::AlignRight | Qt::AlignVCenter});
    // The columns exist before the view sizes them.
    m_scheduleModel->setTable(scheduleHeadings(), {});
    m_scheduleGrid = new QTableView(this);
    m_scheduleGrid->setObjectName(QStringLiteral("scheduleGrid"));
    m_scheduleGrid->setModel(m_scheduleModel);
    m_scheduleGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_scheduleGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_scheduleGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_scheduleGrid->verticalHeader()->setDefaultSectionSize(19);
    fitColumns(m_scheduleGrid, 1);
    m_scheduleGrid->setMinimumWidth(360);

    m_deleteButton = Controls::makeButton(QStringLiteral("Törlés"), QStringLiteral("deleteButton"), this);
    m_totalsButton = Controls::makeButton(QStringLiteral("Összesítés"), QStringLiteral("totalsButton"), this);
    m_remainderButton = Controls::makeButton(QStringLiteral("Kiértékelés"), QStringLiteral("remainderButton"),
                                   this);
    m_doneButton = Controls::makeButton(QStringLiteral("Kész"), QStringLiteral("doneButton"), this);
    m_doneButton->setFixedWidth(75);

    auto *materialRow = new QHBoxLayout;
    materialRow->addWidget(m_materialCombo, 1);
    materialRow->addWidget(m_addMaterialButton);

    auto *inputs = new QGridLayout;
    inputs->addWidget(new QLabel(QStringLiteral("Kijuttatás időpontja :"), this), 0, 0);
    inputs->addWidget(m_dateEdit, 0, 1, 1, 2);
    inputs->addWidget(new QLabel(QStringLiteral("Mennyiség :"), this), 1, 0);
    inputs->addWidget(m_amountEdit, 1, 1);
    inputs->addWidget(m_unitLabel, 1, 2);
    inputs->setColumnStretch(3, 1);

    // The inputs and the schedule are two columns, each read from top to bottom.
    auto *inputColumn = new QWidget(this);
    auto *left = new QVBoxLayout(inputColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(new QLabel(QStringLiteral("Anyag megnevezése :"), this));
    left->addLayout(materialRow);
    left->addSpacing(4);
    left->addLayout(inputs);
    left->addSpacing(4);
    left->addWidget(m_addButton);
    left->addSpacing(8);
    left->addWidget(new QLabel(QStringLiteral("Teljes kielégítéshez szükséges menny:"), this));
    left->addWidget(m_coverGrid);
    left->addWidget(m_coverHintLabel);
    left->addStretch();

    auto *scheduleButtons = new QHBoxLayout;
    scheduleButtons->addWidget(m_deleteButton);
    scheduleButtons->addStretch();
    scheduleButtons->addWidget(m_totalsButton);
    scheduleButtons->addWidget(m_remainderButton);

    auto *scheduleColumn = new QWidget(this);
    auto *right = new QVBoxLayout(scheduleColumn);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(new QLabel(QStringLiteral("Kijuttatás :"), this));
    right->addWidget(m_scheduleGrid, 1);
    right->addLayout(scheduleButtons);

    auto *columns = new QHBoxLayout;
    columns->addWidget(inputColumn, 0);
    columns->addSpacing(12);
    columns->addWidget(scheduleColumn, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_doneButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);

    Controls::setTabOrder({m_materialCombo, m_addMaterialButton, m_dateEdit, m_amountEdit,
                           m_addButton, m_coverGrid, m_scheduleGrid, m_deleteButton,
                           m_totalsButton, m_remainderButton, m_doneButton});
}

void Step5Panel::reloadMaterials()
{
    const QVariantMap chosen = currentMaterial();
    const QVariant chosenId = chosen.value(Tables::Tapanyagok::Anyagid);
    QString error;
    const auto materials = m_reference.select(Tables::Tapanyagok::name, {},
                                              {Tables::Tapanyagok::Megnev},
                                              ReferenceDatabase::DeletedRows::Hidden, &error);
    int chosenIndex = -1;
    {
        const QSignalBlocker blocker(m_materialCombo);
        m_materialCombo->clear();
        m_materials = materials.value_or(QList<QVariantMap>());
        for (int index = 0; index < m_materials.size(); ++index) {
            const QVariantMap &material = m_materials.at(index);
            m_materialCombo->addItem(material.value(Tables::Tapanyagok::Megnev).toString());
            if (chosenId.isValid() && material.value(Tables::Tapanyagok::Anyagid) == chosenId)
                chosenIndex = index;
        }
        // a chosen material deleted meanwhile is chosen no longer
        m_materialCombo->setCurrentIndex(chosenIndex);
    }
    if (!materials)
        showError(QStringLiteral("A termésnövelő anyagok listája nem olvasható: %1").arg(error));
    // the unit and the cover grid follow the material as it now is
    if (chosenIndex < 0 || m_materials.at(chosenIndex) != chosen)
        chooseMaterial(chosenIndex);
}

void Step5Panel::showItem(PlanItem item)
{
    if (!concerns(item, PlanItem::Schedule))
        return;
    // Row 0 of the grid is its header; the view has its own titles.
    const TextGrid &grid = items().scheduleGrid;
    QList<QStringList> rows;
    for (int row = 1; row < grid.rowCount(); ++row)
        rows.append(grid.row(row));
    m_scheduleModel->setTable(scheduleHeadings(), rows);
}

void Step5Panel::clearComputed()
{
    m_amountEdit->clear();
    showCover({});
}

void Step5Panel::setDateToToday()
{
    m_dateEdit->setDate(QDate::currentDate());
}

QVariantMap Step5Panel::currentMaterial() const
{
    const int index = m_materialCombo->currentIndex();
    return index >= 0 && index < m_materials.size() ? m_materials.at(index) : QVariantMap();
}

void Step5Panel::chooseMaterial(int index)
{
    if (index < 0 || index >= m_materials.size()) {
        m_unitLabel->setText(QStringLiteral("kg/ha"));
        showCover({});
        return;
    }
    m_unitLabel->setText(unitPerHectare(m_materials.at(index)));
    updateCoverGrid();
}

void Step5Panel::addToSchedule()
{
    // Tried on a copy: a row refused leaves the plan as it was.
    PlanItems added = items();
    const Outcome<void> outcome = Schedule::addScheduleRow(added, currentMaterial(),
                                                           m_dateEdit->date(), m_amountEdit->text());
    if (!outcome) {
        m_messenger.inform(outcome.refusal());
        return;
    }
    m_plan.update(PlanItem::Schedule, [&added](PlanItems &plan) {
        plan.scheduleGrid = added.scheduleGrid;
        plan.scheduleDetailGrid = added.scheduleDetailGrid;
    });
    m_scheduleGrid->scrollToBottom();
    updateCoverGrid();
}

void Step5Panel::deleteSelectedRow()
{
    QModelIndex selected = m_scheduleGrid->currentIndex();
    const QModelIndexList rows = m_scheduleGrid->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        selected = rows.first();
    if (!selected.isValid())
        return;
    const int row = selected.row();
    // The model's row 0 is the grid's first data row.
    m_plan.update(PlanItem::Schedule,
                  [row](PlanItems &plan) { Schedule::deleteScheduleRow(plan, row + 1); });
    const int keep = qMin(row, m_scheduleModel->rowCount() - 1);
    if (keep >= 0)
        m_scheduleGrid->selectRow(keep);
}

void Step5Panel::showAppliedTotals()
{
    emit resultReady(Schedule::appliedTotals(items()));
}

void Step5Panel::showRemainder()
{
    NeedCalculation need(m_reference, m_plan.items());
    const Outcome<ResultTable> result = Schedule::remainder(
        m_plan.items(), m_state, need.calculator, need.classifier);
    if (!result) {
        m_messenger.inform(result.refusal());
        return;
    }
    ResultTable list = *result;
    if (showsNitrateChecks()) {
        if (const auto check = NitrateRules::checkNitrate(items(), m_reference, m_state))
            list.notes = check->scheduleNotes();
    }
    emit resultReady(list);
}

void Step5Panel::updateCoverGrid()
{
    const QVariantMap material = currentMaterial();
    if (material.isEmpty()) {
        showCover({});
        return;
    }
    NeedCalculation need(m_reference, m_plan.items());
    const Outcome<Schedule::Cover> cover = Schedule::coverGrid(
        m_plan.items(), material, m_state, need.calculator, need.classifier);
    if (!cover) {
        showCover({});
        m_messenger.inform(cover.refusal());
        return;
    }
    showCover(cover->rows);
}

void Step5Panel::showCover(const QList<std::pair<QString, QString>> &rows)
{
    m_coverGrid->clearContents();
    m_coverGrid->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        m_coverGrid->setItem(row, 0, new QTableWidgetItem(rows.at(row).first));
        auto *amount = new QTableWidgetItem(rows.at(row).second);
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_coverGrid->setItem(row, 1, amount);
    }
}

void Step5Panel::showError(const QString &text)
{
    m_messenger.display(text, ButtonSet::OkOnly, true, MessageKind::Error);
}

bool Step5Panel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_amountEdit) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                addToSchedule();
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonRelease) {
            // A click takes the whole amount, so that the next one is typed over it.
            m_amountEdit->selectAll();
        }
    }
    return QWidget::eventFilter(watched, event);
}
