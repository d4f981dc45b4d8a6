#include "coutfilestream.h"

#include <QFile>

#include <cerrno>
#include <cstdint>

using namespace SevenZip;

namespace {
platform::FileTime ticks(const FILETIME &time)
{
    return (static_cast<platform::FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::string nativePath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
} // namespace

COutFileStream::~COutFileStream()
{
    discard();
}

int COutFileStream::create(const QString &finalPath)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_finalPath = finalPath;
    m_placeFailed = false;
    return m_file.create(nativePath(finalPath));
}

QString COutFileStream::partialPath() const
{
    return QFile::decodeName(QByteArray::fromStdString(m_file.partialPath()));
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
    if (!m_file.isOpen())
        return E_FAIL;
    const char *bytes = static_cast<const char *>(data);
    UInt32 done = 0;
    while (done < size) {
        std::uint32_t written = 0;
        if (const int error = m_file.write(bytes + done, qMin(size - done, kMaxChunk), &written)) {
            if (processed)
                *processed = done;
            return hresultFromErrno(error);
        }
        if (written == 0)
            break;
        done += written;
    }
    if (processed)
        *processed = done;
    // A short write with no error from the system still means the data is not on disk.
    return done == size ? S_OK : hresultFromErrno(ENOSPC);
}

HRESULT COutFileStream::Seek(Int64 offset, UInt32 origin, UInt64 *newPosition)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file.isOpen())
        return E_FAIL;
    if (origin > 2)
        return STG_E_INVALIDFUNCTION;
    std::uint64_t position = 0;
    if (const int error = m_file.seek(offset, static_cast<int>(origin), &position))
        return hresultFromErrno(error);
    if (newPosition)
        *newPosition = position;
    return S_OK;
}

HRESULT COutFileStream::SetSize(UInt64 newSize)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file.isOpen())
        return E_FAIL;
    if (newSize > static_cast<UInt64>(INT64_MAX))
        return E_INVALIDARG;
    if (const int error = m_file.setSize(newSize))
        return hresultFromErrno(error);
    return S_OK;
}

void COutFileStream::setModificationTime(const FILETIME &time)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file.setModificationTime(ticks(time));
}

void COutFileStream::setAttributes(UInt32 attributes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file.setAttributes(attributes);
}

void COutFileStream::setFolderModificationTime(const QString &path, const FILETIME &time)
{
    platform::setFolderModificationTime(nativePath(path), ticks(time));
}

void COutFileStream::setFolderAttributes(const QString &path, UInt32 attributes)
{
    platform::setFolderAttributes(nativePath(path), attributes);
}

HRESULT COutFileStream::commit()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file.isOpen())
        return E_FAIL;
    platform::OutputFile::Step step = platform::OutputFile::Step::Write;
    const int error = m_file.commit(&step);
    m_placeFailed = error && step == platform::OutputFile::Step::Place;
    return error ? hresultFromErrno(error) : S_OK;
}

void COutFileStream::discard()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file.discard();
}

int COutFileStream::removeFolderInTheWay(const QString &path)
{
    return platform::removeFolderInTheWay(nativePath(path));
}

void COutFileStream::removeStalePartials(const QString &folder)
{
    platform::removeStalePartialFiles(nativePath(folder));
}
