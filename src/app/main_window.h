#pragma once
// The main window: every parameter with its buttons, the generation commands, the result of the
// last run and the commands on the stored combinations.

#include "engine/shared_state.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "windows/program_identity.h"

namespace quillstep {

// The window as built, before any click: controls in creation (tab) order with their first texts.
WindowTemplate mainWindowTemplate();

// Shows the main window modally, store buttons greyed out, and handles its clicks until it closes.
void runMainWindow(SharedState& state, Platform& platform);

}  // namespace quillstep
