#pragma once
// The stored combinations as 64-bit masks (bit v for number v), in store order, for the code
// that compares combinations by their common numbers.

#include <cstdint>
#include <vector>

#include "engine/shared_state.h"

namespace quillstep {

inline std::vector<uint64_t> storedMasks(const SharedState& state) {
    std::vector<uint64_t> masks(static_cast<size_t>(state.generatedCount > 0 ? state.generatedCount : 0));
    for (size_t j = 0; j < masks.size(); ++j) {
        const int32_t* numbers = state.storedCombination(static_cast<int64_t>(j));
        uint64_t mask = 0;
        for (int k = 0; k < 7; ++k) mask |= uint64_t{1} << numbers[k];
        masks[j] = mask;
    }
    return masks;
}

}  // namespace quillstep
