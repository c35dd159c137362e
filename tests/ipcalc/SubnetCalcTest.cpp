#include "SubnetCalc.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <bitset>
#include <climits>
#include <random>
#include <string>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

// ---- Whole computations: one address and prefix, the texts the page shows ----

// A null expectation is not checked by that row.
struct SubnetCase
{
    const char* name;
    std::array<std::string, 4> octets;
    int prefixLength;
    const char* classText;
    const char* reserved;
    const char* broadcast;
    const char* range;
    const char* addresses;
    const char* breakdown;
    const char* ipBinary;
    const char* snBinary;
};

constexpr const char* kAny = nullptr;
constexpr const char* kInvalid = "Invalid Class / Subnet Combination";
constexpr const char* kCount24 = "256 Total, 254 Usable (253 + Gateway)";

class SubnetExamples : public testing::TestWithParam<SubnetCase>
{ };

void ExpectText(const char* expected, const std::string& actual, const char* field)
{
    if (expected) {
        EXPECT_EQ(actual, expected) << field;
    }
}

TEST_P(SubnetExamples, Texts)
{
    const SubnetCase& c = GetParam();
    const TSubnetResult r = ComputeSubnet(c.octets, c.prefixLength - 8);
    ExpectText(c.classText, r.ClassText, "ClassText");
    ExpectText(c.reserved, r.ReservedText, "ReservedText");
    ExpectText(c.broadcast, r.BroadcastText, "BroadcastText");
    ExpectText(c.range, r.RangeText, "RangeText");
    ExpectText(c.addresses, r.AddressesText, "AddressesText");
    ExpectText(c.breakdown, r.BreakdownText, "BreakdownText");
    ExpectText(c.ipBinary, r.IPBinaryText, "IPBinaryText");
    ExpectText(c.snBinary, r.SNBinaryText, "SNBinaryText");
}

// clang-format off
const SubnetCase kSubnetCases[] = {
    {"LocalC_24", {"192", "168", "1", "10"}, 24, "Local (/16 Network)", "192.168.1.0", "192.168.1.255",
     "192.168.1.1 - 192.168.1.254", kCount24, "Local Subnet 1 of 256 Node 10 of 254", "Subnet 00000001 Node 00001010",
     "11111111 11111111 11111111 00000000"},
    {"ClassC_24", {"200", "1", "2", "3"}, 24, "Class C (/24 Network)", "200.1.2.0", "200.1.2.255", kAny, kCount24,
     "Net 13107458 Node 3 of 254", "Net 110010000000000100000010 Node 00000011", kAny},
    {"ClassC_16_TooShort", {"200", "1", "2", "3"}, 16, "Class C (/24 Network)", "200.1.0.0", "200.1.255.255",
     "200.1.0.1 - 200.1.255.254", "65536 Total, 65534 Usable (65533 + Gateway)", kInvalid,
     "11001000 00000001 00000010 00000011", "11111111 11111111 00000000 00000000"},
    {"ClassB_30", {"130", "5", "1", "1"}, 30, "Class B (/16 Network)", "130.5.1.0", "130.5.1.3",
     "130.5.1.1 - 130.5.1.2", "4 Total, 2 Usable (1 + Gateway)", "Net 33285 Subnet 64 of 16384 Node 1 of 2",
     "Net 1000001000000101 Subnet 00000001000000 Node 01", "11111111 11111111 11111111 11111100"},
    {"ClassB_15_TooShort", {"130", "5", "1", "1"}, 15, "Class B (/16 Network)", "130.4.0.0", "130.5.255.255", kAny,
     kAny, kInvalid, "10000010 00000101 00000001 00000001", kAny},
    {"ClassA_8", {"8", "8", "8", "8"}, 8, "Class A (/8 Network)", "8.0.0.0", "8.255.255.255", "8.0.0.1 - 8.255.255.254",
     "16777216 Total, 16777214 Usable (16777213 + Gateway)", "Net 8 Node 526344 of 16777214",
     "Net 00001000 Node 000010000000100000001000", "11111111 00000000 00000000 00000000"},
    {"Local10_Reserved", {"10", "0", "0", "0"}, 24, "Local (/8 Network)", "10.0.0.0", "10.0.0.255", kAny, kAny,
     "Local Subnet 0 of 65536 Reserved of 254", "Subnet 0000000000000000 Node 00000000", kAny},
    {"Local10_Broadcast", {"10", "0", "0", "255"}, 24, kAny, kAny, kAny, kAny, kAny,
     "Local Subnet 0 of 65536 Broadcast of 254", "Subnet 0000000000000000 Node 11111111", kAny},
    {"Local12_NoSubnetPiece", {"172", "20", "3", "4"}, 12, "Local (/12 Network)", "172.16.0.0", "172.31.255.255",
     "172.16.0.1 - 172.31.255.254", "1048576 Total, 1048574 Usable (1048573 + Gateway)", "Local Node 262916 of 1048574",
     "Node 01000000001100000100", "11111111 11110000 00000000 00000000"},
    {"Local12_10_TooShort", {"172", "20", "3", "4"}, 10, "Local (/12 Network)", "172.0.0.0", "172.63.255.255", kAny,
     kAny, kInvalid, "10101100 00010100 00000011 00000100", kAny},
    {"Local16_15_TooShort", {"192", "168", "7", "7"}, 15, "Local (/16 Network)", kAny, kAny, kAny, kAny, kInvalid, kAny,
     kAny},
    {"Loopback_TwoBlanksAfterNet", {"127", "0", "0", "1"}, 8, "Loopback", "127.0.0.0", "127.255.255.255", kAny, kAny,
     "Net 0 Subnet 127 of 256 Node 1 of 16777214", "Net  Subnet 01111111 Node 000000000000000000000001", kAny},
    {"AllEmpty", {"", "", "", ""}, 24, "Invalid Address", "0.0.0.0", "0.0.0.255", "0.0.0.1 - 0.0.0.254", kCount24,
     "Net 0 Subnet 0 of 16777216 Reserved of 254", "Net  Subnet 000000000000000000000000 Node 00000000", kAny},
    {"OnlyOctet1", {"1", "", "", ""}, 24, "Class A (/8 Network)", "1.0.0.0", kAny, kAny, kAny,
     "Net 1 Subnet 0 of 65536 Reserved of 254", kAny, kAny},
    {"Octet1Above255", {"300", "1", "1", "1"}, 24, "Class E (Experimental)", "255.1.1.0", "255.1.1.255", kAny, kAny,
     "Net 0 Subnet 16711937 of 16777216 Node 1 of 254", kAny, kAny},
    {"Octet1Negative", {"-5", "1", "1", "1"}, 24, "Invalid Address", "0.1.1.0", kAny, kAny, kAny, kAny, kAny, kAny},
    {"ClassD_NetBitsZero", {"224", "0", "0", "9"}, 30, "Class D (Multicast)", kAny, kAny, kAny, kAny,
     "Net 0 Subnet 939524098 of 1073741824 Node 1 of 2", kAny, kAny},
    {"LimitedBroadcast_24", {"255", "255", "255", "255"}, 24, "Broadcast", "255.255.255.0", "255.255.255.255",
     "255.255.255.1 - 255.255.255.254", kCount24, "N/A - Not an Internet Address",
     "11111111 11111111 11111111 11111111", kAny},
    {"LimitedBroadcast_8", {"255", "255", "255", "255"}, 8, "Broadcast", "255.0.0.0", kAny, kAny, kAny,
     "N/A - Not an Internet Address", "11111111 11111111 11111111 11111111", kAny},
    {"LimitedBroadcast_30", {"255", "255", "255", "255"}, 30, "Broadcast", kAny, kAny, kAny, kAny,
     "N/A - Not an Internet Address", "11111111 11111111 11111111 11111111", kAny},
    {"NearBroadcastIsClassE", {"255", "255", "255", "254"}, 30, "Class E (Experimental)", kAny, kAny, kAny, kAny,
     "Net 0 Subnet 1073741823 of 1073741824 Node 2 of 2", kAny, kAny},
    {"AddressCorrectedToBroadcast", {"999", "255", "255", "1000"}, 24, "Broadcast", kAny, kAny, kAny, kAny,
     "N/A - Not an Internet Address", kAny, kAny},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Examples, SubnetExamples, testing::ValuesIn(kSubnetCases), test::RowName());

// ---- Reading an octet box's text ----

struct OctetCase
{
    const char* name;
    const char* text;
    int value;
    const char* correction; // null: none
};

class OctetReading : public testing::TestWithParam<OctetCase>
{ };

// Each row is tried in every position, with the other boxes holding plain numbers.
TEST_P(OctetReading, InEveryPosition)
{
    const OctetCase& c = GetParam();
    for (size_t k = 0; k < 4; ++k) {
        std::array<std::string, 4> texts {"10", "20", "30", "40"};
        texts[k] = c.text;
        const TSubnetResult r = ComputeSubnet(texts, 16);
        std::array<int, 4> expected {10, 20, 30, 40};
        expected[k] = c.value;
        EXPECT_EQ(r.OctetValues, expected) << "octet " << k + 1;
        for (size_t j = 0; j < 4; ++j) {
            if (j == k && c.correction) {
                EXPECT_EQ(r.OctetCorrections[j], std::optional<std::string>(c.correction)) << "octet " << j + 1;
            } else {
                EXPECT_FALSE(r.OctetCorrections[j].has_value()) << "octet " << j + 1;
            }
        }
    }
}

const OctetCase kOctetCases[] = {
    {"Plain", "12", 12, nullptr},
    {"Zero", "0", 0, nullptr},
    {"Top", "255", 255, nullptr},
    {"LeadingZeros", "007", 7, nullptr},
    {"ManyLeadingZeros", "0000000000000000000012", 12, nullptr},
    {"LeadingBlank", " 12", 12, nullptr},
    {"PlusSign", "+7", 7, nullptr},
    {"MinusZero", "-0", 0, nullptr},
    {"Empty", "", 0, nullptr},
    {"OnlyBlanks", "   ", 0, nullptr},
    {"LoneSign", "-", 0, nullptr},
    {"Letters", "abc", 0, nullptr},
    {"TrailingText", "12a", 0, nullptr},
    {"TrailingBlank", "12 ", 0, nullptr},
    {"InnerBlank", "1 2", 0, nullptr},
    {"BlankAfterSign", "- 5", 0, nullptr},
    {"TwoSigns", "+-5", 0, nullptr},
    {"Hex", "0x10", 0, nullptr},
    {"Decimal", "1.5", 0, nullptr},
    {"JustAbove255", "256", 255, "255"},
    {"Above255", "300", 255, "255"},
    {"Int32Max", "2147483647", 255, "255"},
    {"BeyondInt32", "2147483648", 0, nullptr},
    {"FarBeyondInt32", "99999999999999999999999", 0, nullptr},
    {"Negative", "-5", 0, "0"},
    {"NegativeWithBlank", " -1", 0, "0"},
    {"Int32Min", "-2147483648", 0, "0"},
    {"BelowInt32", "-2147483649", 0, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Texts, OctetReading, testing::ValuesIn(kOctetCases), test::RowName());

// ---- Class rules, at every boundary ----

struct ClassCase
{
    const char* name;
    std::array<int, 4> octets;
    const char* classText;
    std::optional<int> netBits;
    bool isLocal;
};

class ClassRules : public testing::TestWithParam<ClassCase>
{ };

TEST_P(ClassRules, FirstMatchWins)
{
    const ClassCase& c = GetParam();
    const AddressClass cls = ClassifyAddress(c.octets);
    EXPECT_EQ(cls.ClassText, c.classText);
    EXPECT_EQ(cls.NetBits, c.netBits);
    EXPECT_EQ(cls.IsLocal, c.isLocal);
}

const ClassCase kClassCases[] = {
    {"Zero", {0, 1, 2, 3}, "Invalid Address", 0, false},
    {"One", {1, 0, 0, 0}, "Class A (/8 Network)", 8, false},
    {"Nine", {9, 255, 255, 255}, "Class A (/8 Network)", 8, false},
    {"Ten", {10, 1, 2, 3}, "Local (/8 Network)", 8, true},
    {"Eleven", {11, 0, 0, 0}, "Class A (/8 Network)", 8, false},
    {"Top126", {126, 0, 0, 0}, "Class A (/8 Network)", 8, false},
    {"Loopback", {127, 9, 9, 9}, "Loopback", 0, false},
    {"Bottom128", {128, 0, 0, 0}, "Class B (/16 Network)", 16, false},
    {"Below172Block", {172, 15, 0, 0}, "Class B (/16 Network)", 16, false},
    {"Bottom172Block", {172, 16, 0, 0}, "Local (/12 Network)", 12, true},
    {"Top172Block", {172, 31, 255, 255}, "Local (/12 Network)", 12, true},
    {"Above172Block", {172, 32, 0, 0}, "Class B (/16 Network)", 16, false},
    {"Top191", {191, 255, 0, 0}, "Class B (/16 Network)", 16, false},
    {"Bottom192", {192, 0, 0, 0}, "Class C (/24 Network)", 24, false},
    {"Below192Block", {192, 167, 0, 0}, "Class C (/24 Network)", 24, false},
    {"Is192Block", {192, 168, 255, 255}, "Local (/16 Network)", 16, true},
    {"Above192Block", {192, 169, 0, 0}, "Class C (/24 Network)", 24, false},
    {"Top223", {223, 0, 0, 0}, "Class C (/24 Network)", 24, false},
    {"Bottom224", {224, 0, 0, 0}, "Class D (Multicast)", 0, false},
    {"Top239", {239, 255, 255, 255}, "Class D (Multicast)", 0, false},
    {"Bottom240", {240, 0, 0, 0}, "Class E (Experimental)", 0, false},
    {"AllButLastOnes", {255, 255, 255, 254}, "Class E (Experimental)", 0, false},
    {"LimitedBroadcast", {255, 255, 255, 255}, "Broadcast", std::nullopt, false},
};

INSTANTIATE_TEST_SUITE_P(Boundaries, ClassRules, testing::ValuesIn(kClassCases), test::RowName());

// ---- Building blocks ----

TEST(PowerOfTwo, OneForNonPositive)
{
    EXPECT_EQ(PowerOfTwo(-3), 1U);
    EXPECT_EQ(PowerOfTwo(0), 1U);
    EXPECT_EQ(PowerOfTwo(1), 2U);
    EXPECT_EQ(PowerOfTwo(24), 16777216U);
    EXPECT_EQ(PowerOfTwo(30), 1073741824U);
}

// An index the lists never produce is clamped into 0..22 rather than taken as a prefix the page lacks.
TEST(ComputeSubnet, PrefixIndexOutsideListIsClamped)
{
    const std::array<std::string, 4> octets {"130", "5", "1", "1"};
    const TSubnetResult shortest = ComputeSubnet(octets, 0);
    const TSubnetResult longest = ComputeSubnet(octets, 22);
    for (const int index : {-1, -100, INT_MIN}) {
        const TSubnetResult r = ComputeSubnet(octets, index);
        EXPECT_EQ(r.SNBinaryText, shortest.SNBinaryText) << index;
        EXPECT_EQ(r.BreakdownText, shortest.BreakdownText) << index;
    }
    for (const int index : {23, 24, 1000, INT_MAX}) {
        const TSubnetResult r = ComputeSubnet(octets, index);
        EXPECT_EQ(r.SNBinaryText, longest.SNBinaryText) << index;
        EXPECT_EQ(r.BreakdownText, longest.BreakdownText) << index;
    }
    EXPECT_EQ(PrefixLengthForIndex(-1), 8);
    EXPECT_EQ(PrefixLengthForIndex(23), 30);
}

// ---- Property: the prefix texts agree with plain 32-bit mask arithmetic ----

std::string DottedOf(uint32_t a)
{
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." + std::to_string((a >> 8) & 255) + "."
        + std::to_string(a & 255);
}

std::string GroupedBits(uint32_t a)
{
    const std::string bits = std::bitset<32>(a).to_string();
    return bits.substr(0, 8) + " " + bits.substr(8, 8) + " " + bits.substr(16, 8) + " " + bits.substr(24, 8);
}

std::string WithoutPieceNames(std::string text)
{
    std::string digits;
    for (const char c : text) {
        if (c == '0' || c == '1')
            digits += c;
    }
    return digits;
}

// Checks the breakdown pieces that follow from the node bits alone, and that the binary pieces spell the address.
void ExpectBreakdownMatches(uint32_t a, int p, const AddressClass& cls, const TSubnetResult& r)
{
    const uint64_t hostCount = uint64_t {1} << (32 - p);
    const uint32_t node = a & static_cast<uint32_t>(hostCount - 1);
    const std::string nodePiece = node == 0 ? "Reserved"
        : node == hostCount - 1             ? "Broadcast"
                                            : "Node " + std::to_string(node);
    const std::string ending = nodePiece + " of " + std::to_string(hostCount - 2);
    ASSERT_GE(r.BreakdownText.size(), ending.size());
    EXPECT_EQ(r.BreakdownText.substr(r.BreakdownText.size() - ending.size()), ending);
    EXPECT_EQ(r.BreakdownText.rfind(cls.IsLocal ? "Local " : "Net ", 0), 0U);
    const size_t shownBits = cls.IsLocal ? static_cast<size_t>(32 - *cls.NetBits) : 32;
    EXPECT_EQ(WithoutPieceNames(r.IPBinaryText), std::bitset<32>(a).to_string().substr(32 - shownBits));
}

TEST(ComputeSubnetProperty, AgreesWithMaskArithmetic)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<uint32_t> any;
    for (int index = 0; index < PrefixCount; ++index) {
        const int p = index + 8;
        const uint32_t mask = ~uint32_t {0} << (32 - p);
        for (int i = 0; i < 400; ++i) {
            const uint32_t a = any(rng);
            const std::array<std::string, 4> octets {std::to_string(a >> 24), std::to_string((a >> 16) & 255),
                                                     std::to_string((a >> 8) & 255), std::to_string(a & 255)};
            const TSubnetResult r = ComputeSubnet(octets, index);
            const uint32_t net = a & mask;
            const uint32_t bcast = net | ~mask;
            const uint64_t total = uint64_t {1} << (32 - p);
            SCOPED_TRACE(DottedOf(a) + "/" + std::to_string(p));
            ASSERT_EQ(r.ReservedText, DottedOf(net));
            ASSERT_EQ(r.BroadcastText, DottedOf(bcast));
            ASSERT_EQ(r.RangeText, DottedOf(net + 1) + " - " + DottedOf(bcast - 1));
            ASSERT_EQ(r.AddressesText,
                      std::to_string(total) + " Total, " + std::to_string(total - 2) + " Usable ("
                          + std::to_string(total - 3) + " + Gateway)");
            ASSERT_EQ(r.SNBinaryText, GroupedBits(mask));

            const AddressClass cls = ClassifyAddress(r.OctetValues);
            EXPECT_EQ(r.ClassText, cls.ClassText);
            if (!cls.NetBits) {
                EXPECT_EQ(r.BreakdownText, "N/A - Not an Internet Address");
            } else if (p < *cls.NetBits) {
                EXPECT_EQ(r.BreakdownText, kInvalid);
                EXPECT_EQ(r.IPBinaryText, GroupedBits(a));
            } else {
                ExpectBreakdownMatches(a, p, cls, r);
            }
        }
    }
}

} // namespace
} // namespace tarvelle
