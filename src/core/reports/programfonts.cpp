#include "core/reports/programfonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

QString tahomaFontDirectory()
{
    return QStringLiteral("/usr/share/wine/fonts");
}

bool loadTahomaFont(const QString &directory)
{
    const QDir fonts(directory);
    const QString regular = fonts.filePath(QStringLiteral("tahoma.ttf"));
    if (!QFileInfo::exists(regular) || QFontDatabase::addApplicationFont(regular) < 0)
        return false;
    // The bold face is optional: without it Qt emboldens the regular one.
    const QString bold = fonts.filePath(QStringLiteral("tahomabd.ttf"));
    if (QFileInfo::exists(bold))
        QFontDatabase::addApplicationFont(bold);
    return true;
}
