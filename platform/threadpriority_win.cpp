#include "threadpriority.h"

#include <windows.h>

namespace platform {

void lowerCurrentThreadPriority()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

} // namespace platform
