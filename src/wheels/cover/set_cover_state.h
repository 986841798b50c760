#pragma once
// The state of a local search on a set cover given by explicit lists: candidates, each with a
// cost, cover targets; the chosen candidates are the members. Every target carries a weight,
// 1 at first, and raiseUncoveredWeights() adds 1 to the weight of every uncovered target, so
// that targets left uncovered for long come to count most. Scores follow from the weights:
//   loss(c), of a member: the weight of the targets only c covers;
//   gain(c), of any other candidate: the weight of the uncovered targets c covers.
//
// The invariant kept, for every target x and candidate c:
//   coverCount[x] = the members covering x; coverXor[x] = their indices xored together (the one
//   member covering x when coverCount[x] = 1); x is in the uncovered list when coverCount[x] = 0;
//   weight(x) = weightAt[x] while x is covered, weightAt[x] + raises - raisesAt[x] while not
//   (weightAt: its weight when it last changed between covered and uncovered);
//   loss[c] as above for a member; gain(c) = gainBase[c] + raises * uncoveredCount[c] for any
//   other candidate, uncoveredCount[c] its uncovered targets.
// So raising every uncovered target's weight costs nothing: only gainBase and uncoveredCount
// change, when one of the candidate's targets changes between covered and uncovered. add and
// remove touch the targets of the moved candidate and the candidates of the targets whose cover
// changes. recountMismatch checks all of it against a recount from scratch, with the weights kept
// plainly beside (Checked builds only: the tests).
//
// `Sets` gives targetCount(), candidateCount(), targetsOf(c), candidatesOf(x) (ranges of
// int32_t) and cost(c). The optimiser's covering relation (cost 1 each) and the orbit model (a
// ticket orbit costs its tickets) both run on this state; each search keeps its own heuristics.

#include <cstdint>
#include <string>
#include <vector>

namespace quillstep::cover {

// A set of indices with insertion, removal and random choice in constant time.
struct IndexSet {
    static constexpr int32_t ABSENT = -1;
    std::vector<int32_t> items;
    std::vector<int32_t> position;  // ABSENT when not in the set
    explicit IndexSet(size_t universe) : position(universe, ABSENT) {}
    bool holds(int32_t i) const { return position[static_cast<size_t>(i)] != ABSENT; }
    void insert(int32_t i) {
        position[static_cast<size_t>(i)] = static_cast<int32_t>(items.size());
        items.push_back(i);
    }
    void erase(int32_t i) {
        const int32_t at = position[static_cast<size_t>(i)];
        items[static_cast<size_t>(at)] = items.back();
        position[static_cast<size_t>(items[static_cast<size_t>(at)])] = at;
        items.pop_back();
        position[static_cast<size_t>(i)] = ABSENT;
    }
};

template <typename Sets, bool Checked = false>
class SetCoverState {
public:
    // No member: every target uncovered.
    explicit SetCoverState(const Sets& sets) : SetCoverState(sets, 0) {
        for (int32_t x = 0; x < sets.targetCount(); ++x) uncovered_.insert(x);
        for (int32_t c = 0; c < sets.candidateCount(); ++c) {
            int32_t count = 0;
            for (const int32_t x : sets.targetsOf(c)) {
                (void)x;
                ++count;
            }
            gainBase_[static_cast<size_t>(c)] = count;  // weight 1 - raises 0 for each
            uncoveredCount_[static_cast<size_t>(c)] = count;
        }
    }

    // The members `covering`, which must cover every target: every gain is 0.
    SetCoverState(const Sets& sets, const std::vector<int32_t>& covering) : SetCoverState(sets, 0) {
        for (const int32_t c : covering) {
            members_.insert(c);
            cost_ += sets.cost(c);
            for (const int32_t x : sets.targetsOf(c)) {
                ++coverCount_[static_cast<size_t>(x)];
                coverXor_[static_cast<size_t>(x)] ^= c;
            }
        }
        for (const int32_t c : covering)
            for (const int32_t x : sets.targetsOf(c))
                if (coverCount_[static_cast<size_t>(x)] == 1) loss_[static_cast<size_t>(c)] += weightAt_[static_cast<size_t>(x)];
    }

    const Sets& sets() const { return sets_; }
    const std::vector<int32_t>& members() const { return members_.items; }
    const std::vector<int32_t>& uncovered() const { return uncovered_.items; }
    bool isMember(int32_t c) const { return members_.holds(c); }
    int64_t cost() const { return cost_; }
    int64_t cost(int32_t c) const { return sets_.cost(c); }
    int64_t loss(int32_t c) const { return loss_[static_cast<size_t>(c)]; }
    int64_t gain(int32_t c) const {
        return gainBase_[static_cast<size_t>(c)] + raises_ * uncoveredCount_[static_cast<size_t>(c)];
    }
    // gain for a candidate, minus loss for a member: what taking it in or out adds to the
    // weight covered.
    int64_t score(int32_t c) const { return isMember(c) ? -loss(c) : gain(c); }
    int64_t weight(int32_t x) const {
        const size_t i = static_cast<size_t>(x);
        return coverCount_[i] == 0 ? weightAt_[i] + raises_ - raisesAt_[i] : weightAt_[i];
    }

    void add(int32_t candidate) {
        members_.insert(candidate);
        cost_ += sets_.cost(candidate);
        int64_t loss = 0;
        for (const int32_t x : sets_.targetsOf(candidate)) {
            const size_t i = static_cast<size_t>(x);
            const int32_t count = ++coverCount_[i];
            coverXor_[i] ^= candidate;
            if (count == 1) {
                uncovered_.erase(x);
                const int64_t base = weightAt_[i] - raisesAt_[i];
                weightAt_[i] = base + raises_;
                loss += weightAt_[i];
                for (const int32_t other : sets_.candidatesOf(x)) {
                    gainBase_[static_cast<size_t>(other)] -= base;
                    --uncoveredCount_[static_cast<size_t>(other)];
                }
            } else if (count == 2) {
                loss_[static_cast<size_t>(coverXor_[i] ^ candidate)] -= weightAt_[i];  // no longer the only one
            }
        }
        loss_[static_cast<size_t>(candidate)] = loss;
    }

    void remove(int32_t member) {
        members_.erase(member);
        cost_ -= sets_.cost(member);
        for (const int32_t x : sets_.targetsOf(member)) {
            const size_t i = static_cast<size_t>(x);
            const int32_t count = --coverCount_[i];
            coverXor_[i] ^= member;
            if (count == 0) {
                uncovered_.insert(x);
                raisesAt_[i] = raises_;
                for (const int32_t other : sets_.candidatesOf(x)) {
                    gainBase_[static_cast<size_t>(other)] += weightAt_[i] - raises_;
                    ++uncoveredCount_[static_cast<size_t>(other)];
                }
            } else if (count == 1) {
                loss_[static_cast<size_t>(coverXor_[i])] += weightAt_[i];  // now the only one
            }
        }
    }

    void raiseUncoveredWeights() {
        ++raises_;
        if constexpr (Checked)
            for (const int32_t x : uncovered_.items) ++plainWeight_[static_cast<size_t>(x)];
    }

    // "" while the state agrees with a recount from scratch (the weights as kept plainly), else
    // the first difference. Checked states only.
    std::string recountMismatch() const
        requires Checked
    {
        std::vector<int32_t> count(coverCount_.size(), 0), xored(coverCount_.size(), 0);
        int64_t cost = 0;
        for (const int32_t c : members_.items) {
            cost += sets_.cost(c);
            for (const int32_t x : sets_.targetsOf(c)) {
                ++count[static_cast<size_t>(x)];
                xored[static_cast<size_t>(x)] ^= c;
            }
        }
        if (cost != cost_) return "the cost is " + std::to_string(cost_) + ", recounted " + std::to_string(cost);
        for (int32_t x = 0; x < sets_.targetCount(); ++x) {
            const size_t i = static_cast<size_t>(x);
            if (count[i] != coverCount_[i])
                return "target " + std::to_string(x) + " is covered " + std::to_string(coverCount_[i]) +
                       " times, recounted " + std::to_string(count[i]);
            if (xored[i] != coverXor_[i]) return "target " + std::to_string(x) + " has the wrong members' xor";
            if ((count[i] == 0) != uncovered_.holds(x))
                return "target " + std::to_string(x) + " is wrongly " +
                       (count[i] == 0 ? "missing from" : "listed among") + " the uncovered";
            if (weight(x) != plainWeight_[i])
                return "target " + std::to_string(x) + " weighs " + std::to_string(weight(x)) + ", kept plainly " +
                       std::to_string(plainWeight_[i]);
        }
        for (int32_t c = 0; c < sets_.candidateCount(); ++c) {
            const bool member = isMember(c);
            int64_t expected = 0;
            for (const int32_t x : sets_.targetsOf(c))
                if (count[static_cast<size_t>(x)] == (member ? 1 : 0)) expected += plainWeight_[static_cast<size_t>(x)];
            const int64_t kept = member ? loss(c) : gain(c);
            if (kept != expected)
                return std::string(member ? "member " : "candidate ") + std::to_string(c) + " has " +
                       (member ? "loss " : "gain ") + std::to_string(kept) + ", recounted " + std::to_string(expected);
        }
        return "";
    }

private:
    SetCoverState(const Sets& sets, int)
        : sets_(sets),
          members_(static_cast<size_t>(sets.candidateCount())),
          uncovered_(static_cast<size_t>(sets.targetCount())),
          coverCount_(static_cast<size_t>(sets.targetCount()), 0),
          coverXor_(static_cast<size_t>(sets.targetCount()), 0),
          weightAt_(static_cast<size_t>(sets.targetCount()), 1),
          raisesAt_(static_cast<size_t>(sets.targetCount()), 0),
          loss_(static_cast<size_t>(sets.candidateCount()), 0),
          gainBase_(static_cast<size_t>(sets.candidateCount()), 0),
          uncoveredCount_(static_cast<size_t>(sets.candidateCount()), 0) {
        if constexpr (Checked) plainWeight_.assign(static_cast<size_t>(sets.targetCount()), 1);
    }

    const Sets& sets_;
    IndexSet members_;
    IndexSet uncovered_;
    std::vector<int32_t> coverCount_;
    std::vector<int32_t> coverXor_;
    std::vector<int64_t> weightAt_;
    std::vector<int64_t> raisesAt_;
    std::vector<int64_t> loss_;      // of members
    std::vector<int64_t> gainBase_;  // of other candidates, with uncoveredCount_: see gain()
    std::vector<int32_t> uncoveredCount_;
    std::vector<int64_t> plainWeight_;  // Checked only
    int64_t cost_ = 0;
    int64_t raises_ = 0;
};

}  // namespace quillstep::cover
