#pragma once
// The DPI of a window's monitor and the sizes that follow from it. The program declares itself
// aware of each monitor's DPI (resources/quillstep.manifest): nothing is stretched by the system,
// so every size in pixels is worked out here for the DPI of the window's own monitor. The entries
// of Windows 10 (GetDpiForWindow and the like) are looked up by name, with the screen's DPI and
// the plain metrics on older systems.

#include <windows.h>

namespace quillstep {

// WM_DPICHANGED (the window is now on a monitor of another DPI: new DPI in the high word of wParam,
// the suggested window rectangle at lParam) and WM_GETDPISCALEDSIZE (the size the window will
// want at the DPI in wParam, asked before the change, into the SIZE at lParam).
constexpr UINT DPI_CHANGED_MESSAGE = 0x02E0;
constexpr UINT DPI_SCALED_SIZE_MESSAGE = 0x02E4;

// The DPI of the monitor the window is on (the screen's where that is not known).
UINT dpiOfWindow(HWND window);

// CreateFont's height (negative: the character height) of a font of `points` at `dpi`.
int fontHeightAt(int points, UINT dpi);

// The side in pixels of the large (caption, Alt+Tab) or the small (title bar) icon at `dpi`.
int iconPixelsAt(bool big, UINT dpi);

// A box in dialog units converted to pixels at `dpi`. The windows were laid out for the dialog
// base units of "MS Sans Serif" at 8 points on a screen of 96 DPI, 6 x 13 pixels; at any other DPI
// those units grow with the DPI, so that a window at 150% is the window at 100% made 1.5 times as
// large, every text in it too. (The dialog manager's own units follow the rounding of the dialog
// font's height instead, which grows less than the DPI: 18 pixels at 144 DPI instead of 19.5, and
// a 24-point number no longer fits its label.) At 96 DPI this is exactly what MapDialogRect gives.
RECT dialogUnitsToPixels(int x, int y, int width, int height, UINT dpi);

// The outer size of a window of the given styles whose client area is `client`, at `dpi`.
SIZE windowSizeAt(DWORD style, DWORD extendedStyle, SIZE client, UINT dpi);

// Leaves the handling of DPI changes to the program's own dialog procedure: under per-monitor
// awareness v2 the dialog manager would otherwise rescale the window and hand every control the
// dialog font, the large fonts too.
void leaveDpiChangesToDialogProcedure(HWND dialog);

}  // namespace quillstep
