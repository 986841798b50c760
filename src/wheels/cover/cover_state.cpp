#include "wheels/cover/cover_state.h"

#include <algorithm>
#include <stdexcept>

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

CoverState::CoverState(const CoverModel& model, const TargetIndex& targets)
    : model_(model), targets_(targets),
      elements_(model.elements == 64 ? ~uint64_t{0} : (uint64_t{1} << model.elements) - 1),
      counts_(static_cast<size_t>(targets.count()), 0), uncovered_(targets.count()) {
    if (static_cast<int64_t>(model.fixedTickets.size()) > MOST_TICKETS) throw std::length_error("too many tickets");
    for (const uint64_t ticket : model.fixedTickets) cover(ticket);
    uncoveredList_.reserve(static_cast<size_t>(uncovered_));
    for (size_t id = 0; id < counts_.size(); ++id)
        if (counts_[id] == 0) uncoveredList_.push_back(static_cast<int32_t>(id));
}

void CoverState::cover(uint64_t ticket) {
    forEachCovered(ticket, [&](int64_t id) {
        if (counts_[static_cast<size_t>(id)]++ == 0) --uncovered_;
    });
}

void CoverState::uncover(uint64_t ticket) {
    forEachCovered(ticket, [&](int64_t id) {
        if (--counts_[static_cast<size_t>(id)] == 0) {
            ++uncovered_;
            uncoveredList_.push_back(static_cast<int32_t>(id));
        }
    });
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

int64_t CoverState::moveDelta(size_t index, int out, int in) {
    moveIndex_ = index;
    moveTicket_ = (tickets_[index] & ~(uint64_t{1} << out)) | uint64_t{1} << in;
    lost_.clear();
    gained_.clear();
    int64_t delta = 0, weighted = 0;
    forEachSwapPair(tickets_[index], out, in, [&](uint64_t lostSet, uint64_t gainedSet) {
        const int64_t lost = targets_.idOf(lostSet);
        if (lost >= 0) {
            lost_.push_back(static_cast<int32_t>(lost));
            if (counts_[static_cast<size_t>(lost)] == 1) {
                ++delta;
                weighted += weight(lost);
            }
        }
        const int64_t gained = targets_.idOf(gainedSet);
        if (gained >= 0) {
            gained_.push_back(static_cast<int32_t>(gained));
            if (counts_[static_cast<size_t>(gained)] == 0) {
                --delta;
                weighted -= weight(gained);
            }
        }
    });
    weightedDelta_ = weighted;
    return delta;
}

void CoverState::applyMove() {
    for (const int32_t id : lost_)
        if (--counts_[static_cast<size_t>(id)] == 0) {
            ++uncovered_;
            uncoveredList_.push_back(id);
        }
    for (const int32_t id : gained_)
        if (counts_[static_cast<size_t>(id)]++ == 0) --uncovered_;
    tickets_[moveIndex_] = moveTicket_;
}

int64_t CoverState::candidateSwapGain(uint64_t ticket, int out, int in) const {
    int64_t gain = 0;
    forEachSwapPair(ticket, out, in, [&](uint64_t lostSet, uint64_t gainedSet) {
        const int64_t lost = targets_.idOf(lostSet);
        if (lost >= 0) gain -= counts_[static_cast<size_t>(lost)] == 0;
        const int64_t gained = targets_.idOf(gainedSet);
        if (gained >= 0) gain += counts_[static_cast<size_t>(gained)] == 0;
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
    // The list keeps targets covered since they were put in: they are dropped when drawn, and the
    // list is made anew when they outnumber the uncovered ones by far.
    if (uncoveredList_.size() > 4 * static_cast<size_t>(uncovered_) + 4096) {
        uncoveredList_.clear();
        for (size_t id = 0; id < counts_.size(); ++id)
            if (counts_[id] == 0) uncoveredList_.push_back(static_cast<int32_t>(id));
    }
    for (;;) {
        const size_t at = random.below(uncoveredList_.size());
        const int32_t id = uncoveredList_[at];
        if (counts_[static_cast<size_t>(id)] == 0) return id;
        uncoveredList_[at] = uncoveredList_.back();
        uncoveredList_.pop_back();
    }
}

}  // namespace quillstep::cover
