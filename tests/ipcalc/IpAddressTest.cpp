#include "IpAddress.h"
#include "IpTestHelpers.h"
#include "IpText.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <random>

namespace tarvelle::ip {
namespace {

using tarvelle::test::PrintTo;

// ---- Texts read: the value is checked through the expanded form ----

struct ReadCase
{
    const char* name;
    const char* text;
    const char* expanded;
    const char* zone;
    int prefix; // -1: none given
};

class Reading : public testing::TestWithParam<ReadCase>
{ };

TEST_P(Reading, ValueZoneAndPrefix)
{
    const ReadCase& c = GetParam();
    const IpResult<ParsedCidr> r = ParseCidr(c.text);
    ASSERT_TRUE(r) << IpErrorText(r.Error());
    EXPECT_EQ(ExpandedText(r->address), c.expanded);
    EXPECT_EQ(r->zone, c.zone);
    EXPECT_EQ(r->prefix.value_or(-1), c.prefix);
}

constexpr const char* kDocOne = "2001:0db8:0000:0000:0000:0000:0000:0001";

// clang-format off
const ReadCase kReadCases[] = {
    {"V4Zero", "0.0.0.0", "0.0.0.0", "", -1},
    {"V4AllOnes", "255.255.255.255/32", "255.255.255.255", "", 32},
    {"V4MaskKeepsHostBits", "10.0.0.5/255.255.255.0", "10.0.0.5", "", 24},
    {"V4MaskZero", "10.0.0.5/0.0.0.0", "10.0.0.5", "", 0},
    {"V4MaskAllOnes", "10.0.0.5/255.255.255.255", "10.0.0.5", "", 32},
    {"V4Mask255_254", "10.0.0.5/255.254.0.0", "10.0.0.5", "", 15},
    {"Unspecified", "::", "0000:0000:0000:0000:0000:0000:0000:0000", "", -1},
    {"Loopback", "::1/128", "0000:0000:0000:0000:0000:0000:0000:0001", "", 128},
    {"TrailingGap", "1::", "0001:0000:0000:0000:0000:0000:0000:0000", "", -1},
    {"Compressed", "2001:db8::1/64", kDocOne, "", 64},
    {"Full", "2001:0db8:0000:0000:0000:0000:0000:0001", kDocOne, "", -1},
    {"UpperCase", "2001:DB8::1", kDocOne, "", -1},
    {"GapOfOneAtEnd", "1:2:3:4:5:6:7::", "0001:0002:0003:0004:0005:0006:0007:0000", "", -1},
    {"GapOfOneAtStart", "::2:3:4:5:6:7:8", "0000:0002:0003:0004:0005:0006:0007:0008", "", -1},
    {"Mapped", "::ffff:192.0.2.1", "0000:0000:0000:0000:0000:ffff:c000:0201", "", -1},
    {"Compatible", "::13.1.68.3", "0000:0000:0000:0000:0000:0000:0d01:4403", "", -1},
    {"EmbeddedFull", "1:2:3:4:5:6:1.2.3.4", "0001:0002:0003:0004:0005:0006:0102:0304", "", -1},
    {"EmbeddedAfterGap", "64:ff9b::192.0.2.33/96", "0064:ff9b:0000:0000:0000:0000:c000:0221", "", 96},
    {"Zone", "fe80::1%eth0", "fe80:0000:0000:0000:0000:0000:0000:0001", "eth0", -1},
    {"ZoneAndPrefix", "fe80::1%25/64", "fe80:0000:0000:0000:0000:0000:0000:0001", "25", 64},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Texts, Reading, testing::ValuesIn(kReadCases), tarvelle::test::RowName());

// ---- Texts refused, with the reason ----

struct RefuseCase
{
    const char* name;
    const char* text;
    IpError error;
};

class Refusing : public testing::TestWithParam<RefuseCase>
{ };

TEST_P(Refusing, WithReason)
{
    const RefuseCase& c = GetParam();
    const IpResult<ParsedCidr> r = ParseCidr(c.text);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.Error(), c.error) << IpErrorText(r.Error());
}

// clang-format off
const RefuseCase kRefuseCases[] = {
    {"Empty", "", IpError::Empty},
    {"V4ThreeOctets", "1.2.3", IpError::BadIpv4},
    {"V4TrailingDot", "1.2.3.4.", IpError::BadIpv4},
    {"V4LeadingBlank", " 1.2.3.4", IpError::BadIpv4},
    {"V4Sign", "+1.2.3.4", IpError::BadIpv4},
    {"V4TrailingLetter", "10.0.0.1x", IpError::BadIpv4},
    {"V4LeadingZero", "10.0.0.01", IpError::Ipv4LeadingZero},
    {"V4Octet256", "256.0.0.0", IpError::Ipv4OctetRange},
    {"V4HugeOctet", "1.2.3.99999999999", IpError::Ipv4OctetRange},
    {"V4Zone", "10.0.0.1%eth0", IpError::ZoneOnIpv4},
    {"TwoGaps", "1::2::3", IpError::Ipv6DoubleCompression},
    {"FiveDigitGroup", "12345::", IpError::Ipv6GroupTooLong},
    {"ShortEmbedded", "::ffff:1.2.3", IpError::Ipv6BadEmbeddedIpv4},
    {"EmbeddedNotLast", "::1.2.3.4:1", IpError::Ipv6BadEmbeddedIpv4},
    {"EmbeddedTooLate", "1:2:3:4:5:6:7:1.2.3.4", IpError::Ipv6TooManyGroups},
    {"NineGroups", "1:2:3:4:5:6:7:8:9", IpError::Ipv6TooManyGroups},
    {"GapWithEightGroups", "1:2:3:4:5:6:7::8", IpError::Ipv6TooManyGroups},
    {"SevenGroups", "1:2:3:4:5:6:7", IpError::Ipv6TooFewGroups},
    {"TripleColon", ":::", IpError::BadIpv6},
    {"LeadingColon", ":1::", IpError::BadIpv6},
    {"TrailingColon", "1::2:", IpError::BadIpv6},
    {"NotHex", "g::1", IpError::BadIpv6},
    {"ZoneOnly", "%eth0", IpError::Empty},
    {"EmptyZone", "fe80::1%", IpError::BadZone},
    {"ZoneWithBlank", "fe80::1%a b", IpError::BadZone},
    {"EmptyPrefix", "10.0.0.0/", IpError::BadPrefix},
    {"PrefixLeadingZero", "10.0.0.0/08", IpError::BadPrefix},
    {"TwoSlashes", "10.0.0.0/8/8", IpError::BadPrefix},
    {"V4Prefix33", "10.0.0.0/33", IpError::PrefixRange},
    {"V6Prefix129", "2001:db8::/129", IpError::PrefixRange},
    {"LongPrefix", "10.0.0.0/0000000000024", IpError::BadPrefix},
    {"NonContiguousMask", "10.0.0.0/255.0.255.0", IpError::NonContiguousMask},
    {"WildcardMask", "10.0.0.0/0.0.0.255", IpError::NonContiguousMask},
    {"BadMask", "10.0.0.0/255.255.0", IpError::BadPrefix},
    {"V6Mask", "2001:db8::/ffff:ffff::", IpError::MaskOnIpv6},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Texts, Refusing, testing::ValuesIn(kRefuseCases), tarvelle::test::RowName());

TEST(Ranges, ReadWithBothEnds)
{
    const IpResult<AddressRange> r = ParseRange("10.0.0.5-10.0.0.77");
    ASSERT_TRUE(r);
    EXPECT_EQ(AddressText(r->first), "10.0.0.5");
    EXPECT_EQ(AddressText(r->last), "10.0.0.77");
    EXPECT_TRUE(ParseRange("2001:db8::1-2001:db8::1"));
    EXPECT_EQ(ParseRange("10.0.0.77-10.0.0.5").Error(), IpError::RangeReversed);
    EXPECT_EQ(ParseRange("10.0.0.5", "::1").Error(), IpError::MixedFamilies);
    EXPECT_EQ(ParseRange("10.0.0.5").Error(), IpError::BadRange);
    EXPECT_EQ(ParseRange("10.0.0.5-10.0.0.7-10.0.0.9").Error(), IpError::BadIpv4);
    EXPECT_EQ(ParseRange("fe80::1%eth0-fe80::2").Error(), IpError::ZoneInRange);
}

// ---- Every written form reads back as the same address ----

TEST(AddressTexts, ReadBackAsTheSameAddress)
{
    std::mt19937_64 random(20261209);
    for (int k = 0; k < 20000; ++k) {
        // Zero groups are made common so that "::" turns up in every position.
        Uint128 value = 0;
        for (int group = 0; group < 8; ++group)
            value = value << 16 | (random() % 3 == 0 ? 0 : random() & 0xFFFF);
        const IpAddress v6 {value, IpFamily::V6};
        const IpAddress v4 {value & 0xFFFFFFFF, IpFamily::V4};
        for (const IpAddress& a : {v6, v4}) {
            for (const std::string& text : {AddressText(a), ExpandedText(a)}) {
                const IpResult<ParsedAddress> r = ParseAddress(text);
                ASSERT_TRUE(r) << text;
                EXPECT_TRUE(r->address == a) << text;
            }
        }
    }
}

} // namespace
} // namespace tarvelle::ip
