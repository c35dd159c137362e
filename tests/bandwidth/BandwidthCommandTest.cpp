#include "Commands.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

namespace tarvelle::cli {
namespace {

using tarvelle::test::PrintTo;

struct CommandCase
{
    const char* name;
    Args args;
    int exitCode;
    std::string out; // the whole output, or "" to check only that it is empty
    std::string errStart;
};

class BandwidthCommand : public testing::TestWithParam<CommandCase>
{ };

TEST_P(BandwidthCommand, Run)
{
    const CommandCase& c = GetParam();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunBandwidthCommand(c.args, out, err), c.exitCode) << err.str();
    if (c.exitCode != 0 || !c.out.empty()) {
        EXPECT_EQ(out.str(), c.out);
    }
    EXPECT_TRUE(err.str().starts_with(c.errStart)) << err.str();
}

const CommandCase kCommandCases[] = {
    {"SolveRate",
     {"--size", "100", "--size-unit", "KB (b2)", "--time", "2", "--time-unit", "min", "--solve", "rate", "--rate-unit",
      "Kbps (b10)"},
     0,
     "6.82666666666667 Kbps (b10)\n"
     "rate: \u00B1 3%: 6.62 - 7.03 Kbps (b10)\n"
     "size: \u00B1 3%: 97 - 103 KB (b2)\n"
     "time: \u00B1 3%: 1.94 - 2.06 min\n",
     ""},
    {"SolveSizeWithTolerance",
     {"--rate", "10", "--rate-unit", "Mbps (b10)", "--time", "5", "--solve", "size", "--size-unit", "MB (b2)", "--tol",
      "10"},
     0,
     "357.627868652344 MB (b2)\n"
     "rate: \u00B1 10%: 9 - 11 Mbps (b10)\n"
     "size: \u00B1 10%: 321.87 - 393.39 MB (b2)\n"
     "time: \u00B1 10%: 4.5 - 5.5 min\n",
     ""},
    {"ZeroRateCannotSolveTime",
     {"--size", "1", "--rate", "0", "--solve", "time"},
     1,
     "",
     "tarvelle-cli bandwidth: cannot"},
    {"Help", {"--help"}, 0, "", ""},
    {"MissingSolve", {"--rate", "1"}, 2, "", "tarvelle-cli bandwidth: --solve is required"},
    {"BadSolve",
     {"--rate", "1", "--size", "1", "--time", "1", "--solve", "speed"},
     2,
     "",
     "tarvelle-cli bandwidth: --solve"},
    {"MissingQuantity", {"--rate", "1", "--solve", "time"}, 2, "", "tarvelle-cli bandwidth: --size is required"},
    {"UnknownUnit",
     {"--rate", "1", "--rate-unit", "kbps", "--time", "1", "--solve", "size"},
     2,
     "",
     "tarvelle-cli bandwidth: unknown rate unit"},
    {"NotANumber", {"--rate", "fast", "--time", "1", "--solve", "size"}, 2, "", "tarvelle-cli bandwidth: the rate"},
    {"TooLargeForItsUnit",
     {"--rate", "1e4932", "--time", "1", "--solve", "size"},
     2,
     "",
     "tarvelle-cli bandwidth: the rate"},
    {"BadTolerance",
     {"--rate", "1", "--time", "1", "--solve", "size", "--tol", "3.5"},
     2,
     "",
     "tarvelle-cli bandwidth: --tol"},
    {"UnknownOption", {"--speed", "1"}, 2, "", "tarvelle-cli bandwidth: unknown option"},
    {"MissingValue", {"--solve"}, 2, "", "tarvelle-cli bandwidth: missing value"},
};

INSTANTIATE_TEST_SUITE_P(Args, BandwidthCommand, testing::ValuesIn(kCommandCases), test::RowName());

TEST(BandwidthCommandTolerance, OutOfRangeToleranceIsClampedLikeLeavingTheBox)
{
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunBandwidthCommand({"--rate", "10", "--time", "1", "--solve", "size", "--tol", "150"}, out, err), 0);
    EXPECT_NE(out.str().find("rate: \u00B1 100%: 0 - 20 Kbps (b10)\n"), std::string::npos) << out.str();
}

} // namespace
} // namespace tarvelle::cli
