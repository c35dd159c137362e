#include "Random.h"

#include <algorithm>
#include <bit>
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

uint32_t SystemRandom::LargeBelow(uint32_t n)
{
    if ((n & (n - 1u)) == 0)
        return TakeBits(static_cast<unsigned>(std::countr_zero(n)));
    if (n <= 65536u)
        return Lemire<16>(n);
    return Lemire<32>(n);
}

std::optional<SystemRandom::BatchShape> SystemRandom::ShapeOf(std::span<const uint32_t> ranges)
{
    // A larger product needs more than kMostBits bits anyway; stopping here also keeps it from overflowing.
    constexpr uint64_t kLargestPower = uint64_t {1} << kMostBits;
    BatchShape shape;
    uint32_t largest = 1;
    for (const uint32_t n : ranges) {
        if (n == 0 || shape.power > kLargestPower / n)
            return std::nullopt;
        shape.power *= n;
        largest = std::max(largest, n);
    }
    // A power of two needs exactly its bits. Otherwise a read is rejected with chance (2^bits mod power) / 2^bits:
    // spare bits make that rarer but cost bits of their own, so take the fewest (up to seven) that keep it below
    // 1 in kRareRejection. A rejection costs a whole read and, being unforeseeable, a mispredicted branch.
    constexpr uint64_t kRareRejection = 32;
    const bool exact = (shape.power & (shape.power - 1u)) == 0;
    const unsigned needed = exact ? static_cast<unsigned>(std::countr_zero(shape.power))
                                  : static_cast<unsigned>(std::bit_width(shape.power));
    for (unsigned spare = 0; spare <= (exact ? 0u : 7u); ++spare) {
        shape.bits = needed + spare;
        // rest x n must stay below 2^64 while the digits are read off.
        if (shape.bits > kMostBits || shape.bits + static_cast<unsigned>(std::bit_width(largest)) > 64u)
            return std::nullopt;
        const uint64_t mask = (uint64_t {1} << shape.bits) - 1u;
        shape.threshold = ((mask - shape.power) + 1u) % shape.power;
        // threshold / 2^bits below 1 / kRareRejection, without overflow: bits <= 56.
        if (shape.threshold * kRareRejection < mask + 1u)
            break;
    }
    return shape;
}

void SystemRandom::Refill()
{
    bytes_.Fill(buffer_.data(), sizeof(buffer_));
    bitPos_ = 0;
    bytesRead_ += sizeof(buffer_);
}

} // namespace tarvelle
