#include "gui/app/hoverhelp.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
const char *const watchedProperty = "nutrisorHoverHelp";

void setBackground(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, colour);
    control->setPalette(palette);
}

void setUnderlined(QWidget *control, bool underlined)
{
    QFont font = control->font();
    font.setUnderline(underlined);
    control->setFont(font);
}
} // namespace

HoverHelp::HoverHelp(QLabel *statusLabel, QHash<QString, QString> texts, QObject *parent)
    : QObject(parent)
    , m_statusLabel(statusLabel)
    , m_texts(std::move(texts))
{
}

HoverHelp::Kind HoverHelp::kindOf(const QWidget *control)
{
    // Decided by the kind of control, not by its name: date pickers are spin boxes and the
    // lists and grids item views.
    if (qobject_cast<const QLineEdit *>(control) || qobject_cast<const QComboBox *>(control)
        || qobject_cast<const QAbstractItemView *>(control)
        || qobject_cast<const QAbstractSpinBox *>(control))
        return Kind::Field;
    if (qobject_cast<const QAbstractButton *>(control))
        return Kind::Button;
    return Kind::None;
}

void HoverHelp::watch(QWidget *root)
{
    const QList<QWidget *> controls = root->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->property(watchedProperty).toBool() || kindOf(control) == Kind::None)
            continue;
        // The line edit inside a combo box or a spin box belongs to its owner.
        if (qobject_cast<QLineEdit *>(control) && kindOf(control->parentWidget()) == Kind::Field)
            continue;
        control->setProperty(watchedProperty, true);
        control->installEventFilter(this);
    }
}

void HoverHelp::controlMouseEnter(QWidget *control)
{
    m_statusLabel->setText(m_texts.value(control->objectName()));
    switch (kindOf(control)) {
    case Kind::Field:
        setBackground(control, highlightColour());
        break;
    case Kind::Button:
        setUnderlined(control, true);
        break;
    case Kind::None:
        break;
    }
}

void HoverHelp::controlMouseLeave(QWidget *control)
{
    m_statusLabel->clear();
    switch (kindOf(control)) {
    case Kind::Field:
        setBackground(control, Qt::white);
        break;
    case Kind::Button:
        setUnderlined(control, false);
        break;
    case Kind::None:
        break;
    }
}

bool HoverHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        if (auto *control = qobject_cast<QWidget *>(watched)) {
            if (event->type() == QEvent::Enter)
                controlMouseEnter(control);
            else
                controlMouseLeave(control);
        }
    }
    return QObject::eventFilter(watched, event);
}
