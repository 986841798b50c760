#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "base/zero_filled_memory.h"

namespace quillstep {
namespace {

// Every element reads 0, and the last one can be written (the whole array is really there).
void expectZeroAndWritable(int32_t* elements, size_t count) {
    size_t nonZero = 0;
    for (size_t i = 0; i < count; ++i) nonZero += elements[i] != 0;
    EXPECT_EQ(nonZero, 0u);
    elements[count - 1] = 7;
    EXPECT_EQ(elements[count - 1], 7);
}

TEST(ZeroFilledMemory, SmallAndLargeArraysAreZeroFilledAndWritableToTheirEnd) {
    // Just below and just above the size from which huge pages are asked for, and an odd size
    // that ends in the middle of a huge page.
    for (size_t count : {HUGE_PAGE_REQUEST_THRESHOLD / sizeof(int32_t) - 1, HUGE_PAGE_REQUEST_THRESHOLD / sizeof(int32_t),
                         size_t{3'000'001}}) {
        ZeroFilledArray array = allocateZeroFilled(count);
        ASSERT_NE(array, nullptr) << count;
        expectZeroAndWritable(array.get(), count);
    }
}

#if defined(__linux__)
TEST(ZeroFilledMemory, LargeArraysStartOnAHugePageAndAreMappedInWholeHugePages) {
    const size_t count = 3'000'001;  // 12,000,004 bytes: the sixth huge page is used in part
    ZeroFilledArray array = allocateZeroFilled(count);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(array.get()) % HUGE_PAGE_BYTES, 0u);
    EXPECT_EQ(array.get_deleter().mappedBytes, 6 * HUGE_PAGE_BYTES);

    // Freeing gives the whole mapping back: no page of it is mapped afterwards.
    auto* start = array.get();
    const size_t mappedBytes = array.get_deleter().mappedBytes;
    array.reset();
    errno = 0;
    EXPECT_EQ(msync(start, mappedBytes, MS_ASYNC), -1);
    EXPECT_EQ(errno, ENOMEM);

    ZeroFilledArray small = allocateZeroFilled(7001);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small.get_deleter().mappedBytes, 0u);  // from calloc, given back to free()
}
#endif

TEST(ZeroFilledMemory, ImpossibleSizesFailInsteadOfWrappingAround) {
    EXPECT_EQ(allocateZeroFilled(SIZE_MAX / 2), nullptr);
    EXPECT_EQ(allocateZeroFilled(SIZE_MAX / sizeof(int32_t) - 1), nullptr);
}

}  // namespace
}  // namespace quillstep
