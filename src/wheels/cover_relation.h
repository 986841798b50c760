#pragma once
// The covering relation between candidates (possible system members) and targets (the stored
// combinations): candidate c covers target x when they share at least t numbers. Both directions
// are kept as compressed lists; when the candidates are the targets themselves the relation is
// symmetric and one list serves both.
//
// The lists are found through an index of t-subsets: the targets sharing at least t numbers with
// x are those found under one of x's t-subsets, and each pair is listed once, under the t-subset
// of its lowest shared numbers.

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "wheels/subset_ranks.h"

namespace quillstep {

// For every t-subset rank, the targets that hold that t-subset, in store order.
struct SubsetIndex {
    int hits = 4;
    std::vector<uint32_t> start;  // rank r: entries start[r] to start[r + 1] - 1
    std::vector<int32_t> targets;
};

SubsetIndex buildSubsetIndex(const uint64_t* masks, int32_t count, int hits);

struct CoverRelation {
    int32_t targetCount = 0;
    int32_t candidateCount = 0;
    std::vector<int64_t> coversStart;  // candidateCount + 1 offsets into covers
    std::vector<int32_t> covers;       // the targets each candidate covers
    // The candidates covering each target; empty when candidates are the targets (symmetric).
    std::vector<int64_t> coveredByStart;
    std::vector<int32_t> coveredBy;

    std::span<const int32_t> targetsOf(int32_t candidate) const {
        return {covers.data() + coversStart[candidate], covers.data() + coversStart[candidate + 1]};
    }
    std::span<const int32_t> candidatesOf(int32_t target) const {
        if (coveredByStart.empty()) return targetsOf(target);
        return {coveredBy.data() + coveredByStart[target], coveredBy.data() + coveredByStart[target + 1]};
    }
};

// The relation is built in two passes, each split over parts that may run at once: first every
// candidate's count of covered targets (into coversStart[c + 1]), then, after finishCounting, the
// lists themselves. `index` indexes `targets`. Each part returns false when `stop` was raised
// first. Candidates may be the targets themselves (the symmetric case).
struct RelationSources {
    const uint64_t* targets;
    const uint64_t* candidates;
    const SubsetIndex& index;
};
bool countCovers(const RelationSources& sources, int32_t first, int32_t last, CoverRelation& relation,
                 const std::atomic<bool>& stop);
void finishCounting(CoverRelation& relation);
bool fillCovers(const RelationSources& sources, int32_t first, int32_t last, CoverRelation& relation,
                const std::atomic<bool>& stop);

// An upper bound of the entries `candidates` add to a relation: their t-subsets' bucket sizes.
int64_t relationBound(const SubsetIndex& index, const uint64_t* candidates, int32_t count);

// Calls emit(y) once for every target y sharing at least t numbers with `mask`.
template <typename Emit>
void forEachCoveredTarget(const uint64_t* targets, const SubsetIndex& index, uint64_t mask, Emit&& emit);

// The reverse lists (coveredBy) of a relation whose candidates are not the targets.
void addReverseLists(CoverRelation& relation);

template <typename Emit>
void forEachCoveredTarget(const uint64_t* targets, const SubsetIndex& index, uint64_t mask, Emit&& emit) {
    CombinationSubsets subsets;
    subsetsOf(mask, index.hits, subsets);
    for (int s = 0; s < subsets.count; ++s) {
        const uint32_t rank = subsets.ranks[s];
        const uint64_t subset = subsets.masks[s];
        for (uint32_t e = index.start[rank]; e < index.start[rank + 1]; ++e) {
            const int32_t y = index.targets[e];
            if (lowestNumbers(mask & targets[y], index.hits) == subset) emit(y);
        }
    }
}

}  // namespace quillstep
