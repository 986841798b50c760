#pragma once
// The program from start to end: shared state, introductory window, main window.

#include "platform/platform.h"

namespace quillstep {

// Creates the shared state, shows the introductory window and then the main window until it is
// closed. Returns the exit code: 0, or 1 when the shared arrays could not be allocated (no window
// opens then, since every command needs the store).
int runProgram(Platform& platform);

}  // namespace quillstep
