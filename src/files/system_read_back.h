#pragma once
// The read-back a system file passes before it takes the place of the old one: read back through the
// written file itself, it must hold exactly the rows that were written, in the same order. Reading
// the file under its name after the rename could meet another writer's file that replaced it in
// the meantime, and call that corruption.

#include <cstdint>
#include <vector>

#include "base/replacement_file.h"

namespace quillstep {

// Whether the written (not yet committed) file reads back as a system file of exactly the
// combinations of `system` (as masks, bit v for number v), in order.
bool readsBackAsSystem(ReplacementFile& file, const std::vector<uint64_t>& system);

}  // namespace quillstep
