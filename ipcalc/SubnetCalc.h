// The subnet computation behind the IP Calculator page.
//
// ComputeSubnet takes the four octet box texts and the prefix list's item index and returns every text the
// page shows, plus the corrections the page must write back into out-of-range octet boxes. It keeps no state
// and touches no control; IpPageModel::CalcSubnet calls it once per recomputation, the CLI's `ip` command
// once per run. Two rule sets meet here: the prefix gives mask, reserved and broadcast addresses, range and
// counts; the classful rules (classes A/B/C and the three local blocks) give the class and the breakdown.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelle {

/// Number of prefix lengths offered, /8 to /30; a prefix index runs from 0 to PrefixCount - 1.
inline constexpr int PrefixCount = 23;

/// Entry j is an octet with j + 1 leading one bits.
inline constexpr std::array<uint32_t, 8> MaskOctetTable {128, 192, 224, 240, 248, 252, 254, 255};

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
    std::string ClassText;
    std::optional<int> NetBits;
    bool IsLocal = false;
};

/// Binary digits of value, most significant first, padded with "0" in front to width (never cut).
std::string IntToBin(uint32_t value, int width);

/// Reads "0"/"1" digits from left to right on 32 bits, skipping any other character; "" gives 0.
uint32_t BinToInt(std::string_view text);

/// 1 doubled n times; 1 for n <= 0. Meaningful for n up to 63.
uint64_t PowerOfTwo(int n);

/// Prefix length (8..30) for a prefix index; an index outside 0..22 is clamped into it first.
int PrefixLengthForIndex(int prefixIndex);

/// The class rules, tested in order; the first match wins.
AddressClass ClassifyAddress(const std::array<int, 4>& octets);

/// Every result text for four octet texts (octet 1 first) and a prefix index; never fails.
TSubnetResult ComputeSubnet(const std::array<std::string, 4>& octets, int prefixIndex);

} // namespace tarvelle
