#include "IpNetwork.h"

#include <array>

namespace tarvelle::ip {
namespace {

struct TypedBlock
{
    IpFamily family;
    Uint128 base;
    int prefix;
    std::string_view text;
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

constexpr Uint128 kIpv4MappedBase = Uint128 {0xFFFF} << 32;

// Nested blocks are listed too (Teredo and documentation inside global unicast, limited broadcast inside
// reserved); the lookup keeps the longest prefix that holds the address.
constexpr std::array<TypedBlock, 25> kTypedBlocks {{
    {IpFamily::V4, V4(0, 0, 0, 0), 8, "this network"},
    {IpFamily::V4, V4(10, 0, 0, 0), 8, "private"},
    {IpFamily::V4, V4(100, 64, 0, 0), 10, "shared"},
    {IpFamily::V4, V4(127, 0, 0, 0), 8, "loopback"},
    {IpFamily::V4, V4(169, 254, 0, 0), 16, "link-local"},
    {IpFamily::V4, V4(172, 16, 0, 0), 12, "private"},
    {IpFamily::V4, V4(192, 0, 0, 0), 24, "IETF protocol"},
    {IpFamily::V4, V4(192, 0, 2, 0), 24, "documentation"},
    {IpFamily::V4, V4(192, 168, 0, 0), 16, "private"},
    {IpFamily::V4, V4(198, 18, 0, 0), 15, "benchmarking"},
    {IpFamily::V4, V4(198, 51, 100, 0), 24, "documentation"},
    {IpFamily::V4, V4(203, 0, 113, 0), 24, "documentation"},
    {IpFamily::V4, V4(224, 0, 0, 0), 4, "multicast"},
    {IpFamily::V4, V4(240, 0, 0, 0), 4, "reserved"},
    {IpFamily::V4, V4(255, 255, 255, 255), 32, "limited broadcast"},
    {IpFamily::V6, 0, 128, "unspecified"},
    {IpFamily::V6, 1, 128, "loopback"},
    {IpFamily::V6, kIpv4MappedBase, 96, "IPv4-mapped"},
    {IpFamily::V6, V6(0x2000), 3, "global unicast"},
    {IpFamily::V6, V6(0x2001), 32, "Teredo"},
    {IpFamily::V6, V6(0x2001, 0x0DB8), 32, "documentation"},
    {IpFamily::V6, V6(0x2002), 16, "6to4"},
    {IpFamily::V6, V6(0xFC00), 7, "unique local"},
    {IpFamily::V6, V6(0xFE80), 10, "link-local"},
    {IpFamily::V6, V6(0xFF00), 8, "multicast"},
}};

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

std::string_view AddressType(const IpAddress& address)
{
    const TypedBlock* best = nullptr;
    for (const TypedBlock& block : kTypedBlocks) {
        const bool holds
            = block.family == address.family && (address.value & PrefixMask(block.family, block.prefix)) == block.base;
        if (holds && (best == nullptr || block.prefix > best->prefix))
            best = &block;
    }
    if (best != nullptr)
        return best->text;
    return address.family == IpFamily::V4 ? "public" : "reserved";
}

} // namespace tarvelle::ip
