#include "gui/reports/reportpreview.h"

#include "core/reports/reportdocument.h"
#include "core/reports/reportformat.h"
#include "support/scriptedfilechooser.h"
#include "support/scriptedmessenger.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A schedule of applications long enough for two pages, in a table with Hungarian text.
QString scheduleHtml()
{
    QString rows;
    for (int row = 1; row <= 64; ++row) {
        rows += QStringLiteral("<tr><td align=\"right\">%1</td><td>2024.%2.01.</td>"
                               "<td>Pétisó (27% N)</td><td align=\"right\">%3</td>"
                               "<td>kg/ha</td></tr>")
                    .arg(row).arg(3 + row % 8, 2, 10, QLatin1Char('0')).arg(50 + 5 * row);
    }
    return QStringLiteral("<h2>Tápanyag-gazdálkodási terv – kijuttatási ütemterv</h2>"
                          "<table border=\"0.5\" cellspacing=\"0\" cellpadding=\"3\" "
                          "width=\"100%\">"
                          "<thead><tr><th>Sorsz.</th><th>Dátum</th><th>Megnevezés</th>"
                          "<th>Mennyiség</th><th>Me.</th></tr></thead>%1</table>")
        .arg(rows);
}

QByteArray fileStart(const QString &path, int length)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(length) : QByteArray();
}

class ReportPreviewTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    ScriptedFileChooser m_fileChooser;
    ScriptedMessenger m_messenger;
};

TEST_F(ReportPreviewTest, ExportTakesTheFormatFromTheChosenFilterOrTheExtension)
{
    const ReportDocument report(scheduleHtml(), QStringLiteral("Ütemterv"));
    ReportPreview preview(report, m_fileChooser, m_messenger);

    // "Rich Text Format (RTF)" chosen, the name typed without an extension.
    m_fileChooser.expect(path(QStringLiteral("utemterv")), 1);
    ASSERT_TRUE(preview.exportReport());
    EXPECT_EQ(m_fileChooser.filters().last(), reportFileFilter());
    EXPECT_EQ(fileStart(path(QStringLiteral("utemterv.rtf")), 6), QByteArray("{\\rtf1"));
    EXPECT_EQ(preview.exportPath(), path(QStringLiteral("utemterv.rtf")));

    // The toolbar's button; the typed ".HTM" decides over the PDF filter.
    m_fileChooser.expect(path(QStringLiteral("utemterv.HTM")), 0);
    auto *exportAction = preview.findChild<QAction *>(QStringLiteral("exportAction"));
    ASSERT_NE(exportAction, nullptr);
    exportAction->trigger();
    EXPECT_TRUE(fileStart(path(QStringLiteral("utemterv.HTM")), 200).contains("<meta charset"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("utemterv.HTM.pdf"))));

    // No filter known and no extension: a PDF.
    m_fileChooser.expect(path(QStringLiteral("terv")));
    ASSERT_TRUE(preview.exportReport());
    EXPECT_EQ(fileStart(path(QStringLiteral("terv.pdf")), 5), QByteArray("%PDF-"));
    EXPECT_EQ(m_fileChooser.pendingAnswers(), 0);
}

TEST_F(ReportPreviewTest, CancelWritesNothingAndFailureIsSaid)
{
    const ReportDocument report(QStringLiteral("<p>Leírások</p>"), QStringLiteral("Leírások"));
    ReportPreview preview(report, m_fileChooser, m_messenger);

    m_fileChooser.expect(QString());
    EXPECT_FALSE(preview.exportReport());
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());

    const QString missing = path(QStringLiteral("nincs/leirasok.txt"));
    m_fileChooser.expect(missing, 2);
    m_messenger.expect(Answer::Ok);
    EXPECT_FALSE(preview.exportReport());
    ASSERT_EQ(m_messenger.shown().size(), 1);
    const ScriptedMessenger::Shown &shown = m_messenger.shown().first();
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("A fájl nem hozható létre: ")
                                      + QDir::toNativeSeparators(missing) + QStringLiteral(" (")))
        << qPrintable(shown.text);
    EXPECT_EQ(shown.buttons, ButtonSet::OkOnly);
    EXPECT_EQ(shown.kind, MessageKind::Error);
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
    EXPECT_TRUE(preview.exportPath().isEmpty()); // nothing written, nothing remembered
}

TEST_F(ReportPreviewTest, KeysPageZoomAndClose)
{
    const ReportDocument report(scheduleHtml(), QStringLiteral("Kijuttatási ütemterv"),
                                QPageLayout::Portrait, QDate(2024, 3, 5));
    ASSERT_EQ(report.pageCount(), 2);
    ReportPreview preview(report, m_fileChooser, m_messenger);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    auto *widget = preview.findChild<QPrintPreviewWidget *>(QStringLiteral("preview"));
    auto *counter = preview.findChild<QLabel *>(QStringLiteral("pageCounter"));
    ASSERT_NE(widget, nullptr);
    ASSERT_NE(counter, nullptr);

    EXPECT_EQ(widget->pageCount(), 2);
    EXPECT_EQ(counter->text(), QStringLiteral("1. oldal / 2"));
    EXPECT_FALSE(preview.findChild<QAction *>(QStringLiteral("previousPageAction"))->isEnabled());

    // With NUTRISOR_SCREENSHOTS set: the dialog and the PDF it exports, to look at.
    const QString shots = qEnvironmentVariable("NUTRISOR_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        preview.grab().save(shots + QStringLiteral("/reportpreview.png"));
        m_fileChooser.expect(shots + QStringLiteral("/reportpreview"), 0);
        EXPECT_TRUE(preview.exportReport());
    }

    QTest::keyClick(&preview, Qt::Key_PageDown);
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_EQ(counter->text(), QStringLiteral("2. oldal / 2"));
    QTest::keyClick(&preview, Qt::Key_PageDown); // past the last page: stays there
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_FALSE(preview.findChild<QAction *>(QStringLiteral("nextPageAction"))->isEnabled());
    QTest::keyClick(&preview, Qt::Key_PageUp);
    EXPECT_EQ(counter->text(), QStringLiteral("1. oldal / 2"));

    const qreal fitted = widget->zoomFactor();
    QTest::keyClick(&preview, Qt::Key_Plus);
    EXPECT_GT(widget->zoomFactor(), fitted);
    QTest::keyClick(&preview, Qt::Key_Minus);
    QTest::keyClick(&preview, Qt::Key_Minus);
    EXPECT_LT(widget->zoomFactor(), fitted);
    preview.fitWidth();
    EXPECT_DOUBLE_EQ(widget->zoomFactor(), fitted);

    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(preview.result(), QDialog::Rejected);
}

} // namespace
