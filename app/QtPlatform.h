// The desktop's services for the page models, through Qt and the C library.
#pragma once

#include "Platform.h"

class QWidget;

namespace tarvelle {

/// The clipboard entry that marks its text as a secret for clipboard managers.
inline constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";

class QtPlatform final : public Platform
{
public:
    /// The window that owns message boxes and dialogs and that link clicks disable.
    void setMainWindow(QWidget* window) { window_ = window; }

    void beep() override;
    uint32_t tickCount() override;
    bool queryPerformanceFrequency(int64_t& frequency) override;
    bool queryPerformanceCounter(int64_t& count) override;
    void sleepMilliseconds(uint32_t milliseconds) override;
    ScreenPoint cursorPos() override;
    void showInformation(const std::string& title, const std::string& text) override;
    void showWarning(const std::string& title, const std::string& text) override;
    void showError(const std::string& text) override;
    void setClipboardText(const std::string& text) override;
    std::optional<std::string> askSaveFileName() override;
    std::optional<std::string> writeFile(const std::string& path, const std::string& bytes) override;
    bool openUrl(const std::string& url) override;
    void setMainWindowEnabled(bool enabled) override;
    void setBusyCursor(bool busy) override;
    void processEvents() override;

private:
    QWidget* window_ = nullptr;
};

} // namespace tarvelle
