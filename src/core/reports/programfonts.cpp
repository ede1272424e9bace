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
    // Only the regular face: the bold file of fonts-wine has the bold widths but the regular
    // outlines, so bold text would come out regular. Without it Qt emboldens the regular face.
    const QString regular = QDir(directory).filePath(QStringLiteral("tahoma.ttf"));
    return QFileInfo::exists(regular) && QFontDatabase::addApplicationFont(regular) >= 0;
}
