#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>

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

} // namespace Controls
