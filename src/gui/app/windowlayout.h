#pragma once

#include "core/settings/configblock.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>
#include <utility>

class QWidget;

// The places of the main window and of its boxes: taken from config.ini onto the screens at
// hand, followed as the boxes are built and moved, and written back so that what still
// stands where config.ini put it keeps its bytes.
class WindowLayout
{
public:
    using Boxes = QList<std::pair<ConfigBlock::Box, QWidget *>>;

    static constexpr QSize builtInWindowSize {1024, 720};

    // `boxes` lists the boxes config.ini keeps, as they are at the time of asking.
    WindowLayout(QWidget &window, QWidget &surface, ConfigBlock &config,
                 std::function<Boxes()> boxes);

    // The built-in place of every box ("Eredeti elrendezés").
    static QPoint defaultBoxPosition(ConfigBlock::Box box);

    // Every box at its built-in place, before config.ini is read.
    void placeDefault();
    // The window and the boxes where config.ini puts them, on the screens at hand.
    void applyStored();
    // The step boxes took their panels' sizes: those not moved since are placed again.
    void placeBuiltBoxes();
    void save(const QString &configPath);
    void restoreDefault(const QString &configPath);
    // The surface reaches a little beyond the farthest box.
    void updateSurfaceSize();

private:
    // The available areas of the screens, the window's own first.
    QList<QRect> screenAreas() const;
    QSize screenSize() const;
    // Remembers where the window and the boxes stand now, so that a save can tell what moved.
    void notePlaces();

    QWidget &m_window;
    QWidget &m_surface;
    ConfigBlock &m_config;
    std::function<Boxes()> m_boxes;
    bool m_storedApplied = false;
    QRect m_placedGeometry; // where the window stood when config.ini was last read or written
    std::array<QPoint, ConfigBlock::boxCount> m_placedBoxPositions {};
};
