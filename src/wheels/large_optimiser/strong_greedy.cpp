#include "wheels/large_optimiser/strong_greedy.h"

#include <algorithm>
#include <bit>

#include "wheels/large_optimiser/sample_pass.h"

namespace quillstep::large {
namespace {

constexpr int MAX_CLIMB_STEPS = 12;

class Greedy {
public:
    Greedy(Coverage& coverage, const uint64_t* masks, int64_t count, const GreedySettings& settings, Random& random)
        : coverage_(coverage), masks_(masks), count_(count), settings_(settings), random_(random),
          hits_(coverage.enumerator().hits()), allNumbers_(coverage.enumerator().allNumbers()) {}

    bool run(std::vector<uint64_t>& members, const StopFlag& stop) {
        while (coverage_.uncoveredCount() > 0) {
            if (stop.load(std::memory_order_relaxed)) return false;
            if (settings_.abandon != nullptr && settings_.abandon->load(std::memory_order_relaxed)) return false;
            refreshSample();
            uint64_t best = 0;
            int64_t bestGain = -1;
            for (int c = 0; c < std::max(1, settings_.climbs); ++c) {
                const uint64_t u = sample_[random_.below(sample_.size())];
                int64_t gain = 0;
                const uint64_t candidate = climb(u, gain);
                if (gain > bestGain) {
                    bestGain = gain;
                    best = candidate;
                }
            }
            coverage_.add(best);
            members.push_back(best);
            size_t kept = 0;
            for (const uint64_t s : sample_)
                if (bitCount(s & best) < hits_) sample_[kept++] = s;
            sample_.resize(kept);
        }
        return true;
    }

private:
    bool uncovered(uint64_t mask) const {
        return coverage_.count(coverage_.enumerator().index().indexOf(mask)) == 0;
    }

    void refreshSample() {
        if (exact_) return;
        if (coverage_.uncoveredCount() <= settings_.sampleSize) {
            sample_.clear();
            for (int64_t j = 0; j < count_; ++j)
                if (uncovered(masks_[j])) sample_.push_back(masks_[j]);
            exact_ = true;
            return;
        }
        if (static_cast<int64_t>(sample_.size()) >= settings_.sampleSize / 2) return;
        sample_.clear();
        while (static_cast<int64_t>(sample_.size()) < settings_.sampleSize) {
            const uint64_t mask = masks_[random_.below(static_cast<uint64_t>(count_))];
            if (uncovered(mask)) sample_.push_back(mask);
        }
    }

    // The climb from u: its summit, and the summit's gain on the sample.
    uint64_t climb(uint64_t u, int64_t& gain) {
        uint64_t c = u;
        for (int step = 0;; ++step) {
            countSwaps(sample_.data(), sample_.size(), c, hits_, counts_);
            if (step == MAX_CLIMB_STEPS) break;
            int numbers[NUMBERS_PER_COMBINATION];
            int n = 0;
            for (uint64_t rest = c; rest != 0; rest &= rest - 1) numbers[n++] = std::countr_zero(rest);
            int32_t bestChange = 0;
            uint64_t bestNext = 0;
            int ties = 0;
            for (int p = 0; p < NUMBERS_PER_COMBINATION; ++p)
                for (uint64_t in = allNumbers_ & ~c; in != 0; in &= in - 1) {
                    const int b = std::countr_zero(in);
                    const int32_t change = counts_.change(p, b);
                    if (change <= 0 || change < bestChange) continue;
                    const uint64_t next = (c & ~(uint64_t{1} << numbers[p])) | uint64_t{1} << b;
                    if (bitCount(next & u) < hits_) continue;
                    if (!settings_.anyCombination && !coverage_.enumerator().index().isStored(next)) continue;
                    if (change > bestChange) {
                        bestChange = change;
                        ties = 0;
                    }
                    if (random_.below(static_cast<uint64_t>(++ties)) == 0) bestNext = next;
                }
            if (bestChange == 0) break;
            c = bestNext;
        }
        gain = counts_.covered;
        return c;
    }

    Coverage& coverage_;
    const uint64_t* masks_;
    const int64_t count_;
    const GreedySettings& settings_;
    Random& random_;
    const int hits_;
    const uint64_t allNumbers_;
    std::vector<uint64_t> sample_;
    bool exact_ = false;
    SwapCounts counts_;
};

}  // namespace

bool completeGreedily(Coverage& coverage, const uint64_t* masks, int64_t count, std::vector<uint64_t>& members,
                      const GreedySettings& settings, Random& random, const StopFlag& stop) {
    Greedy greedy(coverage, masks, count, settings, random);
    if (!greedy.run(members, stop)) return false;
    removeRedundant(coverage, members, &stop);
    return true;
}

void removeRedundant(Coverage& coverage, std::vector<uint64_t>& members, const StopFlag* stop) {
    for (size_t i = members.size(); i-- > 0;) {
        if (stop != nullptr && stop->load()) return;
        if (coverage.soleCover(members[i]) != 0) continue;
        coverage.remove(members[i]);
        members.erase(members.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

}  // namespace quillstep::large
