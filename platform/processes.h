#pragma once

#include <string>
#include <vector>

namespace platform {

// Process ids of this user's processes whose executable file name is exactly imageName
// (case-sensitive, as the Windows task list filter is used by callers).
std::vector<long> findProcessesByImageName(const std::string &imageName);

bool isProcessRunning(const std::string &imageName);

// Forcibly ends every such process; returns how many were signalled.
int killProcessesByImageName(const std::string &imageName);

// The platform's executable suffix with its dot (".exe" on Windows, empty elsewhere).
std::string executableSuffix();

} // namespace platform
