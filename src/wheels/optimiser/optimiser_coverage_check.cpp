#include "wheels/optimiser/optimiser_coverage_check.h"

#include <algorithm>
#include <bit>

#include "wheels/subsets.h"
#include "base/worker_threads.h"

namespace quillstep {

bool isSevenNumbers(uint64_t mask) { return std::popcount(mask) == NUMBERS_PER_COMBINATION; }

bool systemCoversAll(const uint64_t* targets, int32_t count, const std::vector<uint64_t>& system, int hits,
                     unsigned threads) {
    if (count <= 0) return true;
    uint64_t numbersUsed = 0;
    for (const uint64_t member : system) {
        if (!isSevenNumbers(member)) return false;
        numbersUsed |= member;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (!isSevenNumbers(targets[i])) return false;
        numbersUsed |= targets[i];
    }
    std::vector<uint8_t> marked(static_cast<size_t>(rankBound(numbersUsed, hits)));
    CombinationSubsets subsets;
    for (const uint64_t member : system) {
        subsetsOf(member, hits, subsets);
        for (int s = 0; s < subsets.count; ++s) marked[subsets.ranks[s]] = 1;
    }

    std::atomic<bool> allCovered{true};
    auto checkRange = [&](int32_t first, int32_t last) {
        CombinationSubsets own;
        for (int32_t i = first; i < last && allCovered.load(std::memory_order_relaxed); ++i) {
            subsetsOf(targets[i], hits, own);
            bool covered = false;
            for (int s = 0; s < own.count && !covered; ++s) covered = marked[own.ranks[s]] != 0;
            if (!covered) allCovered = false;
        }
    };
    const unsigned parts = std::clamp<unsigned>(threads, 1, std::max<unsigned>(1, static_cast<unsigned>(count / 65536)));
    const int64_t share = (static_cast<int64_t>(count) + parts - 1) / parts;
    WorkerRun run;
    run.parts = parts;
    run.work = [&](unsigned p) {
        checkRange(static_cast<int32_t>(std::min<int64_t>(count, p * share)),
                   static_cast<int32_t>(std::min<int64_t>(count, (p + 1) * share)));
    };
    run.onFailure = [&] { allCovered = false; };
    runWorkers(run);
    return allCovered.load();
}

}  // namespace quillstep
