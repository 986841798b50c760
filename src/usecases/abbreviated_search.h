#pragma once
// The greedy search of an abbreviated system as one use case: the search among the stored
// combinations, then its system checked and written through the one writer of a system file.
// Progress, the stop request and the file's progress come through the observer; the result is a
// value. No texts: the G4/G5 buttons (app/abbreviated_system_buttons) and the command line's
// search4/search5 make them from the result (texts/search_texts).

#include <cstdint>
#include <filesystem>
#include <functional>

#include "usecases/abbreviated_system_command.h"
#include "files/combination_file.h"
#include "files/system_file_writer.h"
#include "engine/shared_state.h"

namespace quillstep {

struct SearchRequest {
    int guaranteedHits = 4;
    // A file name of the user's own, as given (the command line's --output); empty: the
    // guarantee's file in the output folder.
    std::filesystem::path output;
};

struct SearchOutcome {
    bool searched = false;      // false: nothing was stored or memory was short; nothing searched or written
    // How it ended: NothingToSearch or SearchOutOfMemory when not searched, SystemNotUseful for a
    // system of ABBREVIATED_SYSTEM_CAPACITY or more, else the system file's (none: written).
    Fault fault{FaultReason::NothingToSearch};
    bool stopped = false;       // the user stopped the search; the best among the checked starts was used
    int32_t startsChecked = 0;
    int32_t startsInAll = 0;    // the stored combinations
    int32_t bestStart = 1;
    int32_t bestSize = 10000;
    int32_t systemSize = 0;     // size of the rebuilt best system (1000: not usefull, not written)
    SystemFileOutcome systemFile;  // the system file, for a system below the capacity
    FileWriteResult file;       // the system file: written only when checked, written and read back
};

struct SearchObserver {
    // For every 50 starting combinations checked: startsChecked of startsInAll.
    std::function<void(int32_t startsChecked, int32_t startsInAll)> onProgress;
    // Polled while passes run; true stops the search with the best among the starts checked.
    std::function<bool()> stopRequested;
    // Once the search has ended and before the file is written (not called when nothing was
    // searched).
    std::function<void(const SearchOutcome&)> onSearched;
    // The system file's writer.
    WriteObserver write;
};

// Searches, and writes a system below ABBREVIATED_SYSTEM_CAPACITY. A check whose tables do not
// fit ends as a refusal for want of memory, with nothing written.
SearchOutcome searchAndWriteSystem(SharedState& state, const SearchRequest& request, const SearchObserver& observer);

}  // namespace quillstep
