#include "wheels/cover/orbit_search.h"

#include <algorithm>
#include <limits>

namespace quillstep::cover {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t STEPS_BETWEEN_LOOKS = 256;
// The orbit models tried: sets of either kind and cover-list entries at most.
constexpr int64_t MOST_ORBIT_SETS = 2'000'000;
constexpr int64_t MOST_ORBIT_ENTRIES = 20'000'000;
// Elements a group may leave fixed.
constexpr int MOST_FIXED_ELEMENTS = 3;

// A list with removal in constant time: each member knows its place.
class IndexedList {
public:
    explicit IndexedList(size_t universe) : place_(universe, -1) {}
    void add(int32_t item) {
        place_[static_cast<size_t>(item)] = static_cast<int32_t>(items_.size());
        items_.push_back(item);
    }
    void remove(int32_t item) {
        const int32_t at = place_[static_cast<size_t>(item)];
        items_[static_cast<size_t>(at)] = items_.back();
        place_[static_cast<size_t>(items_.back())] = at;
        items_.pop_back();
        place_[static_cast<size_t>(item)] = -1;
    }
    const std::vector<int32_t>& items() const { return items_; }
    size_t size() const { return items_.size(); }

private:
    std::vector<int32_t> items_;
    std::vector<int32_t> place_;
};

class WeightedCover {
public:
    explicit WeightedCover(const OrbitModel& orbits)
        : orbits_(orbits), chosen_(static_cast<size_t>(orbits.ticketOrbits())),
          uncovered_(static_cast<size_t>(orbits.targetOrbits())),
          isChosen_(static_cast<size_t>(orbits.ticketOrbits()), 0),
          coverCount_(static_cast<size_t>(orbits.targetOrbits()), 0),
          coverXor_(static_cast<size_t>(orbits.targetOrbits()), 0),
          weight_(static_cast<size_t>(orbits.targetOrbits()), 1),
          score_(static_cast<size_t>(orbits.ticketOrbits()), 0),
          stamp_(static_cast<size_t>(orbits.ticketOrbits()), 0),
          canAdd_(static_cast<size_t>(orbits.ticketOrbits()), 1) {
        for (int32_t i = 0; i < static_cast<int32_t>(orbits.targetOrbits()); ++i) uncovered_.add(i);
        for (size_t j = 0; j < score_.size(); ++j) score_[j] = static_cast<int64_t>(orbits.covers[j].size());
    }

    int64_t cost() const { return cost_; }
    size_t uncovered() const { return uncovered_.size(); }
    const std::vector<int32_t>& chosen() const { return chosen_.items(); }
    int64_t orbitCost(int32_t j) const { return orbits_.ticketOrbitSize[static_cast<size_t>(j)]; }
    int64_t score(int32_t j) const { return score_[static_cast<size_t>(j)]; }
    bool isChosen(int32_t j) const { return isChosen_[static_cast<size_t>(j)] != 0; }
    int32_t randomUncovered(Random& random) const {
        return uncovered_.items()[random.below(uncovered_.size())];
    }

    void add(int32_t j) {
        isChosen_[static_cast<size_t>(j)] = 1;
        markNeighbours(j);
        chosen_.add(j);
        cost_ += orbitCost(j);
        for (const int32_t i : orbits_.covers[static_cast<size_t>(j)]) {
            const size_t row = static_cast<size_t>(i);
            if (coverCount_[row] == 0) {
                for (const int32_t c : orbits_.coveredBy[row])
                    if (c != j) score_[static_cast<size_t>(c)] -= weight_[row];
                uncovered_.remove(i);
            } else if (coverCount_[row] == 1) {
                score_[static_cast<size_t>(coverXor_[row])] += weight_[row];
            }
            ++coverCount_[row];
            coverXor_[row] ^= j;
        }
        score_[static_cast<size_t>(j)] = -score_[static_cast<size_t>(j)];
    }

    void remove(int32_t j) {
        isChosen_[static_cast<size_t>(j)] = 0;
        markNeighbours(j);
        if (configurations_) canAdd_[static_cast<size_t>(j)] = 0;
        chosen_.remove(j);
        cost_ -= orbitCost(j);
        for (const int32_t i : orbits_.covers[static_cast<size_t>(j)]) {
            const size_t row = static_cast<size_t>(i);
            --coverCount_[row];
            coverXor_[row] ^= j;
            if (coverCount_[row] == 0) {
                for (const int32_t c : orbits_.coveredBy[row])
                    if (c != j) score_[static_cast<size_t>(c)] += weight_[row];
                uncovered_.add(i);
            } else if (coverCount_[row] == 1) {
                score_[static_cast<size_t>(coverXor_[row])] -= weight_[row];
            }
        }
        score_[static_cast<size_t>(j)] = -score_[static_cast<size_t>(j)];
    }

    // Every uncovered target orbit gains one weight.
    void weighUncovered() {
        for (const int32_t i : uncovered_.items()) {
            ++weight_[static_cast<size_t>(i)];
            for (const int32_t c : orbits_.coveredBy[static_cast<size_t>(i)]) ++score_[static_cast<size_t>(c)];
        }
    }

    bool canAdd(int32_t j) const { return canAdd_[static_cast<size_t>(j)] != 0; }
    void useConfigurations() { configurations_ = true; }

    int64_t stamp(int32_t j) const { return stamp_[static_cast<size_t>(j)]; }
    void setStamp(int32_t j, int64_t step) { stamp_[static_cast<size_t>(j)] = step; }

    bool agreesWithRecount() const {
        std::vector<int32_t> count(coverCount_.size(), 0), xored(coverCount_.size(), 0);
        int64_t cost = 0;
        for (const int32_t j : chosen_.items()) {
            cost += orbitCost(j);
            for (const int32_t i : orbits_.covers[static_cast<size_t>(j)]) {
                ++count[static_cast<size_t>(i)];
                xored[static_cast<size_t>(i)] ^= j;
            }
        }
        if (cost != cost_ || count != coverCount_ || xored != coverXor_) return false;
        size_t uncovered = 0;
        for (const int32_t c : count) uncovered += c == 0;
        if (uncovered != uncovered_.size()) return false;
        for (size_t j = 0; j < score_.size(); ++j) {
            int64_t expected = 0;
            for (const int32_t i : orbits_.covers[j]) {
                const size_t row = static_cast<size_t>(i);
                if (!isChosen_[j] && count[row] == 0) expected += weight_[row];
                if (isChosen_[j] && count[row] == 1) expected -= weight_[row];
            }
            if (expected != score_[j]) return false;
        }
        return true;
    }

private:
    // A ticket orbit removed may come back only once an orbit sharing a target orbit with it has
    // been added or removed since (configuration checking: no return to a state just left).
    void markNeighbours(int32_t j) {
        if (!configurations_) return;
        for (const int32_t i : orbits_.covers[static_cast<size_t>(j)])
            for (const int32_t c : orbits_.coveredBy[static_cast<size_t>(i)]) canAdd_[static_cast<size_t>(c)] = 1;
    }

    const OrbitModel& orbits_;
    IndexedList chosen_;
    IndexedList uncovered_;
    std::vector<uint8_t> isChosen_;
    std::vector<int32_t> coverCount_;
    std::vector<int32_t> coverXor_;
    std::vector<int64_t> weight_;
    std::vector<int64_t> score_;
    std::vector<int64_t> stamp_;
    std::vector<uint8_t> canAdd_;
    bool configurations_ = false;
    int64_t cost_ = 0;
};

// Whether orbit a is the better choice than b by score per ticket, the older (smaller stamp) on
// a tie.
bool betterPerTicket(const WeightedCover& state, int32_t a, int32_t b) {
    const int64_t left = state.score(a) * state.orbitCost(b), right = state.score(b) * state.orbitCost(a);
    if (left != right) return left > right;
    return state.stamp(a) < state.stamp(b);
}

int32_t bestChosen(const WeightedCover& state, int32_t excluded) {
    int32_t best = -1;
    for (const int32_t j : state.chosen())
        if (j != excluded && (best < 0 || betterPerTicket(state, j, best))) best = j;
    return best;
}

}  // namespace

OrbitCovering searchOrbitCovering(const OrbitModel& orbits, Random& random, const OrbitSearchSettings& settings,
                                  const StopFlag& stop, int64_t toBeat) {
    OrbitCovering result;
    if (orbits.targetOrbits() == 0 || orbits.ticketOrbits() == 0) return result;
    int64_t bestCost = toBeat > 0 ? toBeat : std::numeric_limits<int64_t>::max();
    const int64_t stall = std::max<int64_t>(settings.fewestStallSteps, settings.stallStepsPerOrbit * orbits.ticketOrbits());
    int64_t step = 0;
    bool ended = false;
    const auto ends = [&] {
        ++step;
        if (settings.stepBudget > 0 && step > settings.stepBudget) return true;
        return step % STEPS_BETWEEN_LOOKS == 0 &&
               (stop.load(std::memory_order_relaxed) || Clock::now() >= settings.deadline);
    };
    // Runs from a fresh greedy covering, each until it has found nothing cheaper for `stall` steps.
    while (!ended) {
        WeightedCover state(orbits);
        if (settings.configurationChecking) state.useConfigurations();
        // The greedy covering: for a random uncovered target orbit, the orbit covering it with the
        // most gain per ticket.
        while (state.uncovered() > 0) {
            if (stop.load(std::memory_order_relaxed)) return result;
            const int32_t row = state.randomUncovered(random);
            int32_t best = -1;
            for (const int32_t c : orbits.coveredBy[static_cast<size_t>(row)])
                if (best < 0 || betterPerTicket(state, c, best)) best = c;
            if (best < 0) return result;  // a target no ticket covers
            state.add(best);
        }
        ++result.runs;
        int64_t runBest = std::numeric_limits<int64_t>::max(), runBestStep = step;
        int32_t tabu = -1;
        while (!(ended = ends())) {
            result.steps = step;
            if (step - runBestStep > stall) break;
            if (state.uncovered() == 0) {
                if (state.cost() < runBest) {
                    runBest = state.cost();
                    runBestStep = step;
                }
                if (state.cost() < bestCost) {
                    bestCost = state.cost();
                    result.orbits = state.chosen();
                    result.tickets = bestCost;
                    result.bestStep = step;
                    if (bestCost <= settings.lowerBound) return result;
                }
                state.remove(bestChosen(state, -1));
                continue;
            }
            const int32_t out = bestChosen(state, tabu);
            if (out >= 0) {
                state.remove(out);
                state.setStamp(out, step);
            }
            const int32_t row = state.randomUncovered(random);
            int32_t in = -1;
            for (const int32_t c : orbits.coveredBy[static_cast<size_t>(row)])
                if (!state.isChosen(c) && c != out && state.canAdd(c) && state.cost() + state.orbitCost(c) < runBest &&
                    (in < 0 || betterPerTicket(state, c, in)))
                    in = c;
            if (in >= 0) {
                state.add(in);
                state.setStamp(in, step);
                tabu = in;
            } else if (out < 0) {
                // Nothing chosen and no orbit cheaper than the run's best covering: no run can do
                // better.
                ended = true;
                break;
            }
            state.weighUncovered();
            if (settings.recountEveryStep && !state.agreesWithRecount()) {
                result.recountDisagreed = true;
                return result;
            }
        }
    }
    return result;
}

std::vector<uint64_t> searchSymmetricCovering(const CoverModel& model, Random& random, int64_t lowerBound,
                                              Clock::time_point deadline, const StopFlag& stop, unsigned part,
                                              unsigned parts,
                                              const std::function<void(const std::vector<uint64_t>&)>& offer) {
    std::vector<ElementCycles> groups;
    const std::vector<ElementCycles> all = candidateCycles(model.elements, MOST_FIXED_ELEMENTS);
    for (size_t g = part; g < all.size(); g += std::max(1u, parts)) groups.push_back(all[g]);
    std::vector<uint64_t> best;
    int64_t bestCost = 0;
    size_t bestGroup = groups.size();
    // Runs of one group land in coverings of very different cost, and which group suits a model
    // is not known beforehand: a first round tries every group in an even share of half the time,
    // the second gives the rest to the group that did best.
    const Clock::time_point firstRoundEnd = Clock::now() + (deadline - Clock::now()) / 2;
    const auto search = [&](size_t g, Clock::time_point until, int64_t toBeat) {
        OrbitModel orbits;
        if (!buildOrbitModel(model, groups[g], MOST_ORBIT_SETS, MOST_ORBIT_ENTRIES, orbits)) return false;
        OrbitSearchSettings settings;
        settings.lowerBound = lowerBound;
        settings.deadline = until;
        const OrbitCovering found = searchOrbitCovering(orbits, random, settings, stop, toBeat);
        if (found.orbits.empty() || (bestCost > 0 && found.tickets >= bestCost)) return true;
        best = ticketsOfOrbits(orbits, found.orbits);
        bestCost = found.tickets;
        bestGroup = g;
        if (offer) offer(best);
        return true;
    };
    for (size_t g = 0; g < groups.size(); ++g) {
        const Clock::time_point now = Clock::now();
        if (now >= firstRoundEnd || stop.load()) break;
        // An even share of what is left of the round for each group still to come.
        search(g, now + (firstRoundEnd - now) / static_cast<int64_t>(groups.size() - g), 0);
        if (bestCost > 0 && bestCost <= lowerBound) return best;
    }
    if (bestGroup < groups.size() && Clock::now() < deadline && !stop.load()) search(bestGroup, deadline, bestCost);
    return best;
}

}  // namespace quillstep::cover
