#include "wheels/optimiser/cover_local_search.h"

namespace quillstep {
namespace {

constexpr int32_t NONE = -1;
constexpr int64_t PUBLISH_INTERVAL = 256;  // steps between two updates of the published counters

struct Random {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int32_t below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint64_t>(n)); }
};

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

class Search {
public:
    // `start` covers every target: every gain is 0, and a member's loss is the count of the
    // targets only it covers.
    Search(const CoverRelation& relation, const std::vector<int32_t>& start, uint64_t seed)
        : relation_(relation),
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
    }

    LocalSearchOutcome run(int64_t stepBudget, const std::atomic<bool>& stop, LocalSearchProgress& progress) {
        LocalSearchOutcome outcome;
        int32_t lastAdded = NONE;
        for (;;) {
            while (uncovered_.items.empty()) {
                outcome.best = members_.items;
                progress.bestSize.store(static_cast<int32_t>(outcome.best.size()));
                if (members_.items.size() <= 1) return finish(outcome, progress);
                remove(leastLossMember(NONE));
            }
            if ((stepBudget > 0 && outcome.steps >= stepBudget) || stop.load(std::memory_order_relaxed)) break;
            ++outcome.steps;
            const int32_t dropped = leastLossMember(lastAdded);
            remove(dropped);
            lastMoved_[dropped] = outcome.steps;
            const int32_t target = uncovered_.items[random_.below(static_cast<int32_t>(uncovered_.items.size()))];
            lastAdded = bestCandidateFor(target, dropped);
            add(lastAdded);
            lastMoved_[lastAdded] = outcome.steps;
            ++raises_;  // every uncovered target's weight grows by 1
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

uint64_t mixSeed(uint64_t seed, uint64_t searchNumber) {
    Random random{seed ^ (searchNumber * 0xD1B54A32D192ED03ull)};
    random.next();
    return random.next();
}

LocalSearchOutcome improveSystem(const CoverRelation& relation, const std::vector<int32_t>& start, uint64_t seed,
                                 int64_t stepBudget, const std::atomic<bool>& stop, LocalSearchProgress& progress) {
    Search search(relation, start, seed);
    return search.run(stepBudget, stop, progress);
}

}  // namespace quillstep
