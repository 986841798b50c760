#pragma once
// Buttons "7 good numbers/get 4 in comb." (4) and "7 good numbers/get 5 in comb." (5): the search
// of commands/abbreviated_system_command.h, its progress in the count label, its result in message
// boxes, and the system file through the one writer of commands/system_file_writer.h.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "commands/abbreviated_system_command.h"
#include "commands/combination_file.h"
#include "commands/system_file_writer.h"
#include "engine/shared_state.h"
#include "platform/platform.h"

namespace quillstep {

struct SearchOutcome {
    bool searched = false;      // false: nothing was stored or memory was short; nothing searched or written
    SearchRefusal refusal = SearchRefusal::NothingStored;  // why not, when not searched
    bool stopped = false;       // the user stopped the search; the best among the checked starts was used
    int32_t startsChecked = 0;
    int32_t bestStart = 1;
    int32_t bestSize = 10000;
    int32_t systemSize = 0;     // size of the rebuilt best system (1000: not usefull, not written)
    SystemFileOutcome systemFile;  // the system file, for a system below the capacity
    FileWriteResult file;       // the system file: written only when checked, written and read back;
                                // error says why not
};

// Called besides the count label for every 50 starting combinations checked (the command line's
// progress line).
using SearchProgressListener = std::function<void(int32_t startsChecked, int32_t startsInAll)>;

// `output`: a file name of the user's own, as given (the command line's --output); empty: the
// guarantee's file in the output folder.
SearchOutcome searchAbbreviatedSystem(SharedState& state, Platform& platform, int guaranteedHits,
                                      const SearchProgressListener& listener = {},
                                      const std::filesystem::path& output = {});

// The text shown instead of a search when the last storing run accepted nothing.
extern const char* const NOTHING_TO_SEARCH_MESSAGE;
// The text shown instead of a search whose tables could not be allocated.
extern const char* const SEARCH_OUT_OF_MEMORY_MESSAGE;

// The message shown instead of a search (NOTHING_TO_SEARCH_MESSAGE or SEARCH_OUT_OF_MEMORY_MESSAGE).
const char* searchRefusalMessage(SearchRefusal refusal);

}  // namespace quillstep
