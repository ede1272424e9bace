#include "gui/ui/messagedialog.h"

#include "gui/ui/dialogmessenger.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

const char *const buttonNames[4] = {"igenButton", "nemButton", "megsemButton", "okButton"};

// What the user sees while the dialog waits for an answer.
struct Seen
{
    std::array<QRect, 4> buttons {}; // Igen, Nem, Mégsem, Ok; a null rectangle when hidden
    bool labelShown = false;
    bool memoShown = false;
    QString labelText, memoText;
    int labelWidth = 0;
    QList<int> widths; // frame, client area, dialog
    std::array<bool, 3> icons {}; // information, error, warning
    QString caption;
};

class MessageDialogTest : public ::testing::Test
{
protected:
    QPushButton *button(int answer)
    {
        return dialog.findChild<QPushButton *>(QLatin1String(buttonNames[answer]));
    }
    template <typename T>
    T *child(const char *name)
    {
        return dialog.findChild<T *>(QLatin1String(name));
    }

    Seen look()
    {
        const auto *label = child<QLabel>("label");
        const auto *memo = child<QPlainTextEdit>("memo");
        Seen seen {{}, label->isVisible(), memo->isVisible(), label->text(), memo->toPlainText(),
            label->width(), {child<QFrame>("frame")->width(), dialog.width(), dialog.dialogWidth()},
            {child<QLabel>("infoIcon")->isVisible(), child<QLabel>("errorIcon")->isVisible(),
                child<QLabel>("warningIcon")->isVisible()},
            dialog.windowTitle()};
        for (int answer = 0; answer < 4; ++answer) {
            if (button(answer)->isVisible())
                seen.buttons[answer] = button(answer)->geometry();
        }
        return seen;
    }

    // Shows a message, records what it looks like and closes it with the close box.
    Seen show(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind)
    {
        Seen seen;
        dialog.setModalRunner([&](MessageDialog &) {
            seen = look();
            dialog.close();
        });
        dialog.display(text, buttons, inLabel, kind);
        return seen;
    }

    MessageDialog dialog;
};

TEST_F(MessageDialogTest, EachSetShowsItsButtonsRightAligned)
{
    // Left of each button, -1 where it is hidden. The placement walks Ok, Mégsem, Nem, Igen
    // from the right: the first shown one stands at 399 - 100, each further one 85 to the left.
    struct Row
    {
        const char *name;
        ButtonSet set;
        int igen, nem, megsem, ok;
    };
    const Row rows[] = {
        {"IgenOnly", ButtonSet::IgenOnly, 299, -1, -1, -1},
        {"IgenNem", ButtonSet::IgenNem, 214, 299, -1, -1},
        {"IgenMegsem", ButtonSet::IgenMegsem, 214, -1, 299, -1},
        {"MegsemOk", ButtonSet::MegsemOk, -1, -1, 214, 299},
        {"NemOk", ButtonSet::NemOk, -1, 214, -1, 299},
        {"IgenNemMegsem", ButtonSet::IgenNemMegsem, 129, 214, 299, -1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Seen seen = show(
            QStringLiteral("Biztosan törli a kijelölt sort?"), row.set, true, MessageKind::Warning);
        const auto at = [](int left) { return left < 0 ? QRect() : QRect(left, 79, 75, 21); };
        EXPECT_EQ(seen.buttons, (std::array<QRect, 4> {at(row.igen), at(row.nem),
                                    at(row.megsem), at(row.ok)}));
    }
}

TEST_F(MessageDialogTest, EachButtonAnswersWithItsOwnValueClickedOrByEnter)
{
    // The value belongs to the button, not to its place: "Ok" is 3 whether it stands alone or
    // beside "Mégsem". Enter presses the focused button; without moving the focus, the first
    // shown button of the row.
    struct Row
    {
        const char *name;
        ButtonSet set;
        int focused; // -1: leave the focus where the dialog put it
        Qt::Key key; // Qt::Key_unknown: click the focused button
        int expected;
    };
    const Row rows[] = {
        {"click Igen", ButtonSet::IgenNemMegsem, Answer::Igen, Qt::Key_unknown, 0},
        {"click Nem", ButtonSet::IgenNemMegsem, Answer::Nem, Qt::Key_unknown, 1},
        {"click Mégsem", ButtonSet::IgenNemMegsem, Answer::Megsem, Qt::Key_unknown, 2},
        {"click Ok beside Mégsem", ButtonSet::MegsemOk, Answer::Ok, Qt::Key_unknown, 3},
        {"click Mégsem beside Ok", ButtonSet::MegsemOk, Answer::Megsem, Qt::Key_unknown, 2},
        {"question, as opened", ButtonSet::IgenNem, -1, Qt::Key_Return, Answer::Igen},
        {"notice, as opened", ButtonSet::OkOnly, -1, Qt::Key_Return, Answer::Ok},
        {"Mégsem and Ok, as opened", ButtonSet::MegsemOk, -1, Qt::Key_Enter, Answer::Megsem},
        {"Enter on Mégsem", ButtonSet::IgenNemMegsem, Answer::Megsem, Qt::Key_Enter,
            Answer::Megsem},
        {"Enter on Ok", ButtonSet::NemOk, Answer::Ok, Qt::Key_Return, Answer::Ok},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        bool stillShown = true;
        dialog.setModalRunner([&](MessageDialog &) {
            if (row.key == Qt::Key_unknown) {
                QTest::mouseClick(button(row.focused), Qt::LeftButton);
            } else {
                if (row.focused >= 0)
                    button(row.focused)->setFocus();
                QWidget *focused = dialog.focusWidget();
                ASSERT_NE(focused, nullptr);
                QTest::keyClick(focused, row.key);
            }
            stillShown = dialog.isVisible();
        });
        EXPECT_EQ(dialog.display(QStringLiteral("Mentsem a változásokat ?"), row.set, true,
                      MessageKind::Warning),
            row.expected);
        EXPECT_EQ(dialog.answer(), row.expected);
        EXPECT_FALSE(stillShown); // a button closes the dialog
    }
}

TEST_F(MessageDialogTest, TextGoesToTheLabelOrTheMemo)
{
    // The memo starts empty each time: no line of the previous message stays in it.
    const struct
    {
        QString text;
        bool inLabel;
    } rows[] = {
        {QStringLiteral("Nincs megnevezés megadva!"), true},
        {QStringLiteral("A fejlesztői beállítások visszaállítása csak a kijelölt növény "
                        "megosztási adataira érvényes. Valóban visszatölti a fejlesztői "
                        "beállításokat?"),
            false},
        {QStringLiteral("A Használati leírást megtalálja a program könyvtárában."), false},
        {QStringLiteral("Biztosan törli a kijelölt sort?"), true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const Seen seen = show(row.text, ButtonSet::IgenNem, row.inLabel, MessageKind::Warning);
        EXPECT_EQ(seen.labelShown, row.inLabel);
        EXPECT_EQ(seen.memoShown, !row.inLabel);
        EXPECT_EQ(row.inLabel ? seen.labelText : seen.memoText, row.text);
    }
}

TEST_F(MessageDialogTest, ALabelPastTwoHundredEightyPixelsWidensFrameAndDialog)
{
    // Lengthen the label a letter at a time; the frame keeps 393 up to a label of 280 pixels
    // and follows the label from the first width beyond, the dialog with it.
    const QString text = QStringLiteral("A magnézium, mangán, cink számításához kérem állítsa be "
                                        "a várt hozamot!");
    bool sawNarrow = false;
    Seen seen;
    for (int length = 30; length <= text.size(); ++length) {
        seen = show(text.left(length), ButtonSet::OkOnly, true, MessageKind::None);
        SCOPED_TRACE(seen.labelWidth);
        const int frame = seen.labelWidth <= 280 ? 393 : seen.labelWidth + 130;
        sawNarrow = sawNarrow || seen.labelWidth <= 280;
        EXPECT_EQ(seen.widths, (QList<int> {frame, frame, frame + 6}));
    }
    EXPECT_TRUE(sawNarrow);
    ASSERT_GT(seen.labelWidth, 280);
    // The label is as wide as its text (the glyphs' ink may reach a pixel past the advance).
    const int textWidth = QFontMetrics(dialog.font()).horizontalAdvance(text);
    EXPECT_GE(seen.labelWidth, textWidth);
    EXPECT_LE(seen.labelWidth, textWidth + 2);
    // The buttons were placed on the standard width before the label widened the dialog.
    EXPECT_EQ(seen.buttons[Answer::Ok].left(), 299);

    // Every message starts again from the standard width; the memo never widens it, even
    // with the long text still in the hidden label.
    EXPECT_EQ(show(text, ButtonSet::IgenNem, false, MessageKind::Warning).widths,
        (QList<int> {393, 393, 399}));
    EXPECT_EQ(show(QStringLiteral("Nincs megnevezés megadva!"), ButtonSet::OkOnly, true,
                  MessageKind::Error)
                  .widths,
        (QList<int> {393, 393, 399}));
}

TEST_F(MessageDialogTest, KindChoosesIconAndCaption)
{
    // One dialog through a run of messages: without a kind no icon shows and the caption
    // stays what the last kind made it, "Mess" before the first kind.
    struct Row
    {
        const char *name;
        MessageKind kind;
        bool info, error, warning;
        const char *caption;
    };
    const Row rows[] = {
        {"none first", MessageKind::None, false, false, false, "Mess"},
        {"information", MessageKind::Information, true, false, false, "Információ"},
        {"none after information", MessageKind::None, false, false, false, "Információ"},
        {"error", MessageKind::Error, false, true, false, "Hiba"},
        {"warning", MessageKind::Warning, false, false, true, "Figyelem"},
        {"unknown value 7", static_cast<MessageKind>(7), false, false, false, "Figyelem"},
        {"error again", MessageKind::Error, false, true, false, "Hiba"},
        {"unknown value -1", static_cast<MessageKind>(-1), false, false, false, "Hiba"},
    };
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // a fixed border
    for (const char *name : {"infoIcon", "errorIcon", "warningIcon"})
        EXPECT_FALSE(child<QLabel>(name)->pixmap().isNull()) << name;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Seen seen = show(QStringLiteral("A lekéréshez hibás elem lett kiválasztva!"),
            ButtonSet::OkOnly, true, row.kind);
        EXPECT_EQ(seen.icons, (std::array<bool, 3> {row.info, row.error, row.warning}));
        EXPECT_EQ(seen.caption, QString::fromUtf8(row.caption));
    }
}

TEST_F(MessageDialogTest, WithoutARunnerTheDialogIsModal)
{
    // The real modal loop: a timer answers from inside it. A watchdog closes the dialog
    // should the answer not arrive, so a fault fails the test instead of hanging it. The
    // rows closing without a button follow an answer of "Nem", so a dialog that forgot to
    // reset its answer would return 1 for them instead of -1.
    struct Row
    {
        const char *name;
        std::function<void()> answer;
        int expected;
    };
    const Row rows[] = {
        {"Nem clicked", [this] { QTest::mouseClick(button(Answer::Nem), Qt::LeftButton); },
            Answer::Nem},
        {"Escape", [this] { QTest::keyClick(&dialog, Qt::Key_Escape); }, Answer::None},
        {"close box", [this] { dialog.close(); }, Answer::None},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        bool wasModal = false;
        QTimer::singleShot(0, &dialog, [&] {
            wasModal = QApplication::activeModalWidget() == &dialog && dialog.isVisible();
            row.answer();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        bool watchdogFired = false;
        QObject::connect(&watchdog, &QTimer::timeout, &dialog, [&] {
            watchdogFired = true;
            dialog.reject();
        });
        watchdog.start(5000);
        const int result = dialog.display(QStringLiteral("Mentsem a változásokat ?"),
            ButtonSet::IgenNemMegsem, true, MessageKind::Warning);
        watchdog.stop();
        EXPECT_FALSE(watchdogFired);
        EXPECT_TRUE(wasModal);
        EXPECT_EQ(result, row.expected);
        EXPECT_FALSE(dialog.isVisible());
    }
}

// The messenger the program runs with, over its one dialog.
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
