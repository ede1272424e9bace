#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// Where the layout stored in config.ini is shown on the screens at hand. A stored place no
// screen can show gives way to the built-in one, and a size beyond the screen shrinks to it;
// the stored values themselves are left as they were read.

// The main window's geometry for the stored one (none when config.ini holds no usable
// place), on screens whose available areas are `screens`, the window's own screen first.
// The window goes onto the screen showing most of it; one lying on no screen opens in the
// middle of the first.
QRect mainWindowPlace(const std::optional<QRect> &stored, const QSize &builtInSize,
                      const QList<QRect> &screens);

// The top-left of a box of `boxSize` on the scrolling surface for the stored one, on a
// screen of `screenSize`: a box whose corner lies beyond the screen, or that lies wholly
// above or left of the surface, opens at `builtIn`; one reaching over the top or left edge
// is pulled in.
QPoint boxPlace(const std::optional<QPoint> &stored, const QPoint &builtIn, const QSize &boxSize,
                const QSize &screenSize);
