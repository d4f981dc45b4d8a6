#pragma once

#include <QString>

#include <atomic>
#include <mutex>

#include "sevenzipabi.h"

// One extracted file. The bytes go to a hidden sibling of the destination, and only a
// complete, closed file is renamed over it: a failed or aborted item, a full disk or a
// killed process never leaves a half-written file in place of the previous good one.
class COutFileStream final : public SevenZip::IOutStream
{
public:
    COutFileStream() = default;
    ~COutFileStream();
    COutFileStream(const COutFileStream &) = delete;
    COutFileStream &operator=(const COutFileStream &) = delete;

    // Creates the hidden sibling of finalPath; errno of the failure, 0 on success.
    int create(const QString &finalPath);
    QString finalPath() const { return m_finalPath; }
    QString partialPath() const { return m_partialPath; }

    SevenZip::HRESULT QueryInterface(const SevenZip::GUID &iid, void **out) override;
    SevenZip::ULONG AddRef() override;
    SevenZip::ULONG Release() override;

    SevenZip::HRESULT Write(const void *data, SevenZip::UInt32 size,
                            SevenZip::UInt32 *processed) override;
    SevenZip::HRESULT Seek(SevenZip::Int64 offset, SevenZip::UInt32 origin,
                           SevenZip::UInt64 *newPosition) override;
    SevenZip::HRESULT SetSize(SevenZip::UInt64 newSize) override;

    // Both are best effort, like the last-write time on the original platform.
    void setModificationTime(const SevenZip::FILETIME &time);
    void setPermissions(unsigned mode);
    // For folders, whose times are set after their children are written.
    static void setPathModificationTime(const QString &path, const SevenZip::FILETIME &time);

    // Closes the file and moves it over the destination.
    SevenZip::HRESULT commit();
    // Closes and removes the partial file; the destination stays as it was.
    void discard();

    static constexpr SevenZip::UInt32 kMaxChunk = 4 * 1024 * 1024;

private:
    std::atomic<SevenZip::ULONG> m_refs{0};
    std::mutex m_mutex;
    int m_fd = -1;
    QString m_finalPath;
    QString m_partialPath;
};
