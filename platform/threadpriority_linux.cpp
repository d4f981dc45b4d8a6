#include "threadpriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

void lowerCurrentThreadPriority()
{
    // Linux keeps a nice value per thread; with autogrouping it weighs the thread against the
    // others of its session only, never against other programs.
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    ::setpriority(PRIO_PROCESS, thread, 10);
}

} // namespace platform
