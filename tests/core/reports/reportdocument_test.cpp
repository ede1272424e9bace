#include "core/reports/reportdocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

const QDate printDate(2024, 3, 5);

QString samplePlanHtml()
{
    return QStringLiteral(
        "<html><head><meta charset=\"windows-1250\"><style>"
        "th { background-color: #e0e0e0; } td, th { padding: 2px; }</style></head><body>"
        "<h1>Összesített kimutatás</h1>"
        "<p>Tábla: <b>Hosszú-dűlő 5</b>, növény: Őszi búza, tervezett hozam: 6,5 t/ha</p>"
        "<table border=\"1\" cellspacing=\"0\" width=\"100%\">"
        "<tr><th>Elem</th><th>Adag (kg/ha)</th><th>Megjegyzés</th></tr>"
        "<tr><td>Nitrogén</td><td align=\"right\">120</td><td>tűzdelés tavasszal</td></tr>"
        "<tr><td>Foszfor</td><td align=\"right\">12,5</td><td>ősszel bedolgozva</td></tr>"
        "</table><p>Ősz, tűz, Őrbottyán, Űrhajós</p></body></html>");
}

QString threeSectionHtml()
{
    return QStringLiteral(
        "<html><body><p>Első szakasz</p>"
        "<p style=\"page-break-before: always\">Második szakasz</p>"
        "<p style=\"page-break-before: always\">Harmadik szakasz</p></body></html>");
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty();
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of pages first..last (every page when 0), as poppler reads it.
QString pdfText(const QString &path, int first = 0, int last = 0)
{
    QStringList arguments;
    if (first > 0)
        arguments << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l")
                  << QString::number(last);
    return runTool(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
}

QString pdfInfo(const QString &path, const QString &key)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(key),
                                  QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class ReportDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (!havePoppler())
            GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo, pdffonts) not installed";
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

// Every format keeps the Hungarian text; the PDF has its header and footer in embedded fonts.
TEST_F(ReportDocumentTest, EveryFormatKeepsTheHungarianText)
{
    const QString title = QStringLiteral("Összesített kimutatás <1> – Hosszú-dűlő");
    const ReportDocument report(samplePlanHtml(), title, QPageLayout::Portrait, printDate);
    EXPECT_EQ(report.pageCount(), 1);
    const QString pdf = path(QStringLiteral("terv.pdf"));
    QString error;
    ASSERT_TRUE(report.exportTo(pdf, ReportFormat::Pdf, &error)) << qPrintable(error);

    const QString text = pdfText(pdf);
    for (const QString &expected :
         {title, QStringLiteral("Őszi búza"),
          QStringLiteral("tűzdelés tavasszal"), QStringLiteral("ősszel bedolgozva"),
          QStringLiteral("Ősz, tűz, Őrbottyán, Űrhajós"), QStringLiteral("1. oldal / 1"),
          QStringLiteral("2024.03.05.")}) {
        SCOPED_TRACE(expected.toStdString());
        EXPECT_TRUE(text.contains(expected));
    }
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Title")), title);
    EXPECT_TRUE(pdfInfo(pdf, QStringLiteral("Page size")).contains(QStringLiteral("(A4)")));

    // pdffonts: two heading lines, then one line per font whose "emb" column says yes.
    const QStringList fonts = runTool(QStringLiteral("pdffonts"), {pdf})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString &font : fonts) {
        SCOPED_TRACE(font.toStdString());
        const QRegularExpression embedded(QStringLiteral("\\syes\\s+(yes|no)\\s+(yes|no)\\s"));
        EXPECT_TRUE(font.contains(embedded));
    }

    const QString html = path(QStringLiteral("terv.html"));
    const QString txt = path(QStringLiteral("terv.txt"));
    ASSERT_TRUE(report.exportTo(html, ReportFormat::Html));
    ASSERT_TRUE(report.exportTo(txt, ReportFormat::Text));

    // The page a browser opens: UTF-8 declared once (the template's cp1250 one is gone)
    // and the same text as the report when read back.
    const QString written = fileText(html);
    EXPECT_EQ(written.count(QStringLiteral("charset"), Qt::CaseInsensitive), 1);
    EXPECT_TRUE(written.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(written.contains(
        QStringLiteral("<title>Összesített kimutatás &lt;1&gt; – Hosszú-dűlő</title>")));
    QTextDocument back;
    back.setHtml(written);
    EXPECT_EQ(back.toPlainText(), report.document().toPlainText());

    // The plain text in UTF-8 (its table layout is the plain-text writer's).
    EXPECT_TRUE(fileText(txt).split(QLatin1Char('\n')).contains(
        QStringLiteral("Ősz, tűz, Őrbottyán, Űrhajós")));
}

// Each section after the first starts a page; a page printed alone keeps its number of all.
TEST_F(ReportDocumentTest, EveryPageCarriesItsNumberOfAll)
{
    const ReportDocument report(threeSectionHtml(), QStringLiteral("Leírások"),
                                QPageLayout::Portrait, printDate);
    ASSERT_EQ(report.pageCount(), 3);
    const QString pdf = path(QStringLiteral("harom.pdf"));
    ASSERT_TRUE(report.exportTo(pdf, ReportFormat::Pdf));
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("3"));

    // the device's page range: the second page only
    const QString second = path(QStringLiteral("masodik.pdf"));
    {
        QFile file(second);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QPdfWriter writer(&file);
        writer.setPageLayout(report.pageLayout());
        QPageRanges ranges;
        ranges.addPage(2);
        writer.setPageRanges(ranges);
        ASSERT_TRUE(report.print(&writer));
    }
    EXPECT_EQ(pdfInfo(second, QStringLiteral("Pages")), QStringLiteral("1"));

    for (const QString &text : {pdfText(pdf, 2, 2), pdfText(second)}) {
        SCOPED_TRACE(text.toStdString());
        for (const char *shown : {"Második szakasz", "2. oldal / 3", "Leírások", "2024.03.05."})
            EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
        EXPECT_FALSE(text.contains(QStringLiteral("Első szakasz")));
        EXPECT_FALSE(text.contains(QStringLiteral("Harmadik szakasz")));
    }
}

// Rows of two lines go over the page breaks: every row prints once and none is lost.
TEST_F(ReportDocumentTest, LongTableFlowsOverPagesWithoutLosingOrRepeatingRows)
{
    QString rows;
    for (int row = 1; row <= 150; ++row)
        rows += QStringLiteral("<tr><td>R%1X<br>x</td><td>Őszi árpa<br>tavasszal</td></tr>")
                    .arg(row, 3, 10, QLatin1Char('0'));
    const ReportDocument report(QStringLiteral("<table border=\"1\">%1</table>").arg(rows),
                                QStringLiteral("Ütemterv"), QPageLayout::Landscape, printDate);
    ASSERT_GT(report.pageCount(), 1);
    const QString pdf = path(QStringLiteral("hosszu.pdf"));
    ASSERT_TRUE(report.exportTo(pdf, ReportFormat::Pdf));
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QString::number(report.pageCount()));
    // A4 across, 842 by 595 points as pdfinfo rounds them.
    const QString pageSize = pdfInfo(pdf, QStringLiteral("Page size"));
    EXPECT_TRUE(pageSize.startsWith(QStringLiteral("842 x 595"))) << qPrintable(pageSize);

    const QString text = pdfText(pdf);
    for (int row = 1; row <= 150; ++row) {
        const QString mark = QStringLiteral("R%1X").arg(row, 3, 10, QLatin1Char('0'));
        ASSERT_EQ(text.count(mark), 1) << qPrintable(mark);
    }
    const QString last = pdfText(pdf, report.pageCount(), report.pageCount());
    EXPECT_TRUE(last.contains(QStringLiteral("R150X")));
}

// Wherever the page ends, a heading (or two over each other) starts on the page of the first
// row or line it heads: filler of every length pushes them through the foot of the first page.
TEST(ReportDocumentLayoutTest, AHeadingStaysWithWhatFollows)
{
    const auto pageOf = [](const ReportDocument &report, const QString &text) {
        const QTextDocument &document = report.document();
        const QTextBlock block = document.find(text).block();
        const QRectF rect = document.documentLayout()->blockBoundingRect(block);
        // a page's first line may lie a fraction of a unit above the page's edge
        return int((rect.top() + block.layout()->lineAt(0).y() + 1) / document.pageSize().height());
    };
    for (int filler = 30; filler <= 75; ++filler) {
        SCOPED_TRACE(filler);
        const QString html = QStringLiteral("<p>sor</p>").repeated(filler)
                             + QStringLiteral("<h2>Kijuttatási ütemterv</h2><table border=\"1\">"
                                              "<tr><th>Dátum</th></tr><tr><td>2012.3.5.</td></tr>"
                                              "</table><h2>Javaslatok</h2><h3>Nitrogén</h3>"
                                              "<p>Tavasszal megosztva.</p>");
        const ReportDocument report(html, QStringLiteral("Terv"), QPageLayout::Portrait, printDate);
        EXPECT_EQ(pageOf(report, QStringLiteral("Kijuttatási ütemterv")),
                  pageOf(report, QStringLiteral("Dátum")));
        EXPECT_EQ(pageOf(report, QStringLiteral("Javaslatok")),
                  pageOf(report, QStringLiteral("Tavasszal megosztva.")));
        EXPECT_EQ(pageOf(report, QStringLiteral("Nitrogén")),
                  pageOf(report, QStringLiteral("Tavasszal megosztva.")));
    }
}

// The program lays the plain markup of the designs out itself; every page must print as the
// text document prints it: the same number of pages and the same text on each, where headings,
// rows and lines reach the foot of a page too.
TEST_F(ReportDocumentTest, OwnLayoutPrintsThePagesOfTheTextDocument)
{
    QString longTable = QStringLiteral("<table class=\"g\" border=\"1\" cellspacing=\"0\" "
                                       "cellpadding=\"2\" width=\"100%\"><thead><tr>"
                                       "<th width=\"10%\">Minta</th><th></th><th>CaCO<sub>3</sub>"
                                       "<br>%</th><th colspan=\"2\">Ellátottság</th></tr></thead>");
    for (int block = 1; block <= 40; ++block)
        longTable += QStringLiteral("<tr><td rowspan=\"3\"><b>M-%1</b></td><td>Javasolt adag: "
                                    "(kg/ha)</td><td class=\"n\">%2</td><td>Jó</td><td></td></tr>"
                                    "<tr><td>Megosztás</td><td class=\"n\">&nbsp;</td>"
                                    "<td colspan=\"2\">Ö:70%,Max: 100kg/ha</td></tr>"
                                    "<tr><td>Korrigált</td><td class=\"n\"><i>%3</i></td><td>"
                                    "&lt;5 &amp; &#337;</td><td>x</td></tr>")
                         .arg(block)
                         .arg(block * 7.5)
                         .arg(block * 3);
    longTable += QStringLiteral("</table>");
    const QString style = QStringLiteral(
        "<html><head><style>h2 { font-size: 12pt; margin-top: 14px; } td.n { text-align: right; }"
        " table.g th { background-color: #e3ece7; } p { margin-top: 2px; }</style></head><body>");
    QStringList pages {samplePlanHtml(), threeSectionHtml(),
                       style + longTable + QStringLiteral("<p>vége</p>"),
                       // a cell spanning past the last row, a row short of cells
                       QStringLiteral("<table border=\"1\"><tr><td rowspan=\"9\">a</td><td>b c"
                                      "</td><td>f</td></tr><tr><td>d</td></tr></table>")};
    // a heading over another and a table, pushed through the foot of the page
    for (int filler = 56; filler <= 64; filler += 2)
        pages << style + QStringLiteral("<p>sor</p>").repeated(filler)
                     + QStringLiteral("<h2>Kijuttatási ütemterv</h2><h3>Ősszel</h3>") + longTable;
    for (const QString &html : pages) {
        SCOPED_TRACE(html.left(300).toStdString());
        ReportDocument own(html, QStringLiteral("Terv"), QPageLayout::Portrait, printDate);
        ReportDocument text(html, QStringLiteral("Terv"), QPageLayout::Portrait, printDate);
        text.setOwnLayout(false);
        ASSERT_TRUE(own.hasOwnLayout());
        ASSERT_EQ(own.pageCount(), text.pageCount());
        ASSERT_TRUE(own.exportTo(path(QStringLiteral("own.pdf")), ReportFormat::Pdf));
        ASSERT_TRUE(text.exportTo(path(QStringLiteral("text.pdf")), ReportFormat::Pdf));
        for (int page = 1; page <= own.pageCount(); ++page)
            EXPECT_EQ(pdfText(path(QStringLiteral("own.pdf")), page, page),
                      pdfText(path(QStringLiteral("text.pdf")), page, page))
                << "page " << page;
    }
}

// Markup beyond headings, paragraphs and plain tables is laid out by the text document.
TEST(ReportDocumentLayoutTest, OtherMarkupIsLeftToTheTextDocument)
{
    for (const char *html : {"<ul><li>Nitrogén</li></ul>", "<p>a<!-- b --></p>",
                             "<table><tr><td><table><tr><td>x</td></tr></table></td></tr></table>",
                             "<p>&eacute;</p>", "<div>Réz</div>", "<table><tr><td><p>x</p></td></tr></table>",
                             "<p><a href=\"#x\">Réz</a></p>",
                             "<table><tr><td width=\"0%\">a</td></tr></table>", "<html><body><table><tr>x</tr></table>"}) {
        SCOPED_TRACE(html);
        const ReportDocument report(QString::fromUtf8(html), QStringLiteral("Terv"));
        EXPECT_FALSE(report.hasOwnLayout());
        EXPECT_EQ(report.pageCount(), 1);
    }
}

// A failed write names the file and leaves nothing behind; an existing file stays untouched.
TEST_F(ReportDocumentTest, FailedWriteNamesTheFileAndLeavesNothing)
{
    const ReportDocument report(samplePlanHtml(), QStringLiteral("Kimutatás"));
    for (ReportFormat format :
         {ReportFormat::Pdf, ReportFormat::Rtf, ReportFormat::Text, ReportFormat::Html}) {
        SCOPED_TRACE(int(format));
        const QString missing = path(QStringLiteral("nincs/terv.pdf"));
        QString error;
        EXPECT_FALSE(report.exportTo(missing, format, &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("A fájl nem hozható létre: ")
                                     + QDir::toNativeSeparators(missing) + QStringLiteral(" (")))
            << qPrintable(error);
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("nincs"))));
    }

    // A name of 250 characters is allowed, but the temporary file beside it that the
    // export writes first would need a longer one, so the export fails (even as root).
    const QString name = QString(246, QLatin1Char('k')) + QStringLiteral(".pdf");
    const QString target = path(name);
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("régi kimutatás");
    }
    QString error;
    EXPECT_FALSE(report.exportTo(target, ReportFormat::Pdf, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("A kimutatás nem írható ide: ")
                                 + QDir::toNativeSeparators(target)))
        << qPrintable(error);
    EXPECT_FALSE(error.contains(QStringLiteral("Unknown error"))) << "no reason known, none said";
    EXPECT_EQ(fileText(target), QStringLiteral("régi kimutatás"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({name}));
}

} // namespace
