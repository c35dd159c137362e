#include "ConsolePlatform.h"

#include <chrono>

namespace tarvelle::cli {

uint32_t ConsolePlatform::tickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    // The tick count wraps at 32 bits like the system's; only differences of two readings are used.
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

bool ConsolePlatform::queryPerformanceFrequency(int64_t& frequency)
{
    frequency = 0;
    return false;
}

bool ConsolePlatform::queryPerformanceCounter(int64_t& count)
{
    count = 0;
    return false;
}

std::optional<std::string> ConsolePlatform::writeFile(const std::string&, const std::string&)
{
    return "tarvelle-cli writes no files";
}

} // namespace tarvelle::cli
