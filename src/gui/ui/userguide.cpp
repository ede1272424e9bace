#include "gui/ui/userguide.h"

#include "core/messages/messenger.h"
#include "core/settings/apppaths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void UserGuide::open(const QString &path, Messenger &messenger)
{
    const QFileInfo guide(path);
    if (guide.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(guide.absoluteFilePath())))
        return;
    messenger.display(QStringLiteral("A Használati leírást megtalálja a program könyvtárában "
                                     "hasznalati.pdf fájlnéven."),
                      ButtonSet::OkOnly, false, MessageKind::Information);
}

QString UserGuide::programGuidePath()
{
    AppPaths paths;
    paths.programDirectory = QCoreApplication::applicationDirPath();
    return paths.helpFilePath();
}
