#include "packageitemextractor.h"

#include <QCoreApplication>
#include <QDebug>
#include <QHash>

#include <algorithm>
#include <vector>

#include "archiveitempath.h"
#include "carchiveextractcallback.h"
#include "carchiveopencallback.h"
#include "cinfilestream.h"
#include "comref.h"
#include "gamefolderlinks.h"
#include "crashhandler.h"

using namespace SevenZip;

namespace {
constexpr UInt64 kMaxStartSearch = 8 * 1024 * 1024;

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
    if (!m_library.resolve()) {
        qWarning() << "7-Zip library:" << m_library.errorString();
        reportError(ErrorDefine::SETUP_DLL_ERROR, setupText("message_setup_dll_error"));
        return false;
    }
    ComRef<IInArchive> archive;
    if (m_library.createObject(CLSID_Format7z, IID_IInArchive, archive.receive()) != S_OK ||
        !archive.get()) {
        reportError(ErrorDefine::SETUP_ZIP_CLASS_ERROR, setupText("message_setup_zip_class_error"));
        return false;
    }
    ComRef<CInFileStream> input(new CInFileStream);
    if (input->open(m_package)) {
        reportError(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR,
                    m_package + QLatin1Char(' ') +
                        setupText("message_setup_zip_archive_file_error"));
        return false;
    }
    ComRef<CArchiveOpenCallback> openCallback(new CArchiveOpenCallback);
    if (archive->Open(input.get(), &kMaxStartSearch, openCallback.get()) != S_OK) {
        reportError(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_FILE_ERROR,
                    QString::fromUtf8("无法以archive形式打开%1文件").arg(m_package));
        return false;
    }

    UInt32 count = 0;
    archive->GetNumberOfItems(&count);
    QHash<QString, UInt32> indexOf;
    for (UInt32 i = 0; i < count; ++i) {
        PROPVARIANT value;
        if (archive->GetProperty(i, kpidPath, &value) == S_OK && value.vt == VT_BSTR)
            indexOf.insert(ArchiveItemPath::normalized(SevenZipLibrary::fromBstr(value.bstrVal)),
                           i);
        m_library.clearVariant(&value);
    }
    std::vector<UInt32> indices;
    for (const QString &item : qAsConst(m_items)) {
        const auto found = indexOf.constFind(item);
        if (found == indexOf.constEnd()) {
            // The package is not the release the list describes: write nothing.
            reportError(ErrorDefine::SETUP_ZIP_ERROR,
                        tr("message_repair_item_not_in_package").arg(item));
            return false;
        }
        indices.push_back(found.value());
    }
    const QString link = GameFolderLinks::firstLink(m_folder, m_items);
    if (!link.isEmpty()) {
        reportError(ErrorDefine::GAME_FOLDER_LINK_ERROR,
                    link + QLatin1Char(' ') + setupText("message_game_folder_link"));
        return false;
    }
    // 7-Zip wants the indices in ascending order.
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());

    ComRef<CArchiveExtractCallback> callback(
        new CArchiveExtractCallback(archive.get(), &m_library, m_folder, this));
    const HRESULT extracted =
        archive->Extract(indices.data(), UInt32(indices.size()), 0, callback.get());
    callback->finish();
    if (extracted != S_OK) {
        qWarning() << "7-Zip Extract failed:" << Qt::hex << static_cast<quint32>(extracted);
        if (!m_error)
            reportError(ErrorDefine::SETUP_ZIP_UNZIP_ERROR,
                        setupText("message_setup_zip_unzip_error"));
        return false;
    }
    return true;
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
