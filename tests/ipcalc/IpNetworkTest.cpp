#include "IpNetwork.h"
#include "IpTestHelpers.h"
#include "IpText.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <utility>

namespace tarvelle::ip {
namespace {

using tarvelle::test::PrintTo;
using test::Addr;
using test::Net;

// ---- Block summaries for both families and the edge prefixes ----

struct SummaryCase
{
    const char* name;
    const char* cidr;
    const char* network;
    const char* netmask;
    const char* wildcard;
    const char* broadcast; // "": none
    const char* first;
    const char* last;
    const char* lastAddress;
    const char* total;
    const char* usable;
};

class Summary : public testing::TestWithParam<SummaryCase>
{ };

TEST_P(Summary, BoundsAndCounts)
{
    const SummaryCase& c = GetParam();
    const NetworkSummary s = Summarise(Net(c.cidr));
    EXPECT_EQ(NetworkText(s.network), c.network);
    EXPECT_EQ(AddressText(s.netmask), c.netmask);
    EXPECT_EQ(AddressText(s.wildcard), c.wildcard);
    EXPECT_EQ(s.broadcast ? AddressText(*s.broadcast) : "", c.broadcast);
    EXPECT_EQ(AddressText(s.first), c.first);
    EXPECT_EQ(AddressText(s.last), c.last);
    EXPECT_EQ(AddressText(s.lastAddress), c.lastAddress);
    EXPECT_EQ(CountText(s.total), c.total);
    EXPECT_EQ(CountText(s.usable), c.usable);
}

constexpr const char* kOnes = "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff";

// clang-format off
const SummaryCase kSummaryCases[] = {
    {"V4_0", "192.0.2.1/0", "0.0.0.0/0", "0.0.0.0", "255.255.255.255", "255.255.255.255", "0.0.0.1",
     "255.255.255.254", "255.255.255.255", "4294967296", "4294967294"},
    {"V4_24", "192.168.1.10/24", "192.168.1.0/24", "255.255.255.0", "0.0.0.255", "192.168.1.255", "192.168.1.1",
     "192.168.1.254", "192.168.1.255", "256", "254"},
    {"V4_30", "130.5.1.1/30", "130.5.1.0/30", "255.255.255.252", "0.0.0.3", "130.5.1.3", "130.5.1.1", "130.5.1.2",
     "130.5.1.3", "4", "2"},
    // RFC 3021: both addresses of a /31 are hosts, neither is network nor broadcast.
    {"V4_31_Low", "10.1.1.0/31", "10.1.1.0/31", "255.255.255.254", "0.0.0.1", "", "10.1.1.0", "10.1.1.1",
     "10.1.1.1", "2", "2"},
    {"V4_31_High", "10.1.1.1/31", "10.1.1.0/31", "255.255.255.254", "0.0.0.1", "", "10.1.1.0", "10.1.1.1",
     "10.1.1.1", "2", "2"},
    {"V4_32", "192.0.2.7/32", "192.0.2.7/32", "255.255.255.255", "0.0.0.0", "", "192.0.2.7", "192.0.2.7",
     "192.0.2.7", "1", "1"},
    {"V6_64", "2001:db8::1/64", "2001:db8::/64", "ffff:ffff:ffff:ffff::", "::ffff:ffff:ffff:ffff", "",
     "2001:db8::", "2001:db8::ffff:ffff:ffff:ffff", "2001:db8::ffff:ffff:ffff:ffff", "18446744073709551616",
     "18446744073709551616"},
    {"V6_0", "2001:db8::1/0", "::/0", "::", kOnes, "", "::", kOnes, kOnes,
     "340282366920938463463374607431768211456", "340282366920938463463374607431768211456"},
    {"V6_128", "::1/128", "::1/128", kOnes, "::", "", "::1", "::1", "::1", "1", "1"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Prefixes, Summary, testing::ValuesIn(kSummaryCases), tarvelle::test::RowName());

// ---- Address types: the first and last address of every listed block, and its neighbours ----

struct TypeCase
{
    const char* name;
    const char* cidr;
    const char* type;
    const char* below; // "": none
    const char* above; // "": none
    const char* outsideType;
};

class Types : public testing::TestWithParam<TypeCase>
{ };

TEST_P(Types, BlockEdges)
{
    const TypeCase& c = GetParam();
    const IpNetwork block = Net(c.cidr);
    EXPECT_EQ(AddressType(block.base), c.type);
    EXPECT_EQ(AddressType(LastAddress(block)), c.type);
    for (const char* outside : {c.below, c.above}) {
        if (*outside) {
            EXPECT_EQ(AddressType(Addr(outside)), c.outsideType) << outside;
        }
    }
}

// clang-format off
const TypeCase kTypeCases[] = {
    {"ThisNetwork", "0.0.0.0/8", "this network", "", "1.0.0.0", "public"},
    {"Private10", "10.0.0.0/8", "private", "9.255.255.255", "11.0.0.0", "public"},
    {"Shared", "100.64.0.0/10", "shared", "100.63.255.255", "100.128.0.0", "public"},
    {"Loopback", "127.0.0.0/8", "loopback", "126.255.255.255", "128.0.0.0", "public"},
    {"LinkLocal", "169.254.0.0/16", "link-local", "169.253.255.255", "169.255.0.0", "public"},
    {"Private172", "172.16.0.0/12", "private", "172.15.255.255", "172.32.0.0", "public"},
    {"IetfProtocol", "192.0.0.0/24", "IETF protocol", "191.255.255.255", "192.0.1.0", "public"},
    {"TestNet1", "192.0.2.0/24", "documentation", "192.0.1.255", "192.0.3.0", "public"},
    {"Private192", "192.168.0.0/16", "private", "192.167.255.255", "192.169.0.0", "public"},
    {"Benchmarking", "198.18.0.0/15", "benchmarking", "198.17.255.255", "198.20.0.0", "public"},
    {"TestNet2", "198.51.100.0/24", "documentation", "198.51.99.255", "198.51.101.0", "public"},
    {"TestNet3", "203.0.113.0/24", "documentation", "203.0.112.255", "203.0.114.0", "public"},
    {"Multicast4", "224.0.0.0/4", "multicast", "223.255.255.255", "", "public"},
    {"Ipv4Mapped", "::ffff:0:0/96", "IPv4-mapped", "::fffe:ffff:ffff", "::1:0:0:0", "reserved"},
    {"GlobalUnicast", "2000::/3", "global unicast", "1fff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "4000::", "reserved"},
    {"Teredo", "2001::/32", "Teredo", "2000:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "2001:1::", "global unicast"},
    {"Documentation6", "2001:db8::/32", "documentation", "2001:db7:ffff:ffff:ffff:ffff:ffff:ffff", "2001:db9::",
     "global unicast"},
    {"SixToFour", "2002::/16", "6to4", "2001:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "2003::", "global unicast"},
    {"UniqueLocal", "fc00::/7", "unique local", "fbff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "fe00::", "reserved"},
    {"LinkLocal6", "fe80::/10", "link-local", "fe7f:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "fec0::", "reserved"},
    {"Multicast6", "ff00::/8", "multicast", "feff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "", "reserved"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Registry, Types, testing::ValuesIn(kTypeCases), tarvelle::test::RowName());

// Blocks whose edges touch blocks of different types: 240/4 lies between multicast and the limited
// broadcast address at its own end, :: and ::1 are single addresses side by side.
TEST(Types, EdgesBetweenListedBlocks)
{
    const std::pair<const char*, const char*> edges[] = {
        {"239.255.255.255", "multicast"},
        {"240.0.0.0", "reserved"},
        {"255.255.255.254", "reserved"},
        {"255.255.255.255", "limited broadcast"},
        {"::", "unspecified"},
        {"::1", "loopback"},
        {"::2", "reserved"},
    };
    for (const auto& [text, type] : edges)
        EXPECT_EQ(AddressType(Addr(text)), type) << text;
}

} // namespace
} // namespace tarvelle::ip
