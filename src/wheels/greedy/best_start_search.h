#pragma once
// The choice of the best starting combination: one greedy pass per starting combination, spread
// over worker threads, with the same answer as trying them one after another in store order.

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/shared_state.h"
#include "wheels/greedy/greedy_pass.h"

namespace quillstep {

constexpr int32_t PROGRESS_INTERVAL = 50;       // starting numbers between two progress texts
constexpr int32_t NO_SYSTEM_YET_SIZE = 10000;   // above any size a pass can reach

// How the passes run: one scan of the store per starting combination, or sixty-four starting
// combinations at once in one walk through the store's tree of common beginnings (bit_lane_passes.h).
// Both give the same answer; Automatic takes the lanes wherever they handle the store and are
// faster: four or five hits, at least LANE_SEARCH_MIN_STORE stored, and at five hits a store whose
// combinations share their beginnings.
enum class StartSearchPath { Automatic, Scan, Lanes };

// Stores smaller than this are scanned: the lanes' fixed costs outweigh what they save there.
constexpr int32_t LANE_SEARCH_MIN_STORE = 2000;

struct BestStart {
    int32_t bestStart = 1;                  // starting number, from 1
    int32_t bestSize = NO_SYSTEM_YET_SIZE;
    int32_t startsChecked = 0;              // starting numbers 1 to startsChecked were tried
    bool stopped = false;                   // a stop request left later starting numbers untried
    StartSearchPath pathUsed = StartSearchPath::Scan;  // Scan or Lanes: how the passes ran
};

struct StartSearchOptions {
    PassKernel kernel = fastestPassKernel();  // the scan's kernel
    StartSearchPath path = StartSearchPath::Automatic;  // Lanes falls back to Scan where lanes cannot run
    unsigned threads = 0;  // 0: one per hardware thread
    // Called on the calling thread, now and then and once at the end, with the highest starting
    // number whose pass has begun (never decreasing).
    std::function<void(int32_t startsBegun)> onProgress;
    // Polled on the calling thread at least every `pollMilliseconds` while passes run; true asks
    // to stop. Starting number 1 is always tried; the passes that have begun are finished, so
    // the tried starting numbers are always 1 to startsChecked.
    std::function<bool()> stopRequested;
    int pollMilliseconds = 20;
    // When every pass is proven to reach the capacity (capacity_proof.h), the answer (starting
    // number 1, size 1000) is given without running them; false runs them all the same.
    bool answerProvenCapacityAtOnce = true;
};

// The starting number whose greedy system is smallest (the lower one among equals) and its size.
BestStart findBestStart(const std::vector<uint64_t>& masks, int guaranteedHits, const StartSearchOptions& options);

// The system size at which the pass of `start` can no longer beat the best found so far (a later
// starting number needs a strictly smaller size, an earlier one wins a tie), at most the capacity.
int32_t hopelessSize(int32_t start, int32_t bestStart, int32_t bestSize);

// Store indices (from 0) of the greedy system of `startNumber` (from 1), in system order.
std::vector<int32_t> greedySystemMembers(const std::vector<uint64_t>& masks, int32_t startNumber, int guaranteedHits,
                                         PassKernel kernel = fastestPassKernel());

}  // namespace quillstep
