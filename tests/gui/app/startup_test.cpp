#include "gui/app/startup.h"

#include "core/data/reference/referencedatabase.h"
#include "core/reports/programfonts.h"
#include "core/settings/apppaths.h"
#include "gui/ui/programfont.h"
#include "support/scriptedmessenger.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontInfo>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(StartupTest, FirstStartCreatesTheReferenceDatabaseFromTheDefaults)
{
    QTemporaryDir dir;
    const QString dataDir = dir.filePath(QStringLiteral("adatok"));
    ScriptedMessenger messenger; // no message expected
    EXPECT_EQ(runProgram(AppPaths::resolve(dir.path(), dataDir), {}, {}, messenger, false), 0);
    EXPECT_TRUE(QFileInfo::exists(dataDir + QStringLiteral("/")
                                  + AppPaths::referenceDatabaseName()));
}

TEST(StartupTest, MissingReferenceTableEndsTheRunWithItsMessage)
{
    QTemporaryDir dir;
    AppPaths paths = AppPaths::resolve(dir.path(), dir.path());
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(paths.referenceDatabasePath()));
    {
        ReferenceDatabase database;
        ASSERT_TRUE(database.open(paths.referenceDatabasePath()));
        QSqlQuery drop(database.database());
        ASSERT_TRUE(drop.exec(QStringLiteral("DROP TABLE Find3")));
    }

    const QString dataDir = dir.path();
    ScriptedMessenger messenger;
    messenger.expect(Answer::Ok);
    EXPECT_EQ(runProgram(AppPaths::resolve(dir.path(), dataDir), {}, {}, messenger, false), 1);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.lastText().contains(QStringLiteral("Find3")))
        << messenger.lastText().toStdString();
    EXPECT_EQ(messenger.shown().at(0).kind, MessageKind::Error);
}

TEST(StartupTest, DataDirectoryChoice)
{
    QTemporaryDir program;
    // No reference database beside the program: the per-user data directory is used.
    const AppPaths perUser = AppPaths::resolve(program.path(), QString());
    EXPECT_NE(perUser.dataDirectory, program.path());
    // A portable installation keeps its data beside the program.
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(
        program.filePath(AppPaths::referenceDatabaseName())));
    EXPECT_EQ(AppPaths::resolve(program.path(), QString()).dataDirectory, program.path());
    // --data-dir wins over both.
    QTemporaryDir other;
    EXPECT_EQ(AppPaths::resolve(program.path(), other.path()).dataDirectory, other.path());
}

// The test programs run under the program's own start-up set-up (support/guitestmain.cpp).
TEST(StartupTest, QtsOwnDialogsSpeakHungarian)
{
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Mégse"));
}

TEST(StartupTest, WindowsUseTahomaWhereItIsInstalled)
{
    if (!QFileInfo::exists(tahomaFontDirectory() + QStringLiteral("/tahoma.ttf")))
        GTEST_SKIP() << "fonts-wine is not installed";
    EXPECT_EQ(QFontInfo(programFont()).family(), QStringLiteral("Tahoma"));
}
