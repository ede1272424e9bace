#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Short dates as the program shows and stores them: "yyyy.MM.dd.".
namespace Text {

// "2012.03.05." — the form of the date picker and of dates typed in.
QString formatShortDate(const QDate &date);

// "2012.3.5." — the form of dates that were loaded from a file.
QString formatShortDateNoLeadingZeros(int year, int month, int day);

// Reads either form (leading zeros of month and day optional, the final point optional,
// spaces allowed around each part as in "2012. 03. 05."); the year has four digits. No value
// for anything that is not a valid calendar date.
std::optional<QDate> parseShortDate(const QString &text);

} // namespace Text
