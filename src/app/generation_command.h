#pragma once
// The fourteen generation buttons of the main window: the run of usecases/generation_run, then
// the count, the seconds and what the store holds in the labels.

#include <string>

#include "engine/shared_state.h"
#include "platform/platform.h"
#include "usecases/generation_run.h"

namespace quillstep {

// Runs the generation command of `mode` (1 to 14) and writes the count, time and memory labels.
// Returns the elapsed seconds of the run (0 for a mode outside 1 to 14, which does nothing).
double runGenerationCommand(SharedState& state, Platform& platform, int mode);

// The main-window button that starts `mode`, and the mode of a button (0 for none).
int generationButtonOfMode(int mode);
int generationModeOfButton(int controlId);

}  // namespace quillstep
