#include "HembryLib.h"

namespace tarvelle {

uint32_t RotateLeft32(uint32_t value, int32_t count)
{
    const int32_t k = count % 32;
    if (k < 0)
        return RotateRight32(value, -k);
    if (k == 0)
        return value;
    return (value << k) | (value >> (32 - k));
}

uint32_t RotateRight32(uint32_t value, int32_t count)
{
    const int32_t k = count % 32;
    if (k < 0)
        return RotateLeft32(value, -k);
    if (k == 0)
        return value;
    return (value >> k) | (value << (32 - k));
}

long double HighResClock::HighResMilliseconds()
{
    if (frequency_ == 0) {
        int64_t f = 0;
        platform_.queryPerformanceFrequency(f);
        frequency_ = f;
    }
    if (frequency_ > 0) {
        int64_t count = 0;
        platform_.queryPerformanceCounter(count);
        return static_cast<long double>(count) / static_cast<long double>(frequency_) * 1000.0L;
    }
    return static_cast<long double>(platform_.tickCount());
}

} // namespace tarvelle
