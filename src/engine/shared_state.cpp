#include "engine/shared_state.h"

namespace quillstep {

const char* const STORE_ALLOCATION_FAILED_MESSAGE =
    "Quillstep cannot start: the 431 MB of memory for the stored combinations could not be reserved. "
    "Close other programs and start Quillstep again.";

std::unique_ptr<SharedState> createSharedState() {
    auto state = std::make_unique<SharedState>();
    // calloc hands out zero pages that the system fills lazily: start-up stays fast.
    state->abbreviatedSystemStore.reset(
        static_cast<int32_t*>(std::calloc(ABBREVIATED_SYSTEM_STORE_ELEMENTS, sizeof(int32_t))));
    state->combinationStore.reset(
        static_cast<int32_t*>(std::calloc(COMBINATION_STORE_ELEMENTS, sizeof(int32_t))));
    if (!state->abbreviatedSystemStore || !state->combinationStore) return nullptr;
    return state;
}

}  // namespace quillstep
