// A Platform for the benchmarks: a real millisecond clock, and nothing on screen.
#pragma once

#include "Platform.h"

#include <chrono>
#include <cstdio>

namespace tarvelle::bench {

/// The clock a real run watches; everything else does nothing (a warning goes to stderr).
class BenchPlatform final : public Platform
{
public:
    void beep() override { }
    uint32_t tickCount() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    bool queryPerformanceFrequency(int64_t& frequency) override { return (frequency = 0, false); }
    bool queryPerformanceCounter(int64_t& count) override { return (count = 0, false); }
    void sleepMilliseconds(uint32_t) override { }
    ScreenPoint cursorPos() override { return {}; }
    void showInformation(const std::string&, const std::string&) override { }
    void showWarning(const std::string&, const std::string& text) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    void showError(const std::string&) override { }
    void setClipboardText(const std::string&) override { }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    std::optional<std::string> writeFile(const std::string&, const std::string&) override { return std::nullopt; }
    bool openUrl(const std::string&) override { return false; }
    void setMainWindowEnabled(bool) override { }
    void setBusyCursor(bool) override { }
    void processEvents() override { }
};

} // namespace tarvelle::bench
