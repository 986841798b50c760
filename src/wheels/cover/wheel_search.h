#pragma once
// The search for a small wheel on a pool of numbers (a "t if m" guarantee, with or without key
// numbers): as few tickets as it finds within the time limit such that every m numbers of the
// pool holding every key share at least t numbers with some ticket. Sets of numbers are 64-bit
// masks (bit v for number v), as in wheels/pool/wheel_request.h.
//
// The search reports only a wheel it has seen cover every target; its callers still check it
// with wheels/pool/wheel_check, which shares no code with it, before they report or write it.

#include <cstdint>
#include <functional>
#include <vector>

#include "wheels/cover/cover_model.h"
#include "wheels/pool/wheel_request.h"

namespace quillstep {

struct WheelSearchProgress {
    int64_t bestSize = 0;           // tickets of the smallest covering wheel so far (0: none yet)
    double elapsedSeconds = 0.0;
    double remainingSeconds = 0.0;  // of the time limit
};

struct WheelSearchSettings {
    double timeLimitSeconds = 60.0;  // wall-clock limit
    uint64_t seed = 1;
    unsigned threads = 0;  // 0: one per hardware thread
    int64_t moveBudget = 0;  // annealing moves per thread (0: no budget); with one thread, a run repeats
    // Both called on the calling thread only: progress about twice a second, the stop request
    // polled at least every 50 ms (true ends the search with the best wheel so far).
    std::function<void(const WheelSearchProgress&)> onProgress;
    std::function<bool()> stopRequested;
};

struct WheelSearchResult {
    WheelRefusal requestFault;      // a request that is not meaningful is not searched
    std::vector<uint64_t> tickets;  // the smallest covering wheel found, ascending masks
    bool stopped = false;           // ended by the stop request
    bool timeLimitReached = false;
    double seconds = 0.0;

    bool found() const { return !requestFault.refused() && !tickets.empty(); }
};

// An empty wheel only when the request is refused or the search was stopped before any covering
// wheel was complete.
// The covering problem of a meaningful request: the pool without the keys as elements 0, 1, ...
// (in the order of their numbers), tickets of 7 - k of them, t - k hits if m - k are drawn.
cover::CoverModel wheelCoverModel(const WheelRequest& request);

WheelSearchResult searchWheel(const WheelRequest& request, const WheelSearchSettings& settings);

}  // namespace quillstep
