#include "core/text/cp1250.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <cstring>

namespace {

QByteArray bytes(std::initializer_list<unsigned char> values)
{
    QByteArray result;
    for (const unsigned char value : values)
        result += char(value);
    return result;
}

} // namespace

// The Hungarian letters byte by byte are in the code-page test, whose 1250 is this one.
TEST(Cp1250Test, EveryByteRoundTrips)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    const QString text = Text::decodeCp1250(all);
    EXPECT_EQ(text.size(), 256); // one character per byte, the undefined ones included
    EXPECT_EQ(Text::encodeCp1250(text), all);
}

TEST(Cp1250Test, BuiltinTableAgreesWithQtsConverter)
{
    // The table serves Qt builds without ICU; it must read every byte as ICU does.
    QStringDecoder decoder("windows-1250");
    if (!decoder.isValid())
        GTEST_SKIP() << "this Qt has no windows-1250 converter";
    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        const QString viaQt = decoder.decode(QByteArray(1, char(i)));
        ASSERT_EQ(viaQt.size(), 1);
        EXPECT_EQ(Text::cp1250BuiltinCharacter(uchar(i)), viaQt.at(0));
    }
}

TEST(Cp1250Test, UnrepresentableCharactersBecomeOneQuestionMarkEach)
{
    const struct
    {
        QString text;
        QByteArray expected;
        const char *why;
    } cases[] = {
        {QStringLiteral("a漢b"), QByteArray("a?b"), "no CJK in cp1250"},
        {QStringLiteral("À"), QByteArray("?"), "Latin-1 letter missing from cp1250, no best fit"},
        {QStringLiteral("x😀y"), QByteArray("x?y"), "a surrogate pair is one character"},
        {QString(QChar(0xD800)), QByteArray("?"), "lone surrogate at the end is not dropped"},
        {QString(QChar(0x1A)), QByteArray("\x1A"), "a real SUB control stays itself"},
        {QStringLiteral("€–„”"), bytes({0x80, 0x96, 0x84, 0x94}), "typographic marks exist"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Text::encodeCp1250(c.text), c.expected);
    }
}

TEST(Cp1250Test, FixedFieldIsZeroFilledAndCutToLeaveTheNul)
{
    const struct
    {
        int textLength;
        int size;
        int kept;
        const char *why;
    } cases[] = {
        {40, 30, 29, "long text keeps size - 1 bytes"},
        {29, 30, 29, "exact fit still leaves room for the NUL"},
        {30, 30, 29, "one byte too long"},
        {3, 6, 3, "short text, rest zero"},
        {5, 1, 0, "one-byte field holds only the NUL"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        const QByteArray field = Text::fixedField(QString(c.textLength, u'k'), c.size);
        ASSERT_EQ(field.size(), c.size);
        EXPECT_EQ(field.left(c.kept), QByteArray(c.kept, 'k'));
        EXPECT_EQ(field.mid(c.kept), QByteArray(c.size - c.kept, '\0'));
    }
    EXPECT_TRUE(Text::fixedField(QStringLiteral("abc"), 0).isEmpty());
    EXPECT_TRUE(Text::fixedField(QStringLiteral("abc"), -4).isEmpty());
    // the cut keeps whole letters: ő, one byte, fills the last place before the NUL
    const QByteArray field = Text::fixedField(QString(28, u'a') + QStringLiteral("őű"), 30);
    EXPECT_EQ(field, QByteArray(28, 'a') + bytes({0xF5, 0x00}));
    EXPECT_EQ(Text::readFixedField(field.constData(), 30).toStdString(),
              std::string(28, 'a') + "ő");
}

// The cut and the zero fill are fixedField's cases above, which writes through this.
TEST(Cp1250Test, WriteFixedFieldStaysInsideItsBytes)
{
    char buffer[40];
    std::memset(buffer, 'G', sizeof buffer); // guard bytes around the field at 5 .. 35
    const QByteArray guard(5, 'G');
    Text::writeFixedField(buffer + 5, 30, QString(100, u'ő'));
    EXPECT_EQ(QByteArray(buffer, 40), guard + QByteArray(29, char(0xF5)) + '\0' + guard);
    // a shorter text clears what the field held before; a field of no size takes nothing
    Text::writeFixedField(buffer + 5, 30, QStringLiteral("ab"));
    Text::writeFixedField(buffer + 5, 0, QStringLiteral("xy"));
    Text::writeFixedField(buffer + 5, -1, QStringLiteral("xy"));
    EXPECT_EQ(QByteArray(buffer, 40), guard + "ab" + QByteArray(28, '\0') + guard);
}

TEST(Cp1250Test, ReadFixedFieldStopsAtTheNul)
{
    const QByteArray withNul("abc\0xyz", 7);
    EXPECT_EQ(Text::readFixedField(withNul.constData(), 7).toStdString(), "abc");
    const QByteArray full = bytes({'T', 0xF5, 'z', 'e', 'g'}); // "Tőzeg" filling the field
    EXPECT_EQ(Text::readFixedField(full.constData(), 5).toStdString(), "Tőzeg");
    EXPECT_EQ(Text::readFixedField(full.constData(), 2).toStdString(), "Tő"); // no NUL: all
    EXPECT_EQ(Text::readFixedField(full.constData(), 0), QString());
    EXPECT_EQ(Text::readFixedField(withNul.constData() + 3, 4), QString()); // NUL first
}
