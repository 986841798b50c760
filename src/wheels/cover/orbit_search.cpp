#include "wheels/cover/orbit_search.h"

#include <algorithm>
#include <limits>

#include "wheels/cover/set_cover_state.h"

namespace quillstep::cover {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t STEPS_BETWEEN_LOOKS = 256;
// The orbit models tried: sets of either kind and cover-list entries at most.
constexpr int64_t MOST_ORBIT_SETS = 2'000'000;
constexpr int64_t MOST_ORBIT_ENTRIES = 20'000'000;
// Elements a group may leave fixed.
constexpr int MOST_FIXED_ELEMENTS = 3;

// The orbit model as the sets of a set cover: ticket orbits cover target orbits, each costing
// its tickets.
struct OrbitSets {
    const OrbitModel& orbits;
    int32_t targetCount() const { return static_cast<int32_t>(orbits.targetOrbits()); }
    int32_t candidateCount() const { return static_cast<int32_t>(orbits.ticketOrbits()); }
    const std::vector<int32_t>& targetsOf(int32_t j) const { return orbits.covers[static_cast<size_t>(j)]; }
    const std::vector<int32_t>& candidatesOf(int32_t i) const { return orbits.coveredBy[static_cast<size_t>(i)]; }
    int64_t cost(int32_t j) const { return orbits.ticketOrbitSize[static_cast<size_t>(j)]; }
};

// The heuristics' memory beside the state: when each orbit last moved, and configuration
// checking (an orbit removed may come back only once an orbit sharing a target orbit with it has
// been added or removed since: no return to a state just left).
class MoveMemory {
public:
    MoveMemory(const OrbitModel& orbits, bool configurations)
        : orbits_(orbits), configurations_(configurations),
          stamp_(static_cast<size_t>(orbits.ticketOrbits()), 0),
          canAdd_(static_cast<size_t>(orbits.ticketOrbits()), 1) {}

    int64_t stamp(int32_t j) const { return stamp_[static_cast<size_t>(j)]; }
    bool canAdd(int32_t j) const { return canAdd_[static_cast<size_t>(j)] != 0; }
    void setStamp(int32_t j, int64_t step) { stamp_[static_cast<size_t>(j)] = step; }
    void added(int32_t j) { markNeighbours(j); }
    void removed(int32_t j) {
        markNeighbours(j);
        if (configurations_) canAdd_[static_cast<size_t>(j)] = 0;
    }

private:
    void markNeighbours(int32_t j) {
        if (!configurations_) return;
        for (const int32_t i : orbits_.covers[static_cast<size_t>(j)])
            for (const int32_t c : orbits_.coveredBy[static_cast<size_t>(i)]) canAdd_[static_cast<size_t>(c)] = 1;
    }

    const OrbitModel& orbits_;
    bool configurations_;
    std::vector<int64_t> stamp_;
    std::vector<uint8_t> canAdd_;
};

// Whether orbit a is the better choice than b by score per ticket, the one that moved longer ago
// on a tie.
template <typename State>
bool betterPerTicket(const State& state, const MoveMemory& memory, int32_t a, int32_t b) {
    const int64_t left = state.score(a) * state.cost(b), right = state.score(b) * state.cost(a);
    if (left != right) return left > right;
    return memory.stamp(a) < memory.stamp(b);
}

template <typename State>
int32_t bestChosen(const State& state, const MoveMemory& memory, int32_t excluded) {
    int32_t best = -1;
    for (const int32_t j : state.members())
        if (j != excluded && (best < 0 || betterPerTicket(state, memory, j, best))) best = j;
    return best;
}

template <bool Checked>
OrbitCovering searchOrbits(const OrbitModel& orbits, Random& random, const OrbitSearchSettings& settings,
                           const StopFlag& stop, int64_t toBeat) {
    OrbitCovering result;
    if (orbits.targetOrbits() == 0 || orbits.ticketOrbits() == 0) return result;
    const OrbitSets sets{orbits};
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
        SetCoverState<OrbitSets, Checked> state(sets);
        MoveMemory memory(orbits, settings.configurationChecking);
        const auto randomUncovered = [&] { return state.uncovered()[random.below(state.uncovered().size())]; };
        // The greedy covering: for a random uncovered target orbit, the orbit covering it with the
        // most gain per ticket.
        while (!state.uncovered().empty()) {
            if (stop.load(std::memory_order_relaxed)) return result;
            const int32_t row = randomUncovered();
            int32_t best = -1;
            for (const int32_t c : sets.candidatesOf(row))
                if (best < 0 || betterPerTicket(state, memory, c, best)) best = c;
            if (best < 0) return result;  // a target no ticket covers
            state.add(best);
            memory.added(best);
        }
        ++result.runs;
        int64_t runBest = std::numeric_limits<int64_t>::max(), runBestStep = step;
        int32_t tabu = -1;
        while (!(ended = ends())) {
            result.steps = step;
            if (step - runBestStep > stall) break;
            if (state.uncovered().empty()) {
                if (state.cost() < runBest) {
                    runBest = state.cost();
                    runBestStep = step;
                }
                if (state.cost() < bestCost) {
                    bestCost = state.cost();
                    result.orbits = state.members();
                    result.tickets = bestCost;
                    result.bestStep = step;
                    if (bestCost <= settings.lowerBound) return result;
                }
                const int32_t dropped = bestChosen(state, memory, -1);
                state.remove(dropped);
                memory.removed(dropped);
                continue;
            }
            const int32_t out = bestChosen(state, memory, tabu);
            if (out >= 0) {
                state.remove(out);
                memory.removed(out);
                memory.setStamp(out, step);
            }
            const int32_t row = randomUncovered();
            int32_t in = -1;
            for (const int32_t c : sets.candidatesOf(row))
                if (!state.isMember(c) && c != out && memory.canAdd(c) && state.cost() + state.cost(c) < runBest &&
                    (in < 0 || betterPerTicket(state, memory, c, in)))
                    in = c;
            if (in >= 0) {
                state.add(in);
                memory.added(in);
                memory.setStamp(in, step);
                tabu = in;
            } else if (out < 0) {
                // Nothing chosen and no orbit cheaper than the run's best covering: no run can do
                // better.
                ended = true;
                break;
            }
            state.raiseUncoveredWeights();
            if constexpr (Checked) {
                if (!state.recountMismatch().empty()) {
                    result.recountDisagreed = true;
                    return result;
                }
            }
        }
    }
    return result;
}

}  // namespace

OrbitCovering searchOrbitCovering(const OrbitModel& orbits, Random& random, const OrbitSearchSettings& settings,
                                  const StopFlag& stop, int64_t toBeat) {
    return settings.recountEveryStep ? searchOrbits<true>(orbits, random, settings, stop, toBeat)
                                     : searchOrbits<false>(orbits, random, settings, stop, toBeat);
}

std::vector<uint64_t> searchSymmetricCovering(const CoverModel& model, Random& random, int64_t lowerBound,
                                              Clock::time_point deadline, const StopFlag& stop, unsigned part,
                                              unsigned parts,
                                              const std::function<void(const std::vector<uint64_t>&)>& offer) {
    std::vector<ElementCycles> groups;
    // Multiplier groups where every target must be covered by a ticket holding all of it (t = m):
    // there the smallest coverings are designs, nearly every target covered once, and the known
    // ones are often left unchanged by such a group (the Steiner system of 23 numbers at 4 if 4
    // is one orbit of the maps x -> a x + c with a a square modulo 23). Where m > t the coverings
    // they give are cheaper than a rotation's at first, but they take the first round's time from
    // the rotations and are a poor start for the descent (18 numbers at 6 if 7: 848 with them, 693
    // without).
    const bool multipliers = model.hits == model.targetSize;
    const std::vector<ElementCycles> all = candidateCycles(model.elements, MOST_FIXED_ELEMENTS, multipliers);
    for (size_t g = part; g < all.size(); g += std::max(1u, parts)) groups.push_back(all[g]);
    std::vector<uint64_t> best;
    int64_t bestCost = 0;
    size_t bestGroup = groups.size();
    // Runs of one group land in coverings of very different cost, and which group suits a model
    // is not known beforehand: a first round tries every group in its share of half the time,
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
    // A group with a multiplier of order d has models d times smaller than its rotation alone,
    // searched in as much less time: its share of the round is 1 / d of a rotation's.
    double sharesLeft = 0;
    for (const ElementCycles& group : groups) sharesLeft += 1.0 / multiplierOrder(group);
    for (size_t g = 0; g < groups.size(); ++g) {
        const Clock::time_point now = Clock::now();
        if (now >= firstRoundEnd || stop.load()) break;
        // The group's share of what is left of the round.
        const double share = 1.0 / multiplierOrder(groups[g]);
        const auto slice = std::chrono::duration_cast<Clock::duration>((firstRoundEnd - now) * (share / sharesLeft));
        sharesLeft -= share;
        search(g, now + slice, 0);
        if (bestCost > 0 && bestCost <= lowerBound) return best;
    }
    if (bestGroup < groups.size() && Clock::now() < deadline && !stop.load()) search(bestGroup, deadline, bestCost);
    return best;
}

}  // namespace quillstep::cover
