#pragma once

#include "core/messages/messenger.h"

#include <QList>
#include <QString>

#include <iosfwd>

// A Messenger for tests: records every message and answers from a queue. A message that
// arrives when no answer is queued fails the current test, so every dialog a flow shows
// must be expected by the test.
class ScriptedMessenger final : public Messenger
{
public:
    struct Shown
    {
        QString text;
        ButtonSet buttons;
        bool inLabel;
        MessageKind kind;

        bool operator==(const Shown &) const = default;
        friend void PrintTo(const Shown &shown, std::ostream *out);
    };

    ~ScriptedMessenger() override;

    // Queues the answer for the next message.
    void expect(int answer) { m_answers.append(answer); }

    int display(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind) override;

    const QList<Shown> &shown() const { return m_shown; }
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    int pendingAnswers() const { return int(m_answers.size()); }

private:
    QList<int> m_answers;
    QList<Shown> m_shown;
};
