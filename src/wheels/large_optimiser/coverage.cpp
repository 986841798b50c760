#include "wheels/large_optimiser/coverage.h"

namespace quillstep::large {

Coverage::Coverage(const StoredIndex& index, int hits)
    : enumerator_(index, hits), counts_(static_cast<size_t>(index.storedCount()), 0), uncovered_(index.storedCount()) {}

void Coverage::increment(const Stored& x) {
    uint8_t& c = counts_[static_cast<size_t>(x.index)];
    if (c == 0) {
        --uncovered_;
        if (listed_) {
            const int32_t at = position_[static_cast<size_t>(x.index)];
            list_[static_cast<size_t>(at)] = list_.back();
            position_[static_cast<size_t>(list_[static_cast<size_t>(at)].index)] = at;
            list_.pop_back();
        }
    }
    if (c < SATURATED - 1) {
        ++c;
    } else if (c == SATURATED - 1) {
        c = SATURATED;
        over_[x.index] = SATURATED;
    } else {
        ++over_[x.index];
    }
}

void Coverage::decrement(const Stored& x) {
    uint8_t& c = counts_[static_cast<size_t>(x.index)];
    if (c == SATURATED) {
        const int32_t left = --over_[x.index];
        if (left < SATURATED) {
            over_.erase(x.index);
            c = static_cast<uint8_t>(left);
        }
        return;
    }
    if (--c == 0) {
        ++uncovered_;
        if (listed_) {
            position_[static_cast<size_t>(x.index)] = static_cast<int32_t>(list_.size());
            list_.push_back(x);
        }
    }
}

int64_t Coverage::add(uint64_t member) {
    const int64_t before = uncovered_;
    enumerator_.forEachCovered(member, [&](uint64_t mask, int32_t i) { increment({mask, i}); });
    return before - uncovered_;
}

int64_t Coverage::remove(uint64_t member) {
    const int64_t before = uncovered_;
    enumerator_.forEachCovered(member, [&](uint64_t mask, int32_t i) { decrement({mask, i}); });
    return uncovered_ - before;
}

int64_t Coverage::soleCover(uint64_t member) {
    int64_t sole = 0;
    enumerator_.forEachCovered(member, [&](uint64_t, int32_t i) { sole += counts_[static_cast<size_t>(i)] == 1; });
    return sole;
}

void Coverage::listUncovered(const uint64_t* masks, int64_t count) {
    if (listed_) return;
    listed_ = true;
    position_.assign(counts_.size(), -1);
    list_.clear();
    const StoredIndex& index = enumerator_.index();
    for (int64_t j = 0; j < count; ++j) {
        const int32_t i = index.indexOf(masks[j]);
        if (counts_[static_cast<size_t>(i)] == 0) {
            position_[static_cast<size_t>(i)] = static_cast<int32_t>(list_.size());
            list_.push_back({masks[j], i});
        }
    }
}

void dropMemberCoveringLeastAlone(Coverage& coverage, std::vector<uint64_t>& members) {
    size_t weakest = 0;
    int64_t least = -1;
    for (size_t i = 0; i < members.size(); ++i) {
        const int64_t sole = coverage.soleCover(members[i]);
        if (least < 0 || sole < least) {
            least = sole;
            weakest = i;
        }
    }
    coverage.remove(members[weakest]);
    members.erase(members.begin() + static_cast<std::ptrdiff_t>(weakest));
}

bool agreesWithRecount(Coverage& coverage, const std::vector<uint64_t>& members) {
    Coverage fresh(coverage.enumerator().index(), coverage.enumerator().hits());
    for (const uint64_t m : members) fresh.add(m);
    if (fresh.uncoveredCount() != coverage.uncoveredCount()) return false;
    if (static_cast<int64_t>(coverage.uncovered().size()) != coverage.uncoveredCount()) return false;
    for (int32_t i = 0; i < static_cast<int32_t>(fresh.storedCount()); ++i)
        if (fresh.count(i) != coverage.count(i)) return false;
    return true;
}

}  // namespace quillstep::large
