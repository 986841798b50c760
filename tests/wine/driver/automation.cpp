#include "automation.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <thread>

namespace driver {

void fail(const std::string& message) { throw TestFailure(message); }

void expect(bool condition, const std::string& message) {
    if (!condition) fail(message);
}

void expectEqual(const std::string& actual, const std::string& expected, const std::string& what) {
    if (actual != expected) fail(what + ": expected \"" + expected + "\", found \"" + actual + "\"");
}

void waitUntil(const std::function<bool()>& condition, const std::string& what, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            fail("timed out after " + std::to_string(timeout.count() / 1000) + " s waiting for " + what);
        std::this_thread::sleep_for(10ms);
    }
}

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

std::string windowText(HWND window) {
    wchar_t buffer[4096];
    const int length = GetWindowTextW(window, buffer, 4096);
    return narrow(std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0)));
}

std::string windowClass(HWND window) {
    wchar_t buffer[256];
    const int length = GetClassNameW(window, buffer, 256);
    return narrow(std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0)));
}

HWND control(HWND dialog, int id) {
    HWND found = GetDlgItem(dialog, id);
    if (!found) fail("the window has no control " + std::to_string(id));
    return found;
}

std::string controlText(HWND dialog, int id) { return windowText(control(dialog, id)); }

bool controlEnabled(HWND dialog, int id) { return IsWindowEnabled(control(dialog, id)) != FALSE; }

std::vector<HWND> topLevelWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.processId && IsWindowVisible(window)) s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findForeignWindow(DWORD notThisProcess, const std::string& titlePart) {
    struct Search {
        DWORD excluded;
        const std::string& titlePart;
        HWND found = nullptr;
    } search{notThisProcess, titlePart};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.excluded || owner == GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
            if (windowText(window).find(s.titlePart) == std::string::npos) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> childWindows(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

namespace {

HWND clickableButton(HWND dialog, int id) {
    HWND button = control(dialog, id);
    expect(IsWindowEnabled(dialog) != FALSE, "button " + std::to_string(id) + " pressed while its window is disabled");
    expect(IsWindowEnabled(button) != FALSE, "button " + std::to_string(id) + " (\"" + windowText(button) +
                                                 "\") is greyed out and cannot be pressed");
    // A click needs the mouse capture, which an activation arriving meanwhile would take away:
    // click only in the active window. When the activation has not come back within a few
    // seconds (under Wine, after a message box, focus events may leave no window of the program
    // active), click into the window first, as a user would.
    HWND window = GetAncestor(button, GA_ROOT);
    const DWORD threadId = GetWindowThreadProcessId(button, nullptr);
    const auto isActive = [&] { return activeWindowOf(threadId) == window; };
    const auto waited = std::chrono::steady_clock::now();
    while (!isActive() && std::chrono::steady_clock::now() - waited < 3s) std::this_thread::sleep_for(10ms);
    if (!isActive()) {
        std::printf("the window of button %d was not active after 3 s: clicked into it\n", id);
        activate(window);
    }
    waitUntil(isActive, "the window of button " + std::to_string(id) + " to become active", 10s);
    return button;
}

}  // namespace

void pressButton(HWND dialog, int id) { PostMessageW(clickableButton(dialog, id), BM_CLICK, 0, 0); }

void clickAndWait(HWND dialog, int id, std::chrono::milliseconds timeout) {
    HWND button = clickableButton(dialog, id);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &result))
        fail("the command of button " + std::to_string(id) + " did not end within " +
             std::to_string(timeout.count() / 1000) + " s");
}

void pressKey(HWND target, WPARAM virtualKey) {
    DWORD threadId = GetWindowThreadProcessId(target, nullptr);
    HWND focus = focusOf(threadId);
    HWND receiver = focus ? focus : target;
    const UINT scanCode = MapVirtualKeyW(static_cast<UINT>(virtualKey), 0);
    PostMessageW(receiver, WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
    PostMessageW(receiver, WM_KEYUP, virtualKey, 1 | (scanCode << 16) | (3u << 30));
}

bool answersWithin(HWND window, std::chrono::milliseconds wait) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(wait.count()), &result) != 0;
}

void settle(HWND window, std::chrono::milliseconds timeout) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &result))
        fail(IsWindow(window) ? "the program did not answer within " + std::to_string(timeout.count() / 1000) + " s"
                              : "the window \"" + windowText(window) + "\" has closed");
}

void pressEscapeAndWait(HWND window) {
    pressKey(window, VK_ESCAPE);
    settle(window);
    std::this_thread::sleep_for(500ms);
    settle(window);
}

HWND focusOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND activeWindowOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndActive : nullptr;
}

ForeignWindow::ForeignWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuillstepDriverWindow";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);  // a second registration fails harmlessly
    window_ = CreateWindowExW(0, L"QuillstepDriverWindow", L"Another application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              600, 500, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    expect(window_ != nullptr, "the driver could not create its own window");
}

ForeignWindow::~ForeignWindow() {
    if (window_) DestroyWindow(window_);
}

void ForeignWindow::activate() {
    driver::activate(window_);
    waitUntil([&] { return GetActiveWindow() == window_; }, "the driver's own window to become active", 10s);
}

void activate(HWND window) {
    // Handle the driver's own messages meanwhile, so that its window follows the activation.
    SetForegroundWindow(window);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

void saveWindowPicture(HWND window, const std::wstring& path) {
    RECT box;
    GetWindowRect(window, &box);
    const int width = box.right - box.left, height = box.bottom - box.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
    GdiFlush();
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageBytes);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace driver
