#pragma once
// The introductory window: a greeting, a short notice about the program and a "Start" button.

#include "platform/platform.h"
#include "platform/window.h"

namespace quillstep {

// "Start", which closes the window.
constexpr int INTRO_START_BUTTON = 1115;

// Shows the introductory window modally; returns once it has been closed, however that happened.
void showIntroWindow(Platform& platform);

WindowTemplate introWindowTemplate();

// "Start" ends the window; every other control does nothing.
WindowAction introWindowCallback(int controlId);

}  // namespace quillstep
