// HembryLib: the program's small general-purpose routines that need no toolkit.
//
//  - RotateLeft32 / RotateRight32: 32-bit rotations with signed counts (the entropy stirs use them);
//  - HighResClock: milliseconds from the high-resolution counter, falling back to the tick count.
// The tab painter DrawColoredTab lives beside it in lib/widgets, since it needs the toolkit.
#pragma once

#include "Platform.h"

#include <bit>
#include <cstdint>

namespace tarvelle {

/// Rotates value left by count bits; a negative count rotates right.
constexpr uint32_t RotateLeft32(uint32_t value, int32_t count)
{
    return std::rotl(value, count);
}
/// Rotates value right by count bits; a negative count rotates left.
constexpr uint32_t RotateRight32(uint32_t value, int32_t count)
{
    return std::rotr(value, count);
}

/// Milliseconds as an extended number, with a fraction when a high-resolution counter is available.
/// Caches the counter's frequency; a failed query leaves 0 and is asked again on the next call.
class HighResClock
{
public:
    explicit HighResClock(Platform& platform) : platform_(platform) { }

    /// The counter's count / frequency x 1000, or the tick count when there is no counter.
    long double HighResMilliseconds();

private:
    Platform& platform_;
    int64_t frequency_ = 0;
};

} // namespace tarvelle
