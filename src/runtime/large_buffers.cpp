#include "runtime/large_buffers.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace rt {

void useHeapForLargeBuffers(std::size_t keepBytes, std::size_t hugeBytes) {
#if defined(__GLIBC__)
    // Blocks from the heap are reused after free; mapped blocks are zeroed afresh each time.
    mallopt(M_MMAP_MAX, 0);
    // The huge-page block below must stay too, with the heap's own margin above it.
    const std::size_t keep = std::max(keepBytes, hugeBytes + (16u << 20));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(std::min<std::size_t>(keep, INT32_MAX)));
    if (hugeBytes == 0) return;
    // Grow the heap once by hugeBytes and give the block back: it stays as the heap's free top
    // (below the trim threshold), untouched, so it costs address space but no memory.
    void* block = std::malloc(hugeBytes);
    if (!block) return;
    constexpr std::uintptr_t kHuge = 2u << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + hugeBytes) & ~(kHuge - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    std::free(block);
#else
    (void)keepBytes;
    (void)hugeBytes;
#endif
}

}  // namespace rt
