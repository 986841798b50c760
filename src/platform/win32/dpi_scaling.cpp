#include "platform/win32/dpi_scaling.h"

#include "platform/win32/owned_handle.h"

namespace quillstep {
namespace {

// Entries of user32 that Windows 10 added (1607: the DPI of a window, metrics and frames at a DPI;
// 1703: the dialog manager's DPI behaviour), looked up once.
using GetDpiForWindowEntry = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiEntry = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiEntry = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorEntry = BOOL(WINAPI*)(HWND, int, int);

constexpr int DIALOG_DPI_CHANGES_ALL = 1;  // DDC_DISABLE_ALL
constexpr UINT DEFAULT_DPI = 96;
// The dialog base units the windows were laid out for, at DEFAULT_DPI.
constexpr int DESIGN_BASE_UNIT_X = 6, DESIGN_BASE_UNIT_Y = 13;

template <typename Entry>
Entry user32Entry(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

UINT screenDpi() {
    const WindowDeviceContext screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : DEFAULT_DPI;
}

}  // namespace

UINT dpiOfWindow(HWND window) {
    static const auto forWindow = user32Entry<GetDpiForWindowEntry>("GetDpiForWindow");
    const UINT dpi = forWindow && window ? forWindow(window) : 0;
    return dpi > 0 ? dpi : screenDpi();
}

int fontHeightAt(int points, UINT dpi) { return -MulDiv(points, static_cast<int>(dpi), 72); }

int iconPixelsAt(bool big, UINT dpi) {
    static const auto metricsForDpi = user32Entry<GetSystemMetricsForDpiEntry>("GetSystemMetricsForDpi");
    const int metric = big ? SM_CXICON : SM_CXSMICON;
    if (metricsForDpi) return metricsForDpi(metric, dpi);
    return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), static_cast<int>(screenDpi()));
}

RECT dialogUnitsToPixels(int x, int y, int width, int height, UINT dpi) {
    // Four horizontal units are one base unit, eight vertical ones too.
    const int d = static_cast<int>(dpi);
    const auto across = [&](int units) { return MulDiv(units, DESIGN_BASE_UNIT_X * d, 4 * static_cast<int>(DEFAULT_DPI)); };
    const auto down = [&](int units) { return MulDiv(units, DESIGN_BASE_UNIT_Y * d, 8 * static_cast<int>(DEFAULT_DPI)); };
    return RECT{across(x), down(y), across(x + width), down(y + height)};
}

SIZE windowSizeAt(DWORD style, DWORD extendedStyle, SIZE client, UINT dpi) {
    static const auto adjustForDpi = user32Entry<AdjustWindowRectExForDpiEntry>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, extendedStyle, dpi))
        AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void leaveDpiChangesToDialogProcedure(HWND dialog) {
    static const auto setBehaviour = user32Entry<SetDialogDpiChangeBehaviorEntry>("SetDialogDpiChangeBehavior");
    if (setBehaviour) setBehaviour(dialog, DIALOG_DPI_CHANGES_ALL, DIALOG_DPI_CHANGES_ALL);
}

}  // namespace quillstep
