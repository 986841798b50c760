#include "usecases/store_masks.h"

#include <algorithm>

namespace quillstep {

std::vector<uint64_t> combinationMasks(const SharedState& state) {
    std::vector<uint64_t> masks(static_cast<size_t>(std::max(state.generatedCount, 0)));
    for (size_t j = 0; j < masks.size(); ++j) {
        const int32_t* numbers = state.storedCombination(static_cast<int64_t>(j));
        uint64_t mask = 0;
        for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i) mask |= uint64_t{1} << (numbers[i] & 63);
        masks[j] = mask;
    }
    return masks;
}

}  // namespace quillstep
