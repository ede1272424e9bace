#include "core/reports/planreports.h"
#include "core/reports/recommendationtexts.h"
#include "core/reports/reportdocument.h"
#include "core/reports/reportengine.h"
#include "summaryfixture.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

namespace Jav = Tables::Jav;

class ReportEngineTest : public SummaryTest
{
protected:
    void writeDesign(const QString &fileName, const QByteArray &text)
    {
        QFile file(m_start.filePath(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // The printed text of a report: what a reader of the page sees.
    static QString pageText(const PlanReport &report)
    {
        QTextDocument document;
        document.setHtml(report.rendered.html);
        return document.toPlainText();
    }

    std::optional<PlanReport> fullSummary(QString *error = nullptr)
    {
        PlanReports reports(m_plan.items(), m_database, m_start.path());
        return reports.fullSummary(summary(), false, error);
    }

    // The stored texts, each under its element's code.
    QMap<QString, QString> storedTexts()
    {
        QMap<QString, QString> texts;
        const QList<QVariantMap> rows = m_database.select(Jav::name).value_or(QList<QVariantMap>());
        for (const QVariantMap &row : rows)
            texts.insert(row.value(Jav::Javtap).toString(), row.value(Jav::Jav).toString());
        return texts;
    }

    QTemporaryDir m_start;
};

} // namespace

TEST_F(ReportEngineTest, ADesignInTheStartDirectoryReplacesTheBuiltInOne)
{
    const std::optional<PlanReport> builtIn = fullSummary();
    ASSERT_TRUE(builtIn);
    EXPECT_TRUE(pageText(*builtIn).contains(QStringLiteral("Talajvizsgálati eredmények")));

    // the user's file name differs in letter case, as files copied from elsewhere do
    writeDesign(QStringLiteral("FULL.html"),
                "<html><body><p>Saját terv: {{#RvCustomConnection2}}{{helysz}}{{/RvCustomConnection2}}"
                " {{RvCustomConnection3_count}} blokk</p></body></html>");
    QString error;
    const std::optional<PlanReport> own = fullSummary(&error);
    ASSERT_TRUE(own) << error.toStdString();
    EXPECT_EQ(pageText(*own), QStringLiteral("Saját terv: 0123/4 2 blokk"));
    EXPECT_EQ(own->title, PlanReports::summaryTitle());
}

TEST_F(ReportEngineTest, ADesignThatCannotBeParsedNamesItsFile)
{
    writeDesign(QStringLiteral("full.html"), "<p>{{#MintaEr}}{{minta}}</p>");
    QString error;
    EXPECT_FALSE(fullSummary(&error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("A(z) %1 nyomtatási terv hibás: ")
                                     .arg(QDir::toNativeSeparators(m_start.filePath(QStringLiteral("full.html"))))))
        << error.toStdString();

    writeDesign(QStringLiteral("full.html"), "<p>{{> nincs-ilyen}}</p>");
    EXPECT_FALSE(fullSummary(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("„nincs-ilyen”"))) << error.toStdString();

    const ReportEngine engine(m_start.path());
    EXPECT_FALSE(engine.render(QStringLiteral("Osszesites2"), {}, {}, &error));
    EXPECT_EQ(error, QStringLiteral("A(z) „Osszesites2” nyomtatási terv nem található."));
}

TEST_F(ReportEngineTest, PlanValuesPrintAsTypedAndOnlyTheTextsAsMarkup)
{
    m_plan.setLotNumber(QStringLiteral("<b>12&13</b>"));
    m_plan.setShowDescriptions(true);
    ASSERT_EQ(m_database.update(Jav::name, Filter::equals(Jav::Javtap, QStringLiteral("N")),
                                {{Jav::Jav, QStringLiteral("<p>Az <b>őszi</b> adag &amp; a tavaszi</p>")}}),
              1);
    ASSERT_EQ(m_database.update(Jav::name, Filter::equals(Jav::Javtap, QStringLiteral("P")),
                                {{Jav::Jav, QStringLiteral("Foszfor < 10 mg/kg\nMásodik bekezdés")}}),
              1);
    // a text taken over from an earlier installation as RTF
    ASSERT_EQ(m_database.update(Jav::name, Filter::equals(Jav::Javtap, QStringLiteral("K")),
                                {{Jav::Jav, QStringLiteral("{\\rtf1\\ansi\\ansicpg1250 {\\b Fontos:} k\\'e1lium\\par}")}}),
              1);
    const std::optional<PlanReport> report = fullSummary();
    ASSERT_TRUE(report);
    const QString text = pageText(*report);
    EXPECT_TRUE(text.contains(QStringLiteral("Fontos: kálium"))) << qPrintable(text.right(300));
    EXPECT_FALSE(text.contains(QStringLiteral("rtf1")));
    EXPECT_TRUE(text.contains(QStringLiteral("<b>12&13</b>")));
    EXPECT_TRUE(report->rendered.html.contains(QStringLiteral("Az <b>őszi</b> adag &amp; a tavaszi")));
    EXPECT_TRUE(text.contains(QStringLiteral("Foszfor < 10 mg/kg\nMásodik bekezdés")));
}

// A text is made safe when it is stored, and one stored before that when it is printed.
TEST_F(ReportEngineTest, AScriptInARecommendationTextNeverReachesTheExportedPage)
{
    m_plan.setShowDescriptions(true);
    ASSERT_EQ(m_database.update(Jav::name, Filter::equals(Jav::Javtap, QStringLiteral("N")),
                                {{Jav::Jav, QStringLiteral("<p onclick=\"steal()\">Őszi adag</p>"
                                                           "<script>steal()</script>"
                                                           "<img src=http://example.com/t.png>")}}),
              1);
    EXPECT_EQ(storedTexts().value(QStringLiteral("N")), QStringLiteral("<p>Őszi adag</p>"));
    const std::optional<PlanReport> report = fullSummary();
    ASSERT_TRUE(report);
    const QString path = m_start.filePath(QStringLiteral("terv.html"));
    ASSERT_TRUE(ReportDocument(report->rendered.html, report->title).exportTo(path, ReportFormat::Html));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(written.contains(QStringLiteral("<p>Őszi adag</p>")));
    EXPECT_FALSE(written.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    EXPECT_FALSE(written.contains(QStringLiteral("steal")));
    EXPECT_FALSE(written.contains(QStringLiteral("example.com")));

    EXPECT_EQ(RecommendationTexts::memoMarkup(QStringLiteral(
                  "<html><body onload=\"steal()\"><p>a</p><SCRIPT>steal()</SCRIPT></body></html>")),
              QStringLiteral("<p>a</p>"));
}

// The summary prints the texts of the ticked elements, and only those, only when asked for;
// the texts alone, with no element ticked, print every text.
TEST_F(ReportEngineTest, TheSummaryPrintsTheTextsOnlyWhenAskedFor)
{
    m_plan.setShowDescriptions(false);
    std::optional<PlanReport> report = fullSummary();
    ASSERT_TRUE(report);
    const QMap<QString, QString> texts = storedTexts();
    ASSERT_EQ(texts.size(), 11);
    for (const QString &stored : texts)
        EXPECT_FALSE(pageText(*report).contains(stored.left(40)));

    m_plan.setShowDescriptions(true);
    select({Elements::N, Elements::K});
    report = fullSummary();
    ASSERT_TRUE(report);
    for (auto text = texts.cbegin(); text != texts.cend(); ++text) {
        EXPECT_EQ(pageText(*report).contains(text.value().left(40)),
                  text.key() == QLatin1String("N") || text.key() == QLatin1String("K"))
            << qPrintable(text.key());
    }

    select({});
    EXPECT_TRUE(RecommendationTexts::loadRecommendationTexts(m_plan.items()).isEmpty());
    PlanReports reports(m_plan.items(), m_database, m_start.path());
    report = reports.recommendations(RecommendationTexts::loadRecommendationTexts(m_plan.items()));
    ASSERT_TRUE(report);
    for (const QString &stored : texts)
        EXPECT_TRUE(pageText(*report).contains(stored.left(40))) << stored.left(40).toStdString();
    EXPECT_TRUE(pageText(*report).contains(QStringLiteral("Molibdén")));
}

// (The summary's design is compared whole, in every format, in summaryoutput_test.)
TEST_F(ReportEngineTest, TheBuiltInCoverSheetFillsFromItsFeed)
{
    PlanReports reports(m_plan.items(), m_database, m_start.path());
    const std::optional<PlanReport> cover = reports.coverSheet();
    ASSERT_TRUE(cover);
    EXPECT_TRUE(pageText(*cover).contains(QStringLiteral("Minta Szaktanácsadó")));
    EXPECT_TRUE(pageText(*cover).contains(QStringLiteral("DEMO-0001")));
}
