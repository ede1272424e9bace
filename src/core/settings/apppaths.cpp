#include "core/settings/apppaths.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/referenceimport.h"

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

QString AppPaths::settingsPath() const
{
    return inDirectory(dataDirectory, QStringLiteral("nutrisor-beallitasok.ini"));
}

QString AppPaths::helpFilePath() const
{
    const QString name = QStringLiteral("hasznalati.pdf");
    const QString beside = inDirectory(programDirectory, name);
    if (QFileInfo::exists(beside))
        return beside;
    // An installed program lives in <prefix>/bin and keeps its guide in <prefix>/share/nutrisor.
    const QString installed = QDir::cleanPath(
        inDirectory(programDirectory, QStringLiteral("../share/nutrisor/") + name));
    return QFileInfo::exists(installed) ? installed : beside;
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
    if (!QFileInfo::exists(path) && !createReferenceDatabase(path, error))
        return false;
    ReferenceImport::removeUnfinishedBackups(path);
    return database.open(path, error);
}

bool createReferenceDatabase(const QString &path, QString *error)
{
    QString createError;
    if (ReferenceDatabase::createFromDefaults(path, &createError))
        return true;
    // Another run got there first. Its file is whole, since a database only ever appears by
    // a rename, and our half-built copy went with our failure.
    if (QFileInfo::exists(path))
        return true;
    if (error)
        *error = createError;
    return false;
}
