#pragma once
// Abbreviated systems: the smallest greedy system among the stored combinations such that every
// stored combination shares at least guaranteedHits numbers with one of its combinations.

#include <cstdint>

#include "commands/combination_file.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "wheels/greedy/plain_greedy.h"

namespace quillstep {

struct SearchOutcome {
    bool searched = false;      // false: nothing was stored or memory was short; nothing searched or written
    bool stopped = false;       // the user stopped the search; the best among the checked starts was used
    int32_t startsChecked = 0;
    int32_t bestStart = 1;
    int32_t bestSize = 10000;
    int32_t systemSize = 0;     // size of the rebuilt best system (1000: not usefull, not written)
    FileWriteResult file;       // the system file, when one was written
};

// Buttons "7 good numbers/get 4 in comb." (4) and "7 good numbers/get 5 in comb." (5).
SearchOutcome searchAbbreviatedSystem(SharedState& state, Platform& platform, int guaranteedHits);

// The text shown instead of a search when the last storing run accepted nothing.
extern const char* const NOTHING_TO_SEARCH_MESSAGE;
// The text shown instead of a search whose tables could not be allocated.
extern const char* const SEARCH_OUT_OF_MEMORY_MESSAGE;

// The greedy system that starts with stored combination `startNumber` (from 1), left in the
// abbreviated-system store; returns its size (1 to 1000, 1000 meaning the capacity was reached).
int32_t buildGreedySystem(SharedState& state, int32_t startNumber, int guaranteedHits);

}  // namespace quillstep
