#include "setupmanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include "crashhandler.h"
#include "gamefolderlinks.h"
#include "packageextractor.h"
#include "postextractionsteps.h"

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
    PackageExtractor extractor(&m_library, this);
    const QString folder = m_folder;
    extractor.setCheck([folder](const QStringList &items) {
        const QString link = GameFolderLinks::firstLink(folder, items);
        return link.isEmpty() ? QString()
                              : link + QLatin1Char(' ') + tr("message_game_folder_link");
    });
    const PackageExtractor::Outcome outcome = extractor.extract(packagePath, m_folder);
    using Failure = PackageExtractor::Failure;
    switch (outcome.failure) {
    case Failure::None:
        return true;
    case Failure::Library:
        reportError(ErrorDefine::SETUP_DLL_ERROR, tr("message_setup_dll_error"));
        break;
    case Failure::Format:
        reportError(ErrorDefine::SETUP_ZIP_FORMAT_ERROR,
                    outcome.detail + QLatin1Char(' ') + tr("message_setup_zip_format_error"));
        break;
    case Failure::ArchiveClass:
        reportError(ErrorDefine::SETUP_ZIP_CLASS_ERROR, tr("message_setup_zip_class_error"));
        break;
    case Failure::PackageFile:
        reportError(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR,
                    outcome.detail + QLatin1Char(' ') + tr("message_setup_zip_archive_file_error"));
        break;
    case Failure::Password:
        reportError(ErrorDefine::SETUP_ZIP_PASSWORD_ERROR,
                    QCoreApplication::translate("QObject", "message_setup_zip_password_error"));
        break;
    case Failure::NotAnArchive:
        reportError(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_FILE_ERROR,
                    QString::fromUtf8("无法以archive形式打开%1文件").arg(outcome.detail));
        break;
    case Failure::EscapingItem:
        reportError(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR, outcome.detail);
        break;
    case Failure::Refused:
        reportError(ErrorDefine::GAME_FOLDER_LINK_ERROR, outcome.detail);
        break;
    case Failure::MissingItem: // every item is asked for
    case Failure::Extraction:
        reportError(ErrorDefine::SETUP_ZIP_UNZIP_ERROR, tr("message_setup_zip_unzip_error"));
        break;
    }
    return false;
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
