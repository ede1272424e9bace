#include "gui/app/statuspictures.h"

#include <QPainter>
#include <QPainterPath>

static constexpr int pictureSize = 18;

static QPixmap drawLocked()
{
    QPixmap pixmap(pictureSize, pictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(110, 110, 110), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(5, 2, 8, 9), 0, 180 * 16); // shackle
    painter.drawLine(QPointF(5, 6.5), QPointF(5, 9));
    painter.drawLine(QPointF(13, 6.5), QPointF(13, 9));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(140, 140, 140));
    painter.drawRoundedRect(QRectF(3, 8, 12, 9), 2, 2);
    return pixmap;
}

static QPixmap drawCurrent()
{
    QPixmap pixmap(pictureSize, pictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(2, 6);
    arrow.lineTo(9, 6);
    arrow.lineTo(9, 2);
    arrow.lineTo(16, 9);
    arrow.lineTo(9, 16);
    arrow.lineTo(9, 12);
    arrow.lineTo(2, 12);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(150, 90, 0), 1));
    painter.setBrush(QColor(255, 190, 30));
    painter.drawPath(arrow);
    return pixmap;
}

static QPixmap drawDone()
{
    QPixmap pixmap(pictureSize, pictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 140, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(3, 9);
    tick.lineTo(7, 14);
    tick.lineTo(15, 4);
    painter.drawPath(tick);
    return pixmap;
}

QPixmap stepStatePicture(Plan::StepState state)
{
    static const QPixmap locked = drawLocked();
    static const QPixmap current = drawCurrent();
    static const QPixmap done = drawDone();
    switch (state) {
    case Plan::StepState::Locked: return locked;
    case Plan::StepState::Current: return current;
    case Plan::StepState::Done: return done;
    }
    return locked;
}
