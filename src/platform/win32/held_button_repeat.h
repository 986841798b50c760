#pragma once
// Push buttons that repeat their command while held down, as the arrows of Windows' spin controls
// do: the first repeat after HELD_REPEAT_DELAY_MILLISECONDS, then one every
// HELD_REPEAT_INTERVAL_MILLISECONDS (platform/window.h) for as long as the button stays pushed.

#include <windows.h>

namespace quillstep {

// Makes `button` repeat while held. A press let go before the first repeat is an ordinary click
// (one command when released); once a repeat has been sent, letting go sends no further command.
void repeatWhileHeld(HWND button);

}  // namespace quillstep
