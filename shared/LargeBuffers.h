#pragma once

#include <malloc.h>

namespace shared {

// Page pictures are megabytes each. By default glibc hands blocks that large straight back to the
// system and maps them afresh for the next page, and every page of a fresh mapping costs a fault,
// which is dear on virtual machines. Keeping them in the heap lets one page's memory serve the next.
inline void reuseLargeBuffers() {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);  // the largest glibc accepts on 64-bit
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

}  // namespace shared
