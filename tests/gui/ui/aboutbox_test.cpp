#include "gui/ui/aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(AboutBoxTest, OkClosesIt)
{
    AboutBox box;
    box.show();
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("okButton"));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

// The box says only what is known: the version of the build, the licence, where the built-in
// reference data come from; no invented contact data.
TEST(AboutBoxTest, ShowsVersionLicenceAndDataSources)
{
    AboutBox box;
    auto *version = box.findChild<QLabel *>(QStringLiteral("versionLabel"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Verzió: " NUTRISOR_VERSION));
    auto *licence = box.findChild<QLabel *>(QStringLiteral("licenceLabel"));
    ASSERT_NE(licence, nullptr);
    EXPECT_TRUE(licence->text().startsWith(QStringLiteral("Licenc: ")));
    auto *sources = box.findChild<QLabel *>(QStringLiteral("sourcesLabel"));
    ASSERT_NE(sources, nullptr);
    for (const char *cited : {"szaktan_con", "Washington State University", "Bemutató adatok"})
        EXPECT_TRUE(sources->text().contains(QString::fromUtf8(cited))) << cited;
    for (const QLabel *label : box.findChildren<QLabel *>())
        EXPECT_FALSE(label->text().contains(u'@')) << label->text().toStdString();
}

} // namespace
