#include "core/text/numbers.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

TEST(NumbersTest, ParseDecimalAcceptsTheTypedForms)
{
    const struct
    {
        const char *text;
        double expected;
        const char *why;
    } cases[] = {
        {"12,5", 12.5, "decimal comma"},
        {"  12,5  ", 12.5, "spaces around are ignored"},
        {"-3", -3.0, "sign, no comma"},
        {"+3", 3.0, "explicit plus"},
        {",5", 0.5, "no integer digits"},
        {"5,", 5.0, "no fraction digits"},
        {"1,5E3", 1500.0, "exponent"},
        {"1,5e-3", 0.0015, "lower-case e, negative exponent"},
        {"-2,5E+2", -250.0, "signed mantissa and exponent"},
        {"0007,250", 7.25, "leading and trailing zeros"},
        {"0,1", 0.1, "nearest double to 0,1; a detour through float gives 0,100000001490116"},
        {"0,30000000000000004", 0.30000000000000004, "17 digits pick the neighbour of 0,3"},
        {"9007199254740993", 9007199254740992.0, "2^53+1 is a tie, rounds to even"},
        {"1,7976931348623157E308", DBL_MAX, "largest double"},
        {"4,9406564584124654E-324", 4.9406564584124654E-324, "smallest denormal"},
        {"1E-400", 0.0, "below the double range gives zero"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.why);
        const std::optional<double> value = Text::parseDecimal(QString::fromUtf8(c.text));
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, c.expected);
        EXPECT_TRUE(Text::isDecimal(QString::fromUtf8(c.text)));
    }
}

TEST(NumbersTest, ParseDecimalRejectsAnythingElse)
{
    const char *const cases[] = {
        "", "   ", // nothing typed
        "12.5", "1.000", // a point is not the decimal separator
        "1 000", "1\u00A0000", "1,000,5", // thousands separators
        "12a", "a12", "12,5 x", "1E3E3", // garbage before or after
        "inf", "INF", "nan", "NAN", "infinity", // named values are not numbers here
        ",", "-", "+,", "E5", ",E5", // no digits
        "1E", "1E+", "1,5 E3", // exponent without digits or split off
        "--1", "+-1", "- 1", // doubled or detached sign
        "0x10", "\uFF11\uFF12", // hexadecimal, full-width digits
        "12,5\t", // only spaces count as blanks
        "1E400", "-1,8E308", // beyond the double range
    };
    for (const char *text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Text::parseDecimal(QString::fromUtf8(text)).has_value());
        EXPECT_FALSE(Text::isDecimal(QString::fromUtf8(text)));
    }
}

TEST(NumbersTest, ParseIntegerTakesWholeNumbersInTheIntRange)
{
    const std::pair<const char *, int> cases[] = {
        {"42", 42},
        {" -17 ", -17}, // spaces and sign
        {"+5", 5},
        {"007", 7}, // leading zeros
        {"2147483647", 2147483647}, // int maximum
        {"-2147483648", std::numeric_limits<int>::min()},
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Text::parseInteger(QString::fromUtf8(text)), expected);
    }
    const char *const rejected[] = {
        "2147483648", "-2147483649", "99999999999999999999", // past the int range
        "12,5", "1E3", // not whole
        "", " ", "-", "1 2", "0x1F", "$1F", // decimal digits only
    };
    for (const char *text : rejected) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Text::parseInteger(QString::fromUtf8(text)).has_value());
    }
}

TEST(NumbersTest, FormatGeneralShowsFifteenDigitsWithDecimalComma)
{
    const struct
    {
        double value;
        const char *expected;
        const char *why;
    } cases[] = {
        {20.004, "20,004", "binary noise past the 15th digit vanishes"},
        {0.1 + 0.2, "0,3", "0,30000000000000004 rounds to 0,3"},
        {2.0 / 3.0, "0,666666666666667", "15 digits, last one rounded up"},
        {0.0, "0", "zero"},
        {-0.0, "0", "negative zero shows no sign"},
        {-3.0, "-3", "no decimals for a whole number"},
        {100.0, "100", "zeros of the integer part stay"},
        {-0.5, "-0,5", ""},
        {0.0001, "0,0001", "smallest magnitude still shown plainly"},
        {0.00009999999999999999, "0,0001", "rounds up to 1E-4 before the form is chosen"},
        {0.00001, "1E-5", "below 1E-4: scientific"},
        {-2.5E-7, "-2,5E-7", "negative mantissa and exponent"},
        {123456789012345.0, "123456789012345", "15 integer digits still plain"},
        {123456789012344.5, "123456789012345", "a tie in the 16th digit rounds up, not to even"},
        {-123456789012344.5, "-123456789012345", "ties away from zero on both sides"},
        {12345678901234.25, "12345678901234,3", "tie in the fraction"},
        {999999999999999.5, "1E15", "rounding carries into a 16th integer digit"},
        {1E15, "1E15", "16 integer digits: scientific"},
        {12345678901234567.0, "1,23456789012346E16", "mantissa rounded to 15 digits"},
        {1E300, "1E300", "exponent without '+' or leading zeros"},
        {DBL_MAX, "1,79769313486232E308", "largest double"},
        {4.9406564584124654E-324, "4,94065645841247E-324", "smallest denormal"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN", ""},
        {std::numeric_limits<double>::infinity(), "INF", ""},
        {-std::numeric_limits<double>::infinity(), "-INF", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Text::formatGeneral(c.value).toStdString(), c.expected);
        // Plan files store numbers in this form: what is written must read back and write
        // out again unchanged; only the largest double, rounded up, lies past the range.
        const std::optional<double> value = Text::parseDecimal(QString::fromUtf8(c.expected));
        ASSERT_EQ(value.has_value(), std::isfinite(c.value) && c.value != DBL_MAX);
        if (value) {
            EXPECT_EQ(Text::formatGeneral(*value).toStdString(), c.expected);
        }
    }
}

namespace {

// The general format as first written, kept as the oracle of the fast one: 18 significant
// digits through std::to_chars, then rounded half away from zero to 15 in a string.
std::string generalFormatOracle(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    std::array<char, 40> buffer {};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       std::fabs(value), std::chars_format::scientific, 17);
    const std::string text(buffer.data(), written.ptr);
    const auto ePos = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, ePos - 2);
    int exponent = std::stoi(text.substr(ePos + 1));
    const bool roundsUp = digits[15] >= '5';
    digits.resize(15);
    if (roundsUp) {
        int pos = 14;
        while (pos >= 0 && digits[pos] == '9')
            digits[pos--] = '0';
        if (pos >= 0) {
            ++digits[pos];
        } else {
            digits.insert(digits.begin(), '1');
            digits.resize(15);
            ++exponent;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string result = std::signbit(value) ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        result += digits.substr(0, 1);
        if (digits.size() > 1)
            result += "," + digits.substr(1);
        result += "E" + std::to_string(exponent);
    } else if (exponent >= 0) {
        const size_t integerCount = size_t(exponent) + 1;
        result += digits.substr(0, integerCount);
        if (digits.size() > integerCount)
            result += "," + digits.substr(integerCount);
        else
            result += std::string(integerCount - digits.size(), '0');
    } else {
        result += "0," + std::string(size_t(-exponent - 1), '0') + digits;
    }
    return result;
}

} // namespace

TEST(NumbersTest, FormatGeneralAgreesWithTheFirstAlgorithmEverywhere)
{
    std::vector<double> values;
    // every double the stored plans of the tests and the fuzz corpus hold, read at every byte
    QFileInfoList files = QDir(QStringLiteral(PLANFILE_CORPUS_DIR)).entryInfoList(QDir::Files);
    files += QDir(QStringLiteral(PLANFILE_DATA_DIR)).entryInfoList(QDir::Files);
    ASSERT_GT(files.size(), 15);
    for (const QFileInfo &file : files) {
        QFile plan(file.filePath());
        ASSERT_TRUE(plan.open(QIODevice::ReadOnly));
        const QByteArray bytes = plan.readAll();
        for (qsizetype at = 0; at + 8 <= bytes.size(); ++at)
            values.push_back(qFromLittleEndian<double>(bytes.constData() + at));
    }
    // every multiple of 0,001 up to 100: each shows as its plain decimal, without noise
    for (int i = 1; i <= 100000; ++i)
        values.push_back(i / 1000.0);
    // random bit patterns, and random decimals of 1 to 17 digits across the exponents
    std::mt19937_64 random(20260307);
    for (int i = 0; i < 300000; ++i) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        values.push_back(value);
        const int digits = 1 + int(random() % 17);
        const double mantissa = double(random() % std::uint64_t(std::pow(10.0, digits)));
        values.push_back(mantissa * std::pow(10.0, int(random() % 40) - 25));
        values.push_back(mantissa / std::pow(10.0, digits));
    }
    // the neighbours of the powers of ten and of the 15-digit ties, where rounding carries
    for (int exponent = -330; exponent <= 310; ++exponent) {
        for (const double base : {1.0, 9.999999999999995, 1.234567890123445, 5.0}) {
            double value = base * std::pow(10.0, exponent);
            for (int step = 0; step < 8; ++step) {
                values.push_back(value);
                values.push_back(-value);
                value = std::nextafter(value, 0.0);
            }
            value = base * std::pow(10.0, exponent);
            for (int step = 0; step < 8; ++step)
                values.push_back(value = std::nextafter(value, HUGE_VAL));
        }
    }
    int failures = 0;
    for (const double value : values) {
        const std::string expected = generalFormatOracle(value);
        const std::string shown = Text::formatGeneral(value).toStdString();
        if (shown != expected && ++failures <= 10)
            ADD_FAILURE() << QByteArray::number(value, 'g', 17).toStdString() << ": " << shown
                          << " != " << expected;
    }
    EXPECT_EQ(failures, 0) << "of " << values.size();
}
