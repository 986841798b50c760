#pragma once
// The state of a covering search: the tickets, how many tickets cover each target (16-bit
// counts), the number of uncovered targets and a list to draw uncovered targets from. A move
// trades one element of one ticket for another; its effect on the uncovered count is counted over
// the targets whose share with the ticket crosses t only: for B' = B - a + b, the targets that
// lose B hold a, not b, exactly t - 1 further elements of B and the rest outside B and b; those
// that gain it hold b in place of a. Both are found from the same pairs (t - 1 elements of B
// without a, m - t elements outside B and b).
//
// Where m > t, the state also keeps how many tickets hold each t-subset of the elements. A pair
// whose t-subset K + a another ticket also holds changes no target (that ticket covers every
// target holding K + a, so none of them loses its last cover), nor does one whose K + b some
// ticket holds (every target holding K + b is covered already): moveDelta looks up the targets
// of the other pairs only. applyMove changes every count.
//
// The uncovered targets are kept in a list (each once, with targets covered since it was last
// cleaned), with their sets once it is short: then the targets a trade covers are found by going
// through the list (an uncovered target is covered by B' when it holds b and shares t with B')
// where that is cheaper than looking up the gained side of every pair.

#include <bit>
#include <cstdint>
#include <vector>

#include "wheels/cover/cover_model.h"
#include "wheels/cover/target_index.h"
#include "wheels/random.h"

namespace quillstep::cover {


// Calls f(subset) for every subset of `r` elements of `set` (r >= 0).
template <typename F>
void forEachSubset(uint64_t set, int r, F&& f) {
    int items[MOST_ELEMENTS];
    int n = 0;
    for (uint64_t rest = set; rest != 0; rest &= rest - 1) items[n++] = std::countr_zero(rest);
    if (r > n) return;
    if (r == 0) {
        f(uint64_t{0});
        return;
    }
    int at[8];
    for (int i = 0; i < r; ++i) at[i] = i;
    for (;;) {
        uint64_t subset = 0;
        for (int i = 0; i < r; ++i) subset |= uint64_t{1} << items[at[i]];
        f(subset);
        int i = r - 1;
        while (i >= 0 && at[i] == n - r + i) --i;
        if (i < 0) return;
        ++at[i];
        for (int j = i + 1; j < r; ++j) at[j] = at[j - 1] + 1;
    }
}

constexpr uint32_t MOST_WEIGHT = 1u << 20;

class CoverState {
public:
    CoverState(const CoverModel& model, const TargetIndex& targets);

    const CoverModel& model() const { return model_; }
    const TargetIndex& targets() const { return targets_; }
    uint64_t elements() const { return elements_; }
    const std::vector<uint64_t>& tickets() const { return tickets_; }  // the movable ones
    size_t size() const { return tickets_.size(); }
    int64_t uncovered() const { return uncovered_; }
    int coverCount(int64_t target) const { return counts_[static_cast<size_t>(target)]; }

    void addTicket(uint64_t ticket);
    void removeTicket(size_t index);  // the last ticket takes its place
    void replaceTickets(const std::vector<uint64_t>& tickets);

    // The targets ticket `index` alone covers (uncovered once it goes).
    int64_t soleCovers(size_t index) const;
    // The uncovered targets a ticket not in the state would cover.
    int64_t newlyCovered(uint64_t ticket) const;

    // The change of the uncovered count when ticket `index` trades element `out` for `in`; the
    // move is kept for applyMove.
    int64_t moveDelta(size_t index, int out, int in);
    // The counts the last moveDelta looked up (targets and t-subsets): its cost.
    int64_t lastLookups() const { return lookups_; }
    // Whether the t-subset counts filter the pairs (m > t, not too many t-subsets).
    bool countsSubsets() const { return !subsetCounts_.empty(); }
    // How many tickets (fixed ones included) hold the t-subset `subset`; countsSubsets() must hold.
    int subsetCount(uint64_t subset) const { return subsetCounts_[static_cast<size_t>(subsets_.idOf(subset))]; }
    // Makes the move of the last moveDelta.
    void applyMove();
    // The change of newlyCovered(ticket) when `ticket`, not in the state, trades `out` for `in`.
    int64_t candidateSwapGain(uint64_t ticket, int out, int in) const;

    // Weights on the targets, all 1 at first (none kept until useWeights): a target that stays
    // uncovered is given more weight, so that moves uncovering it again count as worse. Weights
    // only rank moves; whether a target is covered is the cover count alone.
    void useWeights();
    bool weighted() const { return !weights_.empty(); }
    uint32_t weight(int64_t target) const { return weights_.empty() ? 1 : weights_[static_cast<size_t>(target)]; }
    // Adds one to the weight of `target`; all weights are halved (at least 1) when one passes
    // MOST_WEIGHT.
    void raiseWeight(int64_t target);
    // The change of the weighted uncovered count by the move of the last moveDelta.
    int64_t lastWeightedDelta() const { return weightedDelta_; }

    // Whether the list of uncovered targets holds every uncovered target (with its set, while the
    // sets are kept).
    bool listsEveryUncovered() const;

    // A target no ticket covers, at random; uncovered() must be above 0.
    int64_t randomUncovered(Random& random);

    // Calls f(target id) for every target `ticket` covers.
    template <typename F>
    void forEachCovered(uint64_t ticket, F&& f) const {
        const uint64_t outside = elements_ & ~ticket;
        const int most = std::min(model_.ticketSize, model_.targetSize);
        for (int shared = model_.hits; shared <= most; ++shared)
            forEachSubset(ticket, shared, [&](uint64_t inside) {
                forEachSubset(outside, model_.targetSize - shared, [&](uint64_t rest) {
                    const int64_t id = targets_.idOf(inside | rest);
                    if (id >= 0) f(id);
                });
            });
    }

    // Calls f(lost, gained) with the sets whose cover by `ticket` changes when it trades `out`
    // for `in`: lost holds out, gained holds in, both the same other elements.
    template <typename F>
    void forEachSwapPair(uint64_t ticket, int out, int in, F&& f) const {
        const uint64_t outBit = uint64_t{1} << out, inBit = uint64_t{1} << in;
        uint64_t kept[64];
        int keptCount = 0;
        forEachSubset(ticket & ~outBit, model_.hits - 1, [&](uint64_t s) { kept[keptCount++] = s; });
        forEachSubset(elements_ & ~ticket & ~inBit, model_.targetSize - model_.hits, [&](uint64_t rest) {
            for (int i = 0; i < keptCount; ++i) f(kept[i] | rest | outBit, kept[i] | rest | inBit);
        });
    }

private:
    void cover(uint64_t ticket);
    void uncover(uint64_t ticket);
    void countSubsets(uint64_t ticket, int change);
    // The list of uncovered targets: a target whose count fell to 0 (`set`: its elements, 0 when
    // not known), one whose count rose from 0, and the list made short again.
    void listUncovered(int32_t id, uint64_t set);
    void listCovered() { ++staleListed_; }
    void cleanList(bool always);
    // The change of the (weighted) uncovered count from the targets of the list that `moved`
    // covers; `in` the element it took.
    void countGainsFromList(uint64_t moved, int in, int64_t& delta, int64_t& weighted) const;
    // For the t-subsets K + a and K + b of the pairs of a trade with the kept elements K, whether
    // the pairs need their targets looked up (bit 0: the lost side, bit 1: the gained side).
    int pairSides(uint64_t lostSubset, uint64_t gainedSubset, bool inState) const;
    // Calls f(target id, lost) for the targets of the pairs of a trade that may change its cover
    // (lost: the target held out, else in), of the sides wanted (as pairSides); inState: `ticket`
    // is one of the state's. Returns the counts looked up.
    template <typename F>
    int64_t forEachLivePair(uint64_t ticket, int out, int in, bool inState, int sidesWanted, F&& f) const;

    const CoverModel& model_;
    const TargetIndex& targets_;
    uint64_t elements_ = 0;
    std::vector<uint64_t> tickets_;
    std::vector<uint16_t> counts_;
    int64_t uncovered_ = 0;
    std::vector<int32_t> uncoveredList_;  // every uncovered target once, and some covered since
    std::vector<uint64_t> listedSets_;    // the sets of the list's targets, while it is short
    std::vector<uint64_t> listed_;        // a bit per target: in the list
    int64_t staleListed_ = 0;             // targets of the list covered since
    bool listSets_ = false;
    int64_t pairsPerTrade_ = 0;
    // The t-subsets' ticket counts (empty: not kept).
    TargetIndex subsets_;
    std::vector<uint16_t> subsetCounts_;
    // The last moveDelta.
    size_t moveIndex_ = 0;
    int moveOut_ = 0, moveIn_ = 0;
    int64_t weightedDelta_ = 0;
    int64_t lookups_ = 0;
    std::vector<uint32_t> weights_;  // empty: every weight 1
};

// Checking builds and tests: whether the state's cover counts, its uncovered count and list and its
// t-subset counts are those a state built afresh from its tickets has.
bool agreesWithRecount(const CoverState& state);

}  // namespace quillstep::cover
