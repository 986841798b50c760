#pragma once
// The stored combinations as the abbreviated-system code takes them: one 64-bit mask each.

#include <cstdint>
#include <vector>

#include "engine/shared_state.h"

namespace quillstep {

// One mask per stored combination (bit v for number v), in store order. The stored numbers are
// distinct and lie in 1 to 63, as every storing run leaves them.
std::vector<uint64_t> combinationMasks(const SharedState& state);

}  // namespace quillstep
