#include "gui/ui/numberkeyfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace {

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up
        || key == Qt::Key_Down;
}

bool isTab(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

// Digits of the main keyboard only: the numeric pad sends the same key codes with the
// keypad modifier, and it is refused.
bool isMainDigit(const QKeyEvent &event)
{
    return event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9
        && !(event.modifiers() & Qt::KeypadModifier);
}

// Shift, Ctrl, Alt and the like pressed on their own type nothing: they go by unnoticed, so
// that the key they come with is judged alone.
bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// Modifiers that make a key a command rather than a character. Shift alone does not: it is
// part of Shift+Tab, and on some keyboards of the comma.
bool hasCommandModifier(const QKeyEvent &event)
{
    return event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// Copy, paste, cut and select all are harmless: pasted text is checked where it lands.
bool isClipboardCommand(const QKeyEvent &event)
{
    return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::Paste)
        || event.matches(QKeySequence::Cut) || event.matches(QKeySequence::SelectAll);
}

} // namespace

NumberKeyFilter::NumberKeyFilter(Mode mode, std::function<void()> onEdit, QObject *parent)
    : QObject(parent)
    , m_mode(mode)
    , m_onEdit(std::move(onEdit))
{
}

bool NumberKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (isModifierKey(key->key()))
        return false;

    Verdict verdict = Verdict::Pass;
    switch (m_mode) {
    case Mode::Edit: verdict = editVerdict(*key); break;
    case Mode::Grid: verdict = gridVerdict(*key); break;
    case Mode::SiteCategory: verdict = siteCategoryVerdict(*key); break;
    }

    switch (verdict) {
    case Verdict::Pass:
        return false;
    case Verdict::PassAsEdit:
        if (m_onEdit)
            m_onEdit();
        return false;
    case Verdict::Refuse:
        QApplication::beep();
        emit keyRefused(key->key());
        return true;
    case Verdict::Drop:
        break;
    }

    // Enter in the site-category combo moves on to the next control, as Tab would.
    if (m_mode == Mode::SiteCategory
        && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        if (auto *widget = qobject_cast<QWidget *>(watched)) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(widget, &tab);
        }
    }
    return true;
}

NumberKeyFilter::Verdict NumberKeyFilter::editVerdict(const QKeyEvent &key) const
{
    if (isClipboardCommand(key)) {
        const bool changesText = key.matches(QKeySequence::Paste) || key.matches(QKeySequence::Cut);
        return changesText ? Verdict::PassAsEdit : Verdict::Pass;
    }
    if (hasCommandModifier(key))
        return Verdict::Refuse;
    const int code = key.key();
    if (isArrow(code) || isTab(code) || code == Qt::Key_Backspace || code == Qt::Key_Comma
        || isMainDigit(key))
        return Verdict::PassAsEdit;
    return Verdict::Refuse;
}

NumberKeyFilter::Verdict NumberKeyFilter::gridVerdict(const QKeyEvent &key) const
{
    const int column = m_currentColumn ? m_currentColumn() : -1;
    // The average column holds the average sample's mark and whatever the user notes there.
    if (column == averageColumn)
        return Verdict::PassAsEdit;
    // A sample's mark is a name ("K-1", "3/a"), typed in as freely as the average's.
    if (m_currentRow && m_currentRow() == markRow)
        return Verdict::PassAsEdit;
    if (hasCommandModifier(key))
        return Verdict::Refuse;
    const int code = key.key();
    if (isMainDigit(key) || code == Qt::Key_Comma)
        return Verdict::PassAsEdit;
    if (isArrow(code) || isTab(code) || code == Qt::Key_Backspace || code == Qt::Key_Delete)
        return Verdict::Pass;
    return Verdict::Refuse;
}

NumberKeyFilter::Verdict NumberKeyFilter::siteCategoryVerdict(const QKeyEvent &key) const
{
    const int code = key.key();
    if (isArrow(code) || isTab(code))
        return Verdict::Pass;
    return Verdict::Drop;
}
