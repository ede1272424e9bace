#include "core/text/memohtml.h"
#include "core/text/richtext.h"

#include <gtest/gtest.h>

TEST(MemoHtmlTest, HostileMarkupLeavesOnlyTheTextAndTheHarmlessElements)
{
    const struct
    {
        const char *memo;
        const char *safe;
    } cases[] = {
        {"<p>a</p><script>alert('x<p>')</script><p>b</p>", "<p>a</p><p>b</p>"},
        {"<SCRIPT type=text/javascript>x</SCRIPT >y</script>", "y"},
        {"<b onerror=\"alert(1)\" class=x>kiemelt</b>", "<b>kiemelt</b>"},
        {"<a href=\"javascript:alert(1)\">link</a>", "link"},
        {"<img src=http://example.com/x.png onerror=alert(1)>kép", "kép"},
        {"<style>p { background: url(http://x) }</style><p style=\"color:red\">p</p>", "<p>p</p>"},
        {"<iframe src=\"http://x\"><p>belül</p></iframe>kint", "kint"},
        {"<link rel=stylesheet href=http://x><object data=x>tartalék</object>", "tartalék"},
        // mis-nested and unclosed tags come out closed in order
        {"<b><i>dőlt</b> után</i><ul><li>egy<li>kettő",
            "<b><i>dőlt</i></b> után<ul><li>egy</li><li>kettő</li></ul>"},
        {"<P ALIGN=center>Nagy<BR>betű</P>", "<p>Nagy<br />betű</p>"},
        {"<table><tr><TD colspan=2 rowspan='3' width=5>c</td><th colspan=\"x\" rowspan=1000>h",
            "<table><tr><td colspan=\"2\" rowspan=\"3\">c</td><th>h</th></tr></table>"},
        // entities are text: decoded, then escaped again
        {"&lt;script&gt;alert(1)&lt;/script&gt; &amp;amp; &#60;b&#x3E; &eacute;&odblac; &nope; & x",
            "&lt;script&gt;alert(1)&lt;/script&gt; &amp;amp; &lt;b&gt; éő &amp;nope; &amp; x"},
        {"<!-- <script>x</script> --><!DOCTYPE html>1 < 2 > 0 \"q\"<b",
            "1 &lt; 2 &gt; 0 &quot;q&quot;"},
        {"<p onmouseover=x<b>y</b>", "<p>y</p>"}, // the unquoted value runs to the ">"
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.memo);
        EXPECT_EQ(Text::sanitizeMemoHtml(QString::fromUtf8(row.memo)).toStdString(), row.safe);
    }
    // nesting past 100 elements keeps the text only
    EXPECT_EQ(Text::sanitizeMemoHtml(QStringLiteral("<u>").repeated(101) + QStringLiteral("x</i>")),
        QStringLiteral("<u>").repeated(100) + QStringLiteral("x")
            + QStringLiteral("</u>").repeated(100));
}

TEST(MemoHtmlTest, FormattedMemosComeThroughUnchanged)
{
    for (const char *memo :
        {"{\\rtf1\\ansi\\ansicpg1250 {\\b F\\'e9lk\\'f6v\\'e9r} {\\i d\\'f5lt} {\\ul "
         "al\\'e1h\\'fazott}"
         "\\line sor \"id\\'e9z\\'f5jel\" & <jel>\\par\\tab m\\'e1sik\\~bekezd\\'e9s\\par}",
            "Foszfor < 10 mg/kg\r\nMásodik bekezdés & \"idézet\""}) {
        const QString html = Text::memoToRichText(QString::fromUtf8(memo));
        EXPECT_EQ(Text::sanitizeMemoHtml(html), html);
        EXPECT_EQ(Text::storedMemo(html), html);
        EXPECT_EQ(Text::storedMemo(QString::fromUtf8(memo)), QString::fromUtf8(memo));
    }
    // sanitising must leave HTML that is still read as HTML
    EXPECT_EQ(Text::storedMemo(QStringLiteral("<span>a &amp; b</span>\n<b>c</b>")),
        QStringLiteral("<p>a &amp; b\n<b>c</b></p>"));
}
