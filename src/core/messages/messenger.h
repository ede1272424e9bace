#pragma once

#include "core/messages/messagekind.h"
#include "core/messages/refusal.h"

#include <QString>

// The one way the program asks and informs. The windows implement it with the message
// dialog; tests implement it with a script of answers. Computations never call it: they
// return a result that the caller turns into a message.

// The nine button combinations of the message dialog.
enum class ButtonSet {
    IgenOnly,
    NemOnly,
    MegsemOnly,
    OkOnly,
    IgenNem,
    IgenMegsem,
    MegsemOk,
    NemOk,
    IgenNemMegsem,
};

// Which of the four buttons a set shows, in the order Igen, Nem, Mégsem, Ok.
struct ButtonFlags
{
    bool igen = false;
    bool nem = false;
    bool megsem = false;
    bool ok = false;
};

constexpr ButtonFlags buttonFlags(ButtonSet set)
{
    switch (set) {
    case ButtonSet::IgenOnly: return {true, false, false, false};
    case ButtonSet::NemOnly: return {false, true, false, false};
    case ButtonSet::MegsemOnly: return {false, false, true, false};
    case ButtonSet::OkOnly: return {false, false, false, true};
    case ButtonSet::IgenNem: return {true, true, false, false};
    case ButtonSet::IgenMegsem: return {true, false, true, false};
    case ButtonSet::MegsemOk: return {false, false, true, true};
    case ButtonSet::NemOk: return {false, true, false, true};
    case ButtonSet::IgenNemMegsem: return {true, true, true, false};
    }
    return {};
}

// Answer codes: the value of the pressed button, -1 when the dialog was closed otherwise.
namespace Answer {
constexpr int None = -1;
constexpr int Igen = 0;
constexpr int Nem = 1;
constexpr int Megsem = 2;
constexpr int Ok = 3;
} // namespace Answer

class Messenger
{
public:
    virtual ~Messenger() = default;

    // Shows `text` (in the one-line label when inLabel, else in the scrolling memo) with
    // the buttons of `buttons` and waits for an answer; returns the answer code.
    virtual int display(const QString &text, ButtonSet buttons, bool inLabel,
                        MessageKind kind) = 0;

    // A yes/no question goes on only on "Igen"; closing the dialog counts as "no".
    bool askYesNo(const QString &text, bool inLabel, MessageKind kind = MessageKind::Warning)
    {
        return display(text, ButtonSet::IgenNem, inLabel, kind) == Answer::Igen;
    }

    void inform(const QString &text, bool inLabel, MessageKind kind)
    {
        display(text, ButtonSet::OkOnly, inLabel, kind);
    }
    // Says why a computation refused.
    void inform(const Refusal &refusal) { inform(refusal.text, refusal.inLabel, refusal.kind); }
};
