#pragma once
// The body of a greedy pass, shared by the per-instruction-set translation units. Each of them
// sets its own code-generation target and then includes this file; everything here has internal
// linkage, so no copy compiled for wider instructions can be picked up by other code. Only
// compiler built-ins are used here, no library templates, for the same reason.
//
// `Isa` supplies:
//   struct RecentCoverers { RecentCoverers(uint64_t first, int hits); bool cover(uint64_t x) const;
//                           void remember(uint64_t m); }
//       - a few system combinations that covered lately, tested together
//   static int32_t findCoverer(const uint64_t* system, int32_t size, uint64_t x, int hits)
//       - the index of a system combination sharing at least `hits` numbers with x, or -1.

#include <cstdint>

#include "wheels/greedy/greedy_pass.h"

namespace quillstep {
namespace {

template <class Isa>
int32_t greedyPassBody(const GreedyPassRequest& request) {
    const uint64_t* masks = request.masks;
    uint64_t* system = request.systemMasks;
    int32_t* members = request.memberIndices;
    const int hits = request.guaranteedHits;
    int32_t size = request.initialSize;
    if (size == 0) {
        system[0] = masks[request.startIndex];
        if (members) members[0] = request.startIndex;
        size = 1;
    }
    if (size >= request.stopSize) return size;

    // Which system combination covers a candidate does not matter, only whether one does. The
    // ones that covered last (or were added last) are tried first, together: neighbours in store
    // order share most of their numbers, so one of them usually covers the next candidate too.
    typename Isa::RecentCoverers recent(system[size - 1], hits);
    for (int32_t candidate = request.firstCandidate; candidate < request.count; ++candidate) {
        const uint64_t x = masks[candidate];
        if (recent.cover(x)) continue;
        const int32_t coverer = Isa::findCoverer(system, size, x, hits);
        if (coverer >= 0) {
            recent.remember(system[coverer]);
            continue;
        }
        system[size] = x;
        if (members) members[size] = candidate;
        ++size;
        recent.remember(x);
        if (size >= request.stopSize) break;
    }
    return size;
}

// The instruction sets without vectors differ only in how they count the bits of a word.
template <int (*BitCount)(uint64_t)>
struct ScalarIsa {
    // The one system combination that covered last.
    struct RecentCoverers {
        RecentCoverers(uint64_t first, int hits) : last(first), hits(hits) {}
        bool cover(uint64_t x) const { return BitCount(last & x) >= hits; }
        void remember(uint64_t m) { last = m; }
        uint64_t last;
        int hits;
    };
    static int32_t findCoverer(const uint64_t* system, int32_t size, uint64_t x, int hits) {
        for (int32_t k = size - 1; k >= 0; --k)
            if (BitCount(system[k] & x) >= hits) return k;
        return -1;
    }
};

}  // namespace
}  // namespace quillstep
