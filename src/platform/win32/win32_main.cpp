// The Windows program: registers the common controls, then runs the program on the real windows.
// The command line and the initial show state are ignored.

#include <windows.h>

#include "app/startup.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    quillstep::initCommonControls();
    quillstep::Win32Platform platform(instance);
    // 0 once the main window has closed; 1 when the store could not be allocated (a message
    // has said so and no window opened).
    return quillstep::runProgram(platform);
}
