#pragma once

#include "core/messages/messenger.h"

#include <cstdio>

// The messages of a run without a window, on the terminal: the text goes to `out`, a
// question reads its answer from `in` ("i" or "igen" for "Igen"; anything else, the end
// of the input included, counts as "Nem"). With `assumeYes` (--yes) every question is
// answered "Igen" without reading.
class TerminalMessenger final : public Messenger
{
public:
    TerminalMessenger(std::FILE *in, std::FILE *out, bool assumeYes)
        : m_in(in), m_out(out), m_assumeYes(assumeYes)
    {
    }

    int display(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind) override;

private:
    std::FILE *m_in;
    std::FILE *m_out;
    bool m_assumeYes;
};
