// Random sources for the password generator.
//
//  - RandomSource: the one draw every random choice goes through, RandomBelow(n), uniform over 0..n-1;
//  - LcgRandom: the program's 32-bit linear congruential generator with its seed GeneratorSeed, seeded from
//    the entropy word (Entropy.h); it is the reproducible source of the tests and of `tarvelle-cli password
//    --seed`;
//  - SystemRandom: the operating system's generator, glibc's getrandom(), read a page at a time into a buffer
//    that a forked child never sees, for the passwords themselves.
// The composer (PasswordComposer.h) is one template over the source type: for RandomSource through its virtual
// calls, and for LcgRandom and SystemRandom (through its Cursor) with the draws inlined.
#pragma once

#include <sys/random.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarvelle {

class RandomSource
{
public:
    virtual ~RandomSource();

    /// Uniform integer in 0..n-1; 0 for n = 0 and n = 1.
    virtual uint32_t RandomBelow(uint32_t n) = 0;
    /// Whether each draw is independent of the others, so that skipping a draw nobody reads, or drawing in
    /// another order, changes no odds. A seeded generator says no: its results hang on every draw made before.
    virtual bool DrawsIndependently() const { return false; }
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
        return static_cast<uint32_t>((uint64_t {n} * GeneratorSeed) >> 32);
    }
};

/// ssize_t getrandom(void* buffer, size_t length, unsigned flags): glibc's, or a stand-in in tests.
using GetRandomFunction = ssize_t (*)(void*, size_t, unsigned);

/// Unbiased draws from the operating system's generator. RandomBelow(n) is Lemire's multiply-and-reject over
/// the fewest whole bytes that hold n (one byte for every draw a password makes), so a run asks the system for
/// few bytes. The buffer is marked to be wiped in a forked child (MADV_WIPEONFORK), its fill count with it, so
/// parent and child never hand out the same bytes; where that mark is refused, nothing is kept buffered.
class SystemRandom final : public RandomSource
{
public:
    /// Reads the system through getRandom: glibc's getrandom, unless a test stands in for it.
    explicit SystemRandom(GetRandomFunction getRandom = &getrandom);
    ~SystemRandom() override;
    SystemRandom(const SystemRandom&) = delete;
    SystemRandom& operator=(const SystemRandom&) = delete;

    class Cursor;

    /// Uniform in 0..n-1; n = 0 and n = 1 give 0 without reading.
    uint32_t RandomBelow(uint32_t n) override;
    /// Yes: every draw reads fresh bytes of its own.
    bool DrawsIndependently() const override { return true; }

    /// The buffer's size: one page of x86-64 (elsewhere a page may be larger, and then nothing is buffered).
    static constexpr size_t kPageBytes = 4096;
    /// Bytes the system is asked for at a time: the page less the fill count kept in it.
    static constexpr size_t kPoolBytes = kPageBytes - sizeof(size_t);
    /// Interruptions (EINTR) in a row that a fill retries before it gives up.
    static constexpr int kMostInterruptions = 100;

private:
    /// One page, wiped in a forked child: bytes[kPoolBytes - unread ..] are the unread ones.
    struct alignas(kPageBytes) Pool
    {
        uint8_t bytes[kPoolBytes];
        size_t unread;
    };

    /// Fills the pool, or (unbuffered) just the `needed` bytes about to be taken.
    void Refill(size_t needed);

    GetRandomFunction getRandom_;
    Pool* pool_;
    bool buffered_ = false; // the pool is wiped on fork, so it may hold unread bytes
};

/// A run of draws from a SystemRandom, with the read position held in the cursor rather than in the pool
/// while it lasts, and handed back when it ends. A fork copies only the thread that calls it, and nothing forks
/// while a cursor draws, so no child ever holds a cursor: at rest the position is in the wiped page.
class SystemRandom::Cursor
{
public:
    explicit Cursor(SystemRandom& owner)
        : owner_(owner), end_(owner.pool_->bytes + kPoolBytes), next_(end_ - owner.pool_->unread)
    { }
    ~Cursor() { owner_.pool_->unread = static_cast<size_t>(end_ - next_); }
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    /// Inlined whole, so that no part of it takes the cursor's address, which would keep its read position in
    /// memory rather than in a register.
    [[gnu::always_inline]] uint32_t RandomBelow(uint32_t n)
    {
        if (n - 2u < 0xFFu) [[likely]] // 2..256: every draw a password makes at the page's settings
            return Lemire<uint8_t>(n);
        if (n <= 1u)
            return 0;
        if (n <= 0x10000u)
            return Lemire<uint16_t>(n);
        return Lemire<uint32_t>(n);
    }
    bool DrawsIndependently() const { return true; }

private:
    /// x of W bits; x * n / 2^W is uniform once the low W bits of the product reach 2^W mod n.
    template <class Word> uint32_t Lemire(uint32_t n)
    {
        constexpr unsigned kBits = 8 * sizeof(Word);
        constexpr uint64_t kLow = (uint64_t {1} << kBits) - 1u;
        uint64_t m = uint64_t {Take<Word>()} * n;
        if ((m & kLow) < n) [[unlikely]] {
            const uint64_t threshold = (kLow + 1u - n) % n;
            while ((m & kLow) < threshold)
                m = uint64_t {Take<Word>()} * n;
        }
        return static_cast<uint32_t>(m >> kBits);
    }

    /// The next sizeof(Word) unread bytes.
    template <class Word> Word Take()
    {
        if (static_cast<size_t>(end_ - next_) < sizeof(Word)) [[unlikely]] {
            owner_.Refill(sizeof(Word));
            next_ = end_ - owner_.pool_->unread;
        }
        Word word;
        std::memcpy(&word, next_, sizeof(word));
        next_ += sizeof(word);
        return word;
    }

    SystemRandom& owner_;
    const uint8_t* const end_;
    const uint8_t* next_;
};

inline uint32_t SystemRandom::RandomBelow(uint32_t n)
{
    return Cursor(*this).RandomBelow(n);
}

} // namespace tarvelle
