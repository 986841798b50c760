#pragma once
// Completing a system that leaves stored combinations uncovered: every line of the given system
// is kept, the optimiser adds as few stored combinations as it finds within the time limit, the
// whole is checked against the store by the separate check, put into the abbreviated-system
// store and written to the file of its guarantee, which is read back. Shared by the command line
// (complete4, complete5) and the "Check a system" window.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commands/combination_file.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "wheels/optimiser.h"

namespace quillstep {

struct CompletionSettings {
    int guaranteedHits = 4;          // 4: mb_comb_file_ab.txt, 5: mb_comb_file_ab5.txt
    double timeLimitSeconds = 30.0;  // 1 to 3600
    uint64_t seed = 1;
    int64_t stepBudget = 0;  // 0: none
};

struct CompletionOutcome {
    bool completed = false;  // checked, written and read back
    bool stopped = false;    // the search was ended early by the stop request
    int32_t kept = 0;        // lines of the given system
    int32_t added = 0;       // stored combinations added to them
    int64_t holes = 0;       // stored combinations the given system left uncovered
    int32_t outsideFilters = 0;  // kept lines that are not stored combinations
    double seconds = 0.0;
    FileWriteResult file;
    std::string error;  // why nothing was written, when nothing was
};

// `lines` are the given system's combinations as masks, in their order; they come first in the
// file, the added ones after them. Polls platform.pollStopRequest() to stop early.
CompletionOutcome completeSystem(SharedState& state, Platform& platform, const std::vector<uint64_t>& lines,
                                 const CompletionSettings& settings,
                                 const std::function<void(const OptimiserProgress&)>& onProgress);

}  // namespace quillstep
