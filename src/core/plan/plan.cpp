#include "core/plan/plan.h"

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

void Plan::setOpen(bool open)
{
    if (m_open == open)
        return;
    m_open = open;
    emit openChanged(open);
}

void Plan::markModified(bool saved)
{
    if (saved) {
        const bool changed = m_modified;
        m_modified = false;
        if (changed)
            emit modifiedChanged(false);
        return;
    }
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
}
