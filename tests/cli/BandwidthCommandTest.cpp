#include "BandwidthCalc.h"
#include "CliRun.h"
#include "NumberText.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvelle::test {
namespace {

using nlohmann::json;

const std::set<std::string> kResultKeys {"rate", "size", "time", "tolerance_percent", "agreement", "solved"};
const std::set<std::string> kQuantityKeys {"value", "unit", "base", "tolerance"};

json BandwidthJson(const cli::Args& args)
{
    cli::Args withJson {"bandwidth", "--json"};
    withJson.insert(withJson.end(), args.begin(), args.end());
    const CliRun run = RunTarvelleCli(withJson);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 1u);
    const json result = Json(run.out);
    EXPECT_EQ(Keys(result), kResultKeys);
    for (const char* quantity : {"rate", "size", "time"})
        EXPECT_EQ(Keys(result[quantity]), kQuantityKeys) << quantity;
    return result;
}

// ---- The page's examples, and the engine's numbers under the new keys -----------------------------------------

struct ExampleCase
{
    const char* name;
    cli::Args args;
    json expected; // members that must match, by JSON pointer
};

class BandwidthExamples : public testing::TestWithParam<ExampleCase>
{ };

TEST_P(BandwidthExamples, GiveThePageTexts)
{
    const json result = BandwidthJson(GetParam().args);
    for (const auto& [pointer, value] : GetParam().expected.items())
        EXPECT_EQ(result[json::json_pointer(pointer)], value) << pointer;
}

INSTANTIATE_TEST_SUITE_P(
    Page, BandwidthExamples,
    testing::Values(
        ExampleCase {"RateFromSizeAndTime",
                     {"--size", "100", "--size-unit", "KB (b2)", "--time", "2", "--time-unit", "min"},
                     {{"/rate/value", "6.82666666666667"},
                      {"/rate/unit", "Kbps (b10)"},
                      {"/rate/tolerance", "\u00b1 3%: 6.62 - 7.03 Kbps (b10)"},
                      {"/agreement", "agree"},
                      {"/solved", "rate"}}},
        ExampleCase {"CommonRateInMegabits",
                     {"--common", "T-1 / DS-1", "--rate-unit", "Mbps (b10)"},
                     {{"/rate/value", "1.544"},
                      {"/rate/base", "1544000"},
                      {"/size/value", nullptr},
                      {"/agreement", "none"},
                      {"/solved", nullptr}}},
        ExampleCase {"SizeFromRateAndTime",
                     {"--rate", "10Mbps", "--time", "5min", "--size-unit", "MB (b2)"},
                     {{"/size/value", "357.627868652344"}, {"/size/base", "3000000000"}, {"/solved", "size"}}},
        ExampleCase {"TimeFromSizeAndRate",
                     {"--size", "4.7GB", "--rate", "8Mbps", "--time-unit", "min"},
                     {{"/time/value", "78.3333333333333"}, {"/size/unit", "GB (b10)"}, {"/solved", "time"}}},
        ExampleCase {"ToleranceTen",
                     {"--size", "1.234", "--size-unit", "MB (b2)", "--tolerance", "10"},
                     {{"/size/tolerance", "\u00b1 10%: 1.11 - 1.36 MB (b2)"}, {"/tolerance_percent", 10}}},
        ExampleCase {"AllThreeDisagree",
                     {"--rate", "1Mbps", "--size", "1MB", "--time", "1s"},
                     {{"/agreement", "disagree"}, {"/solved", nullptr}, {"/rate/value", "1"}}},
        ExampleCase {"ReadInOneUnitShownInAnother",
                     {"--rate", "1MiB/s", "--rate-unit", "Kbit/s"},
                     {{"/rate/value", "8388.608"}, {"/rate/tolerance", "\u00b1 3%: 8136.95 - 8640.27 Kbps (b10)"}}},
        ExampleCase {"EngineReadingRules",
                     {"--rate", " 12 ", "--size", "+.5", "--time", "1e"},
                     {{"/rate/base", "12000"}, {"/size/base", "4096"}, {"/time/base", "60"}}}),
    RowName());

// ---- Unit spellings, as rows of the page's lists --------------------------------------------------------------

struct UnitCase
{
    const char* name;
    const char* option; // --rate-unit, --size-unit or --time-unit
    const char* spelling;
    const char* listText;
};

class BandwidthUnits : public testing::TestWithParam<UnitCase>
{ };

TEST_P(BandwidthUnits, NameTheirListRow)
{
    const UnitCase& unit = GetParam();
    const std::string quantity = std::string(unit.option).substr(2, 4);
    const json result = BandwidthJson({unit.option, unit.spelling});
    EXPECT_EQ(result[quantity]["unit"], unit.listText);
    // Carried by the number, it reads the same.
    const json carried = BandwidthJson({"--" + quantity, std::string("3") + unit.spelling});
    EXPECT_EQ(carried[quantity]["unit"], unit.listText);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, BandwidthUnits,
    testing::Values(UnitCase {"Bps", "--rate-unit", "bps", "bps"}, UnitCase {"ByteRate", "--rate-unit", "B/s", "Bps"},
                    UnitCase {"Kbps", "--rate-unit", "kbps", "Kbps (b10)"},
                    UnitCase {"MbitPerS", "--rate-unit", "Mbit/s", "Mbps (b10)"},
                    UnitCase {"MBPerS", "--rate-unit", "MB/s", "MBps (b10)"},
                    UnitCase {"MiBPerS", "--rate-unit", "MiB/s", "MBps (b2)"},
                    UnitCase {"Gibps", "--rate-unit", "Gibps", "Gbps (b2)"},
                    UnitCase {"ListTextWithoutBlanks", "--rate-unit", "Kbps(b2)", "Kbps (b2)"},
                    UnitCase {"Bits", "--size-unit", "bit", "bits"}, UnitCase {"Bytes", "--size-unit", "B", "bytes"},
                    UnitCase {"KiB", "--size-unit", "KiB", "KB (b2)"}, UnitCase {"KB", "--size-unit", "kB", "KB (b10)"},
                    UnitCase {"Mibit", "--size-unit", "Mibit", "Mb (b)"},
                    UnitCase {"GB", "--size-unit", "GB", "GB (b10)"}, UnitCase {"Seconds", "--time-unit", "s", "sec"},
                    UnitCase {"Hours", "--time-unit", "h", "hrs"}, UnitCase {"Days", "--time-unit", "days", "days"}),
    RowName());

// ---- Refused input --------------------------------------------------------------------------------------------

class BandwidthBadUsage : public testing::TestWithParam<BadUsageCase>
{ };

TEST_P(BandwidthBadUsage, IsRefused)
{
    ExpectBadUsage("bandwidth", GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Args, BandwidthBadUsage,
    testing::Values(BadUsageCase {"Letters", {"--rate", "abc", "--time", "10", "--solve", "size"}, "\"abc\""},
                    BadUsageCase {"Comma", {"--rate", "1,5"}, "\"1,5\""},
                    BadUsageCase {"BeyondTheRange", {"--size", "1e5000"}, "\"1e5000\""},
                    BadUsageCase {"OverflowsInItsUnit", {"--size", "1e4931", "--size-unit", "GB"}, "too large"},
                    BadUsageCase {"UnknownUnit", {"--rate-unit", "furlongs"}, "\"furlongs\""},
                    BadUsageCase {"MegaIsNotMilli", {"--size", "3mb"}, "\"3mb\""},
                    BadUsageCase {"SizeUnitForARate", {"--rate", "3MB"}, "\"3MB\""},
                    BadUsageCase {"ToleranceZero", {"--tolerance", "0"}, "\"0\""},
                    BadUsageCase {"ToleranceFraction", {"--tolerance", "2.5"}, "\"2.5\""},
                    BadUsageCase {"UnknownCommonRate", {"--common", "T-9"}, "\"T-9\""},
                    BadUsageCase {"RateTwice", {"--common", "OC-3", "--rate", "1"}, "--common"},
                    BadUsageCase {"SolveWhat", {"--solve", "speed"}, "\"speed\""},
                    BadUsageCase {"Operand", {"10"}, "\"10\""}),
    RowName());

TEST(BandwidthCommand, AFailedSolveIsExitCode1)
{
    const CliRun run = RunTarvelleCli({"bandwidth", "--rate", "0", "--size", "1MB"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Lines(run.err),
              std::vector<std::string> {"tarvelle-cli bandwidth: cannot work out the time: it "
                                        "divides by zero or the result is too large"});
}

TEST(BandwidthCommand, PlainOutputNamesTheSolvedValue)
{
    const CliRun run = RunTarvelleCli({"bandwidth", "--size", "4.7GB", "--rate", "8Mbps", "--time-unit", "min"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out,
              "Rate: 8 Mbps (b10)\n  \u00b1 3%: 7.76 - 8.24 Mbps (b10)\n"
              "Size: 4.7 GB (b10)\n  \u00b1 3%: 4.56 - 4.84 GB (b10)\n"
              "Time: 78.3333333333333 min  (worked out)\n  \u00b1 3%: 75.98 - 80.68 min\n"
              "Agreement: the values agree\n");
}

} // namespace
} // namespace tarvelle::test
