#include "IpNetwork.h"

namespace tarvelle::ip {
namespace {

struct TypedBlock
{
    IpFamily family;
    Uint128 base;
    int prefix;
    AddressKind kind;
};

constexpr Uint128 V4(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    return Uint128 {a << 24 | b << 16 | c << 8 | d};
}

// An IPv6 address from its first four groups, the rest zero, or (`tail`) from its last 32 bits.
constexpr Uint128 V6(uint16_t g0, uint16_t g1 = 0, uint16_t g2 = 0, uint16_t g3 = 0, uint32_t tail = 0)
{
    return Uint128 {g0} << 112 | Uint128 {g1} << 96 | Uint128 {g2} << 80 | Uint128 {g3} << 64 | tail;
}

constexpr IpFamily k4 = IpFamily::V4;
constexpr IpFamily k6 = IpFamily::V6;
// The registries' "N/A", and the blanks of a deprecated entry.
constexpr std::nullopt_t kNone = std::nullopt;

// The IANA IPv4 and IPv6 Special-Purpose Address Registries (RFC 6890 and the RFCs that add to them) as
// published at the end of 2025, each row {type, Globally Reachable, Forwardable}, then the multicast and
// global unicast blocks of the address-space registries, which the special-purpose ones leave out. Nested
// blocks are listed too; the lookup keeps the longest prefix that holds the address.
constexpr TypedBlock kTypedBlocks[] = {
    {k4, V4(0, 0, 0, 0), 8, {"this network", false, false}}, // RFC 791 section 3.2
    {k4, V4(0, 0, 0, 0), 32, {"this host on this network", false, false}}, // RFC 1122 section 3.2.1.3
    {k4, V4(10, 0, 0, 0), 8, {"private", false, true}}, // RFC 1918
    {k4, V4(100, 64, 0, 0), 10, {"shared", false, true}}, // RFC 6598
    {k4, V4(127, 0, 0, 0), 8, {"loopback", false, false}}, // RFC 1122 section 3.2.1.3
    {k4, V4(169, 254, 0, 0), 16, {"link-local", false, false}}, // RFC 3927
    {k4, V4(172, 16, 0, 0), 12, {"private", false, true}}, // RFC 1918
    {k4, V4(192, 0, 0, 0), 24, {"ietf protocol assignments", false, false}}, // RFC 6890 section 2.1
    {k4, V4(192, 0, 0, 0), 29, {"ipv4 service continuity prefix", false, true}}, // RFC 7335 (DS-Lite, RFC 6333)
    {k4, V4(192, 0, 0, 8), 32, {"ipv4 dummy address", false, false}}, // RFC 7600
    {k4, V4(192, 0, 0, 9), 32, {"pcp anycast", true, true}}, // RFC 7723
    {k4, V4(192, 0, 0, 10), 32, {"turn anycast", true, true}}, // RFC 8155
    {k4, V4(192, 0, 0, 170), 31, {"nat64/dns64 discovery", false, false}}, // RFC 8880, RFC 7050 section 2.2
    {k4, V4(192, 0, 2, 0), 24, {"documentation", false, false}}, // RFC 5737 (TEST-NET-1)
    {k4, V4(192, 31, 196, 0), 24, {"as112", true, true}}, // RFC 7535
    {k4, V4(192, 52, 193, 0), 24, {"amt", true, true}}, // RFC 7450
    {k4, V4(192, 88, 99, 0), 24, {"deprecated 6to4 relay anycast", kNone, kNone}}, // RFC 7526
    {k4, V4(192, 88, 99, 2), 32, {"6a44 relay anycast", false, true}}, // RFC 6751
    {k4, V4(192, 168, 0, 0), 16, {"private", false, true}}, // RFC 1918
    {k4, V4(192, 175, 48, 0), 24, {"as112 direct delegation", true, true}}, // RFC 7534
    {k4, V4(198, 18, 0, 0), 15, {"benchmarking", false, true}}, // RFC 2544
    {k4, V4(198, 51, 100, 0), 24, {"documentation", false, false}}, // RFC 5737 (TEST-NET-2)
    {k4, V4(203, 0, 113, 0), 24, {"documentation", false, false}}, // RFC 5737 (TEST-NET-3)
    {k4, V4(240, 0, 0, 0), 4, {"reserved", false, false}}, // RFC 1112 section 4
    {k4, V4(255, 255, 255, 255), 32, {"limited broadcast", false, false}}, // RFC 8190, RFC 919 section 7
    {k6, 1, 128, {"loopback", false, false}}, // RFC 4291
    {k6, 0, 128, {"unspecified", false, false}}, // RFC 4291
    {k6, V6(0, 0, 0, 0, 0xFFFF) << 32, 96, {"ipv4-mapped", false, false}}, // RFC 4291
    {k6, V6(0x64, 0xFF9B), 96, {"nat64 well-known prefix", true, true}}, // RFC 6052
    {k6, V6(0x64, 0xFF9B, 1), 48, {"local-use translation prefix", false, true}}, // RFC 8215
    {k6, V6(0x100), 64, {"discard-only", false, true}}, // RFC 6666
    {k6, V6(0x100, 0, 0, 1), 64, {"dummy ipv6 prefix", false, false}}, // RFC 9780
    {k6, V6(0x2001), 23, {"ietf protocol assignments", false, false}}, // RFC 2928
    {k6, V6(0x2001), 32, {"teredo", kNone, true}}, // RFC 4380, RFC 8190
    {k6, V6(0x2001, 1, 0, 0, 1), 128, {"pcp anycast", true, true}}, // RFC 7723
    {k6, V6(0x2001, 1, 0, 0, 2), 128, {"turn anycast", true, true}}, // RFC 8155
    {k6, V6(0x2001, 1, 0, 0, 3), 128, {"dns-sd srp anycast", true, true}}, // RFC 9665
    {k6, V6(0x2001, 2), 48, {"benchmarking", false, true}}, // RFC 5180, erratum 1752
    {k6, V6(0x2001, 3), 32, {"amt", true, true}}, // RFC 7450
    {k6, V6(0x2001, 4, 0x112), 48, {"as112", true, true}}, // RFC 7535
    {k6, V6(0x2001, 0x10), 28, {"deprecated orchid", kNone, kNone}}, // RFC 4843
    {k6, V6(0x2001, 0x20), 28, {"orchidv2", true, true}}, // RFC 7343
    {k6, V6(0x2001, 0x30), 28, {"drone remote id", true, true}}, // RFC 9374
    {k6, V6(0x2001, 0xDB8), 32, {"documentation", false, false}}, // RFC 3849
    {k6, V6(0x2002), 16, {"6to4", kNone, true}}, // RFC 3056
    {k6, V6(0x2620, 0x4F, 0x8000), 48, {"as112 direct delegation", true, true}}, // RFC 7534
    {k6, V6(0x3FFF), 20, {"documentation", false, false}}, // RFC 9637
    {k6, V6(0x5F00), 16, {"srv6 sids", false, true}}, // RFC 9602
    {k6, V6(0xFC00), 7, {"unique local", false, true}}, // RFC 4193, RFC 8190
    {k6, V6(0xFE80), 10, {"link-local", false, false}}, // RFC 4291
    // Not special-purpose entries: the multicast blocks, whose reach is each group's scope (so no flags), and the
    // unicast space allocated for global use.
    {k4, V4(224, 0, 0, 0), 4, {"multicast", kNone, kNone}}, // RFC 5771
    {k6, V6(0xFF00), 8, {"multicast", kNone, kNone}}, // RFC 4291
    {k6, V6(0x2000), 3, {"global unicast", true, true}}, // RFC 4291, RFC 3587
};

// Outside every block: IPv4 unicast space allocated for global use, and IPv6 space not allocated at all.
constexpr AddressKind kPublic {"public", true, true};
constexpr AddressKind kUnallocated {"reserved", kNone, kNone};

} // namespace

NetworkSummary Summarise(const IpNetwork& block)
{
    const IpNetwork network = NetworkOf(block.base, block.prefix);
    const IpFamily family = network.base.family;
    NetworkSummary s;
    s.network = network;
    s.netmask = {PrefixMask(family, network.prefix), family};
    s.wildcard = {HostMask(family, network.prefix), family};
    s.lastAddress = LastAddress(network);
    s.first = network.base;
    s.last = s.lastAddress;
    const int hostBits = AddressBits(family) - network.prefix;
    s.total = PowerOfTwoCount(hostBits);
    s.usable = s.total;
    // IPv4 blocks of four or more addresses keep their first and last address as network and broadcast.
    if (family == IpFamily::V4 && hostBits >= 2) {
        s.broadcast = s.lastAddress;
        ++s.first.value;
        --s.last.value;
        s.usable.minusOne -= 2;
    }
    return s;
}

AddressKind AddressType(const IpAddress& address)
{
    const TypedBlock* best = nullptr;
    for (const TypedBlock& block : kTypedBlocks) {
        const bool holds
            = block.family == address.family && (address.value & PrefixMask(block.family, block.prefix)) == block.base;
        if (holds && (best == nullptr || block.prefix > best->prefix))
            best = &block;
    }
    if (best != nullptr)
        return best->kind;
    return address.family == IpFamily::V4 ? kPublic : kUnallocated;
}

} // namespace tarvelle::ip
