#pragma once
// The optimiser's own check of a finished system, kept apart from the search that built it: the
// t-subsets of the members are marked in a bitmap, and a target is covered when one of its own
// t-subsets is marked (it then shares those t numbers with a member).

#include <atomic>
#include <cstdint>
#include <vector>

namespace quillstep {

// Whether every one of the `count` targets shares at least `hits` numbers with a member. Members
// and targets must hold seven numbers each; a system with any other member covers nothing.
// Splits the targets over `threads` threads.
bool systemCoversAll(const uint64_t* targets, int32_t count, const std::vector<uint64_t>& system, int hits,
                     unsigned threads);

// Whether `mask` holds exactly seven numbers.
bool isSevenNumbers(uint64_t mask);

}  // namespace quillstep
