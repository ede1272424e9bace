#pragma once

#include "core/messages/messenger.h"

#include <QDialog>
#include <QStyle>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The one message dialog of the program: a text in a one-line label or a scrolling memo, an
// icon and caption for the kind of message, and any of the four answer buttons. One instance
// lives for the whole run (DialogMessenger owns it) and is hidden between messages. The
// caption reads "Mess" until the first message with a kind and afterwards keeps the word of
// the last kind.
class MessageDialog final : public QDialog
{
    Q_OBJECT

public:
    // Replaces the modal event loop of display(); tests answer through it without blocking.
    // It runs with the dialog shown and laid out for the message.
    using ModalRunner = std::function<void(MessageDialog &)>;

    explicit MessageDialog(QWidget *parent = nullptr);
    ~MessageDialog() override;

    // Lays the dialog out for the message, shows it modally and returns the answer code
    // (Answer::None when it was closed without a button).
    int display(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind);

    // The answer of the last message; it keeps its value until the next display().
    int answer() const { return m_answer; }

    // Width of the window counting its border, the measure the button placement uses; the
    // client area is borderWidth narrower.
    int dialogWidth() const { return m_dialogWidth; }
    static constexpr int borderWidth = 6;

    void setModalRunner(ModalRunner runner) { m_modalRunner = std::move(runner); }

private:
    QPushButton *createButton(const QString &caption, int answer, const char *name);
    QLabel *createIcon(QStyle::StandardPixmap pixmap, const char *name);
    void setDialogWidth(int width);
    void setFrameWidth(int width);
    void showKind(MessageKind kind);
    void placeButtons();
    void focusFirstButton();

    QFrame *m_frame = nullptr;
    QLabel *m_infoIcon = nullptr;
    QLabel *m_errorIcon = nullptr;
    QLabel *m_warningIcon = nullptr;
    QLabel *m_label = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    // Indexed by answer code: Igen, Nem, Mégsem, Ok.
    std::array<QPushButton *, 4> m_buttons {};

    int m_answer = Answer::None;
    int m_dialogWidth = 0;
    ModalRunner m_modalRunner;
};
