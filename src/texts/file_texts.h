#pragma once
// The texts of a written file and of a system file not written, for the windows and the command
// line alike: the message at the end of a write, and the reasons a system file was refused.

#include <cstdint>
#include <string>

#include "files/combination_file.h"
#include "files/system_file_writer.h"
#include "wheels/check/independent_system_check.h"

namespace quillstep {

// The message at the end of a write: the time taken, or why the file was not written and that the
// previous one stays.
std::string fileWriteEndedMessage(const FileWriteResult& result);

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
