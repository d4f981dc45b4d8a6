#pragma once

#include <string>

namespace platform {

// Bytes available to this user on the volume that holds path (which need not exist yet: its
// nearest existing folder decides). -1 when the path names no volume (a relative path).
long long availableBytes(const std::string &path);

} // namespace platform
