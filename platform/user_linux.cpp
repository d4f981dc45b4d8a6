#include "user.h"

#include <unistd.h>

namespace platform {

std::string currentUserKey()
{
    return std::to_string(::getuid());
}

bool runsAsSuperuser()
{
    return ::geteuid() == 0;
}

} // namespace platform
