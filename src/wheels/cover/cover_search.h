#pragma once
// The search for a small covering of a CoverModel: on each thread, with a seed of its own, a
// start (the best covering made of whole orbits of a rotation of the elements, where asked for,
// completed or else built greedily), the removal of redundant tickets, then annealing at a fixed
// size; every time a
// thread covers every target it offers its tickets as the best so far, removes the ticket whose
// removal uncovers least and goes on one ticket smaller. A thread above the best size of any
// thread goes down to one below it. The search ends at the time limit, on a stop request, or
// when a covering reaches the lower bound given.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "wheels/cover/cover_annealing.h"
#include "wheels/cover/cover_model.h"
#include "wheels/cover/cover_request.h"

namespace quillstep::cover {


struct CoverSearchSettings {
    double timeLimitSeconds = 60.0;
    uint64_t seed = 1;
    unsigned threads = 0;      // 0: one per hardware thread
    int64_t lowerBound = 0;    // a covering of this many movable tickets ends the search
    int64_t moveBudget = 0;    // moves per thread (0: none); for reproducible runs
    // Movable tickets thread 0 starts from in place of its greedy start (completed by greedy
    // tickets should they leave targets uncovered); the other threads start greedy.
    std::vector<uint64_t> startTickets;
    AnnealingSettings annealing;
    // Seconds threads first spend on coverings made of whole orbits of a symmetry of the elements
    // (searchSymmetricCovering, the groups shared out among them), each starting from the best of
    // them where it is smaller than its other start: every thread where the lower bound is at
    // least the number of elements, else the even threads only (the odd ones search from a
    // greedy start all the time). 0: none; not with a move budget (the orbit searches go by the
    // clock).
    double symmetricSeconds = 0.0;
    // Called on the calling thread: progress about twice a second, the stop request at least
    // every 50 ms.
    std::function<void(const CoverProgress&)> onProgress;
    std::function<bool()> stopRequested;
};

struct CoverSearchResult {
    bool complete = false;          // `tickets` (with the fixed ones) cover every target
    std::vector<uint64_t> tickets;  // the movable tickets of the smallest covering found
    bool stopped = false;           // ended by the stop request
    bool timeLimitReached = false;
    double seconds = 0.0;
    int64_t moves = 0;              // annealing moves of all threads
    bool tooManyTickets = false;    // no covering: the greedy start passed MOST_TICKETS
};

// The model must be searchable (isSearchable).
CoverSearchResult searchCover(const CoverModel& model, const CoverSearchSettings& settings);

// One thread's descent, the step every search on a covering model shares: annealing at a fixed
// size from the tickets of `state`; whenever every target is covered the tickets go to `offer`,
// and tickets are removed (the one whose removal uncovers least first) until the state is below
// `bestSize()`, the best size of every thread (a thread above it comes down to one below it).
struct DescentSettings {
    AnnealingSettings annealing;
    int64_t lowerBound = 0;         // a covering of this many tickets ends the descent
    int64_t moveBudget = 0;         // moves of this descent (0: none)
    bool recountEveryMove = false;  // tests: the state is recounted from scratch after every move
    // Looked at every few hundred moves, for a descent that runs on its caller's thread.
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
};
struct DescentOutcome {
    int64_t moves = 0;
    bool reachedLowerBound = false;  // a covering of the lower bound was offered
    bool recountDisagreed = false;   // a recount found the state's counts wrong (the descent ended)
};
// Ends at `stop`, at the deadline, at the move budget, at the lower bound, or at a recount that
// disagrees.
DescentOutcome descend(CoverState& state, Random& random, const DescentSettings& settings,
                       const std::function<int64_t()>& bestSize,
                       const std::function<void(const std::vector<uint64_t>&)>& offer, const StopFlag& stop,
                       std::atomic<int64_t>& moves);

}  // namespace quillstep::cover
