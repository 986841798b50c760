#pragma once
// The main window's command handling: parameter steps and the commands its buttons start.

#include "engine/shared_state.h"
#include "platform/platform.h"

namespace quillstep {

// Runs the action of the control `controlId` (a click); an id without action does nothing.
void handleMainWindowCommand(SharedState& state, Platform& platform, int controlId);

}  // namespace quillstep
