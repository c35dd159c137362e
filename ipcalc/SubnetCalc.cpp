#include "SubnetCalc.h"

#include <algorithm>
#include <limits>

namespace tarvelle {
namespace {

using Octets = std::array<uint32_t, 4>;

constexpr const char* kInvalidCombination = "Invalid Class / Subnet Combination";
constexpr const char* kNotAnInternetAddress = "N/A - Not an Internet Address";

// Leading blanks, an optional sign, then nothing but digits to the end of the text. Anything else, or a value
// outside the signed 32-bit range, is not a number.
std::optional<int32_t> ReadOctetNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    constexpr int64_t kLimit = int64_t {std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        // Stop growing once past every 32-bit magnitude, so that long runs of digits cannot overflow.
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit + 1);
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

void ReadOctets(const std::array<std::string, 4>& texts, TSubnetResult& result)
{
    for (size_t k = 0; k < 4; ++k) {
        const int32_t value = ReadOctetNumber(texts[k]).value_or(0);
        if (value < 0) {
            result.OctetValues[k] = 0;
            result.OctetCorrections[k] = "0";
        } else if (value > 255) {
            result.OctetValues[k] = 255;
            result.OctetCorrections[k] = "255";
        } else {
            result.OctetValues[k] = value;
        }
    }
}

Octets MaskOctets(int prefixLength)
{
    const auto p = static_cast<size_t>(prefixLength);
    if (p <= 8)
        return {255, 0, 0, 0};
    if (p <= 16)
        return {255, MaskOctetTable[p - 9], 0, 0};
    if (p <= 24)
        return {255, 255, MaskOctetTable[p - 17], 0};
    return {255, 255, 255, MaskOctetTable[p - 25]};
}

std::string BinaryGroups(const Octets& o)
{
    return IntToBin(o[0], 8) + " " + IntToBin(o[1], 8) + " " + IntToBin(o[2], 8) + " " + IntToBin(o[3], 8);
}

std::string Dotted(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
}

// Fills the prefix-driven texts: mask, reserved, broadcast, range and counts.
void FillPrefixTexts(const Octets& o, int prefixLength, TSubnetResult& result)
{
    const Octets m = MaskOctets(prefixLength);
    Octets n {};
    Octets b {};
    for (size_t k = 0; k < 4; ++k) {
        n[k] = o[k] & m[k];
        b[k] = o[k] | (255 - m[k]);
    }
    result.IPBinaryText = BinaryGroups(o);
    result.SNBinaryText = BinaryGroups(m);
    result.ReservedText = Dotted(n[0], n[1], n[2], n[3]);
    result.BroadcastText = Dotted(b[0], b[1], b[2], b[3]);
    // With at most /30 the host part has two bits or more, so only the last octet moves.
    result.RangeText = Dotted(n[0], n[1], n[2], n[3] + 1) + " - " + Dotted(b[0], b[1], b[2], b[3] - 1);
    const uint64_t total = PowerOfTwo(32 - prefixLength);
    result.AddressesText = std::to_string(total) + " Total, " + std::to_string(total - 2) + " Usable ("
        + std::to_string(total - 3) + " + Gateway)";
}

// Builds the decimal and binary breakdown for an address whose class fits the prefix.
void FillBreakdown(const Octets& o, int prefixLength, const AddressClass& cls, TSubnetResult& result)
{
    const auto netBits = static_cast<size_t>(*cls.NetBits);
    const auto p = static_cast<size_t>(prefixLength);
    const std::string bits = IntToBin(o[0], 8) + IntToBin(o[1], 8) + IntToBin(o[2], 8) + IntToBin(o[3], 8);
    const std::string netPart = bits.substr(0, netBits);
    const std::string subnetPart = bits.substr(netBits, p - netBits);
    const std::string nodePart = bits.substr(p);

    std::string decimal;
    std::string binary;
    if (cls.IsLocal) {
        decimal = "Local ";
    } else {
        decimal = "Net " + std::to_string(BinToInt(netPart)) + " ";
        binary = "Net " + netPart + " ";
    }
    if (netBits < p) {
        decimal += "Subnet " + std::to_string(BinToInt(subnetPart)) + " of "
            + std::to_string(PowerOfTwo(prefixLength - *cls.NetBits)) + " ";
        binary += "Subnet " + subnetPart + " ";
    }
    const int h = 32 - prefixLength;
    const uint64_t node = BinToInt(nodePart);
    if (node == PowerOfTwo(h) - 1)
        decimal += "Broadcast";
    else if (node == 0)
        decimal += "Reserved";
    else
        decimal += "Node " + std::to_string(node);
    decimal += " of " + std::to_string(PowerOfTwo(h) - 2);
    binary += "Node " + nodePart;

    result.BreakdownText = std::move(decimal);
    result.IPBinaryText = std::move(binary);
}

} // namespace

std::string IntToBin(uint32_t value, int width)
{
    std::string digits;
    for (; value != 0; value >>= 1)
        digits.insert(digits.begin(), static_cast<char>('0' + (value & 1U)));
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return digits;
}

uint32_t BinToInt(std::string_view text)
{
    uint32_t value = 0;
    for (const char c : text) {
        if (c == '0' || c == '1')
            value = value * 2 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

uint64_t PowerOfTwo(int n)
{
    uint64_t value = 1;
    for (int i = 0; i < n; ++i)
        value *= 2;
    return value;
}

int PrefixLengthForIndex(int prefixIndex)
{
    return std::clamp(prefixIndex, 0, PrefixCount - 1) + 8;
}

AddressClass ClassifyAddress(const std::array<int, 4>& o)
{
    if (o[0] == 10)
        return {"Local (/8 Network)", 8, true};
    if (o[0] == 172 && o[1] >= 16 && o[1] <= 31)
        return {"Local (/12 Network)", 12, true};
    if (o[0] == 192 && o[1] == 168)
        return {"Local (/16 Network)", 16, true};
    if (o[0] == 255 && o[1] == 255 && o[2] == 255 && o[3] == 255)
        return {"Broadcast", std::nullopt, false};
    if (o[0] == 0)
        return {"Invalid Address", 0, false};
    if (o[0] <= 126)
        return {"Class A (/8 Network)", 8, false};
    if (o[0] == 127)
        return {"Loopback", 0, false};
    if (o[0] <= 191)
        return {"Class B (/16 Network)", 16, false};
    if (o[0] <= 223)
        return {"Class C (/24 Network)", 24, false};
    if (o[0] <= 239)
        return {"Class D (Multicast)", 0, false};
    return {"Class E (Experimental)", 0, false};
}

TSubnetResult ComputeSubnet(const std::array<std::string, 4>& octets, int prefixIndex)
{
    TSubnetResult result;
    ReadOctets(octets, result);
    const Octets o {static_cast<uint32_t>(result.OctetValues[0]), static_cast<uint32_t>(result.OctetValues[1]),
                    static_cast<uint32_t>(result.OctetValues[2]), static_cast<uint32_t>(result.OctetValues[3])};
    const int p = PrefixLengthForIndex(prefixIndex);
    FillPrefixTexts(o, p, result);

    const AddressClass cls = ClassifyAddress(result.OctetValues);
    result.ClassText = cls.ClassText;
    // The limited broadcast address belongs to no network, so it has nothing to break down.
    if (!cls.NetBits)
        result.BreakdownText = kNotAnInternetAddress;
    else if (p < *cls.NetBits)
        result.BreakdownText = kInvalidCombination;
    else
        FillBreakdown(o, p, cls, result);
    return result;
}

} // namespace tarvelle
