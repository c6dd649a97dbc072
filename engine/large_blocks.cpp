#include "large_blocks.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void PreferLargePages(void* block, size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t HUGE_PAGE = uintptr_t(2) << 20;
    if (!block || size < 2 * HUGE_PAGE)
        return;
    // Only whole, aligned huge pages inside the block may be advised.
    uintptr_t first = (reinterpret_cast<uintptr_t>(block) + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    uintptr_t last = (reinterpret_cast<uintptr_t>(block) + size) & ~(HUGE_PAGE - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)size;
#endif
}
