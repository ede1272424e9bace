// The full summary in every output format, against the files the program wrote before: a
// change in how the reports are laid out or written leaves every page and every byte as it was.
#include "core/reports/planreports.h"
#include "core/reports/plaintextwriter.h"
#include "core/reports/programfonts.h"
#include "core/reports/reportdocument.h"
#include "summaryfixture.h"
#include "support/testdata.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Expected
{
    int samples;
    ReportFormat format;
    const char *file; // under tests/data/reports; a PDF as pdftotext reads it
};

class SummaryDocumentTest : public SummaryTest
{
protected:
    // The full summary, with the element descriptions, of a plan of `samples` samples, dated
    // as the saved outputs are; none when the summary cannot be filled.
    std::unique_ptr<ReportDocument> fullSummary(int samples)
    {
        loadTahomaFont();
        setSamples(samples);
        m_plan.setShowDescriptions(true);
        PlanReports reports(m_plan.items(), m_database, QString());
        const std::optional<PlanReport> report = reports.fullSummary(summary(), false);
        if (!report)
            return nullptr;
        return std::make_unique<ReportDocument>(report->rendered.html, report->title,
                                                report->rendered.orientation, QDate(2026, 3, 5));
    }
};

class SummaryOutputTest : public SummaryDocumentTest,
                          public ::testing::WithParamInterface<Expected>
{};

TEST_P(SummaryOutputTest, EveryFormatIsAsBefore)
{
    const Expected expected = GetParam();
    if (expected.format == ReportFormat::Pdf
        && QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils (pdftotext) not installed";
    const std::unique_ptr<ReportDocument> document = fullSummary(expected.samples);
    ASSERT_TRUE(document);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("terv"));
    ASSERT_TRUE(document->exportTo(path, expected.format));
    QByteArray bytes;
    if (expected.format == ReportFormat::Pdf) {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        ASSERT_TRUE(process.waitForFinished(30000));
        bytes = process.readAllStandardOutput();
    } else if (QFile file(path); file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    }
    if (bytes != testData(QStringLiteral("reports/") + QLatin1String(expected.file))) {
        // what was written instead, for a look at the difference
        QFile actual(QDir::temp().filePath(QLatin1String(expected.file)));
        if (actual.open(QIODevice::WriteOnly))
            actual.write(bytes);
        ADD_FAILURE() << expected.file << " differs; written now: " << qPrintable(actual.fileName());
    }
}

// A long report is read one top-level table at a time; it must come out as the whole markup
// read at once: the same blocks, formats and tables (only a heading moved to the next page
// differs, by its page break), and the same plain text.
TEST_F(SummaryDocumentTest, ReadInPartsAsReadWhole)
{
    const std::unique_ptr<ReportDocument> document = fullSummary(120);
    ASSERT_TRUE(document);
    QTextDocument whole;
    whole.setDefaultFont(document->document().defaultFont());
    whole.setDocumentMargin(0);
    whole.setHtml(document->html());

    QString parts = document->document().toHtml();
    parts.remove(QStringLiteral(" page-break-before:always;"));
    EXPECT_EQ(parts, whole.toHtml());
    EXPECT_EQ(PlainTextWriter::toPlainText(document->document()),
              PlainTextWriter::toPlainText(whole));
}

INSTANTIATE_TEST_SUITE_P(
    Summaries, SummaryOutputTest,
    ::testing::Values(Expected {3, ReportFormat::Pdf, "summary-3.pdf.txt"},
                      Expected {3, ReportFormat::Text, "summary-3.txt"},
                      Expected {3, ReportFormat::Html, "summary-3.html"},
                      // a heading moves to the next page with what follows it
                      Expected {4, ReportFormat::Rtf, "summary-4.rtf"},
                      // the sample blocks go over pages, and two headings move
                      Expected {29, ReportFormat::Pdf, "summary-29.pdf.txt"}));

} // namespace
