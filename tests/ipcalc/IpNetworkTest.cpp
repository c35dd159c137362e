#include "IpNetwork.h"
#include "IpTestHelpers.h"
#include "IpText.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace tarvelle::ip {

// A failed comparison shows the type and flags as the command line's plain text does.
void PrintTo(const AddressKind& kind, std::ostream* os)
{
    const auto flag = [](std::optional<bool> f) { return f ? (*f ? "yes" : "no") : "n/a"; };
    *os << '"' << kind.type << "\" global " << flag(kind.global) << ", forwardable " << flag(kind.forwardable);
}

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

// ---- Address types: every registry entry's first and last address, and a neighbour outside it ----

constexpr std::optional<bool> kYes = true;
constexpr std::optional<bool> kNo = false;
constexpr std::optional<bool> kNa = std::nullopt;

struct TypeCase
{
    const char* name;
    const char* cidr;
    AddressKind kind;
    const char* outside; // next to the block, and the type it reads (a parent entry, a neighbour or the fallback)
    const char* outsideType;
    const char* nested = ""; // an edge of the block that a more specific entry takes (checked by that entry's row)
};

class Types : public testing::TestWithParam<TypeCase>
{ };

TEST_P(Types, BlockEdgesAndFlags)
{
    const TypeCase& c = GetParam();
    const IpNetwork block = Net(c.cidr);
    for (const IpAddress& edge : {block.base, LastAddress(block)}) {
        if (AddressText(edge) != c.nested) {
            EXPECT_EQ(AddressType(edge), c.kind) << AddressText(edge);
        }
    }
    EXPECT_EQ(AddressType(Addr(c.outside)).type, c.outsideType) << c.outside;
}

// The rows follow the IANA special-purpose registries' CSV files; the outside types were worked out by hand.
// clang-format off
const TypeCase kTypeCases[] = {
    {"ThisNetwork", "0.0.0.0/8", {"this network", kNo, kNo}, "1.0.0.0", "public", "0.0.0.0"},
    {"ThisHost", "0.0.0.0/32", {"this host on this network", kNo, kNo}, "0.0.0.1", "this network"},
    {"Private10", "10.0.0.0/8", {"private", kNo, kYes}, "9.255.255.255", "public"},
    {"Shared", "100.64.0.0/10", {"shared", kNo, kYes}, "100.128.0.0", "public"},
    {"Loopback", "127.0.0.0/8", {"loopback", kNo, kNo}, "128.0.0.0", "public"},
    {"LinkLocal", "169.254.0.0/16", {"link-local", kNo, kNo}, "169.253.255.255", "public"},
    {"Private172", "172.16.0.0/12", {"private", kNo, kYes}, "172.32.0.0", "public"},
    {"IetfProtocol", "192.0.0.0/24", {"ietf protocol assignments", kNo, kNo}, "192.0.1.0", "public", "192.0.0.0"},
    {"ServiceContinuity", "192.0.0.0/29", {"ipv4 service continuity prefix", kNo, kYes}, "192.0.0.8",
     "ipv4 dummy address"},
    {"DummyAddress", "192.0.0.8/32", {"ipv4 dummy address", kNo, kNo}, "192.0.0.7", "ipv4 service continuity prefix"},
    {"PcpAnycast", "192.0.0.9/32", {"pcp anycast", kYes, kYes}, "192.0.0.10", "turn anycast"},
    {"TurnAnycast", "192.0.0.10/32", {"turn anycast", kYes, kYes}, "192.0.0.11", "ietf protocol assignments"},
    {"Nat64Discovery", "192.0.0.170/31", {"nat64/dns64 discovery", kNo, kNo}, "192.0.0.169",
     "ietf protocol assignments"},
    {"TestNet1", "192.0.2.0/24", {"documentation", kNo, kNo}, "192.0.3.0", "public"},
    {"As112", "192.31.196.0/24", {"as112", kYes, kYes}, "192.31.197.0", "public"},
    {"Amt", "192.52.193.0/24", {"amt", kYes, kYes}, "192.52.192.255", "public"},
    {"SixToFourRelay", "192.88.99.0/24", {"deprecated 6to4 relay anycast", kNa, kNa}, "192.88.100.0", "public"},
    {"SixA44Relay", "192.88.99.2/32", {"6a44 relay anycast", kNo, kYes}, "192.88.99.3",
     "deprecated 6to4 relay anycast"},
    {"Private192", "192.168.0.0/16", {"private", kNo, kYes}, "192.169.0.0", "public"},
    {"As112Direct", "192.175.48.0/24", {"as112 direct delegation", kYes, kYes}, "192.175.47.255", "public"},
    {"Benchmarking", "198.18.0.0/15", {"benchmarking", kNo, kYes}, "198.20.0.0", "public"},
    {"TestNet2", "198.51.100.0/24", {"documentation", kNo, kNo}, "198.51.101.0", "public"},
    {"TestNet3", "203.0.113.0/24", {"documentation", kNo, kNo}, "203.0.112.255", "public"},
    {"Multicast4", "224.0.0.0/4", {"multicast", kNa, kNa}, "223.255.255.255", "public"},
    {"Reserved4", "240.0.0.0/4", {"reserved", kNo, kNo}, "239.255.255.255", "multicast", "255.255.255.255"},
    {"LimitedBroadcast", "255.255.255.255/32", {"limited broadcast", kNo, kNo}, "255.255.255.254", "reserved"},
    {"Public", "8.8.8.0/24", {"public", kYes, kYes}, "8.8.7.255", "public"},
    {"Unspecified", "::/128", {"unspecified", kNo, kNo}, "::1", "loopback"},
    {"Loopback6", "::1/128", {"loopback", kNo, kNo}, "::2", "reserved"},
    {"Ipv4Mapped", "::ffff:0:0/96", {"ipv4-mapped", kNo, kNo}, "::1:0:0:0", "reserved"},
    {"Nat64WellKnown", "64:ff9b::/96", {"nat64 well-known prefix", kYes, kYes}, "64:ff9b::1:0:0", "reserved"},
    {"Nat64LocalUse", "64:ff9b:1::/48", {"local-use translation prefix", kNo, kYes}, "64:ff9b:2::", "reserved"},
    {"DiscardOnly", "100::/64", {"discard-only", kNo, kYes}, "100:0:0:1::", "dummy ipv6 prefix"},
    {"DummyPrefix", "100:0:0:1::/64", {"dummy ipv6 prefix", kNo, kNo}, "100:0:0:2::", "reserved"},
    {"IetfProtocol6", "2001::/23", {"ietf protocol assignments", kNo, kNo}, "2001:200::", "global unicast", "2001::"},
    {"Teredo", "2001::/32", {"teredo", kNa, kYes}, "2001:1::", "ietf protocol assignments"},
    {"PcpAnycast6", "2001:1::1/128", {"pcp anycast", kYes, kYes}, "2001:1::", "ietf protocol assignments"},
    {"TurnAnycast6", "2001:1::2/128", {"turn anycast", kYes, kYes}, "2001:1::3", "dns-sd srp anycast"},
    {"SrpAnycast", "2001:1::3/128", {"dns-sd srp anycast", kYes, kYes}, "2001:1::4", "ietf protocol assignments"},
    {"Benchmarking6", "2001:2::/48", {"benchmarking", kNo, kYes}, "2001:2:1::", "ietf protocol assignments"},
    {"Amt6", "2001:3::/32", {"amt", kYes, kYes}, "2001:4::", "ietf protocol assignments"},
    {"As112v6", "2001:4:112::/48", {"as112", kYes, kYes}, "2001:4:113::", "ietf protocol assignments"},
    {"Orchid", "2001:10::/28", {"deprecated orchid", kNa, kNa}, "2001:f:ffff:ffff:ffff:ffff:ffff:ffff",
     "ietf protocol assignments"},
    {"OrchidV2", "2001:20::/28", {"orchidv2", kYes, kYes}, "2001:1f:ffff:ffff:ffff:ffff:ffff:ffff",
     "deprecated orchid"},
    {"DroneRemoteId", "2001:30::/28", {"drone remote id", kYes, kYes}, "2001:40::", "ietf protocol assignments"},
    {"Documentation6", "2001:db8::/32", {"documentation", kNo, kNo}, "2001:db9::", "global unicast"},
    {"SixToFour", "2002::/16", {"6to4", kNa, kYes}, "2003::", "global unicast"},
    {"As112Direct6", "2620:4f:8000::/48", {"as112 direct delegation", kYes, kYes}, "2620:4f:8001::", "global unicast"},
    {"Documentation3fff", "3fff::/20", {"documentation", kNo, kNo}, "3fff:1000::", "global unicast"},
    {"Srv6Sids", "5f00::/16", {"srv6 sids", kNo, kYes}, "5f01::", "reserved"},
    {"UniqueLocal", "fc00::/7", {"unique local", kNo, kYes}, "fe00::", "reserved"},
    {"LinkLocal6", "fe80::/10", {"link-local", kNo, kNo}, "fec0::", "reserved"},
    {"Multicast6", "ff00::/8", {"multicast", kNa, kNa}, "feff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "reserved"},
    {"GlobalUnicast", "2000::/3", {"global unicast", kYes, kYes}, "4000::", "reserved"},
    {"Unallocated", "1000::/4", {"reserved", kNa, kNa}, "2000::", "global unicast"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Registry, Types, testing::ValuesIn(kTypeCases), tarvelle::test::RowName());

} // namespace
} // namespace tarvelle::ip
