#pragma once
// The optimiser: a smaller system with the same guarantee as the greedy search's, found by a
// max-coverage greedy start, removal of redundant members and a weighted local search at a
// fixed size, for as long as the caller allows. Combinations are 64-bit masks (bit v for number v).
//
// The optimiser never reports a system that it has not seen cover every target; the callers
// still check the result with the separate routine of check/independent_system_check.h before they use it.
//
// Memory: the covering relation is kept as 16-bit gaps, at most 1.3 GB (the mode-9 store of
// 99,427 combinations needs 1.1 GB at four hits, 0.1 GB at five). Stores whose relation would be
// larger (the full wheel of 39 numbers) get only the greedy walk in store order, through a bitmap
// of t-subsets: a few seconds, bounded, and far from the smallest system.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wheels/cover/cover_request.h"

namespace quillstep {

// The time limit a user may give an optimising run (the optimise and complete commands, the
// Smaller systems window), in seconds, and the one a run gets when none is given.
constexpr int SHORTEST_TIME_LIMIT_SECONDS = 1;
constexpr int LONGEST_TIME_LIMIT_SECONDS = 3600;
constexpr int DEFAULT_TIME_LIMIT_SECONDS = 30;
constexpr bool timeLimitAllowed(double seconds) {
    return seconds >= SHORTEST_TIME_LIMIT_SECONDS && seconds <= LONGEST_TIME_LIMIT_SECONDS;
}

struct OptimiserResult {
    std::vector<uint64_t> system;  // the smallest covering system found, members as masks
    bool stopped = false;          // ended by the stop request
    bool timeLimitReached = false;
    double seconds = 0.0;
    int64_t steps = 0;    // local-search moves, all searches together
    std::string error;    // set (and the system empty) when the request itself is unusable
};

// The request's targets are stored combinations at 4 or 5 hits; its tickets are stored
// combinations or (anyTicket) any seven of its pool, which then must be the numbers 1..N; its
// start tickets are a covering to beat, such as the greedy search's. With a move budget and
// anyTicket, the preparation of candidates must also end within its share of the time limit (a
// third; it takes a few seconds at most) for runs to repeat.
//
// Returns an empty system when there is nothing to cover, when the request is unusable (error),
// or when it was stopped before any covering system was complete (only on stores too large to
// cover within the time given; covering start tickets are then returned instead).
OptimiserResult optimiseSystem(const CoverRequest& request);

}  // namespace quillstep
