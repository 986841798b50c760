// Completing a system around fixed members: holes found through a bitmap of the fixed members'
// t-subsets, a covering relation from the candidates to the holes, the optimiser's greedy start
// and local search on it, and the optimiser's own check of the members added. Stores whose
// relation would not fit get the store-order greedy over the holes instead.

#include "wheels/optimiser/fixed_member_cover.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <system_error>
#include <thread>

#include "wheels/optimiser/optimiser_coverage_check.h"
#include "wheels/optimiser/cover_greedy.h"
#include "wheels/optimiser/cover_local_search.h"
#include "wheels/optimiser/cover_relation.h"
#include "wheels/optimiser/optimiser_control.h"
#include "wheels/subsets.h"
#include "base/worker_threads.h"
#include "wheels/random.h"

namespace quillstep {
namespace {

constexpr int64_t INDEX_ENTRY_LIMIT = 64'000'000;  // t-subset index entries of the holes
constexpr int64_t RELATION_BOUND_LIMIT = 2'000'000'000;
constexpr int64_t RELATION_UNIT_LIMIT = 325'000'000;  // 16-bit units of each direction (0.65 GB)
constexpr double CHECK_SECONDS_PER_SUBSET = 4e-9;
constexpr double CHECK_SECONDS_FIXED = 0.02;

int32_t partStart(int32_t total, unsigned part, unsigned parts) {
    return static_cast<int32_t>(int64_t{total} * part / parts);
}

std::string requestError(const CoverRequest& request) {
    if (request.hits != 4 && request.hits != 5) return "the guarantee must be 4 or 5 hits";
    if (request.storedCount < 0 || (request.storedCount > 0 && request.stored == nullptr))
        return "no combinations were given";
    if (request.storedCount > std::numeric_limits<int32_t>::max()) return "too many combinations were given";
    if (request.drawn != NUMBERS_PER_COMBINATION || request.keys != 0) return "the targets must be stored combinations";
    if (request.anyTicket) return "the tickets added are stored combinations";
    if (request.timeLimitSeconds <= 0) return "the time limit must be positive";
    for (int64_t i = 0; i < request.storedCount; ++i)
        if (!isSevenNumbers(request.stored[i]) || (request.stored[i] & 1))
            return "combination " + std::to_string(i + 1) + " does not hold seven numbers from 1 on";
    for (size_t i = 0; i < request.fixedTickets.size(); ++i)
        if (!isSevenNumbers(request.fixedTickets[i]) || (request.fixedTickets[i] & 1))
            return "line " + std::to_string(i + 1) + " of the system does not hold seven numbers from 1 on";
    return {};
}

class Completion {
public:
    Completion(const CoverRequest& request, const std::vector<uint64_t>& holes, OptimiserControl& control,
               unsigned threads)
        : request_(request), holes_(holes), control_(control), threads_(threads) {}

    // The members to add; empty when stopped before any cover was complete.
    std::vector<uint64_t> search() {
        const int hits = request_.hits;
        const int32_t holeCount = static_cast<int32_t>(holes_.size());
        if (int64_t{holeCount} * binomial(NUMBERS_PER_COMBINATION, hits) > INDEX_ENTRY_LIMIT) return storeOrder();
        uint64_t storedNumbers = 0;
        for (int64_t i = 0; i < request_.storedCount; ++i) storedNumbers |= request_.stored[i];
        SubsetIndex index;
        control_.runParts(1, [&](unsigned) {
            index = buildSubsetIndex(holes_.data(), holeCount, hits, storedNumbers);
            candidates_ = candidatesOf(index);
        });
        const int32_t candidateCount = static_cast<int32_t>(candidates_.size());
        if (relationBound(index, candidates_.data(), candidateCount) > RELATION_BOUND_LIMIT) return storeOrder();

        CoverRelation relation;
        const RelationBuilt built = buildRelation(index, relation);
        if (built == RelationBuilt::Stopped) return {};
        if (built == RelationBuilt::TooLarge) {
            control_.runParts(1, [&](unsigned) { relation = CoverRelation(); });
            return storeOrder();
        }
        std::vector<int32_t> start;
        control_.runParts(1, [&](unsigned) { start = maxCoverageSystem(relation, control_.stopFlag()); });
        std::vector<uint64_t> added;
        if (!start.empty()) {
            control_.publishSize(static_cast<int32_t>(start.size()));
            for (const int32_t m : localSearch(relation, start)) added.push_back(candidates_[m]);
        }
        control_.runParts(1, [&](unsigned) { relation = CoverRelation(); });
        return added;
    }

private:
    // The stored combinations that share at least t numbers with a hole: those with a t-subset
    // under which the index files a hole.
    std::vector<uint64_t> candidatesOf(const SubsetIndex& index) const {
        std::vector<uint64_t> candidates;
        CombinationSubsets subsets;
        for (int64_t i = 0; i < request_.storedCount; ++i) {
            subsetsOf(request_.stored[i], index.hits, subsets);
            for (int s = 0; s < subsets.count; ++s)
                if (index.start[subsets.ranks[s] + 1] != index.start[subsets.ranks[s]]) {
                    candidates.push_back(request_.stored[i]);
                    break;
                }
        }
        return candidates;
    }

    RelationBuilt buildRelation(const SubsetIndex& index, CoverRelation& relation) {
        const int32_t count = static_cast<int32_t>(candidates_.size());
        relation.targetCount = static_cast<int32_t>(holes_.size());
        relation.candidateCount = count;
        relation.covers.begins.resize(static_cast<size_t>(count));
        relation.covers.ends.resize(static_cast<size_t>(count));
        relation.covers.sizes.resize(static_cast<size_t>(count));
        const RelationSources sources{holes_.data(), candidates_.data(), index};
        std::atomic<int64_t> unitsUsed{0};
        std::vector<std::vector<std::unique_ptr<uint16_t[]>>> chunks(threads_);
        std::vector<RelationBuilt> built(threads_);
        control_.runParts(threads_, [&](unsigned part) {
            built[part] = fillCovers(sources, partStart(count, part, threads_), partStart(count, part + 1, threads_),
                                     relation, chunks[part], unitsUsed, RELATION_UNIT_LIMIT, control_.stopFlag());
        });
        for (auto& partChunks : chunks)
            for (auto& chunk : partChunks) relation.covers.chunks.push_back(std::move(chunk));
        for (const RelationBuilt outcome : built)
            if (outcome != RelationBuilt::Complete) return outcome;
        control_.runParts(1, [&](unsigned) { addReverseLists(relation); });
        return RelationBuilt::Complete;
    }

    std::vector<int32_t> localSearch(const CoverRelation& relation, const std::vector<int32_t>& start) {
        return control_.bestLocalSearch(relation, start, threads_, request_.seed, request_.moveBudget).best;
    }

    // The holes in store order, each taken when no member taken so far covers it.
    std::vector<uint64_t> storeOrder() {
        std::vector<uint64_t> added;
        control_.runParts(1, [&](unsigned) {
            added = storeOrderSystem(holes_.data(), static_cast<int32_t>(holes_.size()), request_.hits,
                                     control_.stopFlag());
        });
        return added;
    }

    const CoverRequest& request_;
    const std::vector<uint64_t>& holes_;
    OptimiserControl& control_;
    const unsigned threads_;
    std::vector<uint64_t> candidates_;
};

}  // namespace

std::vector<uint8_t> coveredByMembers(const uint64_t* stored, int32_t storedCount, const std::vector<uint64_t>& members,
                                      int hits, unsigned threads) {
    uint64_t numbersUsed = 0;
    for (int32_t i = 0; i < storedCount; ++i) numbersUsed |= stored[i];
    for (const uint64_t member : members) numbersUsed |= member;
    std::vector<uint64_t> marked(static_cast<size_t>(rankBound(numbersUsed, hits) / 64 + 1), 0);
    CombinationSubsets subsets;
    for (const uint64_t member : members) {
        subsetsOf(member, hits, subsets);
        for (int s = 0; s < subsets.count; ++s) marked[subsets.ranks[s] >> 6] |= uint64_t{1} << (subsets.ranks[s] & 63);
    }
    std::vector<uint8_t> covered(static_cast<size_t>(std::max(0, storedCount)), 0);
    const unsigned parts = std::max(1u, std::min<unsigned>(workerThreadCount(threads), storedCount / 4096 + 1));
    const auto scan = [&](unsigned part) {
        CombinationSubsets own;
        for (int32_t i = partStart(storedCount, part, parts); i < partStart(storedCount, part + 1, parts); ++i) {
            subsetsOf(stored[i], hits, own);
            for (int s = 0; s < own.count && !covered[i]; ++s)
                covered[i] = static_cast<uint8_t>((marked[own.ranks[s] >> 6] >> (own.ranks[s] & 63)) & 1);
        }
    };
    WorkerRun run;  // a thread that does not start leaves its part to the others (worker_threads.h)
    run.parts = parts;
    run.work = scan;
    runWorkers(run);
    return covered;
}

FixedMemberResult addMembersToCover(const CoverRequest& request) {
    FixedMemberResult result;
    result.error = requestError(request);
    if (!result.error.empty()) return result;
    const unsigned threads = workerThreadCount(request.threads);

    std::vector<uint64_t> holes;
    const double holeCheckSeconds = CHECK_SECONDS_FIXED + CHECK_SECONDS_PER_SUBSET * request.storedCount *
                                                              binomial(NUMBERS_PER_COMBINATION, request.hits) / threads;
    OptimiserControl control(request, holeCheckSeconds);
    control.runParts(1, [&](unsigned) {
        const std::vector<uint8_t> covered =
            coveredByMembers(request.stored, static_cast<int32_t>(request.storedCount), request.fixedTickets, request.hits, threads);
        for (int64_t i = 0; i < request.storedCount; ++i)
            if (!covered[static_cast<size_t>(i)]) holes.push_back(request.stored[i]);
    });
    result.holes = static_cast<int64_t>(holes.size());
    if (holes.empty()) return result;

    std::vector<uint64_t> added = Completion(request, holes, control, threads).search();
    result.stopped = control.stopped();
    result.timeLimitReached = control.timeLimitReached();
    bool covers = false;
    if (!added.empty())
        control.runParts(1, [&](unsigned) {
            covers = systemCoversAll(holes.data(), static_cast<int32_t>(holes.size()), added, request.hits,
                                     threads);
        });
    if (covers)
        result.added = std::move(added);
    else
        result.error = added.empty() ? (result.stopped ? "stopped before the holes were covered"
                                                       : "no members covering the holes were found in the time given")
                                     : "the members found failed the coverage check";
    return result;
}

}  // namespace quillstep
