#include "uncompressmanager.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include "carchiveextractcallback.h"
#include "carchiveopencallback.h"
#include "cinfilestream.h"
#include "comref.h"
#include "sevenziplibrary.h"

using namespace SevenZip;

namespace {
constexpr UInt64 kMaxStartSearch = 8 * 1024 * 1024;

bool suffixFormat(const QString &suffix, GUID *classId)
{
    if (suffix == QLatin1String("7z"))
        *classId = CLSID_Format7z;
    else if (suffix == QLatin1String("zip"))
        *classId = CLSID_FormatZip;
    else if (suffix == QLatin1String("rar"))
        *classId = CLSID_FormatRar;
    else
        return false;
    return true;
}
} // namespace

UncompressManager::UncompressManager()
{
    ErrorDefine::registerMetaTypes();
}

UncompressManager::~UncompressManager()
{
    wait();
}

UncompressManager *UncompressManager::instance()
{
    // Created by the update window on the GUI thread before any other use.
    static UncompressManager *s_instance = new UncompressManager;
    return s_instance;
}

void UncompressManager::setUncompressPaths(const QString &packagePath, const QString &outputFolder)
{
    m_packagePath = packagePath;
    m_outputFolder = outputFolder;
}

void UncompressManager::setLibraryPaths(const QStringList &paths)
{
    m_libraryPaths = paths;
}

void UncompressManager::unloadLibrary()
{
    // 7z.so keeps worker threads and process-wide state; it stays mapped, but the next run
    // resolves its entry point afresh.
    m_library.reset();
}

void UncompressManager::run()
{
    // The window waits for a report with its close button disabled: every way out of a run
    // must say how it ended.
    if (m_packagePath.isEmpty() || m_outputFolder.isEmpty()) {
        emit unzipError(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR,
                        m_packagePath + QLatin1Char(' ') +
                            tr("message_setup_zip_archive_file_error"));
        return;
    }
    if (!QDir().mkpath(m_outputFolder)) {
        emit unzipError(ErrorDefine::SETUP_CREATE_FOLDER_ERROR,
                        tr("message_setup_create_floder_error"));
        return;
    }
    if (extract())
        emit unzipFinished();
}

bool UncompressManager::extract()
{
    if (!m_library) {
        m_library = std::make_unique<SevenZipLibrary>();
        if (!m_libraryPaths.isEmpty())
            m_library->setCandidates(m_libraryPaths);
    }
    if (!m_library->resolve()) {
        qWarning() << "7-Zip library:" << m_library->errorString();
        reportError(ErrorDefine::SETUP_DLL_ERROR, tr("message_setup_dll_error"));
        return false;
    }
    const QString suffix = QFileInfo(m_packagePath).suffix().toLower();
    GUID classId;
    if (!suffixFormat(suffix, &classId)) {
        reportError(ErrorDefine::SETUP_ZIP_FORMAT_ERROR,
                    suffix + QLatin1Char(' ') + tr("message_setup_zip_format_error"));
        return false;
    }
    ComRef<IInArchive> archive;
    if (m_library->createObject(classId, IID_IInArchive, archive.receive()) != S_OK ||
        !archive.get()) {
        reportError(ErrorDefine::SETUP_ZIP_CLASS_ERROR, tr("message_setup_zip_class_error"));
        return false;
    }

    ComRef<CInFileStream> input(new CInFileStream);
    if (const int error = input->open(m_packagePath)) {
        qWarning() << "open package:" << m_packagePath << qt_error_string(error);
        reportError(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR,
                    m_packagePath + QLatin1Char(' ') + tr("message_setup_zip_archive_file_error"));
        return false;
    }
    ComRef<CArchiveOpenCallback> openCallback(new CArchiveOpenCallback);
    if (archive->Open(input.get(), &kMaxStartSearch, openCallback.get()) != S_OK) {
        reportError(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_FILE_ERROR,
                    QString::fromUtf8("无法以archive形式打开%1文件").arg(m_packagePath));
        return false;
    }

    ComRef<CArchiveExtractCallback> callback(
        new CArchiveExtractCallback(archive.get(), m_library.get(), m_outputFolder, this));

    // A package with a path leading outside the folder is refused before anything is written.
    const QString escaping = callback->firstEscapingItem();
    if (!escaping.isNull()) {
        reportError(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR, escaping);
        return false;
    }

    const HRESULT extracted = archive->Extract(nullptr, 0xFFFFFFFF, 0, callback.get());
    callback->finish();
    if (extracted != S_OK) {
        qWarning() << "7-Zip Extract failed:" << Qt::hex << static_cast<quint32>(extracted);
        reportError(ErrorDefine::SETUP_ZIP_UNZIP_ERROR, tr("message_setup_zip_unzip_error"));
        return false;
    }
    return true;
}

void UncompressManager::reportProgress(qlonglong completed, qlonglong total)
{
    emit unzipProgress(completed, total);
}

void UncompressManager::reportItemPath(const QString &path)
{
    emit unzipingFile(path);
}

void UncompressManager::reportError(ErrorDefine::ErrorCode code, const QString &message)
{
    emit unzipError(code, message);
}
