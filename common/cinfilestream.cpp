#include "cinfilestream.h"

#include <QFile>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace SevenZip;

CInFileStream::~CInFileStream()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int CInFileStream::open(const QString &path)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_position = 0;
    // Non-blocking only for the open itself: a FIFO in the package's place must not hang the
    // worker; it is refused below as not a regular file.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        return errno ? errno : EIO;
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    struct stat info;
    int error = 0;
    if (::fstat(m_fd, &info) != 0)
        error = errno ? errno : EIO;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (error) {
        ::close(m_fd);
        m_fd = -1;
        return error;
    }
    return 0;
}

HRESULT CInFileStream::QueryInterface(const GUID &iid, void **out)
{
    if (!out)
        return E_INVALIDARG;
    if (iid == IID_IUnknown || iid == IID_IInStream || iid == IID_ISequentialInStream)
        *out = static_cast<IInStream *>(this);
    else if (iid == IID_IStreamGetSize)
        *out = static_cast<IStreamGetSize *>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG CInFileStream::AddRef()
{
    return ++m_refs;
}

ULONG CInFileStream::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT CInFileStream::Read(void *data, UInt32 size, UInt32 *processed)
{
    if (processed)
        *processed = 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return E_FAIL;
    if (size > kMaxChunk)
        size = kMaxChunk;
    ssize_t got;
    do {
        got = ::pread(m_fd, data, size, m_position);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return hresultFromErrno(errno);
    m_position += got;
    if (processed)
        *processed = static_cast<UInt32>(got);
    return S_OK;
}

HRESULT CInFileStream::Seek(Int64 offset, UInt32 origin, UInt64 *newPosition)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return E_FAIL;
    Int64 base;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = m_position;
        break;
    case 2: {
        struct stat info;
        if (::fstat(m_fd, &info) != 0)
            return hresultFromErrno(errno);
        base = info.st_size;
        break;
    }
    default:
        return STG_E_INVALIDFUNCTION;
    }
    if (offset > 0 && base > INT64_MAX - offset)
        return hresultFromErrno(EINVAL);
    const Int64 target = base + offset;
    if (target < 0)
        return hresultFromErrno(EINVAL); // what a Windows seek before the start reports
    m_position = target;
    if (newPosition)
        *newPosition = static_cast<UInt64>(target);
    return S_OK;
}

HRESULT CInFileStream::GetSize(UInt64 *size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    struct stat info;
    if (m_fd < 0 || !size)
        return E_FAIL;
    if (::fstat(m_fd, &info) != 0)
        return hresultFromErrno(errno);
    *size = static_cast<UInt64>(info.st_size);
    return S_OK;
}
