#include "core/settings/programsettings.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// What a settings file says; anything not understood keeps the default (on).
TEST(ProgramSettingsTest, ReadsWhatItUnderstands)
{
    struct Case { const char *text; bool nitrateChecks; };
    const Case cases[] = {
        {"", true},
        {"nitrateChecks=false\n", false},
        {"  nitrateChecks = false  \r\n", false},
        {"nitrateChecks=no\n", true},
        {"nitrateCheck=false\n", true},
        {"other=1\nnitrateChecks=false", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QByteArray bytes(c.text);
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        EXPECT_EQ(ProgramSettings::read(buffer).nitrateChecks, c.nitrateChecks);
    }
}

TEST(ProgramSettingsTest, TheFileKeepsTheSetting)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nutrisor-beallitasok.ini"));
    EXPECT_TRUE(ProgramSettings::readFile(path).nitrateChecks); // no file yet
    ASSERT_TRUE(ProgramSettings {false}.writeFile(path));
    EXPECT_FALSE(ProgramSettings::readFile(path).nitrateChecks);
    // a FIFO in its place is not waited for: the default holds
    const QString fifo = dir.filePath(QStringLiteral("fifo.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(ProgramSettings::readFile(fifo).nitrateChecks);
    QString error;
    EXPECT_FALSE(ProgramSettings {}.writeFile(dir.filePath(QStringLiteral("nincs/x.ini")), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
