#include "coutfilestream.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdint>
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

int COutFileStream::create(const QString &finalPath)
{
    discard();
    m_finalPath = finalPath;
    const QFileInfo info(finalPath);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Not derived from the item's name, which may already be as long as a name can be.
        const QString partial =
            info.path() + QLatin1String("/.lunmere-") +
            QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
            QString::number(g_partialCounter.fetchAndAddRelaxed(1)) + QLatin1String(".part");
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

HRESULT COutFileStream::commit()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return E_FAIL;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(QFile::encodeName(m_partialPath).constData());
        m_partialPath.clear();
        return hresultFromErrno(error);
    }
    const QByteArray partial = QFile::encodeName(m_partialPath);
    if (::rename(partial.constData(), QFile::encodeName(m_finalPath).constData()) != 0) {
        const int error = errno;
        ::unlink(partial.constData());
        m_partialPath.clear();
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
