#include "BandwidthSolve.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarvelle::bandwidth {
namespace {

using tarvelle::test::PrintTo;

constexpr int kBps = 0;
constexpr int kKbps10 = 2;
constexpr int kMbps10 = 4;
constexpr int kGB10 = 7;
constexpr int kKB2 = 9;
constexpr int kMB2 = 11;
constexpr int kSec = 0;
constexpr int kMin = 1;
constexpr int kNoUnit = 14;

// A null text or line is expected to be missing; a row with an error checks nothing else.
struct SolveCase
{
    const char* name;
    SolveInput input;
    std::optional<SolveError> error;
    Quantity row; // the row whose number and line are checked
    const char* text;
    const char* line;
    const char* storedText; // the row's stored value, as a number text times its shown unit's factor
    Agreement agreement;
};

SolveInput Ask(std::optional<GivenValue> rate, std::optional<GivenValue> size, std::optional<GivenValue> time,
               std::optional<Quantity> solve, std::array<std::optional<int>, 3> shown = {})
{
    SolveInput input;
    input.given = {rate, size, time};
    input.shownUnits = shown;
    input.solve = solve;
    return input;
}

constexpr std::nullopt_t kNone = std::nullopt;

class SolveCalls : public testing::TestWithParam<SolveCase>
{ };

TEST_P(SolveCalls, GiveThePageRowsOrWhyNot)
{
    const SolveCase& c = GetParam();
    const std::variant<SolveOutput, SolveError> result = Solve(c.input);
    if (c.error) {
        ASSERT_TRUE(std::holds_alternative<SolveError>(result));
        EXPECT_EQ(std::get<SolveError>(result), *c.error);
        return;
    }
    ASSERT_TRUE(std::holds_alternative<SolveOutput>(result));
    const SolveOutput& out = std::get<SolveOutput>(result);
    const SolvedRow& row = out.rows[static_cast<size_t>(c.row)];
    EXPECT_EQ(row.text, c.text);
    EXPECT_EQ(row.line, c.line ? std::optional<std::string>(c.line) : std::nullopt);
    const long double factor = *UnitFactor(c.row, row.unit);
    EXPECT_EQ(StoredValue(out.values, c.row), *TextToNumber(c.storedText) * factor);
    EXPECT_EQ(out.agreement, c.agreement);
}

const std::string kPm = "\u00B1";

// clang-format off
const SolveCase kSolveCases[] = {
    {"RateWithoutTimeDividesByZero", Ask(kNone, GivenValue {100, kKB2}, kNone, Quantity::Rate),
     SolveError::DivisionByZero, {}, "", "", "", {}},
    {"TimeFromZeroOverZeroDividesByZero", Ask(GivenValue {0, kKbps10}, GivenValue {0, kKB2}, kNone, Quantity::Time),
     SolveError::DivisionByZero, {}, "", "", "", {}},
    {"RateBeyondTheRange", Ask(kNone, GivenValue {1e4000L, kBps}, GivenValue {1e-4000L, kSec}, Quantity::Rate),
     SolveError::TooLarge, {}, "", "", "", {}},
    {"SizeBeyondTheRange", Ask(GivenValue {1e4000L, kBps}, kNone, GivenValue {1e4000L, kSec}, Quantity::Size),
     SolveError::TooLarge, {}, "", "", "", {}},
    {"GivenValueBeyondTheRangeInBaseUnits", Ask(kNone, GivenValue {1e4931L, kGB10}, kNone, kNone),
     SolveError::TooLarge, {}, "", "", "", {}},
    {"ShownUnitOutsideItsTable", Ask(kNone, kNone, kNone, Quantity::Size, {kNoUnit, kNone, kNone}),
     SolveError::UnknownUnit, {}, "", "", "", {}},
    {"GivenUnitOutsideItsTable", Ask(kNone, kNone, GivenValue {1, 4}, kNone), SolveError::UnknownUnit, {}, "", "",
     "", {}},
    // The page's worked example: shown with fifteen digits, stored as that text reads back.
    {"RateFromSizeAndTime", Ask(kNone, GivenValue {100, kKB2}, GivenValue {2, kMin}, Quantity::Rate), kNone,
     Quantity::Rate, "6.82666666666667", "\u00B1 3%: 6.62 - 7.03 Kbps (b10)", "6.82666666666667", Agreement::Agree},
    {"SizeFromRateAndTime", Ask(GivenValue {10, kMbps10}, kNone, GivenValue {5, kMin}, Quantity::Size, {kNone, kMB2, kNone}),
     kNone, Quantity::Size, "357.627868652344", "\u00B1 3%: 346.9 - 368.36 MB (b2)", "357.627868652344",
     Agreement::Agree},
    {"SizeFromNothingIsZero", Ask(kNone, kNone, kNone, Quantity::Size), kNone, Quantity::Size, "0",
     "\u00B1 3%: 0 - 0 KB (b2)", "0", Agreement::NoVerdict},
    {"GivenInOneUnitShownInAnother", Ask(GivenValue {1, kMB2}, kNone, kNone, kNone, {kKbps10, kNone, kNone}), kNone,
     Quantity::Rate, "8388.608", "\u00B1 3%: 8136.95 - 8640.27 Kbps (b10)", "8388.608", Agreement::NoVerdict},
    {"TypedTextShownAsItStands", Ask(GivenValue {1e6L, kKbps10, "1e6"}, kNone, kNone, kNone), kNone, Quantity::Rate,
     "1e6", "\u00B1 3%: 970000 - 1030000 Kbps (b10)", "1e6", Agreement::NoVerdict},
    {"LineTooWideForTheRoundingIsNone", Ask(GivenValue {1e11L, kMbps10}, kNone, kNone, kNone, {kBps, kNone, kNone}),
     kNone, Quantity::Rate, "1E17", nullptr, "1E17", Agreement::NoVerdict},
    {"ZeroRateAgainstSizeAndTimeDisagrees", Ask(GivenValue {0, kKbps10}, GivenValue {1, kKB2}, GivenValue {1, kMin},
     kNone), kNone, Quantity::Rate, "0", "\u00B1 3%: 0 - 0 Kbps (b10)", "0", Agreement::Disagree},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, SolveCalls, testing::ValuesIn(kSolveCases), test::RowName());

// Solving a given quantity whose worked-out text is the one it already shows: as in the page's box, the text
// is not read again, so the value is the unrounded quotient and the line stays.
TEST(SolveCalls, AnUnchangedTextKeepsTheComputedValue)
{
    const GivenValue rate {*TextToNumber("6.82666666666667"), kKbps10, "6.82666666666667"};
    const auto result
        = Solve(Ask(rate, GivenValue {100, kKB2}, GivenValue {2, kMin}, Quantity::Rate, {kNone, kNone, kNone}));
    const SolveOutput& out = std::get<SolveOutput>(result);
    EXPECT_EQ(out.rows[0].text, "6.82666666666667");
    EXPECT_EQ(out.values.StoredBW, 100.0L * 8192 / 120);
    EXPECT_NE(out.values.StoredBW, *TextToNumber("6.82666666666667") * 1000);
    EXPECT_EQ(out.rows[0].line, kPm + " 3%: 6.62 - 7.03 Kbps (b10)");
}

} // namespace
} // namespace tarvelle::bandwidth
