#include "compositing.h"

namespace platform {

// Desktop composition cannot be switched off since Windows 8; layered windows always blend.
bool desktopComposesTranslucentWindows(const std::string &)
{
    return true;
}

} // namespace platform
