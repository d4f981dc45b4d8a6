#include "fileentries.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool syncPath(const std::string &path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

EntryKind entryKind(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? EntryKind::Missing : EntryKind::Other;
    if (S_ISLNK(st.st_mode))
        return EntryKind::SymLink;
    if (S_ISDIR(st.st_mode))
        return EntryKind::Directory;
    if (S_ISREG(st.st_mode))
        return EntryKind::File;
    return EntryKind::Other;
}

bool readSymLink(const std::string &path, std::string *target)
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
    if (n < 0 || n >= static_cast<ssize_t>(sizeof buf))
        return false;
    target->assign(buf, static_cast<size_t>(n));
    return true;
}

bool createSymLink(const std::string &target, const std::string &path)
{
    return ::symlink(target.c_str(), path.c_str()) == 0;
}

bool replaceEntry(const std::string &from, const std::string &to)
{
    // rename() replaces the name "to" itself; a link there is not followed.
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool removeEntry(const std::string &path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool syncFile(const std::string &path)
{
    return syncPath(path, O_RDONLY);
}

bool syncDirectory(const std::string &path)
{
    return syncPath(path, O_RDONLY | O_DIRECTORY);
}

} // namespace platform
