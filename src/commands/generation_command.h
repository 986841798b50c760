#pragma once
// The fourteen generation buttons: run, then show count, seconds and what the store holds.

#include <string>

#include "engine/shared_state.h"
#include "platform/platform.h"

namespace quillstep {

// Runs the generation command of `mode` (1 to 14) and writes the count, time and memory labels.
// Returns the elapsed seconds of the run (0 for a mode outside 1 to 14, which does nothing).
double runGenerationCommand(SharedState& state, Platform& platform, int mode);

// The description of what a storing run of `mode` leaves in the store, composed from the
// current parameters; empty for counting-only modes.
std::string composeMemoryDescription(const GenerationParameters& parameters, int mode);

// The main-window button that starts `mode`, and the mode of a button (0 for none).
int generationButtonOfMode(int mode);
int generationModeOfButton(int controlId);

}  // namespace quillstep
