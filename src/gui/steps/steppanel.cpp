#include "gui/steps/steppanel.h"

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
{
    connect(&m_plan, &Plan::planReset, this, [this] { clearComputed(); });
    connect(&m_plan, &Plan::itemChanged, this, [this](PlanItem item) { showItem(item); });
}

void StepPanel::bindText(QLineEdit *edit, Setter<const QString &> setter)
{
    connect(edit, &QLineEdit::textEdited, this,
            [this, setter](const QString &text) { (m_plan.*setter)(text, Plan::Change::Edit); });
}

void StepPanel::bindCheck(QCheckBox *box, Setter<bool> setter)
{
    connect(box, &QCheckBox::toggled, this,
            [this, setter](bool checked) { (m_plan.*setter)(checked, Plan::Change::Edit); });
}

void StepPanel::bindGroup(QButtonGroup *group, Setter<int> setter)
{
    connect(group, &QButtonGroup::idToggled, this, [this, setter](int code, bool checked) {
        if (checked)
            (m_plan.*setter)(code, Plan::Change::Edit);
    });
}

void StepPanel::bindCombo(QComboBox *combo, Setter<int> setter)
{
    connect(combo, &QComboBox::currentIndexChanged, this,
            [this, setter](int index) { (m_plan.*setter)(index, Plan::Change::Edit); });
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
