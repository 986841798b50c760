#pragma once
// How the writing of a file shows on screen: the rows written in the main window's time label,
// then a message box with the time taken (and the time in the label) or why the write failed;
// and the reasons a system file was not written. Used by the main window's buttons, the
// "Smaller systems" window and the command line, which echoes every message box.

#include <string>

#include "commands/combination_file.h"
#include "commands/system_file_writer.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "wheels/check/independent_system_check.h"

namespace quillstep {

// The rows written so far in the time label, the platform's clock, and the message at the end.
WriteObserver mainWindowWriteObserver(Platform& platform);

// Button "Last data to mb_comb_file.txt": the first generatedCount stored combinations.
FileWriteResult writeCombinationFile(SharedState& state, Platform& platform);

// Why the checked system fails its guarantee, or "" when it holds. `whose` begins the reason
// ("the optimiser's system").
std::string guaranteeFaultText(const SystemCheck& check, bool membersMayBeAnyCombination, const std::string& whose);

// Why the system file was not written ("" when it was): the guarantee's fault, the writer's error,
// or "<file> does not read back as the system that was written".
std::string systemFileFaultText(const SystemFileOutcome& outcome, bool membersMayBeAnyCombination,
                                const std::string& whose);

// The answer of the capacity proof given before a search of the optimiser or a completion:
// "no system of fewer than 1000 combinations can cover the <n> stored combinations (proven
// before any search)".
std::string noSystemBelowCapacityText(int64_t storedCount);

}  // namespace quillstep
