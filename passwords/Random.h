// Random sources for the password generator.
//
//  - RandomSource: the one draw every random choice goes through, RandomBelow(n), uniform over 0..n-1;
//  - LcgRandom: the program's 32-bit linear congruential generator with its seed GeneratorSeed, seeded from
//    the entropy word (Entropy.h); it is the reproducible source of the tests and of `tarvelle-cli password
//    --seed`;
//  - SystemRandom: the operating system's random generator, read in blocks, for the passwords themselves.
// The composer (PasswordComposer.h) is a template over the final classes, so their draws inline in its loop.
#pragma once

#include "SystemBytes.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace tarvelle {

/// The generator's step applied some number of times: seed -> Mul x seed + Add (modulo 2^32).
struct LcgJump
{
    uint32_t Mul = 1;
    uint32_t Add = 0;

    /// The seed after the jump.
    uint32_t Apply(uint32_t seed) const { return Mul * seed + Add; }
};

/// The jump of `steps` generator steps, in O(log steps).
LcgJump LcgJumpOf(uint64_t steps);

class RandomSource
{
public:
    virtual ~RandomSource();

    /// Uniform integer in 0..n-1; 0 for n = 0 and n = 1.
    virtual uint32_t RandomBelow(uint32_t n) = 0;
    /// Fills out[0..count-1] with count draws of RandomBelow(n), in order.
    virtual void FillBelow(uint32_t n, uint32_t* out, size_t count);
    /// Has the effect of count draws of RandomBelow(n) whose results are not wanted.
    virtual void DiscardBelow(uint32_t n, uint64_t count);
};

/// The program's generator: GeneratorSeed := GeneratorSeed x 134775813 + 1 per draw, modulo 2^32.
class LcgRandom final : public RandomSource
{
public:
    static constexpr uint32_t kMultiplier = 134775813u;
    static constexpr uint32_t kIncrement = 1u;

    uint32_t GeneratorSeed = 0;

    LcgRandom() = default;
    explicit LcgRandom(uint32_t seed) : GeneratorSeed(seed) { }

    /// One generator step; the upper 32 bits of n x GeneratorSeed.
    uint32_t RandomBelow(uint32_t n) override
    {
        GeneratorSeed = GeneratorSeed * kMultiplier + kIncrement;
        return Scale(n, GeneratorSeed);
    }
    /// Same results as count calls of RandomBelow(n), computed several steps at a time.
    void FillBelow(uint32_t n, uint32_t* out, size_t count) override;
    /// Advances GeneratorSeed by count steps in O(log count).
    void DiscardBelow(uint32_t, uint64_t count) override { GeneratorSeed = LcgJumpOf(count).Apply(GeneratorSeed); }
    /// The draw of RandomBelow(n) made with the given seed (the seed after its step).
    static uint32_t Scale(uint32_t n, uint32_t seed) { return static_cast<uint32_t>((uint64_t {n} * seed) >> 32); }
};

/// Unbiased draws from the operating system's random generator (getrandom, SystemBytes.h), read into a buffer
/// in blocks. A power of two costs exactly its bits; other n up to 256 cost 8 bits per try (Lemire's multiply-
/// and-reject), up to 65536 16 bits, beyond that 32; a batch of several draws shares one read (StartBatch), so
/// a password takes few bytes from the system. The results depend on nothing but the system's bytes; draws made
/// in another order have the same odds.
class SystemRandom final : public RandomSource
{
public:
    explicit SystemRandom(SystemBytes::Way way = SystemBytes::Way::Best) : bytes_(way) { }
    ~SystemRandom() override;
    SystemRandom(const SystemRandom&) = delete;
    SystemRandom& operator=(const SystemRandom&) = delete;

    /// Uniform in 0..n-1; n = 0 and n = 1 give 0 without reading.
    uint32_t RandomBelow(uint32_t n) override
    {
        if (n <= 1u)
            return 0;
        if (n > 256u) [[unlikely]]
            return LargeBelow(n);
        if ((n & (n - 1u)) == 0)
            return TakeBits(static_cast<unsigned>(std::countr_zero(n)));
        return Lemire<8>(n);
    }
    /// Same as count calls of RandomBelow(n).
    void FillBelow(uint32_t n, uint32_t* out, size_t count) override
    {
        for (size_t i = 0; i < count; ++i)
            out[i] = RandomBelow(n);
    }
    /// Reads nothing: results nobody sees need no randomness.
    void DiscardBelow(uint32_t, uint64_t) override { }

    /// How to take several draws from one read: Lemire's draw below `power`, the product of their ranges, from
    /// `bits` bits, accepted when the low bits of x * power reach `threshold` (2^bits mod power). The bits are
    /// the fewest that make a rejection rarer than 1 in 32, with at most seven to spare.
    struct BatchShape
    {
        uint64_t power = 1;
        uint64_t threshold = 0;
        unsigned bits = 0;
    };

    /// The draws of one batch, read off as the digits of Lemire's draw: below ranges[0] first, then below
    /// ranges[1], and so on, each uniform and independent of the others.
    class DrawBatch
    {
    public:
        DrawBatch() = default;
        DrawBatch(uint64_t x, unsigned bits) : first_(x), rest_(x), mask_((uint64_t {1} << bits) - 1u), bits_(bits) { }

        /// The next draw, below n (the next of the shape's ranges).
        uint32_t Next(uint32_t n)
        {
            const uint64_t m = rest_ * n;
            rest_ = m & mask_;
            return static_cast<uint32_t>(m >> bits_);
        }
        /// The draw below n that Next(n) would give after draws whose ranges multiply to `before` (their
        /// product modulo 2^64 is enough). It does not wait on the draws before it, nor move Next on.
        uint32_t At(uint64_t before, uint32_t n) const
        {
            // The rest after those draws is x * before modulo 2^bits; 2^bits divides 2^64.
            return static_cast<uint32_t>((((first_ * before) & mask_) * n) >> bits_);
        }

    private:
        uint64_t first_ = 0;
        uint64_t rest_ = 0;
        uint64_t mask_ = 0;
        unsigned bits_ = 0;
    };

    /// The batch of one draw below each of `ranges` (all above 0); none when their product is too large for
    /// one read.
    static std::optional<BatchShape> ShapeOf(std::span<const uint32_t> ranges);
    /// Reads one batch of the given shape.
    DrawBatch StartBatch(const BatchShape& shape)
    {
        const uint64_t mask = (uint64_t {1} << shape.bits) - 1u;
        for (;;) {
            const uint64_t x = TakeWide(shape.bits);
            if (((x * shape.power) & mask) >= shape.threshold) [[likely]]
                return {x, shape.bits};
        }
    }

    /// Bytes taken from the operating system so far.
    uint64_t BytesRead() const { return bytesRead_; }
    /// Whether the bytes come through the vDSO (SystemBytes::UsesVdso).
    bool UsesVdso() const { return bytes_.UsesVdso(); }

    /// Bytes the system is asked for at a time.
    static constexpr size_t kBlockBytes = 16384;

private:
    static_assert(std::endian::native == std::endian::little, "TakeWide reads the buffer as little-endian words");
    /// The most bits taken at once.
    static constexpr unsigned kMostBits = 56;
    /// A take starts at a bit up to this one; past it the buffer is refilled and its last bits go unused.
    static constexpr size_t kLastStart = (kBlockBytes - sizeof(uint64_t)) * 8;

    /// The next `count` random bits (count 0 to kMostBits).
    uint64_t TakeWide(unsigned count)
    {
        if (bitPos_ > kLastStart) [[unlikely]]
            Refill();
        // Eight bytes from the byte holding the next bit hold at least 57 unread bits: no branch on where the
        // word boundaries fall. Bits count from the low end of each byte, so no bit is taken twice.
        uint64_t word = 0;
        std::memcpy(&word, buffer_.data() + (bitPos_ >> 3), sizeof(word));
        const uint64_t taken = (word >> (bitPos_ & 7u)) & ((uint64_t {1} << count) - 1u);
        bitPos_ += count;
        return taken;
    }
    /// The next `count` random bits (count 1 to 32).
    uint32_t TakeBits(unsigned count) { return static_cast<uint32_t>(TakeWide(count)); }

    /// RandomBelow for n above 256.
    uint32_t LargeBelow(uint32_t n);

    /// x of W bits; x * n / 2^W is uniform once the low W bits of the product reach 2^W mod n.
    template <unsigned W> uint32_t Lemire(uint32_t n)
    {
        constexpr uint64_t kLow = (uint64_t {1} << W) - 1u;
        uint64_t m = uint64_t {TakeBits(W)} * n;
        if ((m & kLow) < n) [[unlikely]] {
            const auto threshold = static_cast<uint32_t>(((kLow + 1u) - n) % n);
            while ((m & kLow) < threshold)
                m = uint64_t {TakeBits(W)} * n;
        }
        return static_cast<uint32_t>(m >> W);
    }

    void Refill();

    SystemBytes bytes_;
    std::array<uint8_t, kBlockBytes> buffer_ {};
    size_t bitPos_ = kBlockBytes * 8; // the next unread bit; past kLastStart: read a new block first
    uint64_t bytesRead_ = 0;
};

} // namespace tarvelle
