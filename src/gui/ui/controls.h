#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <initializer_list>

// Controls as the panels make them: each with its object name, by which the help texts
// and the tests find it.
namespace Controls {

inline QPushButton *makeButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// An edit of a fixed width; 0 leaves the width to the layout.
inline QLineEdit *makeEdit(const QString &name, QWidget *parent, int width = 0)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

// Tab goes from control to control in the order given: reading order, left to right and top
// to bottom, whatever order the controls were made in.
inline void setTabOrder(std::initializer_list<QWidget *> controls)
{
    QWidget *previous = nullptr;
    for (QWidget *control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace Controls
