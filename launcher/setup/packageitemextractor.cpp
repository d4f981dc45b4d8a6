#include "packageitemextractor.h"

#include <QCoreApplication>
#include <QDebug>

#include "crashhandler.h"
#include "gamefolderlinks.h"
#include "packageextractor.h"

namespace {
// The extraction's failures read as those of an installation.
QString setupText(const char *key)
{
    return QCoreApplication::translate("setupmanager", key);
}
} // namespace

PackageItemExtractor::PackageItemExtractor(QObject *parent)
    : QThread(parent)
{
    ErrorDefine::registerMetaTypes();
}

PackageItemExtractor::~PackageItemExtractor()
{
    wait();
}

void PackageItemExtractor::setLibraryPaths(const QStringList &paths)
{
    m_library.setCandidates(paths);
}

void PackageItemExtractor::run()
{
    platform::prepareThreadForCrashDump();
    m_error = false;
    if (extract() && !m_error)
        emit extractFinished();
}

bool PackageItemExtractor::extract()
{
    PackageExtractor extractor(&m_library, this);
    extractor.setItems(m_items);
    const QString folder = m_folder;
    extractor.setCheck([folder](const QStringList &items) {
        const QString link = GameFolderLinks::firstLink(folder, items);
        return link.isEmpty() ? QString()
                              : link + QLatin1Char(' ') + setupText("message_game_folder_link");
    });
    const PackageExtractor::Outcome outcome = extractor.extract(m_package, m_folder);
    using Failure = PackageExtractor::Failure;
    switch (outcome.failure) {
    case Failure::None:
        return true;
    case Failure::Library:
        reportError(ErrorDefine::SETUP_DLL_ERROR, setupText("message_setup_dll_error"));
        break;
    case Failure::Format:
        reportError(ErrorDefine::SETUP_ZIP_FORMAT_ERROR,
                    outcome.detail + QLatin1Char(' ') +
                        setupText("message_setup_zip_format_error"));
        break;
    case Failure::ArchiveClass:
        reportError(ErrorDefine::SETUP_ZIP_CLASS_ERROR, setupText("message_setup_zip_class_error"));
        break;
    case Failure::PackageFile:
        reportError(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR,
                    outcome.detail + QLatin1Char(' ') +
                        setupText("message_setup_zip_archive_file_error"));
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
    case Failure::MissingItem:
        // The package is not the release the list describes: nothing was written.
        reportError(ErrorDefine::SETUP_ZIP_ERROR,
                    tr("message_repair_item_not_in_package").arg(outcome.detail));
        break;
    case Failure::Refused:
        reportError(ErrorDefine::GAME_FOLDER_LINK_ERROR, outcome.detail);
        break;
    case Failure::Extraction:
        // An item's own failure was reported as it happened.
        if (!m_error)
            reportError(ErrorDefine::SETUP_ZIP_UNZIP_ERROR,
                        setupText("message_setup_zip_unzip_error"));
        break;
    }
    return false;
}

void PackageItemExtractor::reportProgress(qlonglong completed, qlonglong total)
{
    emit extractProgress(completed, total);
}

void PackageItemExtractor::reportItemPath(const QString &) {}

void PackageItemExtractor::reportError(ErrorDefine::ErrorCode code, const QString &message)
{
    m_error = true;
    emit extractError(code, message);
}
