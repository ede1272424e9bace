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

// The box says only what is known: the version of the build and no invented contact data.
TEST(AboutBoxTest, ShowsTheBuildsVersionAndNoInventedAddress)
{
    AboutBox box;
    QStringList texts;
    for (const QLabel *label : box.findChildren<QLabel *>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Verzió: " NUTRISOR_VERSION)));
    EXPECT_FALSE(texts.join(u' ').contains(u'@'));
}

} // namespace
