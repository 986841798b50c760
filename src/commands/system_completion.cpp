// Completing a system: the fixed-member optimiser, the separate check of the whole system, the
// abbreviated-system store and its file, read back before the file is reported written.

#include "commands/system_completion.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "commands/stored_masks.h"
#include "wheels/fixed_member_cover.h"
#include "wheels/system_check.h"
#include "wheels/system_verification.h"

namespace quillstep {
namespace {

using Clock = std::chrono::steady_clock;

std::string settingsMistake(const CompletionSettings& settings) {
    if (settings.guaranteedHits != 4 && settings.guaranteedHits != 5) return "guaranteed hits must be 4 or 5";
    if (!(settings.timeLimitSeconds >= 1.0 && settings.timeLimitSeconds <= 3600.0))
        return "the time limit must be 1 to 3600 seconds";
    if (settings.stepBudget < 0) return "the step budget must not be negative";
    return {};
}

// The first line holding a number above the total, or 0.
size_t lineAboveTotal(const std::vector<uint64_t>& lines, int totalNumbers) {
    const uint64_t allowed = ((uint64_t{2} << totalNumbers) - 1) & ~uint64_t{1};
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] & ~allowed) return i + 1;
    return 0;
}

void putIntoSystemStore(SharedState& state, const std::vector<uint64_t>& system) {
    int32_t* out = state.abbreviatedSystemStore.get() + 1;
    for (const uint64_t member : system)
        for (int v = 1; v < 64; ++v)
            if (member & (uint64_t{1} << v)) *out++ = v;
}

void complete(SharedState& state, Platform& platform, const std::vector<uint64_t>& lines,
              const CompletionSettings& settings, const std::function<void(const OptimiserProgress&)>& onProgress,
              CompletionOutcome& outcome) {
    const Clock::time_point start = Clock::now();
    const std::vector<uint64_t> stored = storedMasks(state);
    FixedMemberRequest request;
    request.stored = stored.data();
    request.storedCount = static_cast<int32_t>(stored.size());
    request.fixedMembers = lines;
    request.guaranteedHits = settings.guaranteedHits;
    request.timeLimitSeconds = settings.timeLimitSeconds;
    request.seed = settings.seed;
    request.stepBudget = settings.stepBudget;
    request.threads = settings.stepBudget > 0 ? 2 : 0;  // a budgeted run gives the same system anywhere
    request.onProgress = onProgress;
    request.stopRequested = [&platform] { return platform.pollStopRequest(); };
    const FixedMemberResult found = addMembersToCover(request);
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    outcome.stopped = found.stopped;
    outcome.holes = found.holes;
    if (!found.error.empty()) {
        outcome.error = found.error;
        return;
    }
    outcome.added = static_cast<int32_t>(found.added.size());

    std::vector<uint64_t> system = lines;
    system.insert(system.end(), found.added.begin(), found.added.end());
    if (system.size() >= static_cast<size_t>(ABBREVIATED_SYSTEM_CAPACITY)) {
        outcome.error = "a system of " + std::to_string(system.size()) +
                        " combinations is not written: files hold at most " +
                        std::to_string(ABBREVIATED_SYSTEM_CAPACITY - 1);
        return;
    }
    const SystemCheck check = checkAgainstStore(stored, system, settings.guaranteedHits, state.parameters.totalNumbers);
    outcome.outsideFilters = static_cast<int32_t>(check.membersNotStored.size());
    if (const std::string fault = guaranteeFault(check, true, "the completed system"); !fault.empty()) {
        outcome.error = fault;
        return;
    }
    putIntoSystemStore(state, system);
    const int32_t size = static_cast<int32_t>(system.size());
    const std::string note = outcome.outsideFilters > 0 ? " (system holds " + std::to_string(outcome.outsideFilters) +
                                                              " combinations outside the filters)"
                                                        : std::string();
    outcome.file = settings.guaranteedHits == 5 ? writeG5SystemFile(state, platform, size, note)
                                                : writeG4SystemFile(state, platform, size, note);
    if (!outcome.file.written) {
        outcome.error = outcome.file.error;
    } else if (!fileHoldsSystem(state, outcome.file.fileName, system)) {
        outcome.file.written = false;
        outcome.error = outcome.file.fileName + " does not read back as the system that was written";
    } else {
        outcome.completed = true;
    }
}

}  // namespace

CompletionOutcome completeSystem(SharedState& state, Platform& platform, const std::vector<uint64_t>& lines,
                                 const CompletionSettings& settings,
                                 const std::function<void(const OptimiserProgress&)>& onProgress) {
    CompletionOutcome outcome;
    outcome.kept = static_cast<int32_t>(std::min<size_t>(lines.size(), INT32_MAX));
    if (state.generatedCount <= 0) {
        outcome.error = "nothing is stored: the last storing run accepted no combination";
        return outcome;
    }
    if (const std::string mistake = settingsMistake(settings); !mistake.empty()) {
        outcome.error = mistake;
        return outcome;
    }
    if (lines.size() >= static_cast<size_t>(ABBREVIATED_SYSTEM_CAPACITY)) {
        outcome.error = "the system has " + std::to_string(lines.size()) +
                        " lines already: files hold at most " + std::to_string(ABBREVIATED_SYSTEM_CAPACITY - 1);
        return outcome;
    }
    if (const size_t line = lineAboveTotal(lines, state.parameters.totalNumbers); line != 0) {
        outcome.error = "combination " + std::to_string(line) + " of the system holds a number above " +
                        std::to_string(state.parameters.totalNumbers) + ", the total numbers in system";
        return outcome;
    }
    try {
        complete(state, platform, lines, settings, onProgress, outcome);
    } catch (const std::bad_alloc&) {
        outcome.completed = false;
        outcome.file.written = false;
        outcome.error = "not enough memory to complete the system on " + std::to_string(state.generatedCount) +
                        " stored combinations";
    }
    return outcome;
}

}  // namespace quillstep
