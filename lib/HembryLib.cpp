#include "HembryLib.h"

namespace tarvelle {

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
