#include "mappedpages.h"

#include <windows.h>

namespace platform {

bool releaseMappedPages(const void *address, std::int64_t size)
{
    if (size <= 0)
        return true;
    // Unlocking pages that were never locked removes them from the working set; the system
    // writes changed pages of a mapped view back to its file as for any other trimmed page.
    if (VirtualUnlock(const_cast<void *>(address), static_cast<SIZE_T>(size)))
        return true;
    return GetLastError() == ERROR_NOT_LOCKED;
}

} // namespace platform
