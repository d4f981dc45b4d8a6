#include "processes.h"

#include <cctype>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string baseName(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path of the process's executable, or empty when it cannot be read (another user's
// process, a kernel thread).
std::string executableOf(const std::string &pidDir)
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink((pidDir + "/exe").c_str(), buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    std::string target(buf, static_cast<size_t>(n));
    // A replaced executable still runs under its old name.
    const std::string deleted = " (deleted)";
    if (target.size() > deleted.size() &&
        target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0)
        target.resize(target.size() - deleted.size());
    return target;
}

std::string imageNameOf(const std::string &pidDir)
{
    char buf[PATH_MAX];
    if (const std::string executable = executableOf(pidDir); !executable.empty())
        return baseName(executable);
    // Another user's process, or a kernel thread: fall back to argv[0].
    const int fd = ::open((pidDir + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const ssize_t m = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (m <= 0)
        return {};
    buf[m] = '\0';
    return baseName(std::string(buf));
}

// The kernel shows the executable's path with its links resolved: resolve the folder the
// same way. The file itself may be gone (replaced by an update) while its process runs on.
std::string resolvedPath(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    char buf[PATH_MAX];
    if (!::realpath(folder.c_str(), buf))
        return path;
    const std::string resolved = buf;
    return (resolved == "/" ? std::string() : resolved) + path.substr(slash);
}

template<typename Match>
std::vector<long> findOwnProcesses(Match match)
{
    std::vector<long> pids;
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return pids;
    const uid_t me = ::getuid();
    while (const dirent *entry = ::readdir(proc)) {
        const std::string name = entry->d_name;
        if (name.empty() || !std::isdigit(static_cast<unsigned char>(name[0])))
            continue;
        const std::string dir = "/proc/" + name;
        struct stat st;
        if (::stat(dir.c_str(), &st) != 0 || st.st_uid != me)
            continue;
        if (match(dir))
            pids.push_back(std::stol(name));
    }
    ::closedir(proc);
    return pids;
}

int killAllBut(const std::vector<long> &pids)
{
    int killed = 0;
    const long self = ::getpid();
    for (long pid : pids) {
        if (pid == self)
            continue;
        if (::kill(static_cast<pid_t>(pid), SIGKILL) == 0)
            ++killed;
    }
    return killed;
}

} // namespace

std::vector<long> findProcessesByImageName(const std::string &imageName)
{
    if (imageName.empty())
        return {};
    return findOwnProcesses(
        [&imageName](const std::string &dir) { return imageNameOf(dir) == imageName; });
}

std::vector<long> findProcessesByExecutable(const std::string &executablePath)
{
    if (executablePath.empty() || executablePath.front() != '/')
        return {};
    const std::string wanted = resolvedPath(executablePath);
    return findOwnProcesses(
        [&wanted](const std::string &dir) { return executableOf(dir) == wanted; });
}

int killProcessesByExecutable(const std::string &executablePath)
{
    return killAllBut(findProcessesByExecutable(executablePath));
}

void killCurrentProcess()
{
    ::kill(::getpid(), SIGKILL);
    ::_exit(137);
}

bool isProcessRunning(const std::string &imageName)
{
    return !findProcessesByImageName(imageName).empty();
}

int killProcessesByImageName(const std::string &imageName)
{
    return killAllBut(findProcessesByImageName(imageName));
}

std::string executableSuffix()
{
    return {};
}

} // namespace platform
