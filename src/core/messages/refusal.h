#pragma once

#include "core/messages/messagekind.h"

#include <QString>

// Why a computation would not run: the message for the user as the caller shows it, with
// an Ok button (Messenger::inform). Core never shows it itself.
struct Refusal
{
    QString text;
    MessageKind kind = MessageKind::Error;
    bool inLabel = true; // the one-line label, not the scrolling memo

    bool operator==(const Refusal &) const = default;
};
