#pragma once
// Where a seven-number combination sits among the stored ones, with no list of pairs: its colex
// rank among all C(N, 7) combinations of 1..N, and a bitmap of the stored ranks with a count of
// the stored ranks before every 64-bit word. A stored combination's index is the count of stored
// ranks below its own, so that per-combination data (a one-byte cover count) takes one byte per
// stored combination. On a full wheel every rank is stored and the index is the rank itself.
//
// The rank of {a1 < ... < a7} (numbers from 0) is C(a1,1) + C(a2,2) + ... + C(a7,7). It is summed
// byte by byte of the mask from a table indexed by the byte, its position and the count of
// numbers below it: a handful of look-ups, no loop over the numbers.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/binomials.h"
#include "engine/lottery.h"
#include "wheels/bit_count.h"

namespace quillstep::large {

constexpr int MAX_TOTAL_NUMBERS = 40;  // ranks of 1..40 fit in 32 bits, bitmaps in 2.4 MB

// A combination's sum of numbers and count of odd numbers as one key, sum * 8 + odd count, which
// adds up over disjoint parts of a combination. Stores filtered by sums and odd counts hold
// combinations of few keys, so that a key not among them rules out a combination before its
// rank is looked up.
inline uint32_t sumAndOddKey(uint64_t numbers) {
    uint32_t sum = 0, odd = 0;
    for (uint64_t rest = numbers; rest != 0; rest &= rest - 1) {
        const int v = std::countr_zero(rest);
        sum += static_cast<uint32_t>(v);
        odd += static_cast<uint32_t>(v & 1);
    }
    return sum * 8 + odd;
}
constexpr size_t SUM_AND_ODD_KEYS = (34 + 35 + 36 + 37 + 38 + 39 + 40) * 8 + 8;

class CombinationRanks {
public:
    explicit CombinationRanks(int totalNumbers);
    int totalNumbers() const { return totalNumbers_; }
    int64_t combinationCount() const { return binomialOrZero(totalNumbers_, NUMBERS_PER_COMBINATION); }

    // `mask` holds seven of the numbers 1..totalNumbers (bit v for number v).
    uint32_t rank(uint64_t mask) const {
        const uint64_t x = mask >> 1;
        uint32_t rank = 0;
        int below = 0;
        for (int b = 0; b < bytes_; ++b) {
            const unsigned byte = static_cast<unsigned>(x >> (8 * b)) & 0xFF;
            rank += table_[(static_cast<size_t>(b) * 256 + byte) * 8 + static_cast<size_t>(below & 7)];
            below += byteCount_[byte];
        }
        return rank;
    }
    uint64_t unrank(uint32_t rank) const;

private:
    int totalNumbers_;
    int bytes_;
    std::vector<uint32_t> table_;  // [byte position][byte][numbers below]
    uint8_t byteCount_[256];
};

class StoredIndex {
public:
    // `masks`: the stored combinations of 1..totalNumbers, distinct, in any order.
    StoredIndex(const uint64_t* masks, int64_t count, int totalNumbers);

    const CombinationRanks& ranks() const { return ranks_; }
    int64_t storedCount() const { return storedCount_; }
    bool isFullWheel() const { return storedCount_ == ranks_.combinationCount(); }

    // The index of a stored combination (0 to storedCount - 1), or -1 when it is not stored.
    int32_t indexOf(uint64_t mask) const { return indexOfRank(ranks_.rank(mask)); }
    int32_t indexOfRank(uint32_t rank) const {
        if (bits_.empty()) return static_cast<int32_t>(rank);
        const uint64_t word = bits_[rank >> 6];
        const uint64_t bit = uint64_t{1} << (rank & 63);
        if (!(word & bit)) return -1;
        return static_cast<int32_t>(before_[rank >> 6] + static_cast<uint32_t>(bitCount(word & (bit - 1))));
    }
    bool isStored(uint64_t mask) const { return indexOf(mask) >= 0; }
    // False when no stored combination has this sumAndOddKey (of seven numbers).
    bool mayHoldKey(uint32_t key) const { return keys_[key] != 0; }

private:
    CombinationRanks ranks_;
    int64_t storedCount_;
    std::vector<uint64_t> bits_;    // empty on a full wheel
    std::vector<uint32_t> before_;  // stored ranks before each word
    std::vector<uint8_t> keys_;     // by sumAndOddKey: whether a stored combination has it
};

}  // namespace quillstep::large
