// quillstep-text-probe.dll: measures, inside the program's own process, how much room the texts
// of a window need in the fonts its controls really use. The driver hooks the window's thread
// with measureTextsHook (WH_CALLWNDPROC, which loads this library into the program) and sends the
// window the registered message TEXT_PROBE_MESSAGE; the hook writes one report file:
//
//   base <x> <y> <dpi>                           the window's dialog base units in pixels, its DPI
//   <id> <kind> <needed w> <needed h> <room w> <room h> <descent> <bearing> <face>
//
// for each control with text. kind is "label" (wrapped as a static control wraps it: the needed
// sizes are those of the wrapped text) or "button" (one centred line). The room is the control's
// client area in pixels; the descent is the font's, the part of a line below its baseline; the
// bearing is the blank that a one-word text's last character leaves at its right (its advance
// beyond its ink), 0 for texts of several words.
//
// The registered message DPI_CHANGE_MESSAGE (wParam: a DPI) makes the hook send the window, in its
// own thread, the WM_DPICHANGED that Windows sends when a window moves to a monitor of that DPI
// (a message whose rectangle cannot be sent from another process).

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t TEXT_PROBE_MESSAGE[] = L"QuillstepTextProbe";
constexpr wchar_t DPI_CHANGE_MESSAGE[] = L"QuillstepDpiChange";
constexpr UINT WINDOWS_DPI_CHANGED = 0x02E0;  // WM_DPICHANGED

// GetDpiForWindow of Windows 10, where it exists; else the screen's.
UINT dpiOf(HWND window) {
    using Entry = UINT(WINAPI*)(HWND);
    static const auto forWindow =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow) return forWindow(window);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void sendDpiChange(HWND window, UINT dpi) {
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WINDOWS_DPI_CHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

std::string utf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
    if (length > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), length, nullptr, nullptr);
    return result;
}

std::wstring textOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

std::wstring classOf(HWND control) {
    wchar_t name[64];
    const int length = GetClassNameW(control, name, 64);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

// The kind of a control whose text is drawn, or null for frames, group boxes and the like.
const char* kindOf(HWND control) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const std::wstring name = classOf(control);
    if (lstrcmpiW(name.c_str(), L"Static") == 0) {
        const DWORD type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ? "label" : nullptr;
    }
    if (lstrcmpiW(name.c_str(), L"Button") == 0) {
        const DWORD type = style & BS_TYPEMASK;
        // A check box drawn as a push button (the play slip's numbers) lays its text out as one.
        const bool pushLike = (style & BS_PUSHLIKE) != 0 && type == BS_CHECKBOX;
        return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || pushLike ? "button" : nullptr;
    }
    return nullptr;
}

void writeControl(FILE* report, HWND control) {
    const char* kind = kindOf(control);
    const std::wstring text = textOf(control);
    if (!kind || text.empty()) return;
    RECT room;
    GetClientRect(control, &room);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT needed{0, 0, room.right, 0};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    if (kind[0] == 'l') {
        format |= DT_WORDBREAK;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    } else {
        format |= DT_SINGLELINE;
    }
    DrawTextW(dc, text.c_str(), -1, &needed, format);
    ABC last{};
    const bool oneWord = text.find(L' ') == std::wstring::npos;
    if (oneWord) GetCharABCWidthsW(dc, text.back(), text.back(), &last);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    std::fprintf(report, "%d %s %ld %ld %ld %ld %ld %d %s\n", GetDlgCtrlID(control), kind, needed.right - needed.left,
                 needed.bottom - needed.top, room.right, room.bottom, metrics.tmDescent, last.abcC > 0 ? last.abcC : 0,
                 utf8(face).c_str());
}

void writeReport(HWND window, DWORD driverProcessId) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"quillstep-text-probe-" + std::to_wstring(driverProcessId) + L".txt";
    FILE* report = _wfopen(path.c_str(), L"w");
    if (!report) return;
    RECT base{0, 0, 4, 8};  // four horizontal and eight vertical units are one base unit each
    MapDialogRect(window, &base);
    std::fprintf(report, "base %ld %ld %u\n", base.right, base.bottom, dpiOf(window));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        writeControl(report, child);
    std::fclose(report);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK measureTextsHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probeMessage = RegisterWindowMessageW(TEXT_PROBE_MESSAGE);
    static const UINT dpiChangeMessage = RegisterWindowMessageW(DPI_CHANGE_MESSAGE);
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == probeMessage) writeReport(call->hwnd, static_cast<DWORD>(call->wParam));
        if (call->message == dpiChangeMessage) sendDpiChange(call->hwnd, static_cast<UINT>(call->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
