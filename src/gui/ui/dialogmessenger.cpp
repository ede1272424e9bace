#include "gui/ui/dialogmessenger.h"

#include "gui/ui/messagedialog.h"

DialogMessenger::DialogMessenger()
    : m_dialog(std::make_unique<MessageDialog>())
{ }

DialogMessenger::~DialogMessenger() = default;

int DialogMessenger::display(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind)
{
    return m_dialog->display(text, buttons, inLabel, kind);
}
