#pragma once
// Abbreviated systems: the smallest greedy system among the stored combinations such that every
// stored combination shares at least guaranteedHits numbers with one of its combinations.

#include <cstdint>

#include "commands/combination_file.h"
#include "engine/shared_state.h"
#include "platform/platform.h"

namespace quillstep {

struct SearchOutcome {
    bool searched = false;      // false: nothing was stored, nothing searched or written
    bool stopped = false;       // the user stopped the search; the best among the checked starts was used
    int32_t startsChecked = 0;
    int32_t bestStart = 1;
    int32_t bestSize = 10000;
    int32_t systemSize = 0;     // size of the rebuilt best system (1000: not usefull, not written)
    FileWriteResult file;       // the system file, when one was written
};

// Buttons "7 good numbers/get 4 in comb." (4) and "7 good numbers/get 5 in comb." (5).
SearchOutcome searchAbbreviatedSystem(SharedState& state, Platform& platform, int guaranteedHits);

}  // namespace quillstep
