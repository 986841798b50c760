#include "engine/shared_state.h"

namespace quillstep {

const char* const STORE_ALLOCATION_FAILED_MESSAGE =
    "Quillstep cannot start: the 431 MB of memory for the stored combinations could not be reserved. "
    "Close other programs and start Quillstep again.";

std::unique_ptr<SharedState> createSharedState() {
    auto state = std::make_unique<SharedState>();
    // Zero pages that the system fills lazily: start-up stays fast.
    state->abbreviatedSystemStore = allocateZeroFilled(ABBREVIATED_SYSTEM_STORE_ELEMENTS);
    state->combinationStore = allocateZeroFilled(COMBINATION_STORE_ELEMENTS);
    if (!state->abbreviatedSystemStore || !state->combinationStore) return nullptr;
    return state;
}

}  // namespace quillstep
