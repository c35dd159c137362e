#include "Commands.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tarvelle::cli {
namespace {

using tarvelle::test::PrintTo;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct RefusedCase
{
    const char* name;
    Args args;
    const char* complaint;
};

class RefusedOptions : public testing::TestWithParam<RefusedCase>
{ };

TEST_P(RefusedOptions, ExitWithUsage)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunPasswordCommand(GetParam().args, out, err), 2);
    EXPECT_TRUE(out.str().empty());
    EXPECT_NE(err.str().find(GetParam().complaint), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("usage: tarvelle-cli password"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Options, RefusedOptions,
    testing::Values(RefusedCase {"CountZero", {"--count", "0"}, "bad value '0' for --count"},
                    RefusedCase {"CountAbove999", {"--count", "1000"}, "bad value"},
                    RefusedCase {"ModeFour", {"--mode", "4"}, "bad value"},
                    RefusedCase {"MinAboveMax", {"--upper", "5:2"}, "bad value '5:2' for --upper"},
                    RefusedCase {"RangeAbove99", {"--lower", "1:100"}, "bad value"},
                    RefusedCase {"RangeWithoutColon", {"--numeric", "3"}, "bad value"},
                    RefusedCase {"NegativeCount", {"--other", "-1:2"}, "bad value"},
                    RefusedCase {"TrailingText", {"--count", "5x"}, "bad value"},
                    RefusedCase {"LengthsCrossed", {"--min-length", "13"}, "--min-length is above --max-length"},
                    RefusedCase {"SeedTooLarge", {"--seed", "4294967296"}, "bad value"},
                    RefusedCase {"SeedNegative", {"--seed", "-1"}, "bad value"},
                    RefusedCase {"EmptyOtherSet", {"--other", "1:2", "--other-chars", ""}, "--other-chars is empty"},
                    RefusedCase {"MissingValue", {"--seed"}, "missing value for --seed"},
                    RefusedCase {"UnknownOption", {"--colour", "red"}, "unknown option --colour"}),
    test::RowName());

TEST(PasswordCommand, SeedGivesTheSamePasswordsAsTheComposer)
{
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunPasswordCommand({"--seed", "1", "--count", "4"}, out, err), 0) << err.str();
    EXPECT_EQ(Lines(out.str()), (std::vector<std::string> {"FIAv6^aS", "raDA@7bue", "e#NeKEkU", "W9aGEw%iA"}));
    EXPECT_TRUE(err.str().empty());
}

TEST(PasswordCommand, WithoutSeedMakesTheAskedNumber)
{
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunPasswordCommand({"--count", "7", "--mode", "0", "--min-length", "10", "--max-length", "10"}, out, err),
              0);
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 7u);
    for (const std::string& line : lines)
        EXPECT_EQ(line.size(), 10u) << line;
}

TEST(PasswordCommand, OtherCharactersAreWholeUtf8Characters)
{
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(
        RunPasswordCommand({"--upper", "off", "--lower", "off", "--numeric", "off", "--other", "2:2", "--other-chars",
                            "\xC3\xA9", "--min-length", "2", "--max-length", "2", "--mode", "0", "--count", "3"},
                           out, err),
        0);
    EXPECT_EQ(Lines(out.str()), (std::vector<std::string>(3, "\xC3\xA9\xC3\xA9")));
}

TEST(PasswordCommand, OtherOffIgnoresItsCharacters)
{
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunPasswordCommand({"--other", "off", "--other-chars", "", "--seed", "9", "--count", "3"}, out, err), 0);
    for (const std::string& line : Lines(out.str()))
        EXPECT_EQ(line.find_first_of("!@#$%^*"), std::string::npos) << line;
}

TEST(PasswordCommand, ImpossibleSettingsWarnAndFail)
{
    // Only digits in mode 3: every candidate is pronounceable, so after two seconds the run gives up.
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunPasswordCommand({"--mode", "3", "--upper", "off", "--lower", "off", "--other", "off", "--numeric",
                                  "8:12", "--seed", "1"},
                                 out, err),
              1);
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(err.str(),
              "tarvelle-cli password: Warning: The current combination of options does not produce any "
              "possible results.\n");
}

TEST(PasswordCommand, HelpGoesToOut)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunPasswordCommand({"--help"}, out, err), 0);
    EXPECT_EQ(out.str().rfind("usage: tarvelle-cli password", 0), 0u);
    EXPECT_TRUE(err.str().empty());
}

} // namespace
} // namespace tarvelle::cli
