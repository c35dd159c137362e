#include "BandwidthCalc.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <optional>
#include <ostream>
#include <random>
#include <string>

namespace tarvelle::bandwidth {
namespace {

using tarvelle::test::PrintTo;

long double Rate(int unit)
{
    return *RateSizeFactor(unit);
}
long double Time(int unit)
{
    return *TimeFactor(unit);
}

constexpr int kKbps10 = 2;
constexpr int kMbps10 = 4;
constexpr int kMB2 = 11;
constexpr int kKB2 = 9;
constexpr int kGB10 = 7;
constexpr int kMin = 1;

// ---- Tables --------------------------------------------------------------------------------------------

TEST(Tables, FactorLookupsRefuseIndicesOutsideTheTables)
{
    EXPECT_FALSE(RateSizeFactor(-1).has_value());
    EXPECT_FALSE(RateSizeFactor(14).has_value());
    EXPECT_FALSE(TimeFactor(-1).has_value());
    EXPECT_FALSE(TimeFactor(4).has_value());
    EXPECT_EQ(Rate(6), 1e9L);
    EXPECT_EQ(Rate(7), 8 * Rate(6));
    EXPECT_EQ(Time(3), 86400.0L);
}

TEST(Tables, CommonRatesAreWholeBitsPerSecond)
{
    const double bits[]
        = {28800,   33600,   56000,   64000,    128000,   208000,    256000,    384000,     512000,    768000,
           1024000, 1544000, 6312000, 44736000, 51840000, 155520000, 622080000, 2488320000, 9953280000};
    ASSERT_EQ(std::size(bits), CommonRates.size());
    for (size_t i = 0; i < CommonRates.size(); ++i)
        EXPECT_EQ(static_cast<double>(CommonRateBitsPerSecond(CommonRates[i])), bits[i]) << CommonRates[i].text;
}

// ---- Solving -------------------------------------------------------------------------------------------

struct SolveCase
{
    const char* name;
    bool (*calc)(TBandwidthValues&);
    TBandwidthValues start;
    bool ok;
    TBandwidthValues end;
};

class Solving : public testing::TestWithParam<SolveCase>
{ };

TEST_P(Solving, ChangesOnlyItsFieldAndOnlyOnSuccess)
{
    const SolveCase& c = GetParam();
    TBandwidthValues v = c.start;
    EXPECT_EQ(c.calc(v), c.ok);
    EXPECT_EQ(v.StoredBW, c.end.StoredBW);
    EXPECT_EQ(v.StoredDS, c.end.StoredDS);
    EXPECT_EQ(v.StoredTm, c.end.StoredTm);
    EXPECT_EQ(v.TolPercent, c.end.TolPercent);
}

const SolveCase kSolveCases[] = {
    {"RateFromSizeAndTime", CalcBW, {5, 1000, 4, 3}, true, {250, 1000, 4, 3}},
    {"RateZeroTimeFails", CalcBW, {5, 1000, 0, 3}, false, {5, 1000, 0, 3}},
    {"RateZeroOverZeroFails", CalcBW, {5, 0, 0, 3}, false, {5, 0, 0, 3}},
    {"RateNegativeZeroTimeFails", CalcBW, {5, 1000, -0.0L, 3}, false, {5, 1000, -0.0L, 3}},
    {"RateOverflowFails", CalcBW, {5, 1e4000L, 1e-4000L, 3}, false, {5, 1e4000L, 1e-4000L, 3}},
    {"RateUnderflowIsZero", CalcBW, {5, 1e-4000L, 1e4000L, 3}, true, {0, 1e-4000L, 1e4000L, 3}},
    {"RateNegativeAllowed", CalcBW, {5, -1000, 4, 3}, true, {-250, -1000, 4, 3}},
    {"SizeFromRateAndTime", CalcDS, {250, 7, 4, 3}, true, {250, 1000, 4, 3}},
    {"SizeFromZeros", CalcDS, {0, 7, 0, 3}, true, {0, 0, 0, 3}},
    {"SizeOverflowFails", CalcDS, {1e4000L, 7, 1e4000L, 3}, false, {1e4000L, 7, 1e4000L, 3}},
    {"SizeAtTheLargestValue", CalcDS, {LDBL_MAX, 7, 1, 3}, true, {LDBL_MAX, LDBL_MAX, 1, 3}},
    {"TimeFromSizeAndRate", CalcTm, {250, 1000, 9, 3}, true, {250, 1000, 4, 3}},
    {"TimeZeroRateFails", CalcTm, {0, 1000, 9, 3}, false, {0, 1000, 9, 3}},
    {"TimeZeroOverZeroFails", CalcTm, {0, 0, 9, 3}, false, {0, 0, 9, 3}},
    {"TimeSubnormalResult", CalcTm, {4, LDBL_MIN, 9, 3}, true, {4, LDBL_MIN, LDBL_MIN / 4, 3}},
};

INSTANTIATE_TEST_SUITE_P(Operations, Solving, testing::ValuesIn(kSolveCases), test::RowName());

// The worked solves, shown as the page shows them: stored ÷ factor through the 15-digit text.
TEST(Solving, WorkedExamplesShowFifteenDigits)
{
    TBandwidthValues v;
    v.StoredDS = *ShownToStored(Rate(kKB2), 100);
    v.StoredTm = *ShownToStored(Time(kMin), 2);
    ASSERT_TRUE(CalcBW(v));
    EXPECT_EQ(NumberToText(StoredToShown(v.StoredBW, Rate(kKbps10))), "6.82666666666667");

    v = {};
    v.StoredBW = *ShownToStored(Rate(kMbps10), 10);
    v.StoredTm = *ShownToStored(Time(kMin), 5);
    ASSERT_TRUE(CalcDS(v));
    EXPECT_EQ(NumberToText(StoredToShown(v.StoredDS, Rate(kMB2))), "357.627868652344");

    v = {};
    v.StoredDS = *ShownToStored(Rate(kGB10), *TextToNumber("4.7"));
    v.StoredBW = *ShownToStored(Rate(kMbps10), 8);
    ASSERT_TRUE(CalcTm(v));
    EXPECT_EQ(NumberToText(StoredToShown(v.StoredTm, Time(kMin))), "78.3333333333333");
}

TEST(Conversion, StoredIsFactorTimesShownAndOverflowFails)
{
    EXPECT_EQ(ShownToStored(Rate(6), 1), 1e9L);
    EXPECT_EQ(ShownToStored(Rate(7), 1), 8e9L);
    EXPECT_FALSE(ShownToStored(Rate(13), 1e4930L).has_value());
    EXPECT_EQ(StoredToShown(8192, Rate(kKB2)), 1.0L);
}

// ---- Tolerance line ------------------------------------------------------------------------------------

struct TolCase
{
    const char* name;
    long double shown;
    long double tol;
    const char* unit;
    const char* separator;
    std::optional<std::string> line;
};

class ToleranceLine : public testing::TestWithParam<TolCase>
{ };

TEST_P(ToleranceLine, Text)
{
    const TolCase& c = GetParam();
    EXPECT_EQ(TolText(c.shown, c.tol, c.unit, c.separator), c.line);
}

const TolCase kTolCases[] = {
    {"TenAtThree", 10, 3, "Kbps (b10)", ".", "\u00B1 3%: 9.7 - 10.3 Kbps (b10)"},
    {"BinaryUnit", 1.234L, 10, "MB (b2)", ".", "\u00B1 10%: 1.11 - 1.36 MB (b2)"},
    {"SolvedRate", *TextToNumber("6.82666666666667") * 1000 / 1000, 3, "Kbps (b10)", ".",
     "\u00B1 3%: 6.62 - 7.03 Kbps (b10)"},
    {"AboveHundredGoesNegative", 10, 150, "Kbps (b10)", ".", "\u00B1 150%: -4.99 - 25 Kbps (b10)"},
    {"Hundred", 10, 100, "Kbps (b10)", ".", "\u00B1 100%: 0 - 20 Kbps (b10)"},
    {"One", 10, 1, "Kbps (b10)", ".", "\u00B1 1%: 9.9 - 10.1 Kbps (b10)"},
    {"NegativeValueLowAboveHigh", -10, 3, "Kbps (b10)", ".", "\u00B1 3%: -9.69 - -10.29 Kbps (b10)"},
    {"Zero", 0, 3, "KB (b2)", ".", "\u00B1 3%: 0 - 0 KB (b2)"},
    {"CommaSeparator", 1.234L, 10, "MB (b2)", ",", "\u00B1 10%: 1,11 - 1,36 MB (b2)"},
    {"TooLargeForTheRounding", 1e17L, 3, "Kbps (b10)", ".", std::nullopt},
    {"ProductOverflows", 1e4931L, 3, "Kbps (b10)", ".", std::nullopt},
    {"ToleranceTooLargeForTheRounding", 10, 1e17L, "Kbps (b10)", ".", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Lines, ToleranceLine, testing::ValuesIn(kTolCases), test::RowName());

// ---- Agreement -----------------------------------------------------------------------------------------

struct AgreeCase
{
    const char* name;
    TBandwidthValues values;
    Agreement verdict;
};

class Agreeing : public testing::TestWithParam<AgreeCase>
{ };

TEST_P(Agreeing, Verdict)
{
    EXPECT_EQ(ValuesAgree(GetParam().values), GetParam().verdict);
}

const AgreeCase kAgreeCases[] = {
    {"Exact", {500, 1000, 2, 3}, Agreement::Agree},
    {"WithinThreshold", {1000, 1000, 1.00009L, 3}, Agreement::Agree},
    {"AtThresholdHairAbove", {1000, 1000, 1.0001L, 3}, Agreement::Disagree},
    {"BeyondThreshold", {1000, 1000, 1.0002L, 3}, Agreement::Disagree},
    {"RateTooHigh", {1000.2L, 1000, 1, 3}, Agreement::Disagree},
    {"ZeroRate", {0, 1000, 1, 3}, Agreement::Disagree},
    {"NegativeRate", {-1000, 1000, 1, 3}, Agreement::Disagree},
    {"ZeroSize", {1000, 0, 1, 3}, Agreement::NoVerdict},
    {"ZeroTime", {1000, 1000, 0, 3}, Agreement::NoVerdict},
    {"NegativeSize", {-1000, -1000, 1, 3}, Agreement::NoVerdict},
    {"NegativeTime", {-1000, 1000, -1, 3}, Agreement::NoVerdict},
    {"ImpliedRateOverflows", {1, LDBL_MAX, 1e-10L, 3}, Agreement::NoVerdict},
    {"ImpliedRateUnderflowsToZero", {1, LDBL_TRUE_MIN, 1e10L, 3}, Agreement::NoVerdict},
    {"RatioOverflows", {1e4000L, 1e-4000L, 1e4L, 3}, Agreement::NoVerdict},
    {"TinyButFine", {1e-4000L, 1e-4000L, 1, 3}, Agreement::Agree},
};

INSTANTIATE_TEST_SUITE_P(Values, Agreeing, testing::ValuesIn(kAgreeCases), test::RowName());

// ---- Common rates --------------------------------------------------------------------------------------

struct CommonCase
{
    const char* name;
    int row;
    int unit;
    long double value;
};

class CommonRateUnits : public testing::TestWithParam<CommonCase>
{ };

TEST_P(CommonRateUnits, CutToThreeDecimals)
{
    const CommonCase& c = GetParam();
    EXPECT_EQ(CommonRateInUnit(c.row, Rate(c.unit)), c.value);
}

const CommonCase kCommonCases[] = {
    {"FiftySixInMbpsBinary", 2, 10, 0.053L}, {"ModemInKBpsBinaryNotRoundedUp", 0, 9, 3.515L},
    {"KiloIsThousandHere", 10, 8, 1000.0L},  {"OC192InGBpsBinary", 18, 13, 1.158L},
    {"T1InMbps", 11, kMbps10, 1.544L},       {"OC192InBps", 18, 0, 9953280000.0L},
};

INSTANTIATE_TEST_SUITE_P(Examples, CommonRateUnits, testing::ValuesIn(kCommonCases), test::RowName());

TEST(CommonRateUnits, EveryRowInKbpsShowsItsKilobits)
{
    const char* shown[] = {"28.8", "33.6", "56",   "64",    "128",   "208",    "256",    "384",     "512",    "768",
                           "1024", "1544", "6312", "44736", "51840", "155520", "622080", "2488320", "9953280"};
    for (size_t i = 0; i < CommonRates.size(); ++i)
        EXPECT_EQ(NumberToText(*CommonRateInUnit(static_cast<int>(i), Rate(kKbps10))), shown[i]) << CommonRates[i].text;
}

TEST(CommonRateUnits, RefusesRowsOutsideTheTableAndBadFactors)
{
    EXPECT_FALSE(CommonRateInUnit(-1, 1000).has_value());
    EXPECT_FALSE(CommonRateInUnit(19, 1000).has_value());
    EXPECT_FALSE(CommonRateInUnit(0, 0).has_value());
    EXPECT_FALSE(CommonRateInUnit(18, 1e-20L).has_value());
}

// ---- Unit conversions over many values -----------------------------------------------------------------

// A value typed in one unit and shown in another moves the stored quantity by no more than the 15-digit
// rounding when the shown text is read back, and showing it again gives the same text.
TEST(ConversionProperty, RoundTripBetweenUnitsKeepsFifteenDigits)
{
    std::mt19937_64 rng(1234);
    std::uniform_int_distribution<int> unit(0, 13);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 20);
    for (int i = 0; i < 20000; ++i) {
        const int from = unit(rng);
        const int to = unit(rng);
        const std::string typed = NumberToText(mantissa(rng) * std::pow(10.0L, exponent(rng)));
        const long double stored = *ShownToStored(Rate(from), *TextToNumber(typed));
        const std::string other = NumberToText(StoredToShown(stored, Rate(to)));
        const long double restored = *ShownToStored(Rate(to), *TextToNumber(other));
        ASSERT_LE(std::fabs(restored - stored), std::fabs(stored) * 5.0001e-15L) << typed << " -> " << other;
        ASSERT_EQ(NumberToText(StoredToShown(restored, Rate(to))), other) << typed << " -> " << other;
    }
}

} // namespace
} // namespace tarvelle::bandwidth
