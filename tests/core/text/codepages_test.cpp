#include "core/text/codepages.h"

#include <gtest/gtest.h>

namespace {

// The Hungarian letters of both code pages a Paradox table may name, byte by byte.
TEST(CodePagesTest, HungarianLettersInBothCodePages)
{
    const QString letters = QStringLiteral("áéíóöőúüűÁÉÍÓÖŐÚÜŰ");
    const QByteArray dos("\xa0\x82\xa1\xa2\x94\x8b\xa3\x81\xfb\xb5\x90\xd6\xe0\x99\x8a\xe9\x9a\xeb");
    const QByteArray windows(
        "\xe1\xe9\xed\xf3\xf6\xf5\xfa\xfc\xfb\xc1\xc9\xcd\xd3\xd6\xd5\xda\xdc\xdb");
    EXPECT_EQ(Text::encodeCodePage(letters, 852), dos);
    EXPECT_EQ(Text::decodeCodePage(dos, 852), letters);
    EXPECT_EQ(Text::encodeCodePage(letters, 1250), windows);
    EXPECT_EQ(Text::decodeCodePage(windows, 1250), letters);
    // Every byte of the DOS code page survives a round trip.
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    EXPECT_EQ(Text::encodeCodePage(Text::decodeCodePage(all, 852), 852), all);
    // What a code page lacks becomes '?'.
    EXPECT_EQ(Text::encodeCodePage(QStringLiteral("a–b"), 852), QByteArray("a?b"));
}

} // namespace
