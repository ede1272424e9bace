#include "core/settings/windowplacement.h"

#include <algorithm>

QRect mainWindowPlace(const std::optional<QRect> &stored, const QSize &builtInSize,
                      const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return QRect(QPoint(0, 0), builtInSize);
    const QRect *target = nullptr;
    qint64 largestShown = 0;
    if (stored) {
        for (const QRect &screen : screens) {
            const QRect shown = screen.intersected(*stored);
            const qint64 area = qint64(shown.width()) * shown.height();
            if (area > largestShown) {
                largestShown = area;
                target = &screen;
            }
        }
    }
    if (!target) {
        const QRect &screen = screens.first();
        const QSize size = (stored ? stored->size() : builtInSize).boundedTo(screen.size());
        return QRect(screen.left() + (screen.width() - size.width()) / 2,
                     screen.top() + (screen.height() - size.height()) / 2, size.width(),
                     size.height());
    }
    const QSize size = stored->size().boundedTo(target->size());
    const int left = std::clamp(stored->left(), target->left(),
                                target->left() + target->width() - size.width());
    const int top = std::clamp(stored->top(), target->top(),
                               target->top() + target->height() - size.height());
    return QRect(QPoint(left, top), size);
}

QPoint boxPlace(const std::optional<QPoint> &stored, const QPoint &builtIn, const QSize &boxSize,
                const QSize &screenSize)
{
    if (!stored)
        return builtIn;
    const qint64 right = qint64(stored->x()) + std::max(boxSize.width(), 1);
    const qint64 bottom = qint64(stored->y()) + std::max(boxSize.height(), 1);
    if (stored->x() >= screenSize.width() || stored->y() >= screenSize.height() || right <= 0
        || bottom <= 0)
        return builtIn;
    return QPoint(std::max(stored->x(), 0), std::max(stored->y(), 0));
}
