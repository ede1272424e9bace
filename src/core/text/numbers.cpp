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
    bool isNegative = false;
    std::string digits; // 1 to 15 digits, the first non-zero, no trailing zeros
    int exponent = 0; // of the first digit: 1234 has 3
};

ShownDigits shownDigits(double value)
{
    ShownDigits result;
    result.isNegative = std::signbit(value);

    // Rounded in two steps: first to 18 significant digits, then half away from zero to 15.
    // An exact tie in the 16th digit (123456789012344,5) therefore goes up, as the general
    // format has always rounded, not to the even neighbour.
    std::array<char, 40> buffer {};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
        std::fabs(value), std::chars_format::scientific, 17);
    const std::string text(buffer.data(), written.ptr);
    // text is "d.ddddddddddddddddde+XX"
    const auto ePos = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, ePos - 2);
    int exponent = std::stoi(text.substr(ePos + 1));

    const bool roundsUp = digits[generalDigits] >= '5';
    digits.resize(generalDigits);
    if (roundsUp) {
        int pos = generalDigits - 1;
        while (pos >= 0 && digits[pos] == '9')
            digits[pos--] = '0';
        if (pos >= 0) {
            ++digits[pos];
        } else { // 9,99…95 became 10
            digits.insert(digits.begin(), '1');
            digits.resize(generalDigits);
            ++exponent;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    result.digits = std::move(digits);
    result.exponent = exponent;
    return result;
}

} // namespace

std::optional<double> parseDecimal(const QString &text)
{
    const std::optional<TypedDecimal> decimal = splitDecimal(withoutBlanks(text));
    if (!decimal)
        return std::nullopt;

    // Converted from an ASCII copy with a decimal point: std::from_chars rounds correctly and,
    // unlike strtod, does not depend on the C locale the application runs in.
    std::string ascii;
    ascii.reserve(decimal->integerDigits.size() + decimal->fractionDigits.size() + 16);
    if (decimal->isNegative)
        ascii.push_back('-');
    ascii += decimal->integerDigits.empty() ? std::string("0") : decimal->integerDigits;
    if (!decimal->fractionDigits.empty()) {
        ascii.push_back('.');
        ascii += decimal->fractionDigits;
    }
    ascii.push_back('e');
    ascii += std::to_string(decimal->exponent);

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

    const ShownDigits shown = shownDigits(value);
    const QString digits = QString::fromLatin1(shown.digits.data(), qsizetype(shown.digits.size()));
    QString result;
    if (shown.isNegative)
        result += u'-';

    if (shown.exponent >= generalDigits || shown.exponent < -4) {
        result += digits.at(0);
        if (digits.size() > 1)
            result += u',' + digits.mid(1);
        result += u'E' + QString::number(shown.exponent);
    } else if (shown.exponent >= 0) {
        const qsizetype integerCount = shown.exponent + 1;
        result += digits.left(integerCount);
        if (digits.size() > integerCount)
            result += u',' + digits.mid(integerCount);
        else
            result += QString(integerCount - digits.size(), u'0');
    } else {
        result += QStringLiteral("0,") + QString(-shown.exponent - 1, u'0') + digits;
    }
    return result;
}

} // namespace Text
