#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/platform/heap_trim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace QRV::Platform {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kOwnAllocator = true;  // the sanitizer's allocator stands in for the C library's
#else
constexpr bool kOwnAllocator = false;
#endif

// After a big block has been freed, smaller blocks above the bar still leave nothing behind in the
// heap once freed (the C library's default raises the bar to the big block's size: the smaller
// ones then grow the heap, which keeps them after they are freed).
TEST(HeapPolicy, BlocksAboveTheBarLeaveNothingInTheHeapWhateverWasFreedBefore) {
#if defined(__GLIBC__)
    if (kOwnAllocator) GTEST_SKIP() << "the sanitizer's allocator is not the C library's";
    SetHeapPolicy();
    // Through volatile pointers: the compiler may not drop an allocation it sees go unused.
    void* volatile big = std::malloc(8u << 20);
    std::free(big);
    for (const size_t size : {kOwnMappingBytes * 2, size_t{1} << 20, size_t{3} << 20}) {
        ReturnFreedHeap();
        const size_t heapBefore = mallinfo2().arena;
        void* volatile block = std::malloc(size);
        ASSERT_NE(block, nullptr);
        std::free(block);
        EXPECT_LT(mallinfo2().arena, heapBefore + size / 2) << size << " bytes";
    }
#else
    GTEST_SKIP() << "not the GNU C library";
#endif
}

}  // namespace
}  // namespace QRV::Platform
