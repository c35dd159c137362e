#include "NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace tarvelle::bandwidth {

static_assert(std::numeric_limits<long double>::digits == 64, "the calculator needs the 80-bit extended type");

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number as read from text: |value| = digits × 10^scale, digits without leading zeros.
struct DecimalNumber
{
    bool negative = false;
    std::string digits;
    int64_t scale = 0;
};

// Reads the sign and digits after an "E" from position i on. Digits are taken only while the exponent is
// below 500; a digit left over then fails the caller's end-of-text test.
int64_t ReadExponent(std::string_view text, size_t& i)
{
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t exponent = 0;
    for (; i < text.size() && IsDigit(text[i]) && exponent < 500; ++i)
        exponent = exponent * 10 + (text[i] - '0');
    return negative ? -exponent : exponent;
}

std::optional<DecimalNumber> ParseDecimal(std::string_view text, std::string_view separator)
{
    DecimalNumber number;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        number.negative = text[i++] == '-';
    bool sawMantissa = false;
    int64_t fractionDigits = 0;
    for (; i < n && IsDigit(text[i]); ++i, sawMantissa = true)
        number.digits += text[i];
    if (!separator.empty() && text.substr(i).starts_with(separator)) {
        sawMantissa = true;
        for (i += separator.size(); i < n && IsDigit(text[i]); ++i, ++fractionDigits)
            number.digits += text[i];
    }
    if (!sawMantissa)
        return std::nullopt;
    if (i < n && (text[i] == 'E' || text[i] == 'e'))
        number.scale = ReadExponent(text, ++i);
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return std::nullopt;
    number.scale -= fractionDigits;
    const size_t firstNonZero = number.digits.find_first_not_of('0');
    number.digits.erase(0, firstNonZero == std::string::npos ? number.digits.size() : firstNonZero);
    return number;
}

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Trailing zeros only move the scale; dropping them keeps the text handed to the C library short.
std::optional<long double> Magnitude(DecimalNumber& number)
{
    if (number.digits.empty())
        return 0.0L;
    while (number.digits.back() == '0') {
        number.digits.pop_back();
        ++number.scale;
    }
    const int64_t digitCount = static_cast<int64_t>(number.digits.size());
    // |value| lies in [10^(digitCount - 1 + scale), 10^(digitCount + scale)); the largest finite extended
    // value is about 1.19e4932 and half the smallest subnormal about 1.8e-4951.
    if (digitCount - 1 + number.scale >= 4933)
        return std::nullopt;
    if (digitCount + number.scale <= -4951)
        return 0.0L;
    // A syntax we fully control, read by a correctly rounding converter in the C locale.
    const std::string normalised = number.digits + "e" + std::to_string(number.scale);
    const long double value = strtold_l(normalised.c_str(), nullptr, CLocale());
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// The 18 significant digits of magnitude, correctly rounded, and the power of ten of the first digit.
struct Expansion
{
    std::string digits;
    int exponent = 0;
};

Expansion EighteenDigits(long double magnitude)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);
    // The radix character follows the C library's locale, so collect the digits and skip whatever else
    // stands before the exponent.
    Expansion expansion;
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e'; ++p) {
        if (IsDigit(*p))
            expansion.digits += *p;
    }
    if (*p == 'e')
        expansion.exponent = std::atoi(p + 1);
    expansion.digits.resize(18, '0');
    return expansion;
}

// At most 15 significant digits without trailing zeros, as 0.d1d2... × 10^e.
struct Significant
{
    std::string digits;
    int e = 0;
};

// Rounds the 18-digit expansion, not the exact value, up when its sixteenth digit is 5 or more.
Significant FifteenDigits(long double magnitude)
{
    const Expansion expansion = EighteenDigits(magnitude);
    Significant s {expansion.digits.substr(0, 15), expansion.exponent + 1};
    if (expansion.digits[15] >= '5') {
        size_t i = s.digits.size();
        while (i > 0 && s.digits[i - 1] == '9')
            s.digits[--i] = '0';
        if (i == 0) {
            s.digits.insert(s.digits.begin(), '1');
            s.digits.pop_back();
            ++s.e;
        } else {
            ++s.digits[i - 1];
        }
    }
    s.digits.erase(s.digits.find_last_not_of('0') + 1);
    return s;
}

} // namespace

std::optional<long double> TextToNumber(std::string_view text, std::string_view decimalSeparator)
{
    std::optional<DecimalNumber> number = ParseDecimal(text, decimalSeparator);
    if (!number)
        return std::nullopt;
    const std::optional<long double> magnitude = Magnitude(*number);
    if (!magnitude)
        return std::nullopt;
    return number->negative ? -*magnitude : *magnitude;
}

std::string NumberToText(long double v, std::string_view decimalSeparator)
{
    if (v == 0)
        return "0";
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";
    const Significant s = FifteenDigits(std::fabs(v));
    std::string out = v < 0 ? "-" : "";
    if (s.e > 15 || s.e < -3) {
        out += s.digits[0];
        if (s.digits.size() > 1) {
            out += decimalSeparator;
            out += s.digits.substr(1);
        }
        out += 'E';
        out += std::to_string(s.e - 1);
    } else if (s.e <= 0) {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<size_t>(-s.e), '0');
        out += s.digits;
    } else if (s.digits.size() <= static_cast<size_t>(s.e)) {
        out += s.digits;
        out.append(static_cast<size_t>(s.e) - s.digits.size(), '0');
    } else {
        out += s.digits.substr(0, static_cast<size_t>(s.e));
        out += decimalSeparator;
        out += s.digits.substr(static_cast<size_t>(s.e));
    }
    return out;
}

std::optional<std::string> RoundedNumberToText(long double v, std::string_view decimalSeparator)
{
    long double w = v * 100;
    w = w + 0.5L;
    const long double cut = std::trunc(w);
    // Written so that a NaN or an infinity fails as well.
    if (!(cut >= -0x1p63L && cut < 0x1p63L))
        return std::nullopt;
    const auto n = static_cast<int64_t>(cut);
    return NumberToText(static_cast<long double>(n) / 100, decimalSeparator);
}

} // namespace tarvelle::bandwidth
