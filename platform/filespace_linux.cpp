#include "filespace.h"

#include <fcntl.h>

namespace platform {

int reserveFileSpace(int fd, long long size)
{
    if (size <= 0)
        return 0;
    // ftruncate alone leaves a sparse file that fails only when its blocks are written.
    return posix_fallocate(fd, 0, static_cast<off_t>(size));
}

} // namespace platform
