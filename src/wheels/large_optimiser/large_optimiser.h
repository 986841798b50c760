#pragma once
// The optimiser for stores whose covering relation does not fit in memory (from the full wheel
// of 20 numbers at four hits on, and every large filtered store up to the full wheel of 39).
// Nothing but one cover count per stored combination is kept (see coverage.h); the stored
// combinations a candidate covers are enumerated when needed. Every thread runs a search of its
// own with a seed of its own: a strong greedy (strong_greedy.h) or, on full wheels at four hits,
// a system built from parts (part_covering.h); then, at a fixed size, a weighted local search
// (weighted_search.h) on every store but the full wheels at four hits. Those are the wheel "4 if
// 7" on 1..N, and the covering model's descent (cover/cover_search.h), the wheel search's own,
// takes them from their start. The smallest system wins, the lower thread among equals.
//
// Memory: the stored index (a bitmap of C(N,7) bits and a count per word, 2.9 MB at 39 numbers)
// and per thread five bytes per stored combination (the count and a position in the list of
// uncovered ones), 154 MB for the full wheel of 39 on two threads; the weighted search adds four
// bytes per stored combination (its weight) and 32 KB per member (its tables). On full wheels at
// four hits the covering model keeps per thread two bytes per combination (its cover count), four
// for its weight and up to four in its list of uncovered ones.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wheels/cover/cover_request.h"

namespace quillstep::large {

struct Result {
    std::vector<uint64_t> system;  // the smallest covering system found (empty: none in time)
    bool stopped = false;
    bool timeLimitReached = false;
    bool recountDisagreed = false;  // recountEveryMove found a move counted wrongly
    double seconds = 0.0;
    int64_t moves = 0;
    std::string error;  // the request is unusable
};

// Throws std::bad_alloc when memory runs out, on any thread of the search.
// The request's targets are stored combinations of 1..N (N from 7 to 40: the pool is numbersUpTo(N))
// at 4 or 5 hits; its tickets are stored combinations or (anyTicket) any seven of the pool. The time
// limit is the search's whole time, the checks after it not counted; with a move budget, each
// thread's annealing ends after that many moves.
Result optimiseLargeStore(const CoverRequest& request);

// Whether a store is better served by this optimiser than by the one with a covering relation:
// the relation's pairs (store size times the stored combinations one covers) would pass
// `relationPairLimit`, or, on a full wheel at five hits, 10^8.
bool prefersLargeOptimiser(int64_t targetCount, int guaranteedHits, int totalNumbers,
                           double relationPairLimit = 6.0e8);

// The covering relation's pairs estimated for a store of `targetCount` combinations of
// 1..totalNumbers (the stored combinations each one covers, summed); 0 where this optimiser does
// not apply (fewer than 7 or more than 40 numbers, an empty store).
double relationPairsEstimate(int64_t targetCount, int guaranteedHits, int totalNumbers);

}  // namespace quillstep::large
