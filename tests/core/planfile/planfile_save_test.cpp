#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

PlanItems smallPlan()
{
    PlanItems items;
    items.elementSelected.fill(true);
    items.lotNumber = QStringLiteral("Hosszú-dűlő 5");
    items.area = QStringLiteral("10000");
    items.soilSampleTable.setCell(1, 1, QStringLiteral("Átlag"));
    for (int row = 2; row <= 11; ++row)
        items.soilSampleTable.setCell(row, 1, QStringLiteral("1"));
    return items;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PlanFileSaveTest, EnsureTapExtension)
{
    const struct
    {
        QString name;
        QString expected;
    } cases[] = {
        {QStringLiteral("terv"), QStringLiteral("terv.tap")},
        {QStringLiteral("terv.tap"), QStringLiteral("terv.tap")},        // already ends in .tap
        {QStringLiteral("terv.TAP"), QStringLiteral("terv.TAP.tap")},    // compared case by case
        {QStringLiteral("/home/a/terv.tap.bak"), QStringLiteral("/home/a/terv.tap.bak.tap")},
        {QStringLiteral("tap"), QStringLiteral("tap.tap")},              // no point before it
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.name));
        EXPECT_EQ(PlanFile::ensureTapExtension(c.name), c.expected);
    }
}

TEST(PlanFileSaveTest, SavedFileLoadsBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("terv.tap"));
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(path, smallPlan(), &error)) << qPrintable(error);
    EXPECT_EQ(QFileInfo(path).size(), 8 + 168 + 112 + 2); // one column, nothing else
    PlanItems back;
    ASSERT_TRUE(PlanFile::loadPlanFile(path, back, &error)) << qPrintable(error);
    EXPECT_EQ(back.lotNumber, QStringLiteral("Hosszú-dűlő 5"));
    EXPECT_EQ(back.area, QStringLiteral("10000"));
    // Only the plan file is left in the directory: no temporary file behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("terv.tap")});
}

TEST(PlanFileSaveTest, AFileThatCannotBeCreatedIsReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A directory that is a file cannot hold one, whoever runs the test.
    const QString notADirectory = dir.filePath(QStringLiteral("fajl"));
    QFile blocker(notADirectory);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = notADirectory + QStringLiteral("/terv.tap");
    QString error;
    EXPECT_FALSE(PlanFile::savePlanFile(path, smallPlan(), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("A fájl nem hozható létre: ")
                                 + QDir::toNativeSeparators(path)))
        << qPrintable(error);
}

TEST(PlanFileSaveTest, AReadOnlyDirectoryKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("terv.tap"));
    const QByteArray old("régi terv");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(dir.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner);
        GTEST_SKIP() << "running as a user who may write anywhere";
    }
    QString error;
    EXPECT_FALSE(PlanFile::savePlanFile(path, smallPlan(), &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << qPrintable(error);
    EXPECT_EQ(fileBytes(path), old); // the old file as it was
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);
}

TEST(PlanFileSaveTest, APlanThatDoesNotConvertLeavesTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("terv.tap"));
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(path, smallPlan(), &error));
    const QByteArray saved = fileBytes(path);
    PlanItems bad = smallPlan();
    bad.area = QStringLiteral("tíz");
    EXPECT_FALSE(PlanFile::savePlanFile(path, bad, &error));
    EXPECT_EQ(error, QStringLiteral("A terület nem egész szám: „tíz”. A terv nem menthető."));
    EXPECT_EQ(fileBytes(path), saved); // the first save untouched
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("terv.tap")});
}

TEST(PlanFileSaveTest, AMissingFileOrOneOfAnotherKindIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("nincs.tap"));
    const QString other = dir.filePath(QStringLiteral("config.ini"));
    {
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(364, '\x01')); // the size of a config.ini, not of a plan
    }
    const struct
    {
        QString path;
        QString message; // the message; for a missing file, how it starts
    } cases[] = {
        {missing,
         QStringLiteral("A fájl nem nyitható meg: ") + QDir::toNativeSeparators(missing)},
        {other, QStringLiteral("A fájl nem Tápanyag-gazdálkodási terv, vagy sérült.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.path));
        PlanItems items = smallPlan();
        QString error;
        EXPECT_FALSE(PlanFile::loadPlanFile(c.path, items, &error));
        EXPECT_EQ(c.path == missing ? error.left(c.message.size()) : error, c.message);
        EXPECT_EQ(items.lotNumber, QStringLiteral("Hosszú-dűlő 5")); // nothing read
    }
}

} // namespace
