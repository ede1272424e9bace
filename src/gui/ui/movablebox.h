#pragma once

#include <QGroupBox>

// A box on the main window's scrolling surface. Pressing a mouse button on the box (not on
// one of its controls) brings it to the front; dragging moves it by the distance the
// pointer travelled since the press.
class MovableBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit MovableBox(const QString &title, QWidget *parent = nullptr);

    // The drag, in the box's own coordinates, as the mouse handlers see it.
    void boxMouseDown(const QPoint &position);
    void boxMouseMove(const QPoint &position);
    void boxMouseUp();
    bool isDragging() const { return m_dragging; }

signals:
    void moved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_dragging = false;
    QPoint m_dragStart;
};
