#include "core/reports/rtfwriter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QRegularExpression>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString rtfOf(const QString &html)
{
    QTextDocument document;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setHtml(html);
    return QString::fromLatin1(RtfWriter::toRtf(document));
}

int countMatches(const QString &text, const QString &pattern)
{
    return int(text.count(QRegularExpression(pattern)));
}

// The control words of the innermost group that holds `text`.
QStringList controlWordsOfGroupWith(const QString &rtf, const QString &text)
{
    const qsizetype at = rtf.indexOf(text);
    if (at < 0)
        return {};
    const qsizetype open = rtf.lastIndexOf(QLatin1Char('{'), at);
    QStringList words;
    auto it = QRegularExpression(QStringLiteral("\\\\([a-z]+)-?\\d*"))
                  .globalMatch(rtf.mid(open, at - open));
    while (it.hasNext())
        words << it.next().captured(1);
    return words;
}

// Braces nest properly once the escaped ones are skipped.
bool bracesBalance(const QString &rtf)
{
    int depth = 0;
    for (qsizetype at = 0; at < rtf.size(); ++at) {
        if (rtf[at] == QLatin1Char('\\')) {
            ++at;
            continue;
        }
        if (rtf[at] == QLatin1Char('{'))
            ++depth;
        else if (rtf[at] == QLatin1Char('}') && --depth < 0)
            return false;
    }
    return depth == 0;
}

TEST(RtfWriterTest, HungarianTextBoldAndTable)
{
    const QString rtf = rtfOf(QStringLiteral(
        "<html><body><p>Őszi búza <b>hozam</b>: ű ő Ű</p>"
        "<table width=\"100%\"><tr><td width=\"25%\">Elem</td><td width=\"25%\">Érték</td>"
        "<td>Mértékegység</td></tr>"
        "<tr><td>Foszfor</td><td>12,5</td><td>kg/ha</td></tr></table></body></html>"));

    EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1\\ansi\\ansicpg1250")));
    EXPECT_TRUE(bracesBalance(rtf));
    for (const QChar ch : rtf)
        ASSERT_LT(ch.unicode(), 0x80) << "an RTF file is 7-bit text";

    // Ő U+0150, ú U+00FA, ű U+0171, ő U+0151, Ű U+0170, É U+00C9, é U+00E9.
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u336?szi b\\u250?za ")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u369? \\u337? \\u368?")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u201?rt\\u233?k")));

    EXPECT_TRUE(controlWordsOfGroupWith(rtf, QStringLiteral("hozam")).contains(u"b"));
    EXPECT_FALSE(controlWordsOfGroupWith(rtf, QStringLiteral("szi b")).contains(u"b"));

    // Two rows of three cells, each row declaring its three right cell edges.
    EXPECT_EQ(countMatches(rtf, QStringLiteral("\\\\trowd")), 2);
    EXPECT_EQ(countMatches(rtf, QStringLiteral("\\\\row\\b")), 2);
    EXPECT_EQ(countMatches(rtf, QStringLiteral("\\\\cell\\b")), 6);
    EXPECT_EQ(countMatches(rtf, QStringLiteral("\\\\intbl")), 6);
    QList<int> edges;
    auto it = QRegularExpression(QStringLiteral("\\\\cellx(\\d+)")).globalMatch(rtf);
    while (it.hasNext())
        edges << it.next().captured(1).toInt();
    // A4 less two 15 mm margins leaves 180 mm of text width; the two columns of a quarter
    // each and the third one the rest of it.
    const int textWidth = int(std::lround(180 / 25.4 * 1440));
    const int quarter = int(std::lround(textWidth * 0.25));
    EXPECT_EQ(edges, QList<int>({quarter, 2 * quarter, textWidth, quarter, 2 * quarter,
                                 textWidth}));
    // The cells in reading order.
    EXPECT_LT(rtf.indexOf(QStringLiteral("Elem")), rtf.indexOf(QStringLiteral("Foszfor")));
    EXPECT_LT(rtf.indexOf(QStringLiteral("Foszfor")), rtf.indexOf(QStringLiteral("12,5")));
}

TEST(RtfWriterTest, EscapesLineBreaksHeadingsAndSpans)
{
    const QString rtf = rtfOf(QStringLiteral(
        "<h1>Javaslat</h1><p>a{b}c\\d<br>első</p>"
        "<table border=\"1\"><tr><td colspan=\"2\">Összesen</td></tr>"
        "<tr><td>N</td><td>K</td></tr></table>"));
    EXPECT_TRUE(bracesBalance(rtf));
    EXPECT_TRUE(rtf.contains(QStringLiteral("a\\{b\\}c\\\\d\\line els\\u337?")));

    const QStringList heading = controlWordsOfGroupWith(rtf, QStringLiteral("Javaslat"));
    EXPECT_TRUE(heading.contains(u"b"));
    auto fontSize = [](const QString &rtf, const QString &text) {
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("\\\\fs(\\d+)[^{}]* ") + text).match(rtf);
        return match.hasMatch() ? match.captured(1).toInt() : 0;
    };
    EXPECT_GT(fontSize(rtf, QStringLiteral("Javaslat")), fontSize(rtf, QStringLiteral("a")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\outlinelevel0")));

    // The spanning cell is one cell reaching the second column's edge; borders are drawn.
    EXPECT_EQ(countMatches(rtf, QStringLiteral("\\\\row\\b")), 2);
    EXPECT_EQ(countMatches(rtf, QStringLiteral("\\\\cell\\b")), 3);
    EXPECT_EQ(countMatches(rtf, QStringLiteral("\\\\cellx")), 3);
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\clbrdrt\\brdrs")));
}

// The page follows the layout, and the frame repeats the title, the date and the page numbers.
TEST(RtfWriterTest, PageSizeAndFrameFollowTheLayout)
{
    QTextDocument document;
    document.setHtml(QStringLiteral("<p>x</p>"));
    const QPageLayout landscape(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    const QString rtf = QString::fromLatin1(RtfWriter::toRtf(
        document, landscape,
        {QStringLiteral("Ütemterv {1}"), QStringLiteral("2024.03.05."),
         QStringLiteral("%1. oldal / %2")}));
    const auto value = [&rtf](const QString &word) {
        return QRegularExpression(QLatin1String("\\\\") + word + QLatin1String("(\\d+)"))
            .match(rtf)
            .captured(1)
            .toInt();
    };
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\landscape")));
    // 297 mm by 210 mm and 10 mm margins, in twips (1440 to the inch).
    EXPECT_NEAR(value(QStringLiteral("paperw")), 297 / 25.4 * 1440, 2);
    EXPECT_NEAR(value(QStringLiteral("paperh")), 210 / 25.4 * 1440, 2);
    EXPECT_NEAR(value(QStringLiteral("margl")), 10 / 25.4 * 1440, 2);

    EXPECT_TRUE(bracesBalance(rtf));
    EXPECT_TRUE(rtf.contains(QStringLiteral("{\\header")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u220?temterv \\{1\\}")));
    EXPECT_TRUE(rtf.contains(QStringLiteral(
        "2024.03.05.\\tab {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}. oldal / "
        "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}")));
    // Header and footer come before the text.
    EXPECT_LT(rtf.indexOf(QStringLiteral("{\\footer")), rtf.indexOf(QStringLiteral(" x}")));
}

} // namespace
