#include "mappedpages.h"

#include <sys/mman.h>
#include <unistd.h>

namespace platform {

bool releaseMappedPages(const void *address, std::int64_t size)
{
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(address);
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + static_cast<std::uintptr_t>(size)) / page * page;
    if (size <= 0 || last <= first)
        return true;
    // A shared file mapping keeps written pages in the page cache; a private read-only one
    // has nothing of its own to lose.
    return madvise(reinterpret_cast<void *>(first), last - first, MADV_DONTNEED) == 0;
}

} // namespace platform
