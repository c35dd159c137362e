#include "BandwidthPageModel.h"
#include "CliRun.h"
#include "FakePlatform.h"
#include "JsonParse.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tarvelle::test {
namespace {

const std::vector<std::string> kKeys {"tbBW",     "tbDS",     "tbTm",       "cbBWUnit", "cbDSUnit", "cbTmUnit",
                                      "cbCommon", "lbBWTol",  "lbDSTol",    "lbTmTol",  "Label1",   "StoredBW",
                                      "StoredDS", "StoredTm", "TolPercent", "Beep"};

struct BandwidthRun
{
    CliRun run;
    JsonValue json;
};

BandwidthRun RunBandwidth(const cli::Args& args)
{
    cli::Args withJson = args;
    withJson.insert(withJson.begin(), "bandwidth");
    withJson.push_back("--json");
    BandwidthRun r {RunTarvelleCli(withJson), {}};
    const std::optional<JsonValue> json = ParseJson(r.run.out);
    EXPECT_TRUE(json.has_value()) << r.run.out;
    EXPECT_EQ(Lines(r.run.out).size(), 1u);
    r.json = json.value_or(JsonValue());
    EXPECT_EQ(r.json.keys(), kKeys);
    return r;
}

// Every member as text: strings as they are, null as "null", the rest as written.
std::string Member(const JsonValue& json, std::string_view key)
{
    const JsonValue* member = json.find(key);
    if (member == nullptr)
        return "<missing>";
    switch (member->kind) {
    case JsonValue::Kind::Null:
        return "null";
    case JsonValue::Kind::Boolean:
        return member->boolean ? "true" : "false";
    default:
        return member->text;
    }
}

// ---- The page's examples ---------------------------------------------------------------------------------------

struct ExampleCase
{
    const char* name;
    cli::Args args;
    int code;
    std::map<std::string, std::string> members;
};

class BandwidthExamples : public testing::TestWithParam<ExampleCase>
{ };

TEST_P(BandwidthExamples, GiveThePageTexts)
{
    const BandwidthRun r = RunBandwidth(GetParam().args);
    EXPECT_EQ(r.run.code, GetParam().code) << r.run.err;
    for (const auto& [key, text] : GetParam().members)
        EXPECT_EQ(Member(r.json, key), text) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Page, BandwidthExamples,
    testing::Values(
        ExampleCase {"StartUp",
                     {},
                     0,
                     {{"tbBW", ""},
                      {"lbBWTol", " "},
                      {"Label1", "normal"},
                      {"cbBWUnit", "Kbps (b10)"},
                      {"cbDSUnit", "KB (b2)"},
                      {"cbTmUnit", "min"},
                      {"cbCommon", "null"},
                      {"TolPercent", "3"},
                      {"Beep", "false"}}},
        ExampleCase {"ThreeValuesDisagree",
                     {"--rate", "1", "--size", "100", "--time", "2"},
                     0,
                     {{"lbBWTol", "\u00B1 3%: 0.97 - 1.03 Kbps (b10)"},
                      {"lbDSTol", "\u00B1 3%: 97 - 103 KB (b2)"},
                      {"lbTmTol", "\u00B1 3%: 1.94 - 2.06 min"},
                      {"Label1", "red"},
                      {"StoredBW", "1000"}}},
        ExampleCase {
            "SolvingTheRateMakesThemAgree",
            {"--rate", "1", "--size", "100", "--time", "2", "--solve", "rate"},
            0,
            {{"tbBW", "6.82666666666667"}, {"lbBWTol", "\u00B1 3%: 6.62 - 7.03 Kbps (b10)"}, {"Label1", "normal"}}},
        ExampleCase {
            "SolveSize",
            {"--rate", "10", "--rate-unit", "Mbps (b10)", "--time", "5", "--size-unit", "MB (b2)", "--solve", "size"},
            0,
            {{"tbDS", "357.627868652344"}, {"cbDSUnit", "MB (b2)"}}},
        ExampleCase {
            "SolveTime",
            {"--size", "4.7", "--size-unit", "GB (b10)", "--rate", "8", "--rate-unit", "Mbps (b10)", "--solve", "time"},
            0,
            {{"tbTm", "78.3333333333333"}}},
        ExampleCase {"SolveRateWithoutTimeBeeps",
                     {"--size", "100", "--solve", "rate"},
                     1,
                     {{"tbBW", ""}, {"StoredBW", "0"}, {"Beep", "true"}}},
        ExampleCase {
            "SolveTimeWithoutRateBeeps", {"--size", "100", "--solve", "time"}, 1, {{"tbTm", ""}, {"Beep", "true"}}},
        ExampleCase {"SolveSizeWithNothingShowsZero", {"--solve", "size"}, 0, {{"tbDS", "0"}, {"Beep", "false"}}},
        ExampleCase {"CommonRateInTheRateUnit",
                     {"--rate-unit", "Mbps (b10)", "--common", "T-1 / DS-1"},
                     0,
                     {{"tbBW", "1.544"},
                      {"lbBWTol", "\u00B1 3%: 1.5 - 1.59 Mbps (b10)"},
                      {"cbCommon", "T-1 / DS-1"},
                      {"StoredBW", "1544000"}}},
        ExampleCase {
            "CommonRateInBinaryUnit", {"--rate-unit", "KBps (b2)", "--common", "28.8kbps"}, 0, {{"tbBW", "3.515"}}},
        ExampleCase {"ToleranceTypedAboveTheRange",
                     {"--rate", "10", "--tolerance", "150"},
                     0,
                     {{"lbBWTol", "\u00B1 150%: -4.99 - 25 Kbps (b10)"}, {"TolPercent", "150"}}},
        ExampleCase {"EmptyToleranceReadsAsOne",
                     {"--rate", "10", "--tolerance", ""},
                     0,
                     {{"lbBWTol", "\u00B1 1%: 9.9 - 10.1 Kbps (b10)"}, {"TolPercent", "1"}}},
        ExampleCase {"NegativeRate", {"--rate", "-10"}, 0, {{"lbBWTol", "\u00B1 3%: -9.69 - -10.29 Kbps (b10)"}}},
        ExampleCase {"RateTooLargeForItsLine", {"--rate", "1e17"}, 0, {{"lbBWTol", " "}, {"StoredBW", "1E20"}}},
        ExampleCase {
            "UnitPickWritesZeroIntoAnEmptyBox", {"--time-unit", "sec"}, 0, {{"tbTm", "0"}, {"cbTmUnit", "sec"}}},
        ExampleCase {
            "LettersAreIgnored", {"--rate", "fast"}, 0, {{"tbBW", "fast"}, {"StoredBW", "0"}, {"lbBWTol", " "}}},
        ExampleCase {
            "DecimalPointWhateverTheLocale", {"--size", "1.5", "--size-unit", "bits"}, 0, {{"StoredDS", "1.5"}}}),
    RowName());

// ---- The same state as the page model, event for event --------------------------------------------------------

TEST(BandwidthCommand, EndsInThePageModelsState)
{
    // Units picked first, then the tolerance, the boxes, the common rate and the button, as the command says.
    FakePlatform platform;
    bandwidth::BandwidthPageModel page(platform, ".");
    page.SetInitialUnits();
    page.seTolChange();
    page.cbBWUnit.pick(4);
    page.cbTmUnit.pick(0);
    page.seTol.setText("7");
    page.tbDS.set("250");
    page.tbTm.set("12.5");
    page.btnBWClick();

    const BandwidthRun r = RunBandwidth({"--solve", "rate", "--time", "12.5", "--size", "250", "--tolerance", "7",
                                         "--time-unit", "sec", "--rate-unit", "Mbps(b10)"});
    ASSERT_EQ(r.run.code, 0) << r.run.err;
    EXPECT_EQ(Member(r.json, "tbBW"), page.tbBW.text());
    EXPECT_EQ(Member(r.json, "tbDS"), page.tbDS.text());
    EXPECT_EQ(Member(r.json, "tbTm"), page.tbTm.text());
    EXPECT_EQ(Member(r.json, "lbBWTol"), page.lbBWTol);
    EXPECT_EQ(Member(r.json, "lbDSTol"), page.lbDSTol);
    EXPECT_EQ(Member(r.json, "lbTmTol"), page.lbTmTol);
    EXPECT_EQ(Member(r.json, "Label1"), page.label1Red ? "red" : "normal");
    EXPECT_EQ(Member(r.json, "StoredBW"), bandwidth::NumberToText(page.values.StoredBW));
    EXPECT_EQ(Member(r.json, "TolPercent"), "7");
}

// ---- Unit and common-rate names --------------------------------------------------------------------------------

TEST(BandwidthCommand, ListTextsMatchExactlyOrWithoutBlanks)
{
    for (const auto& [given, item] : std::vector<std::pair<std::string, std::string>> {{"Kbps (b10)", "Kbps (b10)"},
                                                                                       {"Kbps(b10)", "Kbps (b10)"},
                                                                                       {"KBps(b10)", "KBps (b10)"},
                                                                                       {" GBps ( b2 ) ", "GBps (b2)"}})
        EXPECT_EQ(Member(RunBandwidth({"--rate-unit", given}).json, "cbBWUnit"), item) << given;
    EXPECT_EQ(Member(RunBandwidth({"--size-unit", "Mb(b)"}).json, "cbDSUnit"), "Mb (b)");
    EXPECT_EQ(Member(RunBandwidth({"--common", "T-1/DS-1"}).json, "cbCommon"), "T-1 / DS-1");
}

TEST(BandwidthCommand, UnknownUnitListsTheValidTexts)
{
    const CliRun run = RunTarvelleCli({"bandwidth", "--rate-unit", "kbps (b10)"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(Lines(run.err).size(), 1u);
    for (const auto& unit : bandwidth::RateSizeFactors)
        EXPECT_NE(run.err.find(std::string("\"") + unit.rateText + "\""), std::string::npos) << unit.rateText;
}

// ---- Plain output ---------------------------------------------------------------------------------------------

TEST(BandwidthCommand, PlainOutputShowsBoxesLinesAndVerdict)
{
    const std::vector<std::pair<cli::Args, std::string>> verdicts {
        {{"--rate", "1", "--size", "100", "--time", "2"}, "Values disagree"},
        {{"--rate", "1", "--size", "100", "--time", "2", "--solve", "rate"}, "Values agree"},
        {{"--rate", "1"}, "No verdict"},
    };
    for (const auto& [args, verdict] : verdicts) {
        cli::Args full = args;
        full.insert(full.begin(), "bandwidth");
        const CliRun run = RunTarvelleCli(full);
        const JsonValue json = RunBandwidth(args).json;
        const auto box = [&json](const char* key) {
            const std::string text = Member(json, key);
            return text.empty() ? std::string("(empty)") : text;
        };
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 7u) << run.out;
        EXPECT_EQ(lines[0], "Bandwidth: " + box("tbBW") + " Kbps (b10)");
        EXPECT_EQ(lines[1], "  " + Member(json, "lbBWTol"));
        EXPECT_EQ(lines[2], "Data Size: " + box("tbDS") + " KB (b2)");
        EXPECT_EQ(lines[4], "Time: " + box("tbTm") + " min");
        EXPECT_EQ(lines[6], verdict);
    }
}

// ---- Bad usage --------------------------------------------------------------------------------------------------

class BandwidthBadUsage : public testing::TestWithParam<BadUsageCase>
{ };

TEST_P(BandwidthBadUsage, IsOneLineOnErrAndExitCode2)
{
    ExpectBadUsage("bandwidth", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Args, BandwidthBadUsage,
                         testing::Values(BadUsageCase {"UnknownTimeUnit", {"--time-unit", "hours"}, "\"hours\""},
                                         BadUsageCase {
                                             "SizeUnitIsNoRateUnit", {"--size-unit", "Kbps (b10)"}, "--size-unit"},
                                         BadUsageCase {"UnknownCommonRate", {"--common", "T-4"}, "\"T-4\""},
                                         BadUsageCase {"CommonRateCaseMatters", {"--common", "oc-3"}, "\"oc-3\""},
                                         BadUsageCase {"SolveWhat", {"--solve", "speed"}, "\"speed\""},
                                         BadUsageCase {"ToleranceWithPercent", {"--tolerance", "3%"}, "\"3%\""},
                                         BadUsageCase {"ToleranceWithLetters", {"--tolerance", "ten"}, "\"ten\""},
                                         BadUsageCase {"MissingValue", {"--rate"}, "--rate"},
                                         BadUsageCase {"GivenTwice", {"--rate", "1", "--rate", "2"}, "--rate"},
                                         BadUsageCase {"UnknownOption", {"--tol", "3"}, "\"--tol\""},
                                         BadUsageCase {"Positional", {"10"}, "\"10\""}),
                         RowName());

TEST(BandwidthCommand, HelpDescribesEveryOption)
{
    const CliRun run = RunTarvelleCli({"bandwidth", "--help"});
    EXPECT_EQ(run.code, 0);
    for (const char* option : {"--rate-unit", "--size-unit", "--time-unit", "--tolerance", "--rate ", "--size ",
                               "--time ", "--common", "--solve", "--json", "--help"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(BandwidthCommand, TextThatIsNoNumberIsWarnedAboutButKept)
{
    const CliRun run = RunTarvelleCli({"bandwidth", "--size", "1,5"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("--size \"1,5\" is not a number"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.starts_with("Bandwidth: ")) << run.out;
}

} // namespace
} // namespace tarvelle::test
