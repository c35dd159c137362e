#include "NumberText.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <random>
#include <string>

namespace tarvelle::bandwidth {
namespace {

using tarvelle::test::PrintTo;

// ---- Reading -------------------------------------------------------------------------------------------

struct ReadCase
{
    const char* name;
    std::string text;
    const char* separator;
    std::optional<long double> value;
};

class TextToNumberRules : public testing::TestWithParam<ReadCase>
{ };

TEST_P(TextToNumberRules, Read)
{
    const ReadCase& c = GetParam();
    const std::optional<long double> got = TextToNumber(c.text, c.separator);
    ASSERT_EQ(got.has_value(), c.value.has_value()) << '"' << c.text << '"';
    if (c.value) {
        EXPECT_EQ(*got, *c.value) << '"' << c.text << '"';
    }
}

const ReadCase kReadCases[] = {
    {"Integer", "12", ".", 12.0L},
    {"SpacesAround", " 12 ", ".", 12.0L},
    {"ManySpaces", "    7    ", ".", 7.0L},
    {"PlusLeadingSeparator", "+.5", ".", 0.5L},
    {"LoneSeparator", ".", ".", 0.0L},
    {"SignedLoneSeparator", "-.", ".", -0.0L},
    {"TrailingSeparator", "5.", ".", 5.0L},
    {"Negative", "-2.5", ".", -2.5L},
    {"ExponentWithoutDigits", "1e", ".", 1.0L},
    {"ExponentSignWithoutDigits", "1e-", ".", 1.0L},
    {"ExponentPlus", "1e+5", ".", 100000.0L},
    {"ExponentUppercase", "25E-8", ".", 2.5e-7L},
    {"ExponentLeadingZeros", "1e0000000000000005", ".", 100000.0L},
    {"Exponent500", "1e500", ".", 1e500L},
    {"Exponent4932", "1e4932", ".", 1e4932L},
    {"ExponentBeyondRange", "1e4933", ".", std::nullopt},
    {"ExponentDigitLeftOver", "1e5000", ".", std::nullopt},
    {"NegativeExponentDigitLeftOver", "1e-5000", ".", std::nullopt},
    {"LargestFinite", "1.18973149535723176502e4932", ".", LDBL_MAX},
    {"JustBeyondLargest", "1.1897314953572317651e4932", ".", std::nullopt},
    {"MantissaCarriesBigValue", "0.00001e4937", ".", 1e4932L},
    {"SmallExponentSavesBigMantissa", "1000000000000e4920", ".", 1e4932L},
    {"Subnormal", "1e-4940", ".", 1e-4940L},
    {"UnderflowReadsZero", "1e-4999", ".", 0.0L},
    {"NegativeUnderflowReadsZero", "-1e-4999", ".", -0.0L},
    {"CorrectlyRoundedTenth", "0.1", ".", 0.1L},
    {"CorrectlyRoundedLongMantissa", "3.14159265358979323846264338327950288", ".",
     3.14159265358979323846264338327950288L},
    {"FifteenDigits", "6.82666666666667", ".", 6.82666666666667L},
    {"ManyZeros", "0000000000000000000000000000.000000000000000000000000000000000000000000001", ".", 1e-45L},
    {"CommaWithFullStop", "1,5", ".", std::nullopt},
    {"CommaWithComma", "1,5", ",", 1.5L},
    {"FullStopWithComma", "1.5", ",", std::nullopt},
    {"ExponentWithComma", "2,5E-7", ",", 2.5e-7L},
    {"MultiByteSeparator", "1\u066B5", "\u066B", 1.5L},
    {"HalfMultiByteSeparator", "1\xD9", "\u066B", std::nullopt},
    {"ThousandsSeparator", "1,000", ".", std::nullopt},
    {"SecondSeparator", "1.2.3", ".", std::nullopt},
    {"Empty", "", ".", std::nullopt},
    {"OnlySpaces", "   ", ".", std::nullopt},
    {"LoneMinus", "-", ".", std::nullopt},
    {"ExponentOnly", "E5", ".", std::nullopt},
    {"SeparatorThenExponentOnly", ".e5", ".", 0.0L},
    {"Letters", "abc", ".", std::nullopt},
    {"TrailingLetter", "12a", ".", std::nullopt},
    {"HexFloat", "0x10", ".", std::nullopt},
    {"HexFloatWithExponent", "0x1p3", ".", std::nullopt},
    {"Infinity", "inf", ".", std::nullopt},
    {"InfinityWord", "Infinity", ".", std::nullopt},
    {"NotANumber", "nan", ".", std::nullopt},
    {"Tab", "\t5", ".", std::nullopt},
    {"NonBreakingSpace",
     "\xC2\xA0"
     "5",
     ".", std::nullopt},
    {"SpaceAfterSign", "- 5", ".", std::nullopt},
    {"SpaceInsideDigits", "1 2", ".", std::nullopt},
    {"SpaceBeforeExponent", "1 e5", ".", std::nullopt},
    {"TwoSigns", "+-5", ".", std::nullopt},
    {"TwoExponentSigns", "1e+-5", ".", std::nullopt},
    {"SecondExponent", "1e5e5", ".", std::nullopt},
    {"NulInside",
     std::string("1\0"
                 "2",
                 3),
     ".", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Texts, TextToNumberRules, testing::ValuesIn(kReadCases), test::RowName());

TEST(TextToNumber, LongDigitRunsAreReadExactly)
{
    EXPECT_EQ(TextToNumber("0." + std::string(200000, '7')), 7.0L / 9);
    EXPECT_EQ(TextToNumber(std::string(200000, '0') + "5"), 5.0L);
    EXPECT_EQ(TextToNumber("0." + std::string(4000, '0') + "1e4000"), 0.1L);
    EXPECT_FALSE(TextToNumber(std::string(5000, '9')).has_value());
}

// ---- Writing -------------------------------------------------------------------------------------------

struct WriteCase
{
    const char* name;
    long double value;
    const char* separator;
    const char* text;
};

class NumberToTextRules : public testing::TestWithParam<WriteCase>
{ };

TEST_P(NumberToTextRules, Write)
{
    const WriteCase& c = GetParam();
    EXPECT_EQ(NumberToText(c.value, c.separator), c.text);
}

const WriteCase kWriteCases[] = {
    {"Zero", 0.0L, ".", "0"},
    {"NegativeZero", -0.0L, ".", "0"},
    {"Integer", 1544.0L, ".", "1544"},
    {"Ten", 10.0L, ".", "10"},
    {"NegativeFraction", -2.5L, ".", "-2.5"},
    {"SolvedRate", 819200.0L / 120 / 1000, ".", "6.82666666666667"},
    {"FifteenNines", 1e15L - 1, ".", "999999999999999"},
    {"TenToTheFifteen", 1e15L, ".", "1E15"},
    {"PaddedWithZeros", 1e14L, ".", "100000000000000"},
    {"RoundedAtFifteenDigits", 123456789012345.6L, ".", "123456789012346"},
    {"RoundingCarriesIntoScientific", 999999999999999.5L, ".", "1E15"},
    {"RoundingCarriesToOne", 0.99999999999999999L, ".", "1"},
    {"CarryDropsTrailingZeros", 1.2999999999999999L, ".", "1.3"},
    {"EighteenDigitsRoundedFirst", 1.0000000000000049996L, ".", "1.00000000000001"},
    {"SixteenthDigitBelowFive", 1.0000000000000049L, ".", "1"},
    {"OnePointFiveE17", 1.5e17L, ".", "1.5E17"},
    {"SmallestFixed", 0.0001L, ".", "0.0001"},
    {"SmallFixedDigits", 0.00012345L, ".", "0.00012345"},
    {"CommonRateThousandths", 0.053L, ".", "0.053"},
    {"TenToTheMinusFive", 0.00001L, ".", "1E-5"},
    {"ScientificWithDigits", 0.00000025L, ".", "2.5E-7"},
    {"NegativeScientific", -1.5e-10L, ".", "-1.5E-10"},
    {"JustBelowTenToTheMinusFour", 0.000099999999999999999L, ".", "0.0001"},
    {"LargestFinite", LDBL_MAX, ".", "1.18973149535723E4932"},
    {"SmallestSubnormal", LDBL_TRUE_MIN, ".", "3.64519953188247E-4951"},
    {"CommaFixed", 2.5L, ",", "2,5"},
    {"CommaFraction", 0.0001L, ",", "0,0001"},
    {"CommaScientific", 2.5e-7L, ",", "2,5E-7"},
    {"MultiByteSeparator", 1.5L, "\u066B", "1\u066B5"},
};

INSTANTIATE_TEST_SUITE_P(Values, NumberToTextRules, testing::ValuesIn(kWriteCases), test::RowName());

// ---- Two-decimal rounding ------------------------------------------------------------------------------

struct RoundCase
{
    const char* name;
    long double value;
    std::optional<std::string> text;
};

class RoundedNumberToTextRules : public testing::TestWithParam<RoundCase>
{ };

TEST_P(RoundedNumberToTextRules, Round)
{
    const RoundCase& c = GetParam();
    EXPECT_EQ(RoundedNumberToText(c.value), c.text);
}

const RoundCase kRoundCases[] = {
    {"WholeNumber", 3.0L, "3"},
    {"HalfUp", 0.125L, "0.13"},
    {"CutBelowHalf", 1.2349L, "1.23"},
    {"NegativeCutTowardZero", -1.236L, "-1.23"},
    {"NegativeHalfGoesUp", -0.125L, "-0.12"},
    {"TinyNegativeIsZero", -0.004L, "0"},
    {"BelowTheLimit", 9.2e16L, "9.2E16"},
    {"BeyondTheLimit", 9.3e16L, std::nullopt},
    {"NegativeBeyondTheLimit", -9.3e16L, std::nullopt},
    {"TenToTheSeventeen", 1e17L, std::nullopt},
    {"ProductOverflows", LDBL_MAX, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Values, RoundedNumberToTextRules, testing::ValuesIn(kRoundCases), test::RowName());

TEST(RoundedNumberToText, UsesTheSeparator)
{
    EXPECT_EQ(RoundedNumberToText(-1.236L, ","), "-1,23");
}

// ---- Round trips over many values ----------------------------------------------------------------------

// A random normal value: a full 64-bit significand at a random binary exponent.
long double RandomValue(std::mt19937_64& rng, int minExponent, int maxExponent)
{
    std::uniform_int_distribution<int> exponent(minExponent, maxExponent);
    const long double v = std::ldexp(static_cast<long double>(rng() | (uint64_t {1} << 63)), exponent(rng) - 63);
    return (rng() & 1) != 0 ? -v : v;
}

TEST(NumberTextProperty, WrittenTextReadsBackWithinFifteenDigits)
{
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < 20000; ++i) {
        const long double v = RandomValue(rng, i % 2 == 0 ? -60 : -16300, i % 2 == 0 ? 60 : 16380);
        for (const char* separator : {".", ","}) {
            const std::string text = NumberToText(v, separator);
            const std::optional<long double> back = TextToNumber(text, separator);
            ASSERT_TRUE(back.has_value()) << text;
            // Half a unit in the 15th digit, plus the first rounding to 18 digits.
            ASSERT_LE(std::fabs(*back - v), std::fabs(v) * 5.0001e-15L) << text;
            // Writing what was read gives the same text again.
            ASSERT_EQ(NumberToText(*back, separator), text);
        }
    }
}

TEST(NumberTextProperty, FifteenDigitTextsSurviveAReadWriteRead)
{
    std::mt19937_64 rng(77);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-4900, 4900);
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::to_string(1 + digit(rng) % 9) + ".";
        for (int d = 0; d < 14; ++d)
            text += static_cast<char>('0' + digit(rng));
        text += "e" + std::to_string(i % 2 == 0 ? exponent(rng) % 30 : exponent(rng));
        const std::optional<long double> read = TextToNumber(text);
        ASSERT_TRUE(read.has_value()) << text;
        const std::string written = NumberToText(*read);
        ASSERT_EQ(TextToNumber(written), read) << text << " -> " << written;
    }
}

TEST(NumberTextProperty, TwoDecimalRoundingStaysWithinHalfAHundredth)
{
    std::mt19937_64 rng(5);
    for (int i = 0; i < 20000; ++i) {
        const long double v = RandomValue(rng, -20, 40);
        const std::optional<std::string> text = RoundedNumberToText(v);
        ASSERT_TRUE(text.has_value());
        const long double back = *TextToNumber(*text);
        // The cut toward zero of 100v + 0.5 lands in (v - 0.005, v + 0.005] for positive values and in
        // [v + 0.005, v + 0.015) for negative ones.
        const long double slack = std::fabs(v) * 1e-14L;
        if (v * 100 + 0.5L >= 0) {
            ASSERT_GT(back, v - 0.005L - slack) << *text;
            ASSERT_LE(back, v + 0.005L + slack) << *text;
        } else {
            ASSERT_GE(back, v + 0.005L - slack) << *text;
            ASSERT_LT(back, v + 0.015L + slack) << *text;
        }
    }
}

} // namespace
} // namespace tarvelle::bandwidth
