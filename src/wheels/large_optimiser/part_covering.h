#pragma once
// Systems for the full wheel at four hits built from parts. Split the numbers into two parts:
// seven drawn numbers put at least four into one of them, so blocks of seven that hold every
// 4-subset of each part (a covering design of each part) together cover every draw. The smaller
// the coverings of the parts, the smaller the system: 23 numbers have the Steiner system
// S(4,7,23), 253 blocks holding every 4-subset exactly once (the weight-7 words of the binary
// Golay code of length 23); other parts get a covering found by the covering model's search
// (cover_search.h) with its cheapest moves, one point of one block replaced.

#include <atomic>
#include <cstdint>
#include <vector>

#include "base/worker_threads.h"

namespace quillstep::large {

// The 253 blocks of S(4,7,23) on the points 0..22, as masks.
std::vector<uint32_t> steinerBlocks4723();

// Blocks of seven of the points 0..points-1 (points up to 31) holding every 4-subset of them,
// as few as the search finds before `seconds` pass or `stop` is raised (empty when raised before
// its greedy covering was complete). Parts of fewer than eight points need one block: the caller
// fills it up.
std::vector<uint32_t> coverFourSubsets(int points, double seconds, uint64_t seed, const StopFlag& stop);

// The smallest system this construction finds for the full wheel of `totalNumbers` numbers at
// four hits, as masks of 1..totalNumbers, trying the splits that promise most. A stop gives the
// best system seen so far; empty when stopped before the first split was covered.
std::vector<uint64_t> fullWheelFromParts(int totalNumbers, double seconds, uint64_t seed, const StopFlag& stop);

}  // namespace quillstep::large
