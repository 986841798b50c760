#pragma once
// One request for every covering search and every check of a covering: what must be covered,
// by which tickets, with which tickets fixed, within what time. The optimiser with a covering
// relation, the one without it (large stores), the completion of a given system, the wheel
// search and the independent checks all take it. Sets of numbers are 64-bit masks (bit v for
// number v).
//
// The targets are either stored combinations (seven numbers each, as a store holds them) or
// every `drawn` numbers of the pool that hold every key (a wheel on the player's numbers). A
// ticket covers a target when they share at least `hits` numbers.

#include <bit>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/lottery.h"

namespace quillstep {

struct CoverProgress {
    int64_t bestSize = 0;           // tickets of the smallest covering so far (0: none yet)
    double elapsedSeconds = 0.0;
    double remainingSeconds = 0.0;  // of the time limit
    int64_t moves = 0;              // search moves made so far, every thread together
};

struct CoverRequest {
    // The targets: the stored combinations when `stored` is given (distinct, in store order),
    // else every `drawn` numbers of `pool` holding every key.
    const uint64_t* stored = nullptr;
    int64_t storedCount = 0;
    uint64_t pool = 0;  // the numbers a ticket may take (numbersUpTo(N) for a store of 1..N)
    uint64_t keys = 0;  // numbers every ticket holds (pool targets only)
    int hits = 4;       // t
    int drawn = 7;      // m: "t if m"; stored combinations are seven numbers

    // The tickets: any seven numbers of the pool holding every key, or (false) stored
    // combinations only.
    bool anyTicket = false;
    std::vector<uint64_t> fixedTickets;  // kept as they are, never moved (completing a system)
    std::vector<uint64_t> startTickets;  // a covering to start from or to beat; may be empty

    double timeLimitSeconds = 30.0;  // wall-clock limit of the search
    uint64_t seed = 1;
    unsigned threads = 0;    // 0: one per hardware thread
    // 0: none. Otherwise each thread's search ends after this many moves; with the time limit not
    // reached and no stop request, the same seed, budget and thread count give the same tickets.
    int64_t moveBudget = 0;
    // Tests: every move's change is checked against a recount (the searches that offer it).
    bool recountEveryMove = false;
    // Both called on the calling thread only: progress about twice a second, the stop request
    // polled at least every 50 ms (true ends the search with the best covering so far).
    std::function<void(const CoverProgress&)> onProgress;
    std::function<bool()> stopRequested;

    bool storedTargets() const { return stored != nullptr; }
    // The highest number a ticket may take (0 for an empty pool).
    int highestNumber() const { return pool == 0 ? 0 : 63 - std::countl_zero(pool); }
};

// The request to cover `stored` (combinations of the numbers 1..highest) at `hits`, with stored
// combinations as tickets; the rest as CoverRequest's defaults.
inline CoverRequest storedCoverRequest(const std::vector<uint64_t>& stored, int hits, int highest) {
    CoverRequest request;
    request.stored = stored.data();
    request.storedCount = static_cast<int64_t>(stored.size());
    request.pool = numbersUpTo(highest);
    request.hits = hits;
    return request;
}

}  // namespace quillstep
