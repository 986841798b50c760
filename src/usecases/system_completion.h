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
#include "usecases/system_search_request.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

using CompletionSettings = SystemSearchSettings;

struct CompletionOutcome {
    bool stopped = false;        // the search was ended early by the stop request
    int32_t kept = 0;            // lines of the given system
    int32_t added = 0;           // stored combinations added to them
    int64_t holes = 0;           // stored combinations the given system left uncovered
    int32_t outsideFilters = 0;  // kept lines that are not stored combinations
    int32_t storedCount = 0;     // the stored combinations it worked on
    double seconds = 0.0;
    // None: the completed system was checked, written and read back. Otherwise
    // NothingStoredToComplete, a setting (GuaranteeOutOfRange, TimeLimitOutOfRange,
    // NegativeStepBudget), TooManyLinesToComplete (the given system has ABBREVIATED_SYSTEM_CAPACITY
    // lines or more), NumberAboveTotal (count: the line, counted from 1), CompletionSearchFailed,
    // CompletionTooLargeForFile, NoCompletionBelowCapacity (proven before the search, for members
    // of any numbers), CompletionOutOfMemory, or the system file's fault (see systemFile).
    Fault fault;
    SystemFileOutcome systemFile;  // the check, the file and its read-back, once a system was to be written

    bool completed() const { return fault.none(); }
    int64_t systemSize() const { return int64_t{kept} + added; }
};

using CompletionObserver = SystemSearchObserver;

// `lines` are the given system's combinations as masks, in their order; they come first in the
// file, the added ones after them.
CompletionOutcome completeSystem(SharedState& state, const std::vector<uint64_t>& lines,
                                 const CompletionSettings& settings, const CompletionObserver& observer);

}  // namespace quillstep
