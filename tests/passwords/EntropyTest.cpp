#include "Entropy.h"
#include "FakePlatform.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

struct FirstWordCase
{
    const char* name;
    uint32_t tick;
    std::vector<ScreenPoint> cursorReads;
    uint32_t expected;
};

class FirstWord : public testing::TestWithParam<FirstWordCase>
{ };

TEST_P(FirstWord, IsTickXorFirstXXorSecondY)
{
    const FirstWordCase& c = GetParam();
    test::FakePlatform platform;
    platform.tick = c.tick;
    platform.cursorReads = c.cursorReads;
    LcgRandom random;
    EntropyPool pool;
    pool.FEntropy = 0xFFFFFFFFu; // assigned, not combined
    pool.TakeFirstWord(random, platform);
    EXPECT_EQ(pool.FEntropy, c.expected);
    EXPECT_EQ(random.GeneratorSeed, 1u);
}

INSTANTIATE_TEST_SUITE_P(Reads, FirstWord,
                         testing::Values(FirstWordCase {"Positive", 0x12345678u, {{100, 200}, {300, 400}}, 0x1234578Cu},
                                         // -3 and -9 take part as 0xFFFFFFFD and 0xFFFFFFF7.
                                         FirstWordCase {
                                             "NegativeCoordinates", 0x00000BB8u, {{-3, 7}, {5, -9}}, 0x00000BB2u},
                                         FirstWordCase {"FailedReadsGiveZero", 0xCAFEBABEu, {}, 0xCAFEBABEu}),
                         test::RowName());

struct StirCase
{
    const char* name;
    int drawsBefore; // generator steps since the start value 0
    ScreenPoint screen;
    uint32_t tick;
    uint32_t change; // what the stir folds into FEntropy
};

class MouseStir : public testing::TestWithParam<StirCase>
{ };

TEST_P(MouseStir, FoldsPointAndRotatedTick)
{
    const StirCase& c = GetParam();
    LcgRandom random;
    for (int i = 0; i < c.drawsBefore; ++i)
        random.RandomBelow(31);
    const uint32_t seedBefore = random.GeneratorSeed;
    test::FakePlatform platform;
    platform.tick = c.tick;
    EntropyPool pool;
    pool.FEntropy = 0x0F0F0F0Fu;
    pool.MouseStir(c.screen, random, platform);
    EXPECT_EQ(pool.FEntropy, 0x0F0F0F0Fu ^ c.change);
    EXPECT_EQ(random.GeneratorSeed, seedBefore * 134775813u + 1u);
}

// Before the first Generate the rotation counts are the check values 0, 26, 6: the stirs follow the start draw.
INSTANTIATE_TEST_SUITE_P(
    Stirs, MouseStir,
    testing::Values(StirCase {"FirstRotatesByZero", 1, {10, 20}, 0x80000001u, 10u ^ 20u ^ 0x80000001u},
                    StirCase {"SecondRotatesBy26", 2, {-1, -2}, 0x80000001u, 0xFFFFFFFFu ^ 0xFFFFFFFEu ^ 0x06000000u},
                    StirCase {"ThirdRotatesBy6", 3, {0, 0}, 0x80000001u, 0x00000060u}),
    test::RowName());

/// A counter that moves on while the prologue sleeps.
class SleepingPlatform : public test::FakePlatform
{
public:
    int64_t counterAfterSleep = 0;

    void sleepMilliseconds(uint32_t ms) override
    {
        FakePlatform::sleepMilliseconds(ms);
        counter = counterAfterSleep;
    }
};

TEST(GeneratePrologue, FoldsTickAndBothClockReadingsThenSeeds)
{
    SleepingPlatform platform;
    platform.tick = 0x00010002u; // rotated by 16: 0x00020001
    platform.frequency = 3;
    platform.counter = 1; // 333.33 ms: c1 = Trunc(1/3 x 2147483647) = 0x2AAAAAAA
    platform.counterAfterSleep = 2; // 666.67 ms: c2 = 0x55555554, rotated by 16: 0x55545555
    HighResClock clock(platform);
    LcgRandom random(999);
    EntropyPool pool;
    pool.FEntropy = 0x11111111u;
    pool.GeneratePrologue(random, clock, platform);
    EXPECT_EQ(pool.FEntropy, 0x11111111u ^ 0x00020001u ^ 0x2AAAAAAAu ^ 0x55545555u);
    EXPECT_EQ(random.GeneratorSeed, pool.FEntropy);
    EXPECT_EQ(platform.sleeps, std::vector<uint32_t> {1});
}

TEST(GeneratePrologue, WithoutCounterFoldsOnlyTheTick)
{
    test::FakePlatform platform;
    platform.tick = 0x00010002u;
    HighResClock clock(platform);
    LcgRandom random;
    EntropyPool pool;
    pool.FEntropy = 0x11111111u;
    pool.GeneratePrologue(random, clock, platform);
    EXPECT_EQ(pool.FEntropy, 0x11111111u ^ 0x00020001u);
    EXPECT_EQ(random.GeneratorSeed, pool.FEntropy);
}

TEST(GeneratePrologue, SecondRunAccumulates)
{
    SleepingPlatform platform;
    platform.tick = 0x00010002u;
    platform.frequency = 3;
    platform.counter = 1;
    platform.counterAfterSleep = 2;
    HighResClock clock(platform);
    LcgRandom random;
    EntropyPool pool;
    pool.FEntropy = 0x11111111u;
    pool.GeneratePrologue(random, clock, platform);
    const uint32_t firstSeed = random.GeneratorSeed;
    random.RandomBelow(26); // draws of the run change the seed, not FEntropy
    platform.tick = 0x00030000u; // rotated: 0x00000003
    platform.counter = 2;
    platform.counterAfterSleep = 1;
    pool.GeneratePrologue(random, clock, platform);
    EXPECT_EQ(random.GeneratorSeed, firstSeed ^ 0x00000003u ^ 0x55555554u ^ 0xAAAA2AAAu);
}

struct FractionCase
{
    const char* name;
    long double milliseconds;
    uint32_t word;
};

class Fraction : public testing::TestWithParam<FractionCase>
{ };

TEST_P(Fraction, ScalesTheFractionalPart)
{
    EXPECT_EQ(FractionWord(GetParam().milliseconds), GetParam().word);
}

INSTANTIATE_TEST_SUITE_P(Values, Fraction,
                         testing::Values(FractionCase {"Whole", 123456.0L, 0u},
                                         FractionCase {"Half", 0.5L, 1073741823u},
                                         FractionCase {"ThreeQuarters", 12.75L, 1610612735u},
                                         FractionCase {"NegativeKeepsTwosComplement", -0.5L, 3221225473u},
                                         FractionCase {"BeyondThirtyTwoBits", 8589934592.25L, 536870911u}),
                         test::RowName());

} // namespace
} // namespace tarvelle
