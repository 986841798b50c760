#include "base/memory_room.h"

#include <cstddef>
#include <limits>
#include <new>

namespace quillstep {

bool memoryRoomFor(int64_t bytes) {
    if (bytes <= 0) return true;
    if (static_cast<uint64_t>(bytes) > std::numeric_limits<size_t>::max() / 2) return false;
    char* block = new (std::nothrow) char[static_cast<size_t>(bytes)];
    if (block == nullptr) return false;
    delete[] block;
    return true;
}

}  // namespace quillstep
