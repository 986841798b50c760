#pragma once
// Working the windows of another process from outside, as a user would: find a window, read a
// label, press a button, answer a message box, move the activation. Every wait is bounded, and
// a failed expectation throws TestFailure with a message that says what was expected.

#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace driver {

using namespace std::chrono_literals;

struct TestFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The longest any single wait may take before the scenario fails.
constexpr std::chrono::milliseconds DEFAULT_TIMEOUT = 30s;

[[noreturn]] void fail(const std::string& message);
void expect(bool condition, const std::string& message);
void expectEqual(const std::string& actual, const std::string& expected, const std::string& what);

// Polls `condition` every few milliseconds until it holds; fails with `what` after `timeout`.
void waitUntil(const std::function<bool()>& condition, const std::string& what,
               std::chrono::milliseconds timeout = DEFAULT_TIMEOUT);

std::string narrow(const std::wstring& text);
std::wstring wide(const std::string& text);

// Text of a window or control of any process (the text the window manager holds; it does not
// wait for the owning thread, so it works while that thread is busy).
std::string windowText(HWND window);
std::string windowClass(HWND window);
HWND control(HWND dialog, int id);  // fails when the dialog has no such control
std::string controlText(HWND dialog, int id);
bool controlEnabled(HWND dialog, int id);

// Visible top-level windows of the process, in z-order.
std::vector<HWND> topLevelWindows(DWORD processId);
// A visible top-level window of another process whose title contains `titlePart`, or null.
HWND findForeignWindow(DWORD notThisProcess, const std::string& titlePart);
// The child windows of a dialog in creation order.
std::vector<HWND> childWindows(HWND dialog);

// Presses a button as a click would (BM_CLICK posted to it) and returns at once, for buttons
// that open a window or a message box; fails when it is greyed out.
void pressButton(HWND dialog, int id);
// Presses a button (BM_CLICK sent to it) and returns when its command has run to its end.
void clickAndWait(HWND dialog, int id, std::chrono::milliseconds timeout = DEFAULT_TIMEOUT);
// Sends a key press (down and up) to the focused control of the thread, or to `target`.
void pressKey(HWND target, WPARAM virtualKey);

// Whether the window's thread takes messages within `wait` (false while a command runs).
bool answersWithin(HWND window, std::chrono::milliseconds wait);

// Returns once the window's thread takes messages again (a round trip of an empty sent message),
// that is once a command has ended or a modal loop runs; fails when it stays busy longer.
void settle(HWND window, std::chrono::milliseconds timeout = DEFAULT_TIMEOUT);

// Presses Escape in the window and gives it time to react (a key must pass the window's message
// loop, so its handling cannot be waited for directly).
void pressEscapeAndWait(HWND window);

// The focus and active window of a GUI thread.
HWND focusOf(DWORD threadId);
HWND activeWindowOf(DWORD threadId);

// A window of the driver's own, to which the activation can be moved away from the program.
class ForeignWindow {
public:
    ForeignWindow();
    ~ForeignWindow();
    HWND handle() const { return window_; }
    void activate();

private:
    HWND window_ = nullptr;
};

// Brings a top-level window of the program to the foreground.
void activate(HWND window);

// Saves a picture of the window (its screen rectangle) as a 24-bit BMP file.
void saveWindowPicture(HWND window, const std::wstring& path);

}  // namespace driver
