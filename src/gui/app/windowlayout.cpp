#include "gui/app/windowlayout.h"

#include "core/settings/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

WindowLayout::WindowLayout(QWidget &window, QWidget &surface, ConfigBlock &config,
                           std::function<Boxes()> boxes)
    : m_window(window)
    , m_surface(surface)
    , m_config(config)
    , m_boxes(std::move(boxes))
{
}

QPoint WindowLayout::defaultBoxPosition(ConfigBlock::Box box)
{
    return box == ConfigBlock::StepList ? QPoint(0, 0) : QPoint(175, 5);
}

void WindowLayout::placeDefault()
{
    for (const auto &[box, widget] : m_boxes())
        widget->move(defaultBoxPosition(box));
    updateSurfaceSize();
}

QList<QRect> WindowLayout::screenAreas() const
{
    // The window's own screen first: a window with no place of its own opens centred on it.
    QList<QRect> screens;
    const QScreen *ownScreen = m_window.screen();
    if (ownScreen)
        screens.append(ownScreen->availableGeometry());
    for (const QScreen *other : QGuiApplication::screens()) {
        if (other != ownScreen)
            screens.append(other->availableGeometry());
    }
    return screens;
}

QSize WindowLayout::screenSize() const
{
    const QList<QRect> screens = screenAreas();
    return screens.isEmpty() ? builtInWindowSize : screens.first().size();
}

void WindowLayout::applyStored()
{
    const QRect place
        = mainWindowPlace(m_config.mainWindowGeometry(), builtInWindowSize, screenAreas());
    m_window.resize(place.size());
    m_window.move(place.topLeft());
    const QSize screen = screenSize();
    for (const auto &[box, widget] : m_boxes())
        widget->move(
            boxPlace(m_config.boxPosition(box), defaultBoxPosition(box), widget->size(), screen));
    updateSurfaceSize();
    notePlaces();
    m_storedApplied = true;
}

void WindowLayout::placeBuiltBoxes()
{
    // Before the stored layout is applied there is nothing to place again.
    if (m_storedApplied) {
        const QSize screen = screenSize();
        for (const auto &[box, widget] : m_boxes()) {
            // a box the user has moved since stays where it is
            if (widget->pos() != m_placedBoxPositions[box])
                continue;
            widget->move(boxPlace(m_config.boxPosition(box), defaultBoxPosition(box),
                                  widget->size(), screen));
            m_placedBoxPositions[box] = widget->pos();
        }
    }
    updateSurfaceSize();
}

void WindowLayout::notePlaces()
{
    m_placedGeometry = QRect(m_window.pos(), m_window.size());
    for (const auto &[box, widget] : m_boxes())
        m_placedBoxPositions[box] = widget->pos();
}

void WindowLayout::save(const QString &configPath)
{
    // What still stands where config.ini put it is written back as it was read, so saving an
    // unchanged layout changes no byte, not even of a place the screen could not show.
    const QRect geometry(m_window.pos(), m_window.size());
    if (!m_config.mainWindowGeometry() || geometry != m_placedGeometry)
        m_config.setMainWindowGeometry(geometry);
    for (const auto &[box, widget] : m_boxes()) {
        if (!m_config.boxPosition(box) || widget->pos() != m_placedBoxPositions[box])
            m_config.setBoxPosition(box, widget->pos());
    }
    m_config.writeFile(configPath); // an unwritable file fails silently
    notePlaces();
}

void WindowLayout::restoreDefault(const QString &configPath)
{
    for (const auto &[box, widget] : m_boxes()) {
        widget->move(defaultBoxPosition(box));
        m_config.setBoxPosition(box, defaultBoxPosition(box));
    }
    updateSurfaceSize();
    save(configPath);
}

void WindowLayout::updateSurfaceSize()
{
    // A box dragged away can always be scrolled back into view.
    QRect extent(0, 0, 1, 1);
    for (const auto &entry : m_boxes())
        extent = extent.united(entry.second->geometry());
    const auto withMargin = [](int edge) {
        return int(std::min<qint64>(qint64(edge) + 40, QWIDGETSIZE_MAX));
    };
    m_surface.setMinimumSize(withMargin(extent.right()), withMargin(extent.bottom()));
}
