#pragma once

#include <QString>

#include <optional>

// Numbers as the user types and reads them: Hungarian convention, decimal comma.
// Every conversion between text and number in the program goes through these functions.
namespace Text {

// Converts typed text the way the locale's floating-point conversion does: optional blanks
// around, optional sign, digits with a decimal comma, optional exponent ("1,5E3").
// Empty text, a decimal point, thousands separators or trailing garbage give no value.
std::optional<double> parseDecimal(const QString &text);

// Converts text holding a whole number (optional blanks around, optional sign).
std::optional<int> parseInteger(const QString &text);

// True when the text converts with parseDecimal.
bool isDecimal(const QString &text);

// The general format: shortest form with at most 15 significant digits, decimal comma,
// no fixed decimals, scientific form ("1E-6", "1,23456789012346E16") only where the
// plain form would need more than 15 digits or the value is below 1E-5.
QString formatGeneral(double value);

} // namespace Text
