#include "engine/platform/heap_trim.h"

// Any C library header says which library this is; without one __GLIBC__ is never defined.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace QRV::Platform {

void SetHeapPolicy() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kOwnMappingBytes));
    mallopt(M_ARENA_MAX, 2);
#endif
}

void ReturnFreedHeap() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace QRV::Platform
