// tarvelle-cli passwords --strength: the engine's figures for the options given, and the settings it refuses.
#include "CliRun.h"
#include "PasswordComposer.h"
#include "PasswordStrength.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

namespace tarvelle::test {
namespace {

using tarvelle::test::PrintTo;

CliRun RunStrength(cli::Args args)
{
    args.insert(args.begin(), {"passwords", "--strength"});
    return RunTarvelleCli(args);
}

struct FiguresRow
{
    const char* name;
    cli::Args args;
    TPasswordSettings settings;
};

class StrengthFigures : public testing::TestWithParam<FiguresRow>
{ };

TEST_P(StrengthFigures, AreTheEnginesForTheOptions)
{
    const CliRun run = RunStrength(GetParam().args);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const nlohmann::json got = Json(run.out);
    EXPECT_EQ(Keys(got),
              (std::set<std::string> {"shannon_bits", "min_entropy_bits", "acceptance", "exact", "bound_bits",
                                      "acceptance_bound"}));
    const PasswordStrength want = MeasureStrength(GetParam().settings, TStringListComp(LetterPairList()));
    EXPECT_DOUBLE_EQ(got["shannon_bits"].get<double>(), want.ShannonBits());
    EXPECT_DOUBLE_EQ(got["min_entropy_bits"].get<double>(), want.MinEntropyBits());
    EXPECT_DOUBLE_EQ(got["acceptance"].get<double>(), want.Acceptance());
    EXPECT_DOUBLE_EQ(got["acceptance_bound"].get<double>(), (want.AcceptanceHigh - want.AcceptanceLow) / 2);
    EXPECT_EQ(got["exact"].get<bool>(), want.Exact);
    EXPECT_DOUBLE_EQ(got["bound_bits"].get<double>(), want.Exact ? 0.0 : want.BoundBits());
}

TPasswordSettings Long(int32_t mode)
{
    return {.Upper = {2, 4},
            .Lower = {6, 10},
            .Numeric = {1, 2},
            .Other = {1, 2},
            .OtherCharacters = "+-",
            .MinLength = 12,
            .MaxLength = 16,
            .Mode = mode};
}

TPasswordSettings Beyond()
{
    return {.Upper = {5, 5}, .Lower = {15, 15}, .Numeric = {5, 5}, .Other = {5, 5}, .MinLength = 30, .MaxLength = 30};
}

INSTANTIATE_TEST_SUITE_P(Options, StrengthFigures,
                         testing::Values(FiguresRow {"PageDefaults", {"-j"}, TPasswordSettings {}},
                                         // Too many arrangements for an exact sum: proven ranges.
                                         FiguresRow {"LongPasswordsInRanges",
                                                     {"--json", "--length", "12-16", "--upper", "2-4", "--lower",
                                                      "6-10", "--digits", "1-2", "--other", "1-2", "--other-chars",
                                                      "+-", "--mode", "pronounceable"},
                                                     Long(2)},
                                         // Beyond the shuffle's chain: ranges that hold whatever its odds.
                                         FiguresRow {"BeyondTheChain",
                                                     {"-j", "--length", "30", "--upper", "5", "--lower", "15",
                                                      "--digits", "5", "--other", "5", "--mode", "1"},
                                                     Beyond()}),
                         RowName());

TEST(StrengthText, GivesEachFigureOnItsLine)
{
    const CliRun run = RunStrength({"--mode", "random"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_TRUE(lines[0].starts_with("Shannon entropy:  ")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("min-entropy:      ")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("acceptance:       ")) << lines[2];
    EXPECT_EQ(lines[3], "exact:            yes");
}

// Beyond the chain each figure, the kept share too, reads as a range whose ends are the engine's.
TEST(StrengthText, GivesRangesBeyondTheChain)
{
    const CliRun run
        = RunStrength({"--length", "30", "--upper", "5", "--lower", "15", "--digits", "5", "--other", "5"});
    ASSERT_EQ(run.code, 0) << run.err;
    const PasswordStrength want = MeasureStrength(Beyond(), TStringListComp(LetterPairList()));
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines[0], "Shannon entropy:  " + RangeText(want.ShannonLow, want.ShannonHigh, 2) + " bits");
    // "acceptance:       A to B (1 kept in C to D candidates drawn)", word by word.
    std::istringstream line(lines[2]);
    std::vector<std::string> words;
    for (std::string word; line >> word;)
        words.push_back(word);
    ASSERT_EQ(words.size(), 12u) << lines[2];
    EXPECT_EQ(words[0] + words[2] + words[4] + words[5] + words[6] + words[8] + words[10] + words[11],
              "acceptance:to(1keptintocandidatesdrawn)")
        << lines[2];
    EXPECT_NEAR(std::stod(words[1]), want.AcceptanceLow, want.AcceptanceLow * 1e-2);
    EXPECT_NEAR(std::stod(words[3]), want.AcceptanceHigh, want.AcceptanceHigh * 1e-2);
    EXPECT_NEAR(std::stod(words[7]), 1 / want.AcceptanceHigh, 1e-2 / want.AcceptanceHigh);
    EXPECT_NEAR(std::stod(words[9]), 1 / want.AcceptanceLow, 1e-2 / want.AcceptanceLow);
    EXPECT_EQ(lines[3], "exact:            no: each figure lies in its range");
}

struct RefusalRow
{
    const char* name;
    cli::Args args;
    int code;
    const char* says;
};

class StrengthRefusals : public testing::TestWithParam<RefusalRow>
{ };

TEST_P(StrengthRefusals, GiveOneLineAndNoFigures)
{
    const CliRun run = RunStrength(GetParam().args);
    EXPECT_EQ(run.code, GetParam().code);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Options, StrengthRefusals,
                         testing::Values(RefusalRow {"Seeded", {"--seed", "1"}, 2, "takes no --seed"},
                                         // Digits alone always pass the pair test, which mode 3 turns down.
                                         RefusalRow {"NoPasswordPossible",
                                                     {"-j", "--mode", "3", "--upper", "off", "--lower", "off",
                                                      "--other", "off", "--length", "1-2"},
                                                     1,
                                                     kTimeOutText.data()}),
                         RowName());

} // namespace
} // namespace tarvelle::test
