#include "SubnetCalc.h"

#include "IpText.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstring>
#include <limits>

namespace tarvelle {
namespace {

constexpr std::string_view kInvalidCombination = "Invalid Class / Subnet Combination";
constexpr std::string_view kNotAnInternetAddress = "N/A - Not an Internet Address";

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

// The eight binary digits of every octet, looked up, as a batch writes two such addresses a line.
struct OctetBits
{
    std::array<std::array<char, 8>, 256> texts {};
    constexpr OctetBits()
    {
        for (uint32_t v = 0; v < 256; ++v) {
            for (uint32_t bit = 0; bit < 8; ++bit)
                texts[v][bit] = (v >> (7 - bit)) & 1U ? '1' : '0';
        }
    }
};
constexpr OctetBits kOctetBits;

// The 32 binary digits of an IPv4 value, octet 1's top bit first.
std::array<char, 32> BinaryDigits(uint32_t value)
{
    std::array<char, 32> digits;
    for (size_t k = 0; k < 4; ++k)
        std::memcpy(digits.data() + 8 * k, kOctetBits.texts[(value >> (24 - 8 * k)) & 255].data(), 8);
    return digits;
}

// Composes a breakdown in a buffer of its own, appended to the caller's string in one piece: a batch writes
// two breakdowns a line, each of up to a dozen pieces.
class Pieces
{
public:
    Pieces& operator<<(std::string_view piece)
    {
        std::memcpy(end_, piece.data(), piece.size());
        end_ += piece.size();
        return *this;
    }
    Pieces& operator<<(uint64_t number)
    {
        end_ = std::to_chars(end_, end_ + 20, number).ptr;
        return *this;
    }
    void AppendTo(std::string& out) const { out.append(text_, static_cast<size_t>(end_ - text_)); }

private:
    // The longest breakdown: "Net ", 8 digits, " Subnet ", 10 digits, " of ", 10 digits, " Node ", 8 digits,
    // " of ", 8 digits; its binary form has 32 digits and 19 other characters.
    char text_[96];
    char* end_ = text_;
};

// The value of `count` bits of the address from bit `from` (0 = the top bit); 0 for no bits.
uint32_t BitsValue(uint32_t address, int from, int count)
{
    return count == 0 ? 0
                      : static_cast<uint32_t>((uint64_t {address} >> (32 - from - count)) & (PowerOfTwo(count) - 1));
}

// How the class cuts the address at the prefix: its net bits and whether it is local, or the message the page
// shows when the class has no breakdown there.
struct BreakdownPlan
{
    std::string_view message; // empty when there is a breakdown
    int netBits = 0;
    bool local = false;
};

BreakdownPlan PlanBreakdown(uint32_t address, int prefix)
{
    assert(IsPagePrefix(prefix));
    const AddressClass cls = ClassifyAddress(OctetsOf(address));
    // The limited broadcast address belongs to no network, so it has nothing to break down.
    if (!cls.NetBits)
        return {kNotAnInternetAddress};
    if (prefix < *cls.NetBits)
        return {kInvalidCombination};
    return {{}, *cls.NetBits, cls.IsLocal};
}

} // namespace

uint64_t PowerOfTwo(int n)
{
    return n <= 0 ? 1 : uint64_t {1} << n;
}

int PrefixLengthForIndex(int prefixIndex)
{
    return std::clamp(prefixIndex, 0, PrefixCount - 1) + 8;
}

std::array<int, 4> OctetsOf(uint32_t address)
{
    return {static_cast<int>(address >> 24), static_cast<int>((address >> 16) & 255),
            static_cast<int>((address >> 8) & 255), static_cast<int>(address & 255)};
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

void AppendBinaryGroups(std::string& out, uint32_t value)
{
    const std::array<char, 32> digits = BinaryDigits(value);
    char text[35];
    for (size_t k = 0; k < 4; ++k) {
        std::memcpy(text + 9 * k, digits.data() + 8 * k, 8);
        if (k < 3)
            text[9 * k + 8] = ' ';
    }
    out.append(text, sizeof text);
}

void AppendRange(std::string& out, const ip::NetworkSummary& block)
{
    ip::AppendAddress(out, block.first);
    out += " - ";
    ip::AppendAddress(out, block.last);
}

void AppendAddressCounts(std::string& out, const ip::NetworkSummary& block)
{
    ip::AppendCount(out, block.total);
    out += " Total, ";
    ip::AppendCount(out, block.usable);
    out += " Usable";
    if (block.broadcast) {
        // One usable address is the gateway; the count already holds the usable number less one.
        out += " (";
        ip::AppendDecimal(out, block.usable.minusOne);
        out += " + Gateway)";
    }
}

bool AppendBreakdown(std::string& out, uint32_t address, int prefix)
{
    const BreakdownPlan plan = PlanBreakdown(address, prefix);
    if (!plan.message.empty()) {
        out += plan.message;
        return false;
    }
    const int h = 32 - prefix;
    Pieces text;
    if (plan.local)
        text << "Local ";
    else
        text << "Net " << uint64_t {BitsValue(address, 0, plan.netBits)} << " ";
    if (plan.netBits < prefix) {
        text << "Subnet " << uint64_t {BitsValue(address, plan.netBits, prefix - plan.netBits)} << " of "
             << PowerOfTwo(prefix - plan.netBits) << " ";
    }
    const uint64_t node = BitsValue(address, prefix, h);
    if (node == PowerOfTwo(h) - 1)
        text << "Broadcast";
    else if (node == 0)
        text << "Reserved";
    else
        text << "Node " << node;
    text << " of " << PowerOfTwo(h) - 2;
    text.AppendTo(out);
    return true;
}

void AppendBinaryBreakdown(std::string& out, uint32_t address, int prefix)
{
    const BreakdownPlan plan = PlanBreakdown(address, prefix);
    if (!plan.message.empty())
        return;
    const std::array<char, 32> digits = BinaryDigits(address);
    const std::string_view bits(digits.data(), digits.size());
    const auto netBits = static_cast<size_t>(plan.netBits);
    const auto p = static_cast<size_t>(prefix);
    Pieces text;
    if (!plan.local)
        text << "Net " << bits.substr(0, netBits) << " ";
    if (netBits < p)
        text << "Subnet " << bits.substr(netBits, p - netBits) << " ";
    text << "Node " << bits.substr(p);
    text.AppendTo(out);
}

TSubnetResult ComputeSubnet(const std::array<std::string, 4>& octets, int prefixIndex)
{
    TSubnetResult result;
    ReadOctets(octets, result);
    uint32_t address = 0;
    for (const int octet : result.OctetValues)
        address = address << 8 | static_cast<uint32_t>(octet);
    const int p = PrefixLengthForIndex(prefixIndex);
    const ip::NetworkSummary block = ip::Summarise({{address, ip::IpFamily::V4}, p});

    AppendBinaryGroups(result.SNBinaryText, static_cast<uint32_t>(block.netmask.value));
    ip::AppendAddress(result.ReservedText, block.network.base);
    // Every page prefix leaves two host bits or more, so the block keeps a broadcast address.
    ip::AppendAddress(result.BroadcastText, *block.broadcast);
    AppendRange(result.RangeText, block);
    AppendAddressCounts(result.AddressesText, block);
    result.ClassText = ClassifyAddress(result.OctetValues).ClassText;
    if (AppendBreakdown(result.BreakdownText, address, p))
        AppendBinaryBreakdown(result.IPBinaryText, address, p);
    else
        AppendBinaryGroups(result.IPBinaryText, address);
    return result;
}

} // namespace tarvelle
