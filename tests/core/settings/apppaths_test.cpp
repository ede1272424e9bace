#include "core/settings/apppaths.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/referenceimport.h"
#include "core/data/reference/tables.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Runs started at once on an empty data directory: another run's database lands before ours.
// Ours gives way, leaving no half-built file, and the other's opens as it is.
TEST(AppPathsTest, ADatabaseAnotherRunCreatedFirstIsTaken)
{
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::resolve(dir.path(), dir.path());
    const QString path = paths.referenceDatabasePath();
    ReferenceDatabase database;
    QString error;
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(path));
    ASSERT_TRUE(database.open(path) && database.deleteCrop(QStringLiteral("1")));
    EXPECT_TRUE(createReferenceDatabase(path, &error)) << qPrintable(error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList(paths.referenceDatabaseName()));
    ASSERT_TRUE(prepareReferenceDatabase(paths, database, &error)) << qPrintable(error);
    EXPECT_EQ(database.count(Tables::Nov::name, Filter::equals(Tables::Nov::Novid, "1")), 0);

    EXPECT_FALSE(createReferenceDatabase(dir.filePath(QStringLiteral("nincs/r.sqlite")), &error));
    EXPECT_EQ(error, QStringLiteral("A(z) %1 mappa nem létezik.")
                         .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("nincs")))));
}

// The copies of reference imports that never committed go at the next start, their marks
// with them; a finished copy stays, and so does the one an import still running writes.
TEST(AppPathsTest, PreparingRemovesTheCopiesOfUnfinishedImports)
{
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::resolve(dir.path(), dir.path());
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(paths.referenceDatabasePath()));
    const auto copy = [&](const char *day, const QByteArray &mark) {
        const QString path = dir.filePath(QStringLiteral("nutrisor-referencia-%1.sqlite").arg(day));
        QFile(path).open(QIODevice::WriteOnly);
        QFile markFile(ReferenceImport::unfinishedMarkPath(path));
        if (!mark.isNull() && markFile.open(QIODevice::WriteOnly))
            markFile.write(mark);
        return path;
    };
    copy("2024-11-05", QByteArray()); // committed
    copy("2024-11-05-2", "99999999\n\n\n"); // its run was killed: no process has that number
    copy("2024-11-05-3", ""); // killed while marking it
    QLockFile running(ReferenceImport::unfinishedMarkPath(copy("2024-11-06", QByteArray())));
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
