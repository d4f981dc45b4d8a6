#include "processes.h"

#include <cctype>
#include <climits>
#include <csignal>
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

std::string imageNameOf(const std::string &pidDir)
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink((pidDir + "/exe").c_str(), buf, sizeof buf - 1);
    if (n > 0) {
        std::string target(buf, static_cast<size_t>(n));
        // A replaced executable still runs under its old name.
        const std::string deleted = " (deleted)";
        if (target.size() > deleted.size() &&
            target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0)
            target.resize(target.size() - deleted.size());
        return baseName(target);
    }
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

} // namespace

std::vector<long> findProcessesByImageName(const std::string &imageName)
{
    std::vector<long> pids;
    if (imageName.empty())
        return pids;
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
        if (imageNameOf(dir) == imageName)
            pids.push_back(std::stol(name));
    }
    ::closedir(proc);
    return pids;
}

bool isProcessRunning(const std::string &imageName)
{
    return !findProcessesByImageName(imageName).empty();
}

int killProcessesByImageName(const std::string &imageName)
{
    int killed = 0;
    const long self = ::getpid();
    for (long pid : findProcessesByImageName(imageName)) {
        if (pid == self)
            continue;
        if (::kill(static_cast<pid_t>(pid), SIGKILL) == 0)
            ++killed;
    }
    return killed;
}

std::string executableSuffix()
{
    return {};
}

} // namespace platform
