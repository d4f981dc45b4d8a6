#include "uncompressmanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include "packageextractor.h"
#include "sevenziplibrary.h"

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
    PackageExtractor extractor(m_library.get(), this);
    const PackageExtractor::Outcome outcome = extractor.extract(m_packagePath, m_outputFolder);
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
    case Failure::MissingItem: // neither asked for nor checked here
    case Failure::Refused:
    case Failure::Extraction:
        reportError(ErrorDefine::SETUP_ZIP_UNZIP_ERROR, tr("message_setup_zip_unzip_error"));
        break;
    }
    return false;
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
