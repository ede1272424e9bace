#include "gui/ui/messagedialog.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
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
    std::array<bool, 4> buttonShown {}; // Igen, Nem, Mégsem, Ok
    std::array<QRect, 4> buttonGeometry {};
    bool labelShown = false;
    bool memoShown = false;
    QString labelText;
    QString memoText;
    int labelWidth = 0;
    int frameWidth = 0;
    int clientWidth = 0;
    int dialogWidth = 0;
    bool infoShown = false;
    bool errorShown = false;
    bool warningShown = false;
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
        Seen seen {{}, {}, label->isVisible(), memo->isVisible(), label->text(),
            memo->toPlainText(), label->width(), child<QFrame>("frame")->width(), dialog.width(),
            dialog.dialogWidth(), child<QLabel>("infoIcon")->isVisible(),
            child<QLabel>("errorIcon")->isVisible(), child<QLabel>("warningIcon")->isVisible(),
            dialog.windowTitle()};
        for (int answer = 0; answer < 4; ++answer) {
            seen.buttonShown[answer] = button(answer)->isVisible();
            seen.buttonGeometry[answer] = button(answer)->geometry();
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

TEST_F(MessageDialogTest, StartsWithTheFixedClientArea)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Mess"));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // a fixed border
    EXPECT_EQ(dialog.dialogWidth(), dialog.width() + 6);
    for (const char *name : {"infoIcon", "errorIcon", "warningIcon"})
        EXPECT_FALSE(child<QLabel>(name)->pixmap().isNull()) << name;
    const char *const captions[4] = {"Igen", "Nem", "Mégsem", "Ok"};
    for (int answer = 0; answer < 4; ++answer)
        EXPECT_EQ(button(answer)->text(), QString::fromUtf8(captions[answer]));
}

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
        {"NemOnly", ButtonSet::NemOnly, -1, 299, -1, -1},
        {"MegsemOnly", ButtonSet::MegsemOnly, -1, -1, 299, -1},
        {"OkOnly", ButtonSet::OkOnly, -1, -1, -1, 299},
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
        const int expected[4] = {row.igen, row.nem, row.megsem, row.ok};
        for (int answer = 0; answer < 4; ++answer) {
            SCOPED_TRACE(buttonNames[answer]);
            EXPECT_EQ(seen.buttonShown[answer], expected[answer] >= 0);
            if (expected[answer] >= 0) {
                EXPECT_EQ(seen.buttonGeometry[answer], QRect(expected[answer], 79, 75, 21));
            }
        }
    }
}

TEST_F(MessageDialogTest, EachButtonAnswersWithItsOwnValue)
{
    // The value belongs to the button, not to its place: "Ok" is 3 whether it stands
    // alone or beside "Mégsem".
    struct Row
    {
        ButtonSet set;
        int pressed;
        int expected;
    };
    const Row rows[] = {
        {ButtonSet::IgenNemMegsem, Answer::Igen, 0},
        {ButtonSet::IgenNemMegsem, Answer::Nem, 1},
        {ButtonSet::IgenNemMegsem, Answer::Megsem, 2},
        {ButtonSet::OkOnly, Answer::Ok, 3},
        {ButtonSet::MegsemOk, Answer::Ok, 3},
        {ButtonSet::MegsemOk, Answer::Megsem, 2},
        {ButtonSet::NemOk, Answer::Nem, 1},
        {ButtonSet::IgenOnly, Answer::Igen, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(buttonNames[row.pressed]);
        SCOPED_TRACE(int(row.set));
        bool stillShownAfterClick = true;
        dialog.setModalRunner([&](MessageDialog &) {
            QTest::mouseClick(button(row.pressed), Qt::LeftButton);
            stillShownAfterClick = dialog.isVisible();
        });
        const int result = dialog.display(
            QStringLiteral("Mentsem a változásokat ?"), row.set, true, MessageKind::Warning);
        EXPECT_EQ(result, row.expected);
        EXPECT_EQ(dialog.answer(), row.expected);
        EXPECT_FALSE(stillShownAfterClick); // a button closes the dialog
    }
}

TEST_F(MessageDialogTest, EnterPressesTheFocusedButton)
{
    // Without moving the focus, Enter takes the first shown button of the row.
    struct Row
    {
        const char *name;
        ButtonSet set;
        int focused; // -1: leave the focus where the dialog put it
        Qt::Key key;
        int expected;
    };
    const Row rows[] = {
        {"question, as opened", ButtonSet::IgenNem, -1, Qt::Key_Return, Answer::Igen},
        {"notice, as opened", ButtonSet::OkOnly, -1, Qt::Key_Return, Answer::Ok},
        {"Mégsem and Ok, as opened", ButtonSet::MegsemOk, -1, Qt::Key_Enter, Answer::Megsem},
        {"focus on Nem", ButtonSet::IgenNemMegsem, Answer::Nem, Qt::Key_Return, Answer::Nem},
        {"focus on Mégsem", ButtonSet::IgenNemMegsem, Answer::Megsem, Qt::Key_Enter,
            Answer::Megsem},
        {"focus on Ok", ButtonSet::NemOk, Answer::Ok, Qt::Key_Return, Answer::Ok},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        dialog.setModalRunner([&](MessageDialog &) {
            if (row.focused >= 0)
                button(row.focused)->setFocus();
            QWidget *focused = dialog.focusWidget();
            ASSERT_NE(focused, nullptr);
            QTest::keyClick(focused, row.key);
        });
        EXPECT_EQ(dialog.display(QStringLiteral("Biztosan törli a kijelölt sort?"), row.set, true,
                      MessageKind::Warning),
            row.expected);
    }
}

TEST_F(MessageDialogTest, TextGoesToTheLabelOrTheMemo)
{
    const QString longText = QStringLiteral(
        "A fejlesztői beállítások visszaállítása csak a kijelölt növény megosztási adataira "
        "érvényes. Valóban visszatölti a fejlesztői beállításokat?");

    Seen seen = show(
        QStringLiteral("Nincs megnevezés megadva!"), ButtonSet::OkOnly, true, MessageKind::Error);
    EXPECT_TRUE(seen.labelShown);
    EXPECT_FALSE(seen.memoShown);
    EXPECT_EQ(seen.labelText, QStringLiteral("Nincs megnevezés megadva!"));

    seen = show(longText, ButtonSet::IgenNem, false, MessageKind::Warning);
    EXPECT_FALSE(seen.labelShown);
    EXPECT_TRUE(seen.memoShown);
    EXPECT_EQ(seen.memoText, longText);

    // The memo starts empty each time: no line of the previous message stays in it.
    seen = show(QStringLiteral("A Használati leírást megtalálja a program könyvtárában "
                               "hasznalati.pdf fájlnéven."),
        ButtonSet::OkOnly, false, MessageKind::Information);
    EXPECT_EQ(seen.memoText,
        QStringLiteral("A Használati leírást megtalálja a program "
                       "könyvtárában hasznalati.pdf fájlnéven."));

    seen = show(QStringLiteral("Biztosan törli a kijelölt sort?"), ButtonSet::IgenNem, true,
        MessageKind::Warning);
    EXPECT_TRUE(seen.labelShown);
    EXPECT_FALSE(seen.memoShown);

    auto *memo = child<QPlainTextEdit>("memo");
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(MessageDialogTest, LongLabelWidensFrameAndDialog)
{
    const QString longLabel
        = QStringLiteral("A magnézium, mangán, cink számításához kérem állítsa be a várt hozamot!");
    const QString shortLabel = QStringLiteral("Nincs megnevezés megadva!");
    const auto widths = [](const Seen &s) {
        return QList<int> {s.frameWidth, s.clientWidth, s.dialogWidth};
    };

    const Seen seen = show(longLabel, ButtonSet::OkOnly, true, MessageKind::Warning);
    ASSERT_GT(seen.labelWidth, 280);
    // The label is as wide as its text (the glyphs' ink may reach a pixel past the advance).
    const int textWidth = QFontMetrics(dialog.font()).horizontalAdvance(longLabel);
    EXPECT_GE(seen.labelWidth, textWidth);
    EXPECT_LE(seen.labelWidth, textWidth + 2);
    EXPECT_EQ(widths(seen),
        (QList<int> {seen.labelWidth + 130, seen.labelWidth + 130, seen.labelWidth + 136}));
    // The buttons were placed on the standard width before the label widened the dialog.
    EXPECT_EQ(seen.buttonGeometry[Answer::Ok].left(), 299);

    // Every message starts again from the standard width; the memo never widens it, even
    // with the long text still in the hidden label.
    EXPECT_EQ(widths(show(longLabel, ButtonSet::IgenNem, false, MessageKind::Warning)),
        (QList<int> {393, 393, 399}));
    EXPECT_EQ(widths(show(shortLabel, ButtonSet::OkOnly, true, MessageKind::Error)),
        (QList<int> {393, 393, 399}));
}

TEST_F(MessageDialogTest, FrameGrowsOnlyPastTwoHundredEightyPixels)
{
    // Lengthen the label a letter at a time; the frame keeps 393 up to a label of 280 pixels
    // and follows the label from the first width beyond.
    const QString text = QStringLiteral("Az anyaghoz tartozó adatok rögzítve lettek, kéri a "
                                        "további anyag felvitelét?");
    bool sawNarrow = false;
    bool sawWide = false;
    for (int length = 30; length <= text.size(); ++length) {
        const Seen seen = show(text.left(length), ButtonSet::OkOnly, true, MessageKind::None);
        SCOPED_TRACE(seen.labelWidth);
        if (seen.labelWidth <= 280) {
            sawNarrow = true;
            EXPECT_EQ(seen.frameWidth, 393);
        } else {
            sawWide = true;
            EXPECT_EQ(seen.frameWidth, seen.labelWidth + 130);
        }
    }
    EXPECT_TRUE(sawNarrow);
    EXPECT_TRUE(sawWide);
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
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Seen seen = show(QStringLiteral("A lekéréshez hibás elem lett kiválasztva!"),
            ButtonSet::OkOnly, true, row.kind);
        EXPECT_EQ(seen.infoShown, row.info);
        EXPECT_EQ(seen.errorShown, row.error);
        EXPECT_EQ(seen.warningShown, row.warning);
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

} // namespace
