#pragma once
// One run of quillstep.exe under test: started in its own working folder, its windows found by
// title and by a control only they have, its message boxes answered, its files read back.

#include <windows.h>

#include <string>

#include "automation.h"
#include "windows/control_ids.h"

namespace driver {

using namespace quillstep;  // the main window's control ids

constexpr const char* PROGRAM_TITLE = "Marrowby - Quillstep";
constexpr const char* MESSAGE_CAPTION = "Notify this";

// A control that only one of the program's windows has.
constexpr int MAIN_WINDOW_MARKER = FULL_WHEEL_BUTTON;  // "Full wheel (without storing in memory)"
constexpr int INTRO_WINDOW_MARKER = 1115;               // "Start"
constexpr int STATISTICS_WINDOW_MARKER = 1084;          // "Close"

struct DriverOptions {
    std::wstring programPath;    // quillstep.exe
    std::wstring workFolder;     // the program's working folder, where its files appear
    std::wstring pictureFolder;  // where window pictures go; empty: none are taken
};

class ProgramUnderTest {
public:
    explicit ProgramUnderTest(const DriverOptions& options);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    DWORD processId() const { return process_.dwProcessId; }
    DWORD threadId() const { return process_.dwThreadId; }

    // The program's visible window that has `marker`, or null.
    HWND findWindow(int marker) const;
    HWND waitForWindow(int marker, const std::string& name, std::chrono::milliseconds timeout = DEFAULT_TIMEOUT);
    void waitUntilClosed(int marker, const std::string& name);

    // Presses "Start" in the introductory window and returns the main window once it is shown.
    HWND openMainWindow();
    // Milliseconds from the start of the process until its first window was visible.
    double firstWindowMilliseconds() const { return firstWindowMilliseconds_; }

    // The open "Notify this" message box, or null.
    HWND findMessageBox() const;
    // Waits for a message box, reads its text, presses OK and waits until it has gone.
    std::string acknowledgeMessage(std::chrono::milliseconds timeout = DEFAULT_TIMEOUT);

    // Closes the main window as its close box does and returns the exit code of the process.
    DWORD closeMainWindowAndWaitForExit(HWND mainWindow);
    bool hasExited() const;

    std::string readFile(const std::string& name) const;
    bool fileExists(const std::string& name) const;
    void expectFile(const std::string& name, const std::string& expectedBytes) const;

    // Saves a picture of the window as <pictureFolder>\<name>.bmp, when pictures are wanted.
    void picture(HWND window, const std::string& name) const;

private:
    DriverOptions options_;
    PROCESS_INFORMATION process_{};
    double firstWindowMilliseconds_ = 0;
};

}  // namespace driver
