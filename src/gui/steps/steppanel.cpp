#include "gui/steps/steppanel.h"

#include "core/settings/programsettings.h"

#include "gui/ui/numberkeyfilter.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

StepPanel::StepPanel(const StepContext &context, QWidget *parent)
    : QWidget(parent)
    , m_plan(context.plan)
    , m_reference(context.reference)
    , m_messenger(context.messenger)
    , m_state(context.state)
    , m_settings(context.settings)
{
    connect(&m_plan, &Plan::planReset, this, [this] { clearComputed(); });
    connect(&m_plan, &Plan::itemChanged, this, [this](PlanItem item) { showItem(item); });
}

void StepPanel::bindText(QLineEdit *edit, Setter<const QString &> setter)
{
    // The plan is captured by reference rather than through `this`: GCC's vptr check
    // misreads a member call through `this` in a lambda and reports a fault that is not there.
    connect(edit, &QLineEdit::textEdited, this, [&plan = m_plan, setter](const QString &text) {
        (plan.*setter)(text, Plan::Change::Edit);
    });
}

void StepPanel::bindCheck(QCheckBox *box, Setter<bool> setter)
{
    connect(box, &QCheckBox::toggled, this,
            [&plan = m_plan, setter](bool checked) { (plan.*setter)(checked, Plan::Change::Edit); });
}

void StepPanel::bindGroup(QButtonGroup *group, Setter<int> setter)
{
    connect(group, &QButtonGroup::idToggled, this,
            [&plan = m_plan, setter](int code, bool checked) {
                if (checked)
                    (plan.*setter)(code, Plan::Change::Edit);
            });
}

void StepPanel::bindCombo(QComboBox *combo, Setter<int> setter)
{
    connect(combo, &QComboBox::currentIndexChanged, this,
            [&plan = m_plan, setter](int index) { (plan.*setter)(index, Plan::Change::Edit); });
}

void StepPanel::filterNumberKeys(QLineEdit *edit)
{
    edit->installEventFilter(new NumberKeyFilter(
        NumberKeyFilter::Mode::Edit, [this] { m_plan.markEdited(); }, edit));
}

void StepPanel::showText(QLineEdit *edit, const QString &text)
{
    if (edit->text() == text)
        return;
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

void StepPanel::showChecked(QAbstractButton *button, bool checked)
{
    const QSignalBlocker blocker(button);
    button->setChecked(checked);
}

void StepPanel::showCode(QButtonGroup *group, int code)
{
    const QSignalBlocker blocker(group);
    if (QAbstractButton *button = group->button(code)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

void StepPanel::showIndex(QComboBox *combo, int index)
{
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

bool StepPanel::showsNitrateChecks() const
{
    return !m_settings || m_settings->nitrateChecks;
}
