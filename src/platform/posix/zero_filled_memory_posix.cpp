// The zero-filled arrays on POSIX systems: on Linux large arrays are mapped with a request for
// huge pages; elsewhere every array comes from calloc.

#include "base/zero_filled_memory.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quillstep {

void ZeroFilledRelease::operator()(int32_t* elements) const noexcept {
#if defined(__linux__)
    if (mappedBytes > 0) {
        munmap(elements, mappedBytes);
        return;
    }
#endif
    std::free(elements);
}

ZeroFilledArray allocateZeroFilledWithoutHugePages(size_t elements) {
    return ZeroFilledArray(static_cast<int32_t*>(std::calloc(elements, sizeof(int32_t))));
}

#if defined(__linux__)

namespace {

size_t roundUpToHugePages(size_t bytes) { return (bytes + HUGE_PAGE_BYTES - 1) / HUGE_PAGE_BYTES * HUGE_PAGE_BYTES; }

// An anonymous mapping (zero pages, filled lazily) of `bytes`, a multiple of HUGE_PAGE_BYTES,
// starting on a huge-page boundary: one huge page more is mapped and the unaligned head and
// the rest of the tail are given back.
void* mapAlignedToHugePages(size_t bytes) {
    const size_t mapped = bytes + HUGE_PAGE_BYTES;
    void* base = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(base);
    const uintptr_t aligned = (start + HUGE_PAGE_BYTES - 1) & ~(uintptr_t{HUGE_PAGE_BYTES} - 1);
    const size_t head = aligned - start;
    if (head > 0) munmap(base, head);
    munmap(reinterpret_cast<void*>(aligned + bytes), mapped - head - bytes);
    return reinterpret_cast<void*>(aligned);
}

}  // namespace

ZeroFilledArray allocateZeroFilled(size_t elements) {
    // Sizes whose rounding up to whole huge pages would wrap around cannot be had anyway.
    if (elements > (SIZE_MAX - 2 * HUGE_PAGE_BYTES) / sizeof(int32_t)) return nullptr;
    const size_t bytes = elements * sizeof(int32_t);
    if (bytes < HUGE_PAGE_REQUEST_THRESHOLD) return allocateZeroFilledWithoutHugePages(elements);
    const size_t mappedBytes = roundUpToHugePages(bytes);
    void* memory = mapAlignedToHugePages(mappedBytes);
    if (!memory) return nullptr;
    // Only a request: where transparent huge pages are off (or the call is unknown) the mapping
    // simply keeps its small pages.
    madvise(memory, mappedBytes, MADV_HUGEPAGE);
    return ZeroFilledArray(static_cast<int32_t*>(memory), ZeroFilledRelease{mappedBytes});
}

#else

ZeroFilledArray allocateZeroFilled(size_t elements) { return allocateZeroFilledWithoutHugePages(elements); }

#endif

}  // namespace quillstep
