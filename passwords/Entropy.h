// The entropy word FEntropy and the three places that feed it.
//
// The main window owns one EntropyPool. FormCreate takes the first word (TakeFirstWord), every mouse movement
// over the window's margin stirs it (MouseStir), and Generate folds the clocks into it and seeds the generator
// from it (GeneratePrologue). Each of the three advances the program's generator (LcgRandom) as it goes.
#pragma once

#include "HembryLib.h"
#include "Platform.h"
#include "Random.h"

#include <cstdint>

namespace tarvelle {

/// Trunc(Frac(milliseconds) x 2147483647), its lower 32 bits: the clock's sub-millisecond noise as a word.
uint32_t FractionWord(long double milliseconds);

class EntropyPool
{
public:
    uint32_t FEntropy = 0;

    /// FEntropy := FEntropy xor value.
    void MixEntropy(uint32_t value) { FEntropy ^= value; }

    /// The start value: one draw (always 0 from a fresh generator), the tick count, two cursor reads.
    void TakeFirstWord(LcgRandom& random, Platform& platform);
    /// Folds a mouse position (screen coordinates) and the tick count rotated by a drawn count into FEntropy.
    void MouseStir(ScreenPoint screen, LcgRandom& random, Platform& platform);
    /// Folds the tick count and two high-resolution clock readings into FEntropy, then seeds the generator.
    void GeneratePrologue(LcgRandom& random, HighResClock& clock, Platform& platform);
};

} // namespace tarvelle
