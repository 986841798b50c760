#pragma once
// Building and trimming a covering: the greedy start (tickets added one by one, each begun on a
// random uncovered target and improved by trading elements while that covers more uncovered
// targets), the removal of tickets that cover nothing alone, and the choice of the ticket whose
// removal uncovers least.

#include "base/worker_threads.h"
#include <cstdint>

#include "wheels/cover/cover_state.h"

namespace quillstep::cover {

// Adds tickets until every target is covered; false when `stop` was raised first. Each ticket
// tries `tradesPerTicket` element trades (0: as many as suit the model; fewer give a quicker,
// larger covering).
bool addGreedyTickets(CoverState& state, Random& random, const StopFlag& stop, int tradesPerTicket = 0);

// Removes every ticket whose targets are all covered by another ticket too (fewer when `stop` is
// raised meanwhile).
void removeRedundantTickets(CoverState& state, Random& random, const StopFlag& stop);

// The ticket whose removal leaves the fewest targets uncovered (ties at random); when `stop` is
// raised meanwhile, the best of those counted so far.
size_t leastNeededTicket(const CoverState& state, Random& random, const StopFlag& stop);

}  // namespace quillstep::cover
