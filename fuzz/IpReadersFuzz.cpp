// The IP engine's readers and block operations over any input.
//
// Readers: a text read as an address, a prefix, an "address/prefix" or a range writes back (RFC 5952 for
// IPv6) to a text that reads as the same value and writes the same text again; the dotted and RFC 4291
// readers accept exactly what the C library's inet_pton accepts, with the same value. Blocks: RangeToBlocks
// and MergeNetworks return aligned blocks in address order that cover exactly the range or the union of their
// input (each family apart, IPv4 first), none overlapping and no two siblings of one parent, so that no
// fewer blocks could cover the same addresses.
#include "FuzzInput.h"
#include "IpBlocks.h"
#include "IpNetwork.h"
#include "IpText.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace tarvelle::ip;
using tarvelle::fuzz::FuzzInput;

namespace {

// inet_pton's verdict and value, for a text without a NUL byte.
std::optional<Uint128> Pton(int af, const std::string& text)
{
    std::array<unsigned char, 16> bytes {};
    if (inet_pton(af, text.c_str(), bytes.data()) != 1)
        return std::nullopt;
    Uint128 value = 0;
    for (size_t k = 0; k < (af == AF_INET ? 4u : 16u); ++k)
        value = value << 8 | bytes[k];
    return value;
}

void CheckAgainstPton(const std::string& text)
{
    if (text.find('\0') != std::string::npos)
        return;
    const IpResult<uint32_t> v4 = ParseIpv4(text);
    const std::optional<Uint128> libc4 = Pton(AF_INET, text);
    FUZZ_CHECK(bool(v4) == libc4.has_value());
    FUZZ_CHECK(!v4 || *v4 == *libc4);
    if (text.find('%') != std::string::npos)
        return; // inet_pton takes no zone
    const IpResult<ParsedAddress> v6 = ParseIpv6(text);
    const std::optional<Uint128> libc6 = Pton(AF_INET6, text);
    FUZZ_CHECK(bool(v6) == libc6.has_value());
    FUZZ_CHECK(!v6 || v6->address.value == *libc6);
}

// The groups of a text between colons; none for an empty text.
std::vector<std::string> Groups(std::string_view text)
{
    std::vector<std::string> groups;
    for (size_t at = 0; !text.empty() && at <= text.size();) {
        const size_t colon = std::min(text.find(':', at), text.size());
        groups.emplace_back(text.substr(at, colon - at));
        at = colon + 1;
    }
    return groups;
}

// The writer's RFC 5952 rules that a reader cannot see: lower case; groups without leading zeros; "::" at
// most once, for the longest run of two or more zero groups (the first on a tie); an IPv4-mapped address
// as ::ffff: and a dotted quad (section 5).
void CheckRfc5952(const std::string& text)
{
    FUZZ_CHECK(std::none_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
    if (text.find('.') != std::string::npos) {
        FUZZ_CHECK(text.starts_with("::ffff:") && ParseIpv4(text.substr(7)));
        return;
    }
    const size_t gap = text.find("::");
    FUZZ_CHECK(gap == std::string::npos || text.find("::", gap + 1) == std::string::npos);
    const std::vector<std::string> before = Groups(std::string_view(text).substr(0, gap));
    const std::vector<std::string> after
        = gap == std::string::npos ? std::vector<std::string> {} : Groups(std::string_view(text).substr(gap + 2));
    const size_t compressed = 8 - before.size() - after.size(); // the zero groups "::" stands for
    FUZZ_CHECK(gap == std::string::npos ? compressed == 0 : compressed >= 2);
    for (const auto* side : {&before, &after}) {
        size_t run = 0;
        for (const std::string& group : *side) {
            FUZZ_CHECK(!group.empty() && group.size() <= 4 && (group.size() == 1 || group[0] != '0'));
            run = group == "0" ? run + 1 : 0;
            // A written run of zero groups is shorter than the compressed one, or as long and after it.
            FUZZ_CHECK(run < 2 || run < compressed || (run == compressed && side == &after));
        }
    }
}

void CheckAddress(std::string_view text)
{
    const IpResult<ParsedAddress> parsed = ParseAddress(text);
    if (!parsed)
        return;
    const IpAddress& address = parsed->address;
    const std::string written = AddressText(address);
    if (address.family == IpFamily::V6)
        CheckRfc5952(written);
    const std::string withZone = parsed->zone.empty() ? written : written + "%" + parsed->zone;
    const IpResult<ParsedAddress> again = ParseAddress(withZone);
    FUZZ_CHECK(again && again->address == address && again->zone == parsed->zone);
    FUZZ_CHECK(AddressText(again->address) == written);
    const IpResult<ParsedAddress> expanded = ParseAddress(ExpandedText(address));
    FUZZ_CHECK(expanded && expanded->address == address);
    FUZZ_CHECK(!AddressType(address).type.empty());
}

void CheckCidrAndPrefix(std::string_view text)
{
    for (const IpFamily family : {IpFamily::V4, IpFamily::V6}) {
        const IpResult<int> prefix = ParsePrefix(text, family);
        if (!prefix)
            continue;
        FUZZ_CHECK(*prefix >= 0 && *prefix <= AddressBits(family));
        const IpResult<int> again = ParsePrefix(std::to_string(*prefix), family);
        FUZZ_CHECK(again && *again == *prefix);
        if (family == IpFamily::V4) {
            const IpResult<int> mask = ParsePrefix(AddressText({PrefixMask(family, *prefix), family}), family);
            FUZZ_CHECK(mask && *mask == *prefix);
        }
    }
    const IpResult<ParsedCidr> cidr = ParseCidr(text);
    if (!cidr || !cidr->prefix)
        return;
    const std::string zone = cidr->zone.empty() ? "" : "%" + cidr->zone;
    const IpResult<ParsedCidr> again
        = ParseCidr(AddressText(cidr->address) + zone + "/" + std::to_string(*cidr->prefix));
    FUZZ_CHECK(again && again->address == cidr->address && again->prefix == cidr->prefix && again->zone == cidr->zone);
    const IpNetwork network = NetworkOf(cidr->address, *cidr->prefix);
    const IpResult<ParsedCidr> block = ParseCidr(NetworkText(network));
    FUZZ_CHECK(block && block->address == network.base && block->prefix == network.prefix);
}

struct Interval
{
    Uint128 first;
    Uint128 last;
};

// Sorted intervals with the overlapping and touching ones joined.
std::vector<Interval> Joined(std::vector<Interval> intervals)
{
    std::sort(intervals.begin(), intervals.end(),
              [](const Interval& a, const Interval& b) { return a.first < b.first; });
    std::vector<Interval> joined;
    for (const Interval& i : intervals) {
        if (!joined.empty() && (i.first <= joined.back().last || i.first - 1 == joined.back().last))
            joined.back().last = std::max(joined.back().last, i.last);
        else
            joined.push_back(i);
    }
    return joined;
}

// The blocks of one family are in order, disjoint, no two of them siblings, and cover exactly `want`.
void CheckCover(const std::vector<IpNetwork>& blocks, IpFamily family, const std::vector<Interval>& want)
{
    std::vector<Interval> covered;
    for (size_t k = 0; k < blocks.size(); ++k) {
        const IpNetwork& b = blocks[k];
        FUZZ_CHECK(b.base.family == family && NetworkOf(b.base, b.prefix) == b);
        covered.push_back({b.base.value, LastAddress(b).value});
        if (k == 0)
            continue;
        const IpNetwork& previous = blocks[k - 1];
        FUZZ_CHECK(LastAddress(previous).value < b.base.value);
        const bool siblings = previous.prefix == b.prefix && b.prefix > 0
            && NetworkOf(previous.base, b.prefix - 1) == NetworkOf(b.base, b.prefix - 1);
        FUZZ_CHECK(!siblings);
    }
    const std::vector<Interval> got = Joined(covered);
    FUZZ_CHECK(got.size() == want.size());
    for (size_t k = 0; k < got.size() && k < want.size(); ++k)
        FUZZ_CHECK(got[k].first == want[k].first && got[k].last == want[k].last);
}

void CheckRange(const IpAddress& first, const IpAddress& last)
{
    const IpResult<std::vector<IpNetwork>> blocks = RangeToBlocks(first, last);
    FUZZ_CHECK(blocks);
    CheckCover(*blocks, first.family, {{first.value, last.value}});
}

void CheckRangeText(std::string_view text)
{
    const IpResult<AddressRange> range = ParseRange(text);
    if (!range)
        return;
    const IpResult<AddressRange> again = ParseRange(AddressText(range->first) + "-" + AddressText(range->last));
    FUZZ_CHECK(again && again->first == range->first && again->last == range->last);
    CheckRange(range->first, range->last);
}

Uint128 ReadValue(FuzzInput& in, IpFamily family)
{
    Uint128 value = 0;
    for (int k = 0; k < AddressBits(family) / 8; ++k)
        value = value << 8 | in.byte();
    return value;
}

// Blocks of both families near one base per family, so that many overlap or touch; then their merge.
void CheckMerge(FuzzInput& in)
{
    const std::array<Uint128, 2> bases {ReadValue(in, IpFamily::V4), ReadValue(in, IpFamily::V6)};
    const auto spread = static_cast<int>(in.inRange(0, 112));
    std::vector<IpNetwork> networks;
    std::array<std::vector<Interval>, 2> intervals;
    for (int64_t count = in.inRange(0, 24); count > 0; --count) {
        const size_t f = in.byte() & 1u;
        const IpFamily family = f == 0 ? IpFamily::V4 : IpFamily::V6;
        const int shift = std::min(spread, AddressBits(family) - 16);
        const Uint128 value
            = (bases[f] ^ Uint128 {static_cast<uint16_t>(in.inRange(0, 0xFFFF))} << shift) & HostMask(family, 0);
        const auto prefix
            = static_cast<int>(in.inRange(std::max(0, AddressBits(family) - shift - 20), AddressBits(family)));
        const IpNetwork network = NetworkOf({value, family}, prefix);
        networks.push_back(network);
        intervals[f].push_back({network.base.value, LastAddress(network).value});
    }
    const std::vector<IpNetwork> merged = MergeNetworks(networks);
    const auto v6
        = std::find_if(merged.begin(), merged.end(), [](const IpNetwork& n) { return n.base.family == IpFamily::V6; });
    CheckCover({merged.begin(), v6}, IpFamily::V4, Joined(intervals[0]));
    CheckCover({v6, merged.end()}, IpFamily::V6, Joined(intervals[1]));
}

// A range of any length, up to the whole space.
void CheckRandomRange(FuzzInput& in)
{
    const IpFamily family = in.byte() & 1u ? IpFamily::V6 : IpFamily::V4;
    const Uint128 a = ReadValue(in, family);
    const Uint128 b = a ^ (ReadValue(in, family) >> in.inRange(0, AddressBits(family) - 1));
    CheckRange({std::min(a, b), family}, {std::max(a, b), family});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const std::string text = in.text(80);
    CheckAgainstPton(text);
    CheckAddress(text);
    CheckCidrAndPrefix(text);
    CheckRangeText(text);
    CheckMerge(in);
    CheckRandomRange(in);
    return 0;
}
