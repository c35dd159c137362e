#include "Commands.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarvelle::cli {
namespace {

using tarvelle::test::PrintTo;

struct CommandRun
{
    int code;
    std::string out;
    std::string err;
};

CommandRun RunIp(const Args& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunIpCommand(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(IpCommand, PrefixFormPrintsEveryResult)
{
    const CommandRun r = RunIp({"192.168.1.10/24"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "Address:                192.168.1.10 /24\n"
              "Subnet Mask:            255.255.255.0\n"
              "Address Class:          Local (/16 Network)\n"
              "Reserved Address:       192.168.1.0\n"
              "Broadcast Address:      192.168.1.255\n"
              "Usable Range:           192.168.1.1 - 192.168.1.254\n"
              "Available Addresses:    256 Total, 254 Usable (253 + Gateway)\n"
              "Decimal Breakdown:      Local Subnet 1 of 256 Node 10 of 254\n"
              "Binary Representation:  Subnet 00000001 Node 00001010\n"
              "Subnet Mask Binary:     11111111 11111111 11111111 00000000\n");
}

TEST(IpCommand, MaskFormMatchesPrefixForm)
{
    for (const auto& [prefix, mask] :
         {std::pair {"8", "255.0.0.0"}, std::pair {"16", "255.255.0.0"}, std::pair {"30", "255.255.255.252"}}) {
        const CommandRun byPrefix = RunIp({std::string("130.5.1.1/") + prefix});
        const CommandRun byMask = RunIp({"130.5.1.1", mask});
        EXPECT_EQ(byPrefix.code, 0);
        EXPECT_EQ(byMask.code, 0);
        EXPECT_EQ(byPrefix.out, byMask.out) << mask;
    }
}

TEST(IpCommand, HelpGoesToStandardOutput)
{
    const CommandRun r = RunIp({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("usage: tarvelle-cli ip"), std::string::npos);
}

struct BadUsage
{
    const char* name;
    Args args;
};

class IpCommandRefuses : public testing::TestWithParam<BadUsage>
{ };

TEST_P(IpCommandRefuses, WithExitCode2AndAMessage)
{
    const CommandRun r = RunIp(GetParam().args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}

const BadUsage kBadUsages[] = {
    {"NoArguments", {}},
    {"NoPrefixOrMask", {"10.0.0.1"}},
    {"TooManyArguments", {"10.0.0.1", "255.0.0.0", "x"}},
    {"PrefixBelow8", {"10.0.0.1/7"}},
    {"Prefix31", {"10.0.0.1/31"}},
    {"Prefix32", {"10.0.0.1/32"}},
    {"PrefixNotANumber", {"10.0.0.1/x"}},
    {"PrefixEmpty", {"10.0.0.1/"}},
    {"PrefixSigned", {"10.0.0.1/+24"}},
    {"PrefixHuge", {"10.0.0.1/99999999999999999999"}},
    {"MaskAllOnes", {"10.0.0.1", "255.255.255.254"}},
    {"MaskNotContiguous", {"10.0.0.1", "255.0.255.0"}},
    {"MaskTooShort", {"10.0.0.1", "254.0.0.0"}},
    {"MaskWithBlank", {"10.0.0.1", "255.0.0.0 "}},
    {"OctetAbove255", {"256.1.1.1/24"}},
    {"ThreeOctets", {"1.2.3/24"}},
    {"FiveOctets", {"1.2.3.4.5/24"}},
    {"EmptyOctet", {"1..3.4/24"}},
    {"NegativeOctet", {"-1.2.3.4/24"}},
    {"LongOctet", {"0001.2.3.4/24"}},
    {"Letters", {"a.b.c.d", "255.0.0.0"}},
};

INSTANTIATE_TEST_SUITE_P(BadUsages, IpCommandRefuses, testing::ValuesIn(kBadUsages), test::RowName());

} // namespace
} // namespace tarvelle::cli
