#include "ChiSquare.h"
#include "CliRun.h"
#include "FakePlatform.h"
#include "PasswordComposer.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tarvelle::test {
namespace {

using nlohmann::json;

CliRun RunPasswords(cli::Args args, Platform* clock = nullptr, bool errIsTerminal = false)
{
    args.insert(args.begin(), "passwords");
    return RunTarvelleCli(args, "", clock, errIsTerminal);
}

// One composer run from the seed, without chunks or a clock that moves.
std::vector<std::string> Compose(const TPasswordSettings& settings, uint32_t seed)
{
    FakePlatform platform;
    LcgRandom random(seed);
    std::vector<std::string> out;
    EXPECT_EQ(ComposePasswords(settings, random, platform, TStringListComp(LetterPairList()), out), ComposeEnd::Filled);
    return out;
}

// ---- Seeded runs are the engine's --------------------------------------------------------------------------------

struct SeededCase
{
    const char* name;
    cli::Args args;
    TPasswordSettings settings;
};

TPasswordSettings Settings(CountRange upper, CountRange lower, CountRange numeric, CountRange other,
                           std::string otherCharacters, int32_t minLength, int32_t maxLength, int32_t mode,
                           int32_t count)
{
    return {.Upper = upper,
            .Lower = lower,
            .Numeric = numeric,
            .Other = other,
            .OtherCharacters = std::move(otherCharacters),
            .MinLength = minLength,
            .MaxLength = maxLength,
            .Mode = mode,
            .Count = count};
}

class SeededPasswords : public testing::TestWithParam<SeededCase>
{ };

TEST_P(SeededPasswords, AreTheComposersForThatSeed)
{
    for (const uint32_t seed : {0u, 1u, 77u, 4294967295u}) {
        cli::Args args = GetParam().args;
        args.insert(args.end(), {"--seed", std::to_string(seed)});
        const CliRun run = RunPasswords(args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Lines(run.out), Compose(GetParam().settings, seed)) << "seed " << seed;
        EXPECT_NE(run.err.find("not secret"), std::string::npos) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, SeededPasswords,
    testing::Values(
        SeededCase {"PageDefaults", {}, TPasswordSettings {}},
        SeededCase {"ModeNames",
                    {"--mode", "pronounceable", "--count", "20"},
                    Settings({1, 4}, {1, 8}, {0, 1}, {0, 1}, "!@#$%^*", 8, 12, 2, 20)},
        SeededCase {"EveryClassSet",
                    {"--count", "30", "--length", "10-20", "--upper", "2-3", "--lower", "4-9", "--digits", "1-2",
                     "--other", "1-1", "--other-chars", "+-", "--mode", "3"},
                    Settings({2, 3}, {4, 9}, {1, 2}, {1, 1}, "+-", 10, 20, 3, 30)},
        // An unticked class still costs a draw per candidate, like 0-0.
        SeededCase {"ClassesOff",
                    {"--upper", "off", "--other", "off", "--other-chars", "", "--mode", "0", "--count", "15"},
                    Settings({0, 0}, {1, 8}, {0, 1}, {0, 0}, "", 8, 12, 0, 15)},
        SeededCase {
            "SingleNumbers",
            {"--length", "5", "--upper", "5", "--lower", "0", "--digits", "0", "--other", "0", "--mode", "random"},
            Settings({5, 5}, {0, 0}, {0, 0}, {0, 0}, "!@#$%^*", 5, 5, 0, 9)},
        SeededCase {"RangesAbovePageStartLimits",
                    {"--length", "30-40", "--upper", "10-20", "--lower", "15-30", "--mode", "random", "--count", "3"},
                    Settings({10, 20}, {15, 30}, {0, 1}, {0, 1}, "!@#$%^*", 30, 40, 0, 3)},
        SeededCase {"ShortLengths",
                    {"--length", "1-3", "--upper", "0-1", "--lower", "0-2", "--mode", "unpronounceable"},
                    Settings({0, 1}, {0, 2}, {0, 1}, {0, 1}, "!@#$%^*", 1, 3, 3, 9)}),
    RowName());

TEST(PasswordsCommand, SeedGivesThePinnedPasswordsOfTheComposerTests)
{
    const CliRun run = RunPasswords({"--seed", "1", "--count", "4"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(Lines(run.out), (std::vector<std::string> {"FIAv6^aS", "raDA@7bue", "e#NeKEkU", "W9aGEw%iA"}));
}

TEST(PasswordsCommand, SameSeedSameOutputOtherSeedOtherOutput)
{
    const CliRun first = RunPasswords({"--seed", "31337", "--count", "50", "--mode", "2"});
    const CliRun again = RunPasswords({"--mode", "2", "--count", "50", "--seed", "31337"});
    const CliRun other = RunPasswords({"--seed", "31338", "--count", "50", "--mode", "2"});
    EXPECT_EQ(first.out, again.out);
    EXPECT_NE(first.out, other.out);
    EXPECT_EQ(Lines(first.out).size(), 50u);
}

// ---- Runs from the system's generator ------------------------------------------------------------------------

TEST(PasswordsCommand, SystemDrawsKeepEveryLimit)
{
    const CliRun run = RunPasswords({"--count", "200", "--length", "9-11", "--upper", "1-2", "--lower", "5-8",
                                     "--digits", "1-1", "--other", "0-1", "--other-chars", "\xC3\xA9", "--mode", "0"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 200u);
    std::set<std::string> distinct;
    for (const std::string& line : lines) {
        const auto count = [&](auto test) { return std::count_if(line.begin(), line.end(), test); };
        const auto accented = static_cast<long>(line.size()) - count([](char c) { return c > 0 && c < 0x7F; });
        const long characters = static_cast<long>(line.size()) - accented / 2;
        EXPECT_GE(characters, 9) << line;
        EXPECT_LE(characters, 11) << line;
        EXPECT_GE(count([](char c) { return c >= 'A' && c <= 'Z'; }), 1) << line;
        EXPECT_LE(count([](char c) { return c >= 'A' && c <= 'Z'; }), 2) << line;
        EXPECT_EQ(count([](char c) { return c >= '0' && c <= '9'; }), 1) << line;
        EXPECT_LE(accented, 2) << line;
        distinct.insert(line);
    }
    EXPECT_GT(distinct.size(), 190u);
}

TEST(PasswordsCommand, JsonHoldsThePasswordsAndTheCandidates)
{
    const CliRun run = RunPasswords({"--count", "25", "--other-chars", "\"\\", "--other", "1-2", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    ASSERT_EQ(Lines(run.out).size(), 1u);
    const json result = Json(run.out);
    EXPECT_EQ(Keys(result), (std::set<std::string> {"passwords", "candidates"}));
    ASSERT_EQ(result["passwords"].size(), 25u);
    for (const json& password : result["passwords"])
        EXPECT_NE(password.get<std::string>().find_first_of("\"\\"), std::string::npos) << password;
    EXPECT_GE(result["candidates"].get<uint64_t>(), 25u);
}

TEST(PasswordsCommand, SeededJsonListsThePlainPasswords)
{
    const CliRun plain = RunPasswords({"--seed", "5", "--count", "12"});
    const CliRun listed = RunPasswords({"--seed", "5", "--count", "12", "--json"});
    EXPECT_EQ(Json(listed.out)["passwords"].get<std::vector<std::string>>(), Lines(plain.out));
}

// ---- Long runs: chunks, the clock, progress ---------------------------------------------------------------------

TEST(PasswordsCommand, ChunksAndTheirClockChangeNothingSeeded)
{
    for (const int32_t mode : {0, 1, 2, 3}) {
        TPasswordSettings settings;
        settings.Mode = mode;
        settings.Count = 3000;
        // 40 ms a reading: several chunks, and the composer's own ten-second limit cuts some of them short.
        FakePlatform clock;
        clock.tickStep = 40;
        const CliRun run = RunPasswords({"-n", "3000", "--seed", "11", "--mode", std::to_string(mode)}, &clock);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Lines(run.out), Compose(settings, 11)) << "mode " << mode;
    }
}

TEST(PasswordsCommand, ProgressShowsOnATerminalOnly)
{
    FakePlatform clock;
    clock.tickStep = 100;
    const CliRun quiet = RunPasswords({"-n", "2000", "--seed", "2"}, &clock, false);
    clock.tick = 0;
    const CliRun shown = RunPasswords({"-n", "2000", "--seed", "2"}, &clock, true);
    EXPECT_EQ(shown.out, quiet.out);
    EXPECT_EQ(quiet.err.find('\r'), std::string::npos);
    EXPECT_NE(shown.err.find("\rtarvelle-cli passwords: "), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find(" of 2000 ("), std::string::npos) << shown.err;
    EXPECT_TRUE(shown.err.ends_with("\r")) << "the progress line is cleared at the end";
}

TEST(PasswordsCommand, NoPossiblePasswordGivesUpWithThePagesWarning)
{
    // Only digits in mode 3: every candidate can be pronounced (it has no letters), so none is ever accepted.
    FakePlatform clock;
    clock.tickStep = 100;
    const CliRun run = RunPasswords(
        {"--mode", "3", "--upper", "off", "--lower", "off", "--other", "off", "--digits", "8-12", "-j"}, &clock);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "tarvelle-cli passwords: The current combination of options does not produce any possible results.\n");
}

// The sets the look-alikes B 8 G 6 I 1 l 0 O Q D S 5 Z 2 | leave.
constexpr const char* kUpperWithoutSimilar = "ACEFHJKLMNPRTUVWXY";
constexpr const char* kLowerWithoutSimilar = "abcdefghijkmnopqrstuvwxyz";
constexpr const char* kDigitsWithoutSimilar = "3479";

TEST(PasswordsCommand, ExcludeSimilarDrawsFromTheSetsWithoutTheLookAlikes)
{
    const CliRun run = RunPasswords(
        {"-n", "300", "--seed", "8", "--digits", "1-3", "--other", "1", "--other-chars", "|!O", "--exclude-similar"});
    ASSERT_EQ(run.code, 0) << run.err;
    TPasswordSettings settings = Settings({1, 4}, {1, 8}, {1, 3}, {1, 1}, "!", 8, 12, 1, 300);
    settings.UpperCharacters = kUpperWithoutSimilar;
    settings.LowerCharacters = kLowerWithoutSimilar;
    settings.NumericCharacters = kDigitsWithoutSimilar;
    EXPECT_EQ(Lines(run.out), Compose(settings, 8));
}

TEST(PasswordsCommand, ExcludeSimilarKeepsTheClassCountsOdds)
{
    // In mode random every combination of class counts whose length fits is equally likely, the look-alikes
    // left out or not: brute force over the default ranges (upper 1-4, lower 1-8, digits 0-1, other 0-1, length
    // 8-12) gives the combinations, and 20,000 passwords of the system's draws are counted against them.
    constexpr int kPasswords = 20000;
    const CliRun run = RunPasswords({"-n", std::to_string(kPasswords), "--mode", "random", "--exclude-similar"});
    ASSERT_EQ(run.code, 0) << run.err;
    std::map<std::vector<int>, double> odds;
    for (int u = 1; u <= 4; ++u) {
        for (int l = 1; l <= 8; ++l) {
            for (int d = 0; d <= 1; ++d) {
                for (int o = 0; o <= 1; ++o) {
                    if (u + l + d + o >= 8 && u + l + d + o <= 12)
                        odds[{u, l, d, o}] = 1;
                }
            }
        }
    }
    for (auto& [counts, p] : odds)
        p = 1.0 / static_cast<double>(odds.size());
    const std::string sets[] = {kUpperWithoutSimilar, kLowerWithoutSimilar, kDigitsWithoutSimilar, "!@#$%^*"};
    std::map<std::vector<int>, int> seen;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), size_t {kPasswords});
    for (const std::string& line : lines) {
        std::vector<int> counts(4);
        for (const char c : line) {
            const auto inSet = [c](const std::string& set) { return set.find(c) != std::string::npos; };
            const auto found = std::find_if(std::begin(sets), std::end(sets), inSet);
            ASSERT_NE(found, std::end(sets)) << "a character of no class: " << line;
            ++counts[static_cast<size_t>(found - std::begin(sets))];
        }
        ++seen[counts];
    }
    ExpectOdds(seen, odds, kPasswords);
}

// ---- Bad usage -------------------------------------------------------------------------------------------------

class PasswordsBadUsage : public testing::TestWithParam<BadUsageCase>
{ };

TEST_P(PasswordsBadUsage, IsOneLineOnErrAndExitCode2)
{
    ExpectBadUsage("passwords", GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Args, PasswordsBadUsage,
    testing::Values(BadUsageCase {"CountZero", {"--count", "0"}, "--count \"0\""},
                    BadUsageCase {"OtherCharactersNotUtf8", {"--other-chars", "ab\xff"}, "not UTF-8"},
                    BadUsageCase {"OtherCharactersCutSequence", {"--other-chars", "\xe2\x82"}, "not UTF-8"},
                    BadUsageCase {"OtherCharactersLineEnds", {"--other-chars", "\n\r"}, "control character"},
                    BadUsageCase {"OtherCharactersDelete", {"--other-chars", "a\x7f"}, "control character"},
                    BadUsageCase {"OtherCharactersEmpty", {"--other", "1-1", "--other-chars", ""}, "is empty"},
                    BadUsageCase {"OtherCharactersAllSimilar",
                                  {"--other", "1-1", "--other-chars", "|0", "--exclude-similar"},
                                  "--exclude-similar"},
                    BadUsageCase {"CountAboveAMillion", {"--count", "1000001"}, "\"1000001\""},
                    BadUsageCase {"CountHuge", {"--count", "184467440737095516160"}, "\"184467440737095516160\""},
                    BadUsageCase {"CountSigned", {"--count", "+5"}, "\"+5\""},
                    BadUsageCase {"CountDecimal", {"--count", "5.0"}, "\"5.0\""},
                    BadUsageCase {"LengthZero", {"--length", "0-5"}, "\"0-5\""},
                    BadUsageCase {"Length100", {"--length", "8-100"}, "\"8-100\""},
                    BadUsageCase {"LengthCrossed", {"--length", "12-8"}, "\"12-8\""},
                    BadUsageCase {"LengthColon", {"--length", "8:12"}, "\"8:12\""},
                    BadUsageCase {"UpperAbove99", {"--upper", "1-100"}, "--upper"},
                    BadUsageCase {"LowerNegative", {"--lower", "-1-3"}, "--lower"},
                    BadUsageCase {"DigitsOffTypo", {"--digits", "of"}, "\"of\""},
                    BadUsageCase {"OtherEmptyRange", {"--other", ""}, "--other \"\""},
                    BadUsageCase {"ModeFour", {"--mode", "4"}, "\"4\""},
                    BadUsageCase {"ModeCase", {"--mode", "Easy"}, "\"Easy\""},
                    BadUsageCase {"SeedTooLarge", {"--seed", "4294967296"}, "\"4294967296\""},
                    BadUsageCase {"SeedNegative", {"--seed", "-1"}, "\"-1\""},
                    BadUsageCase {"MissingValue", {"--seed"}, "--seed"},
                    BadUsageCase {"OldOptionName", {"--numeric", "0-1"}, "\"--numeric\""},
                    BadUsageCase {"Positional", {"12"}, "\"12\""}),
    RowName());

TEST(PasswordsCommand, HelpDescribesEveryOption)
{
    const CliRun run = RunPasswords({"--help"});
    EXPECT_EQ(run.code, 0);
    for (const char* option : {"--count",
                               "--length",
                               "--upper",
                               "--lower",
                               "--digits",
                               "--other ",
                               "--other-chars",
                               "--mode",
                               "--seed",
                               "--json",
                               "--exclude-similar",
                               "B 8 G 6 I 1 l 0 O Q D S 5 Z 2 |",
                               "-n,",
                               "-j,",
                               "--help",
                               "random",
                               "easy",
                               "pronounceable",
                               "unpronounceable",
                               "1000000",
                               "4294967295"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

} // namespace
} // namespace tarvelle::test
