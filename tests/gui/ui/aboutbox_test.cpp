#include "gui/ui/aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList labelTexts(const QWidget &box)
{
    QStringList texts;
    for (const QLabel *label : box.findChildren<QLabel *>())
        texts.append(label->text());
    return texts;
}

TEST(AboutBoxTest, ShowsTitleVersionAndMakerAndOkClosesIt)
{
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Szofver információk"));
    const QStringList texts = labelTexts(box);
    for (const QString &expected : {QStringLiteral("Nutrisor"), QStringLiteral("Verzió: 2.12"),
             QStringLiteral("talaj- és levélminták alapján"),
             QStringLiteral("Nutrisor fejlesztőcsapat"), QStringLiteral("nutrisor@example.hu")}) {
        SCOPED_TRACE(expected.toStdString());
        EXPECT_TRUE(texts.contains(expected));
    }
    box.show();
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("okButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

} // namespace
