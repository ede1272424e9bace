#pragma once

#include "core/messages/messenger.h"

#include <memory>

class MessageDialog;

// The program's Messenger: every message of the run goes through the one MessageDialog this
// object owns, made for the first message and destroyed with it (the main window holds the
// messenger).
class DialogMessenger final : public Messenger
{
public:
    // The dialog is a window of its own, without a parent, so it comes up centred on the
    // screen whichever window asks.
    DialogMessenger();
    ~DialogMessenger() override;

    int display(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind) override;

    MessageDialog &dialog();

private:
    std::unique_ptr<MessageDialog> m_dialog;
};
