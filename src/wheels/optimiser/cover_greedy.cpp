#include "wheels/optimiser/cover_greedy.h"

#include <queue>
#include <utility>

#include "wheels/subsets.h"

namespace quillstep {

std::vector<int32_t> maxCoverageSystem(const CoverRelation& relation, const std::atomic<bool>& stop) {
    // Every candidate's gain is kept exact (a target that gets covered lowers the gain of all its
    // candidates); the queue may hold older, larger gains, which are put back with the exact one
    // when they come to the top. An entry whose gain is exact at the top is the best candidate.
    std::vector<int64_t> gain(static_cast<size_t>(relation.candidateCount));
    using Entry = std::pair<int64_t, int32_t>;  // (gain, -candidate): larger is better
    std::vector<Entry> entries;
    for (int32_t c = 0; c < relation.candidateCount; ++c) {
        gain[c] = relation.covers.sizes[c];
        entries.emplace_back(gain[c], -c);
    }
    std::priority_queue<Entry> queue(std::less<Entry>(), std::move(entries));
    std::vector<uint8_t> covered(static_cast<size_t>(relation.targetCount), 0);
    int64_t uncovered = relation.targetCount;
    std::vector<int32_t> members;
    int64_t looks = 0;
    while (uncovered > 0 && !queue.empty()) {
        if (++looks % 64 == 0 && stop.load(std::memory_order_relaxed)) return {};
        const auto [queuedGain, negated] = queue.top();
        const int32_t candidate = -negated;
        queue.pop();
        if (queuedGain != gain[candidate]) {
            if (gain[candidate] > 0) queue.emplace(gain[candidate], negated);
            continue;
        }
        members.push_back(candidate);
        for (const int32_t x : relation.targetsOf(candidate)) {
            if (covered[x]) continue;
            covered[x] = 1;
            --uncovered;
            for (const int32_t other : relation.candidatesOf(x)) --gain[other];
        }
    }
    if (uncovered > 0) return {};
    removeRedundantMembers(relation, members);
    return members;
}

void removeRedundantMembers(const CoverRelation& relation, std::vector<int32_t>& members) {
    std::vector<int32_t> coverCount(static_cast<size_t>(relation.targetCount), 0);
    for (const int32_t m : members)
        for (const int32_t x : relation.targetsOf(m)) ++coverCount[x];
    for (size_t i = members.size(); i-- > 0;) {
        bool redundant = true;
        for (const int32_t x : relation.targetsOf(members[i])) redundant = redundant && coverCount[x] >= 2;
        if (!redundant) continue;
        for (const int32_t x : relation.targetsOf(members[i])) --coverCount[x];
        members.erase(members.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

std::vector<uint64_t> storeOrderSystem(const uint64_t* masks, int32_t count, int hits, const std::atomic<bool>& stop) {
    uint64_t numbersUsed = 0;
    for (int32_t i = 0; i < count; ++i) numbersUsed |= masks[i];
    std::vector<uint8_t> marked(static_cast<size_t>(rankBound(numbersUsed, hits)), 0);
    std::vector<uint64_t> system;
    CombinationSubsets subsets;
    for (int32_t i = 0; i < count; ++i) {
        if (i % 4096 == 0 && stop.load(std::memory_order_relaxed)) return {};
        subsetsOf(masks[i], hits, subsets);
        bool covered = false;
        for (int s = 0; s < subsets.count && !covered; ++s) covered = marked[subsets.ranks[s]] != 0;
        if (covered) continue;
        system.push_back(masks[i]);
        for (int s = 0; s < subsets.count; ++s) marked[subsets.ranks[s]] = 1;
    }
    return system;
}

}  // namespace quillstep
