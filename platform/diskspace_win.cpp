#include "diskspace.h"

#include <windows.h>

namespace platform {

long long availableBytes(const std::string &path)
{
    // The drive is the text up to and including the first ":".
    const auto colon = path.find(':');
    if (colon == std::string::npos)
        return -1;
    const std::string drive = path.substr(0, colon + 1) + "\\";
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(drive.c_str(), &available, nullptr, nullptr))
        return -1;
    return static_cast<long long>(available.QuadPart);
}

} // namespace platform
