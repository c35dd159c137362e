#include "Random.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

TEST(LcgRandom, CheckValuesFromTheStartSeed)
{
    LcgRandom random;
    EXPECT_EQ(random.RandomBelow(2147483647u), 0u);
    EXPECT_EQ(random.GeneratorSeed, 1u);
    std::vector<uint32_t> rotations;
    for (int i = 0; i < 8; ++i)
        rotations.push_back(random.RandomBelow(31));
    EXPECT_EQ(rotations, (std::vector<uint32_t> {0, 26, 6, 8, 20, 9, 5, 11}));
}

TEST(LcgRandom, EveryDrawStepsOnceWhateverN)
{
    LcgRandom random(12345);
    LcgRandom stepped(12345);
    EXPECT_EQ(random.RandomBelow(0), 0u);
    stepped.GeneratorSeed = stepped.GeneratorSeed * 134775813u + 1u;
    EXPECT_EQ(random.GeneratorSeed, stepped.GeneratorSeed);
    EXPECT_EQ(random.RandomBelow(1), 0u);
    stepped.GeneratorSeed = stepped.GeneratorSeed * 134775813u + 1u;
    EXPECT_EQ(random.GeneratorSeed, stepped.GeneratorSeed);
    // The largest n takes the seed's upper bits whole: floor(0xFFFFFFFF * seed / 2^32) = seed - 1 for seed > 0.
    const uint32_t drawn = random.RandomBelow(0xFFFFFFFFu);
    EXPECT_EQ(drawn, random.GeneratorSeed - 1u);
}

struct FillCase
{
    const char* name;
    uint32_t seed;
    uint32_t n;
    size_t count;
};

class LcgFill : public testing::TestWithParam<FillCase>
{ };

TEST_P(LcgFill, MatchesSingleDrawsAndLeavesTheSameSeed)
{
    const FillCase& c = GetParam();
    LcgRandom batch(c.seed);
    LcgRandom single(c.seed);
    std::vector<uint32_t> filled(c.count + 1, 0xDEADBEEFu);
    batch.FillBelow(c.n, filled.data(), c.count);
    for (size_t i = 0; i < c.count; ++i)
        EXPECT_EQ(filled[i], single.RandomBelow(c.n)) << "draw " << i;
    EXPECT_EQ(filled[c.count], 0xDEADBEEFu) << "wrote past the end";
    EXPECT_EQ(batch.GeneratorSeed, single.GeneratorSeed);
}

INSTANTIATE_TEST_SUITE_P(Counts, LcgFill,
                         testing::Values(FillCase {"None", 7, 26, 0}, FillCase {"One", 7, 26, 1},
                                         FillCase {"Three", 0, 10, 3}, FillCase {"Four", 99, 12, 4},
                                         FillCase {"Nine", 0xFFFFFFFFu, 9, 9}, FillCase {"Thirteen", 5, 1, 13},
                                         FillCase {"FullRange", 42, 0xFFFFFFFFu, 11}),
                         test::RowName());

TEST(LcgRandom, JumpsEqualSteps)
{
    for (const uint64_t steps : {0ull, 1ull, 2ull, 5ull, 64ull, 1000ull, 4099ull}) {
        LcgRandom stepped(0xC0FFEEu);
        for (uint64_t i = 0; i < steps; ++i)
            stepped.RandomBelow(26);
        LcgRandom jumped(0xC0FFEEu);
        jumped.DiscardBelow(26, steps);
        EXPECT_EQ(jumped.GeneratorSeed, stepped.GeneratorSeed) << steps << " steps";
        EXPECT_EQ(LcgJumpOf(steps).Apply(0xC0FFEEu), stepped.GeneratorSeed) << steps << " steps";
    }
}

TEST(LcgRandom, FullPeriodBringsEverySeedBack)
{
    // Odd increment and multiplier = 1 mod 4: the period is 2^32, and no shorter jump is the identity.
    EXPECT_EQ(LcgJumpOf(uint64_t {1} << 32).Apply(0x12345678u), 0x12345678u);
    EXPECT_NE(LcgJumpOf(uint64_t {1} << 31).Apply(0x12345678u), 0x12345678u);
    LcgRandom huge(77);
    huge.DiscardBelow(26, (uint64_t {1} << 32) + 3);
    LcgRandom three(77);
    three.DiscardBelow(26, 3);
    EXPECT_EQ(huge.GeneratorSeed, three.GeneratorSeed);
}

TEST(SystemRandom, SmallRangesGiveZeroWithoutReading)
{
    SystemRandom random;
    EXPECT_EQ(random.RandomBelow(0), 0u);
    EXPECT_EQ(random.RandomBelow(1), 0u);
    EXPECT_EQ(random.BytesRead(), 0u);
}

TEST(SystemRandom, ReadsTheSystemInBlocks)
{
    SystemRandom random;
    for (int i = 0; i < 200; ++i)
        random.RandomBelow(26);
    EXPECT_EQ(random.BytesRead(), SystemRandom::kBlockBytes);
}

struct RangeCase
{
    const char* name;
    uint32_t n;
    int draws;
};

class SystemRanges : public testing::TestWithParam<RangeCase>
{ };

TEST_P(SystemRanges, StayInRangeAndCoverIt)
{
    const RangeCase& c = GetParam();
    SystemRandom random;
    std::vector<int> seen(c.n <= 4096 ? c.n : 0);
    uint32_t largest = 0;
    for (int i = 0; i < c.draws; ++i) {
        const uint32_t v = random.RandomBelow(c.n);
        ASSERT_LT(v, c.n);
        largest = std::max(largest, v);
        if (!seen.empty())
            ++seen[v];
    }
    for (uint32_t v = 0; v < seen.size(); ++v)
        EXPECT_GT(seen[v], 0) << "value " << v << " never drawn";
    // A large range must reach its top part too.
    EXPECT_GE(largest, c.n - c.n / 64 - 1);
}

INSTANTIATE_TEST_SUITE_P(Ranges, SystemRanges,
                         testing::Values(RangeCase {"Two", 2, 1000}, RangeCase {"Three", 3, 1000},
                                         RangeCase {"Seven", 7, 2000}, RangeCase {"Ten", 10, 2000},
                                         RangeCase {"TwentySix", 26, 5000}, RangeCase {"Byte", 256, 20000},
                                         RangeCase {"JustPastAByte", 257, 20000}, RangeCase {"TwoBytes", 65536, 20000},
                                         RangeCase {"PastTwoBytes", 65537, 20000},
                                         RangeCase {"Huge", 0xFFFFFFFFu, 20000}),
                         test::RowName());

/// Chi-square of `each` x n draws against the uniform counts; true when it stays within six deviations of its
/// mean (a false alarm comes about once in 100,000 runs for the smallest n, far less often for the others).
bool LooksUniform(uint32_t n, int each)
{
    SystemRandom random;
    std::vector<int> counts(n);
    for (int i = 0; i < each * static_cast<int>(n); ++i)
        ++counts[random.RandomBelow(n)];
    double chiSquare = 0;
    for (const int count : counts)
        chiSquare += (count - each) * (count - each) / static_cast<double>(each);
    const double freedom = n - 1.0;
    return chiSquare < freedom + 6 * std::sqrt(2 * freedom);
}

TEST(SystemRandom, HasNoModuloBias)
{
    // 129 and 193 are where a plain multiply-shift on one byte would give many values twice the odds.
    EXPECT_TRUE(LooksUniform(26, 4000));
    EXPECT_TRUE(LooksUniform(129, 2000));
    EXPECT_TRUE(LooksUniform(193, 2000));
    EXPECT_TRUE(LooksUniform(40000, 30));
    // Taking x mod n of a 32-bit x, n = 2^31 + 1 would put three quarters of the draws in the upper half.
    SystemRandom random;
    int upper = 0;
    for (int i = 0; i < 20000; ++i)
        upper += random.RandomBelow(0x80000001u) >= 0x40000000u ? 1 : 0;
    EXPECT_NEAR(upper / 20000.0, 0.5, 0.03);
}

TEST(SystemRandom, FillMatchesItsRange)
{
    SystemRandom random;
    std::vector<uint32_t> out(1000, 0xFFFFFFFFu);
    random.FillBelow(12, out.data(), 999);
    for (size_t i = 0; i < 999; ++i)
        EXPECT_LT(out[i], 12u);
    EXPECT_EQ(out[999], 0xFFFFFFFFu);
}

struct ShapeCase
{
    const char* name;
    std::vector<uint32_t> ranges;
    uint64_t power;
    unsigned bits;
};

class BatchShapes : public testing::TestWithParam<ShapeCase>
{ };

TEST_P(BatchShapes, ReadEnoughBitsAndRejectOnlyTheRemainder)
{
    const ShapeCase& c = GetParam();
    const auto shape = SystemRandom::ShapeOf(c.ranges);
    ASSERT_TRUE(shape.has_value());
    EXPECT_EQ(shape->power, c.power);
    EXPECT_EQ(shape->bits, c.bits);
    // Lemire's test: the low bits of x * power must reach 2^bits mod power.
    EXPECT_EQ(shape->threshold, ((uint64_t {1} << c.bits) % c.power));
    // A read is rejected with chance below 1 in 32, and one bit fewer would not do.
    const auto rejection = [&](unsigned bits) {
        return static_cast<double>((uint64_t {1} << bits) % c.power) / static_cast<double>(uint64_t {1} << bits);
    };
    EXPECT_LT(rejection(c.bits), 1.0 / 32);
    if (c.power > 1 && (uint64_t {1} << (c.bits - 1)) >= c.power) {
        EXPECT_GE(rejection(c.bits - 1), 1.0 / 32);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, BatchShapes,
                         testing::Values(ShapeCase {"Empty", {}, 1, 0},
                                         ShapeCase {"PowersOfTwoExactly", {4, 8, 2, 2}, 128, 7},
                                         ShapeCase {"OnesNeedNoBits", {1, 1}, 1, 0}, ShapeCase {"Three", {3}, 3, 6},
                                         ShapeCase {"TenTens", std::vector<uint32_t>(10, 10), 10000000000u, 38},
                                         ShapeCase {"Mixed", {26, 10, 7}, 1820, 14},
                                         ShapeCase {"TwoLetters", {26, 26}, 676, 11}),
                         test::RowName());

TEST(SystemRandom, RefusesBatchesTooLargeForOneRead)
{
    EXPECT_FALSE(SystemRandom::ShapeOf(std::vector<uint32_t>(20, 10)).has_value()); // 10^20 > 2^64
    EXPECT_FALSE(SystemRandom::ShapeOf(std::vector<uint32_t>(14, 14)).has_value()); // 14^14 needs more than 56 bits
    EXPECT_TRUE(SystemRandom::ShapeOf(std::vector<uint32_t>(13, 13)).has_value());
    EXPECT_FALSE(SystemRandom::ShapeOf(std::vector<uint32_t> {5, 0}).has_value()); // a range of 0 has no draw
}

/// Chi-square of the joint draws of a batch over every combination; true when within six deviations.
bool BatchLooksUniform(const std::vector<uint32_t>& ranges, int each)
{
    SystemRandom random;
    const auto shape = SystemRandom::ShapeOf(ranges);
    if (!shape)
        return false;
    std::vector<int> counts(shape->power);
    for (uint64_t i = 0; i < each * shape->power; ++i) {
        SystemRandom::DrawBatch batch = random.StartBatch(*shape);
        uint64_t cell = 0;
        for (const uint32_t n : ranges) {
            const uint32_t v = batch.Next(n);
            if (v >= n)
                return false;
            cell = cell * n + v;
        }
        ++counts[cell];
    }
    double chiSquare = 0;
    for (const int count : counts)
        chiSquare += (count - each) * (count - each) / static_cast<double>(each);
    const auto freedom = static_cast<double>(shape->power) - 1.0;
    return chiSquare < freedom + 6 * std::sqrt(2 * freedom);
}

TEST(SystemRandom, BatchDrawsAreUniformAndIndependent)
{
    // Every combination of the batch's draws must be equally likely, not only each draw on its own.
    EXPECT_TRUE(BatchLooksUniform({10, 10}, 300));
    EXPECT_TRUE(BatchLooksUniform({3, 5, 7}, 300));
    EXPECT_TRUE(BatchLooksUniform({3, 3, 3}, 1000));
    EXPECT_TRUE(BatchLooksUniform({4, 2, 2}, 1000));
    EXPECT_TRUE(BatchLooksUniform({7, 1, 7}, 500));
}

TEST(SystemRandom, BatchDrawsByPlaceMatchTheDrawsInTurn)
{
    // The composer takes a shuffle's draws by their place; they must be the very draws Next reads off.
    const std::vector<uint32_t> ranges {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12};
    const auto shape = SystemRandom::ShapeOf(ranges);
    ASSERT_TRUE(shape.has_value());
    SystemRandom random;
    for (int round = 0; round < 1000; ++round) {
        const SystemRandom::DrawBatch batch = random.StartBatch(*shape);
        SystemRandom::DrawBatch inTurn = batch;
        uint64_t before = 1;
        for (const uint32_t n : ranges) {
            ASSERT_EQ(batch.At(before, n), inTurn.Next(n));
            before *= n;
        }
    }
}

TEST(SystemRandom, ExactBatchesTakeOnlyTheirBits)
{
    // One-byte batches (a power of two) are never rejected: 16000 of them fit in the first block, 17000 not.
    SystemRandom random;
    const auto shape = SystemRandom::ShapeOf(std::vector<uint32_t> {16, 16});
    ASSERT_TRUE(shape.has_value());
    for (int i = 0; i < 16000; ++i)
        random.StartBatch(*shape);
    EXPECT_EQ(random.BytesRead(), SystemRandom::kBlockBytes);
    for (int i = 0; i < 1000; ++i)
        random.StartBatch(*shape);
    EXPECT_EQ(random.BytesRead(), 2 * SystemRandom::kBlockBytes);
}

} // namespace
} // namespace tarvelle
