#pragma once
// What every command that writes an abbreviated system does before it tells the user so: the
// system is checked against the store by code apart from the search that built it, and the
// written file is read back.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/shared_state.h"
#include "wheels/check/independent_system_check.h"

namespace quillstep {

// The check of `system` (masks) against the store `masks`, members of 1..totalNumbers.
SystemCheck checkAgainstStore(const std::vector<uint64_t>& masks, const std::vector<uint64_t>& system,
                              int guaranteedHits, int totalNumbers);

// Whether the system file `fileName` in the output folder reads back as exactly `system`: the same
// combinations in the same order. (The writers read a system file back through the file itself
// before it replaces the old one; this reads whatever lies under the name now.)
bool fileHoldsSystem(const SharedState& state, const std::string& fileName, const std::vector<uint64_t>& system);

}  // namespace quillstep
