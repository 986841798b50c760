#pragma once
// Runs a window template as a modal dialog of the system's dialog manager.

#include <windows.h>

#include "platform/window.h"

namespace quillstep {

// Builds the dialog from `window`, creates its controls and fonts, calls handler.onCreated and
// returns when the dialog has ended. `openWindow` holds the dialog's handle from the moment its
// controls exist until it has been destroyed (null before and after).
void runModalDialog(HINSTANCE instance, const WindowTemplate& window, const WindowHandler& handler,
                    HWND& openWindow);

}  // namespace quillstep
