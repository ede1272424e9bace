#pragma once

#include "core/plan/planitems.h"

#include <QObject>

#include <array>

// The one open plan: its persisted items, whether it is open and modified, and the progress
// of the five wizard steps. The widgets write their values into items() and then call
// markModified(false); this class is the one place that knows the modified flag.
class Plan final : public QObject
{
    Q_OBJECT

public:
    enum class StepState { Locked = 0, Current = 1, Done = 2 };
    static constexpr int stepCount = 5;

    explicit Plan(QObject *parent = nullptr);

    const PlanItems &items() const { return m_items; }
    PlanItems &items() { return m_items; }

    bool isOpen() const { return m_open; }
    bool isModified() const { return m_modified; }
    void setOpen(bool open);

    // With saved true: the plan counts as saved. With saved false: the plan has an unsaved
    // change — but only while a plan is open; otherwise nothing happens.
    void markModified(bool saved);

    // Steps are numbered 1–5.
    StepState stepState(int step) const;
    void setStepState(int step, StepState state);
    bool isStepEnabled(int step) const;
    void setStepEnabled(int step, bool enabled);
    bool isSummaryEnabled() const { return m_summaryEnabled; }
    void setSummaryEnabled(bool enabled);

    // Every persisted item back to its value in a new plan (the site category and the manure
    // amount are kept, as a file load sets them), step 1 current and the others locked.
    void resetPlan();

    // Tells the views that items changed behind their backs (an import, a file load), so
    // that they show the plan again.
    void notifyItemsChanged() { emit itemsChanged(); }

signals:
    void openChanged(bool open);
    void modifiedChanged(bool modified);
    void stepsChanged();
    // Emitted at the end of resetPlan, so that views clear what the steps computed.
    void planReset();
    void itemsChanged();

private:
    static bool isValidStep(int step) { return step >= 1 && step <= stepCount; }

    PlanItems m_items;
    bool m_open = false;
    bool m_modified = false;
    std::array<StepState, stepCount + 1> m_stepState{};
    std::array<bool, stepCount + 1> m_stepEnabled{};
    bool m_summaryEnabled = false;
};
