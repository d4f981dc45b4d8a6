#pragma once

#include <QString>

#include <atomic>
#include <mutex>

#include "sevenzipabi.h"
#include "streamfile.h"

// The package file as 7-Zip reads it. The library may read from its own worker threads,
// so the position is guarded and every read is positioned.
class CInFileStream final : public SevenZip::IInStream, public SevenZip::IStreamGetSize
{
public:
    CInFileStream() = default;
    CInFileStream(const CInFileStream &) = delete;
    CInFileStream &operator=(const CInFileStream &) = delete;

    // The system's error number, 0 on success.
    int open(const QString &path);

    SevenZip::HRESULT QueryInterface(const SevenZip::GUID &iid, void **out) override;
    SevenZip::ULONG AddRef() override;
    SevenZip::ULONG Release() override;

    SevenZip::HRESULT Read(void *data, SevenZip::UInt32 size, SevenZip::UInt32 *processed) override;
    SevenZip::HRESULT Seek(SevenZip::Int64 offset, SevenZip::UInt32 origin,
                           SevenZip::UInt64 *newPosition) override;
    SevenZip::HRESULT GetSize(SevenZip::UInt64 *size) override;

    static constexpr SevenZip::UInt32 kMaxChunk = 4 * 1024 * 1024;

private:
    std::atomic<SevenZip::ULONG> m_refs{0};
    std::mutex m_mutex;
    platform::InputFile m_file;
    SevenZip::Int64 m_position = 0;
};
