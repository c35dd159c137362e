// The IPv4 subnet texts: the IP Calculator page's computation and the texts the command line shares with it.
//
// ComputeSubnet takes the four octet box texts and the prefix list's item index and returns every text the
// page shows, plus the corrections the page must write back into out-of-range octet boxes. It keeps no state
// and touches no control; IpPageModel::CalcSubnet calls it once per recomputation. The texts themselves are
// written by the Append functions below, into a caller's buffer: ComputeSubnet calls them for the page, and the
// command line calls them for every IPv4 answer, so that `ip -` writes a line without a heap allocation. Two
// rule sets meet here: the prefix gives mask, network and broadcast addresses, range and counts (through
// ip::Summarise, which also holds the /31 and /32 rule); the classful rules (classes A/B/C and the three local
// blocks) give the class and the breakdown.
#pragma once

#include "IpNetwork.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelle {

/// Number of prefix lengths offered, /8 to /30; a prefix index runs from 0 to PrefixCount - 1.
inline constexpr int PrefixCount = 23;

struct TSubnetResult
{
    std::array<int, 4> OctetValues {}; // octet 1 first, each 0..255
    std::array<std::optional<std::string>, 4> OctetCorrections {}; // "0" or "255" where a box must change
    std::string IPBinaryText; // the address in binary, or the binary breakdown
    std::string SNBinaryText; // the mask in binary
    std::string ReservedText; // the reserved (network) address, dotted
    std::string BroadcastText; // the broadcast address, dotted
    std::string RangeText; // the usable range
    std::string AddressesText; // total and usable address counts
    std::string ClassText; // the address class
    std::string BreakdownText; // the decimal breakdown, or a message
};

/// What the classful rules say about an address. NetBits is empty only for 255.255.255.255.
struct AddressClass
{
    std::string_view ClassText;
    std::optional<int> NetBits;
    bool IsLocal = false;
};

/// Whether the page offers the prefix length, and so whether an address has a breakdown at it: /8 to /30.
constexpr bool IsPagePrefix(int prefix)
{
    return prefix >= 8 && prefix <= 30;
}

/// 1 doubled n times; 1 for n <= 0. Meaningful for n up to 63.
uint64_t PowerOfTwo(int n);

/// Prefix length (8..30) for a prefix index; an index outside 0..22 is clamped into it first.
int PrefixLengthForIndex(int prefixIndex);

/// The four octets of an IPv4 value, octet 1 (the top byte) first.
std::array<int, 4> OctetsOf(uint32_t address);

/// The class rules, tested in order; the first match wins.
AddressClass ClassifyAddress(const std::array<int, 4>& octets);

/// Appends an IPv4 value as four groups of eight binary digits, e.g. "11111111 11111111 11111111 00000000".
void AppendBinaryGroups(std::string& out, uint32_t value);

/// Appends the usable range of an IPv4 block, "first - last".
void AppendRange(std::string& out, const ip::NetworkSummary& block);

/// Appends the counts of an IPv4 block, "256 Total, 254 Usable (253 + Gateway)": one usable address counted
/// as the gateway. A block without a broadcast address (/31, /32) has no gateway piece: "2 Total, 2 Usable".
void AppendAddressCounts(std::string& out, const ip::NetworkSummary& block);

/// Appends the decimal breakdown of an address at a page prefix (/8 to /30), such as "Net 13107458 Node 3 of
/// 254", or the message shown instead when the class has no breakdown at that prefix. True when a breakdown
/// was built; only then does AppendBinaryBreakdown have a text.
bool AppendBreakdown(std::string& out, uint32_t address, int prefix);

/// Appends the binary breakdown, such as "Net 110010000000000100000010 Node 00000011", of an address and page
/// prefix for which AppendBreakdown built a breakdown.
void AppendBinaryBreakdown(std::string& out, uint32_t address, int prefix);

/// Every result text for four octet texts (octet 1 first) and a prefix index; never fails.
TSubnetResult ComputeSubnet(const std::array<std::string, 4>& octets, int prefixIndex);

} // namespace tarvelle
