#include "IpBlocks.h"
#include "IpTestHelpers.h"
#include "IpText.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tarvelle::ip {
namespace {

using tarvelle::test::PrintTo;
using test::Addr;
using test::Net;

std::vector<std::string> Texts(const std::vector<IpNetwork>& blocks)
{
    std::vector<std::string> texts;
    for (const IpNetwork& block : blocks)
        texts.push_back(NetworkText(block));
    return texts;
}

// The fewest aligned IPv4 blocks covering lo..hi, by trying every block at every start (no greedy choice).
size_t FewestBlocks(uint64_t lo, uint64_t hi)
{
    std::vector<size_t> fewest(hi - lo + 2, 0);
    for (uint64_t a = hi + 1; a-- > lo;) {
        size_t best = SIZE_MAX;
        for (uint64_t size = 1; size <= (uint64_t {1} << 32) && a % size == 0 && a + size - 1 <= hi; size *= 2)
            best = std::min(best, 1 + fewest[a + size - lo]);
        fewest[a - lo] = best;
    }
    return fewest[0];
}

// ---- Split ----

std::vector<std::string> Walk(IpResult<SubnetWalker> walk, size_t atMost)
{
    std::vector<std::string> texts;
    for (IpNetwork subnet; texts.size() < atMost && walk && walk->Next(subnet);)
        texts.push_back(NetworkText(subnet));
    return texts;
}

TEST(Split, WalksEverySubnetInOrderAndStops)
{
    const std::vector<std::string> subnets = Walk(SplitNetwork(Net("10.0.0.0/16"), 24), 1000);
    ASSERT_EQ(subnets.size(), 256u);
    EXPECT_EQ(subnets[1], "10.0.1.0/24");
    EXPECT_EQ(subnets[255], "10.0.255.0/24");
    // The last subnet of the IPv6 space ends at the top; the walk must stop there, not wrap around.
    const std::vector<std::string> top
        = Walk(SplitNetwork(Net("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ff00/120"), 128), 1000);
    ASSERT_EQ(top.size(), 256u);
    EXPECT_EQ(top.back(), "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128");
    EXPECT_EQ(Walk(SplitNetwork(Net("::/0"), 0), 1000), std::vector<std::string> {"::/0"});
    EXPECT_EQ(Walk(SplitNetwork(Net("::/0"), 1), 1000), (std::vector<std::string> {"::/1", "8000::/1"}));
    EXPECT_EQ(CountText(SplitNetwork(Net("::/0"), 128)->Count()), "340282366920938463463374607431768211456");
    EXPECT_EQ(SplitNetwork(Net("10.0.0.0/16"), 15).Error(), IpError::SplitPrefixShorter);
    EXPECT_EQ(SplitNetwork(Net("10.0.0.0/16"), 33).Error(), IpError::PrefixRange);
}

TEST(Split, PrefixForACount)
{
    const IpNetwork net = Net("10.0.0.0/16");
    const std::pair<Uint128, int> cases[] = {{1, 16}, {2, 17}, {3, 18}, {256, 24}, {257, 25}, {65536, 32}};
    for (const auto& [count, prefix] : cases)
        EXPECT_EQ(*PrefixForCount(net, count), prefix) << static_cast<uint64_t>(count);
    EXPECT_EQ(*PrefixForCount(Net("::/0"), (Uint128 {1} << 127) + 1), 128);
    EXPECT_EQ(PrefixForCount(net, 65537).Error(), IpError::SplitCountTooLarge);
    EXPECT_EQ(PrefixForCount(Net("2001:db8::/126"), 5).Error(), IpError::SplitCountTooLarge);
    EXPECT_EQ(PrefixForCount(net, 0).Error(), IpError::SplitCountZero);
}

// ---- Range to blocks ----

TEST(Range, HandCheckedRanges)
{
    EXPECT_EQ(Texts(*RangeToBlocks(Addr("10.0.0.5"), Addr("10.0.0.77"))),
              (std::vector<std::string> {"10.0.0.5/32", "10.0.0.6/31", "10.0.0.8/29", "10.0.0.16/28", "10.0.0.32/27",
                                         "10.0.0.64/29", "10.0.0.72/30", "10.0.0.76/31"}));
    EXPECT_EQ(Texts(*RangeToBlocks(Addr("10.0.0.9"), Addr("10.0.0.9"))), (std::vector<std::string> {"10.0.0.9/32"}));
    EXPECT_EQ(Texts(*RangeToBlocks(Addr("0.0.0.0"), Addr("255.255.255.255"))),
              (std::vector<std::string> {"0.0.0.0/0"}));
    const IpAddress top = Addr("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff");
    EXPECT_EQ(Texts(*RangeToBlocks(Addr("::"), top)), (std::vector<std::string> {"::/0"}));
    const std::vector<IpNetwork> allButEnds = *RangeToBlocks(Addr("::1"), {top.value - 1, IpFamily::V6});
    ASSERT_EQ(allButEnds.size(), 254u);
    EXPECT_EQ(NetworkText(allButEnds.front()), "::1/128");
    EXPECT_EQ(NetworkText(allButEnds[126]), "4000::/2");
    EXPECT_EQ(NetworkText(allButEnds.back()), "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/128");
    EXPECT_EQ(RangeToBlocks(Addr("10.0.0.77"), Addr("10.0.0.5")).Error(), IpError::RangeReversed);
    EXPECT_EQ(RangeToBlocks(Addr("10.0.0.5"), Addr("::1")).Error(), IpError::MixedFamilies);
}

// Every range inside the lowest and the highest 256 addresses: the blocks run in order without gaps, each
// starts on its own size, together they cover exactly the range, and there are no fewer.
TEST(Range, EveryRangeAtBothEndsIsCoveredExactlyAndMinimally)
{
    for (const uint64_t base : {uint64_t {0}, uint64_t {0xFFFFFF00}}) {
        for (uint64_t lo = base; lo <= base + 255; ++lo) {
            for (uint64_t hi = lo; hi <= base + 255; ++hi) {
                const std::vector<IpNetwork> blocks = *RangeToBlocks({lo, IpFamily::V4}, {hi, IpFamily::V4});
                uint64_t next = lo;
                for (const IpNetwork& block : blocks) {
                    ASSERT_EQ(block.base.value, next) << lo << ".." << hi;
                    ASSERT_EQ(block.base.value & HostMask(IpFamily::V4, block.prefix), 0u);
                    next = static_cast<uint64_t>(LastAddress(block).value) + 1;
                }
                ASSERT_EQ(next, hi + 1) << lo << ".." << hi;
                ASSERT_EQ(blocks.size(), FewestBlocks(lo, hi)) << lo << ".." << hi;
            }
        }
    }
}

// ---- Merge ----

TEST(Merge, HandCheckedSets)
{
    const auto merged = [](std::initializer_list<const char*> cidrs) {
        std::vector<IpNetwork> networks;
        for (const char* cidr : cidrs)
            networks.push_back(Net(cidr));
        return Texts(MergeNetworks(networks));
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(merged({}), Texts {});
    EXPECT_EQ(merged({"10.0.1.0/24", "10.0.0.0/24"}), Texts {"10.0.0.0/23"});
    EXPECT_EQ(merged({"10.1.0.0/16", "10.0.0.0/8", "10.1.2.3/32"}), Texts {"10.0.0.0/8"});
    EXPECT_EQ(merged({"10.0.1.0/24", "10.0.2.0/24"}), (Texts {"10.0.1.0/24", "10.0.2.0/24"}));
    EXPECT_EQ(merged({"10.0.0.5/24", "10.0.0.0/24"}), Texts {"10.0.0.0/24"});
    EXPECT_EQ(merged({"255.255.255.255/32", "255.255.255.254/32"}), Texts {"255.255.255.254/31"});
    EXPECT_EQ(merged({"8000::/1", "::/1", "::1/128"}), Texts {"::/0"});
    EXPECT_EQ(merged({"2001:db8:8000::/33", "10.0.0.1/32", "2001:db8::/33", "10.0.0.0/32", "0.0.0.0/32"}),
              (Texts {"0.0.0.0/32", "10.0.0.0/31", "2001:db8::/32"}));
}

// Random sets of blocks inside one /24, the same set given once as IPv4 and once inside an IPv6 /120: each
// family's result covers exactly the union with the fewest blocks, and the families stay apart.
TEST(Merge, RandomSetsAreCoveredExactlyAndMinimally)
{
    std::mt19937 random(14);
    const Uint128 v6Base = Addr("2001:db8::").value;
    for (const uint32_t v4Base : {0x0A000000u, 0xFFFFFF00u}) {
        for (int round = 0; round < 2000; ++round) {
            std::vector<IpNetwork> networks;
            std::bitset<256> wanted;
            for (int n = static_cast<int>(random() % 12); n >= 0; --n) {
                const int hostBits = static_cast<int>(random() % 7);
                const uint32_t offset = random() % 256 & ~((1u << hostBits) - 1);
                for (uint32_t k = 0; k < (1u << hostBits); ++k)
                    wanted.set(offset + k);
                networks.push_back({{v4Base + offset, IpFamily::V4}, 32 - hostBits});
                networks.push_back({{v6Base + offset, IpFamily::V6}, 128 - hostBits});
            }
            std::shuffle(networks.begin(), networks.end(), random);
            size_t fewest = 0;
            for (uint32_t k = 0; k < 256; ++k) {
                uint32_t end = k;
                while (end < 256 && wanted[end])
                    ++end;
                fewest += end > k ? FewestBlocks(k, end - 1) : 0;
                k = end;
            }
            const std::vector<IpNetwork> merged = MergeNetworks(networks);
            ASSERT_EQ(merged.size(), 2 * fewest);
            std::array<std::bitset<256>, 2> covered;
            for (size_t k = 0; k < merged.size(); ++k) {
                const bool v6 = k >= fewest;
                ASSERT_EQ(merged[k].base.family, v6 ? IpFamily::V6 : IpFamily::V4);
                const Uint128 offset = merged[k].base.value - (v6 ? v6Base : v4Base);
                for (Uint128 a = offset; a <= offset + HostMask(merged[k].base.family, merged[k].prefix); ++a) {
                    ASSERT_FALSE(covered[v6][static_cast<size_t>(a)]) << "overlap";
                    covered[v6].set(static_cast<size_t>(a));
                }
            }
            EXPECT_EQ(covered[0], wanted);
            EXPECT_EQ(covered[1], wanted);
        }
    }
}

} // namespace
} // namespace tarvelle::ip
