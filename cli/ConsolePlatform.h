// The desktop services the page models ask for, as a program without a window provides them.
//
// A beep and a warning box are not shown but kept, for the sub-command to report in its own words (a failed
// solve, a password run that gave up); the millisecond tick is the monotonic clock, which the password run's
// time limits read. Every other service (cursor, clipboard, dialogs, files, links) does nothing.
#pragma once

#include "Platform.h"

#include <string>
#include <vector>

namespace tarvelle::cli {

class ConsolePlatform final : public Platform
{
public:
    int beeps = 0;
    std::vector<std::string> warnings; // the text of each warning box, in order

    void beep() override { ++beeps; }
    uint32_t tickCount() override;
    bool queryPerformanceFrequency(int64_t& frequency) override;
    bool queryPerformanceCounter(int64_t& count) override;
    void sleepMilliseconds(uint32_t) override { }
    ScreenPoint cursorPos() override { return {}; }

    void showInformation(const std::string&, const std::string&) override { }
    void showWarning(const std::string&, const std::string& text) override { warnings.push_back(text); }
    void showError(const std::string& text) override { warnings.push_back(text); }

    void setClipboardText(const std::string&) override { }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    std::optional<std::string> writeFile(const std::string&, const std::string&) override;
    bool openUrl(const std::string&) override { return false; }
    void setMainWindowEnabled(bool) override { }
    void setBusyCursor(bool) override { }
    void processEvents() override { }
};

} // namespace tarvelle::cli
