#pragma once
// Completing a system that leaves stored combinations uncovered: every line of the given system
// is kept, the optimiser adds as few stored combinations as it finds within the time limit, and
// the whole goes through the one writer of a system file (check, store, file, read-back). Shared
// by the command line (complete4, complete5) and the "Check a system" window, which make the
// texts (windows/check_system_texts.h).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "files/combination_file.h"
#include "files/system_file_writer.h"
#include "engine/shared_state.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

struct CompletionSettings {
    int guaranteedHits = 4;          // 4: mb_comb_file_ab.txt, 5: mb_comb_file_ab5.txt
    double timeLimitSeconds = DEFAULT_TIME_LIMIT_SECONDS;  // timeLimitAllowed
    uint64_t seed = 1;
    int64_t stepBudget = 0;  // 0: none
    std::filesystem::path output;  // a file name of the user's own; empty: the guarantee's file
};

// Why no file was written.
enum class CompletionFault {
    None,                 // the completed system was checked, written and read back
    NothingStored,        // the last storing run accepted no combination
    GuaranteeOutOfRange,  // settings: guaranteed hits not 4 or 5
    TimeLimitOutOfRange,  // settings: time limit not timeLimitAllowed
    NegativeStepBudget,   // settings: a step budget below 0
    TooManyLines,         // the given system has ABBREVIATED_SYSTEM_CAPACITY lines or more (kept)
    NumberAboveTotal,     // line lineAboveTotal holds a number above the total numbers in system
    SearchFailed,         // the fixed-member optimiser gave no system (see searchError)
    TooLargeForFile,      // the completed system has ABBREVIATED_SYSTEM_CAPACITY members or more
    NoSystemBelowCapacity,  // proven before the search: no system of fewer than ABBREVIATED_SYSTEM_CAPACITY
                            // combinations of any numbers covers the store
    SystemFileFault,      // the check, the writer or the read-back failed (see systemFile)
    OutOfMemory,          // the tables did not fit (storedCount combinations)
};

struct CompletionOutcome {
    bool stopped = false;        // the search was ended early by the stop request
    int32_t kept = 0;            // lines of the given system
    int32_t added = 0;           // stored combinations added to them
    int64_t holes = 0;           // stored combinations the given system left uncovered
    int32_t outsideFilters = 0;  // kept lines that are not stored combinations
    int32_t storedCount = 0;     // the stored combinations it worked on
    int32_t lineAboveTotal = 0;  // for NumberAboveTotal: the line, counted from 1
    double seconds = 0.0;
    CompletionFault fault = CompletionFault::None;
    std::string searchError;       // the optimiser's own reason, for SearchFailed
    SystemFileOutcome systemFile;  // the check, the file and its read-back, once a system was to be written

    bool completed() const { return fault == CompletionFault::None; }
    int64_t systemSize() const { return int64_t{kept} + added; }
};

struct CompletionObserver {
    // About twice a second, on the calling thread: the fewest members added so far and the seconds left.
    std::function<void(const OptimiserProgress&)> onProgress;
    std::function<bool()> stopRequested;  // polled; true ends early with the best completion so far
    WriteObserver write;                  // the system file's writing
};

// `lines` are the given system's combinations as masks, in their order; they come first in the
// file, the added ones after them.
CompletionOutcome completeSystem(SharedState& state, const std::vector<uint64_t>& lines,
                                 const CompletionSettings& settings, const CompletionObserver& observer);

}  // namespace quillstep
