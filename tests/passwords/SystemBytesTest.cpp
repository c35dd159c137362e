#include "SystemBytes.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

struct WayCase
{
    const char* name;
    SystemBytes::Way way;
};

class SystemBytesWays : public testing::TestWithParam<WayCase>
{ };

TEST_P(SystemBytesWays, FillExactlyTheAskedBytesWithEvenlySpreadValues)
{
    SystemBytes bytes(GetParam().way);
    // Sizes around the block the password run asks for, and odd ones; guard bytes on both sides stay put.
    constexpr size_t kGuard = 64;
    constexpr uint8_t kMark = 0xA5;
    std::array<int, 256> seen {};
    size_t total = 0;
    for (const size_t size : {size_t {1}, size_t {7}, size_t {4097}, size_t {16384}, size_t {100000}, size_t {0}}) {
        std::vector<uint8_t> buffer(size + 2 * kGuard, kMark);
        bytes.Fill(buffer.data() + kGuard, size);
        for (size_t i = 0; i < kGuard; ++i) {
            ASSERT_EQ(buffer[i], kMark) << "written before the buffer, size " << size;
            ASSERT_EQ(buffer[kGuard + size + i], kMark) << "written past the buffer, size " << size;
        }
        for (size_t i = 0; i < size; ++i)
            ++seen[buffer[kGuard + i]];
        total += size;
    }
    // Chi-square over the 256 byte values (255 degrees of freedom); six deviations above its mean fail. Bytes
    // left unwritten would pile up on the mark.
    const double expected = static_cast<double>(total) / 256.0;
    double chiSquare = 0;
    for (const int count : seen)
        chiSquare += (count - expected) * (count - expected) / expected;
    EXPECT_LT(chiSquare, 255 + 6 * std::sqrt(2 * 255.0));
}

TEST_P(SystemBytesWays, NeverRepeatThemselvesNorEachOther)
{
    SystemBytes first(GetParam().way);
    SystemBytes second(GetParam().way);
    std::array<uint8_t, 32> a {};
    std::array<uint8_t, 32> b {};
    std::array<uint8_t, 32> c {};
    first.Fill(a.data(), a.size());
    first.Fill(b.data(), b.size());
    second.Fill(c.data(), c.size());
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(b, c);
}

TEST_P(SystemBytesWays, AForkedChildDrawsOtherBytesThanItsParent)
{
    // A generator state copied into a child must not hand both processes the same bytes (and passwords).
    SystemBytes bytes(GetParam().way);
    std::array<uint8_t, 32> before {};
    bytes.Fill(before.data(), before.size());
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::array<uint8_t, 32> drawn {};
        bytes.Fill(drawn.data(), drawn.size());
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
    std::array<uint8_t, 32> inParent {};
    bytes.Fill(inParent.data(), inParent.size());
    EXPECT_NE(inChild, inParent);
}

INSTANTIATE_TEST_SUITE_P(Ways, SystemBytesWays,
                         testing::Values(WayCase {"Best", SystemBytes::Way::Best},
                                         WayCase {"SystemCall", SystemBytes::Way::SystemCall}),
                         test::RowName());

/// Whether the running kernel is at least major.minor.
bool KernelAtLeast(int major, int minor)
{
    utsname name {};
    int runningMajor = 0;
    int runningMinor = 0;
    if (uname(&name) != 0 || std::sscanf(name.release, "%d.%d", &runningMajor, &runningMinor) != 2)
        return false;
    return runningMajor > major || (runningMajor == major && runningMinor >= minor);
}

TEST(SystemBytes, TakesTheVdsoWhereTheKernelOffersIt)
{
    EXPECT_FALSE(SystemBytes(SystemBytes::Way::SystemCall).UsesVdso());
#if defined(__x86_64__)
    // x86-64 kernels have offered getrandom in the vDSO since 6.11.
    if (!KernelAtLeast(6, 11))
        GTEST_SKIP() << "this kernel predates getrandom in the vDSO";
    EXPECT_TRUE(SystemBytes().UsesVdso());
#else
    GTEST_SKIP() << "only checked on x86-64";
#endif
}

} // namespace
} // namespace tarvelle
