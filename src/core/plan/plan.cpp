#include "core/plan/plan.h"

#include "core/plan/elementselection.h"
#include "core/plan/soilsamples.h"

Plan::Plan(QObject *parent)
    : QObject(parent)
{
    // A window that has never held a plan looks like a reset one: all elements ticked,
    // step 1 available.
    m_items.elementSelected.fill(true);
    m_stepState.fill(StepState::Locked);
    m_stepState[1] = StepState::Current;
    m_stepEnabled.fill(false);
    m_stepEnabled[1] = true;
    m_items.soilSampleTable.setCell(1, 1, QStringLiteral("Átlag"));
}

void Plan::changed(PlanItem item, Change change)
{
    if (change == Change::Edit)
        markEdited();
    emit itemChanged(item);
}

template <typename T>
void Plan::setMember(PlanItem item, T PlanItems::*member, const T &value, Change change)
{
    if (m_items.*member == value)
        return;
    m_items.*member = value;
    changed(item, change);
}

void Plan::setElementSelected(int element, bool selected, Change change)
{
    if (element < 0 || element >= Elements::elementCount
        || m_items.elementSelected[element] == selected)
        return;
    m_items.elementSelected[element] = selected;
    changed(PlanItem::ElementSelected, change);
}

void Plan::selectElement(Elements::Element element, bool selected, Change change)
{
    if (element < 0 || element >= Elements::elementCount)
        return;
    m_items.elementSelected[element] = selected;
    ElementSelection::applyLinkage(m_items, element);
    changed(PlanItem::ElementSelected, change);
}

void Plan::setShowDescriptions(bool show, Change change)
{
    setMember(PlanItem::ShowDescriptions, &PlanItems::showDescriptions, show, change);
}

void Plan::setLotNumber(const QString &text, Change change)
{
    setMember(PlanItem::LotNumber, &PlanItems::lotNumber, text, change);
}

void Plan::setParcelNumber(const QString &text, Change change)
{
    setMember(PlanItem::ParcelNumber, &PlanItems::parcelNumber, text, change);
}

void Plan::setArea(const QString &text, Change change)
{
    setMember(PlanItem::Area, &PlanItems::area, text, change);
}

void Plan::setFarmingYear(const QString &text, Change change)
{
    setMember(PlanItem::FarmingYear, &PlanItems::farmingYear, text, change);
}

void Plan::setSiteCategory(int category, Change change)
{
    setMember(PlanItem::SiteCategory, &PlanItems::siteCategory, category, change);
}

void Plan::setSampleCount(int count, Change change)
{
    const int before = m_items.sampleCount;
    SoilSamples::setSampleCount(m_items, count);
    if (m_items.sampleCount != before)
        changed(PlanItem::SampleCount, change);
}

void Plan::setProgramAverage(bool on, Change change)
{
    setMember(PlanItem::ProgramAverage, &PlanItems::programAverage, on, change);
}

void Plan::setSoilCell(int row, int column, const QString &text, Change change)
{
    TextGrid &grid = m_items.soilSampleTable;
    if (row < 0 || row >= grid.rowCount() || column < 0 || column >= grid.columnCount()
        || grid.cell(row, column) == text)
        return;
    grid.setCell(row, column, text);
    changed(PlanItem::SoilSampleTable, change);
}

void Plan::setCropId(const QString &id, Change change)
{
    setMember(PlanItem::CropId, &PlanItems::cropId, id, change);
}

void Plan::setPlannedYield(const QString &text, Change change)
{
    setMember(PlanItem::PlannedYield, &PlanItems::plannedYield, text, change);
}

void Plan::setResidueCrop(int code, Change change)
{
    setMember(PlanItem::ResidueCrop, &PlanItems::residueCrop, code, change);
}

void Plan::setForecropYield(const QString &text, Change change)
{
    setMember(PlanItem::ForecropYield, &PlanItems::forecropYield, text, change);
}

void Plan::setLegumeEffect(int code, Change change)
{
    setMember(PlanItem::LegumeEffect, &PlanItems::legumeEffect, code, change);
}

void Plan::setManureTiming(int code, Change change)
{
    setMember(PlanItem::ManureTiming, &PlanItems::manureTiming, code, change);
}

void Plan::setManureAmount(const QString &text, Change change)
{
    setMember(PlanItem::ManureAmount, &PlanItems::manureAmount, text, change);
}

void Plan::setYieldLoss(bool on, Change change)
{
    setMember(PlanItem::YieldLoss, &PlanItems::yieldLoss, on, change);
}

void Plan::setResidualN(const QString &text, Change change)
{
    setMember(PlanItem::ResidualN, &PlanItems::residualN, text, change);
}

void Plan::setResidualP(const QString &text, Change change)
{
    setMember(PlanItem::ResidualP, &PlanItems::residualP, text, change);
}

void Plan::setResidualK(const QString &text, Change change)
{
    setMember(PlanItem::ResidualK, &PlanItems::residualK, text, change);
}

void Plan::setLeafLinks(const TextGrid &links, Change change)
{
    setMember(PlanItem::LeafLinks, &PlanItems::leafLinks, links, change);
}

void Plan::update(PlanItem item, const std::function<void(PlanItems &)> &edit, Change change)
{
    edit(m_items);
    changed(item, change);
}

void Plan::setItems(const PlanItems &items, Change change)
{
    m_items = items;
    changed(PlanItem::All, change);
}

void Plan::setOpen(bool open)
{
    if (m_open == open)
        return;
    m_open = open;
    emit openChanged(open);
}

void Plan::markSaved()
{
    if (!m_modified)
        return;
    m_modified = false;
    emit modifiedChanged(false);
}

void Plan::markEdited()
{
    if (!m_open || m_modified)
        return;
    m_modified = true;
    emit modifiedChanged(true);
}

Plan::StepState Plan::stepState(int step) const
{
    return isValidStep(step) ? m_stepState[step] : StepState::Locked;
}

void Plan::setStepState(int step, StepState state)
{
    if (!isValidStep(step) || m_stepState[step] == state)
        return;
    m_stepState[step] = state;
    emit stepsChanged();
}

bool Plan::isStepEnabled(int step) const
{
    return isValidStep(step) && m_stepEnabled[step];
}

void Plan::setStepEnabled(int step, bool enabled)
{
    if (!isValidStep(step) || m_stepEnabled[step] == enabled)
        return;
    m_stepEnabled[step] = enabled;
    emit stepsChanged();
}

void Plan::setSummaryEnabled(bool enabled)
{
    if (m_summaryEnabled == enabled)
        return;
    m_summaryEnabled = enabled;
    emit stepsChanged();
}

void Plan::resetPlan()
{
    PlanItems &items = m_items;

    // Schedule and links: header only, one empty row.
    items.scheduleDetailGrid.clear(1, 100, 0, PlanItems::detailColumnCount - 1);
    items.scheduleDetailGrid.setRowCount(2);
    items.scheduleGrid.clear(1, 50, 0, PlanItems::scheduleColumnCount - 1);
    items.scheduleGrid.setRowCount(2);
    items.leafLinks.clear(0, items.leafLinks.rowCount() - 1, 0, PlanItems::leafLinkColumnCount - 1);
    items.leafLinks.setRowCount(2);

    items.parcelNumber.clear();
    items.farmingYear.clear();
    items.showDescriptions = false;

    m_stepState.fill(StepState::Locked);
    m_stepState[1] = StepState::Current;
    m_stepEnabled.fill(false);
    m_stepEnabled[1] = true;
    m_summaryEnabled = false;

    items.elementSelected.fill(true);
    items.sampleCount = 0;

    items.plannedYield.clear();
    items.cropId = PlanItems::noCrop();

    // Rows 1–11 of the data columns, the average column's mark included.
    items.soilSampleTable.clear(1, PlanItems::soilRowCount - 1, 1,
                                PlanItems::soilColumnCount - 1);

    items.residueCrop = PlanItems::EgyikSem;
    items.forecropYield.clear();
    items.legumeEffect = 0;
    items.yieldLoss = false;
    items.residualN.clear();
    items.residualP.clear();
    items.residualK.clear();
    items.manureTiming = PlanItems::NemVolt;

    items.area.clear();
    items.lotNumber.clear();
    items.programAverage = false;

    emit stepsChanged();
    emit planReset();
    emit itemChanged(PlanItem::All);
}
