// The system source's passwords have the odds of the plain draw order: the shuffle, drawn in one read, must
// give each arrangement exactly the weight of the step-by-step swaps (which is not uniform).
#include "FakePlatform.h"
#include "LetterPairs.h"
#include "PasswordComposer.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

/// The class of one password character: 0 upper, 1 lower, 2 digit, 3 other.
int ClassOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return 0;
    if (c >= 'a' && c <= 'z')
        return 1;
    return c >= '0' && c <= '9' ? 2 : 3;
}

/// The odds of each arrangement of n one-character classes after the shuffle: every i swaps with any of the
/// n places, all n^n draw sequences equally likely.
std::map<std::vector<int>, double> ShuffleOdds(int n)
{
    std::map<std::vector<int>, double> odds;
    const auto sequences = static_cast<int>(std::pow(n, n));
    for (int sequence = 0; sequence < sequences; ++sequence) {
        std::vector<int> order(static_cast<size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        int digits = sequence;
        for (int i = 0; i < n; ++i, digits /= n)
            std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(digits % n)]);
        odds[order] += 1.0 / sequences;
    }
    return odds;
}

struct OddsCase
{
    const char* name;
    CountRange other; // one class per character: upper, lower, digit, and Other when this is 1
    int passwords;
};

class SystemShuffleOdds : public testing::TestWithParam<OddsCase>
{ };

TEST_P(SystemShuffleOdds, MatchTheStepByStepSwaps)
{
    const OddsCase& c = GetParam();
    TPasswordSettings settings;
    settings.Upper = {1, 1};
    settings.Lower = {1, 1};
    settings.Numeric = {1, 1};
    settings.Other = c.other;
    settings.OtherCharacters = "#";
    settings.MinLength = settings.MaxLength = 3 + c.other.Max;
    settings.Mode = kModeRandom;
    settings.Count = c.passwords;
    SystemRandom random;
    test::FakePlatform platform;
    const TStringListComp pairs(LetterPairList());
    std::vector<std::string> out;
    ASSERT_EQ(ComposePasswords(settings, random, platform, pairs, out), ComposeEnd::Filled);
    std::map<std::vector<int>, int> seen;
    for (const std::string& p : out) {
        std::vector<int> classes;
        for (const char ch : p)
            classes.push_back(ClassOf(ch));
        ++seen[classes];
    }
    // Chi-square against the exact odds; six deviations above its mean fail.
    const std::map<std::vector<int>, double> odds = ShuffleOdds(settings.MaxLength);
    double chiSquare = 0;
    for (const auto& [arrangement, p] : odds) {
        const double expected = p * c.passwords;
        const double d = seen[arrangement] - expected;
        chiSquare += d * d / expected;
    }
    EXPECT_EQ(seen.size(), odds.size()) << "an arrangement the swaps cannot give";
    const double freedom = static_cast<double>(odds.size()) - 1;
    EXPECT_LT(chiSquare, freedom + 6 * std::sqrt(2 * freedom));
}

// Three places: 27 sequences, a read that can be rejected; four: 256, an exact read of 8 bits.
INSTANTIATE_TEST_SUITE_P(Lengths, SystemShuffleOdds,
                         testing::Values(OddsCase {"ThreePlaces", {0, 0}, 30000},
                                         OddsCase {"FourPlaces", {1, 1}, 40000}),
                         test::RowName());

TEST(SystemShuffle, LongPasswordsDrawnOneByOneStillMix)
{
    // Twenty places are too many for one read; each swap is then drawn on its own.
    TPasswordSettings settings;
    settings.Upper = {10, 10};
    settings.Lower = {10, 10};
    settings.Numeric = {0, 0};
    settings.Other = {0, 0};
    settings.MinLength = settings.MaxLength = 20;
    settings.Mode = kModeRandom;
    settings.Count = 200;
    SystemRandom random;
    test::FakePlatform platform;
    const TStringListComp pairs(LetterPairList());
    std::vector<std::string> out;
    ASSERT_EQ(ComposePasswords(settings, random, platform, pairs, out), ComposeEnd::Filled);
    std::vector<int> upperAt(20);
    for (const std::string& p : out) {
        ASSERT_EQ(p.size(), 20u);
        EXPECT_EQ(std::count_if(p.begin(), p.end(), [](char ch) { return ClassOf(ch) == 0; }), 10) << p;
        for (size_t j = 0; j < p.size(); ++j)
            upperAt[j] += ClassOf(p[j]) == 0;
    }
    // Each place holds an uppercase letter in about half the passwords, never in all or none.
    for (const int count : upperAt) {
        EXPECT_GT(count, 40);
        EXPECT_LT(count, 160);
    }
}

} // namespace
} // namespace tarvelle
