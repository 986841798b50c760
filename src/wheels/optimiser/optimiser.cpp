// The optimiser: a starting system, a local search per thread, the best one checked and returned.
//
// Stores whose covering relation fits in memory get the full treatment: the relation is built
// once (shared, read only), the max-coverage greedy gives the start (or the caller's system when
// that is smaller), and every thread runs its own local search from it with a seed of its own.
// The smallest system wins, the lower thread among equals, so the answer does not depend on
// timing. Larger stores (the full wheel of 39 numbers has 15,380,937 targets) get the store-order
// greedy only, which needs just a bitmap of t-subsets.

#include "wheels/optimiser/optimiser.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "wheels/optimiser/candidate_pool.h"
#include "wheels/optimiser/optimiser_coverage_check.h"
#include "wheels/optimiser/cover_greedy.h"
#include "wheels/optimiser/cover_local_search.h"
#include "wheels/optimiser/cover_relation.h"
#include "wheels/optimiser/optimiser_control.h"
#include "wheels/optimiser/relation_memory.h"
#include "base/memory_room.h"
#include "wheels/subsets.h"
#include "base/worker_threads.h"
#include "wheels/random.h"

namespace quillstep {
namespace {

constexpr int64_t INDEX_ENTRY_LIMIT = 64'000'000;      // t-subset index entries (4 bytes each)
// Covering pairs: at most this many are looked for (the t-subset index's upper bound), and at
// most this many 16-bit units are kept (1.3 GB).
constexpr int64_t RELATION_BOUND_LIMIT = 2'000'000'000;
constexpr int64_t RELATION_UNIT_LIMIT = 650'000'000;
// Time kept back for the final check: it costs about this much per t-subset of a target.
constexpr double CHECK_SECONDS_PER_SUBSET = 4e-9;
constexpr double CHECK_SECONDS_FIXED = 0.02;
// Handing the relation's memory back takes time too (0.3 s for the mode-9 store at four hits).
constexpr double RELEASE_SECONDS_PER_UNIT = 0.6e-9;
// Climbing candidates beyond the stored combinations: this much work (units of
// climbedTargetCount, a few seconds), fixed so that the candidates do not depend on the time
// limit or the threads; the climbs still left when this share of the time limit has passed are
// left out, so that the local search keeps most of the time.
constexpr double CLIMB_WORK = 1.8e9;
constexpr double CLIMB_SHARE = 0.35;

int subsetsPerCombination(int hits) { return static_cast<int>(binomial(NUMBERS_PER_COMBINATION, hits)); }


std::string requestError(const CoverRequest& request) {
    if (request.hits != 4 && request.hits != 5) return "the guarantee must be 4 or 5 hits";
    if (request.storedCount < 0 || (request.storedCount > 0 && request.stored == nullptr))
        return "no combinations were given";
    if (request.storedCount > std::numeric_limits<int32_t>::max()) return "too many combinations were given";
    if (request.drawn != NUMBERS_PER_COMBINATION || request.keys != 0) return "the targets must be stored combinations";
    if (!request.fixedTickets.empty()) return "fixed tickets are the completion's";
    if (request.timeLimitSeconds <= 0) return "the time limit must be positive";
    if (request.anyTicket && (request.highestNumber() < NUMBERS_PER_COMBINATION || request.highestNumber() > 63))
        return "the count of numbers must be 7 to 63";
    for (int64_t i = 0; i < request.storedCount; ++i)
        if (!isSevenNumbers(request.stored[i]) || (request.stored[i] & 1))
            return "combination " + std::to_string(i + 1) + " does not hold seven numbers from 1 on";
    if (request.anyTicket)
        for (int64_t i = 0; i < request.storedCount; ++i)
            if (request.stored[i] & ~numbersUpTo(request.highestNumber()))
                return "combination " + std::to_string(i + 1) + " holds a number above " +
                       std::to_string(request.highestNumber());
    return {};
}

// The caller's system without repeated members, in its own order.
std::vector<uint64_t> withoutRepeats(const std::vector<uint64_t>& system) {
    std::vector<uint64_t> out;
    for (const uint64_t member : system)
        if (std::find(out.begin(), out.end(), member) == out.end()) out.push_back(member);
    return out;
}

// Store indices of the members, or nothing when one of them is not a target.
std::vector<int32_t> indicesOf(const std::vector<uint64_t>& system, const uint64_t* targets, int32_t count) {
    std::unordered_map<uint64_t, int32_t> indexOf;
    for (int32_t i = count; i-- > 0;) indexOf[targets[i]] = i;
    std::vector<int32_t> out;
    for (const uint64_t member : system) {
        const auto found = indexOf.find(member);
        if (found == indexOf.end()) return {};
        out.push_back(found->second);
    }
    return out;
}

struct Searcher {
    const CoverRequest& request;
    OptimiserControl& control;
    const unsigned threads;
    const std::vector<uint64_t>& coveringInitial;  // the caller's system when it covers, else empty
    int64_t steps = 0;
    std::vector<uint64_t> pool;  // the candidates, when they are not the targets

    int32_t count() const { return static_cast<int32_t>(request.storedCount); }
    int hits() const { return request.hits; }

    std::vector<uint64_t> search() {
        if (int64_t{count()} * binomial(NUMBERS_PER_COMBINATION, hits()) > INDEX_ENTRY_LIMIT) return storeOrder();
        const uint64_t indexNumbers = numbersUsed() | (request.anyTicket ? allowedNumbers() : 0);
        if (!memoryRoomFor(subsetIndexBytes(count(), hits(), indexNumbers) + SEARCH_ROOM_BYTES)) return storeOrder();
        CoverRelation relation;
        const uint64_t* candidates = request.stored;
        {
            SubsetIndex index;
            int64_t targetEntries = 0;
            control.runParts(1, [&](unsigned) {
                index = buildSubsetIndex(request.stored, count(), hits(), request.anyTicket ? allowedNumbers() : 0);
                targetEntries = relationBound(index, request.stored, count());
            });
            if (targetEntries > RELATION_BOUND_LIMIT) return storeOrder();
            // Candidates of their own need the relation in both directions; when that does not fit,
            // the stored combinations remain the only candidates.
            if (request.anyTicket && 2 * targetEntries < RELATION_UNIT_LIMIT) {
                fillPool(index, targetEntries);
                candidates = pool.data();
            }
            // The relation of the candidates where it fits, else of the stored combinations alone,
            // else none: the walk in store order, which needs only a bitmap.
            for (;;) {
                const bool ownCandidates = candidates != request.stored;
                const int32_t candidateCount = ownCandidates ? static_cast<int32_t>(pool.size()) : count();
                const RelationSources sources{request.stored, candidates, index};
                RelationBuilt built = RelationBuilt::TooLarge;
                if (relationFits(sources, candidateCount)) {
                    try {
                        built = buildRelation(sources, candidateCount, relation);
                    } catch (const std::bad_alloc&) {
                        built = RelationBuilt::TooLarge;  // the estimate fell short: as if it had said so
                    }
                }
                if (built == RelationBuilt::Complete) break;
                release(relation);
                if (built == RelationBuilt::Stopped) return {};
                if (!ownCandidates) return storeOrder();
                candidates = request.stored;
            }
        }
        std::vector<int32_t> start;
        control.runParts(1, [&](unsigned) { start = maxCoverageSystem(relation, control.stopFlag()); });
        std::vector<uint64_t> system;
        if (!start.empty()) {
            control.publishSize(static_cast<int32_t>(start.size()));
            if (!coveringInitial.empty() && coveringInitial.size() < start.size()) {
                std::vector<int32_t> given = indicesOf(coveringInitial, candidates, relation.candidateCount);
                if (!given.empty()) start = given;
            }
            for (const int32_t m : localSearch(relation, start)) system.push_back(candidates[m]);
        }
        release(relation);
        return system;
    }

    // Handing back a large relation takes a while: done on a worker while the caller polls.
    void release(CoverRelation& relation) {
        control.runParts(1, [&](unsigned) { relation = CoverRelation(); });
    }

    // The targets, the caller's members that are not targets, then the climbed candidates as
    // long as the relation stays within its limit.
    void fillPool(const SubsetIndex& index, int64_t targetEntries) {
        pool.assign(request.stored, request.stored + count());
        std::unordered_set<uint64_t> seen(pool.begin(), pool.end());
        int64_t roomLeft = RELATION_UNIT_LIMIT / 2 - targetEntries;
        const auto offer = [&](uint64_t candidate) {
            if (candidate == 0 || (candidate & ~allowedNumbers()) != 0 || seen.count(candidate) != 0) return;
            const int64_t entries = relationBound(index, &candidate, 1);
            if (entries > roomLeft) return;
            roomLeft -= entries;
            pool.push_back(candidate);
            seen.insert(candidate);
        };
        for (const uint64_t member : coveringInitial) offer(member);

        const PoolSources sources{request.stored, count(), index, allowedNumbers()};
        const int32_t climbs = climbedTargetCount(sources, targetEntries, CLIMB_WORK);
        const double climbSeconds = CLIMB_SHARE * request.timeLimitSeconds;
        std::vector<Climb> climbed(static_cast<size_t>(climbs));  // empty: not reached in time
        // A run with a move budget is to be reproduced: its climbs are not cut short by the clock,
        // which would give a loaded machine fewer candidates.
        const bool byTheClock = request.moveBudget == 0;
        control.runParts(threads, [&](unsigned part) {
            for (int32_t k = partStart(climbs, part); k < partStart(climbs, part + 1); ++k) {
                if (control.stopFlag().load(std::memory_order_relaxed) ||
                    (byTheClock && control.elapsedSeconds() > climbSeconds))
                    return;
                climbed[k] = climbFrom(sources, climbedTarget(count(), climbs, k));
            }
        });
        // The summits first, then the places on the way up.
        for (int i = 0; i < MAX_CLIMB_STEPS; ++i)
            for (const Climb& climb : climbed) offer(climb.candidates[i]);
    }

    uint64_t allowedNumbers() const { return numbersUpTo(request.highestNumber()); }
    uint64_t numbersUsed() const {
        uint64_t used = 0;
        for (int32_t i = 0; i < count(); ++i) used |= request.stored[i];
        return used;
    }

    // Whether the relation's estimated bytes, with room for the searches, can be had now.
    bool relationFits(const RelationSources& sources, int32_t candidateCount) const {
        return memoryRoomFor(relationBytes(sources, candidateCount, count(), threads) + SEARCH_ROOM_BYTES);
    }

    int32_t partStart(int32_t total, unsigned part) const {
        return static_cast<int32_t>(int64_t{total} * part / threads);
    }

    RelationBuilt buildRelation(const RelationSources& sources, int32_t candidateCount, CoverRelation& relation) {
        relation.targetCount = count();
        relation.candidateCount = candidateCount;
        relation.covers.begins.resize(static_cast<size_t>(candidateCount));
        relation.covers.ends.resize(static_cast<size_t>(candidateCount));
        relation.covers.sizes.resize(static_cast<size_t>(candidateCount));
        // Lists in both directions when the candidates are not the targets: half the room each.
        const bool symmetric = sources.candidates == sources.targets;
        const int64_t unitLimit = symmetric ? RELATION_UNIT_LIMIT : RELATION_UNIT_LIMIT / 2;
        std::atomic<int64_t> unitsUsed{0};
        std::vector<std::vector<std::unique_ptr<uint16_t[]>>> chunks(threads);
        std::vector<RelationBuilt> built(threads);
        control.runParts(threads, [&](unsigned part) {
            built[part] = fillCovers(sources, partStart(candidateCount, part), partStart(candidateCount, part + 1),
                                     relation, chunks[part], unitsUsed, unitLimit, control.stopFlag());
        });
        for (auto& partChunks : chunks)
            for (auto& chunk : partChunks) relation.covers.chunks.push_back(std::move(chunk));
        for (const RelationBuilt outcome : built)
            if (outcome != RelationBuilt::Complete) return outcome;
        control.keepBack(RELEASE_SECONDS_PER_UNIT * static_cast<double>(unitsUsed.load()) * (symmetric ? 1 : 2));
        if (!symmetric) control.runParts(1, [&](unsigned) { addReverseLists(relation); });
        return RelationBuilt::Complete;
    }

    std::vector<int32_t> localSearch(const CoverRelation& relation, const std::vector<int32_t>& start) {
        LocalSearchOutcome best = control.bestLocalSearch(relation, start, threads, request.seed, request.moveBudget);
        steps += best.steps;
        return std::move(best.best);
    }

    std::vector<uint64_t> storeOrder() {
        std::vector<uint64_t> system;
        control.runParts(1, [&](unsigned) { system = storeOrderSystem(request.stored, count(), hits(), control.stopFlag()); });
        return system;
    }
};

}  // namespace

OptimiserResult optimiseSystem(const CoverRequest& request) {
    OptimiserResult result;
    result.error = requestError(request);
    if (!result.error.empty() || request.storedCount == 0) return result;

    const unsigned threads = workerThreadCount(request.threads);
    const double checkSeconds = CHECK_SECONDS_FIXED + CHECK_SECONDS_PER_SUBSET * request.storedCount *
                                                          subsetsPerCombination(request.hits) / threads;
    OptimiserControl control(request, checkSeconds);
    const auto covers = [&](const std::vector<uint64_t>& system) {
        bool all = false;
        control.runParts(1, [&](unsigned) {
            all = systemCoversAll(request.stored, request.storedCount, system, request.hits, threads);
        });
        return all;
    };

    std::vector<uint64_t> initial = withoutRepeats(request.startTickets);
    if (!initial.empty() && !covers(initial)) initial.clear();
    if (!initial.empty()) control.publishSize(static_cast<int32_t>(initial.size()));

    Searcher searcher{request, control, threads, initial, 0, {}};
    std::vector<uint64_t> found = searcher.search();
    const bool foundIsSmaller = !found.empty() && (initial.empty() || found.size() < initial.size());
    if (foundIsSmaller && covers(found))
        result.system = std::move(found);
    else
        result.system = std::move(initial);
    if (foundIsSmaller && result.system.empty()) result.error = "the system found failed the coverage check";

    result.stopped = control.stopped();
    result.timeLimitReached = control.timeLimitReached();
    result.steps = searcher.steps;
    result.seconds = control.elapsedSeconds();
    return result;
}

}  // namespace quillstep
