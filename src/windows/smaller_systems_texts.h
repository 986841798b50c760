#pragma once
// What the "Smaller systems" window says while the optimiser runs and when it has ended.

#include <string>

#include "commands/optimise_command.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

// Shown before the first search and while nothing runs.
constexpr const char* SMALLER_SYSTEMS_READY_TEXT = "Choose the guarantee and the time limit, then press Start.";

// The smallest system so far and the whole seconds left of the time limit (rounded up).
std::string optimiserProgressText(const OptimiserProgress& progress);

// The size of the system and the file it went to, or why no file was written. With members
// allowed outside the stored combinations, it says how many lie outside the filters.
std::string optimiseOutcomeText(const OptimiseOutcome& outcome, const OptimiseSettings& settings);

}  // namespace quillstep
