#include "core/text/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace Text {

namespace {

// The general format shows at most this many significant digits.
constexpr int generalDigits = 15;

// Exponents are kept far outside the double range, so a silly exponent typed in still gives
// the right overflow or underflow but never overflows the arithmetic here.
constexpr std::int64_t exponentLimit = 100000;

bool isBlank(QChar c)
{
    return c == u' ';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The text between the blanks around it.
QStringView withoutBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return QStringView(text).mid(begin, end - begin);
}

// A typed decimal taken apart: the digits before and after the comma and the exponent.
struct TypedDecimal
{
    bool isNegative = false;
    std::string integerDigits;
    std::string fractionDigits;
    std::int64_t exponent = 0;
};

std::optional<TypedDecimal> splitDecimal(QStringView text)
{
    TypedDecimal result;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    if (pos < size && (text[pos] == u'+' || text[pos] == u'-')) {
        result.isNegative = text[pos] == u'-';
        ++pos;
    }
    while (pos < size && isAsciiDigit(text[pos]))
        result.integerDigits.push_back(char(text[pos++].unicode()));
    if (pos < size && text[pos] == u',') {
        ++pos;
        while (pos < size && isAsciiDigit(text[pos]))
            result.fractionDigits.push_back(char(text[pos++].unicode()));
    }
    // ",5" and "5," are numbers, a lone comma is not
    if (result.integerDigits.empty() && result.fractionDigits.empty())
        return std::nullopt;

    if (pos < size && (text[pos] == u'E' || text[pos] == u'e')) {
        ++pos;
        bool isExponentNegative = false;
        if (pos < size && (text[pos] == u'+' || text[pos] == u'-')) {
            isExponentNegative = text[pos] == u'-';
            ++pos;
        }
        if (pos == size || !isAsciiDigit(text[pos]))
            return std::nullopt;
        while (pos < size && isAsciiDigit(text[pos])) {
            const int digit = text[pos++].unicode() - u'0';
            result.exponent = std::min(result.exponent * 10 + digit, exponentLimit);
        }
        if (isExponentNegative)
            result.exponent = -result.exponent;
    }
    if (pos != size)
        return std::nullopt;
    return result;
}

// The decimal exponent of the leading non-zero digit (1 for "12", -1 for "0,5"), or nothing
// when every digit is zero.
std::optional<std::int64_t> leadingDigitExponent(const TypedDecimal &decimal)
{
    const auto first = decimal.integerDigits.find_first_not_of('0');
    if (first != std::string::npos)
        return std::int64_t(decimal.integerDigits.size() - first) - 1 + decimal.exponent;
    const auto firstFraction = decimal.fractionDigits.find_first_not_of('0');
    if (firstFraction != std::string::npos)
        return -std::int64_t(firstFraction) - 1 + decimal.exponent;
    return std::nullopt;
}

// The value rounded to the digits the general format shows.
struct ShownDigits
{
    std::array<char, 24> digits {}; // the first non-zero, no trailing zeros
    int count = 0; // 1 to 15
    int exponent = 0; // of the first digit: 1234 has 3
};

// Takes the digits and the exponent out of std::to_chars' scientific form "d[.ddd]e±XX".
void readScientific(const char *begin, const char *end, ShownDigits &shown)
{
    shown.count = 0;
    const char *pos = begin;
    for (; pos != end && *pos != 'e'; ++pos) {
        if (*pos != '.')
            shown.digits[size_t(shown.count++)] = *pos;
    }
    int exponent = 0;
    std::from_chars(pos + (pos[1] == '+' ? 2 : 1), end, exponent);
    shown.exponent = exponent;
}

// The digits of the value rounded in two steps: first to 18 significant digits, then half
// away from zero to 15. An exact tie in the 16th digit (123456789012344,5) therefore goes up,
// as the general format has always rounded, not to the even neighbour.
void roundToGeneralDigits(double magnitude, ShownDigits &shown)
{
    std::array<char, 40> buffer {};
    char *const first = buffer.data();
    const auto rounded = std::to_chars(first, first + buffer.size(), magnitude,
                                       std::chars_format::scientific, 17);
    readScientific(first, rounded.ptr, shown);
    char *digits = shown.digits.data();
    const bool roundsUp = digits[generalDigits] >= '5';
    shown.count = generalDigits;
    if (roundsUp) {
        int pos = generalDigits - 1;
        while (pos >= 0 && digits[pos] == '9')
            digits[pos--] = '0';
        if (pos >= 0) {
            ++digits[pos];
        } else { // 9,99…95 became 10
            digits[0] = '1';
            ++shown.exponent;
        }
    }
}

ShownDigits shownDigits(double magnitude)
{
    ShownDigits shown;
    std::array<char, 40> buffer {};
    char *const first = buffer.data();
    char *const last = first + buffer.size();

    // The shortest digits that read back as the value. At most 15 of them are also what the
    // two-step rounding gives: a normal double lies within a ninth of a unit in the 15th digit
    // of its shortest form, too little to move a rounding to 15 digits. A denormal has fewer
    // bits and no such bound.
    if (std::isnormal(magnitude)) {
        const auto shortest = std::to_chars(first, last, magnitude, std::chars_format::scientific);
        readScientific(first, shortest.ptr, shown);
    }
    if (shown.count == 0 || shown.count > generalDigits)
        roundToGeneralDigits(magnitude, shown);
    while (shown.count > 1 && shown.digits[size_t(shown.count - 1)] == '0')
        --shown.count;
    return shown;
}

} // namespace

std::optional<double> parseDecimal(const QString &text)
{
    const std::optional<TypedDecimal> decimal = splitDecimal(withoutBlanks(text));
    if (!decimal)
        return std::nullopt;

    // Converted from an ASCII copy with a decimal point: std::from_chars rounds correctly and,
    // unlike strtod, does not depend on the C locale the application runs in.
    // A short number fits the string's own buffer and costs no allocation.
    std::string ascii;
    if (decimal->isNegative)
        ascii.push_back('-');
    if (decimal->integerDigits.empty())
        ascii.push_back('0');
    else
        ascii += decimal->integerDigits;
    if (!decimal->fractionDigits.empty()) {
        ascii.push_back('.');
        ascii += decimal->fractionDigits;
    }
    if (decimal->exponent != 0) {
        std::array<char, 24> exponent {};
        exponent[0] = 'e';
        const auto written = std::to_chars(exponent.data() + 1,
                                           exponent.data() + exponent.size(), decimal->exponent);
        ascii.append(exponent.data(), written.ptr);
    }

    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small for a double is zero; too large has no value.
        const std::optional<std::int64_t> order = leadingDigitExponent(*decimal);
        if (order && *order > 0)
            return std::nullopt;
        return decimal->isNegative ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(const QString &text)
{
    const QStringView number = withoutBlanks(text);
    std::string ascii;
    qsizetype pos = 0;
    if (pos < number.size() && (number[pos] == u'+' || number[pos] == u'-')) {
        if (number[pos] == u'-')
            ascii.push_back('-');
        ++pos;
    }
    if (pos == number.size())
        return std::nullopt;
    for (; pos < number.size(); ++pos) {
        if (!isAsciiDigit(number[pos]))
            return std::nullopt;
        ascii.push_back(char(number[pos].unicode()));
    }
    int value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

bool isDecimal(const QString &text)
{
    return parseDecimal(text).has_value();
}

QString formatGeneral(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0) // negative zero included
        return QStringLiteral("0");

    const ShownDigits shown = shownDigits(std::fabs(value));
    const char *digits = shown.digits.data();
    // at most a sign, 15 digits, "0," and 4 zeros, or a comma and "E-324"
    std::array<char, 32> text {};
    char *out = text.data();
    const auto put = [&out](const char *from, int count) {
        out = std::copy(from, from + count, out);
    };
    if (std::signbit(value))
        *out++ = '-';

    if (shown.exponent >= generalDigits || shown.exponent < -4) {
        *out++ = digits[0];
        if (shown.count > 1) {
            *out++ = ',';
            put(digits + 1, shown.count - 1);
        }
        *out++ = 'E';
        out = std::to_chars(out, text.data() + text.size(), shown.exponent).ptr;
    } else if (shown.exponent >= 0) {
        const int integerCount = shown.exponent + 1;
        if (shown.count > integerCount) {
            put(digits, integerCount);
            *out++ = ',';
            put(digits + integerCount, shown.count - integerCount);
        } else {
            put(digits, shown.count);
            out = std::fill_n(out, integerCount - shown.count, '0');
        }
    } else {
        *out++ = '0';
        *out++ = ',';
        out = std::fill_n(out, -shown.exponent - 1, '0');
        put(digits, shown.count);
    }
    return QString::fromLatin1(text.data(), out - text.data());
}

} // namespace Text
