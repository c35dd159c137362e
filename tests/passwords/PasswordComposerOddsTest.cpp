// The system source's passwords have the odds of the plain draw order: the shuffle, which moves classes and
// leaves the characters to be drawn when read, must give each arrangement exactly the weight of the
// step-by-step swaps (which is not uniform), and the counts must be those of drawing until the length fits.
#include "ChiSquare.h"
#include "FakePlatform.h"
#include "LetterPairs.h"
#include "PasswordComposer.h"
#include "RowName.h"
#include "SettingsFor.h"
#include "ShuffleOdds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::ExpectOdds;
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

/// The odds of each arrangement of classes after the shuffle, classBySlot[s] being the class of slot s: every
/// i swaps with any of the n places, all n^n draw sequences equally likely.
std::map<std::vector<int>, double> ShuffleOdds(const std::vector<int>& classBySlot)
{
    const auto n = static_cast<int>(classBySlot.size());
    std::map<std::vector<int>, double> odds;
    const auto sequences = static_cast<int>(std::pow(n, n));
    for (int sequence = 0; sequence < sequences; ++sequence) {
        std::vector<int> order = classBySlot;
        int digits = sequence;
        for (int i = 0; i < n; ++i, digits /= n)
            std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(digits % n)]);
        odds[order] += 1.0 / sequences;
    }
    return odds;
}

/// The classes of a password's characters, in order.
std::vector<int> ClassesOf(const std::string& password)
{
    std::vector<int> classes;
    for (const char ch : password)
        classes.push_back(ClassOf(ch));
    return classes;
}

/// The four count ranges in the settings' order: upper, lower, digit, Other.
using Ranges = std::array<CountRange, 4>;

/// The letters of the two letter classes.
struct Letters
{
    const char* upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const char* lower = "abcdefghijklmnopqrstuvwxyz";
};

/// `count` passwords of the mode (0 unless given) from the system source, with the given ranges, Other set,
/// length range and letters.
std::vector<std::string> SystemPasswords(const Ranges& ranges, const char* otherCharacters, int32_t minLength,
                                         int32_t maxLength, int count, int32_t mode = kModeRandom, Letters letters = {})
{
    TPasswordSettings settings = test::With(test::Settings(mode, count), ranges[0], ranges[1], ranges[2], ranges[3],
                                            otherCharacters, minLength, maxLength);
    settings.UpperCharacters = letters.upper;
    settings.LowerCharacters = letters.lower;
    SystemRandom random;
    test::FakePlatform platform;
    const TStringListComp pairs(LetterPairList());
    std::vector<std::string> out;
    EXPECT_EQ(ComposePasswords(settings, random, platform, pairs, out), ComposeEnd::Filled);
    return out;
}

/// Ranges that fix each class's count; the classes of the slots before the shuffle, in order.
std::vector<int> FixCounts(const std::vector<int>& counts, Ranges& ranges)
{
    std::vector<int> classBySlot;
    for (size_t run = 0; run < 4; ++run) {
        ranges[run] = {counts[run], counts[run]};
        classBySlot.insert(classBySlot.end(), static_cast<size_t>(counts[run]), static_cast<int>(run));
    }
    return classBySlot;
}

struct OddsCase
{
    const char* name;
    std::vector<int> counts; // fixed count of each class: upper, lower, digit, Other
    int passwords;
};

class SystemShuffleOdds : public testing::TestWithParam<OddsCase>
{ };

TEST_P(SystemShuffleOdds, MatchTheStepByStepSwaps)
{
    const OddsCase& c = GetParam();
    Ranges ranges;
    const std::vector<int> classBySlot = FixCounts(c.counts, ranges);
    const auto length = static_cast<int32_t>(classBySlot.size());
    std::map<std::vector<int>, int> seen;
    for (const std::string& p : SystemPasswords(ranges, "#", length, length, c.passwords))
        ++seen[ClassesOf(p)];
    ExpectOdds(seen, ShuffleOdds(classBySlot), c.passwords);
}

// Three places: 27 equally likely swap sequences; four: 256. With several characters in a class, arrangements
// that differ only by which of its slots went where count as one.
INSTANTIATE_TEST_SUITE_P(Lengths, SystemShuffleOdds,
                         testing::Values(OddsCase {"ThreePlaces", {1, 1, 1, 0}, 30000},
                                         OddsCase {"FourPlaces", {1, 1, 1, 1}, 40000},
                                         OddsCase {"TwoUpperTwoLowerOneDigit", {2, 2, 1, 0}, 30000},
                                         OddsCase {"ThreeLowerTwoOther", {0, 3, 0, 2}, 30000}),
                         test::RowName());

struct CountOddsCase
{
    const char* name;
    Ranges ranges;
    const char* otherCharacters;
    int32_t minLength;
    int32_t maxLength;
    int passwords;
};

class SystemCountOdds : public testing::TestWithParam<CountOddsCase>
{ };

TEST_P(SystemCountOdds, EveryCombinationThatFitsIsEquallyLikely)
{
    // Drawing counts until their length fits leaves every fitting combination equally likely, whether the
    // combinations that do not fit are drawn and dropped or never drawn.
    const CountOddsCase& c = GetParam();
    const std::vector<std::string> out
        = SystemPasswords(c.ranges, c.otherCharacters, c.minLength, c.maxLength, c.passwords);
    std::map<std::vector<int>, double> odds;
    std::vector<int> counts(4);
    for (counts[0] = c.ranges[0].Min; counts[0] <= c.ranges[0].Max; ++counts[0]) {
        for (counts[1] = c.ranges[1].Min; counts[1] <= c.ranges[1].Max; ++counts[1]) {
            for (counts[2] = c.ranges[2].Min; counts[2] <= c.ranges[2].Max; ++counts[2]) {
                for (counts[3] = c.ranges[3].Min; counts[3] <= c.ranges[3].Max; ++counts[3]) {
                    const int length = counts[0] + counts[1] + counts[2] + counts[3];
                    if (length >= c.minLength && length <= c.maxLength)
                        odds[counts] = 1;
                }
            }
        }
    }
    for (auto& [combination, p] : odds)
        p = 1.0 / static_cast<double>(odds.size());
    std::map<std::vector<int>, int> seen;
    for (const std::string& p : out) {
        std::vector<int> perClass(4);
        for (const int run : ClassesOf(p))
            ++perClass[static_cast<size_t>(run)];
        ++seen[perClass];
    }
    ExpectOdds(seen, odds, c.passwords);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, SystemCountOdds,
    testing::Values(CountOddsCase {"LengthCutsBothEnds", {{{0, 3}, {0, 3}, {0, 0}, {0, 0}}}, "", 2, 3, 14000},
                    CountOddsCase {"EveryClass", {{{1, 2}, {0, 3}, {0, 2}, {0, 1}}}, "#", 4, 5, 20000},
                    CountOddsCase {"EverythingFits", {{{0, 1}, {0, 1}, {0, 1}, {0, 1}}}, "#", 0, 4, 16000},
                    // 4096 combinations of up to 28 slots: too many slots to list, so drawn count by count.
                    CountOddsCase {"TooManyToList", {{{0, 7}, {0, 7}, {0, 7}, {0, 7}}}, "#", 26, 28, 15000}),
    test::RowName());

struct CharacterOddsCase
{
    const char* name;
    Ranges ranges; // two characters in all
    const char* otherCharacters;
    int passwords;
};

class SystemCharacterOdds : public testing::TestWithParam<CharacterOddsCase>
{ };

TEST_P(SystemCharacterOdds, EveryPasswordOfTheClassesIsEquallyLikely)
{
    // Two characters in a fixed length, each drawn only when read: every pair of characters must be as likely
    // as any other, across classes and with multi-byte characters too.
    const CharacterOddsCase& c = GetParam();
    const std::vector<std::string> out = SystemPasswords(c.ranges, c.otherCharacters, 2, 2, c.passwords);
    // Every password the settings allow, each with the same odds.
    const std::vector<std::string> sets[] = {{},
                                             SplitCharacters("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                                             SplitCharacters("abcdefghijklmnopqrstuvwxyz"),
                                             SplitCharacters("0123456789"),
                                             SplitCharacters(c.otherCharacters)};
    std::vector<const std::vector<std::string>*> classes;
    for (size_t run = 0; run < 4; ++run) {
        for (int32_t k = 0; k < c.ranges[run].Min; ++k)
            classes.push_back(&sets[run + 1]);
    }
    ASSERT_EQ(classes.size(), 2u);
    std::map<std::vector<int>, double> odds;
    std::vector<std::string> spelled;
    for (int swapped = 0; swapped < 2; ++swapped) {
        const auto& first = *classes[static_cast<size_t>(swapped)];
        const auto& second = *classes[static_cast<size_t>(1 - swapped)];
        for (const std::string& a : first) {
            for (const std::string& b : second)
                spelled.push_back(a + b);
        }
    }
    std::sort(spelled.begin(), spelled.end());
    spelled.erase(std::unique(spelled.begin(), spelled.end()), spelled.end());
    for (size_t i = 0; i < spelled.size(); ++i)
        odds[{static_cast<int>(i)}] = 1.0 / static_cast<double>(spelled.size());
    std::map<std::vector<int>, int> seen;
    for (const std::string& p : out) {
        const auto found = std::lower_bound(spelled.begin(), spelled.end(), p);
        ASSERT_TRUE(found != spelled.end() && *found == p) << "a password the settings cannot give: " << p;
        ++seen[{static_cast<int>(found - spelled.begin())}];
    }
    ExpectOdds(seen, odds, c.passwords);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, SystemCharacterOdds,
    testing::Values(CharacterOddsCase {"TwoLowercase", {{{0, 0}, {2, 2}, {0, 0}, {0, 0}}}, "", 68000},
                    CharacterOddsCase {"UppercaseAndDigit", {{{1, 1}, {0, 0}, {1, 1}, {0, 0}}}, "", 52000},
                    CharacterOddsCase {
                        "TwoOfThreeMultiByte", {{{0, 0}, {0, 0}, {0, 0}, {2, 2}}}, "\xC3\xA9\xE2\x82\xAC#", 9000}),
    test::RowName());

/// A password's shape: each place's class (ClassOf), plus 4 for a vowel.
std::vector<int> ShapeOf(const std::string& password)
{
    std::vector<int> shape = ClassesOf(password);
    for (size_t j = 0; j < password.size(); ++j)
        shape[j] += std::string_view("AEIOUaeiou").find(password[j]) != std::string_view::npos ? 4 : 0;
    return shape;
}

/// The odds of the shapes of the passwords a mode keeps: every arrangement weighed as the swaps give it, every
/// filling of its letters from their classes' sets equally likely, kept by the pair test run on the spelled text.
/// The Other set is "#".
std::map<std::vector<int>, double> KeptShapeOdds(const std::vector<int>& classBySlot, int32_t mode, Letters letters)
{
    const std::string_view sets[] = {letters.upper, letters.lower};
    const TStringListComp pairs(LetterPairList());
    const PairRule rule = mode == kModeEasilyPronounced ? PairRule::Strict : PairRule::SameKind;
    std::map<std::vector<int>, double> odds;
    double kept = 0;
    for (const auto& [order, weight] : ShuffleOdds(classBySlot)) {
        std::string text;
        for (const int run : order)
            text += "A 0#"[run];
        int fillings = 1;
        for (const int run : order)
            fillings *= run < 2 ? static_cast<int>(sets[run].size()) : 1;
        for (int filling = 0; filling < fillings; ++filling) {
            int digits = filling;
            for (size_t j = 0; j < order.size(); ++j) {
                if (order[j] < 2) {
                    const std::string_view set = sets[order[j]];
                    text[j] = set[static_cast<size_t>(digits) % set.size()];
                    digits /= static_cast<int>(set.size());
                }
            }
            if (PassesPairTest(text, rule, pairs) != (mode == kModeUnpronounceable)) {
                odds[ShapeOf(text)] += weight / fillings;
                kept += weight / fillings;
            }
        }
    }
    for (auto& [shape, p] : odds)
        p /= kept;
    return odds;
}

struct KeptOddsCase
{
    const char* name;
    std::vector<int> counts; // fixed count of each class: upper, lower, digit, Other
    int32_t mode;
    int passwords;
    Letters letters = {};
};

class SystemKeptOdds : public testing::TestWithParam<KeptOddsCase>
{ };

TEST_P(SystemKeptOdds, MatchThePairTestOnEveryArrangement)
{
    // The letters are tested before the shuffle, and a candidate whose letters fail wherever its digits and
    // Other characters stand is dropped unshuffled; what is kept must still have the odds of shuffling, drawing
    // and testing every candidate in full.
    const KeptOddsCase& c = GetParam();
    Ranges ranges;
    const std::vector<int> classBySlot = FixCounts(c.counts, ranges);
    const auto length = static_cast<int32_t>(classBySlot.size());
    const TStringListComp pairs(LetterPairList());
    const PairRule rule = c.mode == kModeEasilyPronounced ? PairRule::Strict : PairRule::SameKind;
    std::map<std::vector<int>, int> seen;
    for (const std::string& p : SystemPasswords(ranges, "#", length, length, c.passwords, c.mode, c.letters)) {
        ++seen[ShapeOf(p)];
        ASSERT_NE(PassesPairTest(p, rule, pairs), c.mode == kModeUnpronounceable) << p;
    }
    ExpectOdds(seen, KeptShapeOdds(classBySlot, c.mode, c.letters), c.passwords);
}

// Three vowels in a row fail either rule unless a digit or an Other character stands between them, and the
// rule of letters of a kind looks up no pair across one. With the look-alikes left out, the two letter classes
// hold different letters (no I or O in upper case), so the letters cannot be tested before the shuffle.
INSTANTIATE_TEST_SUITE_P(
    Modes, SystemKeptOdds,
    testing::Values(KeptOddsCase {"EasyLettersOnly", {2, 2, 0, 0}, kModeEasilyPronounced, 20000},
                    KeptOddsCase {"EasyOneDigit", {1, 2, 1, 0}, kModeEasilyPronounced, 20000},
                    KeptOddsCase {"EasyDigitAndOther", {1, 2, 1, 1}, kModeEasilyPronounced, 40000},
                    KeptOddsCase {"PronounceableOneDigit", {1, 2, 1, 0}, kModePronounceable, 20000},
                    KeptOddsCase {"PronounceableDigitAndOther", {1, 2, 1, 1}, kModePronounceable, 40000},
                    KeptOddsCase {"UnpronounceableOneDigit", {1, 2, 1, 0}, kModeUnpronounceable, 20000},
                    KeptOddsCase {"EasyWithoutLookAlikes",
                                  {2, 1, 1, 0},
                                  kModeEasilyPronounced,
                                  20000,
                                  {"ACEFHJKLMNPRTUVWXY", "abcdefghijkmnopqrstuvwxyz"}},
                    KeptOddsCase {"UnpronounceableWithoutLookAlikes",
                                  {1, 2, 1, 0},
                                  kModeUnpronounceable,
                                  20000,
                                  {"ACEFHJKLMNPRTUVWXY", "abcdefghijkmnopqrstuvwxyz"}}),
    test::RowName());

/// Bytes the system source has fetched through CountingGetRandom.
size_t bytesFetched = 0;

ssize_t CountingGetRandom(void* buffer, size_t length, unsigned flags)
{
    const ssize_t got = getrandom(buffer, length, flags);
    bytesFetched += got > 0 ? static_cast<size_t>(got) : 0;
    return got;
}

TEST(SystemDraws, EveryCharacterAndSwapTakesBytesOfItsOwn)
{
    // Twelve lowercase letters: one combination of counts, which takes no draw, then twelve swaps and twelve
    // characters of at least a byte each. Mode 3 keeps the candidates whose letters fail, mostly after a few
    // codes; the letters after that need codes of their own all the same.
    constexpr int kPasswords = 500;
    for (const int32_t mode : {kModeRandom, kModeUnpronounceable}) {
        bytesFetched = 0;
        const TPasswordSettings settings
            = test::With(test::Settings(mode, kPasswords), {0, 0}, {12, 12}, {0, 0}, {0, 0}, "", 12, 12);
        SystemRandom random(&CountingGetRandom);
        test::FakePlatform platform;
        std::vector<std::string> out;
        ASSERT_EQ(ComposePasswords(settings, random, platform, TStringListComp(LetterPairList()), out),
                  ComposeEnd::Filled);
        EXPECT_GE(bytesFetched, size_t {kPasswords} * 24) << "mode " << mode;
    }
}

struct ChainCase
{
    const char* name;
    std::vector<int> start; // the label of each place before the shuffle
};

class ShuffleChain : public testing::TestWithParam<ChainCase>
{ };

// The chain that strength sums rest on against every swap sequence, on both of its walks: on bits for two
// labels (in either order, a label split in two runs), and the general one (one place of a label, more labels).
TEST_P(ShuffleChain, GivesEachArrangementTheOddsOfEverySwapSequence)
{
    const std::vector<int>& start = GetParam().start;
    std::map<uint64_t, double> expected;
    for (const auto& [order, odds] : ShuffleOdds(start))
        expected[ArrangementCode(std::vector<uint8_t>(order.begin(), order.end()))] += odds;
    std::map<uint64_t, double> chain;
    for (const Arrangement& a : ShuffledArrangements(std::vector<uint8_t>(start.begin(), start.end())))
        chain[a.code] += a.odds;
    ASSERT_EQ(chain.size(), expected.size());
    for (const auto& [code, odds] : expected)
        EXPECT_NEAR(chain[code], odds, 1e-12) << "arrangement " << code;
}

INSTANTIATE_TEST_SUITE_P(Shuffle, ShuffleChain,
                         testing::Values(ChainCase {"TwoLabelsTwoFirst", {1, 1, 0, 0, 0, 0, 0}},
                                         ChainCase {"TwoLabelsHalfAndHalf", {0, 0, 0, 2, 2, 2, 2}},
                                         ChainCase {"TwoLabelsTwoLast", {3, 3, 3, 3, 3, 1, 1}},
                                         ChainCase {"ALabelInTwoRuns", {0, 0, 1, 1, 0, 0, 0}},
                                         ChainCase {"OneOfALabel", {0, 1, 1, 1, 1, 1, 1}},
                                         ChainCase {"ThreeLabels", {0, 0, 1, 1, 2, 2}},
                                         ChainCase {"FourLabels", {0, 1, 1, 2, 3, 3}}),
                         test::RowName());

// The bounds that stand in for the chain on long candidates hold every arrangement's odds, from two unlike
// starts, and stay within a bit of the likeliest and two of the least likely.
TEST(ShuffleBounds, HoldTheChainsOddsOfEveryArrangement)
{
    for (size_t length = 2; length <= 14; ++length) {
        for (size_t ones = 1; ones < length; ++ones) {
            std::vector<uint8_t> first(length, 0);
            std::vector<uint8_t> spread(length, 0);
            for (size_t n = 0; n < ones; ++n) {
                first[n] = 1;
                spread[n * length / ones] = 1;
            }
            for (const auto& start : {first, spread}) {
                double budget = 1e9;
                const std::optional<OddsBounds> bounds = TwoLabelOddsBounds(start, budget);
                ASSERT_TRUE(bounds);
                double most = 0;
                double least = 1;
                for (const Arrangement& a : ShuffledArrangements(start)) {
                    most = std::max(most, a.odds);
                    least = std::min(least, a.odds);
                }
                const std::string at
                    = std::to_string(ones) + " of " + std::to_string(length) + (start == first ? " first" : " spread");
                EXPECT_LE(std::log2(most), bounds->log2Most + 1e-9) << at;
                EXPECT_GE(std::log2(least), bounds->log2Least - 1e-9) << at;
                EXPECT_LT(bounds->log2Most, std::log2(most) + 1) << at;
                EXPECT_GT(bounds->log2Least, std::log2(least) - 2) << at;
            }
        }
    }
}

TEST(SystemShuffle, LongPasswordsStillMix)
{
    // Twenty places, too many to weigh every arrangement: each place must still take either class.
    const std::vector<std::string> out = SystemPasswords({{{10, 10}, {10, 10}, {0, 0}, {0, 0}}}, "", 20, 20, 200);
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
