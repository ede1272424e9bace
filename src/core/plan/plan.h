#pragma once

#include "core/plan/planitems.h"

#include <QObject>

#include <array>
#include <functional>

// The items of a plan, named for the change signal.
enum class PlanItem {
    ElementSelected, ShowDescriptions,
    LotNumber, ParcelNumber, Area, FarmingYear, SiteCategory, SampleCount, ProgramAverage,
    SoilSampleTable,
    CropId, PlannedYield,
    ResidueCrop, ForecropYield, LegumeEffect, ManureTiming, ManureAmount, YieldLoss,
    ResidualN, ResidualP, ResidualK,
    Schedule, // scheduleGrid and scheduleDetailGrid together
    LeafLinks,
    All,      // every item at once: a reset, a file load
};

// The one open plan: the one door to its persisted items, whether it is open and modified,
// and the progress of the five wizard steps. Every change goes through a setter or update(),
// which emits itemChanged naming the item; an edit also makes an open plan modified, so the
// modified flag follows from the changes and nobody has to remember it.
class Plan final : public QObject
{
    Q_OBJECT

public:
    enum class StepState { Locked = 0, Current = 1, Done = 2 };
    static constexpr int stepCount = 5;

    // An edit is the user's: it makes an open plan modified. A computed change (averages,
    // starred row labels, a file load) is the program's own and leaves the flag alone.
    enum class Change { Edit, Computed };

    explicit Plan(QObject *parent = nullptr);

    const PlanItems &items() const { return m_items; }

    // Typed setters; a value equal to the one held changes nothing and emits nothing.
    void setElementSelected(int element, bool selected, Change change = Change::Edit);
    // A click on an element's box: the micro elements computed from a macro element's
    // result follow it. Always announced, as the dependants may change with it.
    void selectElement(Elements::Element element, bool selected, Change change = Change::Edit);
    void setShowDescriptions(bool show, Change change = Change::Edit);
    void setLotNumber(const QString &text, Change change = Change::Edit);
    void setParcelNumber(const QString &text, Change change = Change::Edit);
    void setArea(const QString &text, Change change = Change::Edit);
    void setFarmingYear(const QString &text, Change change = Change::Edit);
    void setSiteCategory(int category, Change change = Change::Edit);
    // The number of samples (clamped to 0 … maxSampleCount); the grid's sample columns
    // follow it.
    void setSampleCount(int count, Change change = Change::Edit);
    void setProgramAverage(bool on, Change change = Change::Edit);
    void setSoilCell(int row, int column, const QString &text, Change change = Change::Edit);
    void setCropId(const QString &id, Change change = Change::Edit);
    void setPlannedYield(const QString &text, Change change = Change::Edit);
    void setResidueCrop(int code, Change change = Change::Edit);
    void setForecropYield(const QString &text, Change change = Change::Edit);
    void setLegumeEffect(int code, Change change = Change::Edit);
    void setManureTiming(int code, Change change = Change::Edit);
    void setManureAmount(const QString &text, Change change = Change::Edit);
    void setYieldLoss(bool on, Change change = Change::Edit);
    void setResidualN(const QString &text, Change change = Change::Edit);
    void setResidualP(const QString &text, Change change = Change::Edit);
    void setResidualK(const QString &text, Change change = Change::Edit);
    void setLeafLinks(const TextGrid &links, Change change = Change::Edit);

    // A change made by a routine that works on the items as a whole (a field import, adding
    // a schedule row, the averages): `edit` runs on the items, then `item` is announced.
    void update(PlanItem item, const std::function<void(PlanItems &)> &edit,
                Change change = Change::Edit);
    // Every item replaced, announced as PlanItem::All: a file load (not an edit), or a
    // field taken over from the farm database (an edit).
    void setItems(const PlanItems &items, Change change = Change::Computed);

    bool isOpen() const { return m_open; }
    bool isModified() const { return m_modified; }
    void setOpen(bool open);

    // The plan counts as saved (after a save, a load, a new plan, a close).
    void markSaved();
    // A key typed into a plan control counts as an edit even before the text changes; only
    // while a plan is open.
    void markEdited();

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

signals:
    void openChanged(bool open);
    void modifiedChanged(bool modified);
    void stepsChanged();
    // Emitted at the end of resetPlan, so that views clear what the steps computed.
    void planReset();
    // An item changed, through a setter, update(), setItems() or resetPlan() (All).
    void itemChanged(PlanItem item);

private:
    static bool isValidStep(int step) { return step >= 1 && step <= stepCount; }
    template <typename T>
    void setMember(PlanItem item, T PlanItems::*member, const T &value, Change change);
    void changed(PlanItem item, Change change);

    PlanItems m_items;
    bool m_open = false;
    bool m_modified = false;
    std::array<StepState, stepCount + 1> m_stepState{};
    std::array<bool, stepCount + 1> m_stepEnabled{};
    bool m_summaryEnabled = false;
};
