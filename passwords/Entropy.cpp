#include "Entropy.h"

#include <cmath>

namespace tarvelle {

uint32_t FractionWord(long double milliseconds)
{
    const long double fraction = milliseconds - std::trunc(milliseconds);
    // |fraction| < 1, so the truncated product fits in 64 bits; a negative one keeps its two's complement.
    const auto scaled = static_cast<int64_t>(fraction * 2147483647.0L);
    return static_cast<uint32_t>(scaled);
}

void EntropyPool::TakeFirstWord(LcgRandom& random, Platform& platform)
{
    const uint32_t drawn = random.RandomBelow(0x7FFFFFFFu);
    const uint32_t tick = platform.tickCount();
    const ScreenPoint first = platform.cursorPos();
    const ScreenPoint second = platform.cursorPos();
    FEntropy = drawn ^ tick ^ static_cast<uint32_t>(first.x) ^ static_cast<uint32_t>(second.y);
}

void EntropyPool::MouseStir(ScreenPoint screen, LcgRandom& random, Platform& platform)
{
    const auto count = static_cast<int32_t>(random.RandomBelow(31));
    const uint32_t rotated = RotateLeft32(platform.tickCount(), count);
    FEntropy ^= static_cast<uint32_t>(screen.x) ^ static_cast<uint32_t>(screen.y) ^ rotated;
}

void EntropyPool::GeneratePrologue(LcgRandom& random, HighResClock& clock, Platform& platform)
{
    MixEntropy(RotateLeft32(platform.tickCount(), 16));
    MixEntropy(FractionWord(clock.HighResMilliseconds()));
    platform.sleepMilliseconds(1);
    MixEntropy(RotateLeft32(FractionWord(clock.HighResMilliseconds()), 16));
    random.GeneratorSeed = FEntropy;
}

} // namespace tarvelle
