#include "SubnetTexts.h"

#include "SubnetCalc.h"

#include <array>
#include <charconv>
#include <cstring>

namespace tarvelle::cli {

namespace {

// The decimal and the eight binary digits of every octet, looked up rather than worked out per text.
struct OctetTable
{
    std::array<std::array<char, 4>, 256> decimal {}; // digits, then the count in the last byte
    std::array<std::array<char, 8>, 256> binary {};

    OctetTable()
    {
        for (uint32_t v = 0; v < 256; ++v) {
            char* end = std::to_chars(decimal[v].data(), decimal[v].data() + 3, v).ptr;
            decimal[v][3] = static_cast<char>(end - decimal[v].data());
            for (int bit = 0; bit < 8; ++bit)
                binary[v][static_cast<size_t>(bit)] = (v >> (7 - bit)) & 1u ? '1' : '0';
        }
    }
};

const OctetTable& Octets()
{
    static const OctetTable table;
    return table;
}

// Appends pieces to a SubnetTexts' storage; each text is the span between mark() and view().
class Writer
{
public:
    explicit Writer(SubnetTexts& texts) : texts_(texts) { }

    Writer& put(std::string_view piece)
    {
        std::memcpy(texts_.storage + texts_.used, piece.data(), piece.size());
        texts_.used += piece.size();
        return *this;
    }
    Writer& number(uint64_t value)
    {
        char* at = texts_.storage + texts_.used;
        texts_.used = static_cast<size_t>(std::to_chars(at, at + 20, value).ptr - texts_.storage);
        return *this;
    }
    Writer& octet(uint32_t value)
    {
        const std::array<char, 4>& digits = Octets().decimal[value & 255];
        return put({digits.data(), static_cast<size_t>(digits[3])});
    }
    Writer& dotted(uint32_t address)
    {
        return octet(address >> 24).put(".").octet(address >> 16).put(".").octet(address >> 8).put(".").octet(address);
    }
    // The top `count` of the 32 bits from bit `from` (0 = the top bit), as binary digits.
    Writer& bits(uint32_t value, int from, int count)
    {
        char* at = texts_.storage + texts_.used;
        for (int i = from; i < from + count; ++i)
            *at++ = (value >> (31 - i)) & 1u ? '1' : '0';
        texts_.used += static_cast<size_t>(count);
        return *this;
    }
    Writer& groups(uint32_t value)
    {
        const OctetTable& table = Octets();
        for (int shift = 24; shift >= 0; shift -= 8) {
            put({table.binary[(value >> shift) & 255].data(), 8});
            if (shift > 0)
                put(" ");
        }
        return *this;
    }
    void mark() { start_ = texts_.used; }
    std::string_view view() const { return {texts_.storage + start_, texts_.used - start_}; }

private:
    SubnetTexts& texts_;
    size_t start_ = 0;
};

// The value of `count` bits of value from bit `from` (0 = the top bit); 0 for no bits.
uint64_t BitsValue(uint32_t value, int from, int count)
{
    return count == 0 ? 0 : (uint64_t {value} >> (32 - from - count)) & ((uint64_t {1} << count) - 1);
}

void ComposeBreakdown(uint32_t address, int p, int netBits, bool local, Writer& w, SubnetTexts& texts)
{
    const int h = 32 - p;
    w.mark();
    if (local)
        w.put("Local ");
    else
        w.put("Net ").number(BitsValue(address, 0, netBits)).put(" ");
    if (netBits < p) {
        w.put("Subnet ").number(BitsValue(address, netBits, p - netBits)).put(" of ");
        w.number(uint64_t {1} << (p - netBits)).put(" ");
    }
    const uint64_t node = BitsValue(address, p, h);
    const uint64_t nodes = uint64_t {1} << h;
    if (node == nodes - 1)
        w.put("Broadcast");
    else if (node == 0)
        w.put("Reserved");
    else
        w.put("Node ").number(node);
    w.put(" of ").number(nodes - 2);
    texts.breakdown = w.view();
    w.mark();
    if (!local)
        w.put("Net ").bits(address, 0, netBits).put(" ");
    if (netBits < p)
        w.put("Subnet ").bits(address, netBits, p - netBits).put(" ");
    w.put("Node ").bits(address, p, h);
    texts.binaryBreakdown = w.view();
}

} // namespace

void ComposeSubnetTexts(uint32_t address, int prefix, SubnetTexts& texts)
{
    const uint32_t mask = prefix == 0 ? 0 : ~uint32_t {0} << (32 - prefix);
    const uint32_t network = address & mask;
    const uint32_t broadcast = address | ~mask;
    // A /31 is a point-to-point pair and a /32 one host: neither keeps a network or broadcast address back.
    const bool reserves = prefix <= 30;
    texts.used = 0;
    texts.prefix = prefix;
    texts.total = uint64_t {1} << (32 - prefix);
    texts.usable = reserves ? texts.total - 2 : texts.total;
    Writer w(texts);
    const auto text = [&w](std::string_view SubnetTexts::*field, auto&& write, SubnetTexts& t) {
        w.mark();
        write();
        t.*field = w.view();
    };
    text(
        &SubnetTexts::address, [&] { w.dotted(address); }, texts);
    text(
        &SubnetTexts::netmask, [&] { w.dotted(mask); }, texts);
    text(
        &SubnetTexts::wildcard, [&] { w.dotted(~mask); }, texts);
    text(
        &SubnetTexts::network, [&] { w.dotted(network); }, texts);
    texts.broadcast = {};
    if (reserves)
        text(
            &SubnetTexts::broadcast, [&] { w.dotted(broadcast); }, texts);
    // Up to /30 the host part has two bits or more, so the ends never carry out of the last octet.
    const uint32_t first = reserves ? network + 1 : network;
    const uint32_t last = reserves ? broadcast - 1 : broadcast;
    text(
        &SubnetTexts::range, [&] { w.dotted(first).put(" - ").dotted(last); }, texts);
    const size_t dash = texts.range.find(" - ");
    texts.first = texts.range.substr(0, dash);
    texts.last = texts.range.substr(dash + 3);
    text(
        &SubnetTexts::addresses,
        [&] {
            w.number(texts.total).put(" Total, ").number(texts.usable).put(" Usable");
            if (reserves)
                w.put(" (").number(texts.total - 3).put(" + Gateway)");
        },
        texts);
    text(
        &SubnetTexts::binaryAddress, [&] { w.groups(address); }, texts);
    text(
        &SubnetTexts::binaryNetmask, [&] { w.groups(mask); }, texts);

    const std::array<int, 4> octets {static_cast<int>(address >> 24), static_cast<int>((address >> 16) & 255),
                                     static_cast<int>((address >> 8) & 255), static_cast<int>(address & 255)};
    const AddressClass cls = ClassifyAddress(octets);
    text(
        &SubnetTexts::classText, [&] { w.put(cls.ClassText); }, texts);
    texts.breakdown = {};
    texts.binaryBreakdown = {};
    if (!IsPagePrefix(prefix))
        return;
    if (!cls.NetBits)
        text(
            &SubnetTexts::breakdown, [&] { w.put("N/A - Not an Internet Address"); }, texts);
    else if (prefix < *cls.NetBits)
        text(
            &SubnetTexts::breakdown, [&] { w.put("Invalid Class / Subnet Combination"); }, texts);
    else
        ComposeBreakdown(address, prefix, *cls.NetBits, cls.IsLocal, w, texts);
}

} // namespace tarvelle::cli
