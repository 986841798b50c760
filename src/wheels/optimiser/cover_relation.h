#pragma once
// The covering relation between candidates (possible system members) and targets (the stored
// combinations): candidate c covers target x when they share at least t numbers. Both directions
// are kept as ascending lists of 16-bit gaps; when the candidates are the targets themselves the
// relation is symmetric and one set of lists serves both.
//
// A candidate's list is found through an index of t-subsets: the targets sharing at least t
// numbers with it are those filed under one of its t-subsets.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/worker_threads.h"
#include "wheels/optimiser/index_list.h"
#include "wheels/subsets.h"

namespace quillstep {

// For every t-subset rank, the targets that hold that t-subset, in store order.
struct SubsetIndex {
    int hits = 4;
    std::vector<uint32_t> start;  // rank r: entries start[r] to start[r + 1] - 1
    std::vector<int32_t> targets;
};

// Ranks are kept for every t-subset of the numbers the masks hold and of `otherNumbers` (the
// numbers candidates may hold besides).
SubsetIndex buildSubsetIndex(const uint64_t* masks, int32_t count, int hits, uint64_t otherNumbers = 0);

// An upper bound of the entries `candidates` add to a relation: their t-subsets' bucket sizes.
int64_t relationBound(const SubsetIndex& index, const uint64_t* candidates, int32_t count);

// Lists written in large chunks, so that no list is copied or counted in advance.
struct ListStore {
    std::vector<std::unique_ptr<uint16_t[]>> chunks;
    std::vector<const uint16_t*> begins;
    std::vector<const uint16_t*> ends;
    std::vector<int32_t> sizes;  // entries per list
    IndexList list(int32_t i) const { return {begins[i], ends[i]}; }
};

struct CoverRelation {
    int32_t targetCount = 0;
    int32_t candidateCount = 0;
    ListStore covers;     // per candidate: the targets it covers
    ListStore coveredBy;  // per target: the candidates covering it; empty when symmetric

    IndexList targetsOf(int32_t candidate) const { return covers.list(candidate); }
    IndexList candidatesOf(int32_t target) const {
        return coveredBy.begins.empty() ? covers.list(target) : coveredBy.list(target);
    }
};

struct RelationSources {
    const uint64_t* targets;
    const uint64_t* candidates;
    const SubsetIndex& index;
};

enum class RelationBuilt { Complete, Stopped, TooLarge };

// Fills relation.covers for candidates first to last - 1 (its begins, ends and sizes must
// already have room for every candidate); parts with distinct ranges may run at once. Ends early when
// `stop` is raised or when `unitsUsed`, shared by all parts, would pass `unitLimit`.
RelationBuilt fillCovers(const RelationSources& sources, int32_t first, int32_t last, CoverRelation& relation,
                         std::vector<std::unique_ptr<uint16_t[]>>& chunks, std::atomic<int64_t>& unitsUsed,
                         int64_t unitLimit, const StopFlag& stop);

// The reverse lists (coveredBy) of a relation whose candidates are not the targets.
void addReverseLists(CoverRelation& relation);

// Calls emit(y) once for every target y sharing at least t numbers with `mask`, in no set order.
template <typename Emit>
void forEachCoveredTarget(const uint64_t* targets, const SubsetIndex& index, uint64_t mask, Emit&& emit) {
    CombinationSubsets subsets;
    subsetsOf(mask, index.hits, subsets);
    for (int s = 0; s < subsets.count; ++s) {
        const uint32_t rank = subsets.ranks[s];
        const uint64_t subset = subsets.masks[s];
        for (uint32_t e = index.start[rank]; e < index.start[rank + 1]; ++e) {
            const int32_t y = index.targets[e];
            // Listed once: under the t-subset of the lowest numbers the two share.
            if (lowestNumbers(mask & targets[y], index.hits) == subset) emit(y);
        }
    }
}

}  // namespace quillstep
