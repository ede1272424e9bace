#include "core/settings/apppaths.h"

#include "core/data/reference/referencedatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

static QString inDirectory(const QString &directory, const QString &name)
{
    return QDir(directory).filePath(name);
}

QString AppPaths::referenceDatabasePath() const
{
    return inDirectory(dataDirectory, referenceDatabaseName());
}

QString AppPaths::configPath() const
{
    return inDirectory(dataDirectory, QStringLiteral("config.ini"));
}

QString AppPaths::helpFilePath() const
{
    return inDirectory(programDirectory, QStringLiteral("hasznalati.pdf"));
}

AppPaths AppPaths::resolve(const QString &programDirectory, const QString &dataDirOption)
{
    AppPaths paths;
    paths.programDirectory = QDir::cleanPath(programDirectory);
    paths.startDirectory = QDir::currentPath();
    if (!dataDirOption.isEmpty()) {
        paths.dataDirectory = QDir::cleanPath(QDir(dataDirOption).absolutePath());
        return paths;
    }
    const QFileInfo portable(inDirectory(paths.programDirectory, referenceDatabaseName()));
    const QFileInfo programDir(paths.programDirectory);
    if (portable.exists() && portable.isWritable() && programDir.isWritable()) {
        paths.dataDirectory = paths.programDirectory;
        return paths;
    }
    paths.dataDirectory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return paths;
}

bool prepareReferenceDatabase(const AppPaths &paths, ReferenceDatabase &database, QString *error)
{
    if (!QDir().mkpath(paths.dataDirectory)) {
        *error = QStringLiteral("Az adatok mappája nem hozható létre: %1")
                     .arg(QDir::toNativeSeparators(paths.dataDirectory));
        return false;
    }
    const QString path = paths.referenceDatabasePath();
    if (!QFileInfo::exists(path) && !ReferenceDatabase::createFromDefaults(path, error))
        return false;
    return database.open(path, error);
}
