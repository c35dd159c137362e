// IPv4 and IPv6 addresses and networks as 128-bit numbers, and the strict readers of their texts.
//
// This unit owns the value types the whole IP engine shares (IpAddress, IpNetwork), the error codes every
// reader reports (IpError, with one short text each) and the readers: a dotted quad, every RFC 4291 form of
// an IPv6 address with an optional zone, a prefix length or contiguous mask, "address[/prefix]" and a range
// "first-last". A reader
// never throws on bad input: it returns an IpResult holding either the value or the error. The command line
// calls these for each argument or input line; IpText formats the values, IpNetwork and IpBlocks compute on
// them. The window's IP page reads its octet boxes by its own rules and takes its blocks and address texts from
// IpNetwork and IpText (through SubnetCalc).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tarvelle::ip {

// A GCC and Clang extension; marked so that -Wpedantic accepts it.
__extension__ typedef unsigned __int128 Uint128;

/// The largest 128-bit value, all bits one.
inline constexpr Uint128 Uint128Max = ~Uint128 {0};

enum class IpFamily : uint8_t { V4, V6 };

/// Bits in an address of the family: 32 or 128.
constexpr int AddressBits(IpFamily family)
{
    return family == IpFamily::V4 ? 32 : 128;
}

/// An address; an IPv4 address sits in the low 32 bits of value and the rest is zero.
struct IpAddress
{
    Uint128 value = 0;
    IpFamily family = IpFamily::V4;

    friend bool operator==(const IpAddress&, const IpAddress&) = default;
};

/// A block of 2^(bits - prefix) addresses; base has no bit set below the prefix (see NetworkOf).
struct IpNetwork
{
    IpAddress base;
    int prefix = 0;

    friend bool operator==(const IpNetwork&, const IpNetwork&) = default;
};

/// A number of addresses or blocks, 1 to 2^128, held as the count less one so that a whole IPv6 space fits.
struct AddressCount
{
    Uint128 minusOne = 0;

    friend bool operator==(const AddressCount&, const AddressCount&) = default;
};

/// 2^bits as a count (0 <= bits <= 128).
constexpr AddressCount PowerOfTwoCount(int bits)
{
    return {bits >= 128 ? Uint128Max : (Uint128 {1} << bits) - 1};
}

/// Why a text or a request was refused.
enum class IpError : uint8_t {
    Empty,
    BadIpv4,
    Ipv4LeadingZero,
    Ipv4OctetRange,
    BadIpv6,
    Ipv6GroupTooLong,
    Ipv6TooManyGroups,
    Ipv6TooFewGroups,
    Ipv6DoubleCompression,
    Ipv6BadEmbeddedIpv4,
    BadZone,
    ZoneOnIpv4,
    BadPrefix,
    PrefixRange,
    NonContiguousMask,
    MaskOnIpv6,
    BadRange,
    ZoneInRange,
    MixedFamilies,
    RangeReversed,
    SplitPrefixShorter,
    SplitCountZero,
    SplitCountTooLarge,
};

/// A short lowercase text for the error, without the offending input, e.g. "'::' appears more than once".
std::string_view IpErrorText(IpError error);

/// Either a value or the error that prevented it.
template <class T> class IpResult
{
public:
    IpResult(T value) : value_(std::move(value)) { }
    IpResult(IpError error) : error_(error) { }

    /// True when a value is held.
    explicit operator bool() const { return value_.has_value(); }
    /// The value; only when one is held.
    const T& operator*() const { return *value_; }
    T& operator*() { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    /// The error; meaningful only when no value is held.
    IpError Error() const { return error_; }

private:
    std::optional<T> value_;
    IpError error_ = IpError::Empty;
};

/// An address as read from text, with the zone of an IPv6 address such as fe80::1%eth0 ("" if none).
struct ParsedAddress
{
    IpAddress address;
    std::string zone;
};

/// An "address[/prefix]" text: the address unmasked, the prefix when one was given.
struct ParsedCidr
{
    IpAddress address;
    std::optional<int> prefix;
    std::string zone;
};

/// An address range "first-last", both ends included.
struct AddressRange
{
    IpAddress first;
    IpAddress last;
};

/// Four decimal octets 0..255 joined by dots; digits only, no sign, blank or leading zero.
IpResult<uint32_t> ParseIpv4(std::string_view text);

/// Any RFC 4291 text of an IPv6 address (compressed, full, embedded IPv4), with an optional "%zone".
IpResult<ParsedAddress> ParseIpv6(std::string_view text);

/// An IPv6 address when the text holds a colon, otherwise an IPv4 address.
IpResult<ParsedAddress> ParseAddress(std::string_view text);

/// A prefix length for the family (0..32 or 0..128, digits only) or, for IPv4, a contiguous dotted mask.
IpResult<int> ParsePrefix(std::string_view text, IpFamily family);

/// "address" or "address/prefix", the prefix read by ParsePrefix for the address's family.
IpResult<ParsedCidr> ParseCidr(std::string_view text);

/// "first-last": two addresses of one family without zones, last not below first.
IpResult<AddressRange> ParseRange(std::string_view text);

/// Both ends of a range read apart (as two arguments); the same checks as ParseRange.
IpResult<AddressRange> ParseRange(std::string_view firstText, std::string_view lastText);

/// The bits below a prefix set: the wildcard (inverse) mask of the family's width.
constexpr Uint128 HostMask(IpFamily family, int prefix)
{
    const int hostBits = AddressBits(family) - prefix;
    return hostBits >= 128 ? Uint128Max : (Uint128 {1} << hostBits) - 1;
}

/// The mask of a prefix: its first prefix bits of the family's width set (0 <= prefix <= AddressBits).
constexpr Uint128 PrefixMask(IpFamily family, int prefix)
{
    return HostMask(family, 0) & ~HostMask(family, prefix);
}

/// The block of the given prefix that holds the address: its bits below the prefix cleared.
constexpr IpNetwork NetworkOf(const IpAddress& address, int prefix)
{
    return {{address.value & PrefixMask(address.family, prefix), address.family}, prefix};
}

/// The last address of the block: the base with every bit below the prefix set.
constexpr IpAddress LastAddress(const IpNetwork& network)
{
    return {network.base.value | HostMask(network.base.family, network.prefix), network.base.family};
}

/// True when the address lies in the network (same family, same bits above the prefix).
bool Contains(const IpNetwork& network, const IpAddress& address);

} // namespace tarvelle::ip
