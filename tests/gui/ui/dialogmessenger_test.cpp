#include "gui/ui/dialogmessenger.h"

#include "gui/ui/messagedialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class DialogMessengerTest : public ::testing::Test
{
protected:
    // Answers the next message by clicking the named button (nullptr: the close box) and
    // records the dialog's caption and text while it is shown.
    void answerWith(const char *buttonName)
    {
        MessageDialog &dialog = messenger.dialog();
        dialog.setModalRunner([this, buttonName](MessageDialog &shown) {
            caption = shown.windowTitle();
            labelText = shown.findChild<QLabel *>(QStringLiteral("label"))->text();
            if (buttonName)
                QTest::mouseClick(
                    shown.findChild<QPushButton *>(QLatin1String(buttonName)), Qt::LeftButton);
            else
                shown.close();
        });
    }

    DialogMessenger messenger;
    QString caption;
    QString labelText;
};

// One dialog serves the whole run: the caption of a message without a kind comes from the
// previous message, so it shows whether both went through the same dialog.
TEST_F(DialogMessengerTest, ForwardsToItsOneDialogAndReturnsTheAnswer)
{
    MessageDialog *first = &messenger.dialog();
    answerWith("nemButton");
    EXPECT_EQ(messenger.display(QStringLiteral("Mentsem a változásokat ?"),
                  ButtonSet::IgenNemMegsem, true, MessageKind::Warning),
        Answer::Nem);
    EXPECT_EQ(caption, QStringLiteral("Figyelem"));
    EXPECT_EQ(labelText, QStringLiteral("Mentsem a változásokat ?"));
    EXPECT_EQ(messenger.dialog().answer(), Answer::Nem);

    answerWith("okButton");
    messenger.inform(QStringLiteral("A növény fajtája nem ismert!"), true, MessageKind::Error);
    answerWith("okButton");
    messenger.inform(QStringLiteral("Nincs megnevezés megadva!"), true, MessageKind::None);
    EXPECT_EQ(caption, QStringLiteral("Hiba"));
    EXPECT_EQ(&messenger.dialog(), first);
}

TEST_F(DialogMessengerTest, YesNoQuestionGoesOnOnlyOnIgen)
{
    struct Row
    {
        const char *button; // nullptr: closed with the close box
        bool expected;
    };
    const Row rows[] = {{"igenButton", true}, {"nemButton", false}, {nullptr, false}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.button ? row.button : "close box");
        answerWith(row.button);
        EXPECT_EQ(messenger.askYesNo(QStringLiteral("Biztosan törli a kijelölt sort?"), true),
            row.expected);
    }
}

} // namespace
