#include "IpText.h"

#include <array>
#include <cstring>

namespace tarvelle::ip {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// The most texts need: 39 characters of an expanded IPv6 address, 72 of an ip6.arpa name.
using TextBuffer = std::array<char, 80>;

char* PutDecimal(char* p, uint32_t value)
{
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0)
        *p++ = digits[--n];
    return p;
}

// The decimal digits of every octet, padded to three, and how many of them count; looked up, as batches write
// several dotted quads a line.
struct OctetDigits
{
    std::array<std::array<char, 4>, 256> texts {}; // digits, then their count in the last byte
    constexpr OctetDigits()
    {
        for (uint32_t v = 0; v < 256; ++v) {
            const uint32_t count = v < 10 ? 1 : v < 100 ? 2 : 3;
            for (uint32_t k = count, rest = v; k > 0; --k, rest /= 10)
                texts[v][k - 1] = static_cast<char>('0' + rest % 10);
            texts[v][3] = static_cast<char>(count);
        }
    }
};
constexpr OctetDigits kOctetDigits;

// The octet's decimal digits. All four bytes of its entry are copied at once: whatever follows the octet
// covers the spare ones, and the buffers have room beyond the longest text.
char* PutOctet(char* p, uint32_t octet)
{
    const std::array<char, 4>& digits = kOctetDigits.texts[octet & 0xFF];
    std::memcpy(p, digits.data(), 4);
    return p + digits[3];
}

char* PutIpv4(char* p, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        p = PutOctet(p, value >> shift);
        if (shift > 0)
            *p++ = '.';
    }
    return p;
}

// A group in lower case without leading zeros; zero is "0".
char* PutGroup(char* p, uint32_t group)
{
    const int digits = group < 0x10 ? 1 : group < 0x100 ? 2 : group < 0x1000 ? 3 : 4;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        *p++ = kHexDigits[(group >> shift) & 0xF];
    return p;
}

char* PutIpv6(char* p, Uint128 value)
{
    // ::ffff:0:0/96, the IPv4-mapped block, is written with its IPv4 address in dotted form.
    if ((value >> 32) == 0xFFFF) {
        for (const char c : std::string_view("::ffff:"))
            *p++ = c;
        return PutIpv4(p, static_cast<uint32_t>(value & 0xFFFFFFFF));
    }
    std::array<uint32_t, 8> groups;
    for (int k = 7; k >= 0; --k, value >>= 16)
        groups[static_cast<size_t>(k)] = static_cast<uint32_t>(value) & 0xFFFF;
    size_t bestStart = 8;
    size_t bestLength = 1; // a single zero group is never shortened
    for (size_t k = 0; k < 8; ++k) {
        size_t end = k;
        while (end < 8 && groups[end] == 0)
            ++end;
        if (end - k > bestLength) {
            bestStart = k;
            bestLength = end - k;
        }
        k = end;
    }
    for (size_t k = 0; k < 8;) {
        if (k == bestStart) {
            *p++ = ':';
            *p++ = ':';
            k += bestLength;
            continue;
        }
        if (k > 0 && k != bestStart + bestLength)
            *p++ = ':';
        p = PutGroup(p, groups[k++]);
    }
    return p;
}

// The decimal digits of value, written to end at `end`; returns where they start.
char* PutDecimalBackwards(char* end, Uint128 value)
{
    // 2^128 has 39 decimal digits; above 64 bits they are produced 19 at a time, as 128-bit division is slow.
    constexpr uint64_t kChunk = 10'000'000'000'000'000'000ULL;
    char* p = end;
    while (value > UINT64_MAX) {
        uint64_t chunk = static_cast<uint64_t>(value % kChunk);
        value /= kChunk;
        for (int k = 0; k < 19; ++k, chunk /= 10)
            *--p = static_cast<char>('0' + chunk % 10);
    }
    auto low = static_cast<uint64_t>(value);
    do {
        *--p = static_cast<char>('0' + low % 10);
        low /= 10;
    } while (low != 0);
    return p;
}

void Append(std::string& out, const TextBuffer& buffer, const char* end)
{
    out.append(buffer.data(), static_cast<size_t>(end - buffer.data()));
}

} // namespace

void AppendIpv4(std::string& out, uint32_t value)
{
    TextBuffer buffer;
    Append(out, buffer, PutIpv4(buffer.data(), value));
}

void AppendAddress(std::string& out, const IpAddress& address)
{
    TextBuffer buffer;
    char* end = address.family == IpFamily::V4 ? PutIpv4(buffer.data(), static_cast<uint32_t>(address.value))
                                               : PutIpv6(buffer.data(), address.value);
    Append(out, buffer, end);
}

std::string AddressText(const IpAddress& address)
{
    std::string text;
    AppendAddress(text, address);
    return text;
}

void AppendExpanded(std::string& out, const IpAddress& address)
{
    if (address.family == IpFamily::V4) {
        AppendIpv4(out, static_cast<uint32_t>(address.value));
        return;
    }
    TextBuffer buffer;
    char* p = buffer.data();
    for (int shift = 124; shift >= 0; shift -= 4) {
        *p++ = kHexDigits[static_cast<size_t>(address.value >> shift) & 0xF];
        if (shift % 16 == 0 && shift > 0)
            *p++ = ':';
    }
    Append(out, buffer, p);
}

std::string ExpandedText(const IpAddress& address)
{
    std::string text;
    AppendExpanded(text, address);
    return text;
}

void AppendReverseName(std::string& out, const IpAddress& address)
{
    TextBuffer buffer;
    char* p = buffer.data();
    std::string_view suffix = "ip6.arpa";
    if (address.family == IpFamily::V4) {
        for (int shift = 0; shift < 32; shift += 8) {
            p = PutOctet(p, static_cast<uint32_t>(address.value >> shift));
            *p++ = '.';
        }
        suffix = "in-addr.arpa";
    } else {
        for (int shift = 0; shift < 128; shift += 4) {
            *p++ = kHexDigits[static_cast<size_t>(address.value >> shift) & 0xF];
            *p++ = '.';
        }
    }
    Append(out, buffer, p);
    out += suffix;
}

std::string ReverseName(const IpAddress& address)
{
    std::string text;
    AppendReverseName(text, address);
    return text;
}

void AppendNetwork(std::string& out, const IpNetwork& network)
{
    AppendAddress(out, network.base);
    TextBuffer buffer;
    buffer[0] = '/';
    Append(out, buffer, PutDecimal(buffer.data() + 1, static_cast<uint32_t>(network.prefix)));
}

std::string NetworkText(const IpNetwork& network)
{
    std::string text;
    AppendNetwork(text, network);
    return text;
}

void AppendDecimal(std::string& out, Uint128 value)
{
    TextBuffer buffer;
    char* end = buffer.data() + buffer.size();
    const char* start = PutDecimalBackwards(end, value);
    out.append(start, static_cast<size_t>(end - start));
}

std::string DecimalText(Uint128 value)
{
    std::string text;
    AppendDecimal(text, value);
    return text;
}

void AppendCount(std::string& out, AddressCount count)
{
    TextBuffer buffer;
    char* end = buffer.data() + buffer.size();
    char* start = PutDecimalBackwards(end, count.minusOne);
    // Adding the one in decimal lets 2^128, which no 128-bit value holds, come out exact.
    char* digit = end;
    while (digit > start && digit[-1] == '9')
        *--digit = '0';
    if (digit == start)
        *--start = '1';
    else
        ++digit[-1];
    out.append(start, static_cast<size_t>(end - start));
}

std::string CountText(AddressCount count)
{
    std::string text;
    AppendCount(text, count);
    return text;
}

} // namespace tarvelle::ip
