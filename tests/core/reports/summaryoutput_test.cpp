// The full summary in every output format, against the files the program wrote before: a
// change in how the reports are laid out or written leaves every page and every byte as it was.
#include "core/reports/planreports.h"
#include "core/reports/programfonts.h"
#include "core/reports/reportdocument.h"
#include "summaryfixture.h"
#include "support/testdata.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Expected
{
    int samples;
    ReportFormat format;
    const char *file; // under tests/data/reports; a PDF is compared as pdftotext reads it
};

class SummaryOutputTest : public SummaryTest, public ::testing::WithParamInterface<Expected>
{
protected:
    // The bytes of the export; for a PDF its text.
    QByteArray exported(const ReportDocument &document, ReportFormat format)
    {
        const QString path = m_dir.filePath(QStringLiteral("terv"));
        QString error;
        EXPECT_TRUE(document.exportTo(path, format, &error)) << qPrintable(error);
        if (format == ReportFormat::Pdf) {
            QProcess process;
            process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
            EXPECT_TRUE(process.waitForFinished(30000));
            return process.readAllStandardOutput();
        }
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_P(SummaryOutputTest, EveryFormatIsAsBefore)
{
    const Expected expected = GetParam();
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils (pdftotext) not installed";
    loadTahomaFont();
    setSamples(expected.samples);
    m_plan.setShowDescriptions(true);
    PlanReports reports(m_plan.items(), m_database, QString());
    QString error;
    const std::optional<PlanReport> report = reports.fullSummary(summary(), false, &error);
    ASSERT_TRUE(report) << qPrintable(error);
    const ReportDocument document(report->rendered.html, report->title,
                                  report->rendered.orientation, QDate(2026, 3, 5));

    const QByteArray bytes = exported(document, expected.format);
    const QString golden = QStringLiteral("reports/") + QLatin1String(expected.file);
    if (bytes != testData(golden)) {
        // what was written instead, for a look at the difference
        const QString actual = QDir::temp().filePath(QLatin1String(expected.file));
        QFile file(actual);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        ADD_FAILURE() << qPrintable(golden) << " differs; written now: " << qPrintable(actual);
    }
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
