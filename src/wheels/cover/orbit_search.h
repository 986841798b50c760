#pragma once
// The search for a cheap covering of an orbit model (a weighted set cover: every target orbit
// covered by a chosen ticket orbit, the cost the chosen orbits' tickets), by local search with
// row weights: from a greedy covering, a covering found is kept and its ticket orbit that loses
// least per ticket removed; otherwise one chosen orbit goes (the least loss per ticket, not the
// one just added) and one comes in for a random uncovered target orbit (the most gain per ticket
// among those that keep the cost below the best), and every target orbit left uncovered gains
// weight, so that the orbits hard to cover come to count most.
//
// The incremental state is the set cover's of set_cover_state.h (cover counts, the chosen
// orbits' xor, losses and gains under weights raised lazily), with its invariant stated there;
// with recountEveryStep the search checks it against a recount after every step.

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/worker_threads.h"
#include "wheels/cover/cover_model.h"
#include "wheels/cover/orbit_model.h"
#include "wheels/random.h"

namespace quillstep::cover {

struct OrbitSearchSettings {
    int64_t lowerBound = 0;  // a covering of this many tickets ends the search
    int64_t stepBudget = 0;  // swaps (0: none); for reproducible runs
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    bool configurationChecking = true;
    // A run that has found nothing cheaper for this many steps (at least, or this many per ticket
    // orbit) starts again from a fresh greedy covering with fresh weights.
    int64_t fewestStallSteps = 20000;
    int64_t stallStepsPerOrbit = 20;
    bool recountEveryStep = false;  // tests: the state is checked against a recount after every step
};

struct OrbitCovering {
    std::vector<int32_t> orbits;  // the chosen ticket orbits (empty: none found)
    int64_t tickets = 0;          // their tickets
    int64_t steps = 0;
    int64_t runs = 0;      // greedy starts
    int64_t bestStep = 0;  // the step that found the covering
    bool recountDisagreed = false;
};

// The cheapest covering found before the deadline, the step budget or `stop`; a covering of
// fewer tickets than `toBeat` is looked for (0: any).
OrbitCovering searchOrbitCovering(const OrbitModel& orbits, Random& random, const OrbitSearchSettings& settings,
                                  const StopFlag& stop, int64_t toBeat = 0);

// The orbit searches a covering search starts with: the groups of candidateCycles (with multiplier
// groups where t = m) numbered `part` modulo `parts` (so that threads share them out; those whose
// orbit model is too large left out), each in turn for its share of half the time (a rotation's
// even share, 1 / d of it with a multiplier of order d), then the group that gave the cheapest
// covering for the rest. Returns the tickets of the cheapest covering by whole orbits, every target
// covered, or nothing when no group gave one before the deadline.
// `offer` (when given) gets each covering as soon as it is the cheapest so far.
std::vector<uint64_t> searchSymmetricCovering(
    const CoverModel& model, Random& random, int64_t lowerBound, std::chrono::steady_clock::time_point deadline,
    const StopFlag& stop, unsigned part = 0, unsigned parts = 1,
    const std::function<void(const std::vector<uint64_t>&)>& offer = {});

}  // namespace quillstep::cover
