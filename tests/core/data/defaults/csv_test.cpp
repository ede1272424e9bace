#include "core/data/defaults/csv.h"

#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

TEST(CsvParse, ReadsHeaderAndRows)
{
    // a byte-order mark, CRLF line ends, an empty cell and a blank line are all tolerated
    const QString text
        = QStringLiteral("\uFEFFNovid;Nev;Megj\r\n1;Őszi búza;\r\n\r\n2;Őszi árpa;x\r\n");
    QString error;
    const std::optional<Csv::Table> table = Csv::parse(text, &error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_EQ(table->header, QStringList({"Novid", "Nev", "Megj"}));
    EXPECT_EQ(table->rows,
        QList<QStringList>({{"1", "Őszi búza", ""}, {"2", "Őszi árpa", "x"}}));
    // the blank line 3 is skipped, the row numbers stay those of the file
    EXPECT_EQ(table->lineNumbers, (QList<int> {2, 4}));
}

// The last line has no line end and is read all the same.
TEST(CsvParse, QuotedCellsHoldSeparatorsLineBreaksAndQuotes)
{
    const QString text
        = QStringLiteral("Javtap;Jav\nN;\"Első; második\nsor \"\"idézet\"\"\"\nP;x");
    const std::optional<Csv::Table> table = Csv::parse(text);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows,
        QList<QStringList>({{"N", "Első; második\nsor \"idézet\""}, {"P", "x"}}));
    // the quoted cell spans two lines, so the next row starts on line 4
    EXPECT_EQ(table->lineNumbers, (QList<int> {2, 4}));
}

TEST(CsvParse, MalformedTextIsRefusedWithItsLine)
{
    struct Case
    {
        const char *name;
        QString text;
        QString error;
    };
    const Case cases[] = {
        {"too few cells", QStringLiteral("A;B;C\n1;2;3\n1;2\n"),
            QStringLiteral("3. sor: 2 mező a fejléc 3 mezője helyett.")},
        {"too many cells", QStringLiteral("A;B\n1;2;3\n"),
            QStringLiteral("2. sor: 3 mező a fejléc 2 mezője helyett.")},
        {"unclosed quote", QStringLiteral("A;B\n1;\"open\n"),
            QStringLiteral("2. sor: lezáratlan idézőjel.")},
        {"quote inside a cell", QStringLiteral("A;B\n1;a\"b\n"),
            QStringLiteral("2. sor: hibás idézőjel.")},
        {"text after a closing quote", QStringLiteral("A;B\n1;\"a\"b\n"),
            QStringLiteral("2. sor: hibás idézőjel.")},
        {"no header", QStringLiteral("\n\n"), QStringLiteral("Hiányzik a fejléc sora.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(Csv::parse(c.text, &error));
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
