#pragma once
// "Smaller systems": the optimiser on the stored combinations, its result checked by the
// separate verification routine, put into the abbreviated-system file of its guarantee.
// Shared by the command line (optimise4, optimise5) and the window of its own.

#include <cstdint>
#include <functional>
#include <string>

#include "commands/combination_file.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "wheels/optimiser.h"

namespace quillstep {

struct OptimiseSettings {
    int guaranteedHits = 4;          // 4: mb_comb_file_ab.txt, 5: mb_comb_file_ab5.txt
    double timeLimitSeconds = 30.0;  // 1 to 3600
    uint64_t seed = 1;
    int64_t stepBudget = 0;          // 0: none
    bool anyCombination = false;     // members may be any seven of 1..totalNumbers
};

struct OptimiseOutcome {
    bool searched = false;   // false: nothing stored, nothing optimised or written
    bool stopped = false;    // ended early by the stop request (Escape, Ctrl+C)
    bool verified = false;   // the separate check found every stored combination covered (not
                             // checked: systems of the capacity or more, which are not written)
    bool foundNoSystem = false;  // the time limit or the stop request came before any system covered
                                 // every stored combination (an answer, not a fault)
    int32_t systemSize = 0;
    int32_t outsideFilters = 0;  // members that are not stored combinations (anyCombination)
    double seconds = 0.0;        // the search: starting system and optimiser
    FileWriteResult file;        // written only when verified
    std::string error;           // why nothing was written, when nothing was
};

// Runs the optimiser on the stored combinations, polling platform.pollStopRequest() to stop early
// and calling onProgress (may be empty) about twice a second; verifies the result and writes it.
OptimiseOutcome optimiseStoredSystem(SharedState& state, Platform& platform, const OptimiseSettings& settings,
                                     const std::function<void(const OptimiserProgress&)>& onProgress);

}  // namespace quillstep
