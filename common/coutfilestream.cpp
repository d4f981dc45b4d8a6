#include "coutfilestream.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace SevenZip;

namespace {
QAtomicInt g_partialCounter;

timespec toTimespec(const FILETIME &time)
{
    const UnixTime converted = toUnixTime(time);
    timespec result;
    result.tv_sec = static_cast<time_t>(converted.seconds);
    result.tv_nsec = static_cast<long>(converted.nanoseconds);
    return result;
}
} // namespace

COutFileStream::~COutFileStream()
{
    discard();
}

QString COutFileStream::nextPartialPath(const QString &folder)
{
    // Not derived from the item's name, which may already be as long as a name can be.
    return folder + QLatin1String("/.lunmere-") +
           QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
           QString::number(g_partialCounter.fetchAndAddRelaxed(1)) + QLatin1String(".part");
}

int COutFileStream::create(const QString &finalPath)
{
    discard();
    m_finalPath = finalPath;
    m_folder = QFileInfo(finalPath).path();
    // Unnamed until commit, so a killed process leaves nothing behind.
    const int unnamed =
        ::open(QFile::encodeName(m_folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (unnamed >= 0) {
        m_fd = unnamed;
        return 0;
    }
    // File systems (and kernels) without unnamed files get a hidden sibling, which the next
    // extraction into the folder sweeps away if this process dies.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return errno ? errno : EIO;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString partial = nextPartialPath(m_folder);
        const int fd = ::open(QFile::encodeName(partial).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            m_partialPath = partial;
            return 0;
        }
        if (errno != EEXIST)
            return errno ? errno : EIO;
    }
    return EEXIST;
}

HRESULT COutFileStream::QueryInterface(const GUID &iid, void **out)
{
    if (!out)
        return E_INVALIDARG;
    if (iid == IID_IUnknown || iid == IID_IOutStream || iid == IID_ISequentialOutStream) {
        *out = static_cast<IOutStream *>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG COutFileStream::AddRef()
{
    return ++m_refs;
}

ULONG COutFileStream::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT COutFileStream::Write(const void *data, UInt32 size, UInt32 *processed)
{
    if (processed)
        *processed = 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return E_FAIL;
    const char *bytes = static_cast<const char *>(data);
    UInt32 done = 0;
    while (done < size) {
        const UInt32 chunk = qMin(size - done, kMaxChunk);
        const ssize_t written = ::write(m_fd, bytes + done, chunk);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (processed)
                *processed = done;
            return hresultFromErrno(errno);
        }
        if (written == 0)
            break;
        done += static_cast<UInt32>(written);
    }
    if (processed)
        *processed = done;
    // A short write with no error from the system still means the data is not on disk.
    return done == size ? S_OK : hresultFromErrno(ENOSPC);
}

HRESULT COutFileStream::Seek(Int64 offset, UInt32 origin, UInt64 *newPosition)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return E_FAIL;
    if (origin > 2)
        return STG_E_INVALIDFUNCTION;
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (position < 0)
        return hresultFromErrno(errno);
    if (newPosition)
        *newPosition = static_cast<UInt64>(position);
    return S_OK;
}

HRESULT COutFileStream::SetSize(UInt64 newSize)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return E_FAIL;
    if (newSize > static_cast<UInt64>(INT64_MAX))
        return E_INVALIDARG;
    if (::ftruncate(m_fd, static_cast<off_t>(newSize)) != 0)
        return hresultFromErrno(errno);
    return S_OK;
}

void COutFileStream::setModificationTime(const FILETIME &time)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = toTimespec(time);
    ::futimens(m_fd, times);
}

void COutFileStream::setPermissions(unsigned mode)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd >= 0)
        ::fchmod(m_fd, static_cast<mode_t>(mode & 0777));
}

void COutFileStream::setPathModificationTime(const QString &path, const FILETIME &time)
{
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = toTimespec(time);
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW);
}

int COutFileStream::linkUnnamed()
{
    const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString partial = nextPartialPath(m_folder);
        const QByteArray name = QFile::encodeName(partial);
        int rc =
            ::linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
        if (rc != 0 && errno == ENOENT) // no /proc; this needs CAP_DAC_READ_SEARCH instead
            rc = ::linkat(m_fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH);
        if (rc == 0) {
            m_partialPath = partial;
            return 0;
        }
        if (errno != EEXIST)
            return errno ? errno : EIO;
    }
    return EEXIST;
}

HRESULT COutFileStream::commit()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_placeFailed = false;
    if (m_fd < 0)
        return E_FAIL;
    // A file cannot be linked over an existing name: it gets a name of its own first, then
    // the rename replaces the destination in one step.
    if (m_partialPath.isEmpty()) {
        const int error = linkUnnamed();
        if (error) {
            ::close(m_fd);
            m_fd = -1;
            m_placeFailed = true;
            return hresultFromErrno(error);
        }
    }
    const int fd = m_fd;
    m_fd = -1;
    const QByteArray partial = QFile::encodeName(m_partialPath);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(partial.constData());
        m_partialPath.clear();
        return hresultFromErrno(error);
    }
    if (::rename(partial.constData(), QFile::encodeName(m_finalPath).constData()) != 0) {
        const int error = errno;
        ::unlink(partial.constData());
        m_partialPath.clear();
        m_placeFailed = true;
        return hresultFromErrno(error);
    }
    m_partialPath.clear();
    return S_OK;
}

void COutFileStream::discard()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_partialPath.isEmpty()) {
        ::unlink(QFile::encodeName(m_partialPath).constData());
        m_partialPath.clear();
    }
}

void COutFileStream::removeStalePartials(const QString &folder)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.lunmere-(\\d+)-\\d+\\.part$"));
    const qint64 self = QCoreApplication::applicationPid();
    const QStringList names = QDir(folder).entryList({QStringLiteral(".lunmere-*.part")},
                                                     QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        bool ok = false;
        const qint64 pid = match.hasMatch() ? match.captured(1).toLongLong(&ok) : 0;
        if (!ok || pid <= 0 || pid == self || pid > std::numeric_limits<pid_t>::max())
            continue;
        // Only files of a writer that is gone: a live one (or one we may not signal, which
        // is alive too) may still be extracting here.
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        struct stat info;
        if (::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::getuid())
            ::unlink(path.constData());
    }
}
