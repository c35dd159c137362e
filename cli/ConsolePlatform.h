// The desktop services the page models ask for, as a program without a window provides them.
//
// A beep is not heard; a password run that gave up is told by how the run ended, so warning and error boxes
// show nothing. The millisecond tick is the monotonic clock, which the password run's time limits read. Every
// other service (cursor, clipboard, dialogs, files, links) does nothing.
#pragma once

#include "Platform.h"

#include <string>

namespace tarvelle::cli {

class ConsolePlatform final : public Platform
{
public:
    void beep() override { }
    uint32_t tickCount() override;
    bool queryPerformanceFrequency(int64_t& frequency) override;
    bool queryPerformanceCounter(int64_t& count) override;
    void sleepMilliseconds(uint32_t) override { }
    ScreenPoint cursorPos() override { return {}; }

    void showInformation(const std::string&, const std::string&) override { }
    void showWarning(const std::string&, const std::string&) override { }
    void showError(const std::string&) override { }

    void setClipboardText(const std::string&) override { }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    std::optional<std::string> writeFile(const std::string&, const std::string&) override;
    bool openUrl(const std::string&) override { return false; }
    void setMainWindowEnabled(bool) override { }
    void setBusyCursor(bool) override { }
    void processEvents() override { }
};

} // namespace tarvelle::cli
