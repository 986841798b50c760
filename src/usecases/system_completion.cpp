// Completing a system: the fixed-member optimiser, then the one writer of a system file, which
// checks the whole system against the store, puts it into the abbreviated-system store, writes
// its file and reads it back before the file is reported written. Before the search the capacity
// proof answers at once where no system of fewer than ABBREVIATED_SYSTEM_CAPACITY combinations
// can cover the store; the file's lines may be any combinations, so only the proof's bound for
// members of any seven numbers applies.

#include "usecases/system_completion.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "usecases/store_masks.h"
#include "wheels/greedy/capacity_proof.h"
#include "wheels/optimiser/fixed_member_cover.h"

namespace quillstep {
namespace {

using Clock = std::chrono::steady_clock;

// A budgeted run gives the same system on any machine with a fixed number of parallel searches.
constexpr unsigned BUDGETED_SEARCHES = 2;

// The first line holding a number above the total, counted from 1, or 0.
size_t lineAboveTotal(const std::vector<uint64_t>& lines, int totalNumbers) {
    const uint64_t allowed = numbersUpTo(totalNumbers);
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] & ~allowed) return i + 1;
    return 0;
}

void complete(SharedState& state, const std::vector<uint64_t>& lines, const CompletionSettings& settings,
              const CompletionObserver& observer, CompletionOutcome& outcome) {
    const Clock::time_point start = Clock::now();
    const std::vector<uint64_t> stored = combinationMasks(state);
    if (proveNoSystemBelowCapacity(stored, settings.guaranteedHits, ABBREVIATED_SYSTEM_CAPACITY, false, CountingWork{}) ==
        CapacityProof::Proven) {
        outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        outcome.fault = {FaultReason::NoCompletionBelowCapacity, outcome.storedCount};
        return;
    }
    CoverRequest request;
    request.stored = stored.data();
    request.storedCount = static_cast<int64_t>(stored.size());
    request.pool = numbersUpTo(state.parameters.totalNumbers);
    request.fixedTickets = lines;
    request.hits = settings.guaranteedHits;
    request.timeLimitSeconds = settings.timeLimitSeconds;
    request.seed = settings.seed;
    request.moveBudget = settings.stepBudget;
    request.threads = settings.stepBudget > 0 ? BUDGETED_SEARCHES : 0;
    request.onProgress = observer.onProgress;
    request.stopRequested = [&observer] { return observer.stopRequested && observer.stopRequested(); };
    const FixedMemberResult found = addMembersToCover(request);
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    outcome.stopped = found.stopped;
    outcome.holes = found.holes;
    if (!found.error.empty()) {
        outcome.fault = {FaultReason::CompletionSearchFailed, 0, 0, found.error};
        return;
    }
    outcome.added = static_cast<int32_t>(found.added.size());

    std::vector<uint64_t> system = lines;
    system.insert(system.end(), found.added.begin(), found.added.end());
    if (system.size() >= static_cast<size_t>(ABBREVIATED_SYSTEM_CAPACITY)) {
        outcome.fault = {FaultReason::CompletionTooLargeForFile, static_cast<int64_t>(system.size())};
        return;
    }
    // The file's lines need not be stored combinations: they are the player's.
    outcome.systemFile = writeCheckedSystemFile(state, {stored, system, settings.guaranteedHits, true, settings.output}, observer.write);
    outcome.outsideFilters = outcome.systemFile.outsideFilters;
    outcome.fault = outcome.systemFile.fault;
}

}  // namespace

CompletionOutcome completeSystem(SharedState& state, const std::vector<uint64_t>& lines,
                                 const CompletionSettings& settings, const CompletionObserver& observer) {
    CompletionOutcome outcome;
    outcome.kept = static_cast<int32_t>(std::min<size_t>(lines.size(), INT32_MAX));
    outcome.storedCount = state.generatedCount;
    outcome.fault = systemSearchRequestFault(state, settings, FaultReason::NothingStoredToComplete);
    if (!outcome.fault.none()) return outcome;
    if (lines.size() >= static_cast<size_t>(ABBREVIATED_SYSTEM_CAPACITY)) {
        outcome.fault = {FaultReason::TooManyLinesToComplete, outcome.kept};
        return outcome;
    }
    if (const size_t line = lineAboveTotal(lines, state.parameters.totalNumbers); line != 0) {
        outcome.fault = {FaultReason::NumberAboveTotal, static_cast<int64_t>(line), state.parameters.totalNumbers};
        return outcome;
    }
    try {
        complete(state, lines, settings, observer, outcome);
    } catch (const std::bad_alloc&) {
        outcome.fault = {FaultReason::CompletionOutOfMemory, outcome.storedCount};
    }
    return outcome;
}

}  // namespace quillstep
