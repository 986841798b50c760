#pragma once
// What the optimiser and the completion are asked and how they report, the same for both: the
// guarantee, the time limit, the seed, a step budget and the file it goes to; progress, the stop
// request and the file's writing. Both refuse a request the same way before any search.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "base/fault.h"
#include "engine/shared_state.h"
#include "files/combination_file.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

struct SystemSearchSettings {
    int guaranteedHits = 4;          // 4: mb_comb_file_ab.txt, 5: mb_comb_file_ab5.txt
    double timeLimitSeconds = DEFAULT_TIME_LIMIT_SECONDS;  // timeLimitAllowed
    uint64_t seed = 1;
    int64_t stepBudget = 0;          // 0: none
    std::filesystem::path output;    // a file name of the user's own; empty: the guarantee's file
};

struct SystemSearchObserver {
    // About twice a second, on the calling thread: the best size so far (the optimiser's system,
    // or the fewest members the completion added) and the seconds left.
    std::function<void(const CoverProgress&)> onProgress;
    std::function<bool()> stopRequested;  // polled; true ends early with the best found so far
    WriteObserver write;                  // the system file's writing
};

// Why the request cannot run: `nothingStored` when the last storing run accepted no combination,
// then GuaranteeOutOfRange (not 4 or 5), TimeLimitOutOfRange (not timeLimitAllowed) or
// NegativeStepBudget; none when it may run.
Fault systemSearchRequestFault(const SharedState& state, const SystemSearchSettings& settings,
                               FaultReason nothingStored);

}  // namespace quillstep
