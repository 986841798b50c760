#include "wheels/large_optimiser/annealing.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace quillstep::large {
namespace {

constexpr int64_t ROUND_MOVES = 20000;        // moves per round of falling acceptance
constexpr double FIRST_ACCEPTANCE = 0.3;      // of worse moves, at a round's start
constexpr double LAST_ACCEPTANCE = 0.002;     // and at its end
constexpr double TEMPERATURE_STEP = 0.05;     // how fast T follows the wanted acceptance
constexpr int PICKS_PER_MOVE = 16;            // tries to find a member one swap from covering x

class Annealer : public FixedSizeSearch<AnnealingSettings> {
public:
    using FixedSizeSearch::FixedSizeSearch;

    AnnealingOutcome run(const StopFlag& stop, const std::function<void(const std::vector<uint64_t>&)>& onBest) {
        AnnealingOutcome outcome;
        outcome.best = members_;
        coverage_.listUncovered(masks_, count_);
        for (;;) {
            while (coverage_.uncoveredCount() == 0) {
                outcome.best = members_;
                if (onBest) onBest(members_);
                if (members_.size() <= 1) return outcome;
                dropMemberCoveringLeastAlone(coverage_, members_);
            }
            if (stop.load(std::memory_order_relaxed)) break;
            if (settings_.moveBudget > 0 && outcome.moves >= settings_.moveBudget) break;
            ++outcome.moves;
            move(outcome.moves);
            if (settings_.recountEveryMove && !agreesWithRecount(coverage_, members_)) {
                outcome.mismatch = true;
                break;
            }
        }
        return outcome;
    }

private:
    void move(int64_t moveNumber) {
        const auto& uncovered = coverage_.uncovered();
        const uint64_t x = uncovered[random_.below(uncovered.size())].mask;
        size_t chosen = members_.size();
        int seen = 0;
        for (size_t i = 0; i < members_.size(); ++i)
            if (bitCount(members_[i] & x) == hits_ - 1 && random_.below(static_cast<uint64_t>(++seen)) == 0) chosen = i;
        if (chosen == members_.size()) return;  // no member one swap away: another x next time
        const uint64_t old = members_[chosen];
        uint64_t next = 0;
        int a = 0;
        int b = 0;
        for (int pick = 0; pick < PICKS_PER_MOVE; ++pick) {
            a = random_.numberOf(old & ~x);
            b = random_.numberOf(x & ~old);
            next = (old & ~(uint64_t{1} << a)) | uint64_t{1} << b;
            if ((settings_.anyCombination || coverage_.enumerator().index().isStored(next)) &&
                std::find(members_.begin(), members_.end(), next) == members_.end())
                break;
            next = 0;
        }
        if (next == 0) return;
        lost_.clear();
        gained_.clear();
        int64_t change = 0;
        coverage_.enumerator().forEachChange(
            old & ~(uint64_t{1} << a), a, b,
            [&](uint64_t mask, int32_t i) {
                lost_.push_back({mask, i});
                change += coverage_.count(i) == 1;
            },
            [&](uint64_t mask, int32_t i) {
                gained_.push_back({mask, i});
                change -= coverage_.count(i) == 0;
            });
        if (change > 0) {
            const bool accepted = random_.unit() < std::exp(-static_cast<double>(change) / temperature_);
            followAcceptance(accepted, moveNumber);
            if (!accepted) return;
        }
        for (const Stored& y : gained_) coverage_.increment(y);
        for (const Stored& y : lost_) coverage_.decrement(y);
        members_[chosen] = next;
    }

    // T falls when worse moves are taken more often than wanted, rises when less often.
    void followAcceptance(bool accepted, int64_t moveNumber) {
        const double roundShare = static_cast<double>(moveNumber % ROUND_MOVES) / ROUND_MOVES;
        const double wanted = FIRST_ACCEPTANCE * std::pow(LAST_ACCEPTANCE / FIRST_ACCEPTANCE, roundShare);
        temperature_ *= std::exp(TEMPERATURE_STEP * (wanted - (accepted ? 1.0 : 0.0)));
        temperature_ = std::max(temperature_, 1e-3);
    }

    double temperature_ = 2.0;
    std::vector<Stored> lost_;
    std::vector<Stored> gained_;
};

}  // namespace

AnnealingOutcome anneal(Coverage& coverage, const uint64_t* masks, int64_t count, std::vector<uint64_t> members,
                        const AnnealingSettings& settings, Random& random, const StopFlag& stop,
                        const std::function<void(const std::vector<uint64_t>&)>& onBest) {
    Annealer annealer(coverage, masks, count, std::move(members), settings, random);
    return annealer.run(stop, onBest);
}

}  // namespace quillstep::large
