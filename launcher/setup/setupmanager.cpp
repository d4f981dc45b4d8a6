#include "setupmanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include "archiveitempath.h"
#include "carchiveextractcallback.h"
#include "carchiveopencallback.h"
#include "crashhandler.h"
#include "cinfilestream.h"
#include "comref.h"
#include "gamefolderlinks.h"
#include "postextractionsteps.h"

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

setupmanager::setupmanager(QObject *parent)
    : QThread(parent)
{
    ErrorDefine::registerMetaTypes();
}

setupmanager::~setupmanager()
{
    wait();
}

setupmanager *setupmanager::instance()
{
    static QBasicAtomicPointer<setupmanager> s_instance = Q_BASIC_ATOMIC_INITIALIZER(nullptr);
    static QBasicMutex s_mutex;
    setupmanager *object = s_instance.loadAcquire();
    if (!object) {
        QMutexLocker locker(&s_mutex);
        object = s_instance.loadAcquire();
        if (!object) {
            object = new setupmanager;
            s_instance.storeRelease(object);
        }
    }
    return object;
}

void setupmanager::setLibraryPaths(const QStringList &paths)
{
    m_library.setCandidates(paths);
}

void setupmanager::setZipFilePath(QString dir)
{
    m_folder = dir;
}

void setupmanager::setZipFileName(QString zipName)
{
    m_zipName = zipName;
}

void setupmanager::startSetup()
{
    performRun();
}

void setupmanager::run()
{
    platform::prepareThreadForCrashDump();
    performRun();
}

void setupmanager::performRun()
{
    // A flag left by an earlier run must not swallow this run's success.
    m_error = false;
    const QString packagePath = m_folder + QLatin1Char('/') + m_zipName;
    const bool extracted = extract(packagePath);
    // Kept neither after success nor after a failure: a package left in the game folder is
    // gigabytes the player never asked to keep, and the next attempt fetches it again.
    QFile::remove(packagePath);
    if (extracted) {
        if (applyDeletionList()) {
            checkGlobalMetaData();
            if (!m_error)
                emit setupFinished();
        }
    }
    m_error = false;
}

bool setupmanager::extract(const QString &packagePath)
{
    if (!m_library.resolve()) {
        qWarning() << "7-Zip library:" << m_library.errorString();
        reportError(ErrorDefine::SETUP_DLL_ERROR, tr("message_setup_dll_error"));
        return false;
    }
    const QString suffix = QFileInfo(m_zipName).suffix().toLower();
    GUID classId;
    if (!suffixFormat(suffix, &classId)) {
        reportError(ErrorDefine::SETUP_ZIP_FORMAT_ERROR,
                    suffix + QLatin1Char(' ') + tr("message_setup_zip_format_error"));
        return false;
    }
    ComRef<IInArchive> archive;
    if (m_library.createObject(classId, IID_IInArchive, archive.receive()) != S_OK ||
        !archive.get()) {
        reportError(ErrorDefine::SETUP_ZIP_CLASS_ERROR, tr("message_setup_zip_class_error"));
        return false;
    }

    ComRef<CInFileStream> input(new CInFileStream);
    if (const int error = input->open(packagePath)) {
        qWarning() << "open package:" << packagePath << qt_error_string(error);
        reportError(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR,
                    packagePath + QLatin1Char(' ') + tr("message_setup_zip_archive_file_error"));
        return false;
    }
    ComRef<CArchiveOpenCallback> openCallback(new CArchiveOpenCallback);
    const HRESULT opened = archive->Open(input.get(), &kMaxStartSearch, openCallback.get());
    if (opened != S_OK && openCallback->passwordAsked()) {
        reportError(ErrorDefine::SETUP_ZIP_PASSWORD_ERROR,
                    QCoreApplication::translate("QObject", "message_setup_zip_password_error"));
        return false;
    }
    if (opened != S_OK) {
        reportError(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_FILE_ERROR,
                    QString::fromUtf8("无法以archive形式打开%1文件").arg(packagePath));
        return false;
    }

    ComRef<CArchiveExtractCallback> callback(
        new CArchiveExtractCallback(archive.get(), &m_library, m_folder, this));

    // Refuse a package with a path that leads outside the folder before anything is written,
    // so such a package changes nothing at all.
    const QString escaping = callback->firstEscapingItem();
    if (!escaping.isNull()) {
        reportError(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR, escaping);
        return false;
    }

    QStringList items;
    UInt32 count = 0;
    archive->GetNumberOfItems(&count);
    for (UInt32 i = 0; i < count; ++i) {
        PROPVARIANT value;
        if (archive->GetProperty(i, kpidPath, &value) == S_OK && value.vt == VT_BSTR)
            items << ArchiveItemPath::normalized(SevenZipLibrary::fromBstr(value.bstrVal));
        m_library.clearVariant(&value);
    }
    const QString link = GameFolderLinks::firstLink(m_folder, items);
    if (!link.isEmpty()) {
        reportError(ErrorDefine::GAME_FOLDER_LINK_ERROR,
                    link + QLatin1Char(' ') + tr("message_game_folder_link"));
        return false;
    }

    // No password is ever known: say so once, before any folder or file is made.
    if (callback->hasEncryptedItem()) {
        reportError(ErrorDefine::SETUP_ZIP_PASSWORD_ERROR,
                    QCoreApplication::translate("QObject", "message_setup_zip_password_error"));
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

bool setupmanager::applyDeletionList()
{
    const PostExtractionSteps::DeletionResult result =
        PostExtractionSteps::applyDeletionList(m_folder);
    if (result.ok)
        return true;
    reportError(ErrorDefine::SETUP_DELETE_OLD_FILE_ERROR,
                result.failedPath + QLatin1Char(' ') + tr("message_setup_delete_old_file_error"));
    return false;
}

void setupmanager::checkGlobalMetaData()
{
    const PostExtractionSteps::MetaDataResult result =
        PostExtractionSteps::checkGlobalMetaData(m_folder);
    if (result.dismissed)
        emit globalMetaDataDismiss();
    if (result.error)
        emit globalMetaDataError();
}

void setupmanager::reportProgress(qlonglong completed, qlonglong total)
{
    emit setupProgress(completed, total);
}

void setupmanager::reportItemPath(const QString &path)
{
    emit setupUnzipFilePath(path);
}

void setupmanager::reportError(ErrorDefine::ErrorCode code, const QString &message)
{
    m_error = true;
    emit setupError(code, message);
}
