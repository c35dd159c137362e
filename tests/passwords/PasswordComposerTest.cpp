#include "PasswordComposer.h"
#include "FakePlatform.h"
#include "LetterPairs.h"
#include "ReferenceComposer.h"
#include "RowName.h"
#include "SettingsFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

using test::Pairs;
using test::ReferenceResult;
using test::ReferenceRun;
using test::Settings;
using test::With;

TEST(SplitCharacters, KeepsUtf8SequencesWholeAndStrayBytesSingle)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCharacters("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              (V {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}));
    EXPECT_EQ(SplitCharacters("\xFF!"), (V {"\xFF", "!"}));
    EXPECT_EQ(SplitCharacters("\xE2\x82"), (V {"\xE2", "\x82"})); // cut short
    EXPECT_EQ(SplitCharacters("\xC0\xAF"), (V {"\xC0", "\xAF"})); // overlong '/'
    EXPECT_EQ(SplitCharacters("\xED\xA0\x80"), (V {"\xED", "\xA0", "\x80"})); // a surrogate
    EXPECT_EQ(SplitCharacters(""), V {});
}

/// Hands the draws of an LcgRandom through the plain interface, so the composer cannot tell its type.
class ForwardingRandom : public RandomSource
{
public:
    explicit ForwardingRandom(uint32_t seed) : inner(seed) { }
    uint32_t RandomBelow(uint32_t n) override
    {
        requested.push_back(n);
        return inner.RandomBelow(n);
    }

    LcgRandom inner;
    std::vector<uint32_t> requested;
};

struct ComposeCase
{
    const char* name;
    TPasswordSettings settings;
    uint32_t seed;
};

class ComposeAgainstReference : public testing::TestWithParam<ComposeCase>
{ };

TEST_P(ComposeAgainstReference, SamePasswordsEndAndSeed)
{
    const ComposeCase& c = GetParam();
    const ReferenceResult expected = ReferenceRun(c.settings, c.seed);

    test::FakePlatform platform;
    LcgRandom random(c.seed);
    std::vector<std::string> out;
    EXPECT_EQ(ComposePasswords(c.settings, random, platform, Pairs(), out), expected.end);
    EXPECT_EQ(out, expected.passwords);
    EXPECT_EQ(random.GeneratorSeed, expected.seed);

    ForwardingRandom forwarded(c.seed);
    std::vector<std::string> plainOut;
    EXPECT_EQ(ComposePasswords(c.settings, forwarded, platform, Pairs(), plainOut), expected.end);
    EXPECT_EQ(plainOut, expected.passwords);
    EXPECT_EQ(forwarded.inner.GeneratorSeed, expected.seed);
    EXPECT_TRUE(platform.messages.empty());
}

const ComposeCase kComposeCases[] = {
    {"DefaultsMode0", Settings(0, 25), 1},
    {"DefaultsMode1", Settings(1, 6), 2},
    {"DefaultsMode2", Settings(2, 25), 3},
    {"DefaultsMode3", Settings(3, 25), 4},
    {"LettersInOther", With(Settings(1, 6), {1, 3}, {1, 4}, {0, 1}, {1, 3}, "aeXk", 5, 9), 5},
    {"NonAsciiOther", With(Settings(0, 25), {0, 2}, {1, 2}, {0, 0}, {1, 3}, "\xC3\xA9\xE2\x82\xAC\xC3\x9F", 2, 6), 6},
    {"LongPasswords", With(Settings(2, 10), {0, 20}, {0, 20}, {0, 5}, {0, 5}, "!?", 20, 40), 7},
    {"MaximumBelowMinimum", With(Settings(0, 10), {3, 1}, {2, 5}, {0, 0}, {0, 0}, "", 5, 8), 8},
    {"CountsPastTheMaximumLength", With(Settings(0, 20), {0, 30}, {0, 0}, {0, 0}, {0, 0}, "", 1, 5), 9},
    {"NegativeCounts", With(Settings(0, 10), {-3, 2}, {1, 3}, {-2, -1}, {0, 0}, "", 1, 5), 10},
    {"EmptyOtherSetEndsTheRun", With(Settings(0, 50), {1, 2}, {1, 2}, {0, 0}, {0, 1}, "", 2, 5), 11},
    {"NothingAsked", Settings(1, 0), 12},
    {"EmptyPasswords", With(Settings(1, 3), {0, 0}, {0, 0}, {0, 0}, {0, 0}, "", 0, 3), 13},
    {"SmallerSets",
     [] {
         TPasswordSettings s = With(Settings(1, 8), {1, 3}, {2, 5}, {1, 2}, {0, 1}, "#", 6, 10);
         s.UpperCharacters = "ACEFHJKLMNPRTUVWXY";
         s.LowerCharacters = "abcdefghijkmnopqrstuvwxyz";
         s.NumericCharacters = "3479";
         return s;
     }(),
     14},
};

INSTANTIATE_TEST_SUITE_P(Rows, ComposeAgainstReference, testing::ValuesIn(kComposeCases), test::RowName());

// ---- Pinned passwords, worked out by hand and by a separate script from the rules ---------------------------

struct PinnedCase
{
    const char* name;
    TPasswordSettings settings;
    uint32_t seed;
    std::vector<std::string> passwords;
    uint32_t seedAfter;
};

class Pinned : public testing::TestWithParam<PinnedCase>
{ };

TEST_P(Pinned, GivesExactlyThesePasswords)
{
    const PinnedCase& c = GetParam();
    test::FakePlatform platform;
    LcgRandom random(c.seed);
    std::vector<std::string> out;
    EXPECT_EQ(ComposePasswords(c.settings, random, platform, Pairs(), out), ComposeEnd::Filled);
    EXPECT_EQ(out, c.passwords);
    EXPECT_EQ(random.GeneratorSeed, c.seedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, Pinned,
    testing::Values(
        // Six draws a candidate, the letter being the second: floor(26 x 134775814 / 2^32) = 0 gives A.
        PinnedCase {"OneUpperLetter",
                    With(Settings(0, 3), {1, 1}, {0, 0}, {0, 0}, {0, 0}, "", 1, 1),
                    0,
                    {"A", "E", "V"},
                    1580146294u},
        PinnedCase {"Mode1", Settings(1, 4), 1, {"FIAv6^aS", "raDA@7bue", "e#NeKEkU", "W9aGEw%iA"}, 3843456544u},
        PinnedCase {"Mode2", Settings(2, 4), 2, {"syO4t*my", "loQU0!QI", "EcuWru6pI", "ewr!4lEhE"}, 1462777185u},
        PinnedCase {"Mode3", Settings(3, 4), 3, {"wkpkgnNmu", "ivRWzm#ex", "nPqH^AKk0", "m0sFN$is"}, 1464053306u},
        PinnedCase {
            "Mode0", Settings(0, 4), 4, {"wZDTc%cvagb", "Su1ynGoi*Hr", "LQgEog!kCh", "r5eEyjvrqp"}, 3532678097u}),
    test::RowName());

// ---- The order of the draws and what the modes share ----------------------------------------------------------

TEST(ComposePasswords, DrawsInTheDocumentedOrder)
{
    ForwardingRandom random(77);
    test::FakePlatform platform;
    std::vector<std::string> out;
    ASSERT_EQ(ComposePasswords(Settings(0, 1), random, platform, Pairs(), out), ComposeEnd::Filled);
    // Replay the requests: per candidate each class's count then its characters, the shuffle when kept.
    LcgRandom replay(77);
    size_t at = 0;
    const auto next = [&](uint32_t n) {
        EXPECT_LT(at, random.requested.size());
        EXPECT_EQ(at < random.requested.size() ? random.requested[at] : 0u, n) << "request " << at;
        ++at;
        return replay.RandomBelow(n);
    };
    const uint32_t spans[4] = {4, 8, 2, 2};
    const uint32_t minimums[4] = {1, 1, 0, 0};
    const uint32_t setSizes[4] = {26, 26, 10, 7};
    for (int candidates = 0; candidates < 1000 && !testing::Test::HasFailure(); ++candidates) {
        uint32_t length = 0;
        for (int k = 0; k < 4; ++k) {
            const uint32_t count = next(spans[k]) + minimums[k];
            for (uint32_t i = 0; i < count; ++i)
                next(setSizes[k]);
            length += count;
        }
        if (length >= 8 && length <= 12) {
            for (uint32_t i = 0; i < length; ++i)
                next(length);
            break;
        }
    }
    EXPECT_EQ(at, random.requested.size());
}

TEST(ComposePasswords, Modes2And3SplitEveryCandidate)
{
    for (const uint32_t seed : {5u, 6u}) {
        // Mode 0 accepts every candidate that meets the length range, so it lists them all in order.
        test::FakePlatform platform;
        LcgRandom all(seed);
        std::vector<std::string> candidates;
        ComposePasswords(Settings(0, 300), all, platform, Pairs(), candidates);
        std::vector<std::string> pronounceable;
        std::vector<std::string> unpronounceable;
        for (const std::string& c : candidates)
            (PassesPairTest(c, PairRule::SameKind, Pairs()) ? pronounceable : unpronounceable).push_back(c);
        ASSERT_FALSE(pronounceable.empty());
        ASSERT_FALSE(unpronounceable.empty());

        std::vector<std::string> mode2;
        LcgRandom random2(seed);
        ComposePasswords(Settings(2, static_cast<int32_t>(pronounceable.size())), random2, platform, Pairs(), mode2);
        EXPECT_EQ(mode2, pronounceable);
        std::vector<std::string> mode3;
        LcgRandom random3(seed);
        ComposePasswords(Settings(3, static_cast<int32_t>(unpronounceable.size())), random3, platform, Pairs(), mode3);
        EXPECT_EQ(mode3, unpronounceable);
    }
}

TEST(ComposePasswords, UntickedOtherAndZeroToZeroGiveTheSamePasswords)
{
    TPasswordSettings unticked = Settings(1, 12);
    unticked.Other = {0, 0};
    unticked.OtherCharacters = "";
    TPasswordSettings zero = unticked;
    zero.OtherCharacters = "!@#$%^*";
    test::FakePlatform platform;
    LcgRandom first(31337);
    LcgRandom second(31337);
    std::vector<std::string> a;
    std::vector<std::string> b;
    ComposePasswords(unticked, first, platform, Pairs(), a);
    ComposePasswords(zero, second, platform, Pairs(), b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(first.GeneratorSeed, second.GeneratorSeed);
}

TEST(ComposePasswords, RefusesWhatItCannotRun)
{
    for (const int32_t mode : {-1, 4}) {
        test::FakePlatform platform;
        LcgRandom random(3);
        std::vector<std::string> out;
        EXPECT_EQ(ComposePasswords(Settings(mode, 5), random, platform, Pairs(), out), ComposeEnd::Unsupported);
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(random.GeneratorSeed, 3u);
    }
    TPasswordSettings tooLong = Settings(0, 5);
    tooLong.MaxLength = kMaxPasswordLength + 1;
    test::FakePlatform platform;
    LcgRandom random(3);
    std::vector<std::string> out;
    EXPECT_EQ(ComposePasswords(tooLong, random, platform, Pairs(), out), ComposeEnd::Unsupported);
}

// ---- How a run ends ----------------------------------------------------------------------------------------

/// A tick counter that reads the scripted values in turn, the last one again and again.
class ScriptedClock : public test::FakePlatform
{
public:
    std::vector<uint32_t> readings;
    size_t reads = 0;

    uint32_t tickCount() override { return readings[std::min(reads++, readings.size() - 1)]; }
};

struct TimeOutCase
{
    const char* name;
    std::vector<uint32_t> readings; // the start tick first
    size_t reads; // readings taken when the warning shows
};

class TimeOut : public testing::TestWithParam<TimeOutCase>
{ };

TEST_P(TimeOut, WarnsOnlyPastTwoSecondsAndEndsEmpty)
{
    // Only digits: every candidate meets the length range and passes the test, which mode 3 rejects.
    const TPasswordSettings digits = With(Settings(3, 9), {0, 0}, {0, 0}, {8, 12}, {0, 0}, "", 8, 12);
    ScriptedClock platform;
    platform.readings = GetParam().readings;
    LcgRandom random(1);
    std::vector<std::string> out {"left over"};
    out.clear();
    ComposeStats stats;
    EXPECT_EQ(ComposePasswords(digits, random, platform, Pairs(), out, &stats), ComposeEnd::TimedOut);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(platform.reads, GetParam().reads);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, "warning");
    EXPECT_EQ(platform.messages[0].title, "Warning");
    EXPECT_EQ(platform.messages[0].text, "The current combination of options does not produce any possible results.");
    EXPECT_EQ(stats.Rejected, stats.Candidates);
}

INSTANTIATE_TEST_SUITE_P(Clocks, TimeOut,
                         testing::Values(TimeOutCase {"ExactlyTwoSecondsIsNotMore", {0, 1000, 2000, 2001}, 4},
                                         TimeOutCase {"AcrossTheWrap", {0xFFFFFF00u, 0x00000700u}, 2},
                                         TimeOutCase {"AtTheWrap", {0xFFFFFFFFu, 0x000007CFu, 0x000007D0u}, 3}),
                         test::RowName());

/// Runs the settings once from the program's generator and once from the system's.
template <class Check> void FromEitherSource(Check&& check)
{
    {
        SCOPED_TRACE("program's generator");
        LcgRandom random(1);
        check(random);
    }
    {
        SCOPED_TRACE("system generator");
        SystemRandom random;
        check(random);
    }
}

TEST(ComposePasswords, LengthDropsCountTowardTheTimeOut)
{
    // At most two characters can never reach 8: without the rule the run would never end.
    const TPasswordSettings tooShort = With(Settings(0, 9), {1, 2}, {0, 0}, {0, 0}, {0, 0}, "", 8, 12);
    FromEitherSource([&](RandomSource& random) {
        test::FakePlatform platform;
        platform.tickStep = 7;
        std::vector<std::string> out;
        ComposeStats stats;
        EXPECT_EQ(ComposePasswords(tooShort, random, platform, Pairs(), out, &stats), ComposeEnd::TimedOut);
        EXPECT_TRUE(out.empty());
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, std::string(kTimeOutText));
        EXPECT_GT(stats.Candidates, 0u);
        EXPECT_EQ(stats.LengthDrops, stats.Candidates);
    });
}

TEST(ComposePasswords, TenSecondsEndTheRunWithWhatItHas)
{
    test::FakePlatform platform;
    platform.tickStep = 50;
    LcgRandom random(8);
    std::vector<std::string> out;
    EXPECT_EQ(ComposePasswords(Settings(2, 999), random, platform, Pairs(), out), ComposeEnd::TimeLimit);
    EXPECT_FALSE(out.empty());
    EXPECT_LT(out.size(), 999u);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_GT(platform.tick - 50u, 10000u);
}

TEST(ComposePasswords, AListFilledAsTheTimeRunsOutIsFilled)
{
    // Every candidate is accepted; the clock, read after each 64 of them, has passed ten seconds by then.
    const TPasswordSettings always = With(Settings(0, 64), {1, 1}, {0, 0}, {0, 0}, {0, 0}, "", 1, 1);
    test::FakePlatform platform;
    platform.tickStep = 20000;
    LcgRandom random(3);
    std::vector<std::string> out;
    EXPECT_EQ(ComposePasswords(always, random, platform, Pairs(), out), ComposeEnd::Filled);
    EXPECT_EQ(out.size(), 64u);
}

TEST(ComposePasswords, EmptyOtherSetEndsSilently)
{
    // Other characters are asked for from an empty set; with lengths 8 to 12 no combination of counts even
    // fits, and the run still ends at the first Other count above 0.
    for (const int32_t maxLength : {5, 12}) {
        const TPasswordSettings empty
            = With(Settings(0, 9), {1, 2}, {1, 2}, {0, 0}, {1, 1}, "", maxLength == 5 ? 3 : 8, maxLength);
        FromEitherSource([&](RandomSource& random) {
            test::FakePlatform platform;
            std::vector<std::string> out;
            EXPECT_EQ(ComposePasswords(empty, random, platform, Pairs(), out), ComposeEnd::NoOtherCharacters);
            EXPECT_TRUE(out.empty());
            EXPECT_TRUE(platform.messages.empty());
        });
    }
}

// ---- The system source ----------------------------------------------------------------------------------------

struct ModeRuleCase
{
    const char* name;
    int32_t mode;
};

class SystemSourceRuns : public testing::TestWithParam<ModeRuleCase>
{ };

TEST_P(SystemSourceRuns, KeepTheRulesOfTheDefaults)
{
    const int32_t mode = GetParam().mode;
    SystemRandom random;
    test::FakePlatform platform;
    std::vector<std::string> out;
    ASSERT_EQ(ComposePasswords(Settings(mode, 40), random, platform, Pairs(), out), ComposeEnd::Filled);
    ASSERT_EQ(out.size(), 40u);
    for (const std::string& p : out) {
        const auto count = [&](auto inClass) { return std::count_if(p.begin(), p.end(), inClass); };
        EXPECT_GE(p.size(), 8u);
        EXPECT_LE(p.size(), 12u);
        EXPECT_GE(count([](char c) { return c >= 'A' && c <= 'Z'; }), 1) << p;
        EXPECT_GE(count([](char c) { return c >= 'a' && c <= 'z'; }), 1) << p;
        EXPECT_LE(count([](char c) { return c >= '0' && c <= '9'; }), 1) << p;
        EXPECT_LE(count([](char c) { return std::string_view("!@#$%^*").find(c) != std::string_view::npos; }), 1);
        if (mode == 1) {
            EXPECT_TRUE(PassesPairTest(p, PairRule::Strict, Pairs())) << p;
        } else if (mode >= 2) {
            EXPECT_EQ(PassesPairTest(p, PairRule::SameKind, Pairs()), mode == 2) << p;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, SystemSourceRuns,
                         testing::Values(ModeRuleCase {"Random", 0}, ModeRuleCase {"EasilyPronounced", 1},
                                         ModeRuleCase {"Pronounceable", 2}, ModeRuleCase {"Unpronounceable", 3}),
                         test::RowName());

TEST(ComposePasswords, NonAsciiOtherCharactersAreDrawnWhole)
{
    const std::string e = "\xC3\xA9"; // e with acute accent
    const std::string euro = "\xE2\x82\xAC"; // euro sign
    const TPasswordSettings others
        = With(Settings(0, 200), {0, 0}, {0, 0}, {0, 0}, {3, 3}, "\xC3\xA9\xE2\x82\xAC", 3, 3);
    SystemRandom random;
    test::FakePlatform platform;
    std::vector<std::string> out;
    ASSERT_EQ(ComposePasswords(others, random, platform, Pairs(), out), ComposeEnd::Filled);
    int eSeen = 0;
    int euroSeen = 0;
    for (const std::string& p : out) {
        const std::vector<std::string> characters = SplitCharacters(p);
        ASSERT_EQ(characters.size(), 3u) << p;
        for (const std::string& c : characters) {
            EXPECT_TRUE(c == e || c == euro) << testing::PrintToString(c);
            eSeen += c == e;
            euroSeen += c == euro;
        }
    }
    EXPECT_GT(eSeen, 200);
    EXPECT_GT(euroSeen, 200);
}

} // namespace
} // namespace tarvelle
