#pragma once
// One generation run as a use case: the kernel of a mode over the parameters, timed on the host's
// clock, and the description of what the store then holds (the files' second header line). The
// fourteen buttons (app/generation_command) and the command line's run make their labels and
// lines from the result.

#include <cstdint>
#include <string>

#include "engine/run_host.h"
#include "engine/shared_state.h"

namespace quillstep {

struct GenerationResult {
    int mode = 0;          // 1 to 14; 0: no such mode, nothing ran
    double seconds = 0.0;  // the run's elapsed seconds
    int32_t count = 0;     // combinations accepted (stored by a storing mode)
    bool stored = false;   // a storing mode: the store commands may follow
};

// Runs `mode` and sets state.memoryDescription; a mode outside 1 to 14 runs nothing.
GenerationResult runGenerationMode(SharedState& state, RunHost& host, int mode);

// The description of what a storing run of `mode` leaves in the store, composed from the
// current parameters; empty for counting-only modes.
std::string composeMemoryDescription(const GenerationParameters& parameters, int mode);

}  // namespace quillstep
