#include "CliRun.h"
#include "IpPageModel.h"
#include "JsonParse.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tarvelle::test {
namespace {

const std::vector<std::string> kResultKeys {"OctetValues",  "OctetCorrections", "PrefixLength", "Mask",
                                            "IPBinaryText", "SNBinaryText",     "ReservedText", "BroadcastText",
                                            "RangeText",    "AddressesText",    "ClassText",    "BreakdownText"};

JsonValue IpJson(const cli::Args& args)
{
    cli::Args withJson = args;
    withJson.insert(withJson.begin(), "ip");
    withJson.push_back("--json");
    const CliRun run = RunTarvelleCli(withJson);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.ends_with("\n"));
    std::optional<JsonValue> json = ParseJson(run.out);
    EXPECT_TRUE(json.has_value()) << run.out;
    return json.value_or(JsonValue());
}

std::string Text(const JsonValue& json, std::string_view key)
{
    const JsonValue* member = json.find(key);
    EXPECT_NE(member, nullptr) << key;
    if (member == nullptr)
        return "<missing>";
    EXPECT_EQ(member->kind, JsonValue::Kind::String) << key;
    return member->text;
}

// ---- The page's examples, through the command line ------------------------------------------------------------

struct ExampleCase
{
    const char* name;
    cli::Args args;
    std::map<std::string, std::string> texts;
};

class IpExamples : public testing::TestWithParam<ExampleCase>
{ };

TEST_P(IpExamples, GiveThePageTexts)
{
    const JsonValue json = IpJson(GetParam().args);
    EXPECT_EQ(json.keys(), kResultKeys);
    for (const auto& [key, text] : GetParam().texts)
        EXPECT_EQ(Text(json, key), text) << key;
}

const std::string k24Mask = "11111111 11111111 11111111 00000000";

INSTANTIATE_TEST_SUITE_P(
    Page, IpExamples,
    testing::Values(
        ExampleCase {"LocalSlash16Block",
                     {"192.168.1.10/24"},
                     {{"ClassText", "Local (/16 Network)"},
                      {"ReservedText", "192.168.1.0"},
                      {"BroadcastText", "192.168.1.255"},
                      {"RangeText", "192.168.1.1 - 192.168.1.254"},
                      {"AddressesText", "256 Total, 254 Usable (253 + Gateway)"},
                      {"BreakdownText", "Local Subnet 1 of 256 Node 10 of 254"},
                      {"IPBinaryText", "Subnet 00000001 Node 00001010"},
                      {"SNBinaryText", k24Mask},
                      {"Mask", "255.255.255.0"}}},
        ExampleCase {"ClassCTooShortAPrefix",
                     {"200.1.2.3", "16"},
                     {{"BreakdownText", "Invalid Class / Subnet Combination"},
                      {"IPBinaryText", "11001000 00000001 00000010 00000011"},
                      {"ReservedText", "200.1.0.0"},
                      {"BroadcastText", "200.1.255.255"},
                      {"RangeText", "200.1.0.1 - 200.1.255.254"},
                      {"AddressesText", "65536 Total, 65534 Usable (65533 + Gateway)"}}},
        ExampleCase {"ClassBSlash30",
                     {"130.5.1.1", "255.255.255.252"},
                     {{"ClassText", "Class B (/16 Network)"},
                      {"BreakdownText", "Net 33285 Subnet 64 of 16384 Node 1 of 2"},
                      {"BroadcastText", "130.5.1.3"},
                      {"RangeText", "130.5.1.1 - 130.5.1.2"},
                      {"AddressesText", "4 Total, 2 Usable (1 + Gateway)"}}},
        ExampleCase {"ClassASlash8",
                     {"8.8.8.8/8"},
                     {{"BreakdownText", "Net 8 Node 526344 of 16777214"},
                      {"AddressesText", "16777216 Total, 16777214 Usable (16777213 + Gateway)"},
                      {"SNBinaryText", "11111111 00000000 00000000 00000000"}}},
        ExampleCase {"LocalBroadcastNode",
                     {"10.0.0.255"},
                     {{"BreakdownText", "Local Subnet 0 of 65536 Broadcast of 254"},
                      {"IPBinaryText", "Subnet 0000000000000000 Node 11111111"}}},
        ExampleCase {"Loopback",
                     {"127.0.0.1", "/8"},
                     {{"ClassText", "Loopback"}, {"BreakdownText", "Net 0 Subnet 127 of 256 Node 1 of 16777214"}}},
        ExampleCase {"EmptyOctetsCountAsZero",
                     {"..."},
                     {{"ClassText", "Invalid Address"},
                      {"ReservedText", "0.0.0.0"},
                      {"BroadcastText", "0.0.0.255"},
                      {"BreakdownText", "Net 0 Subnet 0 of 16777216 Reserved of 254"}}},
        ExampleCase {"OnlyFirstOctet", {"1..."}, {{"ClassText", "Class A (/8 Network)"}}},
        ExampleCase {
            "OctetAbove255", {"300.1.1.1"}, {{"ClassText", "Class E (Experimental)"}, {"ReservedText", "255.1.1.0"}}},
        ExampleCase {"NegativeOctet", {"-5.1.1.1/24"}, {{"ClassText", "Invalid Address"}}},
        ExampleCase {"LettersCountAsZero", {"abc.1.1.1"}, {{"ClassText", "Invalid Address"}}},
        ExampleCase {"LimitedBroadcast", {"255.255.255.255"}, {{"ClassText", "Broadcast"}}}),
    RowName());

TEST(IpCommand, CorrectionsAndValuesAreThoseOfTheOctetBoxes)
{
    const JsonValue json = IpJson({"300.-5. 7.x"});
    const JsonValue* values = json.find("OctetValues");
    const JsonValue* corrections = json.find("OctetCorrections");
    ASSERT_NE(values, nullptr);
    ASSERT_NE(corrections, nullptr);
    ASSERT_EQ(values->items.size(), 4u);
    ASSERT_EQ(corrections->items.size(), 4u);
    const int64_t expectedValues[] = {255, 0, 7, 0};
    const char* expectedCorrections[] = {"255", "0", nullptr, nullptr};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(values->items[k].integer(), expectedValues[k]) << k;
        if (expectedCorrections[k] == nullptr) {
            EXPECT_EQ(corrections->items[k].kind, JsonValue::Kind::Null) << k;
        } else {
            EXPECT_EQ(corrections->items[k].kind, JsonValue::Kind::String) << k;
            EXPECT_EQ(corrections->items[k].text, expectedCorrections[k]) << k;
        }
    }
    EXPECT_EQ(json.find("PrefixLength")->integer(), 24);
}

// ---- The same texts as the page model shows --------------------------------------------------------------------

TEST(IpCommand, EveryTextIsTheLabelThePageShows)
{
    const std::vector<std::array<std::string, 4>> addresses {
        {"192", "168", "1", "10"}, {"10", "20", "30", "40"}, {"172", "20", "3", "4"},          {"200", "1", "2", "3"},
        {"1", "", "", ""},         {"300", "1", "1", "1"},   {"255", "255", "255", "255"},     {"0", "1", "2", "3"},
        {"224", "0", "0", "1"},    {"127", "0", "0", "1"},   {"-5", "99999999999", "+7", " 8"}};
    for (const auto& octets : addresses) {
        for (int index = 0; index < PrefixCount; index += 3) {
            IpPageModel page;
            page.SetInitialLists();
            page.tbIP1.set(octets[0]);
            page.tbIP2.set(octets[1]);
            page.tbIP3.set(octets[2]);
            page.tbIP4.set(octets[3]);
            page.cbSlash.pick(index);
            const std::string address = octets[0] + "." + octets[1] + "." + octets[2] + "." + octets[3];
            const JsonValue json = IpJson({address, std::to_string(index + 8)});
            const std::string row = address + " /" + std::to_string(index + 8);
            EXPECT_EQ(Text(json, "IPBinaryText"), page.lbIPBinary) << row;
            EXPECT_EQ(Text(json, "SNBinaryText"), page.lbSNBinary) << row;
            EXPECT_EQ(Text(json, "ReservedText"), page.lbReserved) << row;
            EXPECT_EQ(Text(json, "BroadcastText"), page.lbBroadcast) << row;
            EXPECT_EQ(Text(json, "RangeText"), page.lbSubnet) << row;
            EXPECT_EQ(Text(json, "AddressesText"), page.lbAddresses) << row;
            EXPECT_EQ(Text(json, "ClassText"), page.lbClass) << row;
            EXPECT_EQ(Text(json, "BreakdownText"), page.lbBreakdown) << row;
            EXPECT_EQ(Text(json, "Mask"), page.cbMask.text()) << row;
            const JsonValue* corrections = json.find("OctetCorrections");
            ASSERT_NE(corrections, nullptr);
            for (int k = 1; k <= 4; ++k) {
                const JsonValue& correction = corrections->items.at(static_cast<size_t>(k - 1));
                if (correction.kind == JsonValue::Kind::String)
                    EXPECT_EQ(page.octetBox(k).text(), correction.text) << row << " octet " << k;
                else
                    EXPECT_EQ(page.octetBox(k).text(), octets[static_cast<size_t>(k - 1)]) << row << " octet " << k;
            }
        }
    }
}

TEST(IpCommand, EveryPrefixFormNamesTheSameListItem)
{
    for (int length = 8; length <= 30; ++length) {
        const std::string mask(MaskItems[static_cast<size_t>(length - 8)]);
        const std::string n = std::to_string(length);
        const JsonValue expected = IpJson({"130.5.1.1/" + n});
        EXPECT_EQ(expected.find("PrefixLength")->integer(), length);
        EXPECT_EQ(Text(expected, "Mask"), mask);
        for (const cli::Args& args : std::vector<cli::Args> {
                 {"130.5.1.1", n}, {"130.5.1.1", "/" + n}, {"130.5.1.1", mask}, {"130.5.1.1/" + mask}})
            EXPECT_EQ(Text(IpJson(args), "BreakdownText"), Text(expected, "BreakdownText")) << args.back();
    }
}

// ---- Plain output -----------------------------------------------------------------------------------------------

TEST(IpCommand, PlainOutputHasOneCaptionedLinePerResult)
{
    const CliRun run = RunTarvelleCli({"ip", "130.5.1.1", "255.255.255.252"});
    ASSERT_EQ(run.code, 0) << run.err;
    const JsonValue json = IpJson({"130.5.1.1/30"});
    const std::vector<std::pair<std::string, std::string>> expected {
        {"IP Address", "130.5.1.1/30"},
        {"Subnet Mask", "255.255.255.252"},
        {"Address Class", Text(json, "ClassText")},
        {"Reserved Address", Text(json, "ReservedText")},
        {"Broadcast Address", Text(json, "BroadcastText")},
        {"Available Addresses", Text(json, "AddressesText")},
        {"Usable Range", Text(json, "RangeText")},
        {"Binary Representation", Text(json, "IPBinaryText")},
        {"Decimal Breakdown", Text(json, "BreakdownText")},
        {"Mask Binary Representation", Text(json, "SNBinaryText")},
    };
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), expected.size()) << run.out;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with(expected[i].first + ": ")) << lines[i];
        EXPECT_TRUE(lines[i].ends_with("  " + expected[i].second)) << lines[i];
    }
}

// ---- Addresses from standard input -----------------------------------------------------------------------------

// Addresses of every class and prefix, a few of them broken, one per line.
std::string AddressFile(size_t count, std::vector<size_t>& badLines)
{
    std::string file;
    for (size_t i = 1; i <= count; ++i) {
        if (i % 97 == 0) {
            file += i % 2 == 0 ? "1.2.3\n" : "10.0.0.1/31\n";
            badLines.push_back(i);
            continue;
        }
        file += std::to_string((i * 37) % 256) + "." + std::to_string((i * 11) % 256) + "." + std::to_string(i % 256)
            + "." + std::to_string((i * 7) % 300);
        if (i % 3 != 0)
            file += "/" + std::to_string(8 + i % 23);
        file += i % 5 == 0 ? "\r\n" : "\n";
    }
    return file;
}

TEST(IpCommandLines, ManyAddressesGiveOneJsonObjectEachAndErrorsInPlace)
{
    std::vector<size_t> badLines;
    const std::string file = AddressFile(3000, badLines);
    const CliRun run = RunTarvelleCli({"ip", "-", "--json"}, file);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    const std::vector<std::string> inputs = Lines(file);
    const std::vector<std::string> outputs = Lines(run.out);
    ASSERT_EQ(outputs.size(), inputs.size());
    size_t nextBad = 0;
    for (size_t i = 0; i < outputs.size(); ++i) {
        const std::optional<JsonValue> json = ParseJson(outputs[i]);
        ASSERT_TRUE(json.has_value()) << outputs[i];
        if (nextBad < badLines.size() && badLines[nextBad] == i + 1) {
            ++nextBad;
            EXPECT_EQ(json->keys(), (std::vector<std::string> {"line", "input", "error"})) << outputs[i];
            EXPECT_EQ(json->find("line")->integer(), static_cast<int64_t>(i + 1));
            continue;
        }
        EXPECT_EQ(json->keys(), kResultKeys) << outputs[i];
        if (i % 101 == 0) {
            // A sample of the lines against the same address given as an argument.
            std::string address = inputs[i];
            if (address.ends_with('\r'))
                address.pop_back();
            EXPECT_EQ(outputs[i] + "\n", RunTarvelleCli({"ip", address, "--json"}).out) << address;
        }
    }
    EXPECT_EQ(nextBad, badLines.size());
}

TEST(IpCommandLines, PlainLinesCarryTheCaptionsAndTheArgumentSetsTheDefaultPrefix)
{
    const CliRun run = RunTarvelleCli({"ip", "-", "255.255.0.0"}, "10.1.2.3\n10.1.2.3/24\n\n");
    EXPECT_EQ(run.code, 1);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_TRUE(lines[0].starts_with("IP Address: 10.1.2.3/16\tSubnet Mask: 255.255.0.0\tAddress Class: ")) << lines[0];
    EXPECT_EQ(std::count(lines[0].begin(), lines[0].end(), '\t'), 9);
    EXPECT_TRUE(lines[1].starts_with("IP Address: 10.1.2.3/24\t")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("error: line 3: ")) << lines[2];
}

TEST(IpCommandLines, EmptyInputPrintsNothing)
{
    const CliRun run = RunTarvelleCli({"ip", "-"}, "");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "");
}

// ---- Bad usage -------------------------------------------------------------------------------------------------

class IpBadUsage : public testing::TestWithParam<BadUsageCase>
{ };

TEST_P(IpBadUsage, IsOneLineOnErrAndExitCode2)
{
    ExpectBadUsage("ip", GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Args, IpBadUsage,
    testing::Values(BadUsageCase {"NoAddress", {}, "ADDRESS"}, BadUsageCase {"OnlyJson", {"--json"}, "ADDRESS"},
                    BadUsageCase {"ThreeOctets", {"1.2.3"}, "\"1.2.3\""},
                    BadUsageCase {"FiveOctets", {"1.2.3.4.5"}, "\"1.2.3.4.5\""},
                    BadUsageCase {"NoDots", {"localhost"}, "\"localhost\""},
                    BadUsageCase {"Prefix7", {"1.2.3.4/7"}, "\"7\""},
                    BadUsageCase {"Prefix31", {"1.2.3.4", "31"}, "\"31\""},
                    BadUsageCase {"SignedPrefix", {"1.2.3.4/+24"}, "\"+24\""},
                    BadUsageCase {"HugePrefix", {"1.2.3.4/99999999999999999999999"}, "99999999999999999999999"},
                    BadUsageCase {"EmptyPrefix", {"1.2.3.4/"}, "\"\""},
                    BadUsageCase {"MaskNotInList", {"1.2.3.4", "255.255.255.254"}, "\"255.255.255.254\""},
                    BadUsageCase {"PrefixTwice", {"1.2.3.4/24", "16"}, "\"16\""},
                    BadUsageCase {"ThirdArgument", {"1.2.3.4", "24", "x"}, "\"x\""},
                    BadUsageCase {"UnknownOption", {"1.2.3.4", "--xml"}, "\"--xml\""},
                    BadUsageCase {"JsonWithValue", {"1.2.3.4", "--json=yes"}, "--json"},
                    BadUsageCase {"NewlineInAddress", {"1.2\n3.4"}, "\"1.2\\x0a3.4\""}),
    RowName());

TEST(IpCommand, HelpDescribesEveryArgument)
{
    const CliRun run = RunTarvelleCli({"ip", "--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "");
    for (const char* word : {"ADDRESS", "PREFIX", "MASK", "--json", "-  ", "--help"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    for (const std::string& key : kResultKeys)
        EXPECT_NE(run.out.find(key), std::string::npos) << key;
}

} // namespace
} // namespace tarvelle::test
