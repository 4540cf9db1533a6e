#include "large_pages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace kit {

void PreferLargePages(const void *data, std::size_t bytes) noexcept
{
#ifdef __linux__
    constexpr std::uintptr_t kLarge = std::uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t to = (begin + bytes) & ~(kLarge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace kit
