#include "large_blocks.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void* AllocateLargeBlock(size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t HUGE_PAGE = size_t(2) << 20;
    // Below this the block's few 4 KiB faults cost less than clearing a huge page.
    constexpr size_t HUGE_PAGE_THRESHOLD = size_t(256) << 10;
    if (size >= HUGE_PAGE_THRESHOLD && size <= SIZE_MAX - HUGE_PAGE) {
        // Aligned and whole, every page of the block can be a huge one; an
        // unaligned block keeps its ragged ends in small pages, which cost
        // more faults than the rest of it together.
        size_t whole = (size + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
        void* block = nullptr;
        if (posix_memalign(&block, HUGE_PAGE, whole) != 0)
            return nullptr;
        madvise(block, whole, MADV_HUGEPAGE);
        return block;
    }
#endif
    return std::malloc(size ? size : 1);
}

void* AllocateZeroedLargeBlock(size_t size)
{
    // Clearing touches every page, which huge pages make cheap; a fresh
    // mapping would be zero already, but the heap may hand out used memory.
    void* block = AllocateLargeBlock(size);
    if (block)
        std::memset(block, 0, size);
    return block;
}
