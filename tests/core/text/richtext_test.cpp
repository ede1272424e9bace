#include "core/text/richtext.h"

#include <QList>

#include <gtest/gtest.h>

namespace {

TEST(RichTextTest, PlainMemoLinesBecomeParagraphs)
{
    EXPECT_EQ(Text::memoToRichText(QStringLiteral("Első sor.\r\nA <P> & K aránya\r\n\r\nVége\r\n")),
              QStringLiteral("<p>Első sor.</p><p>A &lt;P&gt; &amp; K aránya</p><p></p><p>Vége</p>"));
    EXPECT_EQ(Text::memoToRichText(QString()), QString());
    EXPECT_FALSE(Text::isRtf(QStringLiteral("{ nem RTF }")));
}

TEST(RichTextTest, RtfKeepsParagraphsRunsAndLetters)
{
    struct Case
    {
        const char *name;
        QString rtf;
        QString html;
    };
    const QList<Case> cases = {
        {"code page 1250 escapes, bold, a closing paragraph mark",
         QStringLiteral("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}}\\b T\\'f5z\\b0 "
                        "\\'fbr\\par}"),
         QStringLiteral("<p><b>Tőz</b>űr</p>")},
        {"no code page but a Central European font",
         QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial;}}\\'d5\\'db}"),
         QStringLiteral("<p>ŐŰ</p>")},
        {"unicode with its fallback, line break, underline, skipped destination",
         QStringLiteral("{\\rtf1{\\*\\generator Msftedit;}\\ul a\\ulnone\\line \\u337?b\\~c}"),
         QStringLiteral("<p><u>a</u><br />őb\u00a0c</p>")},
        {"groups restore the format, literal braces",
         QStringLiteral("{\\rtf1 x{\\i y}z \\{1\\}\\par\\par Q}"),
         QStringLiteral("<p>x<i>y</i>z {1}</p><p></p><p>Q</p>")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Text::isRtf(c.rtf));
        EXPECT_EQ(Text::memoToRichText(c.rtf), c.html);
    }
}

} // namespace
