#include "core/settings/apppaths.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/referenceimport.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Runs started at once on an empty data directory: another run's database lands before ours
// is done. Ours gives way and leaves no half-built file.
TEST(AppPathsTest, ADatabaseAnotherRunCreatedFirstIsTaken)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(AppPaths::referenceDatabaseName());
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(path));
    QString error;
    EXPECT_TRUE(createReferenceDatabase(path, &error)) << qPrintable(error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList(AppPaths::referenceDatabaseName()));
}

// The next start removes the copies of reference imports that never committed, with their
// marks: one whose run is gone (no process has its number) or was killed while marking it.
// A finished copy stays, and so does the one an import of a run still going writes.
TEST(AppPathsTest, PreparingRemovesTheCopiesOfUnfinishedImports)
{
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::resolve(dir.path(), dir.path());
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(paths.referenceDatabasePath()));
    const QList<std::pair<const char *, QByteArray>> copies
        = {{"05", {}}, {"05-2", "99999999\n\n\n"}, {"05-3", ""}, {"06", {}}};
    for (const auto &[day, mark] : copies) {
        const QString path
            = dir.filePath(QStringLiteral("nutrisor-referencia-2024-11-%1.sqlite").arg(day));
        QFile(path).open(QIODevice::WriteOnly);
        QFile markFile(ReferenceImport::unfinishedMarkPath(path));
        if (!mark.isNull() && markFile.open(QIODevice::WriteOnly))
            markFile.write(mark);
    }
    QLockFile running(dir.filePath(QStringLiteral("nutrisor-referencia-2024-11-06.sqlite")
                                   + QStringLiteral(".befejezetlen")));
    ASSERT_TRUE(running.tryLock());
    ReferenceDatabase database;
    QString error;
    ASSERT_TRUE(prepareReferenceDatabase(paths, database, &error)) << qPrintable(error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"nutrisor-referencia-2024-11-05.sqlite",
                           "nutrisor-referencia-2024-11-06.sqlite",
                           "nutrisor-referencia-2024-11-06.sqlite.befejezetlen",
                           "nutrisor-referencia.sqlite"}));
}

// The user guide of a portable installation lies beside the program; an installed program
// (<prefix>/bin) finds it in <prefix>/share/nutrisor. Without either the place beside the
// program is named, as the help command says.
TEST(AppPathsTest, UserGuideIsFoundBesideTheProgramOrInTheInstalledData)
{
    const QString beside = QStringLiteral("bin/hasznalati.pdf");
    const QString shared = QStringLiteral("share/nutrisor/hasznalati.pdf");
    const QList<std::pair<QStringList, QString>> cases
        = {{{beside, shared}, beside}, {{shared}, shared}, {{}, beside}};
    for (const auto &[guides, expected] : cases) {
        QTemporaryDir prefix;
        QDir(prefix.path()).mkpath(QStringLiteral("bin"));
        QDir(prefix.path()).mkpath(QStringLiteral("share/nutrisor"));
        for (const QString &guide : guides)
            QFile(prefix.filePath(guide)).open(QIODevice::WriteOnly);
        const AppPaths paths
            = AppPaths::resolve(prefix.filePath(QStringLiteral("bin")), prefix.path());
        EXPECT_EQ(paths.helpFilePath(), prefix.filePath(expected))
            << guides.join(u',').toStdString();
    }
}
