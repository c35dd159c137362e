#include "IpNetwork.h"
#include "IpTestHelpers.h"
#include "IpText.h"
#include "RowName.h"

#include <gtest/gtest.h>

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
    {"V4_31_Top", "255.255.255.255/31", "255.255.255.254/31", "255.255.255.254", "0.0.0.1", "", "255.255.255.254",
     "255.255.255.255", "255.255.255.255", "2", "2"},
    {"V4_32", "192.0.2.7/32", "192.0.2.7/32", "255.255.255.255", "0.0.0.0", "", "192.0.2.7", "192.0.2.7",
     "192.0.2.7", "1", "1"},
    {"V6_64", "2001:db8::1/64", "2001:db8::/64", "ffff:ffff:ffff:ffff::", "::ffff:ffff:ffff:ffff", "",
     "2001:db8::", "2001:db8::ffff:ffff:ffff:ffff", "2001:db8::ffff:ffff:ffff:ffff", "18446744073709551616",
     "18446744073709551616"},
    {"V6_0", "2001:db8::1/0", "::/0", "::", kOnes, "", "::", kOnes, kOnes,
     "340282366920938463463374607431768211456", "340282366920938463463374607431768211456"},
    {"V6_127", "2001:db8::1/127", "2001:db8::/127", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe", "::1", "",
     "2001:db8::", "2001:db8::1", "2001:db8::1", "2", "2"},
    {"V6_128", "::1/128", "::1/128", kOnes, "::", "", "::1", "::1", "::1", "1", "1"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Prefixes, Summary, testing::ValuesIn(kSummaryCases), tarvelle::test::RowName());

// ---- Address types: the first and last address of every listed block, and its neighbours ----

struct TypeCase
{
    const char* name;
    const char* type;
    const char* first;
    const char* last;
    const char* below; // "": none
    const char* belowType;
    const char* above; // "": none
    const char* aboveType;
};

class Types : public testing::TestWithParam<TypeCase>
{ };

TEST_P(Types, BlockEdges)
{
    const TypeCase& c = GetParam();
    EXPECT_EQ(AddressType(Addr(c.first)), c.type) << c.first;
    EXPECT_EQ(AddressType(Addr(c.last)), c.type) << c.last;
    if (*c.below) {
        EXPECT_EQ(AddressType(Addr(c.below)), c.belowType) << c.below;
    }
    if (*c.above) {
        EXPECT_EQ(AddressType(Addr(c.above)), c.aboveType) << c.above;
    }
}

// clang-format off
const TypeCase kTypeCases[] = {
    {"ThisNetwork", "this network", "0.0.0.0", "0.255.255.255", "", "", "1.0.0.0", "public"},
    {"Private10", "private", "10.0.0.0", "10.255.255.255", "9.255.255.255", "public", "11.0.0.0", "public"},
    {"Shared", "shared", "100.64.0.0", "100.127.255.255", "100.63.255.255", "public", "100.128.0.0", "public"},
    {"Loopback", "loopback", "127.0.0.0", "127.255.255.255", "126.255.255.255", "public", "128.0.0.0", "public"},
    {"LinkLocal", "link-local", "169.254.0.0", "169.254.255.255", "169.253.255.255", "public", "169.255.0.0",
     "public"},
    {"Private172", "private", "172.16.0.0", "172.31.255.255", "172.15.255.255", "public", "172.32.0.0", "public"},
    {"IetfProtocol", "IETF protocol", "192.0.0.0", "192.0.0.255", "191.255.255.255", "public", "192.0.1.0",
     "public"},
    {"TestNet1", "documentation", "192.0.2.0", "192.0.2.255", "192.0.1.255", "public", "192.0.3.0", "public"},
    {"Private192", "private", "192.168.0.0", "192.168.255.255", "192.167.255.255", "public", "192.169.0.0",
     "public"},
    {"Benchmarking", "benchmarking", "198.18.0.0", "198.19.255.255", "198.17.255.255", "public", "198.20.0.0",
     "public"},
    {"TestNet2", "documentation", "198.51.100.0", "198.51.100.255", "198.51.99.255", "public", "198.51.101.0",
     "public"},
    {"TestNet3", "documentation", "203.0.113.0", "203.0.113.255", "203.0.112.255", "public", "203.0.114.0",
     "public"},
    {"Multicast4", "multicast", "224.0.0.0", "239.255.255.255", "223.255.255.255", "public", "240.0.0.0",
     "reserved"},
    {"Reserved4", "reserved", "240.0.0.0", "255.255.255.254", "", "", "255.255.255.255", "limited broadcast"},
    {"LimitedBroadcast", "limited broadcast", "255.255.255.255", "255.255.255.255", "255.255.255.254", "reserved",
     "", ""},
    {"Unspecified", "unspecified", "::", "::", "", "", "::1", "loopback"},
    {"Loopback6", "loopback", "::1", "::1", "::", "unspecified", "::2", "reserved"},
    {"Ipv4Mapped", "IPv4-mapped", "::ffff:0.0.0.0", "::ffff:255.255.255.255", "::fffe:ffff:ffff", "reserved",
     "::1:0:0:0", "reserved"},
    {"GlobalUnicast", "global unicast", "2000::", "3fff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
     "1fff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "reserved", "4000::", "reserved"},
    {"Teredo", "Teredo", "2001::", "2001:0:ffff:ffff:ffff:ffff:ffff:ffff", "2000:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
     "global unicast", "2001:1::", "global unicast"},
    {"Documentation6", "documentation", "2001:db8::", "2001:db8:ffff:ffff:ffff:ffff:ffff:ffff",
     "2001:db7:ffff:ffff:ffff:ffff:ffff:ffff", "global unicast", "2001:db9::", "global unicast"},
    {"SixToFour", "6to4", "2002::", "2002:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
     "2001:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "global unicast", "2003::", "global unicast"},
    {"UniqueLocal", "unique local", "fc00::", "fdff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
     "fbff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "reserved", "fe00::", "reserved"},
    {"LinkLocal6", "link-local", "fe80::", "febf:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
     "fe7f:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "reserved", "fec0::", "reserved"},
    {"Multicast6", "multicast", "ff00::", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
     "feff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "reserved", "", ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Registry, Types, testing::ValuesIn(kTypeCases), tarvelle::test::RowName());

} // namespace
} // namespace tarvelle::ip
