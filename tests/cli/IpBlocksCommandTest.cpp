#include "CliRun.h"
#include "IpAddress.h"
#include "IpText.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvelle::test {
namespace {

using nlohmann::json;

// ---- Refused input --------------------------------------------------------------------------------------------

struct SubcommandBadCase
{
    const char* name;
    const char* command;
    BadUsageCase bad;
};

class IpBlocksBadUsage : public testing::TestWithParam<SubcommandBadCase>
{ };

TEST_P(IpBlocksBadUsage, IsRefused)
{
    ExpectBadUsage(GetParam().command, GetParam().bad);
}

INSTANTIATE_TEST_SUITE_P(
    Args, IpBlocksBadUsage,
    testing::Values(
        SubcommandBadCase {"RangeEndsBeforeItStarts", "ip range", {"", {"10.0.0.9-10.0.0.1"}, "ends before"}},
        SubcommandBadCase {"RangeMixesFamilies", "ip range", {"", {"10.0.0.1", "::1"}, "mixed"}},
        SubcommandBadCase {"RangeWithAZone", "ip range", {"", {"fe80::1%eth0-fe80::9"}, "zone"}},
        SubcommandBadCase {"SplitOverTheLimit", "ip split", {"", {"10.0.0.0/8", "--prefix", "30"}, "--all"}},
        SubcommandBadCase {"SplitWithoutASize", "ip split", {"", {"10.0.0.0/8"}, "--prefix or --count"}},
        SubcommandBadCase {"SplitLimitAndAll", "ip split", {"", {"10.0.0.0/8", "-p", "9", "-l", "1", "--all"}, "both"}},
        SubcommandBadCase {"SplitShorterPrefix", "ip split", {"", {"10.0.0.0/16", "--prefix", "8"}, "shorter"}},
        SubcommandBadCase {"SplitTooManySubnets", "ip split", {"", {"10.0.0.0/30", "--count", "5"}, "that many"}},
        SubcommandBadCase {"MergeBadArgument", "ip merge", {"", {"10.0.0.0/8", "10.0.0.256"}, "\"10.0.0.256\""}}),
    RowName());

// ---- Round trips: what split and range print merges back into what they were given -------------------------

std::vector<std::string> OutputLines(const cli::Args& args, const std::string& input = "")
{
    const CliRun run = RunTarvelleCli(args, input);
    EXPECT_EQ(run.code, 0) << run.err;
    return Lines(run.out);
}

struct RoundTripCase
{
    const char* name;
    cli::Args args; // a split or a range
    std::string merged; // what merging its output gives; empty: its output itself
    size_t lines; // how many lines it prints
};

class IpBlocksRoundTrip : public testing::TestWithParam<RoundTripCase>
{ };

TEST_P(IpBlocksRoundTrip, MergesBack)
{
    const bool split = GetParam().args[1] == "split";
    const std::vector<std::string> plain = OutputLines(GetParam().args);
    ASSERT_EQ(plain.size(), GetParam().lines);
    std::string networks;
    for (const std::string& line : plain)
        networks += line.substr(0, line.find('\t')) + "\n";
    // A range's blocks are already the fewest: merging leaves them as they are.
    const std::vector<std::string> merged
        = GetParam().merged.empty() ? plain : std::vector<std::string> {GetParam().merged};
    EXPECT_EQ(OutputLines({"ip", "merge", "-"}, networks), merged);

    // The JSON form lists the same blocks; a split's subnets are the ones the engine walks, in order.
    cli::Args withJson = GetParam().args;
    withJson.push_back("-j");
    const std::vector<std::string> objects = OutputLines(withJson);
    ASSERT_EQ(objects.size(), plain.size());
    for (size_t k = 0; k < objects.size(); ++k) {
        const json block = Json(objects[k]);
        const std::set<std::string> keys = split
            ? std::set<std::string> {"network", "prefix", "first", "last", "usable"}
            : std::set<std::string> {"network", "prefix"};
        EXPECT_EQ(Keys(block), keys);
        const std::string cidr = block["network"].get<std::string>() + "/" + std::to_string(block["prefix"].get<int>());
        EXPECT_EQ(plain[k].substr(0, plain[k].find('\t')), cidr);
        const ip::IpResult<ip::ParsedCidr> parsed = ip::ParseCidr(cidr);
        ASSERT_TRUE(parsed) << cidr;
        EXPECT_EQ(ip::NetworkText(ip::NetworkOf(parsed->address, *parsed->prefix)), cidr) << "not a block's base";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, IpBlocksRoundTrip,
    testing::Values(
        RoundTripCase {"SplitIpv4", {"ip", "split", "10.0.4.0/22", "--prefix", "24"}, "10.0.4.0/22", 4},
        RoundTripCase {"SplitHostBitsSet", {"ip", "split", "10.0.5.9/22", "-p", "/26"}, "10.0.4.0/22", 16},
        RoundTripCase {"SplitIntoHosts", {"ip", "split", "192.0.2.8/30", "--count", "3"}, "192.0.2.8/30", 4},
        RoundTripCase {"SplitIpv6", {"ip", "split", "2001:db8::/48", "--prefix", "52"}, "2001:db8::/48", 16},
        RoundTripCase {
            "SplitLimited", {"ip", "split", "10.0.0.0/8", "--prefix", "24", "--limit", "2"}, "10.0.0.0/23", 2},
        RoundTripCase {"RangeIpv4", {"ip", "range", "10.0.0.5-10.0.0.77"}, "", 8},
        RoundTripCase {"RangeWholeIpv6", {"ip", "range", "::", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"}, "::/0", 1},
        RoundTripCase {"RangeIpv6", {"ip", "range", "2001:db8::1", "2001:db8::2"}, "", 2}),
    RowName());

TEST(IpMerge, KeepsFamiliesApartAndReportsBadLines)
{
    const CliRun run = RunTarvelleCli({"ip", "merge", "-"},
                                      "2001:db8::/33\n10.0.0.128/25\nnot a network\n2001:db8:8000::/33\n10.0.0.0/25\n");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Lines(run.out), (std::vector<std::string> {"10.0.0.0/24", "2001:db8::/32"}));
    const std::vector<std::string> errors = Lines(run.err);
    ASSERT_EQ(errors.size(), 2u) << run.err;
    EXPECT_TRUE(errors[0].starts_with("tarvelle-cli ip merge: line 3: ")) << errors[0];
}

TEST(IpSplit, StopsAtTheFirstFailedWrite)
{
    cli::StringSource in("");
    cli::StringSink out;
    out.room = 100000;
    cli::StringSink err;
    const int code = cli::RunCli({"ip", "split", "::/0", "--prefix", "128", "--all"}, in, out, err);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Lines(err.text).size(), 1u) << err.text;
}

} // namespace
} // namespace tarvelle::test
