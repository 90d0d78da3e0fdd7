#include "platform/heap.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks up to 32 MiB (the most glibc allows) come from the heap rather
    // than from a mapping of their own, and up to 128 MiB free at the top
    // of the heap stay there.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}

}  // namespace platform
