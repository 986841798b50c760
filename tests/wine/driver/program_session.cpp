#include "program_session.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace driver {

namespace {

constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

std::wstring pathIn(const std::wstring& folder, const std::string& name) { return folder + L"\\" + wide(name); }

// Shows where two texts first differ, with the lines around it.
std::string describeDifference(const std::string& actual, const std::string& expected) {
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    auto excerpt = [&](const std::string& text) {
        const size_t from = at > 40 ? at - 40 : 0;
        std::string piece = text.substr(from, 80);
        std::string shown;
        for (char c : piece) shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
        return shown;
    };
    std::ostringstream out;
    out << "first difference at byte " << at << " (sizes: found " << actual.size() << ", expected " << expected.size()
        << ")\n  found:    \"" << excerpt(actual) << "\"\n  expected: \"" << excerpt(expected) << "\"";
    return out.str();
}

}  // namespace

ProgramUnderTest::ProgramUnderTest(const DriverOptions& options) : options_(options) {
    std::wstring commandLine = L"\"" + options.programPath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const auto started = std::chrono::steady_clock::now();
    if (!CreateProcessW(options.programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        options.workFolder.c_str(), &startup, &process_))
        fail("could not start " + narrow(options.programPath) + " (error " + std::to_string(GetLastError()) + ")");
    waitUntil([&] { return !topLevelWindows(processId()).empty(); }, "the program's first window");
    firstWindowMilliseconds_ =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

ProgramUnderTest::~ProgramUnderTest() {
    if (!hasExited()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10'000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND ProgramUnderTest::findWindow(int marker) const {
    for (HWND window : topLevelWindows(processId()))
        if (windowText(window) == PROGRAM_TITLE && GetDlgItem(window, marker)) return window;
    return nullptr;
}

HWND ProgramUnderTest::waitForWindow(int marker, const std::string& name, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            if (hasExited()) fail("the program ended while waiting for the " + name);
            found = findWindow(marker);
            return found != nullptr;
        },
        "the " + name, timeout);
    return found;
}

void ProgramUnderTest::waitUntilClosed(int marker, const std::string& name) {
    waitUntil([&] { return findWindow(marker) == nullptr; }, "the " + name + " to close");
}

HWND ProgramUnderTest::openMainWindow() {
    HWND intro = waitForWindow(INTRO_WINDOW_MARKER, "introductory window");
    expect(findWindow(MAIN_WINDOW_MARKER) == nullptr, "the main window is open before the introductory window closed");
    pressButton(intro, INTRO_WINDOW_MARKER);
    HWND mainWindow = waitForWindow(MAIN_WINDOW_MARKER, "main window");
    expect(findWindow(INTRO_WINDOW_MARKER) == nullptr, "the introductory window is still open beside the main window");
    settle(mainWindow);
    return mainWindow;
}

HWND ProgramUnderTest::findMessageBox() const {
    for (HWND window : topLevelWindows(processId()))
        if (windowText(window) == MESSAGE_CAPTION && windowClass(window) == "#32770") return window;
    return nullptr;
}

std::string ProgramUnderTest::acknowledgeMessage(std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    waitUntil(
        [&] {
            if (hasExited()) fail("the program ended while a message box was awaited");
            box = findMessageBox();
            return box != nullptr;
        },
        "a \"Notify this\" message box", timeout);
    std::string text;
    if (HWND label = GetDlgItem(box, MESSAGE_BOX_TEXT_ID)) text = windowText(label);
    if (text.empty())
        for (HWND child : childWindows(box))
            if (_stricmp(windowClass(child).c_str(), "Static") == 0 && !windowText(child).empty()) {
                text = windowText(child);
                break;
            }
    HWND ok = GetDlgItem(box, IDOK);
    expect(ok != nullptr, "the message box \"" + text + "\" has no OK button");
    pressButton(box, IDOK);
    waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, "the message box \"" + text + "\" to close");
    return text;
}

bool ProgramUnderTest::hasExited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

DWORD ProgramUnderTest::closeMainWindowAndWaitForExit(HWND mainWindow) {
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    waitUntil([&] { return hasExited(); }, "the program to end after its main window was closed");
    DWORD exitCode = 0;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return exitCode;
}

std::string ProgramUnderTest::readFile(const std::string& name) const {
    std::ifstream in(pathIn(options_.workFolder, name).c_str(), std::ios::binary);
    if (!in) fail("the file " + name + " was not written");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ProgramUnderTest::fileExists(const std::string& name) const {
    return GetFileAttributesW(pathIn(options_.workFolder, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ProgramUnderTest::expectFile(const std::string& name, const std::string& expectedBytes) const {
    const std::string actual = readFile(name);
    if (actual != expectedBytes) fail(name + " differs from what was expected: " + describeDifference(actual, expectedBytes));
}

void ProgramUnderTest::picture(HWND window, const std::string& name) const {
    if (options_.pictureFolder.empty()) return;
    settle(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    settle(window);
    std::this_thread::sleep_for(300ms);  // let the X server show what was painted
    saveWindowPicture(window, pathIn(options_.pictureFolder, name + ".bmp"));
}

}  // namespace driver
