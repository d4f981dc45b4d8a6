#include "carchiveextractcallback.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

#include <algorithm>
#include <new>

#include "archiveitempath.h"
#include "coutfilestream.h"
#include "errordefine.h"
#include "extractreporter.h"
#include "sevenziplibrary.h"

using namespace SevenZip;

namespace {
// No C++ exception may travel into the library.
template<typename Body>
HRESULT guarded(Body body)
{
    try {
        return body();
    } catch (const std::bad_alloc &) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace

CArchiveExtractCallback::CArchiveExtractCallback(IInArchive *archive,
                                                 const SevenZipLibrary *library,
                                                 const QString &directory,
                                                 ExtractReporter *reporter)
    : m_archive(archive)
    , m_library(library)
    , m_reporter(reporter)
    , m_directoryPath(directory)
{
    if (m_archive)
        m_archive->AddRef();
    if (!m_directoryPath.endsWith(QLatin1Char('/')) && !m_directoryPath.endsWith(QLatin1Char('\\')))
        m_directoryPath += QLatin1Char('/');
}

CArchiveExtractCallback::~CArchiveExtractCallback()
{
    releaseCurrent();
    if (m_archive)
        m_archive->Release();
}

HRESULT CArchiveExtractCallback::QueryInterface(const GUID &iid, void **out)
{
    if (!out)
        return E_INVALIDARG;
    if (iid == IID_IUnknown || iid == IID_IArchiveExtractCallback || iid == IID_IProgress)
        *out = static_cast<IArchiveExtractCallback *>(this);
    else if (iid == IID_ICryptoGetTextPassword)
        *out = static_cast<ICryptoGetTextPassword *>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG CArchiveExtractCallback::AddRef()
{
    return ++m_refs;
}

ULONG CArchiveExtractCallback::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT CArchiveExtractCallback::SetTotal(UInt64 total)
{
    m_total = total;
    return S_OK;
}

HRESULT CArchiveExtractCallback::SetCompleted(const UInt64 *completed)
{
    return guarded([&] {
        if (completed && m_reporter)
            m_reporter->reportProgress(static_cast<qlonglong>(*completed),
                                       static_cast<qlonglong>(m_total.load()));
        return S_OK;
    });
}

HRESULT CArchiveExtractCallback::GetStream(UInt32 index, ISequentialOutStream **outStream,
                                           Int32 askMode)
{
    if (outStream)
        *outStream = nullptr;
    return guarded([&] { return getStream(index, outStream, askMode); });
}

HRESULT CArchiveExtractCallback::getStream(UInt32 index, ISequentialOutStream **outStream,
                                           Int32 askMode)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    releaseCurrent();
    m_itemPath.clear();
    m_diskPath.clear();
    m_extractMode = false;
    m_mtimeDefined = m_attributesDefined = m_isDirectory = false;

    PROPVARIANT value;
    HRESULT result = readProperty(index, kpidPath, &value);
    if (result != S_OK)
        return result;
    if (value.vt == VT_EMPTY) {
        m_itemPath = QStringLiteral("[Content]");
    } else if (value.vt == VT_BSTR) {
        m_itemPath = ArchiveItemPath::normalized(SevenZipLibrary::fromBstr(value.bstrVal));
    } else {
        m_library->clearVariant(&value);
        return E_FAIL;
    }
    m_library->clearVariant(&value);
    if (askMode != kExtract || !outStream)
        return S_OK;

    if ((result = readProperty(index, kpidAttrib, &value)) != S_OK)
        return result;
    if (value.vt == VT_UI4) {
        m_attributesDefined = true;
        m_attributes = value.ulVal;
    } else if (value.vt != VT_EMPTY) {
        m_library->clearVariant(&value);
        return E_FAIL;
    }
    if ((result = readProperty(index, kpidIsDir, &value)) != S_OK)
        return result;
    if (value.vt == VT_BOOL) {
        m_isDirectory = value.boolVal != 0;
    } else if (value.vt != VT_EMPTY) {
        m_library->clearVariant(&value);
        return E_FAIL;
    }
    if ((result = readProperty(index, kpidMTime, &value)) != S_OK)
        return result;
    if (value.vt == VT_FILETIME) {
        m_mtimeDefined = true;
        m_mtime = value.filetime;
    } else if (value.vt != VT_EMPTY) {
        m_library->clearVariant(&value);
        return E_FAIL;
    }
    if ((result = readProperty(index, kpidSize, &value)) != S_OK)
        return result;
    m_library->clearVariant(&value);

    // "./" names the output folder itself: there is nothing to create.
    if (m_isDirectory && ArchiveItemPath::namesItsFolder(m_itemPath))
        return S_OK;
    // Joined as stored, "../x" or "/etc/x" would write anywhere the process may write.
    if (!ArchiveItemPath::isContained(m_itemPath)) {
        fail(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR, m_directoryPath + m_itemPath);
        return E_ABORT;
    }
    const int lastSeparator = m_itemPath.lastIndexOf(QLatin1Char('/'));
    // A folder that already received a file of this run exists: with many small files the
    // walk up the path for every one of them costs more than writing the file.
    if (lastSeparator > 0 &&
        !m_sweptFolders.contains(m_directoryPath + m_itemPath.left(lastSeparator)))
        QDir().mkpath(m_directoryPath + m_itemPath.left(lastSeparator));
    m_diskPath = m_directoryPath + m_itemPath;
    while (m_diskPath.endsWith(QLatin1Char('/')))
        m_diskPath.chop(1);

    if (m_isDirectory) {
        QDir().mkpath(m_diskPath);
        FolderInfo folder;
        folder.path = m_diskPath;
        folder.attributesDefined = m_attributesDefined;
        folder.attributes = m_attributes;
        folder.timeDefined = m_mtimeDefined;
        folder.time = m_mtime;
        m_folders.append(folder);
        return S_OK;
    }

    // A file takes the place of whatever is there. Files and links are replaced by the
    // final rename; a folder has to go first, and only an empty one can.
    if (COutFileStream::removeFolderInTheWay(m_diskPath) != 0) {
        fail(ErrorDefine::SETUP_ZIP_UNABLE_DELETE_ERROR, m_diskPath);
        return E_ABORT;
    }

    // Partial files of an extraction that was killed are only found by the next one.
    const QString folder = m_diskPath.left(m_diskPath.lastIndexOf(QLatin1Char('/')));
    if (!m_sweptFolders.contains(folder)) {
        COutFileStream::removeStalePartials(folder);
        m_sweptFolders.insert(folder);
    }

    auto *stream = new COutFileStream;
    stream->AddRef();
    // Should an earlier item have taken the folder's place after all, make it again.
    if (stream->create(m_diskPath) != 0 &&
        (!QDir().mkpath(folder) || stream->create(m_diskPath) != 0)) {
        stream->Release();
        fail(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR, m_diskPath);
        return E_ABORT;
    }
    m_outStream = stream;
    stream->AddRef();
    *outStream = stream;
    return S_OK;
}

HRESULT CArchiveExtractCallback::PrepareOperation(Int32 askMode)
{
    return guarded([&] {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        m_extractMode = askMode == kExtract;
        m_itemPath = ArchiveItemPath::normalized(m_itemPath);
        if (m_extractMode) {
            if (m_reporter)
                m_reporter->reportItemPath(m_itemPath);
        } else {
            qDebug().noquote() << (askMode == kTest ? "Testing     " : "Skipping    ") + m_itemPath;
        }
        return S_OK;
    });
}

HRESULT CArchiveExtractCallback::SetOperationResult(Int32 result)
{
    return guarded([&] { return setOperationResult(result); });
}

HRESULT CArchiveExtractCallback::setOperationResult(Int32 result)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (result != kOK) {
        // A damaged item never replaces the file that was there before.
        releaseCurrent();
        fail(ErrorDefine::SETUP_ZIP_ERROR, operationResultText(result));
        return S_OK;
    }
    if (!m_outStream)
        return S_OK;
    if (m_extractMode && m_attributesDefined && !ArchiveItemPath::isSymbolicLink(m_attributes))
        m_outStream->setAttributes(m_attributes);
    if (m_mtimeDefined)
        m_outStream->setModificationTime(m_mtime);
    const HRESULT committed = m_outStream->commit();
    const bool placeFailed = committed != S_OK && m_outStream->placeFailed();
    releaseCurrent();
    if (placeFailed) {
        // As for a file that cannot be created: the player needs to know which one.
        fail(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR, m_diskPath);
        return E_ABORT;
    }
    return committed;
}

HRESULT CArchiveExtractCallback::CryptoGetTextPassword(BSTR *password)
{
    if (password)
        *password = nullptr;
    guarded([&] {
        fail(ErrorDefine::SETUP_ZIP_PASSWORD_ERROR,
             QCoreApplication::translate("QObject", "message_setup_zip_password_error"));
        return S_OK;
    });
    return E_ABORT;
}

QString CArchiveExtractCallback::firstEscapingItem() const
{
    UInt32 count = 0;
    if (m_archive->GetNumberOfItems(&count) != S_OK)
        return QString();
    for (UInt32 index = 0; index < count; ++index) {
        PROPVARIANT value;
        if (readProperty(index, kpidPath, &value) != S_OK)
            continue;
        const QString itemPath =
            value.vt == VT_BSTR
                ? ArchiveItemPath::normalized(SevenZipLibrary::fromBstr(value.bstrVal))
                : QStringLiteral("[Content]");
        m_library->clearVariant(&value);
        if (ArchiveItemPath::isContained(itemPath))
            continue;
        bool isDirectory = false;
        if (readProperty(index, kpidIsDir, &value) == S_OK) {
            isDirectory = value.vt == VT_BOOL && value.boolVal != 0;
            m_library->clearVariant(&value);
        }
        if (!(isDirectory && ArchiveItemPath::namesItsFolder(itemPath)))
            return m_directoryPath + itemPath;
    }
    return QString();
}

bool CArchiveExtractCallback::hasEncryptedItem() const
{
    UInt32 count = 0;
    if (m_archive->GetNumberOfItems(&count) != S_OK)
        return false;
    for (UInt32 index = 0; index < count; ++index) {
        PROPVARIANT value;
        if (readProperty(index, kpidEncrypted, &value) != S_OK)
            continue;
        const bool encrypted = value.vt == VT_BOOL && value.boolVal != 0;
        m_library->clearVariant(&value);
        if (encrypted)
            return true;
    }
    return false;
}

void CArchiveExtractCallback::finish()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    releaseCurrent();
    // Deepest folders first, so setting a parent's time is not undone by its children.
    std::sort(m_folders.begin(), m_folders.end(), [](const FolderInfo &a, const FolderInfo &b) {
        return a.path.size() > b.path.size();
    });
    for (const FolderInfo &folder : qAsConst(m_folders)) {
        if (folder.attributesDefined)
            COutFileStream::setFolderAttributes(folder.path, folder.attributes);
        if (folder.timeDefined)
            COutFileStream::setFolderModificationTime(folder.path, folder.time);
    }
    m_folders.clear();
}

QString CArchiveExtractCallback::operationResultText(Int32 result)
{
    switch (result) {
    case kUnsupportedMethod:
        return QStringLiteral("Unsupported Method");
    case kDataError:
        return QStringLiteral("Data Error");
    case kCRCError:
        return QStringLiteral("CRC Failed");
    case kUnavailable:
        return QStringLiteral("Unavailable data");
    case kUnexpectedEnd:
        return QStringLiteral("Unexpected end of data");
    case kDataAfterEnd:
        return QStringLiteral("There are some data after the end of the payload data");
    case kIsNotArc:
        return QStringLiteral("Is not archive");
    case kHeadersError:
        return QStringLiteral("Headers Error");
    default:
        return QString::number(result);
    }
}

HRESULT CArchiveExtractCallback::readProperty(UInt32 index, PROPID id, PROPVARIANT *value) const
{
    value->vt = VT_EMPTY;
    value->uhVal = 0;
    return m_archive->GetProperty(index, id, value);
}

void CArchiveExtractCallback::releaseCurrent()
{
    if (!m_outStream)
        return;
    m_outStream->discard(); // nothing left to remove after a commit
    m_outStream->Release();
    m_outStream = nullptr;
}

void CArchiveExtractCallback::fail(int code, const QString &message)
{
    if (m_reporter)
        m_reporter->reportError(static_cast<ErrorDefine::ErrorCode>(code), message);
}
