// The two commands "7 good numbers/get 4 in comb." and "7 good numbers/get 5 in comb.": the best
// starting combination, its system rebuilt into the abbreviated-system store, the two messages
// and the system file.

#include "wheels/abbreviated_system.h"

#include <algorithm>
#include <new>
#include <string>

#include "commands/control_ids.h"
#include "commands/number_text.h"
#include "wheels/start_search.h"
#include "wheels/system_verification.h"

namespace quillstep {

const char* const NOTHING_TO_SEARCH_MESSAGE =
    "Nothing to search: the last storing run accepted no combination, so no abbreviated system can be "
    "built and no file is written.";
const char* const SEARCH_OUT_OF_MEMORY_MESSAGE =
    "Not enough memory for the search of an abbreviated system among the stored combinations: nothing "
    "was searched and no file is written.";

namespace {

// The literals in which the G4 and G5 commands differ.
struct SearchTexts {
    const char* progressMiddle;
    const char* resultTail;
};
constexpr SearchTexts G4_TEXTS{" checked systems: ", " combinations/4 of any 7 under given conditions"};
constexpr SearchTexts G5_TEXTS{" checked systems:", " combinations/5 of any 7 under given conditions"};

std::string stoppedMessage(int32_t startsChecked, int32_t count) {
    return "Search stopped after" + signedNumberText(startsChecked, 10) + " of" + signedNumberText(count, 10) +
           " starting combinations; the best system among them follows.";
}

// Builds the greedy system of `startNumber` into the abbreviated-system store; returns its members
// as masks.
std::vector<uint64_t> buildSystemIntoStore(SharedState& state, const std::vector<uint64_t>& masks, int32_t startNumber,
                                           int guaranteedHits) {
    const std::vector<int32_t> members = greedySystemMembers(masks, startNumber, guaranteedHits);
    std::vector<uint64_t> system;
    for (size_t s = 0; s < members.size(); ++s) {
        const int32_t* from = state.storedCombination(members[s]);
        std::copy(from, from + NUMBERS_PER_COMBINATION, state.abbreviatedSystemStore.get() + 7 * s + 1);
        system.push_back(masks[static_cast<size_t>(members[s])]);
    }
    return system;
}

// The system file of a search, written only when the system passes the check apart from the
// search, and read back before it takes the old file's place. A failure is told in a message and
// leaves the old file.
FileWriteResult writeVerifiedSystem(SharedState& state, Platform& platform, const std::vector<uint64_t>& masks,
                                    const std::vector<uint64_t>& system, int guaranteedHits) {
    const std::string fault =
        guaranteeFault(checkAgainstStore(masks, system, guaranteedHits, state.parameters.totalNumbers), false,
                       "the system found");
    if (!fault.empty()) {
        FileWriteResult refused;
        refused.fileName = guaranteedHits == 5 ? G5_SYSTEM_FILE_NAME : G4_SYSTEM_FILE_NAME;
        refused.error = fault;
        platform.showMessage("Not written: " + fault + "; " + refused.fileName + " keeps its previous content.");
        return refused;
    }
    const int32_t size = static_cast<int32_t>(system.size());
    // The writer reads the file back before it replaces the old one.
    return guaranteedHits == 5 ? writeG5SystemFile(state, platform, size) : writeG4SystemFile(state, platform, size);
}

}  // namespace

int32_t buildGreedySystem(SharedState& state, int32_t startNumber, int guaranteedHits) {
    return static_cast<int32_t>(buildSystemIntoStore(state, combinationMasks(state), startNumber, guaranteedHits).size());
}

namespace {

SearchOutcome searchWithMemory(SharedState& state, Platform& platform, int guaranteedHits) {
    SearchOutcome outcome;
    const int32_t count = state.generatedCount;
    outcome.searched = true;
    const SearchTexts& texts = guaranteedHits == 5 ? G5_TEXTS : G4_TEXTS;
    const std::string countText = signedNumberText(count, 10);

    // The progress text of every multiple of 50, in order, once the pass of that starting
    // number has begun.
    int32_t progressShownUpTo = 0;
    StartSearchOptions options;
    options.kernel = fastestPassKernel(guaranteedHits);
    options.onProgress = [&](int32_t startsBegun) {
        for (int32_t start = (progressShownUpTo / PROGRESS_INTERVAL + 1) * PROGRESS_INTERVAL; start <= startsBegun;
             start += PROGRESS_INTERVAL)
            platform.setControlText(COUNT_LABEL, countText + texts.progressMiddle + signedNumberText(start, 10));
        progressShownUpTo = std::max(progressShownUpTo, startsBegun);
    };
    options.stopRequested = [&] { return platform.pollStopRequest(); };

    const std::vector<uint64_t> masks = combinationMasks(state);
    const BestStart best = findBestStart(masks, guaranteedHits, options);
    outcome.stopped = best.stopped;
    outcome.startsChecked = best.startsChecked;
    outcome.bestStart = best.bestStart;
    outcome.bestSize = best.bestSize;

    if (best.stopped) platform.showMessage(stoppedMessage(best.startsChecked, count));
    platform.setControlText(COUNT_LABEL, countText);
    platform.showMessage("Best starting combination number:" + signedNumberText(best.bestStart, 15) +
                         ", abbreviated system:" + signedNumberText(best.bestSize, 10));

    // The passes kept no system; the best one is built once more into the store.
    const std::vector<uint64_t> system = buildSystemIntoStore(state, masks, best.bestStart, guaranteedHits);
    outcome.systemSize = static_cast<int32_t>(system.size());
    platform.showMessage("We found for now  " + maskedNumberText(outcome.systemSize, "####") + texts.resultTail);

    if (outcome.systemSize < ABBREVIATED_SYSTEM_CAPACITY) {
        outcome.file = writeVerifiedSystem(state, platform, masks, system, guaranteedHits);
    } else {
        platform.showMessage("Not usefull! Try something else");
    }
    return outcome;
}

}  // namespace

SearchOutcome searchAbbreviatedSystem(SharedState& state, Platform& platform, int guaranteedHits) {
    if (state.generatedCount <= 0) {
        platform.showMessage(NOTHING_TO_SEARCH_MESSAGE);
        return SearchOutcome{};
    }
    try {
        return searchWithMemory(state, platform, guaranteedHits);
    } catch (const std::bad_alloc&) {
        // The search's tables did not fit: nothing was searched, the program goes on.
        platform.setControlText(COUNT_LABEL, signedNumberText(state.generatedCount, 10));
        platform.showMessage(SEARCH_OUT_OF_MEMORY_MESSAGE);
        return SearchOutcome{};
    }
}

}  // namespace quillstep
