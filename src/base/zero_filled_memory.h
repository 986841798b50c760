#pragma once
// Zero-filled arrays for the shared state, allocated once and freed at exit. Large arrays are
// mapped so that the system can back them with huge pages where it has them: the first run that
// fills the 431 MB store then takes a few hundred page faults instead of some hundred thousand.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quillstep {

// Frees an array of allocateZeroFilled: unmaps `mappedBytes` when the array was mapped, hands it
// back to free() otherwise (mappedBytes 0).
struct ZeroFilledRelease {
    size_t mappedBytes = 0;
    void operator()(int32_t* elements) const noexcept;
};
using ZeroFilledArray = std::unique_ptr<int32_t[], ZeroFilledRelease>;

// The size of a huge page on x86-64, the alignment and granularity of a mapped array.
constexpr size_t HUGE_PAGE_BYTES = size_t{2} << 20;

// Arrays at least this large are mapped with a request for huge pages (on Linux); smaller ones,
// and every array on other systems, come from calloc.
constexpr size_t HUGE_PAGE_REQUEST_THRESHOLD = HUGE_PAGE_BYTES;

// `elements` zero 32-bit integers, or null when the memory cannot be had.
ZeroFilledArray allocateZeroFilled(size_t elements);

// The same without the huge-page request: calloc, as before (for comparisons).
ZeroFilledArray allocateZeroFilledWithoutHugePages(size_t elements);

}  // namespace quillstep
