#pragma once
// The stored combinations a combination covers, enumerated on the fly instead of kept as lists.
//
// A combination c covers x when they share at least t numbers: x keeps i >= t numbers of c and
// takes its other 7 - i from the numbers outside c. At 39 numbers and four hits that is 184,241
// combinations, each looked up by rank in the stored index.
//
// A move replaces number a of a member by b: old = S + a, new = S + b with S the six numbers kept.
// Only the combinations holding exactly t - 1 numbers of S and one of a and b change cover: those
// with a lose it, those with b gain it, 2 * C(6, t - 1) * C(N - 8, 7 - t) of them at most (179,800
// at 39 numbers and four hits).
//
// Both enumerations add up the parts' sum-and-odd keys and look up only the combinations whose
// key the store holds: on stores filtered by sums (and odd counts) most are ruled out there.

#include <cstdint>
#include <vector>

#include "wheels/large_optimiser/combination_index.h"

namespace quillstep::large {

// Every subset of `size` numbers of `numbers`, as masks, appended to `out`.
void appendSubsets(uint64_t numbers, int size, std::vector<uint64_t>& out);

class CoverEnumerator {
public:
    CoverEnumerator(const StoredIndex& index, int hits)
        : index_(&index), hits_(hits), allNumbers_(numbersUpTo(index.ranks().totalNumbers())) {}

    int hits() const { return hits_; }
    uint64_t allNumbers() const { return allNumbers_; }
    const StoredIndex& index() const { return *index_; }

    // visit(mask, index) for every stored combination sharing at least t numbers with `member`.
    template <typename Visit>
    void forEachCovered(uint64_t member, Visit&& visit) {
        const uint64_t outside = allNumbers_ & ~member;
        for (int kept = hits_; kept <= NUMBERS_PER_COMBINATION; ++kept) {
            fill(keptParts_, keptKeys_, member, kept);
            fill(otherParts_, otherKeys_, outside, NUMBERS_PER_COMBINATION - kept);
            for (size_t p = 0; p < keptParts_.size(); ++p)
                for (size_t o = 0; o < otherParts_.size(); ++o) {
                    if (!index_->mayHoldKey(keptKeys_[p] + otherKeys_[o])) continue;
                    const uint64_t x = keptParts_[p] | otherParts_[o];
                    const int32_t i = index_->indexOf(x);
                    if (i >= 0) visit(x, i);
                }
        }
    }

    // For the move from kept + a to kept + b (`kept` six numbers, a and b outside it):
    // lose(mask, index) for the stored combinations only the old member covers, gain(mask, index)
    // for those only the new one covers.
    template <typename Lose, typename Gain>
    void forEachChange(uint64_t kept, int a, int b, Lose&& lose, Gain&& gain) {
        const uint64_t bitA = uint64_t{1} << a;
        const uint64_t bitB = uint64_t{1} << b;
        const uint32_t keyA = sumAndOddKey(bitA);
        const uint32_t keyB = sumAndOddKey(bitB);
        fill(keptParts_, keptKeys_, kept, hits_ - 1);
        fill(otherParts_, otherKeys_, allNumbers_ & ~(kept | bitA | bitB), NUMBERS_PER_COMBINATION - hits_);
        for (size_t p = 0; p < keptParts_.size(); ++p)
            for (size_t o = 0; o < otherParts_.size(); ++o) {
                const uint32_t key = keptKeys_[p] + otherKeys_[o];
                const uint64_t x = keptParts_[p] | otherParts_[o];
                if (index_->mayHoldKey(key + keyA)) {
                    const int32_t lost = index_->indexOf(x | bitA);
                    if (lost >= 0) lose(x | bitA, lost);
                }
                if (index_->mayHoldKey(key + keyB)) {
                    const int32_t gained = index_->indexOf(x | bitB);
                    if (gained >= 0) gain(x | bitB, gained);
                }
            }
    }

private:
    static void fill(std::vector<uint64_t>& parts, std::vector<uint32_t>& keys, uint64_t numbers, int size) {
        parts.clear();
        appendSubsets(numbers, size, parts);
        keys.resize(parts.size());
        for (size_t p = 0; p < parts.size(); ++p) keys[p] = sumAndOddKey(parts[p]);
    }

    const StoredIndex* index_;
    int hits_;
    uint64_t allNumbers_;
    std::vector<uint64_t> keptParts_;
    std::vector<uint64_t> otherParts_;
    std::vector<uint32_t> keptKeys_;
    std::vector<uint32_t> otherKeys_;
};

}  // namespace quillstep::large
