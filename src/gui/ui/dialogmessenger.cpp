#include "gui/ui/dialogmessenger.h"

#include "gui/ui/messagedialog.h"

DialogMessenger::DialogMessenger() = default;

DialogMessenger::~DialogMessenger() = default;

int DialogMessenger::display(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind)
{
    return dialog().display(text, buttons, inLabel, kind);
}

MessageDialog &DialogMessenger::dialog()
{
    // A run that shows no message never builds the dialog.
    if (!m_dialog)
        m_dialog = std::make_unique<MessageDialog>();
    return *m_dialog;
}
