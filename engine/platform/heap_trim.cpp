#include "engine/platform/heap_trim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace QRV::Platform {

void ReturnFreedHeap() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace QRV::Platform
