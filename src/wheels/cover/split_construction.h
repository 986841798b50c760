#pragma once
// Coverings from a split of the elements. The invariant every covering built here rests on: split
// the n elements into parts A and B and the draw m into s1 + s2 = m + 1; any m elements then hold
// at least s1 of A or at least s2 of B (else they would hold at most s1 - 1 + s2 - 1 = m - 1), so
// tickets giving t hits on every s1 elements of A together with tickets giving t hits on every s2
// elements of B give t hits on every m elements. A part needs no ticket when s exceeds its size
// (no m elements hold s of it); one ticket when it has at most k elements (the whole part, filled
// up with elements of the other part: a ticket's elements outside the drawn ones never cost a
// hit); else a covering of its own, found by a covering search on the part or by splitting it in
// turn (when s + 1 >= 2t). Splits need t <= s1 and t <= s2, so a model splits when m + 1 >= 2t.
//
// The plan is chosen by a small search: the splits of a (sub)problem in the order of the sum of
// their parts' lower bounds, each part searched once (quick covering searches sharing a time
// share, ended at their lower bound), until no split left can beat the best; then the parts of the
// best plan get the rest of the share to shrink further from where they stand.

#include <cstdint>
#include <functional>
#include <vector>

#include "wheels/cover/cover_model.h"

namespace quillstep::cover {

struct SplitSettings {
    double timeShareSeconds = 10.0;  // the most the searches of the parts may take together
    uint64_t seed = 1;
    unsigned threads = 0;    // of each part's search; 0: one per hardware thread
    int64_t moveBudget = 0;  // annealing moves per thread of each part's search (0: none)
    // Called on the calling thread: the size of the best covering of the whole so far (0: none
    // yet) and the seconds since the start, about twice a second; the stop request at least every
    // 50 ms (true ends the plan with the best covering so far).
    std::function<void(int64_t bestSize, double elapsedSeconds)> onProgress;
    std::function<bool()> stopRequested;
};

// One covering search of a part: when it began (seconds after the plan's start), the time it
// was given, its problem (elements, drawn) and the size it found (0: none).
struct PartSearch {
    double startedAt = 0.0;
    double timeLimit = 0.0;
    int elements = 0;
    int drawn = 0;
    int64_t size = 0;
};

struct SplitCovering {
    std::vector<uint64_t> tickets;     // covering every target of the model; empty: none found
    std::vector<PartSearch> searches;  // in the order they ran
    bool stopped = false;              // ended by the stop request
    double seconds = 0.0;
};

// Whether the model's targets can be split: every m-subset of the elements (no stored targets),
// no fixed tickets, m + 1 >= 2t.
bool canSplit(const CoverModel& model);

// The smallest covering of a plan found within the time share. The model must be searchable and
// splittable.
SplitCovering searchSplitCovering(const CoverModel& model, const SplitSettings& settings);

// The covering of one given first split: part A the elements 0 to partSize - 1 at s1 = firstDrawn,
// part B the rest at m + 1 - firstDrawn (t <= firstDrawn <= m + 1 - t, 1 <= partSize < n), each part
// covered as in the plan search. Empty when a part's search found nothing within the share.
SplitCovering splitCoveringOf(const CoverModel& model, int partSize, int firstDrawn, const SplitSettings& settings);

}  // namespace quillstep::cover
