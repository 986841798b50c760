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

#include <cstdint>
#include <vector>

#include "wheels/large_optimiser/combination_index.h"

namespace quillstep::large {

// Every subset of `size` numbers of `numbers`, as masks, appended to `out`.
void appendSubsets(uint64_t numbers, int size, std::vector<uint64_t>& out);

class CoverEnumerator {
public:
    CoverEnumerator(const StoredIndex& index, int hits)
        : index_(&index), hits_(hits), allNumbers_(((uint64_t{2} << index.ranks().totalNumbers()) - 1) & ~uint64_t{1}) {}

    int hits() const { return hits_; }
    uint64_t allNumbers() const { return allNumbers_; }
    const StoredIndex& index() const { return *index_; }

    // visit(mask, index) for every stored combination sharing at least t numbers with `member`.
    template <typename Visit>
    void forEachCovered(uint64_t member, Visit&& visit) {
        const uint64_t outside = allNumbers_ & ~member;
        for (int kept = hits_; kept <= SEVEN; ++kept) {
            keptParts_.clear();
            appendSubsets(member, kept, keptParts_);
            otherParts_.clear();
            appendSubsets(outside, SEVEN - kept, otherParts_);
            for (const uint64_t part : keptParts_)
                for (const uint64_t other : otherParts_) {
                    const uint64_t x = part | other;
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
        keptParts_.clear();
        appendSubsets(kept, hits_ - 1, keptParts_);
        otherParts_.clear();
        appendSubsets(allNumbers_ & ~(kept | bitA | bitB), SEVEN - hits_, otherParts_);
        for (const uint64_t part : keptParts_)
            for (const uint64_t other : otherParts_) {
                const uint64_t x = part | other;
                const int32_t lost = index_->indexOf(x | bitA);
                if (lost >= 0) lose(x | bitA, lost);
                const int32_t gained = index_->indexOf(x | bitB);
                if (gained >= 0) gain(x | bitB, gained);
            }
    }

private:
    const StoredIndex* index_;
    int hits_;
    uint64_t allNumbers_;
    std::vector<uint64_t> keptParts_;
    std::vector<uint64_t> otherParts_;
};

}  // namespace quillstep::large
