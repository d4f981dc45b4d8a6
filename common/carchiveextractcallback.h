#pragma once

#include <QSet>
#include <QString>
#include <QVector>

#include <atomic>
#include <mutex>

#include "sevenzipabi.h"

class COutFileStream;
class ExtractReporter;
class SevenZipLibrary;

// Answers the library while it extracts: hands out one output file per item, reports
// progress and failures, and refuses item paths that would leave the output folder.
class CArchiveExtractCallback final : public SevenZip::IArchiveExtractCallback,
                                      public SevenZip::ICryptoGetTextPassword
{
public:
    CArchiveExtractCallback(SevenZip::IInArchive *archive, const SevenZipLibrary *library,
                            const QString &directory, ExtractReporter *reporter);
    ~CArchiveExtractCallback();
    CArchiveExtractCallback(const CArchiveExtractCallback &) = delete;
    CArchiveExtractCallback &operator=(const CArchiveExtractCallback &) = delete;

    SevenZip::HRESULT QueryInterface(const SevenZip::GUID &iid, void **out) override;
    SevenZip::ULONG AddRef() override;
    SevenZip::ULONG Release() override;

    SevenZip::HRESULT SetTotal(SevenZip::UInt64 total) override;
    SevenZip::HRESULT SetCompleted(const SevenZip::UInt64 *completed) override;
    SevenZip::HRESULT GetStream(SevenZip::UInt32 index, SevenZip::ISequentialOutStream **outStream,
                                SevenZip::Int32 askMode) override;
    SevenZip::HRESULT PrepareOperation(SevenZip::Int32 askMode) override;
    SevenZip::HRESULT SetOperationResult(SevenZip::Int32 result) override;
    SevenZip::HRESULT CryptoGetTextPassword(SevenZip::BSTR *password) override;

    // The disk path of the first item that would leave the output folder, or a null string:
    // asked before Extract, so that such a package changes nothing at all. A folder entry
    // for the output folder itself ("./") stays inside.
    QString firstEscapingItem() const;
    // Whether any item needs a password: such a package is refused before anything is written.
    bool hasEncryptedItem() const;

    // After Extract returns: drops an item the library abandoned mid-way and gives folders
    // their modes and times, which writing their children would otherwise disturb.
    void finish();

    // The fixed English text of a per-item result.
    static QString operationResultText(SevenZip::Int32 result);

    // The folder with a trailing separator, as item paths are joined to it.
    QString directoryPath() const { return m_directoryPath; }

private:
    struct FolderInfo
    {
        QString path;
        bool attributesDefined = false;
        SevenZip::UInt32 attributes = 0;
        bool timeDefined = false;
        SevenZip::FILETIME time{0, 0};
    };

    SevenZip::HRESULT getStream(SevenZip::UInt32 index, SevenZip::ISequentialOutStream **outStream,
                                SevenZip::Int32 askMode);
    SevenZip::HRESULT setOperationResult(SevenZip::Int32 result);
    SevenZip::HRESULT readProperty(SevenZip::UInt32 index, SevenZip::PROPID id,
                                   SevenZip::PROPVARIANT *value) const;
    void releaseCurrent();
    void fail(int code, const QString &message);

    std::atomic<SevenZip::ULONG> m_refs{0};
    std::recursive_mutex m_mutex;
    SevenZip::IInArchive *m_archive;
    const SevenZipLibrary *m_library;
    ExtractReporter *m_reporter;
    QString m_directoryPath;
    QString m_itemPath;
    QString m_diskPath;
    bool m_extractMode = false;
    bool m_mtimeDefined = false;
    SevenZip::FILETIME m_mtime{0, 0};
    bool m_attributesDefined = false;
    SevenZip::UInt32 m_attributes = 0;
    bool m_isDirectory = false;
    COutFileStream *m_outStream = nullptr;
    bool m_passwordIsDefined = false;
    std::atomic<SevenZip::UInt64> m_total{0};
    QVector<FolderInfo> m_folders;
    QSet<QString> m_sweptFolders;
};
