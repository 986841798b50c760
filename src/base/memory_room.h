#pragma once
// Whether a large block of memory can be had now, asked before work that would otherwise find out
// half way: a block of that size is requested and handed back at once, untouched, so that only
// address space (or the system's commit charge) is taken for that moment.

#include <cstdint>

namespace quillstep {

bool memoryRoomFor(int64_t bytes);

}  // namespace quillstep
