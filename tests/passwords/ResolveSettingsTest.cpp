#include "ResolveSettings.h"
#include "FakePlatform.h"
#include "LetterPairs.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

struct ResolveCase
{
    const char* name;
    AskedSettings asked;
    std::vector<CountRange> classes; // upper, lower, numeric, other as resolved
    const char* otherCharacters;
    CountRange length;
};

class Resolve : public testing::TestWithParam<ResolveCase>
{ };

/// A seeded run of mode random: every candidate the length test lets through is listed.
std::vector<std::string> SeededRun(TPasswordSettings settings, ComposeEnd& end)
{
    settings.Mode = kModeRandom;
    settings.Count = 30;
    test::FakePlatform platform;
    platform.tickStep = 100; // a run that can make nothing gives up
    LcgRandom random(2024);
    std::vector<std::string> out;
    end = ComposePasswords(settings, random, platform, test::Pairs(), out);
    return out;
}

TEST_P(Resolve, GivesTheRunsSettings)
{
    const ResolveCase& c = GetParam();
    const TPasswordSettings s = ResolveSettings(c.asked);
    const CountRange classes[] = {s.Upper, s.Lower, s.Numeric, s.Other};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(classes[k].Min, c.classes[k].Min) << "class " << k;
        EXPECT_EQ(classes[k].Max, c.classes[k].Max) << "class " << k;
    }
    EXPECT_EQ(s.OtherCharacters, c.otherCharacters);
    EXPECT_EQ(s.MinLength, c.length.Min);
    EXPECT_EQ(s.MaxLength, c.length.Max);
    EXPECT_EQ(s.Mode, c.asked.Mode);
    EXPECT_EQ(s.Count, c.asked.Count);
    EXPECT_EQ(s.UpperCharacters, TPasswordSettings {}.UpperCharacters);

    // The length range narrowed to what the counts can add up to changes no password.
    TPasswordSettings asAsked = s;
    asAsked.MinLength = c.asked.Length.Min;
    asAsked.MaxLength = std::max(c.asked.Length.Max, c.asked.Length.Min);
    ComposeEnd resolvedEnd {};
    ComposeEnd askedEnd {};
    EXPECT_EQ(SeededRun(s, resolvedEnd), SeededRun(asAsked, askedEnd));
    EXPECT_EQ(resolvedEnd, askedEnd);
}

AskedSettings Ask(std::optional<CountRange> upper, std::optional<CountRange> lower, std::optional<CountRange> numeric,
                  std::optional<CountRange> other, CountRange length)
{
    AskedSettings a;
    a.Upper = upper;
    a.Lower = lower;
    a.Numeric = numeric;
    a.Other = other;
    a.Length = length;
    return a;
}

constexpr auto kOff = std::nullopt;

std::optional<CountRange> On(int32_t min, int32_t max)
{
    return CountRange {min, max};
}

const ResolveCase kResolveCases[] = {
    {"PageStartValues", {}, {{1, 4}, {1, 8}, {0, 1}, {0, 1}}, "!@#$%^*", {8, 12}},
    {"ClassesOffCountNothing", Ask(kOff, On(2, 9), kOff, kOff, {3, 9}), {{0, 0}, {2, 9}, {0, 0}, {0, 0}}, "", {3, 9}},
    {"OtherOnAtZeroKeepsItsCharacters",
     [] {
         AskedSettings a = Ask(On(1, 4), On(1, 8), On(0, 1), On(0, 0), {8, 12});
         a.OtherCharacters = "+";
         return a;
     }(),
     {{1, 4}, {1, 8}, {0, 1}, {0, 0}},
     "+",
     {8, 12}},
    {"MaximumBelowMinimumRaised",
     Ask(On(5, 2), On(3, 1), On(0, 1), kOff, {8, 12}),
     {{5, 5}, {3, 3}, {0, 1}, {0, 0}},
     "",
     {8, 9}},
    {"LengthMaximumBelowMinimumRaised",
     Ask(On(1, 4), On(1, 8), On(0, 1), On(0, 1), {10, 6}),
     {{1, 4}, {1, 8}, {0, 1}, {0, 1}},
     "!@#$%^*",
     {10, 10}},
    {"LengthCutToTheClassMaxima",
     Ask(kOff, On(1, 8), On(0, 1), On(0, 1), {8, 12}),
     {{0, 0}, {1, 8}, {0, 1}, {0, 1}},
     "!@#$%^*",
     {8, 10}},
    {"LengthRaisedToTheClassMinima",
     Ask(On(5, 6), On(5, 8), On(0, 1), kOff, {8, 12}),
     {{5, 6}, {5, 8}, {0, 1}, {0, 0}},
     "",
     {10, 12}},
    {"NoSumFitsLeavesTheLengthAsAsked",
     Ask(On(1, 2), kOff, kOff, kOff, {8, 12}),
     {{1, 2}, {0, 0}, {0, 0}, {0, 0}},
     "",
     {8, 12}},
};

INSTANTIATE_TEST_SUITE_P(Asked, Resolve, testing::ValuesIn(kResolveCases), test::RowName());

} // namespace
} // namespace tarvelle
