#include "gui/steps/step3panel.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/messages/messenger.h"
#include "core/plan/calculationstate.h"
#include "core/plan/cropneed.h"
#include "core/plan/needcalculation.h"
#include "core/plan/plan.h"
#include "core/plan/split.h"
#include "gui/ui/controls.h"
#include "gui/ui/texttablemodel.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

// The need grid as a list: row 0 of the grid gives the headings.
ResultTable needTable(const TextGrid &grid)
{
    ResultTable table;
    table.headings = grid.row(0);
    for (int row = 1; row < grid.rowCount(); ++row)
        table.rows.append(grid.row(row));
    return table;
}

} // namespace

Step3Panel::Step3Panel(const StepContext &context, QWidget *parent)
    : StepPanel(context, parent)
{
    setObjectName(QStringLiteral("step3Panel"));
    buildControls();

    connect(m_cropList, &QTableWidget::currentCellChanged, this,
            [this](int row) { chooseCrop(row); });
    // A click on a crop shows its need at once when a yield is given.
    connect(m_cropList, &QTableWidget::cellClicked, this, [this] {
        if (!items().plannedYield.isEmpty())
            showSpecificNeeds();
    });
    bindText(m_yieldEdit, &Plan::setPlannedYield);
    m_yieldEdit->installEventFilter(this);
    filterNumberKeys(m_yieldEdit);
    connect(m_addCropButton, &QPushButton::clicked, this, &Step3Panel::addCropRequested);
    connect(m_specificNeedButton, &QPushButton::clicked, this, &Step3Panel::specificNeedRequested);
    connect(m_selectButton, &QPushButton::clicked, this, &Step3Panel::showSpecificNeeds);
    connect(m_recommendedDosesButton, &QPushButton::clicked, this,
            &Step3Panel::showRecommendedDoses);
    connect(m_splitButton, &QPushButton::clicked, this, &Step3Panel::showSplit);
    connect(m_doneButton, &QPushButton::clicked, this, &Step3Panel::doneRequested);
    // The crops come from Nov: whatever changes it, the list follows.
    connect(&m_reference, &ReferenceDatabase::tableChanged, this, [this](const QString &table) {
        if (table == Tables::Nov::name)
            reloadCrops();
    });

    reloadCrops();
    refreshFromPlan();
}

void Step3Panel::clearComputed()
{
    m_needs = {};
    m_needModel->setTable({}, {});
    m_noReferenceLabel->clear();
    // A new plan names no crop; it takes the first of the list, which the list will show.
    const QTableWidgetItem *first = m_cropList->rowCount() > 0 ? m_cropList->item(0, 0) : nullptr;
    m_plan.setCropId(first ? first->data(Qt::UserRole).toString() : PlanItems::noCrop(),
                     Plan::Change::Computed);
}

void Step3Panel::buildControls()
{
    m_cropList = new QTableWidget(0, 1, this);
    m_cropList->setObjectName(QStringLiteral("cropList"));
    m_cropList->setHorizontalHeaderLabels({QStringLiteral("Növény megnevezése:")});
    m_cropList->horizontalHeader()->setStretchLastSection(true);
    m_cropList->verticalHeader()->hide();
    m_cropList->verticalHeader()->setDefaultSectionSize(19);
    m_cropList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_cropList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_cropList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_cropList->setFixedSize(230, 200);

    m_addCropButton = Controls::makeButton(QStringLiteral("+"), QStringLiteral("addCropButton"), this);
    m_addCropButton->setFixedWidth(25);
    m_specificNeedButton = Controls::makeButton(QStringLiteral("Tápanyagigény beállítása"),
                                      QStringLiteral("specificNeedButton"), this);
    m_splitButton = Controls::makeButton(QStringLiteral("Kijuttatás megosztása (Ősz, Tavasz)"),
                               QStringLiteral("splitButton"), this);

    m_yieldEdit = new QLineEdit(this);
    m_yieldEdit->setObjectName(QStringLiteral("yieldEdit"));
    m_yieldEdit->setFixedWidth(70);

    m_needModel = new TextTableModel(this);
    m_needModel->setAlignments({Qt::Alignment()}, Qt::AlignCenter);
    m_needGrid = new QTableView(this);
    m_needGrid->setObjectName(QStringLiteral("needGrid"));
    m_needGrid->setModel(m_needModel);
    m_needGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_needGrid->verticalHeader()->hide();
    m_needGrid->verticalHeader()->setDefaultSectionSize(19);
    m_needGrid->horizontalHeader()->setDefaultSectionSize(75);
    m_needGrid->setMinimumSize(540, 150);

    m_noReferenceLabel = new QLabel(this);
    m_noReferenceLabel->setObjectName(QStringLiteral("noReferenceLabel"));
    QPalette warningPalette = m_noReferenceLabel->palette();
    warningPalette.setColor(QPalette::WindowText, QColor(170, 0, 0));
    m_noReferenceLabel->setPalette(warningPalette);

    m_recommendedDosesButton = Controls::makeButton(QStringLiteral("Hatóanyag szükséglet kimutatása"),
                                          QStringLiteral("recommendedDosesButton"), this);
    m_selectButton = Controls::makeButton(QStringLiteral("Kiválasztás"), QStringLiteral("selectButton"),
                                this);
    m_selectButton->hide();
    m_doneButton = Controls::makeButton(QStringLiteral("Kész"), QStringLiteral("doneButton"), this);
    m_doneButton->setFixedWidth(75);

    auto *cropRow = new QHBoxLayout;
    cropRow->addWidget(m_cropList);
    auto *cropButtons = new QVBoxLayout;
    cropButtons->addWidget(m_addCropButton);
    cropButtons->addStretch();
    cropRow->addLayout(cropButtons);

    auto *right = new QGridLayout;
    right->addWidget(new QLabel(QStringLiteral("Tervezett hozam :"), this), 0, 0);
    right->addWidget(m_yieldEdit, 0, 1);
    right->addWidget(new QLabel(QStringLiteral("t/ha"), this), 0, 2);
    right->setColumnStretch(3, 1);
    right->addWidget(m_specificNeedButton, 1, 0, 1, 4);
    right->addWidget(m_splitButton, 2, 0, 1, 4);
    right->setRowStretch(3, 1);
    right->addWidget(m_recommendedDosesButton, 4, 0, 1, 4);
    cropRow->addSpacing(12);
    cropRow->addLayout(right, 1);

    auto *needHeader = new QHBoxLayout;
    needHeader->addWidget(new QLabel(QStringLiteral("Fajlagos tápanyagigény (kg/t) :"), this));
    needHeader->addWidget(m_noReferenceLabel, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_selectButton);
    bottom->addWidget(m_doneButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addLayout(cropRow);
    layout->addSpacing(6);
    layout->addLayout(needHeader);
    layout->addWidget(m_needGrid, 1);
    layout->addLayout(bottom);

    Controls::setTabOrder({m_cropList, m_addCropButton, m_yieldEdit, m_specificNeedButton,
                           m_splitButton, m_recommendedDosesButton, m_needGrid, m_selectButton,
                           m_doneButton});
}

void Step3Panel::reloadCrops()
{
    const QString chosen = currentCropId().isEmpty() ? items().cropId : currentCropId();
    QString error;
    const auto crops = m_reference.select(Tables::Nov::name, {}, {}, {}, &error);
    const QSignalBlocker blocker(m_cropList);
    m_cropList->setRowCount(0);
    if (!crops) {
        m_messenger.display(QStringLiteral("A növények listája nem olvasható: %1").arg(error),
                            ButtonSet::OkOnly, true, MessageKind::Error);
        return;
    }
    m_cropList->setRowCount(int(crops->size()));
    for (int row = 0; row < crops->size(); ++row) {
        const QVariantMap &crop = crops->at(row);
        auto *item = new QTableWidgetItem(crop.value(Tables::Nov::Nev).toString());
        item->setData(Qt::UserRole, crop.value(Tables::Nov::Novid).toString());
        m_cropList->setItem(row, 0, item);
    }
    selectCropRow(chosen);
    // The plan takes the crop the list now shows: a chosen one that has gone leaves none.
    m_plan.setCropId(currentCropId().isEmpty() ? PlanItems::noCrop() : currentCropId(),
                     Plan::Change::Computed);
}

void Step3Panel::showItem(PlanItem item)
{
    if (concerns(item, PlanItem::PlannedYield))
        showText(m_yieldEdit, items().plannedYield);
    if (concerns(item, PlanItem::CropId))
        selectCropRow(items().cropId);
}

void Step3Panel::selectCropRow(const QString &novid)
{
    // The crop of the plan; a crop the list lacks is shown as none, never as another.
    int row = -1;
    for (int candidate = 0; candidate < m_cropList->rowCount(); ++candidate) {
        if (m_cropList->item(candidate, 0)->data(Qt::UserRole).toString() == novid) {
            row = candidate;
            break;
        }
    }
    const QSignalBlocker blocker(m_cropList);
    m_cropList->setCurrentCell(row, row < 0 ? -1 : 0);
    if (row < 0)
        m_cropList->clearSelection();
}

QString Step3Panel::currentCropId() const
{
    const QTableWidgetItem *item = m_cropList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void Step3Panel::chooseCrop(int row)
{
    if (row < 0)
        return;
    m_plan.setCropId(currentCropId());
}

bool Step3Panel::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the yield edit shows the need for the new yield; a dialog or menu taking the
    // focus for a moment does not count as leaving.
    if (watched == m_yieldEdit && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            showSpecificNeeds();
    }
    return QWidget::eventFilter(watched, event);
}

void Step3Panel::showNeeds(const SpecificNeeds &needs)
{
    m_needs = needTable(needs.grid);
    m_needModel->setTable(m_needs.headings, m_needs.rows);
    m_noReferenceLabel->setText(needs.caption);
    if (needs.yieldMissing) {
        m_messenger.display(SpecificNeeds::yieldWarningText(), ButtonSet::OkOnly, true,
                            MessageKind::Warning);
    }
}

void Step3Panel::showSpecificNeeds()
{
    NeedCalculation need(m_reference, m_plan.items());
    const Outcome<SpecificNeeds> needs
        = ::showSpecificNeeds(m_plan.items(), m_state, need.calculator);
    if (!needs) {
        m_messenger.inform(needs.refusal());
        return;
    }
    showNeeds(*needs);
}

void Step3Panel::showRecommendedDoses()
{
    NeedCalculation need(m_reference, m_plan.items());
    const Outcome<RecommendedDoses> result
        = ::showRecommendedDoses(m_plan.items(), m_state, need.calculator);
    if (!result) {
        m_messenger.inform(result.refusal());
        return;
    }
    showNeeds(result->needs);
    emit resultReady(result->doses);
}

void Step3Panel::showSplit()
{
    const Outcome<ResultTable> split
        = ::showSplit(m_plan.items(), m_state, m_reference);
    if (!split) {
        m_messenger.inform(split.refusal());
        return;
    }
    emit resultReady(*split);
}
