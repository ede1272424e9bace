#pragma once

#include <QString>

#include <optional>

// Numbers as the user types and reads them: Hungarian convention, decimal comma.
// Every conversion between text and number in the program goes through these functions.
namespace Text {

// Converts typed text the way the locale's floating-point conversion does: optional spaces
// around, optional sign, digits with at most one decimal comma (",5" and "5," too), optional
// exponent ("1,5E3"). Empty text, a decimal point, thousands separators, trailing garbage or a
// value beyond the double range give no value; a value too small for a double gives zero.
// The result is the double nearest to the decimal typed.
std::optional<double> parseDecimal(const QString &text);

// Converts text holding a whole number in the int range (optional spaces around, optional
// sign, decimal digits only).
std::optional<int> parseInteger(const QString &text);

// True when the text converts with parseDecimal.
bool isDecimal(const QString &text);

// The general format: the value rounded to 15 significant digits (ties away from zero),
// trailing zeros dropped, decimal comma. Scientific form ("1E-5", "1,23456789012346E16",
// no '+', no leading zeros in the exponent) only where the plain form would need more than
// 15 integer digits or the rounded value is below 1E-4 ("0,0001" stays plain).
// Negative zero gives "0"; not-a-number and the infinities give "NAN", "INF" and "-INF".
QString formatGeneral(double value);

} // namespace Text
