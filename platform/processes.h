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

// Process ids of this user's processes whose executable is the file at executablePath (an
// absolute path). An image name alone also matches unrelated programs that share it; this
// matches only the program installed at that path, also after its file has been replaced.
std::vector<long> findProcessesByExecutable(const std::string &executablePath);

// Forcibly ends every such process except the caller; returns how many were signalled.
int killProcessesByExecutable(const std::string &executablePath);

// Ends the calling process at once, as a kill from outside would: no clean-up of any kind.
[[noreturn]] void killCurrentProcess();

// The platform's executable suffix with its dot (".exe" on Windows, empty elsewhere).
std::string executableSuffix();

} // namespace platform
