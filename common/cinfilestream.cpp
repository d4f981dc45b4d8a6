#include "cinfilestream.h"

#include <QFile>

#include <cerrno>
#include <cstdint>

using namespace SevenZip;

int CInFileStream::open(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_position = 0;
    return m_file.open(QFile::encodeName(path).toStdString());
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
    if (!m_file.isOpen())
        return E_FAIL;
    if (size > kMaxChunk)
        size = kMaxChunk;
    std::uint32_t got = 0;
    if (const int error = m_file.readAt(m_position, data, size, &got))
        return hresultFromErrno(error);
    m_position += got;
    if (processed)
        *processed = got;
    return S_OK;
}

HRESULT CInFileStream::Seek(Int64 offset, UInt32 origin, UInt64 *newPosition)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file.isOpen())
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
        std::int64_t size = 0;
        if (const int error = m_file.size(&size))
            return hresultFromErrno(error);
        base = size;
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
    if (!m_file.isOpen() || !size)
        return E_FAIL;
    std::int64_t bytes = 0;
    if (const int error = m_file.size(&bytes))
        return hresultFromErrno(error);
    *size = static_cast<UInt64>(bytes);
    return S_OK;
}
