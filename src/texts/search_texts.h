#pragma once
// The messages of the greedy search of an abbreviated system (the G4/G5 buttons and the command
// line's search4/search5): what it found, why it did not search, why its file was not written.

#include <cstdint>
#include <string>
#include <vector>

#include "usecases/abbreviated_system_command.h"
#include "usecases/abbreviated_search.h"

namespace quillstep {

// The text shown instead of a search when the last storing run accepted nothing.
extern const char* const NOTHING_TO_SEARCH_MESSAGE;
// The text shown instead of a search whose tables could not be allocated.
extern const char* const SEARCH_OUT_OF_MEMORY_MESSAGE;
// The text shown instead of writing a system of ABBREVIATED_SYSTEM_CAPACITY or more.
extern const char* const NOT_USEFUL_MESSAGE;

// The message shown instead of a search (NOTHING_TO_SEARCH_MESSAGE or SEARCH_OUT_OF_MEMORY_MESSAGE).
const char* searchRefusalMessage(const Fault& refusal);

// The messages of a search that ran, in the order they are shown before its file is written: the
// stop (when stopped), the best start, the system's size, and "Not usefull!" for a system too large.
std::vector<std::string> searchFoundMessages(const SearchOutcome& outcome, int guaranteedHits);

// Why the search wrote no file, as the command line's "not written:" line says it ("" when it
// wrote one): the message shown instead of a search, or for want of memory the stored
// combinations it could not search, "Not usefull! ...", or why its system file was not written.
std::string searchFaultText(const SearchOutcome& outcome);

// The message of a system that failed its check or its read-back, shown after the write; "" for
// none (a failed write has the writer's own message).
std::string searchFileFaultMessage(const SearchOutcome& outcome);

}  // namespace quillstep
