#pragma once
// The scenarios the driver can run, each a CTest test of its own.

#include <span>
#include <string>

#include "program_session.h"

namespace driver {

struct Scenario {
    const char* name;
    const char* purpose;
    void (*run)(const DriverOptions& options);
};

std::span<const Scenario> mainWindowScenarios();
std::span<const Scenario> commandScenarios();
std::span<const Scenario> fontScenarios();
std::span<const Scenario> smallerSystemsScenarios();
std::span<const Scenario> checkSystemScenarios();
std::span<const Scenario> releaseScenarios();
std::span<const Scenario> valuesScenarios();
std::span<const Scenario> pastDrawsScenarios();
std::span<const Scenario> wheelScenarios();

// Shared steps of the scenarios.

// Opens the program and returns its main window, after checking the introductory window.
HWND startAtMainWindow(ProgramUnderTest& program);

// Presses "up" or "down" of a parameter until its label reads `target` (at most 300 presses).
void stepParameter(HWND mainWindow, int upId, int downId, int labelId, int target);
void setTotalNumbers(HWND mainWindow, int totalNumbers);

// Presses a button whose command shows no message box or window and waits until it has ended.
void pressAndSettle(HWND window, int id);

void expectStoreButtons(HWND mainWindow, bool enabled, const std::string& when);

// Starts the program, sets the total numbers and stores the full wheel; checks the memory label
// and that the store buttons are enabled.
HWND storeFullWheel(ProgramUnderTest& program, int totalNumbers);

// Presses "Check a system..." and returns its window once it is shown; closes it again.
HWND openCheckSystemWindow(ProgramUnderTest& program, HWND mainWindow);
void closeCheckSystemWindow(ProgramUnderTest& program, HWND mainWindow, HWND window);
// Presses "Open file...", types `path` into the system's file-open dialog and presses its OK.
void openFileInCheckSystemWindow(ProgramUnderTest& program, HWND window, const std::wstring& path);
// Presses `button` of the window, types `path` into the file-open dialog titled `title`, presses its OK
// and waits until the window has handled the file.
void openFileThroughDialog(ProgramUnderTest& program, HWND window, int button, const std::string& title,
                           const std::wstring& path);

// Waits for the program's file dialog titled `title`, types `path` into its file name field and
// presses its OK (an empty path: presses Cancel), then waits until it has closed.
void answerFileDialog(ProgramUnderTest& program, const std::string& title, const std::wstring& path);
// The full path of a file in the folder the program runs in.
std::wstring pathInWorkFolder(const DriverOptions& options, const std::string& name);

// Lines joined with the line end the program writes.
std::string crlfLines(std::initializer_list<const char*> lines);

}  // namespace driver
