#include "core/reports/reportformat.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportFormatTest, FormatFromPath)
{
    const struct
    {
        QString path;
        std::optional<ReportFormat> expected;
    } cases[] = {
        {QStringLiteral("/tmp/terv.pdf"), ReportFormat::Pdf},
        {QStringLiteral("terv.PDF"), ReportFormat::Pdf},        // any letter case
        {QStringLiteral("terv.Rtf"), ReportFormat::Rtf},
        {QStringLiteral("terv.txt"), ReportFormat::Text},
        {QStringLiteral("terv.html"), ReportFormat::Html},
        {QStringLiteral("C:/Kimutatás/terv.HTM"), ReportFormat::Html},
        {QStringLiteral("terv.tap"), std::nullopt},
        {QStringLiteral("terv"), std::nullopt},
        {QStringLiteral("terv.pdf.bak"), std::nullopt},        // only the last extension counts
        {QStringLiteral("pdf"), std::nullopt},                 // a name is no extension
        {QStringLiteral("terv.htmlx"), std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.path));
        EXPECT_EQ(reportFormatForPath(c.path), c.expected);
    }
}

TEST(ReportFormatTest, ChoicesAndFilterText)
{
    QList<ReportFormat> formats;
    for (const ReportFormatChoice &choice : reportFormatChoices())
        formats.append(choice.format);
    EXPECT_EQ(formats, QList<ReportFormat>({ReportFormat::Pdf, ReportFormat::Rtf,
                                            ReportFormat::Text, ReportFormat::Html}));
    EXPECT_EQ(reportFileFilter(),
              QStringLiteral("Adobe Acrobat (PDF)|*.pdf|Rich Text Format (RTF)|*.rtf|"
                             "Plain Text (TXT)|*.txt|Web Page (HTML)|*.html;*.htm"));
}

TEST(ReportFormatTest, TargetKeepsNamedFormatOrAddsExtension)
{
    const struct
    {
        QString path;
        ReportFormat chosen;
        QString expectedPath;
        ReportFormat expectedFormat;
    } cases[] = {
        {QStringLiteral("terv"), ReportFormat::Html, QStringLiteral("terv.html"),
         ReportFormat::Html},                                  // the first pattern's extension
        {QStringLiteral("terv."), ReportFormat::Text, QStringLiteral("terv.txt"),
         ReportFormat::Text},
        {QStringLiteral("terv.2024"), ReportFormat::Pdf, QStringLiteral("terv.2024.pdf"),
         ReportFormat::Pdf},
        // A typed extension decides over the chosen filter (in any letter case: the preview's
        // tests).
        {QStringLiteral("a/terv.htm"), ReportFormat::Rtf, QStringLiteral("a/terv.htm"),
         ReportFormat::Html},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.path));
        const ReportTarget target = reportTargetFor(c.path, c.chosen);
        EXPECT_EQ(target.path, c.expectedPath);
        EXPECT_EQ(target.format, c.expectedFormat);
    }
}

} // namespace
