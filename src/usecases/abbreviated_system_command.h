#pragma once
// Abbreviated systems: the smallest greedy system among the stored combinations such that every
// stored combination shares at least guaranteedHits numbers with one of its combinations. The
// search reports numbers and ends with a result; the main window's buttons
// (app/abbreviated_system_buttons.h) and the command line make the texts.

#include <cstdint>
#include <functional>
#include <vector>

#include "base/fault.h"
#include "engine/shared_state.h"

namespace quillstep {

struct AbbreviatedSearchObserver {
    // Called for every multiple of PROGRESS_INTERVAL (50) starting combinations, in order, once the
    // pass of that starting number has begun: startsChecked of startsInAll (the stored count).
    std::function<void(int32_t startsChecked, int32_t startsInAll)> onProgress;
    // Polled while passes run; true stops the search with the best among the starts checked.
    std::function<bool()> stopRequested;
};

struct AbbreviatedSearchResult {
    // Why nothing was searched: NothingToSearch (the last storing run accepted no combination) or
    // SearchOutOfMemory (the search's tables could not be allocated); none once searched.
    Fault refusal{FaultReason::NothingToSearch};
    bool stopped = false;          // stopped early; the best among the checked starts was used
    int32_t startsChecked = 0;     // starting numbers 1 to startsChecked were tried
    int32_t startsInAll = 0;       // the stored combinations
    int32_t bestStart = 1;
    int32_t bestSize = 10000;
    int32_t systemSize = 0;        // size of the rebuilt best system (1000: not usefull, not written)
    std::vector<uint64_t> stored;  // the stored combinations as masks, in store order
    std::vector<uint64_t> system;  // the best system's members as masks, also in the abbreviated-system store

    bool searched() const { return refusal.none(); }
};

// The best starting combination and its system, rebuilt into the abbreviated-system store.
// Nothing is written: a system below ABBREVIATED_SYSTEM_CAPACITY goes to writeCheckedSystemFile
// (files/system_file_writer.h).
AbbreviatedSearchResult findAbbreviatedSystem(SharedState& state, int guaranteedHits,
                                              const AbbreviatedSearchObserver& observer);

}  // namespace quillstep
