#include "IpAddress.h"

#include <array>
#include <bit>

namespace tarvelle::ip {
namespace {

constexpr size_t kGroups = 8;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// 0..15 for a hex digit of either case, -1 otherwise; a table, as the IPv6 reader asks for every character.
constexpr std::array<int8_t, 256> kHexValues = [] {
    std::array<int8_t, 256> values {};
    values.fill(-1);
    for (int k = 0; k < 10; ++k)
        values[static_cast<size_t>('0' + k)] = static_cast<int8_t>(k);
    for (int k = 0; k < 6; ++k) {
        values[static_cast<size_t>('a' + k)] = static_cast<int8_t>(10 + k);
        values[static_cast<size_t>('A' + k)] = static_cast<int8_t>(10 + k);
    }
    return values;
}();

int HexValue(char c)
{
    return kHexValues[static_cast<unsigned char>(c)];
}

// A zone names an interface or its index; anything printable but a blank, and neither '%' nor the '/' that
// starts a prefix.
bool IsValidZone(std::string_view zone)
{
    if (zone.empty())
        return false;
    for (const char c : zone) {
        if (c <= ' ' || c > '~' || c == '%' || c == '/')
            return false;
    }
    return true;
}

// The groups read so far: `count` of them, with the "::" standing before group `gap` (or no "::").
struct GroupList
{
    std::array<uint16_t, kGroups> groups {};
    size_t count = 0;
    std::optional<size_t> gap;
};

// Spreads the groups over eight, the "::" standing for the missing zero groups, and joins them.
Uint128 JoinGroups(const GroupList& list)
{
    std::array<uint16_t, kGroups> full {};
    const size_t before = list.gap.value_or(list.count);
    for (size_t k = 0; k < before; ++k)
        full[k] = list.groups[k];
    const size_t after = list.count - before;
    for (size_t k = 0; k < after; ++k)
        full[kGroups - after + k] = list.groups[before + k];
    Uint128 value = 0;
    for (const uint16_t group : full)
        value = (value << 16) | group;
    return value;
}

// Reads the groups of an IPv6 text without its zone; an embedded IPv4 address ends the text as two groups.
std::optional<IpError> ReadGroups(std::string_view text, GroupList& list)
{
    size_t i = 0;
    if (text.starts_with("::")) {
        list.gap = 0;
        i = 2;
    } else if (text.starts_with(':')) {
        return IpError::BadIpv6;
    }
    while (i < text.size()) {
        const size_t start = i;
        uint32_t group = 0;
        for (int digit; i < text.size() && (digit = HexValue(text[i])) >= 0; ++i)
            group = (group << 4 | static_cast<uint32_t>(digit)) & 0xFFFFF;
        if (i < text.size() && text[i] == '.') {
            const IpResult<uint32_t> v4 = ParseIpv4(text.substr(start));
            if (!v4)
                return IpError::Ipv6BadEmbeddedIpv4;
            if (list.count > kGroups - 2)
                return IpError::Ipv6TooManyGroups;
            list.groups[list.count++] = static_cast<uint16_t>(*v4 >> 16);
            list.groups[list.count++] = static_cast<uint16_t>(*v4 & 0xFFFF);
            return std::nullopt;
        }
        if (i == start)
            return IpError::BadIpv6;
        if (i - start > 4)
            return IpError::Ipv6GroupTooLong;
        if (list.count == kGroups)
            return IpError::Ipv6TooManyGroups;
        list.groups[list.count++] = static_cast<uint16_t>(group);
        if (i == text.size())
            break;
        if (text[i] != ':')
            return IpError::BadIpv6;
        ++i;
        if (i < text.size() && text[i] == ':') {
            if (list.gap)
                return IpError::Ipv6DoubleCompression;
            list.gap = list.count;
            ++i;
        } else if (i == text.size()) {
            return IpError::BadIpv6; // a single trailing colon
        }
    }
    return std::nullopt;
}

} // namespace

std::string_view IpErrorText(IpError error)
{
    switch (error) {
    case IpError::Empty:
        return "empty text";
    case IpError::BadIpv4:
        return "not an IPv4 address (four decimal octets 0 to 255 joined by dots)";
    case IpError::Ipv4LeadingZero:
        return "an IPv4 octet has a leading zero";
    case IpError::Ipv4OctetRange:
        return "an IPv4 octet is above 255";
    case IpError::BadIpv6:
        return "not an IPv6 address (up to eight groups of one to four hex digits joined by colons)";
    case IpError::Ipv6GroupTooLong:
        return "an IPv6 group has more than four hex digits";
    case IpError::Ipv6TooManyGroups:
        return "an IPv6 address has too many groups";
    case IpError::Ipv6TooFewGroups:
        return "an IPv6 address without '::' needs eight groups";
    case IpError::Ipv6DoubleCompression:
        return "'::' appears more than once";
    case IpError::Ipv6BadEmbeddedIpv4:
        return "the embedded IPv4 address is not four decimal octets 0 to 255";
    case IpError::BadZone:
        return "the zone after '%' is empty or holds a blank, '%' or '/'";
    case IpError::ZoneOnIpv4:
        return "only an IPv6 address takes a zone";
    case IpError::BadPrefix:
        return "the prefix is neither a length (digits, no leading zero) nor a dotted mask";
    case IpError::PrefixRange:
        return "the prefix length is above 32 for IPv4 or 128 for IPv6";
    case IpError::NonContiguousMask:
        return "the mask is not contiguous (ones, then zeros)";
    case IpError::MaskOnIpv6:
        return "an IPv6 prefix is a length 0 to 128, not a mask";
    case IpError::BadRange:
        return "a range is two addresses joined by '-'";
    case IpError::ZoneInRange:
        return "a range takes no zone";
    case IpError::MixedFamilies:
        return "IPv4 and IPv6 cannot be mixed";
    case IpError::RangeReversed:
        return "the range ends before it starts";
    case IpError::SplitPrefixShorter:
        return "the subnet prefix is shorter than the network's";
    case IpError::SplitCountZero:
        return "the subnet count is zero";
    case IpError::SplitCountTooLarge:
        return "the network cannot hold that many subnets";
    }
    return "unknown error";
}

IpResult<uint32_t> ParseIpv4(std::string_view text)
{
    if (text.empty())
        return IpError::Empty;
    uint32_t value = 0;
    size_t i = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (i == text.size() || text[i] != '.')
                return IpError::BadIpv4;
            ++i;
        }
        const size_t start = i;
        uint32_t v = 0;
        // Four digits are enough to tell an octet above 255, and the cap keeps v small.
        while (i < text.size() && IsDigit(text[i]) && i - start < 4) {
            v = v * 10 + static_cast<uint32_t>(text[i] - '0');
            ++i;
        }
        const size_t digits = i - start;
        if (digits == 0)
            return IpError::BadIpv4;
        if (digits > 1 && text[start] == '0')
            return IpError::Ipv4LeadingZero;
        if (v > 255)
            return IpError::Ipv4OctetRange;
        value = value << 8 | v;
    }
    if (i != text.size())
        return IpError::BadIpv4;
    return value;
}

IpResult<ParsedAddress> ParseIpv6(std::string_view text)
{
    if (text.empty())
        return IpError::Empty;
    ParsedAddress parsed;
    parsed.address.family = IpFamily::V6;
    if (const size_t percent = text.find('%'); percent != std::string_view::npos) {
        const std::string_view zone = text.substr(percent + 1);
        if (!IsValidZone(zone))
            return IpError::BadZone;
        parsed.zone = zone;
        text = text.substr(0, percent);
    }
    if (text.empty())
        return IpError::BadIpv6;
    GroupList list;
    if (const std::optional<IpError> error = ReadGroups(text, list))
        return *error;
    if (!list.gap && list.count < kGroups)
        return IpError::Ipv6TooFewGroups;
    // "::" stands for at least one zero group.
    if (list.gap && list.count == kGroups)
        return IpError::Ipv6TooManyGroups;
    parsed.address.value = JoinGroups(list);
    return parsed;
}

IpResult<ParsedAddress> ParseAddress(std::string_view text)
{
    if (text.find(':') != std::string_view::npos)
        return ParseIpv6(text);
    const size_t percent = text.find('%');
    const IpResult<uint32_t> v4 = ParseIpv4(text.substr(0, percent));
    if (!v4)
        return v4.Error();
    if (percent != std::string_view::npos)
        return IpError::ZoneOnIpv4;
    return ParsedAddress {{*v4, IpFamily::V4}, {}};
}

IpResult<int> ParsePrefix(std::string_view text, IpFamily family)
{
    if (text.find_first_of(".:") != std::string_view::npos) {
        if (family == IpFamily::V6)
            return IpError::MaskOnIpv6;
        const IpResult<uint32_t> mask = ParseIpv4(text);
        if (!mask)
            return IpError::BadPrefix;
        const uint32_t hostPart = ~*mask;
        // The host part of a contiguous mask is 2^k - 1: adding one clears all its bits.
        if ((hostPart & (hostPart + 1)) != 0)
            return IpError::NonContiguousMask;
        return std::popcount(*mask);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos
        || (text.size() > 1 && text[0] == '0'))
        return IpError::BadPrefix;
    if (text.size() > 3)
        return IpError::PrefixRange;
    int length = 0;
    for (const char c : text)
        length = length * 10 + (c - '0');
    if (length > AddressBits(family))
        return IpError::PrefixRange;
    return length;
}

IpResult<ParsedCidr> ParseCidr(std::string_view text)
{
    const size_t slash = text.find('/');
    IpResult<ParsedAddress> address = ParseAddress(text.substr(0, slash));
    if (!address)
        return address.Error();
    ParsedCidr cidr {address->address, std::nullopt, std::move(address->zone)};
    if (slash != std::string_view::npos) {
        const IpResult<int> prefix = ParsePrefix(text.substr(slash + 1), cidr.address.family);
        if (!prefix)
            return prefix.Error();
        cidr.prefix = *prefix;
    }
    return cidr;
}

IpResult<AddressRange> ParseRange(std::string_view text)
{
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return IpError::BadRange;
    return ParseRange(text.substr(0, dash), text.substr(dash + 1));
}

IpResult<AddressRange> ParseRange(std::string_view firstText, std::string_view lastText)
{
    const IpResult<ParsedAddress> first = ParseAddress(firstText);
    if (!first)
        return first.Error();
    const IpResult<ParsedAddress> last = ParseAddress(lastText);
    if (!last)
        return last.Error();
    if (!first->zone.empty() || !last->zone.empty())
        return IpError::ZoneInRange;
    if (first->address.family != last->address.family)
        return IpError::MixedFamilies;
    if (last->address.value < first->address.value)
        return IpError::RangeReversed;
    return AddressRange {first->address, last->address};
}

bool Contains(const IpNetwork& network, const IpAddress& address)
{
    return address.family == network.base.family
        && (address.value & PrefixMask(address.family, network.prefix)) == network.base.value;
}

} // namespace tarvelle::ip
