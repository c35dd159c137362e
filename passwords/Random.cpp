#include "Random.h"

#include <sys/mman.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace tarvelle {

namespace {

[[noreturn]] void GeneratorFailed(const char* why)
{
    // Without the system's randomness there is nothing safe to make passwords from.
    std::fprintf(stderr, "tarvelle: the system random generator failed: %s\n", why);
    std::abort();
}

/// Fills data[0..size-1] through getRandom, which may hand out fewer bytes than asked when a signal arrives.
void Fill(GetRandomFunction getRandom, uint8_t* data, size_t size)
{
    int interruptions = 0;
    while (size > 0) {
        const ssize_t got = getRandom(data, size, 0);
        if (got > 0) {
            data += got;
            size -= static_cast<size_t>(got);
            interruptions = 0;
        } else if (got == 0) {
            GeneratorFailed("no bytes returned");
        } else if (errno != EINTR) {
            GeneratorFailed(std::strerror(errno));
        } else if (++interruptions >= SystemRandom::kMostInterruptions) {
            GeneratorFailed("interrupted again and again");
        }
    }
}

} // namespace

RandomSource::~RandomSource() = default;

SystemRandom::SystemRandom(GetRandomFunction getRandom) : getRandom_(getRandom), pool_(new Pool {})
{
    static_assert(sizeof(Pool) == kPageBytes, "the pool is exactly one page");
    // A child shares its parent's memory until either writes; on fork the kernel zeroes this page in the
    // child, fill count included, so the child reads bytes of its own.
    buffered_ = madvise(pool_, sizeof(Pool), MADV_WIPEONFORK) == 0;
}

SystemRandom::~SystemRandom()
{
    // Unread bytes would tell the next owner of this memory about passwords not yet drawn, and the page goes
    // back to the allocator, which must not find it zeroed in a child.
    explicit_bzero(pool_, sizeof(Pool));
    if (buffered_)
        madvise(pool_, sizeof(Pool), MADV_KEEPONFORK);
    delete pool_;
}

void SystemRandom::Refill(size_t needed)
{
    const size_t size = buffered_ ? kPoolBytes : needed;
    Fill(getRandom_, pool_->bytes + (kPoolBytes - size), size);
    pool_->unread = size;
}

} // namespace tarvelle
