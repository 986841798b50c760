#pragma once
// "Save as..." of the Smaller systems and Check a system windows: the system a window found last,
// written again under a name the user chooses in the system's save dialog, through the one writer
// of a system file (the check, the safe replacement of a file that exists, the read-back).

#include <cstdint>
#include <string>
#include <vector>

#include "files/system_file_writer.h"
#include "engine/shared_state.h"
#include "platform/platform.h"

namespace quillstep {

constexpr const char* SAVE_SYSTEM_FILE_TITLE = "Save the system as";

// The system a window can save: its members as masks, in file order.
struct SavableSystem {
    bool present = false;
    int guaranteedHits = 4;
    bool membersMayBeAnyCombination = false;
    std::vector<uint64_t> members;
};

// The first `size` members of the abbreviated-system store as masks: the system the writer last
// checked (also when its file could not be written).
std::vector<uint64_t> systemStoreMembers(const SharedState& state, int32_t size);

// Those members with their guarantee, for "Save as...".
SavableSystem savableSystemFromStore(const SharedState& state, int32_t size, int guaranteedHits,
                                     bool membersMayBeAnyCombination);

// The name the save dialog starts with: "system_g4.txt" or "system_g5.txt".
std::string suggestedSystemFileName(int guaranteedHits);

struct SaveAsOutcome {
    bool cancelled = true;       // the dialog was cancelled: nothing was written
    SystemFileOutcome systemFile;
};

// Asks for the name and writes the system there. A write that fails is told in a message box by
// the writer's observer (the main window's), a refused check or read-back in one of its own; the
// file that was there before stays as it was.
SaveAsOutcome saveSystemAs(SharedState& state, Platform& platform, const SavableSystem& system);

// The window's line about it: "Saved as <name>: <n> combinations." or "Not written: <reason>."
// ("" when cancelled).
std::string saveAsOutcomeText(const SaveAsOutcome& outcome, const SavableSystem& system);

}  // namespace quillstep
