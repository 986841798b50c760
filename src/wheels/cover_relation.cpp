#include "wheels/cover_relation.h"

#include <bit>

#include "wheels/subset_ranks.h"

namespace quillstep {
namespace {

constexpr int32_t STOP_CHECK_INTERVAL = 256;  // candidates between two looks at the stop flag

}  // namespace

SubsetIndex buildSubsetIndex(const uint64_t* masks, int32_t count, int hits) {
    SubsetIndex index;
    index.hits = hits;
    uint64_t numbersUsed = 0;
    for (int32_t i = 0; i < count; ++i) numbersUsed |= masks[i];
    index.start.assign(static_cast<size_t>(rankBound(numbersUsed, hits)) + 1, 0);
    CombinationSubsets subsets;
    for (int32_t i = 0; i < count; ++i) {
        subsetsOf(masks[i], hits, subsets);
        for (int s = 0; s < subsets.count; ++s) ++index.start[subsets.ranks[s] + 1];
    }
    for (size_t r = 1; r < index.start.size(); ++r) index.start[r] += index.start[r - 1];
    index.targets.resize(index.start.back());
    std::vector<uint32_t> next(index.start.begin(), index.start.end() - 1);
    for (int32_t i = 0; i < count; ++i) {
        subsetsOf(masks[i], hits, subsets);
        for (int s = 0; s < subsets.count; ++s) index.targets[next[subsets.ranks[s]]++] = i;
    }
    return index;
}

bool countCovers(const RelationSources& sources, int32_t first, int32_t last, CoverRelation& relation,
                 const std::atomic<bool>& stop) {
    for (int32_t c = first; c < last; ++c) {
        if ((c - first) % STOP_CHECK_INTERVAL == 0 && stop.load(std::memory_order_relaxed)) return false;
        int64_t degree = 0;
        forEachCoveredTarget(sources.targets, sources.index, sources.candidates[c], [&](int32_t) { ++degree; });
        relation.coversStart[c + 1] = degree;
    }
    return true;
}

void finishCounting(CoverRelation& relation) {
    relation.coversStart[0] = 0;
    for (size_t x = 1; x < relation.coversStart.size(); ++x) relation.coversStart[x] += relation.coversStart[x - 1];
    relation.covers.resize(static_cast<size_t>(relation.coversStart.back()));
}

bool fillCovers(const RelationSources& sources, int32_t first, int32_t last, CoverRelation& relation,
                const std::atomic<bool>& stop) {
    for (int32_t c = first; c < last; ++c) {
        if ((c - first) % STOP_CHECK_INTERVAL == 0 && stop.load(std::memory_order_relaxed)) return false;
        int32_t* out = relation.covers.data() + relation.coversStart[c];
        forEachCoveredTarget(sources.targets, sources.index, sources.candidates[c], [&](int32_t y) { *out++ = y; });
    }
    return true;
}

int64_t relationBound(const SubsetIndex& index, const uint64_t* candidates, int32_t count) {
    int64_t bound = 0;
    CombinationSubsets subsets;
    for (int32_t c = 0; c < count; ++c) {
        subsetsOf(candidates[c], index.hits, subsets);
        for (int s = 0; s < subsets.count; ++s) bound += index.start[subsets.ranks[s] + 1] - index.start[subsets.ranks[s]];
    }
    return bound;
}

void addReverseLists(CoverRelation& relation) {
    relation.coveredByStart.assign(static_cast<size_t>(relation.targetCount) + 1, 0);
    for (const int32_t x : relation.covers) ++relation.coveredByStart[x + 1];
    for (size_t x = 1; x < relation.coveredByStart.size(); ++x)
        relation.coveredByStart[x] += relation.coveredByStart[x - 1];
    relation.coveredBy.resize(relation.covers.size());
    std::vector<int64_t> next(relation.coveredByStart.begin(), relation.coveredByStart.end() - 1);
    for (int32_t c = 0; c < relation.candidateCount; ++c)
        for (const int32_t x : relation.targetsOf(c)) relation.coveredBy[next[x]++] = c;
}

}  // namespace quillstep
