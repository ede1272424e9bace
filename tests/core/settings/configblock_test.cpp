#include "core/settings/configblock.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray reservedPattern()
{
    QByteArray bytes(36, '\0');
    for (int i = 0; i < 36; ++i)
        bytes[i] = char(0xA0 + i);
    return bytes;
}

qint32 int32At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

} // namespace

TEST(ConfigBlockTest, LayoutRoundTripKeepsReservedBytes)
{
    // A file from another installation: its reserved bytes must survive our rewrite.
    QByteArray original(ConfigBlock::size, '\0');
    original.replace(256, 36, reservedPattern());
    ConfigBlock block;
    block.setBytes(original);

    block.setFarmDatabaseDirectory(QStringLiteral("/home/tanácsadó/gazdaság"));
    block.setMainWindowGeometry(QRect(30, 40, 1024, 700)); // left, top, width, height
    for (int box = 0; box < ConfigBlock::boxCount; ++box)
        block.setBoxPosition(ConfigBlock::Box(box), QPoint(175 + box, 5 + box));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(block.write(buffer));
    const QByteArray bytes = buffer.data();
    ASSERT_EQ(bytes.size(), 364);

    EXPECT_EQ(bytes.mid(256, 36), reservedPattern());
    // Height, Width, Top, Left of the window at 292–307; each box stores Top before Left,
    // the step list at 308, the step-5 box last at 356.
    QList<qint32> fields;
    for (int offset : {292, 296, 300, 304, 308, 312, 356, 360})
        fields.append(int32At(bytes, offset));
    EXPECT_EQ(fields, QList<qint32>({700, 1024, 40, 30, 5, 175, 11, 181}));
    // The directory is cp1250 and NUL-terminated: "á" is one byte, 0xE1.
    EXPECT_EQ(bytes.mid(0, 11), QByteArray("/home/tan\xE1" "c"));

    ConfigBlock reread;
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    reread.read(buffer);
    EXPECT_EQ(reread.bytes(), bytes);
    EXPECT_EQ(reread.farmDatabaseDirectory(), QStringLiteral("/home/tanácsadó/gazdaság"));
    EXPECT_EQ(reread.mainWindowGeometry(), QRect(30, 40, 1024, 700));
    EXPECT_EQ(reread.boxPosition(ConfigBlock::Step5), QPoint(181, 11));
    EXPECT_EQ(reread.reserved(), reservedPattern());
}

TEST(ConfigBlockTest, ShortFileLeavesUnsuppliedFieldsToTheBuiltInLayout)
{
    struct Case
    {
        int length;
        bool window;
        int boxesStored; // boxes whose Top and Left both lie inside the file
    };
    const Case cases[] = {
        {0, false, 0},
        {256, false, 0},   // directory only
        {300, false, 0},   // window height and width, not its place
        {308, true, 0},    // the whole window rectangle
        {312, true, 0},    // the step list's Top without its Left
        {316, true, 1},
        {363, true, 6},    // the last box lacks one byte of its Left
        {364, true, 7},
    };
    QByteArray full(ConfigBlock::size, '\0');
    for (int offset = 292; offset < 364; offset += 4)
        qToLittleEndian<qint32>(100 + offset, full.data() + offset);

    for (const Case &c : cases) {
        SCOPED_TRACE(c.length);
        ConfigBlock block;
        block.setBytes(full.left(c.length));
        EXPECT_EQ(block.mainWindowGeometry().has_value(), c.window);
        for (int box = 0; box < ConfigBlock::boxCount; ++box)
            EXPECT_EQ(block.boxPosition(ConfigBlock::Box(box)).has_value(), box < c.boxesStored);
        EXPECT_EQ(block.bytes().size(), 364);
    }
}

TEST(ConfigBlockTest, WindowOfNoSizeIsNotTaken)
{
    // A block of zeros would give a main window of no size.
    ConfigBlock block;
    block.setBytes(QByteArray(ConfigBlock::size, '\0'));
    EXPECT_FALSE(block.mainWindowGeometry().has_value());
    EXPECT_EQ(block.boxPosition(ConfigBlock::StepList), QPoint(0, 0));
}

TEST(ConfigBlockTest, LongDirectoryIsCutInsideItsField)
{
    ConfigBlock block;
    block.setFarmDatabaseDirectory(QString(300, QLatin1Char('d')));
    EXPECT_EQ(block.farmDatabaseDirectory().size(), 255);
    EXPECT_EQ(block.bytes().at(255), '\0');
    EXPECT_EQ(block.bytes().mid(256, 36), QByteArray(36, '\0')); // reserved untouched
}

TEST(ConfigBlockTest, AMissingOrUnwritableFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    ConfigBlock missing;
    missing.readFile(path); // no file: no error, nothing stored
    EXPECT_FALSE(missing.mainWindowGeometry().has_value());
    EXPECT_TRUE(missing.farmDatabaseDirectory().isEmpty());
    // a FIFO in its place is not waited for
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    missing.readFile(path);
    EXPECT_TRUE(missing.farmDatabaseDirectory().isEmpty());

    // The file round trip is the main window's layout test.
    ConfigBlock block;
    EXPECT_FALSE(block.writeFile(dir.filePath(QStringLiteral("no/such/dir/config.ini"))));
}
