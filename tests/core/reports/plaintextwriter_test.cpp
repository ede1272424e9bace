#include "core/reports/plaintextwriter.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QStringList linesOf(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QStringList lines = PlainTextWriter::toPlainText(document).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.takeLast(), QString()) << "the text ends with a line end";
    return lines;
}

TEST(PlainTextWriterTest, TableColumnsArePadded)
{
    const QStringList lines = linesOf(QStringLiteral(
        "<p>Kijuttatás</p>"
        "<table><thead><tr><td>Elem</td><td>Adag</td></tr></thead>"
        "<tr><td>Nitrogén</td><td align=\"right\">120</td></tr>"
        "<tr><td>K</td><td align=\"right\">5</td></tr>"
        "<tr><td colspan=\"2\">Összesen kijuttatva</td></tr></table><p>Vége</p>"));
    // The first column is as wide as its widest cell ("Nitrogén", 8 letters) and two
    // blanks apart from the second; the spanning cell's 19 letters widen the second column
    // from 4 to 9. Numbers stand flush right, the header row is underlined.
    const auto blanks = [](int count) { return QString(count, QLatin1Char(' ')); };
    const QStringList expected = {
        QStringLiteral("Kijuttatás"),
        QStringLiteral("Elem") + blanks(4 + 2) + QStringLiteral("Adag"),
        QString(19, QLatin1Char('-')),
        QStringLiteral("Nitrogén") + blanks(2 + 6) + QStringLiteral("120"),
        QStringLiteral("K") + blanks(7 + 2 + 8) + QStringLiteral("5"),
        QStringLiteral("Összesen kijuttatva"),
        QString(), // the block that follows every table
        QStringLiteral("Vége"),
    };
    EXPECT_EQ(lines.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

TEST(PlainTextWriterTest, ParagraphsListsRulesAndLineBreaks)
{
    const QStringList lines = linesOf(QStringLiteral(
        "<p>első sor<br>második&nbsp;sor</p><hr><ol><li>egy</li><li>kettő</li></ol>"
        "<ul><li>pont</li></ul>"));
    EXPECT_EQ(lines, QStringList({"első sor", "második sor", QString(72, QLatin1Char('-')),
                                  "  1. egy", "  2. kettő", "  - pont"}));
}

} // namespace
