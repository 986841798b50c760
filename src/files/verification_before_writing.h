#pragma once
// What every command that writes an abbreviated system does before it tells the user so: the
// system is checked against the store by code apart from the search that built it (the written
// file is read back by the writer, commands/combination_file).

#include <cstdint>
#include <vector>

#include "wheels/check/independent_system_check.h"

namespace quillstep {

// The check of `system` (masks) against the store `masks`, members of 1..totalNumbers.
SystemCheck checkAgainstStore(const std::vector<uint64_t>& masks, const std::vector<uint64_t>& system,
                              int guaranteedHits, int totalNumbers);

}  // namespace quillstep
