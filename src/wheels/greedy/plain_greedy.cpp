// The greedy pass in its plain form: number by number, system combination by system combination.

#include "wheels/greedy/plain_greedy.h"

#include <algorithm>

namespace quillstep {

int countCommonNumbers(const int32_t* storedCombination, const int32_t* systemCombination) {
    int common = 0;
    for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i) {
        for (int k = 0; k < NUMBERS_PER_COMBINATION; ++k) {
            if (systemCombination[i] == storedCombination[k]) {
                ++common;
                break;
            }
        }
    }
    return common;
}

bool isCovered(const SharedState& state, int32_t candidate, int32_t systemSize, int guaranteedHits) {
    const int32_t* stored = state.storedCombination(candidate - 1);
    for (int32_t j = systemSize; j >= 1; --j)
        if (countCommonNumbers(stored, state.systemCombination(j - 1)) >= guaranteedHits) return true;
    return false;
}

int32_t buildGreedySystemPlainly(SharedState& state, int32_t startNumber, int guaranteedHits) {
    auto copyIntoSystem = [&](int32_t position, int32_t storedNumber) {
        const int32_t* from = state.storedCombination(storedNumber - 1);
        std::copy(from, from + NUMBERS_PER_COMBINATION, state.abbreviatedSystemStore.get() + NUMBERS_PER_COMBINATION * (position - 1) + 1);
    };
    copyIntoSystem(1, startNumber);
    int32_t systemSize = 1;
    for (int32_t candidate = 1; candidate <= state.generatedCount; ++candidate) {
        if (!isCovered(state, candidate, systemSize, guaranteedHits)) {
            ++systemSize;
            copyIntoSystem(systemSize, candidate);
        }
        if (systemSize == ABBREVIATED_SYSTEM_CAPACITY) break;
    }
    return systemSize;
}

}  // namespace quillstep
