#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/file_open_dialog.h"
#include "platform/win32/modal_dialog.h"
#include "platform/win32/owned_handle.h"

namespace quillstep {

namespace {

constexpr const char* MESSAGE_CAPTION = "Notify this";

// Long operations may ask for a stop very often; the message queue is looked into at most this
// often, which keeps the windows painted without slowing the work down.
constexpr ULONGLONG POLL_INTERVAL_MILLISECONDS = 15;
// The main window's labels take a new text at most this often; see setControlText.
constexpr ULONGLONG TEXT_INTERVAL_MILLISECONDS = 15;

bool isUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_NCMOUSEHOVER ||
           message == WM_NCMOUSELEAVE || message == WM_MOUSEHOVER || message == WM_MOUSELEAVE;
}

// Starts `commandLine` with the given creation flags and waits until the process has ended;
// returns its exit code, or nothing when it could not be started.
std::optional<DWORD> runAndWait(const std::string& commandLine, DWORD creationFlags) {
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr, &startup,
                        &process))
        return std::nullopt;
    const OwnedKernelHandle thread(process.hThread), child(process.hProcess);
    WaitForSingleObject(child.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(child.get(), &exitCode);
    return exitCode;
}

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {}

namespace {

void setTextOf(HWND dialog, int controlId, const std::string& text) {
    if (!dialog) return;
    SetDlgItemTextA(dialog, controlId, text.c_str());
    // No messages are handled during long work, so paint the new text right away.
    if (HWND control = GetDlgItem(dialog, controlId)) UpdateWindow(control);
}

void enableControlOf(HWND dialog, int controlId, bool enabled) {
    if (!dialog) return;
    if (HWND control = GetDlgItem(dialog, controlId)) EnableWindow(control, enabled ? TRUE : FALSE);
}

}  // namespace

// A label shows a new text at once, unless another text reached the main window less than
// TEXT_INTERVAL_MILLISECONDS ago: then it waits, and a later text for the same label replaces it.
// Under Wine each text costs about 0.2 ms, and a burst of them - the progress texts of a search
// proven at once, 300,000 of them - would take a minute to show what no eye can follow. Waiting
// texts are shown once the interval has passed, and always before the program looks into its
// messages, opens a message box or a window, or ends the handling of a click.
void Win32Platform::setControlText(int controlId, const std::string& text) {
    auto waiting = std::find_if(waitingTexts_.begin(), waitingTexts_.end(),
                                [&](const WaitingText& entry) { return entry.controlId == controlId; });
    if (waiting != waitingTexts_.end())
        waiting->text = text;
    else
        waitingTexts_.push_back({controlId, text});
    if (GetTickCount64() - lastTextTicks_ >= TEXT_INTERVAL_MILLISECONDS) showWaitingTexts();
}

void Win32Platform::showWaitingTexts() {
    for (const WaitingText& entry : waitingTexts_) setTextOf(mainWindow_, entry.controlId, entry.text);
    waitingTexts_.clear();
    lastTextTicks_ = GetTickCount64();
}

void Win32Platform::enableControl(int controlId, bool enabled) { enableControlOf(mainWindow_, controlId, enabled); }

void Win32Platform::setWindowControlText(int controlId, const std::string& text) {
    setTextOf(otherWindow_, controlId, text);
}

void Win32Platform::enableWindowControl(int controlId, bool enabled) {
    enableControlOf(otherWindow_, controlId, enabled);
}

void Win32Platform::checkWindowControl(int controlId, bool checked) {
    if (otherWindow_ && GetDlgItem(otherWindow_, controlId))
        CheckDlgButton(otherWindow_, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::string Win32Platform::windowControlText(int controlId) {
    HWND control = otherWindow_ ? GetDlgItem(otherWindow_, controlId) : nullptr;
    if (!control) return {};
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    if (text.empty()) return {};
    // Back to the single-byte code page the templates' texts are written in (see widen).
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

void Win32Platform::enableMainWindow(bool enabled) {
    if (!mainWindow_) return;
    EnableWindow(mainWindow_, enabled ? TRUE : FALSE);
    // A modal window closed while the main window was disabled leaves the process without an
    // active window; take the activation back so that the keyboard works again.
    if (enabled && GetActiveWindow() == nullptr) SetActiveWindow(mainWindow_);
}

void Win32Platform::runModalWindow(const WindowTemplate& window, const WindowHandler& handler) {
    showWaitingTexts();
    // Whatever a handler left waiting is shown before the dialog manager takes over again.
    WindowHandler showing;
    if (handler.onCreated) showing.onCreated = [&] {
        handler.onCreated();
        showWaitingTexts();
    };
    if (handler.onCommand) showing.onCommand = [&](int controlId) {
        const WindowAction action = handler.onCommand(controlId);
        showWaitingTexts();
        return action;
    };
    if (window.isMainWindow) {
        runModalDialog(instance_, window, showing, mainWindow_);
        return;
    }
    // A window opened from another one's handler hands the window-control calls back when it closes.
    HWND const outerWindow = otherWindow_;
    runModalDialog(instance_, window, showing, otherWindow_);
    otherWindow_ = outerWindow;
}

void Win32Platform::showMessage(const std::string& text) {
    showWaitingTexts();
    HWND activeBefore = GetActiveWindow();
    MessageBoxA(nullptr, text.c_str(), MESSAGE_CAPTION, MB_OK | MB_TASKMODAL);
    // The box disables the thread's windows while it is open, so when it goes the activation
    // may find no window to return to, or (under Wine, from focus events still on their way)
    // settle on another; give it back to the window that had it.
    if (activeBefore && GetActiveWindow() != activeBefore && IsWindow(activeBefore) && IsWindowEnabled(activeBefore))
        SetActiveWindow(activeBefore);
}

std::filesystem::path Win32Platform::chooseFileToOpen(const std::string& title) {
    showWaitingTexts();
    return chooseFileWithDialog(otherWindow_ ? otherWindow_ : mainWindow_, title);
}

std::filesystem::path Win32Platform::chooseFileToSave(const std::string& title, const std::string& suggestedName) {
    showWaitingTexts();
    return chooseFileToSaveWithDialog(otherWindow_ ? otherWindow_ : mainWindow_, title, suggestedName);
}

void Win32Platform::setHighPriority(bool high) {
    SetPriorityClass(GetCurrentProcess(), high ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
}

double Win32Platform::timeOfDaySeconds() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const long long milliseconds =
        now.wHour * 3'600'000LL + now.wMinute * 60'000LL + now.wSecond * 1'000LL + now.wMilliseconds;
    return static_cast<double>(milliseconds) / 1000.0;
}

bool Win32Platform::startProcessAndWait(const std::string& commandLine) {
    return runAndWait(commandLine, NORMAL_PRIORITY_CLASS).has_value();  // the exit code is of no interest
}

bool Win32Platform::openWithDefaultProgramAndWait(const std::string& fileName) {
    // The shell's file associations are reached through the command interpreter's "start", which
    // ends with an error code when no program could be found for the file.
    const std::optional<DWORD> exitCode =
        runAndWait("cmd.exe /c start \"\" /wait \"" + fileName + "\"", CREATE_NO_WINDOW);
    return exitCode == 0u;
}

bool Win32Platform::pollStopRequest() {
    const ULONGLONG now = GetTickCount64();
    if (now - lastPollTicks_ < POLL_INTERVAL_MILLISECONDS) return false;
    lastPollTicks_ = now;
    showWaitingTexts();
    bool escapePressed = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the modal loop
            break;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) escapePressed = true;
        if (isUserInput(message.message)) continue;  // no click may start a second command
        DispatchMessageW(&message);
    }
    return escapePressed;
}

}  // namespace quillstep
