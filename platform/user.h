#pragma once

#include <string>

namespace platform {

// Text that tells the users of this machine apart (the user id on Linux, the account's
// security identifier on Windows); empty when it cannot be found.
std::string currentUserKey();

// Whether the process runs as the superuser (root on Linux). Windows has no such user: an
// elevated administrator is still an ordinary user to programs like Chromium.
bool runsAsSuperuser();

} // namespace platform
