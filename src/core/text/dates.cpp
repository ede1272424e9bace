#include "core/text/dates.h"

namespace Text {

namespace {

// Reads the digits at pos (at most maxDigits of them) after any spaces; moves pos past them.
std::optional<int> readNumber(QStringView text, qsizetype &pos, int minDigits, int maxDigits)
{
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    int value = 0;
    int count = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        if (++count > maxDigits)
            return std::nullopt;
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
    }
    if (count < minDigits)
        return std::nullopt;
    return value;
}

// Skips spaces and then the separating point; false when there is no point.
bool readPoint(QStringView text, qsizetype &pos)
{
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    if (pos == text.size() || text[pos] != u'.')
        return false;
    ++pos;
    return true;
}

} // namespace

QString formatShortDate(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1.%2.%3.")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString formatShortDateNoLeadingZeros(int year, int month, int day)
{
    return QStringLiteral("%1.%2.%3.").arg(year).arg(month).arg(day);
}

std::optional<QDate> parseShortDate(const QString &text)
{
    // Spaces are allowed around every part, so the spaced Hungarian form "2012. 03. 05."
    // reads as well. The year always has four digits; month and day one or two.
    const QStringView view(text);
    qsizetype pos = 0;
    const std::optional<int> year = readNumber(view, pos, 4, 4);
    if (!year || !readPoint(view, pos))
        return std::nullopt;
    const std::optional<int> month = readNumber(view, pos, 1, 2);
    if (!month || !readPoint(view, pos))
        return std::nullopt;
    const std::optional<int> day = readNumber(view, pos, 1, 2);
    if (!day)
        return std::nullopt;
    qsizetype end = pos;
    if (readPoint(view, end))
        pos = end;
    while (pos < view.size() && view[pos] == u' ')
        ++pos;
    if (pos != view.size())
        return std::nullopt;

    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace Text
