#pragma once

#include "core/plan/plan.h"
#include "gui/steps/stepcontext.h"

#include <QWidget>

#include <utility>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

// What the five step panels share: their context (the plan they show and edit, the reference
// tables, the messenger, the calculation state), and the helpers that bind a control to its
// plan item. A control's change goes to the plan's setter as an edit; the
// plan's itemChanged comes back to showItem(), which puts the value into the control with
// its signals blocked, so showing a plan never counts as an edit.
class StepPanel : public QWidget
{
    Q_OBJECT

protected:
    template <typename T>
    using Setter = void (Plan::*)(T, Plan::Change);

    StepPanel(const StepContext &context, QWidget *parent);

    // Shows every item of the plan, once the panel's controls are built; after that the
    // plan's changes come by themselves.
    void refreshFromPlan() { showItem(PlanItem::All); }

    // Shows `item` in its controls (every item of the panel on PlanItem::All).
    virtual void showItem(PlanItem item) = 0;
    // A new plan: forgets what the step computed, which the plan does not hold.
    virtual void clearComputed() {}

    // The plan's items, read only: every change goes through the plan's setters.
    const PlanItems &items() const { return m_plan.items(); }

    static bool concerns(PlanItem item, PlanItem shown)
    {
        return item == PlanItem::All || item == shown;
    }

    // Text edited by the user, a box clicked, a radio of the group or a combo entry chosen.
    void bindText(QLineEdit *edit, Setter<const QString &> setter);
    void bindCheck(QCheckBox *box, Setter<bool> setter);
    void bindGroup(QButtonGroup *group, Setter<int> setter);
    void bindCombo(QComboBox *combo, Setter<int> setter);
    // The number keys of `edit`: the ones that pass count as edits at once.
    void filterNumberKeys(QLineEdit *edit);

    // The value into the control, its signals blocked; an equal value leaves the control as
    // it is (the cursor of an edit being typed into stays where it is).
    static void showText(QLineEdit *edit, const QString &text);
    static void showChecked(QAbstractButton *button, bool checked);
    // Checks the button of `code`; a code the group does not know leaves every button clear.
    static void showCode(QButtonGroup *group, int code);
    // An index the combo does not hold shows no entry.
    static void showIndex(QComboBox *combo, int index);

    Plan &m_plan;
    ReferenceDatabase &m_reference;
    Messenger &m_messenger;
    CalculationState &m_state;
    const ProgramSettings *m_settings;

    // Whether the lists carry the nitrate action programme's limits and warnings.
    bool showsNitrateChecks() const;
};
