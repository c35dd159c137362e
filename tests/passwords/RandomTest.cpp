#include "Random.h"
#include "RowName.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
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

// ---- A stand-in for getrandom: each call takes the next scripted outcome, the last one again and again ----

/// An outcome: 0 serves the call from the real getrandom, a positive value serves at most that many bytes,
/// a negative one fails with minus it as errno.
std::vector<int> script;
size_t calls = 0;
size_t bytesServed = 0;

ssize_t ScriptedGetRandom(void* buffer, size_t length, unsigned flags)
{
    const int outcome = script.empty() ? 0 : script[std::min(calls, script.size() - 1)];
    ++calls;
    if (outcome < 0) {
        errno = -outcome;
        return -1;
    }
    const size_t asked = outcome == 0 ? length : std::min(length, static_cast<size_t>(outcome));
    const ssize_t got = getrandom(buffer, asked, flags);
    bytesServed += got > 0 ? static_cast<size_t>(got) : 0;
    return got;
}

void Script(std::vector<int> outcomes)
{
    script = std::move(outcomes);
    calls = 0;
    bytesServed = 0;
}

TEST(SystemRandom, ReadsAPageAtATimeAndNothingForSmallRanges)
{
    Script({});
    SystemRandom random(&ScriptedGetRandom);
    EXPECT_EQ(random.RandomBelow(0), 0u);
    EXPECT_EQ(random.RandomBelow(1), 0u);
    EXPECT_EQ(calls, 0u);
    for (int i = 0; i < 1000; ++i)
        random.RandomBelow(26);
    EXPECT_EQ(calls, 1u);
    EXPECT_EQ(bytesServed, SystemRandom::kPoolBytes);
}

struct RecoveryCase
{
    const char* name;
    std::vector<int> outcomes;
    size_t calls; // for the first page
};

class SystemRandomRecovers : public testing::TestWithParam<RecoveryCase>
{ };

TEST_P(SystemRandomRecovers, FromInterruptionsAndShortReads)
{
    Script(GetParam().outcomes);
    SystemRandom random(&ScriptedGetRandom);
    std::vector<int> seen(26);
    for (int i = 0; i < 2600; ++i)
        ++seen[random.RandomBelow(26)];
    EXPECT_EQ(calls, GetParam().calls);
    EXPECT_EQ(bytesServed, SystemRandom::kPoolBytes);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int count) { return count > 30; }));
}

INSTANTIATE_TEST_SUITE_P(Outcomes, SystemRandomRecovers,
                         testing::Values(RecoveryCase {"InterruptedTwice", {-EINTR, -EINTR, 0}, 3},
                                         RecoveryCase {"InterruptedAfterAShortRead", {1000, -EINTR, 0}, 3},
                                         RecoveryCase {"ShortReads", {2000, 1000, 0}, 3}),
                         test::RowName());

struct FailureCase
{
    const char* name;
    std::vector<int> outcomes;
    const char* message;
};

class SystemRandomDeathTest : public testing::TestWithParam<FailureCase>
{ };

TEST_P(SystemRandomDeathTest, EndsTheProgramWithAMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Script(GetParam().outcomes);
            SystemRandom random(&ScriptedGetRandom);
            random.RandomBelow(26);
        },
        GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SystemRandomDeathTest,
    testing::Values(
        FailureCase {"InterruptedThenFailing", {-EINTR, -EIO}, "system random generator failed: Input/output error"},
        FailureCase {"FailingAfterAShortRead", {100, -ENOSYS}, "generator failed: Function not implemented"},
        FailureCase {"InterruptedAgainAndAgain", {-EINTR}, "generator failed: interrupted again and again"}),
    test::RowName());

/// A stand-in that hands out the bytes 0, 1, 2, ... (modulo 256) across calls, so each byte tells where it was.
uint8_t nextByte = 0;

ssize_t CountingGetRandom(void* buffer, size_t length, unsigned)
{
    for (size_t i = 0; i < length; ++i)
        static_cast<uint8_t*>(buffer)[i] = nextByte++;
    return static_cast<ssize_t>(length);
}

TEST(SystemRandom, ACursorTakesUpAndHandsBackTheReadPosition)
{
    // RandomBelow(256) is the byte itself: no byte may be handed out twice, or skipped, when draws switch
    // between the source and cursors over it, across a refill too.
    nextByte = 0;
    SystemRandom random(&CountingGetRandom);
    std::vector<uint32_t> drawn {random.RandomBelow(256)};
    {
        SystemRandom::Cursor cursor(random);
        for (size_t i = 0; i < SystemRandom::kPoolBytes; ++i)
            drawn.push_back(cursor.RandomBelow(256));
    }
    drawn.push_back(random.RandomBelow(256));
    {
        SystemRandom::Cursor cursor(random);
        drawn.push_back(cursor.RandomBelow(256));
    }
    drawn.push_back(random.RandomBelow(256));
    for (size_t i = 0; i < drawn.size(); ++i)
        ASSERT_EQ(drawn[i], i % 256) << "draw " << i;
}

TEST(SystemRandom, AForkedChildDrawsOtherBytesThanItsParent)
{
    // The parent's unread bytes are copied into the child with the rest of its memory; were they handed out
    // there too, both processes would make the same passwords.
    SystemRandom random;
    random.RandomBelow(256); // the page now holds unread bytes
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    std::array<uint8_t, 32> drawn {};
    for (uint8_t& byte : drawn)
        byte = static_cast<uint8_t>(random.RandomBelow(256));
    if (child == 0) {
        const bool written = write(pipeEnds[1], drawn.data(), drawn.size()) == static_cast<ssize_t>(drawn.size());
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::array<uint8_t, 32> inChild {};
    const ssize_t got = read(pipeEnds[0], inChild.data(), inChild.size());
    close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(got, static_cast<ssize_t>(inChild.size()));
    EXPECT_NE(inChild, drawn);
}

// ---- The draw's odds --------------------------------------------------------------------------------------

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

} // namespace
} // namespace tarvelle
