#pragma once
// The targets of a covering search, each known by a number from 0: either every m-subset of the
// elements 0 to n - 1, numbered by its colex rank (the subset {c1 < c2 < ... < cm} gets
// C(c1,1) + C(c2,2) + ... + C(cm,m)), or a list of stored sets, numbered by their place in it.
// Sets are 64-bit masks of elements (bit e for element e).

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillstep::cover {

class TargetIndex {
public:
    // Every `size`-subset (1 to 7) of the elements 0 to elements - 1 (elements at most 64).
    static TargetIndex allSubsets(int elements, int size);
    // The stored sets, each of `size` elements, all different.
    static TargetIndex storedSets(std::vector<uint64_t> sets, int size);

    int64_t count() const { return count_; }
    int size() const { return size_; }
    bool stored() const { return stored_; }

    // The number of a set of `size` elements, or -1 when it is not a target.
    int64_t idOf(uint64_t set) const {
        if (!stored_) return rankOf(set);
        for (uint64_t slot = hashOf(set);; slot = (slot + 1) & slotMask_) {
            const int32_t id = slots_[slot];
            if (id < 0) return -1;
            if (sets_[static_cast<size_t>(id)] == set) return id;
        }
    }

    // The set of a number from 0 to count() - 1.
    uint64_t setOf(int64_t id) const;

private:
    // The bits set in each byte (a table: without a population-count instruction in the build,
    // std::popcount is a library call, and ranks are the searches' innermost step).
    static constexpr std::array<uint8_t, 256> BYTE_BITS = [] {
        std::array<uint8_t, 256> bits{};
        for (unsigned byte = 1; byte < 256; ++byte) bits[byte] = static_cast<uint8_t>(bits[byte / 2] + (byte & 1));
        return bits;
    }();

    int64_t rankOf(uint64_t set) const {
        // Each byte of the set adds the colex terms of its elements, whose places follow from
        // how many elements lie below the byte.
        int64_t rank = 0;
        int below = 0;
        for (int chunk = 0; chunk < chunks_ && set != 0; ++chunk, set >>= 8) {
            const unsigned byte = static_cast<unsigned>(set & 0xFF);
            rank += chunkTerms_[(static_cast<size_t>(chunk) * 256 + byte) * 8 + static_cast<size_t>(below)];
            below += BYTE_BITS[byte];
        }
        return rank;
    }
    uint64_t hashOf(uint64_t set) const { return (set * 0x9E3779B97F4A7C15ull >> 20) & slotMask_; }

    bool stored_ = false;
    int size_ = 0;
    int chunks_ = 0;
    int64_t count_ = 0;
    std::vector<int32_t> chunkTerms_;  // [chunk][byte][elements below the chunk, 0 to 7]
    std::vector<uint64_t> sets_;       // stored sets in their order
    std::vector<int32_t> slots_;       // open addressing over sets_, -1: empty
    uint64_t slotMask_ = 0;
};

}  // namespace quillstep::cover
