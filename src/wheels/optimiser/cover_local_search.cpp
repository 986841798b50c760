#include "wheels/optimiser/cover_local_search.h"

#include "wheels/random.h"

namespace quillstep {
namespace {

constexpr int32_t NONE = -1;
constexpr int64_t PUBLISH_INTERVAL = 256;  // steps between two updates of the published counters

// A set of indices with constant-time insertion, removal and random choice.
struct IndexSet {
    std::vector<int32_t> items;
    std::vector<int32_t> position;  // NONE when absent
    explicit IndexSet(size_t universe) : position(universe, NONE) {}
    void insert(int32_t i) {
        position[i] = static_cast<int32_t>(items.size());
        items.push_back(i);
    }
    void erase(int32_t i) {
        const int32_t at = position[i];
        items[at] = items.back();
        position[items[at]] = at;
        items.pop_back();
        position[i] = NONE;
    }
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
          relation_(relation),
          coverCount_(relation.targetCount, 0),
          coverXor_(relation.targetCount, 0),
          weight_(relation.targetCount, 1),
          uncoveredSince_(relation.targetCount, 0),
          loss_(relation.candidateCount, 0),
          gainBase_(relation.candidateCount, 0),
          uncoveredCount_(relation.candidateCount, 0),
          lastMoved_(relation.candidateCount, 0),
          members_(relation.candidateCount),
          uncovered_(relation.targetCount),
          random_{seed} {
        for (const int32_t m : start) {
            members_.insert(m);
            for (const int32_t x : relation.targetsOf(m)) {
                ++coverCount_[x];
                coverXor_[x] ^= m;
            }
        }
        for (const int32_t m : start)
            for (const int32_t x : relation.targetsOf(m)) loss_[m] += coverCount_[x] == 1 ? weight_[x] : 0;
        if constexpr (Checked) plainWeight_.assign(relation.targetCount, 1);
    }

    LocalSearchOutcome run(int64_t stepBudget, const StopFlag& stop, LocalSearchProgress& progress) {
        LocalSearchOutcome outcome;
        int32_t lastAdded = NONE;
        for (;;) {
            while (uncovered_.items.empty()) {
                outcome.best = members_.items;
                progress.bestSize.store(static_cast<int32_t>(outcome.best.size()));
                if (members_.items.size() <= 1) return finish(outcome, progress);
                remove(leastLossMember(NONE));
                if (!agreesWithRecount("a member dropped from a covering system", outcome.steps))
                    return finish(outcome, progress);
            }
            if ((stepBudget > 0 && outcome.steps >= stepBudget) || stop.load(std::memory_order_relaxed)) break;
            ++outcome.steps;
            const int32_t dropped = leastLossMember(lastAdded);
            remove(dropped);
            lastMoved_[dropped] = outcome.steps;
            if (!agreesWithRecount("the member dropped by a step", outcome.steps)) break;
            const int32_t target = uncovered_.items[random_.below(uncovered_.items.size())];
            lastAdded = bestCandidateFor(target, dropped);
            add(lastAdded);
            lastMoved_[lastAdded] = outcome.steps;
            ++raises_;  // every uncovered target's weight grows by 1
            if constexpr (Checked) raisePlainWeights();
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

    // Weights grow only while their targets are uncovered, by 1 per step for all of them at
    // once. So an uncovered target's weight is its weight when it was uncovered plus the raises
    // since, and a candidate's gain, the sum over its uncovered targets, is
    //   sum(weight - raises then) + raises now * (its uncovered targets),
    // two values that change only when one of its targets changes between covered and
    // uncovered: raising every uncovered target's weight costs nothing.
    int64_t gain(int32_t candidate) const { return gainBase_[candidate] + raises_ * uncoveredCount_[candidate]; }

    void add(int32_t candidate) {
        members_.insert(candidate);
        int64_t loss = 0;
        for (const int32_t x : relation_.targetsOf(candidate)) {
            const int32_t count = ++coverCount_[x];
            coverXor_[x] ^= candidate;
            if (count == 1) {
                uncovered_.erase(x);
                const int64_t base = weight_[x] - uncoveredSince_[x];
                weight_[x] = base + raises_;
                loss += weight_[x];
                for (const int32_t other : relation_.candidatesOf(x)) {
                    gainBase_[other] -= base;
                    --uncoveredCount_[other];
                }
            } else if (count == 2) {
                loss_[coverXor_[x] ^ candidate] -= weight_[x];  // no longer the only one
            }
        }
        loss_[candidate] = loss;
    }

    void remove(int32_t member) {
        members_.erase(member);
        for (const int32_t x : relation_.targetsOf(member)) {
            const int32_t count = --coverCount_[x];
            coverXor_[x] ^= member;
            if (count == 0) {
                uncovered_.insert(x);
                uncoveredSince_[x] = raises_;
                for (const int32_t other : relation_.candidatesOf(x)) {
                    gainBase_[other] += weight_[x] - raises_;
                    ++uncoveredCount_[other];
                }
            } else if (count == 1) {
                loss_[coverXor_[x]] += weight_[x];  // now the only one
            }
        }
    }

    int32_t leastLossMember(int32_t forbidden) const {
        int32_t best = NONE;
        for (const int32_t m : members_.items) {
            if (m == forbidden) continue;
            if (best == NONE || loss_[m] < loss_[best] || (loss_[m] == loss_[best] && lastMoved_[m] < lastMoved_[best]))
                best = m;
        }
        return best == NONE ? members_.items.front() : best;
    }

    int32_t bestCandidateFor(int32_t target, int32_t forbidden) const {
        int32_t best = NONE;
        int64_t bestGain = 0;
        for (const int32_t c : relation_.candidatesOf(target)) {
            if (c == forbidden) continue;
            const int64_t g = gain(c);
            if (best == NONE || g > bestGain || (g == bestGain && lastMoved_[c] < lastMoved_[best])) {
                best = c;
                bestGain = g;
            }
        }
        return best == NONE ? forbidden : best;
    }

    // The plain model of the weights: every target still uncovered after a step gains 1.
    void raisePlainWeights() {
        for (const int32_t x : uncovered_.items) ++plainWeight_[x];
    }

    // Whether the incremental bookkeeping equals a recount from scratch; records the first
    // difference in the audit. Always true in the unchecked search.
    bool agreesWithRecount(const char* afterMove, int64_t step) {
        if constexpr (!Checked) {
            return true;
        } else {
            const std::string mismatch = recountMismatch();
            ++audit_->movesChecked;
            if (mismatch.empty()) return true;
            audit_->firstMismatch = "after " + std::string(afterMove) + " at step " + std::to_string(step) + ": " + mismatch;
            return false;
        }
    }

    std::string recountMismatch() const {
        std::vector<int32_t> count(relation_.targetCount, 0);
        for (const int32_t m : members_.items)
            for (const int32_t x : relation_.targetsOf(m)) ++count[x];
        for (int32_t x = 0; x < relation_.targetCount; ++x) {
            if (count[x] != coverCount_[x])
                return "target " + std::to_string(x) + " is covered " + std::to_string(coverCount_[x]) +
                       " times, recounted " + std::to_string(count[x]);
            if ((count[x] == 0) != (uncovered_.position[x] != NONE))
                return "target " + std::to_string(x) + " is wrongly " +
                       (count[x] == 0 ? "missing from" : "listed among") + " the uncovered";
        }
        for (int32_t c = 0; c < relation_.candidateCount; ++c) {
            const bool member = members_.position[c] != NONE;
            int64_t expected = 0;
            for (const int32_t x : relation_.targetsOf(c))
                if (count[x] == (member ? 1 : 0)) expected += plainWeight_[x];
            const int64_t kept = member ? loss_[c] : gain(c);
            if (kept != expected)
                return std::string(member ? "member " : "candidate ") + std::to_string(c) + " has " +
                       (member ? "loss " : "gain ") + std::to_string(kept) + ", recounted " + std::to_string(expected);
        }
        return "";
    }

    LocalSearchAudit* audit_;
    std::vector<int64_t> plainWeight_;  // checked search only
    const CoverRelation& relation_;
    std::vector<int32_t> coverCount_;
    std::vector<int32_t> coverXor_;        // XOR of the covering members: the member itself when only one covers
    std::vector<int64_t> weight_;          // of a covered target; of an uncovered one, when it was uncovered
    std::vector<int64_t> uncoveredSince_;  // raises_ when the target was last uncovered
    std::vector<int64_t> loss_;            // of members
    std::vector<int64_t> gainBase_;        // of other candidates, with uncoveredCount_: see gain()
    std::vector<int32_t> uncoveredCount_;
    std::vector<int64_t> lastMoved_;
    IndexSet members_;
    IndexSet uncovered_;
    Random random_;
    int64_t raises_ = 0;
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
