// The strength of a setting against every sequence of draws of tiny settings, and its acceptance against the
// candidates of a long run.
#include "PasswordStrength.h"
#include "FakePlatform.h"
#include "LetterPairs.h"
#include "ReferenceComposer.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace tarvelle::test {
namespace {

using tarvelle::test::PrintTo;

/// Every sequence of draws in turn, as an odometer: a candidate replays the choices made so far and takes 0
/// for each draw past them; Next() moves to the following sequence. A sequence's odds are the product of 1/n.
class EveryDraw final : public RandomSource
{
public:
    uint32_t RandomBelow(uint32_t n) override
    {
        if (at_ == choices_.size())
            choices_.push_back({0, n});
        return choices_[at_++].value;
    }
    bool DrawsIndependently() const override { return true; }

    double Odds() const
    {
        double odds = 1;
        for (const Choice& c : choices_)
            odds /= std::max(c.n, 1u);
        return odds;
    }
    bool Next()
    {
        at_ = 0;
        while (!choices_.empty() && choices_.back().value + 1 >= choices_.back().n)
            choices_.pop_back();
        if (choices_.empty())
            return false;
        ++choices_.back().value;
        return true;
    }

private:
    struct Choice
    {
        uint32_t value;
        uint32_t n;
    };
    std::vector<Choice> choices_;
    size_t at_ = 0;
};

struct Truth
{
    double shannon = 0;
    double minEntropy = 0;
    double acceptance = 0;
};

/// The figures of the kept passwords, from every candidate the settings can draw.
Truth Enumerate(const TPasswordSettings& settings)
{
    std::map<std::string, double> kept;
    EveryDraw draws;
    do {
        if (const auto password = ReferenceCandidate(settings, draws))
            kept[*password] += draws.Odds();
    } while (draws.Next());
    Truth truth;
    double largest = 0;
    for (const auto& [password, p] : kept) {
        truth.acceptance += p;
        largest = std::max(largest, p);
    }
    for (const auto& [password, p] : kept)
        truth.shannon -= p / truth.acceptance * std::log2(p / truth.acceptance);
    truth.minEntropy = -std::log2(largest / truth.acceptance);
    return truth;
}

TPasswordSettings Tiny(const char* upper, CountRange u, const char* lower, CountRange l, const char* digits,
                       CountRange d, const char* other, CountRange o, int32_t minLength, int32_t maxLength,
                       int32_t mode)
{
    return {.Upper = u,
            .Lower = l,
            .Numeric = d,
            .Other = o,
            .OtherCharacters = other,
            .UpperCharacters = upper,
            .LowerCharacters = lower,
            .NumericCharacters = digits,
            .MinLength = minLength,
            .MaxLength = maxLength,
            .Mode = mode};
}

struct TinyRow
{
    const char* name;
    TPasswordSettings settings;
};

// At most three characters a class and four a password, so that every draw can be listed.
const TinyRow kTiny[] = {
    {"RandomCasePairs", Tiny("AB", {0, 2}, "ab", {1, 2}, "", {0, 0}, "", {0, 0}, 1, 3, 0)},
    {"EasyEveryClass", Tiny("BO", {0, 1}, "aet", {0, 2}, "07", {0, 1}, "#", {0, 1}, 2, 4, 1)},
    {"EasyCasePairsAndSymbols", Tiny("ST", {0, 2}, "sta", {0, 1}, "1", {0, 1}, "-+", {0, 1}, 2, 4, 1)},
    {"PronounceableVowelRuns", Tiny("AIO", {0, 2}, "aio", {0, 2}, "5", {0, 1}, "", {0, 0}, 1, 4, 2)},
    {"UnpronounceableConsonants", Tiny("STR", {0, 2}, "str", {1, 2}, "", {0, 0}, "!", {0, 1}, 2, 4, 3)},
    {"OtherSharesALetter", Tiny("AB", {0, 1}, "ab", {0, 2}, "", {0, 0}, "a!", {0, 1}, 1, 4, 1)},
    {"OtherSharesADigit", Tiny("", {0, 0}, "e", {0, 1}, "01", {0, 2}, "1-", {0, 2}, 1, 4, 0)},
    {"OtherHoldsItsOwnLetter", Tiny("", {0, 0}, "ab", {0, 2}, "", {0, 0}, "x!", {1, 1}, 1, 3, 2)},
    {"OtherRepeatsACharacter", Tiny("A", {0, 1}, "b", {0, 2}, "", {0, 0}, "!!#", {0, 2}, 1, 4, 3)},
    {"OtherWideCharacters", Tiny("U", {0, 1}, "nx", {0, 2}, "", {0, 0}, "é€", {0, 1}, 2, 4, 1)},
    {"OneClassWithRepeats", Tiny("", {0, 0}, "", {0, 0}, "", {0, 0}, "e!!", {1, 3}, 1, 3, 2)},
    {"NegativeAndInvertedRanges", Tiny("AB", {-1, 1}, "ab", {2, 1}, "9", {0, 1}, "", {0, 0}, 2, 4, 2)},
};

class TinySettings : public testing::TestWithParam<TinyRow>
{ };

TEST_P(TinySettings, MatchEveryDrawExactly)
{
    const Truth truth = Enumerate(GetParam().settings);
    const PasswordStrength strength = MeasureStrength(GetParam().settings, Pairs());
    ASSERT_EQ(strength.End, StrengthEnd::Measured);
    EXPECT_TRUE(strength.Exact);
    EXPECT_NEAR(strength.ShannonLow, truth.shannon, 1e-9);
    EXPECT_NEAR(strength.ShannonHigh, truth.shannon, 1e-9);
    EXPECT_NEAR(strength.MinEntropyLow, truth.minEntropy, 1e-9);
    EXPECT_NEAR(strength.MinEntropyHigh, truth.minEntropy, 1e-9);
    EXPECT_NEAR(strength.Acceptance(), truth.acceptance, 1e-12);
}

// Whatever the work limit, a result that is not exact holds the true figures within its ranges. The limits
// step finely enough to meet each way of merging classes, spelling nothing out.
TEST_P(TinySettings, HoldTheTruthWithinTheirRangesAtAnyLimit)
{
    const Truth truth = Enumerate(GetParam().settings);
    for (double work = 0; work < 1e5; work = std::max(1.0, work * 1.15)) {
        const PasswordStrength s
            = MeasureStrength(GetParam().settings, Pairs(), {static_cast<uint64_t>(work), UINT64_MAX, 0});
        if (s.End == StrengthEnd::TooLarge)
            continue;
        ASSERT_EQ(s.End, StrengthEnd::Measured) << "work " << work;
        EXPECT_LE(s.ShannonLow, truth.shannon + 1e-9) << "work " << work;
        EXPECT_GE(s.ShannonHigh, truth.shannon - 1e-9) << "work " << work;
        EXPECT_LE(s.MinEntropyLow, truth.minEntropy + 1e-9) << "work " << work;
        EXPECT_GE(s.MinEntropyHigh, truth.minEntropy - 1e-9) << "work " << work;
        EXPECT_LE(s.AcceptanceLow, truth.acceptance + 1e-12) << "work " << work;
        EXPECT_GE(s.AcceptanceHigh, truth.acceptance - 1e-12) << "work " << work;
        EXPECT_EQ(s.BoundBits() < 1e-9, s.Exact) << "work " << work;
    }
}

INSTANTIATE_TEST_SUITE_P(Strength, TinySettings, testing::ValuesIn(kTiny), RowName());

// The merged and shared paths are taken, not only allowed: a limit below the exact sum's work gives a range.
TEST(PasswordStrength, ALowLimitGivesARangeThatStillHoldsTheTruth)
{
    const TPasswordSettings settings = kTiny[0].settings;
    const PasswordStrength s = MeasureStrength(settings, Pairs(), {0, 0, 0});
    ASSERT_EQ(s.End, StrengthEnd::Measured);
    EXPECT_FALSE(s.Exact);
    EXPECT_GT(s.BoundBits(), 0.1);
}

struct EndRow
{
    const char* name;
    TPasswordSettings settings;
    StrengthEnd end;
};

class SettingsWithoutFigures : public testing::TestWithParam<EndRow>
{ };

TEST_P(SettingsWithoutFigures, SayWhy)
{
    EXPECT_EQ(MeasureStrength(GetParam().settings, Pairs()).End, GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(
    Strength, SettingsWithoutFigures,
    testing::Values(
        // Every candidate is digits alone, which the pair test passes and mode 3 turns down.
        EndRow {"UnpronounceableDigits", Tiny("", {0, 0}, "", {0, 0}, "01", {1, 3}, "", {0, 0}, 1, 3, 3),
                StrengthEnd::NoPassword},
        EndRow {"NoCountFitsTheLength", Tiny("A", {0, 2}, "a", {0, 2}, "", {0, 0}, "", {0, 0}, 5, 6, 0),
                StrengthEnd::NoPassword},
        EndRow {"EmptyOtherSetDrawnFrom", Tiny("A", {1, 1}, "", {0, 0}, "", {0, 0}, "", {0, 1}, 1, 1, 0),
                StrengthEnd::NoCharacters},
        EndRow {"ModeOutsideTheList", Tiny("A", {1, 1}, "", {0, 0}, "", {0, 0}, "", {0, 0}, 1, 1, 4),
                StrengthEnd::Unsupported}),
    RowName());

struct RunRow
{
    const char* name;
    int32_t mode;
    TPasswordSettings settings = {}; // the page's defaults but for the mode
};

TPasswordSettings Longer(int32_t minLength, int32_t maxLength)
{
    TPasswordSettings settings;
    settings.Upper = {2, 8};
    settings.Lower = {6, 12};
    settings.Numeric = {1, 3};
    settings.Other = {1, 3};
    settings.MinLength = minLength;
    settings.MaxLength = maxLength;
    return settings;
}

class LongRun : public testing::TestWithParam<RunRow>
{ };

// About 100,000 candidates from the seeded generator, which draws every candidate the plain way (length drops
// included), stopping at the number of passwords the acceptance predicts for them.
TEST_P(LongRun, KeepsTheShareOfCandidatesTheAcceptanceSays)
{
    TPasswordSettings settings = GetParam().settings;
    settings.Mode = GetParam().mode;
    const PasswordStrength strength = MeasureStrength(settings, Pairs());
    settings.Count = static_cast<int32_t>(std::lround(std::max(1e5 * strength.Acceptance(), 20.0)));
    FakePlatform platform;
    LcgRandom random(20240611);
    std::vector<std::string> out;
    ComposeStats stats;
    ASSERT_EQ(ComposePasswords(settings, random, platform, Pairs(), out, &stats), ComposeEnd::Filled);
    // Candidates until the k-th kept one: mean k / p, standard deviation sqrt(k (1 - p)) / p, for p anywhere in
    // the acceptance's range.
    const double k = settings.Count;
    const auto z = [&](double p) {
        return (static_cast<double>(stats.Candidates) - k / p) / std::max(std::sqrt(k * (1 - p)) / p, 1.0);
    };
    EXPECT_GT(z(strength.AcceptanceHigh), -4.5) << stats.Candidates << " candidates for " << k << " passwords";
    EXPECT_LT(z(strength.AcceptanceLow), 4.5) << stats.Candidates << " candidates for " << k << " passwords";
}

INSTANTIATE_TEST_SUITE_P(Strength, LongRun,
                         testing::Values(RunRow {"Random", 0}, RunRow {"EasilyPronounced", 1},
                                         RunRow {"Pronounceable", 2}, RunRow {"Unpronounceable", 3},
                                         // Long enough for the chain on bits, with every class.
                                         RunRow {"PronounceableUpTo20", 2, Longer(16, 20)},
                                         RunRow {"UnpronounceableUpTo20", 3, Longer(16, 20)},
                                         // Beyond the chain: a range that holds whatever the shuffle's odds.
                                         RunRow {"UnpronounceableBeyondTheChain", 3, Longer(21, 24)}),
                         RowName());

struct BoundRow
{
    const char* name;
    TPasswordSettings settings;
};

class WithoutTheChain : public testing::TestWithParam<BoundRow>
{ };

// With no work allowed for the chain, the figures are ranges that must hold the exact ones; and so with less and
// less work for the pair test's table, down to the one that takes every letter label as one.
TEST_P(WithoutTheChain, RangesHoldTheExactFigures)
{
    const PasswordStrength exact = MeasureStrength(GetParam().settings, Pairs());
    ASSERT_TRUE(exact.Exact);
    for (double testWork = 1e7;; testWork /= 2) {
        const PasswordStrength bound
            = MeasureStrength(GetParam().settings, Pairs(), {0, static_cast<uint64_t>(testWork), 0});
        if (bound.End == StrengthEnd::TooLarge)
            break;
        ASSERT_EQ(bound.End, StrengthEnd::Measured);
        EXPECT_FALSE(bound.Exact);
        EXPECT_LE(bound.ShannonLow, exact.ShannonLow + 1e-9) << testWork;
        EXPECT_GE(bound.ShannonHigh, exact.ShannonHigh - 1e-9) << testWork;
        EXPECT_LE(bound.MinEntropyLow, exact.MinEntropyLow + 1e-9) << testWork;
        EXPECT_GE(bound.MinEntropyHigh, exact.MinEntropyHigh - 1e-9) << testWork;
        EXPECT_LE(bound.AcceptanceLow, exact.AcceptanceLow * (1 + 1e-12)) << testWork;
        EXPECT_GE(bound.AcceptanceHigh, exact.AcceptanceHigh * (1 - 1e-12)) << testWork;
        // Not merely true: the bottom keeps at least the bits of the characters of the shortest password.
        EXPECT_GT(bound.ShannonLow, 0.5 * exact.ShannonLow) << testWork;
    }
}

TPasswordSettings Defaults(int32_t mode, bool excludeSimilar = false, std::string other = "!@#$%^*")
{
    TPasswordSettings settings;
    settings.Mode = mode;
    settings.OtherCharacters = std::move(other);
    if (excludeSimilar) { // upper and lower case then spread unlike over the letters: two labels for the test
        settings.UpperCharacters = "ACEFHJKLMNPRTUVWXY";
        settings.LowerCharacters = "abcdefghijkmnopqrstuvwxyz";
    }
    return settings;
}

INSTANTIATE_TEST_SUITE_P(Strength, WithoutTheChain,
                         testing::Values(BoundRow {"EasilyPronounced", Defaults(1)},
                                         BoundRow {"Pronounceable", Defaults(2)},
                                         BoundRow {"Unpronounceable", Defaults(3)},
                                         BoundRow {"CaseSetsUnlike", Defaults(2, true)},
                                         BoundRow {"OtherWithALetterAndRepeats", Defaults(1, true, "l!!*")}),
                         RowName());

struct TipRow
{
    const char* name;
    PasswordStrength strength;
    const char* tip;
};

class Tip : public testing::TestWithParam<TipRow>
{ };

TEST_P(Tip, ReadsAsThePageShowsIt)
{
    EXPECT_EQ(StrengthTip(GetParam().strength), GetParam().tip);
}

INSTANTIATE_TEST_SUITE_P(
    Strength, Tip,
    testing::Values(TipRow {"Exact",
                            {StrengthEnd::Measured, 41.8316, 41.8316, 33.1049, 33.1049, 0.01, 0.01, true},
                            "Each password of these settings: 41.8 bits (the likeliest: 1 in 2^33.1)"},
                    TipRow {
                        "Range",
                        {StrengthEnd::Measured, 41.8316, 44.2, 30.0, 33.1049, 0.01, 0.01, false},
                        "Each password of these settings: 41.8 to 44.2 bits (the likeliest: 1 in 2^30.0 to 2^33.1)"},
                    TipRow {"NothingMeasured", {StrengthEnd::NoPassword}, ""}),
    RowName());

} // namespace
} // namespace tarvelle::test
