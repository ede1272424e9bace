#include "scriptedmessenger.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const ScriptedMessenger::Shown &shown, std::ostream *out)
{
    *out << '"' << shown.text.toStdString() << "\" buttons " << int(shown.buttons)
         << (shown.inLabel ? " in the label" : " in the memo") << " kind " << int(shown.kind);
}

ScriptedMessenger::~ScriptedMessenger()
{
    EXPECT_TRUE(m_answers.isEmpty()) << "answers left unused: " << m_answers.size();
}

int ScriptedMessenger::display(const QString &text, ButtonSet buttons, bool inLabel,
                               MessageKind kind)
{
    m_shown.append({text, buttons, inLabel, kind});
    if (m_answers.isEmpty()) {
        ADD_FAILURE() << "unexpected message: " << text.toStdString();
        return Answer::None;
    }
    return m_answers.takeFirst();
}
