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

TEST(PlanFileName, EnsureTapExtension)
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

class PlanFileSaveTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(QStringLiteral("terv.tap"));
};

// A saved plan loads back and leaves no temporary file behind; a plan that does not convert
// then leaves that file as it was, and no file is made below it.
TEST_F(PlanFileSaveTest, SavedFileLoadsBackAndABadPlanLeavesIt)
{
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(m_path, smallPlan(), &error)) << qPrintable(error);
    EXPECT_EQ(QFileInfo(m_path).size(), 8 + 168 + 112 + 2); // one column, nothing else
    PlanItems back;
    ASSERT_TRUE(PlanFile::loadPlanFile(m_path, back, &error)) << qPrintable(error);
    EXPECT_EQ(back.lotNumber, QStringLiteral("Hosszú-dűlő 5"));
    EXPECT_EQ(back.area, QStringLiteral("10000"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("terv.tap")});

    const QByteArray saved = fileBytes(m_path);
    PlanItems bad = smallPlan();
    bad.area = QStringLiteral("tíz");
    EXPECT_FALSE(PlanFile::savePlanFile(m_path, bad, &error));
    EXPECT_EQ(error, QStringLiteral("A terület nem egész szám: „tíz”. A terv nem menthető."));
    EXPECT_EQ(fileBytes(m_path), saved);
    EXPECT_EQ(files(), QStringList{QStringLiteral("terv.tap")});

    // A directory that is a file cannot hold one, whoever runs the test.
    const QString path = m_path + QStringLiteral("/terv.tap");
    EXPECT_FALSE(PlanFile::savePlanFile(path, smallPlan(), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("A fájl nem hozható létre: ")
                                 + QDir::toNativeSeparators(path)))
        << qPrintable(error);
}

TEST_F(PlanFileSaveTest, AReadOnlyDirectoryKeepsTheOldFile)
{
    const QByteArray old("régi terv");
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    const auto writable = [&](bool yes) {
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                | (yes ? QFileDevice::WriteOwner
                                                       : QFileDevice::Permissions()));
    };
    writable(false);
    QFile probe(m_dir.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        writable(true);
        GTEST_SKIP() << "running as a user who may write anywhere";
    }
    QString error;
    EXPECT_FALSE(PlanFile::savePlanFile(m_path, smallPlan(), &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(m_path))) << qPrintable(error);
    EXPECT_EQ(fileBytes(m_path), old); // the old file as it was
    writable(true);
}

TEST_F(PlanFileSaveTest, AMissingFileOrOneOfAnotherKindIsRefused)
{
    const QString missing = m_dir.filePath(QStringLiteral("nincs.tap"));
    const QString other = m_dir.filePath(QStringLiteral("config.ini"));
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
