#include "gui/ui/movablebox.h"

#include <QMouseEvent>

MovableBox::MovableBox(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
    setAutoFillBackground(true);
    QPalette boxPalette = palette();
    boxPalette.setColor(QPalette::Window, QColor(240, 240, 240));
    setPalette(boxPalette);
}

void MovableBox::boxMouseDown(const QPoint &position)
{
    m_dragStart = position;
    m_dragging = true;
    raise();
}

void MovableBox::boxMouseMove(const QPoint &position)
{
    if (!m_dragging)
        return;
    // The box moves under the pointer, so the press point keeps its place in the box.
    move(pos() + position - m_dragStart);
    emit moved();
}

void MovableBox::boxMouseUp()
{
    m_dragging = false;
}

void MovableBox::mousePressEvent(QMouseEvent *event)
{
    boxMouseDown(event->position().toPoint());
    event->accept();
}

void MovableBox::mouseMoveEvent(QMouseEvent *event)
{
    boxMouseMove(event->position().toPoint());
    event->accept();
}

void MovableBox::mouseReleaseEvent(QMouseEvent *event)
{
    boxMouseUp();
    event->accept();
}
