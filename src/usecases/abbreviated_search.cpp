#include "usecases/abbreviated_search.h"

#include <new>

namespace quillstep {

SearchOutcome searchAndWriteSystem(SharedState& state, const SearchRequest& request, const SearchObserver& observer) {
    AbbreviatedSearchObserver searchObserver;
    searchObserver.onProgress = observer.onProgress;
    searchObserver.stopRequested = observer.stopRequested;
    const AbbreviatedSearchResult found = findAbbreviatedSystem(state, request.guaranteedHits, searchObserver);

    SearchOutcome outcome;
    outcome.fault = found.refusal;
    if (!found.searched()) return outcome;
    outcome.searched = true;
    outcome.stopped = found.stopped;
    outcome.startsChecked = found.startsChecked;
    outcome.startsInAll = found.startsInAll;
    outcome.bestStart = found.bestStart;
    outcome.bestSize = found.bestSize;
    outcome.systemSize = found.systemSize;
    if (observer.onSearched) observer.onSearched(outcome);
    if (found.systemSize >= ABBREVIATED_SYSTEM_CAPACITY) {
        outcome.fault = {FaultReason::SystemNotUseful, found.systemSize};
        return outcome;
    }

    try {
        outcome.systemFile = writeCheckedSystemFile(
            state, {found.stored, found.system, request.guaranteedHits, false, request.output}, observer.write);
    } catch (const std::bad_alloc&) {
        // The check's tables did not fit: nothing is written, the program goes on.
        SearchOutcome refused;
        refused.fault = {FaultReason::SearchOutOfMemory, state.generatedCount};
        return refused;
    }
    outcome.fault = outcome.systemFile.fault;
    outcome.file = outcome.systemFile.file;
    outcome.file.written = outcome.systemFile.written();
    return outcome;
}

}  // namespace quillstep
