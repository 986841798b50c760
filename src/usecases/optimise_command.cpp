// The optimise command: a starting system from the greedy search, the optimiser for the rest of
// the time, the separate check of the result, then the abbreviated-system store and its file,
// which is read back and compared before the command reports it written.
//
// Never larger than the greedy search. The greedy search tries every starting combination; its
// system goes to the optimiser as the system to start from, and the optimiser never reports a
// larger one. The greedy search gets at most a quarter of the time limit: on stores where it
// needs longer, it keeps the best among the starting combinations it reached in that time, and
// the result is then never larger than that.
//
// Before any search, the capacity proof (wheels/greedy/capacity_proof.h) answers at once where no
// system of fewer than ABBREVIATED_SYSTEM_CAPACITY members can cover the store: the search could
// only end without a system or with one too large for the file, after the whole time limit.
//
// Stores whose covering relation would pass 6*10^8 pairs, or whose index and relation cannot be
// had in the memory there is now, go to the optimiser without one (large_optimiser/) for the
// whole time instead; the greedy search is not run there. The optimiser with a relation keeps its
// walk in store order as the last way, where its own closer estimate finds no room.

#include "usecases/optimise_command.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/greedy/capacity_proof.h"
#include "wheels/large_optimiser/large_optimiser.h"
#include "base/memory_room.h"
#include "wheels/optimiser/relation_memory.h"

namespace quillstep {
namespace {

constexpr double GREEDY_SHARE_OF_TIME_LIMIT = 0.25;
constexpr double PROGRESS_INTERVAL_SECONDS = 0.5;
constexpr double SHORTEST_OPTIMISER_SECONDS = 0.1;  // when the greedy search overran its share
// The search without a relation leaves time within the limit for the separate check of every
// stored combination (under a second for the full wheel of 39, through the members' subsets;
// kept at 1.5 s there for a busy machine).
constexpr double CHECK_SECONDS_PER_STORED = 1e-7;
constexpr double CHECK_SHARE_OF_TIME_LIMIT = 0.1;
// The optimiser's result under a step budget depends on its number of parallel searches; a fixed
// number makes a budgeted run give the same system on any machine.
constexpr unsigned BUDGETED_SEARCHES = 2;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }


// The stop request stays answered once the user has asked: the window's Escape is reported once.
class StopLatch {
public:
    explicit StopLatch(const std::function<bool()>& stopRequested) : stopRequested_(stopRequested) {}
    bool operator()() {
        if (!stopped_ && stopRequested_) stopped_ = stopRequested_();
        return stopped_;
    }
    bool stopped() const { return stopped_; }

private:
    const std::function<bool()>& stopRequested_;
    bool stopped_ = false;
};

// The greedy search's best system within its share of the time; empty when every pass reached
// the capacity (such a system leaves combinations uncovered and is no place to start from).
std::vector<uint64_t> greedyStartingSystem(const std::vector<uint64_t>& masks, int guaranteedHits, double seconds,
                                           StopLatch& stop, const std::function<void()>& onProgress) {
    const Clock::time_point start = Clock::now();
    StartSearchOptions options;
    options.kernel = fastestPassKernel(guaranteedHits);
    options.stopRequested = [&] { return stop() || secondsSince(start) >= seconds; };
    options.onProgress = [&](int32_t) { onProgress(); };
    const BestStart best = findBestStart(masks, guaranteedHits, options);
    if (best.bestSize >= ABBREVIATED_SYSTEM_CAPACITY) return {};
    std::vector<uint64_t> system;
    for (int32_t index : greedySystemMembers(masks, best.bestStart, guaranteedHits, options.kernel))
        system.push_back(masks[static_cast<size_t>(index)]);
    return system;
}

// Progress of both phases on one clock, at most every PROGRESS_INTERVAL_SECONDS unless forced.
class ProgressReport {
public:
    ProgressReport(const std::function<void(const CoverProgress&)>& onProgress, double timeLimitSeconds)
        : onProgress_(onProgress), timeLimitSeconds_(timeLimitSeconds) {}

    void operator()(CoverProgress progress, bool force) {
        if (!onProgress_ || (!force && secondsSince(last_) < PROGRESS_INTERVAL_SECONDS)) return;
        last_ = Clock::now();
        progress.elapsedSeconds = secondsSince(start_);
        progress.remainingSeconds = std::max(0.0, timeLimitSeconds_ - progress.elapsedSeconds);
        if (progress.bestSize == 0) progress.bestSize = bestSizeSoFar;
        onProgress_(progress);
    }
    double elapsedSeconds() const { return secondsSince(start_); }

    int64_t bestSizeSoFar = 0;  // shown while the phase running has no system of its own yet

private:
    const std::function<void(const CoverProgress&)>& onProgress_;
    const double timeLimitSeconds_;
    const Clock::time_point start_ = Clock::now();
    Clock::time_point last_ = start_;
};

struct SearchedSystem {
    std::vector<uint64_t> members;
    bool stopped = false;
    Fault fault;  // why there is no system, when there is none
};

// The system a search ended with, or why there is none; its size goes out as the last progress.
SearchedSystem searchedSystem(std::vector<uint64_t> members, bool stopped, const std::string& error, int64_t steps,
                              ProgressReport& report) {
    SearchedSystem searched;
    searched.stopped = stopped;
    searched.members = std::move(members);
    if (searched.members.empty()) {
        searched.fault = !error.empty() ? Fault{FaultReason::OptimiserRefused, 0, 0, error}
                         : stopped      ? Fault{FaultReason::StoppedBeforeAnySystem}
                                        : Fault{FaultReason::NoSystemInTime};
    }
    report({static_cast<int64_t>(searched.members.size()), 0.0, 0.0, steps}, true);
    return searched;
}
// The covering request on the stored combinations, as both optimisers take it: the time limit,
// progress and stop are the caller's to set.
CoverRequest searchRequest(const SharedState& state, const std::vector<uint64_t>& masks, const OptimiseSettings& settings,
                           StopLatch& stop, ProgressReport& report) {
    CoverRequest request = storedCoverRequest(masks, settings.guaranteedHits, state.parameters.totalNumbers);
    request.anyTicket = settings.anyCombination;
    request.seed = settings.seed;
    request.moveBudget = settings.stepBudget;
    request.threads = settings.stepBudget > 0 ? BUDGETED_SEARCHES : 0;
    request.onProgress = [&report](const CoverProgress& progress) { report(progress, false); };
    request.stopRequested = [&stop] { return stop(); };
    return request;
}

// Stores whose covering relation would not fit: the optimiser without one, for the whole time
// (there the greedy search takes minutes to hours and ends far above it).
SearchedSystem searchLargeStore(const SharedState& state, const std::function<bool()>& stopRequested,
                                const std::vector<uint64_t>& masks, const OptimiseSettings& settings,
                                ProgressReport& report) {
    StopLatch stop(stopRequested);
    CoverRequest request = searchRequest(state, masks, settings, stop, report);
    request.timeLimitSeconds = std::max(SHORTEST_OPTIMISER_SECONDS,
                                        settings.timeLimitSeconds - std::min(CHECK_SHARE_OF_TIME_LIMIT * settings.timeLimitSeconds,
                                                                             CHECK_SECONDS_PER_STORED * static_cast<double>(masks.size())));
    large::Result result = large::optimiseLargeStore(request);
    return searchedSystem(std::move(result.system), stop.stopped() || result.stopped, result.error, result.moves, report);
}

// Whether the store goes to the optimiser without a relation: where that one applies, when the
// relation would be too large to be worth building or its least size cannot be had now.
bool goesToLargeOptimiser(const SharedState& state, const std::vector<uint64_t>& masks, const OptimiseSettings& settings) {
    const int64_t count = static_cast<int64_t>(masks.size());
    const int totalNumbers = state.parameters.totalNumbers;
    const double pairs = large::relationPairsEstimate(count, settings.guaranteedHits, totalNumbers);
    if (pairs <= 0.0) return false;  // the large optimiser does not apply
    if (large::prefersLargeOptimiser(count, settings.guaranteedHits, totalNumbers)) return true;
    if (count > INT32_MAX) return true;
    uint64_t numbersUsed = 0;
    for (uint64_t mask : masks) numbersUsed |= mask;
    if (settings.anyCombination) numbersUsed |= numbersUpTo(totalNumbers);
    return !memoryRoomFor(
        leastRelationBytes(static_cast<int32_t>(count), settings.guaranteedHits, numbersUsed, pairs));
}

// The greedy search's system, then the optimiser from it for the rest of the time.
SearchedSystem searchSystem(const SharedState& state, const std::function<bool()>& stopRequested,
                            const std::vector<uint64_t>& masks, const OptimiseSettings& settings,
                            ProgressReport& report) {
    if (goesToLargeOptimiser(state, masks, settings))
        return searchLargeStore(state, stopRequested, masks, settings, report);
    StopLatch stop(stopRequested);
    const double greedySeconds = settings.timeLimitSeconds * GREEDY_SHARE_OF_TIME_LIMIT;
    std::vector<uint64_t> greedySystem =
        greedyStartingSystem(masks, settings.guaranteedHits, greedySeconds, stop, [&] { report({}, false); });
    report.bestSizeSoFar = static_cast<int64_t>(greedySystem.size());
    report({}, true);

    CoverRequest request = searchRequest(state, masks, settings, stop, report);
    request.startTickets = greedySystem;
    request.timeLimitSeconds = std::max(SHORTEST_OPTIMISER_SECONDS, settings.timeLimitSeconds - report.elapsedSeconds());
    OptimiserResult result = optimiseSystem(request);

    const bool stopped = stop.stopped() || result.stopped;
    // The optimiser is asked never to do worse than where it started; should it, the start stands.
    const bool keepGreedy =
        !greedySystem.empty() && (result.system.empty() || result.system.size() > greedySystem.size());
    return searchedSystem(keepGreedy ? std::move(greedySystem) : std::move(result.system), stopped, result.error,
                          result.steps, report);
}

// The capacity proof within the time limit; Stopped when the stop request or the time limit came first.
CapacityProof proveNoSystemFits(const std::vector<uint64_t>& masks, const OptimiseSettings& settings,
                                const std::function<bool()>& stopRequested, const ProgressReport& report,
                                bool& stopped) {
    StopLatch stop(stopRequested);
    CountingWork counting;
    counting.stopRequested = [&] { return stop() || report.elapsedSeconds() >= settings.timeLimitSeconds; };
    const CapacityProof proof = proveNoSystemBelowCapacity(masks, settings.guaranteedHits, ABBREVIATED_SYSTEM_CAPACITY,
                                                           !settings.anyCombination, counting);
    stopped = stop.stopped();
    return proof;
}

void optimise(SharedState& state, const OptimiseSettings& settings, const OptimiseObserver& observer,
              OptimiseOutcome& outcome) {
    ProgressReport report(observer.onProgress, settings.timeLimitSeconds);
    const std::vector<uint64_t> masks = combinationMasks(state);
    bool stoppedInProof = false;
    const CapacityProof proof = proveNoSystemFits(masks, settings, observer.stopRequested, report, stoppedInProof);
    if (proof != CapacityProof::NotProven) {
        outcome.seconds = report.elapsedSeconds();
        outcome.stopped = stoppedInProof;
        if (proof == CapacityProof::Proven) {
            outcome.systemSize = ABBREVIATED_SYSTEM_CAPACITY;
            outcome.fault = {FaultReason::NoSystemBelowCapacity, outcome.storedCount};
        } else {
            outcome.fault = {stoppedInProof ? FaultReason::StoppedBeforeAnySystem : FaultReason::NoSystemInTime};
        }
        return;
    }
    // The search gets what the proof left of the time limit.
    OptimiseSettings rest = settings;
    rest.timeLimitSeconds = std::max<double>(SHORTEST_TIME_LIMIT_SECONDS, settings.timeLimitSeconds - report.elapsedSeconds());
    const SearchedSystem searched = searchSystem(state, observer.stopRequested, masks, rest, report);
    outcome.stopped = searched.stopped;
    outcome.seconds = report.elapsedSeconds();
    outcome.systemSize = static_cast<int32_t>(std::min<size_t>(searched.members.size(), INT32_MAX));
    if (searched.members.empty()) {
        outcome.fault = searched.fault;
        return;
    }
    // A system too large for the store and its file is not used, so it is not checked either
    // (on the largest stores the optimiser's systems run to thousands of members).
    if (outcome.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) {
        outcome.fault = {FaultReason::SystemTooLargeForFile, outcome.systemSize};
        return;
    }
    outcome.systemFile = writeCheckedSystemFile(
        state, {masks, searched.members, settings.guaranteedHits, settings.anyCombination, settings.output}, observer.write);
    outcome.outsideFilters = outcome.systemFile.outsideFilters;
    outcome.verified = outcome.systemFile.passedCheck();
    outcome.fault = outcome.systemFile.fault;
}

}  // namespace

OptimiseOutcome optimiseStoredSystem(SharedState& state, const OptimiseSettings& settings,
                                     const OptimiseObserver& observer) {
    OptimiseOutcome outcome;
    outcome.storedCount = state.generatedCount;
    outcome.fault = systemSearchRequestFault(state, settings, FaultReason::NothingStored);
    if (!outcome.fault.none()) return outcome;
    outcome.searched = true;
    try {
        optimise(state, settings, observer, outcome);
    } catch (const std::bad_alloc&) {
        outcome.verified = false;
        outcome.fault = {FaultReason::OptimiserOutOfMemory, outcome.storedCount};
    }
    return outcome;
}

}  // namespace quillstep
