#include "wheels/cover/cover_state.h"

#include <algorithm>
#include <stdexcept>

#include "engine/binomials.h"
#include "wheels/bit_count.h"

namespace quillstep::cover {

bool isSearchable(const CoverModel& model) {
    const int n = model.elements, k = model.ticketSize, t = model.hits, m = model.targetSize;
    if (n < 1 || n > MOST_ELEMENTS || k < 1 || k > 7 || k >= n || t < 1 || t > k || m < t || m > 7 || m > n)
        return false;
    const uint64_t all = n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
    for (const uint64_t target : model.storedTargets)
        if (std::popcount(target) != m || (target & ~all) != 0) return false;
    for (const uint64_t ticket : model.fixedTickets)
        if (std::popcount(ticket) != k || (ticket & ~all) != 0) return false;
    return true;
}

namespace {

// The most t-subsets whose ticket counts a state keeps (two bytes each).
constexpr int64_t MOST_COUNTED_SUBSETS = int64_t{1} << 22;
// The list of uncovered targets keeps their sets up to this many targets, and drops them above
// four times as many.
constexpr size_t MOST_LISTED_SETS = size_t{1} << 16;
// The list is gone through for a trade's gains when it has fewer targets than this many times the
// trade's pairs (a listed target costs a fraction of a look-up).
constexpr int64_t LISTED_PER_PAIR = 3;

}  // namespace

CoverState::CoverState(const CoverModel& model, const TargetIndex& targets)
    : model_(model), targets_(targets),
      elements_(model.elements == 64 ? ~uint64_t{0} : (uint64_t{1} << model.elements) - 1),
      counts_(static_cast<size_t>(targets.count()), 0), uncovered_(targets.count()) {
    if (static_cast<int64_t>(model.fixedTickets.size()) > MOST_TICKETS) throw std::length_error("too many tickets");
    // With m = t a pair's t-subset is its target: its count would save nothing.
    if (model.targetSize > model.hits && binomial(model.elements, model.hits) <= MOST_COUNTED_SUBSETS) {
        subsets_ = TargetIndex::allSubsets(model.elements, model.hits);
        subsetCounts_.assign(static_cast<size_t>(subsets_.count()), 0);
    }
    pairsPerTrade_ = binomial(model.ticketSize - 1, model.hits - 1) *
                     binomial(model.elements - model.ticketSize - 1, model.targetSize - model.hits);
    listed_.assign((counts_.size() + 63) / 64, 0);
    for (const uint64_t ticket : model.fixedTickets) cover(ticket);
    staleListed_ = 0;  // nothing was listed yet
    uncoveredList_.reserve(static_cast<size_t>(uncovered_));
    for (size_t id = 0; id < counts_.size(); ++id)
        if (counts_[id] == 0) listUncovered(static_cast<int32_t>(id), 0);
    cleanList(true);
}

void CoverState::listUncovered(int32_t id, uint64_t set) {
    uint64_t& word = listed_[static_cast<size_t>(id) / 64];
    const uint64_t bit = uint64_t{1} << (id % 64);
    if (word & bit) {
        --staleListed_;  // listed still, uncovered again
        return;
    }
    word |= bit;
    uncoveredList_.push_back(id);
    if (listSets_) listedSets_.push_back(set != 0 ? set : targets_.setOf(id));
}

void CoverState::cleanList(bool always) {
    // Covered targets are dropped once they are half of the list, so going through the list
    // costs at most about twice its uncovered targets.
    if (always || staleListed_ > static_cast<int64_t>(uncoveredList_.size() / 2) + 64) {
        size_t kept = 0;
        for (size_t i = 0; i < uncoveredList_.size(); ++i) {
            const int32_t id = uncoveredList_[i];
            if (counts_[static_cast<size_t>(id)] != 0) {
                listed_[static_cast<size_t>(id) / 64] &= ~(uint64_t{1} << (id % 64));
                continue;
            }
            uncoveredList_[kept] = id;
            if (listSets_) listedSets_[kept] = listedSets_[i];
            ++kept;
        }
        uncoveredList_.resize(kept);
        if (listSets_) listedSets_.resize(kept);
        staleListed_ = 0;
    }
    if (!listSets_ && uncoveredList_.size() <= MOST_LISTED_SETS) {
        listSets_ = true;
        listedSets_.clear();
        for (const int32_t id : uncoveredList_) listedSets_.push_back(targets_.setOf(id));
    } else if (listSets_ && uncoveredList_.size() > 4 * MOST_LISTED_SETS) {
        listSets_ = false;
        std::vector<uint64_t>().swap(listedSets_);
    }
}

void CoverState::countGainsFromList(uint64_t moved, int in, int64_t& delta, int64_t& weighted) const {
    const uint64_t inBit = uint64_t{1} << in;
    for (size_t i = 0; i < listedSets_.size(); ++i) {
        const uint64_t set = listedSets_[i];
        if (!(set & inBit) || bitCount(set & moved) < model_.hits) continue;
        const int32_t id = uncoveredList_[i];
        if (counts_[static_cast<size_t>(id)] != 0) continue;
        --delta;
        weighted -= weight(id);
    }
}

void CoverState::countSubsets(uint64_t ticket, int change) {
    if (subsetCounts_.empty()) return;
    forEachSubset(ticket, model_.hits, [&](uint64_t subset) {
        uint16_t& count = subsetCounts_[static_cast<size_t>(subsets_.idOf(subset))];
        count = static_cast<uint16_t>(count + change);
    });
}

int CoverState::pairSides(uint64_t lostSubset, uint64_t gainedSubset, bool inState) const {
    if (subsetCounts_.empty()) return 3;
    // A ticket in the state holds its own t-subsets once: another holds them when counted twice.
    const int othersHoldingLost = subsetCounts_[static_cast<size_t>(subsets_.idOf(lostSubset))] - (inState ? 1 : 0);
    const int holdingGained = subsetCounts_[static_cast<size_t>(subsets_.idOf(gainedSubset))];
    return (othersHoldingLost == 0 ? 1 : 0) | (holdingGained == 0 ? 2 : 0);
}

void CoverState::cover(uint64_t ticket) {
    countSubsets(ticket, 1);
    forEachCovered(ticket, [&](int64_t id) {
        if (counts_[static_cast<size_t>(id)]++ == 0) {
            --uncovered_;
            listCovered();
        }
    });
    cleanList(false);
}

void CoverState::uncover(uint64_t ticket) {
    countSubsets(ticket, -1);
    forEachCovered(ticket, [&](int64_t id) {
        if (--counts_[static_cast<size_t>(id)] == 0) {
            ++uncovered_;
            listUncovered(static_cast<int32_t>(id), 0);
        }
    });
    cleanList(false);
}

void CoverState::addTicket(uint64_t ticket) {
    if (static_cast<int64_t>(tickets_.size() + model_.fixedTickets.size()) >= MOST_TICKETS)
        throw std::length_error("too many tickets");
    cover(ticket);
    tickets_.push_back(ticket);
}

void CoverState::removeTicket(size_t index) {
    uncover(tickets_[index]);
    tickets_[index] = tickets_.back();
    tickets_.pop_back();
}

void CoverState::replaceTickets(const std::vector<uint64_t>& tickets) {
    while (!tickets_.empty()) removeTicket(tickets_.size() - 1);
    for (const uint64_t ticket : tickets) addTicket(ticket);
}

int64_t CoverState::soleCovers(size_t index) const {
    int64_t sole = 0;
    forEachCovered(tickets_[index], [&](int64_t id) { sole += counts_[static_cast<size_t>(id)] == 1; });
    return sole;
}

int64_t CoverState::newlyCovered(uint64_t ticket) const {
    int64_t fresh = 0;
    forEachCovered(ticket, [&](int64_t id) { fresh += counts_[static_cast<size_t>(id)] == 0; });
    return fresh;
}

template <typename F>
int64_t CoverState::forEachLivePair(uint64_t ticket, int out, int in, bool inState, int sidesWanted, F&& f) const {
    // The pairs of the trade, grouped by their t - 1 kept elements; a group whose two t-subsets
    // change no target (pairSides 0) is left out.
    const uint64_t outBit = uint64_t{1} << out, inBit = uint64_t{1} << in;
    uint64_t kept[64];
    int sides[64];
    int keptCount = 0;
    int64_t lookups = 0;
    forEachSubset(ticket & ~outBit, model_.hits - 1, [&](uint64_t s) {
        const int side = pairSides(s | outBit, s | inBit, inState) & sidesWanted;
        lookups += subsetCounts_.empty() ? 0 : 2;
        if (side == 0) return;
        kept[keptCount] = s;
        sides[keptCount++] = side;
    });
    if (keptCount == 0) return lookups;
    forEachSubset(elements_ & ~ticket & ~inBit, model_.targetSize - model_.hits, [&](uint64_t rest) {
        for (int i = 0; i < keptCount; ++i) {
            if (sides[i] & 1) {
                ++lookups;
                const int64_t id = targets_.idOf(kept[i] | rest | outBit);
                if (id >= 0) f(id, true);
            }
            if (sides[i] & 2) {
                ++lookups;
                const int64_t id = targets_.idOf(kept[i] | rest | inBit);
                if (id >= 0) f(id, false);
            }
        }
    });
    return lookups;
}

int64_t CoverState::moveDelta(size_t index, int out, int in) {
    moveIndex_ = index;
    moveOut_ = out;
    moveIn_ = in;
    int64_t delta = 0, weighted = 0;
    const uint64_t ticket = tickets_[index];
    // The gained side from the list of uncovered targets where it is short.
    const bool gainsFromList =
        listSets_ && static_cast<int64_t>(uncoveredList_.size()) < LISTED_PER_PAIR * pairsPerTrade_;
    if (gainsFromList) {
        countGainsFromList((ticket & ~(uint64_t{1} << out)) | uint64_t{1} << in, in, delta, weighted);
        lookups_ = static_cast<int64_t>(uncoveredList_.size()) / LISTED_PER_PAIR;
    } else {
        lookups_ = 0;
    }
    lookups_ += forEachLivePair(ticket, out, in, true, gainsFromList ? 1 : 3, [&](int64_t id, bool lost) {
        const uint16_t count = counts_[static_cast<size_t>(id)];
        if (lost && count == 1) {
            ++delta;
            weighted += weight(id);
        } else if (!lost && count == 0) {
            --delta;
            weighted -= weight(id);
        }
    });
    weightedDelta_ = weighted;
    return delta;
}

void CoverState::applyMove() {
    const uint64_t ticket = tickets_[moveIndex_];
    const uint64_t moved = (ticket & ~(uint64_t{1} << moveOut_)) | uint64_t{1} << moveIn_;
    countSubsets(ticket, -1);
    countSubsets(moved, 1);
    forEachSwapPair(ticket, moveOut_, moveIn_, [&](uint64_t lostSet, uint64_t gainedSet) {
        const int64_t lost = targets_.idOf(lostSet);
        if (lost >= 0 && --counts_[static_cast<size_t>(lost)] == 0) {
            ++uncovered_;
            listUncovered(static_cast<int32_t>(lost), lostSet);
        }
        const int64_t gained = targets_.idOf(gainedSet);
        if (gained >= 0 && counts_[static_cast<size_t>(gained)]++ == 0) {
            --uncovered_;
            listCovered();
        }
    });
    tickets_[moveIndex_] = moved;
    cleanList(false);
}

int64_t CoverState::candidateSwapGain(uint64_t ticket, int out, int in) const {
    int64_t gain = 0;
    forEachLivePair(ticket, out, in, false, 3, [&](int64_t id, bool lost) {
        if (counts_[static_cast<size_t>(id)] == 0) gain += lost ? -1 : 1;
    });
    return gain;
}

void CoverState::useWeights() {
    weights_.assign(counts_.size(), 1);
}

void CoverState::raiseWeight(int64_t target) {
    if (weights_.empty()) useWeights();
    if (++weights_[static_cast<size_t>(target)] < MOST_WEIGHT) return;
    for (uint32_t& weight : weights_) weight = std::max<uint32_t>(1, weight / 2);
}

int64_t CoverState::randomUncovered(Random& random) {
    // Covered targets of the list are dropped when drawn.
    for (;;) {
        const size_t at = random.below(uncoveredList_.size());
        const int32_t id = uncoveredList_[at];
        if (counts_[static_cast<size_t>(id)] == 0) return id;
        listed_[static_cast<size_t>(id) / 64] &= ~(uint64_t{1} << (id % 64));
        --staleListed_;
        uncoveredList_[at] = uncoveredList_.back();
        uncoveredList_.pop_back();
        if (listSets_) {
            listedSets_[at] = listedSets_.back();
            listedSets_.pop_back();
        }
    }
}

bool CoverState::listsEveryUncovered() const {
    for (size_t id = 0; id < counts_.size(); ++id)
        if (counts_[id] == 0 && !(listed_[id / 64] >> (id % 64) & 1)) return false;
    int64_t listedUncovered = 0;
    for (size_t i = 0; i < uncoveredList_.size(); ++i) {
        const int32_t id = uncoveredList_[i];
        listedUncovered += counts_[static_cast<size_t>(id)] == 0;
        if (listSets_ && listedSets_[i] != targets_.setOf(id)) return false;
    }
    return listedUncovered == uncovered_;
}

bool agreesWithRecount(const CoverState& state) {
    CoverState fresh(state.model(), state.targets());
    for (const uint64_t ticket : state.tickets()) fresh.addTicket(ticket);
    if (fresh.uncovered() != state.uncovered() || !state.listsEveryUncovered()) return false;
    for (int64_t id = 0; id < state.targets().count(); ++id)
        if (fresh.coverCount(id) != state.coverCount(id)) return false;
    if (state.countsSubsets()) {
        bool same = true;
        forEachSubset(state.elements(), state.model().hits,
                      [&](uint64_t subset) { same = same && fresh.subsetCount(subset) == state.subsetCount(subset); });
        if (!same) return false;
    }
    return true;
}

}  // namespace quillstep::cover
