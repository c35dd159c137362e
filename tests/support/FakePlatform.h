// A Platform for tests: every service is recorded or scripted, nothing touches the desktop.
#pragma once

#include "Platform.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvelle::test {

class FakePlatform : public Platform
{
public:
    struct Message
    {
        std::string kind; // "information", "warning" or "error"
        std::string title;
        std::string text;
    };

    // Scripted inputs.
    uint32_t tick = 0;
    /// Added to tick after each tickCount() call, so loops that watch the clock move on.
    uint32_t tickStep = 0;
    int64_t frequency = 0; // 0: no high-resolution counter
    int64_t counter = 0;
    std::vector<ScreenPoint> cursorReads; // returned in order; the last one repeats
    std::optional<std::string> saveFileName;
    std::optional<std::string> writeError; // when set, writeFile fails with this text
    bool openUrlResult = true;
    std::function<void()> onProcessEvents;

    // Recorded outputs.
    int beeps = 0;
    std::vector<uint32_t> sleeps;
    std::vector<Message> messages;
    std::vector<std::string> clipboard; // every text put on the clipboard
    int saveDialogs = 0;
    std::vector<std::pair<std::string, std::string>> writes; // path, bytes
    std::vector<std::string> openedUrls;
    std::vector<bool> enabledChanges;
    bool mainWindowEnabled = true;
    bool mainWindowEnabledDuringOpen = true;
    std::vector<bool> busyCursor;
    int eventPasses = 0;

    void beep() override { ++beeps; }
    uint32_t tickCount() override
    {
        const uint32_t t = tick;
        tick += tickStep;
        return t;
    }
    bool queryPerformanceFrequency(int64_t& f) override
    {
        f = frequency;
        return frequency != 0;
    }
    bool queryPerformanceCounter(int64_t& c) override
    {
        c = counter;
        return frequency != 0;
    }
    void sleepMilliseconds(uint32_t ms) override { sleeps.push_back(ms); }
    ScreenPoint cursorPos() override
    {
        if (cursorReads.empty())
            return {};
        const ScreenPoint p = cursorReads.front();
        if (cursorReads.size() > 1)
            cursorReads.erase(cursorReads.begin());
        return p;
    }
    void showInformation(const std::string& title, const std::string& text) override
    {
        messages.push_back({"information", title, text});
    }
    void showWarning(const std::string& title, const std::string& text) override
    {
        messages.push_back({"warning", title, text});
    }
    void showError(const std::string& text) override { messages.push_back({"error", "", text}); }
    void setClipboardText(const std::string& text) override { clipboard.push_back(text); }
    std::optional<std::string> askSaveFileName() override
    {
        ++saveDialogs;
        return saveFileName;
    }
    std::optional<std::string> writeFile(const std::string& path, const std::string& bytes) override
    {
        if (writeError)
            return writeError;
        writes.emplace_back(path, bytes);
        return std::nullopt;
    }
    bool openUrl(const std::string& url) override
    {
        openedUrls.push_back(url);
        mainWindowEnabledDuringOpen = mainWindowEnabled;
        return openUrlResult;
    }
    void setMainWindowEnabled(bool enabled) override
    {
        mainWindowEnabled = enabled;
        enabledChanges.push_back(enabled);
    }
    void setBusyCursor(bool busy) override { busyCursor.push_back(busy); }
    void processEvents() override
    {
        ++eventPasses;
        if (onProcessEvents)
            onProcessEvents();
    }
};

} // namespace tarvelle::test
