#include "diskspace.h"

#include <sys/statvfs.h>

namespace platform {

long long availableBytes(const std::string &path)
{
    if (path.empty() || path[0] != '/')
        return -1;
    std::string probe = path;
    struct statvfs vfs;
    while (::statvfs(probe.c_str(), &vfs) != 0) {
        const auto slash = probe.find_last_of('/');
        if (slash == std::string::npos || probe == "/")
            return -1;
        probe = slash == 0 ? std::string("/") : probe.substr(0, slash);
    }
    return static_cast<long long>(vfs.f_bavail) * static_cast<long long>(vfs.f_frsize);
}

} // namespace platform
