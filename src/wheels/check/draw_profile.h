#pragma once
// What a system wins on every possible draw, not only on the stored combinations: for every
// combination of seven of 1..totalNumbers, the most numbers it shares with one line of the
// system, counted exactly. And what one given draw wins line by line. Combinations are 64-bit
// masks (bit v for number v).

#include <array>
#include <cstddef>
#include <cstdint>

namespace quillstep {

struct DrawProfile {
    int64_t draws = 0;  // C(totalNumbers, 7)
    // [k]: draws whose best line shares exactly k numbers with them (0 to 7).
    std::array<int64_t, 8> bestMatchCounts{};

    // Draws whose best line shares at least `hits` numbers with them.
    int64_t drawsWithAtLeast(int hits) const {
        int64_t count = 0;
        for (int k = hits < 0 ? 0 : hits; k <= 7; ++k) count += bestMatchCounts[static_cast<size_t>(k)];
        return count;
    }
};

constexpr int PROFILE_LOWEST_TOTAL = 7;
constexpr int PROFILE_HIGHEST_TOTAL = 63;

// Every draw of 1..totalNumbers (7 to 63) against the `systemSize` lines; numbers of a line above
// totalNumbers are never drawn and so never shared. Splits the draws over `threads` threads
// (0: one per hardware thread).
DrawProfile profileAllDraws(const uint64_t* system, int64_t systemSize, int totalNumbers, unsigned threads = 0);

struct DrawMatch {
    std::array<int64_t, 8> linesByHits{};  // [k]: lines sharing exactly k numbers with the draw
    int bestHits = 0;                      // the most numbers a line shares with it
    int64_t bestLine = -1;                 // index (from 0) of the first line with bestHits; -1: no lines
};

DrawMatch matchDraw(uint64_t draw, const uint64_t* system, int64_t systemSize);

}  // namespace quillstep
