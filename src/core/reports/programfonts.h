#pragma once

#include <QString>

// Tahoma, the face the windows are laid out for and the reports ask for first. Debian ships a
// metric-compatible copy with Wine's fonts (package fonts-wine) outside the system font path, so
// the program adds it itself; where it is missing the usual sans-serif face stands in.

// The directory of the Tahoma files of fonts-wine.
QString tahomaFontDirectory();

// Adds tahoma.ttf from `directory` to the program's fonts. False when it is not there or cannot
// be read; the program then goes on with its fallback.
bool loadTahomaFont(const QString &directory = tahomaFontDirectory());
