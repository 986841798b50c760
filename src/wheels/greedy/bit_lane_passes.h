#pragma once
// Sixty-four greedy passes at once: one walk through the store's tree of common beginnings
// (store_trie.h) carries a pass per bit of a 64-bit word, a "lane". Each lane builds exactly the
// system that runGreedyPass builds from its starting combination, with the same stop size.
//
// Only guarantees of four and five hits are handled; other values keep to runGreedyPass.

#include <array>
#include <cstdint>
#include <vector>

#include "wheels/greedy/store_trie.h"

namespace quillstep {

constexpr int PASS_LANES = 64;

// Whether lane passes handle `guaranteedHits`; their tree then starts at depth guaranteedHits - 1.
constexpr bool lanePassesHandle(int guaranteedHits) { return guaranteedHits == 4 || guaranteedHits == 5; }
constexpr int laneTrieRootDepth(int guaranteedHits) { return guaranteedHits - 1; }

// What the systems of the lanes cover, kept between the walk's steps: one table per thread,
// about 0.7 MB for four hits and 5.3 MB for five. Construction may throw std::bad_alloc.
class LaneCoverage {
public:
    explicit LaneCoverage(int guaranteedHits);
    int guaranteedHits() const { return hits_; }
    uint64_t* words() { return words_.data(); }
    void clear();

private:
    int hits_;
    std::vector<uint64_t> words_;
};

struct LaneBatch {
    int lanes = 0;                                  // lanes in use, 1 to PASS_LANES
    std::array<int32_t, PASS_LANES> startIndex{};   // store index (from 0) of each lane's starting combination
    std::array<int32_t, PASS_LANES> stopSize{};     // each pass ends once its system holds this many (1 to 1000)
    std::array<int32_t, PASS_LANES> size{};         // out: the size each pass ended with
};

// Runs the passes of `batch` over the store `masks`, whose tree `trie` starts at depth
// laneTrieRootDepth(coverage.guaranteedHits()).
void runLanePasses(const StoreTrie& trie, const std::vector<uint64_t>& masks, LaneCoverage& coverage,
                   LaneBatch& batch);

}  // namespace quillstep
