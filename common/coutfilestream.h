#pragma once

#include <QString>

#include <atomic>
#include <mutex>

#include "sevenzipabi.h"
#include "streamfile.h"

// One extracted file. The bytes go to an unnamed file in the destination's folder (a hidden
// sibling where the file system has no unnamed files), and only a complete, closed file is
// renamed over it: a failed or aborted item, a full disk or a killed process never leaves a
// half-written file in place of the previous good one.
class COutFileStream final : public SevenZip::IOutStream
{
public:
    COutFileStream() = default;
    ~COutFileStream();
    COutFileStream(const COutFileStream &) = delete;
    COutFileStream &operator=(const COutFileStream &) = delete;

    // Creates the file that will become finalPath; the system's error number, 0 on success.
    int create(const QString &finalPath);
    QString finalPath() const { return m_finalPath; }
    // Empty while the file has no name.
    QString partialPath() const;

    SevenZip::HRESULT QueryInterface(const SevenZip::GUID &iid, void **out) override;
    SevenZip::ULONG AddRef() override;
    SevenZip::ULONG Release() override;

    SevenZip::HRESULT Write(const void *data, SevenZip::UInt32 size,
                            SevenZip::UInt32 *processed) override;
    SevenZip::HRESULT Seek(SevenZip::Int64 offset, SevenZip::UInt32 origin,
                           SevenZip::UInt64 *newPosition) override;
    SevenZip::HRESULT SetSize(SevenZip::UInt64 newSize) override;

    // Both are best effort, like the last-write time on the original platform. The
    // attributes are the item's as the archive stores them.
    void setModificationTime(const SevenZip::FILETIME &time);
    void setAttributes(SevenZip::UInt32 attributes);
    // For folders, whose times and attributes are set after their children are written.
    static void setFolderModificationTime(const QString &path, const SevenZip::FILETIME &time);
    static void setFolderAttributes(const QString &path, SevenZip::UInt32 attributes);

    // Closes the file and moves it over the destination.
    SevenZip::HRESULT commit();
    // After a failed commit: true when the data was complete but could not take the
    // destination's name (a name too long for the file system, a folder in the way).
    bool placeFailed() const { return m_placeFailed; }
    // Closes and removes the partial file; the destination stays as it was.
    void discard();

    // Makes way for a file at path: an empty folder there is removed. The system's error
    // number when a folder with content is in the way.
    static int removeFolderInTheWay(const QString &path);
    // Removes the hidden partial files that extractions by processes that no longer exist
    // left in folder.
    static void removeStalePartials(const QString &folder);

    static constexpr SevenZip::UInt32 kMaxChunk = 4 * 1024 * 1024;

private:
    std::atomic<SevenZip::ULONG> m_refs{0};
    std::mutex m_mutex;
    platform::OutputFile m_file;
    QString m_finalPath;
    bool m_placeFailed = false;
};
