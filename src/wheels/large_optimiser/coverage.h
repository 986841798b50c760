#pragma once
// How often each stored combination is covered by the members of a system: one byte per stored
// combination (a rare count above 254 is kept exactly in a small side table), and on request
// the list of the uncovered ones with a position per stored combination, for picking one at
// random and for moves that change only a few.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "wheels/large_optimiser/cover_enumeration.h"
#include "wheels/random.h"

namespace quillstep::large {

struct Stored {
    uint64_t mask;
    int32_t index;
};

class Coverage {
public:
    Coverage(const StoredIndex& index, int hits);

    int64_t storedCount() const { return static_cast<int64_t>(counts_.size()); }
    int64_t uncoveredCount() const { return uncovered_; }
    int count(int32_t i) const { return counts_[static_cast<size_t>(i)] < SATURATED ? counts_[static_cast<size_t>(i)] : over_.at(i); }
    CoverEnumerator& enumerator() { return enumerator_; }

    // Both return how many stored combinations changed between covered and uncovered.
    int64_t add(uint64_t member);
    int64_t remove(uint64_t member);

    // The stored combinations only `member` covers (it must be a member).
    int64_t soleCover(uint64_t member);

    // From now on the uncovered stored combinations are listed; `masks` are all stored ones.
    void listUncovered(const uint64_t* masks, int64_t count);
    const std::vector<Stored>& uncovered() const { return list_; }

    // Single changes, as a move applies them.
    void increment(const Stored& x);
    void decrement(const Stored& x);

private:
    static constexpr uint8_t SATURATED = 255;

    CoverEnumerator enumerator_;
    std::vector<uint8_t> counts_;
    std::unordered_map<int32_t, int32_t> over_;  // exact counts of the saturated ones
    int64_t uncovered_;
    bool listed_ = false;
    std::vector<int32_t> position_;  // in list_, when listed
    std::vector<Stored> list_;
};

// Leaves out the member that covers fewest stored combinations alone (the first among equals).
void dropMemberCoveringLeastAlone(Coverage& coverage, std::vector<uint64_t>& members);

// Checking builds and tests: whether `coverage` holds the counts and the list of uncovered
// combinations that a recount of `members` from scratch gives.
bool agreesWithRecount(Coverage& coverage, const std::vector<uint64_t>& members);

}  // namespace quillstep::large
