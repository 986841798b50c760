// The search of the two commands "7 good numbers/get 4 in comb." and "7 good numbers/get 5 in
// comb.": the best starting combination and its system, rebuilt into the abbreviated-system store.

#include "usecases/abbreviated_system_command.h"

#include <algorithm>
#include <new>

#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"

namespace quillstep {
namespace {

// Builds the greedy system of `startNumber` into the abbreviated-system store; returns its members
// as masks.
std::vector<uint64_t> buildSystemIntoStore(SharedState& state, const std::vector<uint64_t>& masks, int32_t startNumber,
                                           int guaranteedHits) {
    const std::vector<int32_t> members = greedySystemMembers(masks, startNumber, guaranteedHits);
    std::vector<uint64_t> system;
    for (size_t s = 0; s < members.size(); ++s) {
        const int32_t* from = state.storedCombination(members[s]);
        std::copy(from, from + NUMBERS_PER_COMBINATION, state.abbreviatedSystemStore.get() + NUMBERS_PER_COMBINATION * s + 1);
        system.push_back(masks[static_cast<size_t>(members[s])]);
    }
    return system;
}

void search(SharedState& state, int guaranteedHits, const AbbreviatedSearchObserver& observer,
            AbbreviatedSearchResult& result) {
    // Every multiple of 50, in order, once the pass of that starting number has begun.
    int32_t progressShownUpTo = 0;
    StartSearchOptions options;
    options.kernel = fastestPassKernel(guaranteedHits);
    options.onProgress = [&](int32_t startsBegun) {
        for (int32_t start = (progressShownUpTo / PROGRESS_INTERVAL + 1) * PROGRESS_INTERVAL; start <= startsBegun;
             start += PROGRESS_INTERVAL)
            if (observer.onProgress) observer.onProgress(start, result.startsInAll);
        progressShownUpTo = std::max(progressShownUpTo, startsBegun);
    };
    if (observer.stopRequested) options.stopRequested = observer.stopRequested;

    result.stored = combinationMasks(state);
    const BestStart best = findBestStart(result.stored, guaranteedHits, options);
    result.stopped = best.stopped;
    result.startsChecked = best.startsChecked;
    result.bestStart = best.bestStart;
    result.bestSize = best.bestSize;
    // The passes kept no system; the best one is built once more into the store.
    result.system = buildSystemIntoStore(state, result.stored, best.bestStart, guaranteedHits);
    result.systemSize = static_cast<int32_t>(result.system.size());
}

}  // namespace

AbbreviatedSearchResult findAbbreviatedSystem(SharedState& state, int guaranteedHits,
                                              const AbbreviatedSearchObserver& observer) {
    AbbreviatedSearchResult result;
    result.startsInAll = state.generatedCount;
    if (state.generatedCount <= 0) return result;
    try {
        result.refusal = {};
        search(state, guaranteedHits, observer, result);
    } catch (const std::bad_alloc&) {
        // The search's tables did not fit: nothing was searched, the program goes on.
        AbbreviatedSearchResult refused;
        refused.refusal = {FaultReason::SearchOutOfMemory, state.generatedCount};
        refused.startsInAll = state.generatedCount;
        return refused;
    }
    return result;
}

}  // namespace quillstep
