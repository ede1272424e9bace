#pragma once

#include <QFont>

// The font of the program's windows: Tahoma 8 pt, a sans-serif face where Tahoma is missing.
inline QFont programFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
