#pragma once
// Building and trimming a covering: the greedy start (tickets added one by one, each begun on a
// random uncovered target and improved by trading elements while that covers more uncovered
// targets), the removal of tickets that cover nothing alone, and the choice of the ticket whose
// removal uncovers least.

#include "wheels/worker_threads.h"
#include <cstdint>

#include "wheels/cover/cover_state.h"

namespace quillstep::cover {

// Adds tickets until every target is covered; false when `stop` was raised first.
bool addGreedyTickets(CoverState& state, Random& random, const StopFlag& stop);

// Removes every ticket whose targets are all covered by another ticket too.
void removeRedundantTickets(CoverState& state, Random& random);

// The ticket whose removal leaves the fewest targets uncovered (ties at random).
size_t leastNeededTicket(const CoverState& state, Random& random);

}  // namespace quillstep::cover
