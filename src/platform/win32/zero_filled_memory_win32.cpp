// The zero-filled arrays on Windows. Large pages there need the "lock pages in memory" privilege,
// which a user normally lacks: calloc's zero pages are what the program can have.

#include "base/zero_filled_memory.h"

#include <cstdlib>

namespace quillstep {

void ZeroFilledRelease::operator()(int32_t* elements) const noexcept { std::free(elements); }

ZeroFilledArray allocateZeroFilledWithoutHugePages(size_t elements) {
    return ZeroFilledArray(static_cast<int32_t*>(std::calloc(elements, sizeof(int32_t))));
}

ZeroFilledArray allocateZeroFilled(size_t elements) { return allocateZeroFilledWithoutHugePages(elements); }

}  // namespace quillstep
