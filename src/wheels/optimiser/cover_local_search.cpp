#include "wheels/optimiser/cover_local_search.h"

#include "wheels/cover/set_cover_state.h"
#include "wheels/random.h"

namespace quillstep {
namespace {

constexpr int32_t NONE = -1;
constexpr int64_t PUBLISH_INTERVAL = 256;  // steps between two updates of the published counters

// The covering relation as the sets of a set cover: every candidate costs one member.
struct RelationSets {
    const CoverRelation& relation;
    int32_t targetCount() const { return relation.targetCount; }
    int32_t candidateCount() const { return relation.candidateCount; }
    IndexList targetsOf(int32_t candidate) const { return relation.targetsOf(candidate); }
    IndexList candidatesOf(int32_t target) const { return relation.candidatesOf(target); }
    int64_t cost(int32_t) const { return 1; }
};

// Checked: every move is followed by a recount from scratch (improveSystemChecked); otherwise no
// trace of the check is compiled in.
template <bool Checked>
class Search {
public:
    // `start` covers every target: every gain is 0, and a member's loss is the count of the
    // targets only it covers.
    Search(const CoverRelation& relation, const std::vector<int32_t>& start, uint64_t seed,
           LocalSearchAudit* audit = nullptr)
        : audit_(audit),
          sets_{relation},
          state_(sets_, start),
          lastMoved_(static_cast<size_t>(relation.candidateCount), 0),
          random_{seed} {}

    LocalSearchOutcome run(int64_t stepBudget, const StopFlag& stop, LocalSearchProgress& progress) {
        LocalSearchOutcome outcome;
        int32_t lastAdded = NONE;
        for (;;) {
            while (state_.uncovered().empty()) {
                outcome.best = state_.members();
                progress.bestSize.store(static_cast<int32_t>(outcome.best.size()));
                if (state_.members().size() <= 1) return finish(outcome, progress);
                state_.remove(leastLossMember(NONE));
                if (!agreesWithRecount("a member dropped from a covering system", outcome.steps))
                    return finish(outcome, progress);
            }
            if ((stepBudget > 0 && outcome.steps >= stepBudget) || stop.load(std::memory_order_relaxed)) break;
            ++outcome.steps;
            const int32_t dropped = leastLossMember(lastAdded);
            state_.remove(dropped);
            lastMoved_[static_cast<size_t>(dropped)] = outcome.steps;
            if (!agreesWithRecount("the member dropped by a step", outcome.steps)) break;
            const std::vector<int32_t>& uncovered = state_.uncovered();
            const int32_t target = uncovered[random_.below(uncovered.size())];
            lastAdded = bestCandidateFor(target, dropped);
            state_.add(lastAdded);
            lastMoved_[static_cast<size_t>(lastAdded)] = outcome.steps;
            state_.raiseUncoveredWeights();
            if (!agreesWithRecount("the candidate added by a step", outcome.steps)) break;
            if (outcome.steps % PUBLISH_INTERVAL == 0) progress.steps.store(outcome.steps);
        }
        return finish(outcome, progress);
    }

private:
    static LocalSearchOutcome& finish(LocalSearchOutcome& outcome, LocalSearchProgress& progress) {
        progress.steps.store(outcome.steps);
        return outcome;
    }

    int64_t lastMoved(int32_t c) const { return lastMoved_[static_cast<size_t>(c)]; }

    int32_t leastLossMember(int32_t forbidden) const {
        int32_t best = NONE;
        for (const int32_t m : state_.members()) {
            if (m == forbidden) continue;
            if (best == NONE || state_.loss(m) < state_.loss(best) ||
                (state_.loss(m) == state_.loss(best) && lastMoved(m) < lastMoved(best)))
                best = m;
        }
        return best == NONE ? state_.members().front() : best;
    }

    int32_t bestCandidateFor(int32_t target, int32_t forbidden) const {
        int32_t best = NONE;
        int64_t bestGain = 0;
        for (const int32_t c : sets_.candidatesOf(target)) {
            if (c == forbidden) continue;
            const int64_t g = state_.gain(c);
            if (best == NONE || g > bestGain || (g == bestGain && lastMoved(c) < lastMoved(best))) {
                best = c;
                bestGain = g;
            }
        }
        return best == NONE ? forbidden : best;
    }

    // Whether the incremental bookkeeping equals a recount from scratch; records the first
    // difference in the audit. Always true in the unchecked search.
    bool agreesWithRecount(const char* afterMove, int64_t step) {
        if constexpr (!Checked) {
            return true;
        } else {
            const std::string mismatch = state_.recountMismatch();
            ++audit_->movesChecked;
            if (mismatch.empty()) return true;
            audit_->firstMismatch = "after " + std::string(afterMove) + " at step " + std::to_string(step) + ": " + mismatch;
            return false;
        }
    }

    LocalSearchAudit* audit_;
    RelationSets sets_;
    cover::SetCoverState<RelationSets, Checked> state_;
    std::vector<int64_t> lastMoved_;
    Random random_;
};

}  // namespace

LocalSearchOutcome improveSystem(const CoverRelation& relation, const std::vector<int32_t>& start, uint64_t seed,
                                 int64_t stepBudget, const StopFlag& stop, LocalSearchProgress& progress) {
    Search<false> search(relation, start, seed);
    return search.run(stepBudget, stop, progress);
}

LocalSearchOutcome improveSystemChecked(const CoverRelation& relation, const std::vector<int32_t>& start,
                                        uint64_t seed, int64_t stepBudget, LocalSearchAudit& audit) {
    const StopFlag noStop;
    LocalSearchProgress progress;
    Search<true> search(relation, start, seed, &audit);
    return search.run(stepBudget, noStop, progress);
}

}  // namespace quillstep
