#include "HembryLib.h"
#include "FakePlatform.h"
#include "RowName.h"

#include <gtest/gtest.h>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

struct RotationCase
{
    const char* name;
    uint32_t value;
    int32_t count;
    uint32_t left;
    uint32_t right;
};

class RotationTest : public testing::TestWithParam<RotationCase>
{ };

TEST_P(RotationTest, RotatesBothWays)
{
    const RotationCase& c = GetParam();
    EXPECT_EQ(RotateLeft32(c.value, c.count), c.left);
    EXPECT_EQ(RotateRight32(c.value, c.count), c.right);
}

INSTANTIATE_TEST_SUITE_P(Counts, RotationTest,
                         testing::Values(RotationCase {"By16SwapsHalves", 0x12345678u, 16, 0x56781234u, 0x56781234u},
                                         RotationCase {"ByZero", 0x12345678u, 0, 0x12345678u, 0x12345678u},
                                         RotationCase {"By32", 0x12345678u, 32, 0x12345678u, 0x12345678u},
                                         RotationCase {"ByOne", 0x80000001u, 1, 0x00000003u, 0xC0000000u},
                                         RotationCase {"ByMinus8", 0x12345678u, -8, 0x78123456u, 0x34567812u},
                                         RotationCase {"By40IsBy8", 0x12345678u, 40, 0x34567812u, 0x78123456u},
                                         RotationCase {"ByMinus40IsByMinus8", 0x12345678u, -40, 0x78123456u,
                                                       0x34567812u},
                                         RotationCase {"By31", 0x00000002u, 31, 0x00000001u, 0x00000004u}),
                         test::RowName());

TEST(HighResClock, DividesCountByFrequencyThenScales)
{
    test::FakePlatform platform;
    platform.frequency = 3;
    platform.counter = 10;
    HighResClock clock(platform);
    EXPECT_EQ(clock.HighResMilliseconds(), 10.0L / 3.0L * 1000.0L);
}

TEST(HighResClock, FallsBackToTickCountWithoutCounter)
{
    test::FakePlatform platform;
    platform.tick = 123456;
    HighResClock clock(platform);
    EXPECT_EQ(clock.HighResMilliseconds(), 123456.0L);
    // A counter that appears later is picked up, since a failed query leaves the cache at 0.
    platform.frequency = 1000;
    platform.counter = 5;
    EXPECT_EQ(clock.HighResMilliseconds(), 5.0L);
}

} // namespace
} // namespace tarvelle
