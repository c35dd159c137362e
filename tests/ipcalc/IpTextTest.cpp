#include "IpText.h"
#include "IpTestHelpers.h"
#include "RowName.h"

#include <gtest/gtest.h>

namespace tarvelle::ip {
namespace {

using tarvelle::test::PrintTo;
using test::Addr;

// ---- RFC 5952: every way of writing an address gives one text ----

struct CanonicalCase
{
    const char* name;
    const char* text;
    const char* canonical;
};

class Canonical : public testing::TestWithParam<CanonicalCase>
{ };

TEST_P(Canonical, Text)
{
    EXPECT_EQ(AddressText(Addr(GetParam().text)), GetParam().canonical);
}

// clang-format off
const CanonicalCase kCanonicalCases[] = {
    // RFC 5952 section 2: the many texts of one address.
    {"Sec2_Full", "2001:db8:0:0:1:0:0:1", "2001:db8::1:0:0:1"},
    {"Sec2_LeadingZeros", "2001:0db8:0:0:1:0:0:1", "2001:db8::1:0:0:1"},
    {"Sec2_ZeroGroupWritten", "2001:db8::0:1:0:0:1", "2001:db8::1:0:0:1"},
    {"Sec2_SecondRunCompressed", "2001:db8:0:0:1::1", "2001:db8::1:0:0:1"},
    {"Sec2_UpperCase", "2001:DB8:0:0:1::1", "2001:db8::1:0:0:1"},
    // Section 4.1: no leading zeros.
    {"Sec4_1", "2001:0db8::0001", "2001:db8::1"},
    // Section 4.2.1: "::" takes in as many zero groups as it can.
    {"Sec4_2_1", "2001:db8:0:0:0:0:2:1", "2001:db8::2:1"},
    // Section 4.2.2: a single zero group is not shortened.
    {"Sec4_2_2", "2001:db8:0:1:1:1:1:1", "2001:db8:0:1:1:1:1:1"},
    // Section 4.2.3: the longest run, and the first of two equal runs.
    {"Sec4_2_3_Longest", "2001:0:0:1:0:0:0:1", "2001:0:0:1::1"},
    {"Sec4_2_3_FirstOnTie", "2001:db8:0:0:1:0:0:1", "2001:db8::1:0:0:1"},
    // Section 4.3: lower case.
    {"Sec4_3", "2001:DB8:AC10:FE01::", "2001:db8:ac10:fe01::"},
    // Section 5: an IPv4-mapped address in mixed notation.
    {"Sec5_Mapped", "::ffff:c000:0201", "::ffff:192.0.2.1"},
    {"MappedZero", "::ffff:0:0", "::ffff:0.0.0.0"},
    {"CompatibleIsHex", "::192.0.2.1", "::c000:201"},
    {"Unspecified", "0:0:0:0:0:0:0:0", "::"},
    {"Loopback", "0:0:0:0:0:0:0:1", "::1"},
    {"RunAtEnd", "1:0:0:0:0:0:0:0", "1::"},
    {"NoZeros", "1:2:3:4:5:6:7:8", "1:2:3:4:5:6:7:8"},
    {"AllOnes", "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"},
    {"V4", "192.0.2.1", "192.0.2.1"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rfc5952, Canonical, testing::ValuesIn(kCanonicalCases), tarvelle::test::RowName());

TEST(AddressTexts, ExpandedAndReverse)
{
    EXPECT_EQ(ExpandedText(Addr("2001:db8::1")), "2001:0db8:0000:0000:0000:0000:0000:0001");
    EXPECT_EQ(ExpandedText(Addr("::ffff:192.0.2.1")), "0000:0000:0000:0000:0000:ffff:c000:0201");
    EXPECT_EQ(ExpandedText(Addr("10.0.0.1")), "10.0.0.1");
    // RFC 3596 section 2.5's example, and the address (not its network) of an IPv4 answer.
    EXPECT_EQ(ReverseName(Addr("4321:0:1:2:3:4:567:89ab")),
              "b.a.9.8.7.6.5.0.4.0.0.0.3.0.0.0.2.0.0.0.1.0.0.0.0.0.0.0.1.2.3.4.ip6.arpa");
    EXPECT_EQ(ReverseName(Addr("192.0.2.10")), "10.2.0.192.in-addr.arpa");
    EXPECT_EQ(NetworkText({Addr("2001:db8::"), 32}), "2001:db8::/32");
    EXPECT_EQ(NetworkText({Addr("0.0.0.0"), 0}), "0.0.0.0/0");
}

// ---- Exact decimal numbers, past 64 bits and up to 2^128 ----

TEST(DecimalTexts, Values)
{
    constexpr Uint128 kTenTo19 = 10'000'000'000'000'000'000ULL;
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(Uint128 {1} << 64), "18446744073709551616");
    EXPECT_EQ(DecimalText(kTenTo19 - 1), "9999999999999999999");
    EXPECT_EQ(DecimalText(kTenTo19), "10000000000000000000");
    EXPECT_EQ(DecimalText(kTenTo19 * kTenTo19), "100000000000000000000000000000000000000");
    EXPECT_EQ(DecimalText(Uint128 {1} << 100), "1267650600228229401496703205376");
    EXPECT_EQ(DecimalText(Uint128Max), "340282366920938463463374607431768211455");
}

TEST(DecimalTexts, Counts)
{
    EXPECT_EQ(CountText(PowerOfTwoCount(0)), "1");
    EXPECT_EQ(CountText(PowerOfTwoCount(32)), "4294967296");
    EXPECT_EQ(CountText(PowerOfTwoCount(64)), "18446744073709551616");
    EXPECT_EQ(CountText(PowerOfTwoCount(128)), "340282366920938463463374607431768211456");
    EXPECT_EQ(CountText({9}), "10");
    EXPECT_EQ(CountText({1999}), "2000");
}

} // namespace
} // namespace tarvelle::ip
