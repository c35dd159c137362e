// Platform services for the toolkit-free page models.
//
// Everything a page model needs from the desktop (beep, clocks, cursor, message boxes, clipboard, save
// dialog and file writing, web links, busy cursor, the message pass) comes through this interface. The Qt
// application implements it in app/QtPlatform; tests pass tests/support's FakePlatform and check what the
// model asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvelle {

struct ScreenPoint
{
    int32_t x = 0;
    int32_t y = 0;
};

class Platform
{
public:
    virtual ~Platform() = default;

    /// The system's default beep.
    virtual void beep() = 0;

    /// Milliseconds since the system started: 32 bits, wrapping.
    virtual uint32_t tickCount() = 0;
    /// Counts per second of the high-resolution counter; false (and 0) when there is no such counter.
    virtual bool queryPerformanceFrequency(int64_t& frequency) = 0;
    /// The high-resolution counter's current count.
    virtual bool queryPerformanceCounter(int64_t& count) = 0;
    /// Blocks the calling thread for about the given number of milliseconds.
    virtual void sleepMilliseconds(uint32_t milliseconds) = 0;
    /// The mouse cursor's position in screen coordinates.
    virtual ScreenPoint cursorPos() = 0;

    /// Modal information box with one OK button.
    virtual void showInformation(const std::string& title, const std::string& text) = 0;
    /// Modal warning box with one OK button.
    virtual void showWarning(const std::string& title, const std::string& text) = 0;
    /// Modal error box with one OK button.
    virtual void showError(const std::string& text) = 0;

    /// Empties the clipboard and puts plain text on it, marked as a secret (only passwords are copied).
    virtual void setClipboardText(const std::string& text) = 0;
    /// Asks for a file to save to; nullopt when the user cancels.
    virtual std::optional<std::string> askSaveFileName() = 0;
    /// Writes the file whole or not at all; returns the system's error text on failure.
    virtual std::optional<std::string> writeFile(const std::string& path, const std::string& bytes) = 0;

    /// Asks the desktop to open a web address in the default browser; false when it refused.
    virtual bool openUrl(const std::string& url) = 0;
    /// Enables or disables input to the main window.
    virtual void setMainWindowEnabled(bool enabled) = 0;

    /// Switches the screen cursor between the busy shape and the default one.
    virtual void setBusyCursor(bool busy) = 0;
    /// Lets the window handle its pending messages once.
    virtual void processEvents() = 0;
};

} // namespace tarvelle
