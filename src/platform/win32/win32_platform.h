#pragma once
// The platform over the Windows API (user32, gdi32, comctl32, kernel32): real modal dialogs built
// in memory from window templates, message boxes, process priority, the local clock and child
// processes.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillstep {

class Win32Platform : public Platform {
public:
    explicit Win32Platform(HINSTANCE instance);

    void setControlText(int controlId, const std::string& text) override;
    void enableControl(int controlId, bool enabled) override;
    void enableMainWindow(bool enabled) override;
    void setWindowControlText(int controlId, const std::string& text) override;
    void enableWindowControl(int controlId, bool enabled) override;
    void checkWindowControl(int controlId, bool checked) override;
    std::string windowControlText(int controlId) override;
    void runModalWindow(const WindowTemplate& window, const WindowHandler& handler) override;
    void showMessage(const std::string& text) override;
    std::filesystem::path chooseFileToOpen(const std::string& title) override;
    void setHighPriority(bool high) override;
    double timeOfDaySeconds() override;
    bool startProcessAndWait(const std::string& commandLine) override;
    bool openWithDefaultProgramAndWait(const std::string& fileName) override;
    bool pollStopRequest() override;

private:
    void showWaitingTexts();

    struct WaitingText {
        int controlId;
        std::string text;
    };

    HINSTANCE instance_;
    HWND mainWindow_ = nullptr;      // while the main window's dialog runs
    HWND otherWindow_ = nullptr;     // the innermost other window, while its dialog runs
    ULONGLONG lastPollTicks_ = 0;    // GetTickCount64 of the last look into the message queue
    std::vector<WaitingText> waitingTexts_;  // main-window texts not shown yet, one per label
    ULONGLONG lastTextTicks_ = 0;    // when the main window's labels last took their texts
};

}  // namespace quillstep
