#include "namedmutex.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string namedMutexLockPath(const std::string &name)
{
    std::string dir;
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        dir = runtime;
    else if (const char *tmp = std::getenv("TMPDIR"); tmp && *tmp)
        dir = tmp;
    else
        dir = "/tmp";
    return dir + "/" + name + ".lock";
}

NamedMutex::NamedMutex(const std::string &name)
{
    const std::string path = namedMutexLockPath(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    m_handle = fd;
    m_held = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

NamedMutex::~NamedMutex()
{
    // Closing the descriptor drops the lock; the file stays so that nobody races on
    // unlinking a path another process may be about to lock.
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

bool namedMutexExists(const std::string &name)
{
    const std::string path = namedMutexLockPath(name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    // In a shared temp folder anyone may create the file first and hold it; only a lock file
    // of this user can be the updater's.
    struct stat info;
    if (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid()) {
        ::close(fd);
        return false;
    }
    bool held = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::flock(fd, LOCK_UN);
    else
        held = errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

} // namespace platform
