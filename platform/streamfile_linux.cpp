#include "streamfile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<unsigned> g_partialCounter{0};

const char kPartialPrefix[] = ".lunmere-";
const char kPartialSuffix[] = ".part";

int lastError()
{
    return errno ? errno : EIO;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Not derived from the item's name, which may already be as long as a name can be.
std::string nextPartialPath(const std::string &folder)
{
    return folder + '/' + kPartialPrefix + std::to_string(::getpid()) + '-' +
           std::to_string(g_partialCounter.fetch_add(1, std::memory_order_relaxed)) +
           kPartialSuffix;
}

timespec toTimespec(FileTime time)
{
    timespec result;
    result.tv_sec =
        static_cast<time_t>(static_cast<std::int64_t>(time / 10000000ULL) - 11644473600LL);
    result.tv_nsec = static_cast<long>((time % 10000000ULL) * 100);
    return result;
}

// The pid in ".lunmere-PID-N.part", or 0.
long partialFileOwner(const char *name)
{
    const std::string text(name);
    const std::size_t prefix = sizeof kPartialPrefix - 1;
    const std::size_t suffix = sizeof kPartialSuffix - 1;
    if (text.size() <= prefix + suffix || text.compare(0, prefix, kPartialPrefix) != 0 ||
        text.compare(text.size() - suffix, suffix, kPartialSuffix) != 0)
        return 0;
    const std::string middle = text.substr(prefix, text.size() - prefix - suffix);
    const auto dash = middle.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == middle.size() ||
        middle.find_first_not_of("0123456789-") != std::string::npos ||
        middle.find('-', dash + 1) != std::string::npos || dash > 9)
        return 0;
    return std::strtol(middle.c_str(), nullptr, 10);
}

} // namespace

InputFile::~InputFile()
{
    close();
}

int InputFile::open(const std::string &path, Sharing)
{
    close();
    // Non-blocking only for the open itself: a FIFO in the package's place must not hang the
    // caller; it is refused below as not a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return lastError();
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    struct stat info;
    int error = 0;
    if (::fstat(fd, &info) != 0)
        error = lastError();
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (error) {
        ::close(fd);
        return error;
    }
    m_handle = fd;
    return 0;
}

void InputFile::close()
{
    if (m_handle != -1)
        ::close(static_cast<int>(m_handle));
    m_handle = -1;
}

int InputFile::readAt(std::int64_t offset, void *data, std::uint32_t size, std::uint32_t *got)
{
    *got = 0;
    if (m_handle == -1)
        return EBADF;
    ssize_t n;
    do {
        n = ::pread(static_cast<int>(m_handle), data, size, static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return lastError();
    *got = static_cast<std::uint32_t>(n);
    return 0;
}

int InputFile::size(std::int64_t *bytes) const
{
    struct stat info;
    if (m_handle == -1)
        return EBADF;
    if (::fstat(static_cast<int>(m_handle), &info) != 0)
        return lastError();
    *bytes = static_cast<std::int64_t>(info.st_size);
    return 0;
}

OutputFile::~OutputFile()
{
    discard();
}

int OutputFile::create(const std::string &finalPath)
{
    discard();
    m_finalPath = finalPath;
    m_attributesDefined = false;
    const std::string folder = folderOf(finalPath);
    // Unnamed until commit, so a killed process leaves nothing behind.
    const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (unnamed >= 0) {
        m_handle = unnamed;
        return 0;
    }
    // File systems (and kernels) without unnamed files get a hidden sibling, which the next
    // extraction into the folder sweeps away if this process dies.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return lastError();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string partial = nextPartialPath(folder);
        const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_handle = fd;
            m_partialPath = partial;
            return 0;
        }
        if (errno != EEXIST)
            return lastError();
    }
    return EEXIST;
}

int OutputFile::write(const void *data, std::uint32_t size, std::uint32_t *written)
{
    *written = 0;
    if (m_handle == -1)
        return EBADF;
    ssize_t n;
    do {
        n = ::write(static_cast<int>(m_handle), data, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return lastError();
    *written = static_cast<std::uint32_t>(n);
    return 0;
}

int OutputFile::seek(std::int64_t offset, int origin, std::uint64_t *position)
{
    if (m_handle == -1)
        return EBADF;
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
    const off_t at = ::lseek(static_cast<int>(m_handle), static_cast<off_t>(offset), whence);
    if (at < 0)
        return lastError();
    if (position)
        *position = static_cast<std::uint64_t>(at);
    return 0;
}

int OutputFile::setSize(std::uint64_t size)
{
    if (m_handle == -1)
        return EBADF;
    if (size > static_cast<std::uint64_t>(INT64_MAX))
        return EINVAL;
    return ::ftruncate(static_cast<int>(m_handle), static_cast<off_t>(size)) == 0 ? 0 : lastError();
}

int OutputFile::setModificationTime(FileTime time)
{
    if (m_handle == -1)
        return EBADF;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = toTimespec(time);
    return ::futimens(static_cast<int>(m_handle), times) == 0 ? 0 : lastError();
}

void OutputFile::setAttributes(std::uint32_t attributes)
{
    const int mode = itemPermissions(attributes, false);
    if (m_handle != -1 && mode >= 0)
        ::fchmod(static_cast<int>(m_handle), static_cast<mode_t>(mode));
}

int OutputFile::commit(Step *failedStep)
{
    Step step = Step::Write;
    int error = 0;
    const int fd = static_cast<int>(m_handle);
    if (fd == -1) {
        error = EBADF;
    } else if (m_partialPath.empty()) {
        const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
        // Where nothing is in the way (a fresh install) the complete file is linked straight
        // under its name: one step, and one rename fewer per file.
        int direct =
            ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, m_finalPath.c_str(), AT_SYMLINK_FOLLOW);
        if (direct != 0 && errno == ENOENT)
            direct = ::linkat(fd, "", AT_FDCWD, m_finalPath.c_str(), AT_EMPTY_PATH);
        if (direct == 0) {
            m_handle = -1;
            if (::close(fd) != 0) {
                // The file is already in place; only its last writes may be missing.
                const int closeError = lastError();
                ::unlink(m_finalPath.c_str());
                if (failedStep)
                    *failedStep = Step::Write;
                return closeError;
            }
            return 0;
        }
        // A file cannot be linked over an existing name: it takes a name of its own first,
        // and the rename below replaces the destination in one step.
        error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            const std::string partial = nextPartialPath(folderOf(m_finalPath));
            int rc =
                ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, partial.c_str(), AT_SYMLINK_FOLLOW);
            if (rc != 0 && errno == ENOENT) // no /proc: needs CAP_DAC_READ_SEARCH instead
                rc = ::linkat(fd, "", AT_FDCWD, partial.c_str(), AT_EMPTY_PATH);
            error = rc == 0 ? 0 : lastError();
            if (rc == 0)
                m_partialPath = partial;
        }
        if (error)
            step = Step::Place;
    }
    if (fd != -1 && ::close(fd) != 0 && !error) {
        error = lastError();
        step = Step::Write;
    }
    m_handle = -1;
    if (!error && ::rename(m_partialPath.c_str(), m_finalPath.c_str()) != 0) {
        error = lastError();
        step = Step::Place;
    }
    if (error && !m_partialPath.empty())
        ::unlink(m_partialPath.c_str());
    m_partialPath.clear();
    if (error && failedStep)
        *failedStep = step;
    return error;
}

void OutputFile::discard()
{
    if (m_handle != -1)
        ::close(static_cast<int>(m_handle));
    m_handle = -1;
    if (!m_partialPath.empty())
        ::unlink(m_partialPath.c_str());
    m_partialPath.clear();
}

int setFolderModificationTime(const std::string &path, FileTime time)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return lastError();
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = toTimespec(time);
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : lastError();
}

int setFolderAttributes(const std::string &path, std::uint32_t attributes)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return lastError();
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    const int mode = itemPermissions(attributes, true);
    if (mode < 0)
        return 0;
    return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0 ? 0 : lastError();
}

int removeFolderInTheWay(const std::string &path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return 0;
    return ::rmdir(path.c_str()) == 0 ? 0 : lastError();
}

void removeStalePartialFiles(const std::string &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const long self = ::getpid();
    const uid_t user = ::getuid();
    while (const dirent *entry = ::readdir(dir)) {
        const long pid = partialFileOwner(entry->d_name);
        if (pid <= 0 || pid == self)
            continue;
        // A live writer (or one we may not signal, which is alive too) may still be at work.
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat info;
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == user)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace platform
