#include "Random.h"

#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvelle {

namespace {

constexpr LcgJump kStep {LcgRandom::kMultiplier, LcgRandom::kIncrement};

constexpr LcgJump Then(LcgJump first, LcgJump second)
{
    return {second.Mul * first.Mul, second.Mul * first.Add + second.Add};
}

constexpr LcgJump kJump2 = Then(kStep, kStep);
constexpr LcgJump kJump3 = Then(kJump2, kStep);
constexpr LcgJump kJump4 = Then(kJump3, kStep);

} // namespace

LcgJump LcgJumpOf(uint64_t steps)
{
    LcgJump total;
    LcgJump power = kStep;
    for (; steps != 0; steps >>= 1) {
        if (steps & 1u)
            total = Then(total, power);
        power = Then(power, power);
    }
    return total;
}

RandomSource::~RandomSource() = default;

void RandomSource::FillBelow(uint32_t n, uint32_t* out, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out[i] = RandomBelow(n);
}

void RandomSource::DiscardBelow(uint32_t n, uint64_t count)
{
    for (uint64_t i = 0; i < count; ++i)
        RandomBelow(n);
}

void LcgRandom::FillBelow(uint32_t n, uint32_t* out, size_t count)
{
    // Four seeds per round straight from the round's first one, so the multiplies do not wait on each other.
    uint32_t seed = GeneratorSeed;
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const uint32_t s1 = kStep.Apply(seed);
        const uint32_t s2 = kJump2.Apply(seed);
        const uint32_t s3 = kJump3.Apply(seed);
        const uint32_t s4 = kJump4.Apply(seed);
        out[i] = Scale(n, s1);
        out[i + 1] = Scale(n, s2);
        out[i + 2] = Scale(n, s3);
        out[i + 3] = Scale(n, s4);
        seed = s4;
    }
    for (; i < count; ++i) {
        seed = kStep.Apply(seed);
        out[i] = Scale(n, seed);
    }
    GeneratorSeed = seed;
}

SystemRandom::~SystemRandom()
{
    // Unused bytes would tell the next owner of this memory about passwords not yet drawn.
    explicit_bzero(buffer_.data(), sizeof(buffer_));
}

uint32_t SystemRandom::TakeBitsAcrossWords(unsigned count)
{
    // The bits left in the old word come first, the rest from the next word; none is wasted.
    const uint64_t low = bits_;
    const unsigned have = available_;
    if (next_ == kBufferWords)
        Refill();
    const uint64_t word = buffer_[next_++];
    const unsigned need = count - have; // 1..32, since have < count <= 32
    const auto taken = static_cast<uint32_t>((low | (word << have)) & ((uint64_t {1} << count) - 1u));
    bits_ = word >> need;
    available_ = 64 - need;
    return taken;
}

void SystemRandom::Refill()
{
    constexpr size_t kBytes = sizeof(buffer_);
    size_t filled = 0;
    while (filled < kBytes) {
        const ssize_t got = getrandom(reinterpret_cast<uint8_t*>(buffer_.data()) + filled, kBytes - filled, 0);
        if (got > 0) {
            filled += static_cast<size_t>(got);
        } else if (got < 0 && errno != EINTR) {
            // Without the system's randomness there is nothing safe to make passwords from.
            std::fprintf(stderr, "tarvelle: the system random generator failed: %s\n", std::strerror(errno));
            std::abort();
        }
    }
    next_ = 0;
    bytesRead_ += kBytes;
}

} // namespace tarvelle
