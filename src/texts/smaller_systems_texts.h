#pragma once
// What the "Smaller systems" window says while the optimiser runs and when it has ended.

#include <string>

#include "usecases/optimise_command.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

// Shown before the first search and while nothing runs.
constexpr const char* SMALLER_SYSTEMS_READY_TEXT = "Choose the guarantee and the time limit, then press Start.";

// The smallest system so far and the whole seconds left of the time limit (rounded up).
std::string optimiserProgressText(const CoverProgress& progress);

// Why no file was written, in lower case as the command line prints it after "not written: "
// ("nothing is stored: the last storing run accepted no combination"); "" when one was.
std::string optimiseFaultText(const OptimiseOutcome& outcome);

// The size of the system and the file it went to, or why no file was written. With members
// allowed outside the stored combinations, it says how many lie outside the filters.
std::string optimiseOutcomeText(const OptimiseOutcome& outcome, const OptimiseSettings& settings);

}  // namespace quillstep
