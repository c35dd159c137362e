#include "CliRun.h"
#include "IpPageModel.h"
#include "RowName.h"
#include "SubnetCalc.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tarvelle::test {
namespace {

using nlohmann::json;

const std::set<std::string> kResultKeys {"input",     "address", "prefix",      "netmask", "wildcard",  "network",
                                         "broadcast", "first",   "last",        "total",   "usable",    "class",
                                         "type",      "global",  "forwardable", "reverse", "breakdown", "binary"};
const std::set<std::string> kV6Keys {"input", "address", "zone", "expanded", "prefix",      "network",
                                     "last",  "total",   "type", "global",   "forwardable", "reverse"};
const std::set<std::string> kBinaryKeys {"address", "netmask", "breakdown"};

json IpJson(const cli::Args& args)
{
    cli::Args withJson {"ip", "-j"};
    withJson.insert(withJson.end(), args.begin(), args.end());
    const CliRun run = RunTarvelleCli(withJson);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 1u);
    return Json(run.out);
}

// ---- The page's examples, through the new keys ----------------------------------------------------------------

struct ExampleCase
{
    const char* name;
    cli::Args args;
    json expected; // the members that must match
};

class IpExamples : public testing::TestWithParam<ExampleCase>
{ };

TEST_P(IpExamples, GiveThePageTexts)
{
    const json result = IpJson(GetParam().args);
    EXPECT_EQ(Keys(result), kResultKeys);
    EXPECT_EQ(Keys(result["binary"]), kBinaryKeys);
    for (const auto& [key, value] : GetParam().expected.items())
        EXPECT_EQ(result[key], value) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Page, IpExamples,
    testing::Values(ExampleCase {"LocalSlash16Block",
                                 {"192.168.1.10/24"},
                                 {{"class", "Local (/16 Network)"},
                                  {"type", "private"},
                                  {"global", false},
                                  {"forwardable", true},
                                  {"network", "192.168.1.0"},
                                  {"broadcast", "192.168.1.255"},
                                  {"first", "192.168.1.1"},
                                  {"last", "192.168.1.254"},
                                  {"total", 256},
                                  {"usable", 254},
                                  {"netmask", "255.255.255.0"},
                                  {"wildcard", "0.0.0.255"},
                                  {"breakdown", "Local Subnet 1 of 256 Node 10 of 254"},
                                  {"binary",
                                   {{"address", "11000000 10101000 00000001 00001010"},
                                    {"netmask", "11111111 11111111 11111111 00000000"},
                                    {"breakdown", "Subnet 00000001 Node 00001010"}}}}},
                    ExampleCase {"ClassCTooShortAPrefix",
                                 {"200.1.2.3", "255.255.0.0"},
                                 {{"prefix", 16},
                                  {"breakdown", "Invalid Class / Subnet Combination"},
                                  {"network", "200.1.0.0"},
                                  {"broadcast", "200.1.255.255"},
                                  {"first", "200.1.0.1"},
                                  {"last", "200.1.255.254"},
                                  {"total", 65536},
                                  {"usable", 65534},
                                  {"binary",
                                   {{"address", "11001000 00000001 00000010 00000011"},
                                    {"netmask", "11111111 11111111 00000000 00000000"},
                                    {"breakdown", nullptr}}}}},
                    ExampleCase {"ClassCNet", {"200.1.2.3/24"}, {{"breakdown", "Net 13107458 Node 3 of 254"}}},
                    ExampleCase {"ClassBSlash30",
                                 {"130.5.1.1", "/30"},
                                 {{"class", "Class B (/16 Network)"},
                                  {"breakdown", "Net 33285 Subnet 64 of 16384 Node 1 of 2"}}},
                    ExampleCase {"Loopback",
                                 {"127.0.0.1/8"},
                                 {{"class", "Loopback"}, {"breakdown", "Net 0 Subnet 127 of 256 Node 1 of 16777214"}}},
                    ExampleCase {"PointToPointSlash31",
                                 {"192.0.2.1/31"},
                                 {{"network", "192.0.2.0"},
                                  {"broadcast", nullptr},
                                  {"first", "192.0.2.0"},
                                  {"last", "192.0.2.1"},
                                  {"total", 2},
                                  {"usable", 2},
                                  {"type", "documentation"},
                                  {"breakdown", nullptr}}},
                    ExampleCase {"HostSlash32",
                                 {"198.51.100.7", "32"},
                                 {{"network", "198.51.100.7"},
                                  {"broadcast", nullptr},
                                  {"first", "198.51.100.7"},
                                  {"last", "198.51.100.7"},
                                  {"usable", 1},
                                  {"reverse", "7.100.51.198.in-addr.arpa"},
                                  {"class", "Class C (/24 Network)"}}},
                    ExampleCase {"WholeSpaceSlash0",
                                 {"8.8.8.8", "0.0.0.0"},
                                 {{"network", "0.0.0.0"},
                                  {"broadcast", "255.255.255.255"},
                                  {"total", 4294967296},
                                  {"usable", 4294967294},
                                  {"type", "public"},
                                  {"global", true},
                                  {"forwardable", true},
                                  {"breakdown", nullptr}}}),
    RowName());

// ---- Every prefix and every class against the subnet computation ----------------------------------------------

TEST(IpRoundTrip, AgreesWithTheSubnetComputation)
{
    std::vector<std::array<int, 4>> addresses;
    for (const int first : {0, 1, 9, 10, 11, 126, 127, 128, 171, 172, 173, 191, 192, 223, 224, 239, 240, 255}) {
        for (const int second : {0, 15, 16, 31, 32, 168, 255})
            addresses.push_back({first, second, second == 255 ? 255 : 37, second == 255 ? 255 : 200});
    }
    std::string input;
    for (const auto& a : addresses) {
        for (int prefix = 8; prefix <= 30; ++prefix) {
            input += std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "."
                + std::to_string(a[3]) + "/" + std::to_string(prefix) + "\n";
        }
    }
    const CliRun run = RunTarvelleCli({"ip", "-", "--json"}, input);
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), addresses.size() * 23);
    size_t at = 0;
    for (const auto& a : addresses) {
        const std::array<std::string, 4> octets {std::to_string(a[0]), std::to_string(a[1]), std::to_string(a[2]),
                                                 std::to_string(a[3])};
        for (int index = 0; index < PrefixCount; ++index) {
            const json r = Json(lines[at++]);
            const TSubnetResult page = ComputeSubnet(octets, index);
            SCOPED_TRACE(r["input"].get<std::string>());
            EXPECT_EQ(Keys(r), kResultKeys);
            EXPECT_EQ(r["netmask"], MaskItems[static_cast<size_t>(index)]);
            EXPECT_EQ(r["network"], page.ReservedText);
            EXPECT_EQ(r["broadcast"], page.BroadcastText);
            EXPECT_EQ(r["first"].get<std::string>() + " - " + r["last"].get<std::string>(), page.RangeText);
            const auto total = r["total"].get<uint64_t>();
            EXPECT_EQ(std::to_string(total) + " Total, " + std::to_string(r["usable"].get<uint64_t>()) + " Usable ("
                          + std::to_string(total - 3) + " + Gateway)",
                      page.AddressesText);
            EXPECT_EQ(r["class"], page.ClassText);
            EXPECT_EQ(r["breakdown"], page.BreakdownText);
            EXPECT_EQ(r["binary"]["netmask"], page.SNBinaryText);
            const json& binary = r["binary"]["breakdown"];
            EXPECT_EQ(binary.is_null() ? r["binary"]["address"] : binary, page.IPBinaryText);
        }
    }
}

// ---- IPv6 texts: RFC 5952's examples --------------------------------------------------------------------------

struct Ipv6Case
{
    const char* name;
    const char* input;
    const char* address; // RFC 5952's form
};

class Ipv6Texts : public testing::TestWithParam<Ipv6Case>
{ };

TEST_P(Ipv6Texts, AreWrittenInTheShortForm)
{
    const json result = IpJson({GetParam().input});
    EXPECT_EQ(Keys(result), kV6Keys);
    EXPECT_EQ(result["address"], GetParam().address);
    EXPECT_EQ(result["prefix"], 64);
    EXPECT_EQ(result["total"], "18446744073709551616");
    EXPECT_EQ(result["zone"], nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rfc5952, Ipv6Texts,
                         testing::Values(Ipv6Case {"LeadingZerosDropped", "2001:0db8::0001", "2001:db8::1"},
                                         Ipv6Case {"LongestRunShortened", "2001:db8:0:0:0:0:2:1", "2001:db8::2:1"},
                                         Ipv6Case {"OneZeroGroupKept", "2001:db8:0:1:1:1:1:1", "2001:db8:0:1:1:1:1:1"},
                                         Ipv6Case {"LongerRunWins", "2001:0:0:1:0:0:0:1", "2001:0:0:1::1"},
                                         Ipv6Case {"FirstRunOnATie", "2001:db8:0:0:1:0:0:1", "2001:db8::1:0:0:1"},
                                         Ipv6Case {"LowerCase", "2001:DB8::ABCD", "2001:db8::abcd"},
                                         Ipv6Case {"Ipv4Mapped", "::ffff:c000:0201", "::ffff:192.0.2.1"}),
                         RowName());

TEST(Ipv6Texts, ZoneAndPrefixStandApart)
{
    const json result = IpJson({"FE80::1%eth0/10"});
    EXPECT_EQ(result["zone"], "eth0");
    EXPECT_EQ(result["address"], "fe80::1");
    EXPECT_EQ(result["expanded"], "fe80:0000:0000:0000:0000:0000:0000:0001");
    EXPECT_EQ(result["network"], "fe80::");
    EXPECT_EQ(result["last"], "febf:ffff:ffff:ffff:ffff:ffff:ffff:ffff");
    EXPECT_EQ(result["type"], "link-local");
    EXPECT_EQ(result["global"], false);
    EXPECT_EQ(result["forwardable"], false);
}

// ---- Refused input --------------------------------------------------------------------------------------------

class IpBadUsage : public testing::TestWithParam<BadUsageCase>
{ };

TEST_P(IpBadUsage, IsRefused)
{
    ExpectBadUsage("ip", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Args, IpBadUsage,
                         testing::Values(BadUsageCase {"NoAddress", {}, "ADDRESS"},
                                         BadUsageCase {"TextAfterTheAddress", {"10.0.0.1x"}, "\"10.0.0.1x\""},
                                         BadUsageCase {"HugeOctet", {"1.2.3.99999999999"}, "\"1.2.3.99999999999\""},
                                         BadUsageCase {"Octet256", {"1.2.3.256"}, "above 255"},
                                         BadUsageCase {"LeadingZero", {"10.0.0.01"}, "leading zero"},
                                         BadUsageCase {"Sign", {"+1.2.3.4"}, "\"+1.2.3.4\""},
                                         BadUsageCase {"Blank", {"1.2.3.4 "}, "\"1.2.3.4 \""},
                                         BadUsageCase {"ThreeOctets", {"1.2.3"}, "\"1.2.3\""},
                                         BadUsageCase {"FiveOctets", {"1.2.3.4.5"}, "\"1.2.3.4.5\""},
                                         BadUsageCase {"EmptyOctet", {"1..3.4"}, "\"1..3.4\""},
                                         BadUsageCase {"Prefix33", {"1.2.3.4/33"}, "\"33\""},
                                         BadUsageCase {"Prefix129", {"::1", "129"}, "\"129\""},
                                         BadUsageCase {"MaskOnIpv6", {"::1", "255.255.0.0"}, "\"::1\""},
                                         BadUsageCase {"DoubleCompression", {"1::2::3"}, "\"1::2::3\""},
                                         BadUsageCase {"GroupOfFiveDigits", {"12345::"}, "\"12345::\""},
                                         BadUsageCase {"ShortEmbeddedIpv4", {"::ffff:1.2.3"}, "\"::ffff:1.2.3\""},
                                         BadUsageCase {"ZoneOnIpv4", {"10.0.0.1%eth0"}, "zone"},
                                         BadUsageCase {"PrefixLeadingZero", {"1.2.3.4/08"}, "\"08\""},
                                         BadUsageCase {"GappedMask", {"1.2.3.4", "255.0.255.0"}, "\"255.0.255.0\""},
                                         BadUsageCase {"PrefixTwice", {"1.2.3.4/24", "24"}, "twice"},
                                         BadUsageCase {"ThreeOperands", {"1.2.3.4", "24", "x"}, "\"x\""},
                                         BadUsageCase {"LongTextQuotedShortly", {std::string(5000, '7')}, "..."}),
                         RowName());

// ---- Batches --------------------------------------------------------------------------------------------------

TEST(IpBatch, BadLinesGiveErrorRecordsAndTheRestGoesOn)
{
    const std::string longLine(5000, 'x');
    const CliRun run
        = RunTarvelleCli({"ip", "--json", "-", "16"}, "10.1.2.3\r\nnot an address\n" + longLine + "\n\n 8.8.8.8/8 ");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Lines(run.err), std::vector<std::string> {"tarvelle-cli ip: 3 of 5 input lines are not addresses"});
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(Json(lines[0])["prefix"], 16);
    EXPECT_EQ(Json(lines[4])["breakdown"], "Net 8 Node 526344 of 16777214");
    for (const size_t bad : {1u, 2u, 3u}) {
        const json error = Json(lines[bad]);
        EXPECT_EQ(Keys(error), (std::set<std::string> {"input", "error"})) << lines[bad];
    }
    EXPECT_EQ(Json(lines[1])["input"], "not an address");
    EXPECT_EQ(Json(lines[2])["input"], std::string(40, 'x') + "...");
    EXPECT_LT(lines[2].size(), 300u);
}

TEST(IpBatch, FamiliesMixAndEachTakesItsOwnDefaultPrefix)
{
    const CliRun run = RunTarvelleCli({"ip", "-j", "-"}, "10.0.0.1\n2001:db8::1\n");
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Json(lines[0])["prefix"], 24);
    EXPECT_EQ(Json(lines[1])["prefix"], 64);
}

TEST(IpBatch, PlainLinesAreTabSeparated)
{
    const CliRun run = RunTarvelleCli({"ip", "-"}, "192.168.1.10\nbad\n");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("Address: 192.168.1.10\tPrefix: 24\tNetmask: 255.255.255.0\t")) << lines[0];
    EXPECT_NE(lines[0].find("\tType: private\tReachability: global no, forwardable yes\t"), std::string::npos);
    EXPECT_NE(lines[0].find("\tBreakdown: Local Subnet 1 of 256 Node 10 of 254\t"), std::string::npos);
    EXPECT_TRUE(lines[1].starts_with("error: line 2: the address \"bad\"")) << lines[1];
}

} // namespace
} // namespace tarvelle::test
