#include "store/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

void AdviseHugePages(void* p, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    const auto begin = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t first = (begin + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHugePageBytes - 1);
    // A kernel without them says no; the memory works as it is.
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}
