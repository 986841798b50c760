#pragma once
// The optimiser with some members fixed: completing a given system. The fixed members stay as
// they are (they may be any seven numbers); as few stored combinations as can be found in the
// time given are added so that every stored combination shares at least t numbers with a member
// of the whole. Combinations are 64-bit masks (bit v for number v).
//
// The stored combinations the fixed members already cover drop out: the targets are the rest
// (the holes), and the candidates are the stored combinations that cover at least one hole,
// which need not be holes themselves. The max-coverage greedy and the weighted local search of
// the optimiser then work on that covering relation, on every core.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wheels/optimiser/optimiser.h"

namespace quillstep {

struct FixedMemberResult {
    std::vector<uint64_t> added;  // stored combinations to add, in order of choice
    int64_t holes = 0;            // stored combinations the fixed members leave uncovered
    bool stopped = false;         // ended by the stop request
    bool timeLimitReached = false;
    std::string error;  // set (and nothing added) when the request is unusable or no cover was found
};

// The request's targets are stored combinations at 4 or 5 hits, its fixed tickets the given
// system's lines (any seven numbers), and the tickets added are stored combinations.
// Empty `added` and no error: the fixed tickets cover every stored combination already.
FixedMemberResult addMembersToCover(const CoverRequest& request);

// [j]: whether stored combination j shares at least `hits` numbers with one of `members`; done
// through a bitmap of the members' t-subsets, split over `threads` threads.
std::vector<uint8_t> coveredByMembers(const uint64_t* stored, int32_t storedCount, const std::vector<uint64_t>& members,
                                      int hits, unsigned threads);

}  // namespace quillstep
