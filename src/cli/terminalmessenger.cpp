#include "cli/terminalmessenger.h"

#include <QString>

int TerminalMessenger::display(const QString &text, ButtonSet buttons, bool, MessageKind)
{
    std::fprintf(m_out, "%s\n", text.toLocal8Bit().constData());
    const ButtonFlags flags = buttonFlags(buttons);
    if (!flags.igen)
        return flags.ok ? Answer::Ok : Answer::None;
    if (m_assumeYes) {
        std::fputs("Igen (--yes)\n", m_out);
        return Answer::Igen;
    }
    std::fputs("Igen vagy nem? [i/n] ", m_out);
    std::fflush(m_out);
    char line[64] = {};
    if (!std::fgets(line, sizeof line, m_in))
        return Answer::Nem;
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    return answer == QLatin1String("i") || answer == QLatin1String("igen") ? Answer::Igen
                                                                           : Answer::Nem;
}
