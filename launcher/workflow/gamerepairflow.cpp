#include "gamerepairflow.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QThread>

#include "downloadmanager.h"
#include "gamefolderlinks.h"
#include "httprequestapi.h"
#include "packageitemextractor.h"
#include "progresstext.h"
#include "installtelemetry.h"
#include "sizetext.h"
#include "statusreport.h"
#include "storerepair.h"

namespace {
QString sizeText(qint64 bytes)
{
    return SizeText::bytes(bytes);
}

QString joinedPaths(const QList<GameVerifier::Finding> &findings)
{
    QStringList paths;
    for (const GameVerifier::Finding &finding : findings)
        paths << finding.path + QStringLiteral(" (") + finding.detail + QLatin1Char(')');
    return paths.join(QStringLiteral(", "));
}
} // namespace

GameRepairFlow::GameRepairFlow(QObject *parent)
    : QObject(parent)
    , m_request(new HttpRequestAPI(this))
    , m_downloader(new downloadmanager(this))
{
    ErrorDefine::registerMetaTypes();
    m_request->setMaxAnswerBytes(kMaxFileListBytes);
    connect(m_downloader, &downloadmanager::downloadReplyProgress, this,
            &GameRepairFlow::onDownloadProgress);
    connect(m_downloader, &downloadmanager::downloadFinished, this, [this] {
        if (m_stage != Downloading)
            return;
        setStage(CheckingPackage);
        emit statusChanged(tr("label_repair_checking_package"));
        m_downloader->fileMd5(packagePath());
    });
    connect(m_downloader, &downloadmanager::md5CheckFinish, this,
            &GameRepairFlow::onPackageChecked);
    const auto onError = [this](ErrorDefine::ErrorCode error, const QString &msg) {
        if (m_stage == Downloading || m_stage == CheckingPackage)
            fail(error, msg);
    };
    connect(m_downloader, &downloadmanager::downloadError, this, onError);
    connect(m_downloader, &downloadmanager::httpError, this, onError);
}

GameRepairFlow::~GameRepairFlow()
{
    stopVerifier();
    if (m_extractor)
        m_extractor->wait();
}

void GameRepairFlow::setFileList(const QUrl &url, const QString &sha256, qint64 size)
{
    m_listUrl = url;
    m_listSha256 = sha256.toLower();
    m_listSize = size;
}

void GameRepairFlow::setPackage(const QUrl &url, const QString &md5)
{
    m_packageUrl = url;
    m_packageMd5 = md5;
}

void GameRepairFlow::setStage(Stage stage)
{
    const bool wasRunning = isRunning();
    m_stage = stage;
    if (wasRunning != isRunning())
        emit runningChanged(isRunning());
}

void GameRepairFlow::start()
{
    if (isRunning())
        return;
    m_cancelRequested = false;
    m_damaged.clear();
    m_missing = 0;
    StatusReport::instance()->report(StatusReport::LAUNCHER_GAME_REPAIR);
    if (!m_listUrl.isValid() || m_listUrl.isEmpty() || m_folder.isEmpty()) {
        setStage(FetchingList);
        fail(ErrorDefine::HTTP_REQUEST_FILA, tr("message_repair_no_file_list"));
        return;
    }
    setStage(FetchingList);
    if (PackageTrust::isEnabled() && !takeSignedListDigest())
        return;
    emit statusChanged(tr("label_repair_fetching_list"));
    m_request->get(m_listUrl.toString(),
                   [this](bool ok, const QByteArray &body, const QString &error, int status) {
                       onListAnswer(ok, body, error, status);
                   });
}

void GameRepairFlow::cancel()
{
    if (!isRunning())
        return;
    m_cancelRequested = true;
    switch (m_stage) {
    case Verifying:
    case Rechecking:
        if (m_verifier)
            m_verifier->cancel();
        break;
    case FetchingObjects:
        // Called from a status update it sent, perhaps: it goes once that has returned.
        m_store->cancel();
        finishCancelled();
        break;
    case Downloading:
        m_downloader->stopDownlaod();
        finishCancelled();
        break;
    case Unpacking:
        // A few files; the run ends on its own and sees the request then.
        break;
    default:
        finishCancelled();
        break;
    }
}

// The answer's own digest of the list is unsigned: a changed answer could name a list that
// "repairs" the game into anything. Only the full package's statement decides.
bool GameRepairFlow::takeSignedListDigest()
{
    PackageStatement statement;
    QString why;
    ErrorDefine::ErrorCode code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
    bool trusted = PackageTrust::checkStatement(m_expectedPackage, &statement, &why, &code);
    if (trusted && statement.filesSha256.isEmpty()) {
        trusted = false;
        code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
        why = QStringLiteral("the statement names no file list");
    }
    if (!trusted) {
        qWarning() << "package signature:" << m_packageUrl.toString() << why;
        fail(code, PackageTrust::errorMessage(code, why));
        return false;
    }
    m_listSha256 = statement.filesSha256;
    m_listSize = statement.filesSize;
    return true;
}

void GameRepairFlow::onListAnswer(bool ok, const QByteArray &body, const QString &error, int status)
{
    if (m_stage != FetchingList)
        return;
    if (!ok || status != 200) {
        fail(ErrorDefine::HTTP_REQUEST_FILA,
             tr("message_repair_list_failed") + QStringLiteral(" (%1 %2)").arg(status).arg(error));
        return;
    }
    QString parseError;
    if ((m_listSize > 0 && body.size() != m_listSize) ||
        (!m_listSha256.isEmpty() &&
         QString::fromLatin1(GameFileList::sha256Hex(body)) != m_listSha256) ||
        !GameFileList::fromJson(body, &m_list, &parseError)) {
        fail(ErrorDefine::DOWNLOAD_MD5_ERROR, tr("message_repair_list_damaged"));
        return;
    }
    startVerify(Verifying);
}

void GameRepairFlow::startVerify(Stage stage)
{
    setStage(stage);
    restartClock();
    m_verifyThread = new QThread(this);
    m_verifier = new GameVerifier(m_folder, m_list.entries);
    m_verifier->moveToThread(m_verifyThread);
    connect(m_verifyThread, &QThread::started, m_verifier, &GameVerifier::run);
    connect(m_verifier, &GameVerifier::progress, this, &GameRepairFlow::onVerifyProgress);
    connect(m_verifier, &GameVerifier::finished, this, &GameRepairFlow::onVerified);
    connect(m_verifier, &GameVerifier::finished, m_verifyThread, &QThread::quit);
    m_verifyThread->start();
}

void GameRepairFlow::stopVerifier()
{
    if (!m_verifyThread)
        return;
    m_verifier->cancel();
    m_verifyThread->quit();
    m_verifyThread->wait();
    delete m_verifier;
    delete m_verifyThread;
    m_verifier = nullptr;
    m_verifyThread = nullptr;
}

void GameRepairFlow::restartClock()
{
    m_clock.start();
    m_clockBase = -1;
}

// Time left from the rate since the stage began; "" until a rate is known.
QString GameRepairFlow::timeLeft(qint64 done, qint64 total)
{
    if (m_clockBase < 0)
        m_clockBase = done;
    const qint64 elapsedMs = m_clock.elapsed();
    if (elapsedMs < 1000 || done <= m_clockBase)
        return QString();
    const double rate = double(done - m_clockBase) / elapsedMs;
    const qint64 seconds = qint64(double(total - done) / rate / 1000.0);
    return QLatin1Char(' ') +
           tr("label_repair_time_left").arg(ProgressText::remainingTime(seconds));
}

void GameRepairFlow::onVerifyProgress(int filesDone, int filesTotal, qint64 bytesDone,
                                      qint64 bytesTotal)
{
    if (m_stage != Verifying && m_stage != Rechecking)
        return;
    emit statusChanged(tr("label_repair_verifying")
                           .arg(filesDone)
                           .arg(filesTotal)
                           .arg(sizeText(bytesDone), sizeText(bytesTotal)) +
                       timeLeft(bytesDone, bytesTotal));
}

void GameRepairFlow::onVerified(const GameVerifier::Result &result)
{
    const Stage stage = m_stage;
    stopVerifier();
    if (result.cancelled || m_cancelRequested) {
        finishCancelled();
        return;
    }
    // Nothing is touched while a file cannot even be read: its cause (permissions, a disk
    // fault, another program's lock) is the player's to clear first.
    if (!result.unreadable.isEmpty()) {
        fail(ErrorDefine::DOWNLOAD_OPEN_FILE_ERROR,
             tr("message_repair_unreadable") + QLatin1Char(' ') + joinedPaths(result.unreadable));
        return;
    }
    if (stage == Rechecking) {
        if (!result.damaged.isEmpty()) {
            fail(ErrorDefine::SETUP_ZIP_ERROR,
                 tr("message_repair_still_damaged").arg(result.damaged.size()));
            return;
        }
        removePackage();
        succeed(result.checked);
        return;
    }
    if (result.damaged.isEmpty()) {
        succeed(result.checked);
        return;
    }
    for (const GameVerifier::Finding &finding : result.damaged) {
        // A folder where a file belongs may hold the player's own files: only an empty one
        // makes way.
        if (finding.fault == GameVerifier::NotAFile &&
            !QDir(m_folder + QLatin1Char('/') + finding.path).isEmpty()) {
            fail(ErrorDefine::SETUP_ZIP_UNABLE_DELETE_ERROR,
                 m_folder + QLatin1Char('/') + finding.path + QLatin1Char(' ') +
                     tr("message_repair_folder_in_the_way"));
            return;
        }
        m_damaged << finding.path;
        if (finding.fault == GameVerifier::Missing)
            ++m_missing;
    }
    // Found before the download: a link on the way is the player's to resolve, and no
    // package can mend it.
    const QString link = GameFolderLinks::firstLink(m_folder, m_damaged);
    if (!link.isEmpty()) {
        fail(ErrorDefine::GAME_FOLDER_LINK_ERROR,
             link + QLatin1Char(' ') +
                 QCoreApplication::translate("setupmanager", "message_game_folder_link"));
        return;
    }
    if (FileStore::covers(m_list, m_damaged)) {
        fetchObjects();
        return;
    }
    fetchPackage();
}

void GameRepairFlow::fetchObjects()
{
    delete m_store;
    m_store = new StoreRepair(m_listUrl, m_list, m_damaged, this);
    // Damage scattered all over the store costs about as much as the package.
    if (m_store->plannedBytes() > m_store->budgetBytes()) {
        delete m_store;
        m_store = nullptr;
        fetchPackage();
        return;
    }
    setStage(FetchingObjects);
    restartClock();
    emit statusChanged(tr("label_repair_downloading").arg(0));
    connect(m_store, &StoreRepair::progress, this, [this](qint64 done, qint64 total) {
        if (m_stage != FetchingObjects || total <= 0)
            return;
        emit statusChanged(tr("label_repair_downloading").arg(done * 100 / total) +
                           QStringLiteral(" (%1/%2)").arg(sizeText(done), sizeText(total)) +
                           timeLeft(done, total));
    });
    connect(m_store, &StoreRepair::fetched, this, &GameRepairFlow::onObjectsFetched);
    m_store->fetch(m_folder);
}

void GameRepairFlow::onObjectsFetched(bool ok, const QString &why)
{
    if (m_stage != FetchingObjects)
        return;
    if (m_cancelRequested) {
        finishCancelled();
        return;
    }
    if (!ok) {
        // Nothing was written: the full package repairs the same files.
        qWarning() << "repair from the store:" << why << "- taking the full package";
        m_store->deleteLater();
        m_store = nullptr;
        fetchPackage();
        return;
    }
    unpackOnceGameClosed();
}

QString GameRepairFlow::packagePath() const
{
    return m_folder + QLatin1Char('/') + m_downloader->savedFileName(m_packageUrl);
}

void GameRepairFlow::fetchPackage()
{
    setStage(Downloading);
    restartClock();
    emit statusChanged(tr("label_repair_downloading").arg(0));
    m_downloader->setFilePath(m_folder);
    m_downloader->setFileMD5(m_packageMd5);
    m_downloader->setExpectedPackage(m_expectedPackage);
    // A package already downloaded whole (an earlier run stopped after it) is only checked.
    if (QFileInfo::exists(packagePath())) {
        setStage(CheckingPackage);
        emit statusChanged(tr("label_repair_checking_package"));
        m_downloader->setUrl(m_packageUrl);
        m_downloader->fileMd5(packagePath());
        return;
    }
    m_downloader->setUrl(m_packageUrl);
    m_downloader->startDownload();
}

void GameRepairFlow::onDownloadProgress(qint64 done, qint64 total)
{
    if (m_stage != Downloading || total <= 0)
        return;
    emit statusChanged(tr("label_repair_downloading").arg(done * 100 / total) +
                       QStringLiteral(" (%1/%2)").arg(sizeText(done), sizeText(total)) +
                       timeLeft(done, total));
}

void GameRepairFlow::onPackageChecked()
{
    if (m_stage != CheckingPackage)
        return;
    if (m_cancelRequested) {
        finishCancelled();
        return;
    }
    unpackOnceGameClosed();
}

void GameRepairFlow::unpackOnceGameClosed()
{
    setStage(Unpacking);
    if (!m_guard) {
        unpackDamaged(true);
        return;
    }
    m_guard([this](bool gameClosed) { unpackDamaged(gameClosed); });
}

void GameRepairFlow::unpackDamaged(bool gameClosed)
{
    if (m_stage != Unpacking)
        return;
    if (!gameClosed || m_cancelRequested) {
        finishCancelled();
        return;
    }
    emit statusChanged(tr("label_repair_unpacking").arg(m_damaged.size()));
    if (m_store) {
        QString error;
        const bool written = m_store->write(&error);
        m_store->deleteLater();
        m_store = nullptr;
        if (!written) {
            // The same words as a package that cannot be unpacked, with the file it stopped at.
            fail(ErrorDefine::SETUP_ZIP_UNZIP_ERROR,
                 QCoreApplication::translate("setupmanager", "message_setup_zip_unzip_error") +
                     QLatin1Char(' ') + error);
            return;
        }
        startVerify(Rechecking);
        return;
    }
    for (const QString &path : qAsConst(m_damaged)) {
        const QString full = m_folder + QLatin1Char('/') + path;
        if (QFileInfo(full).isDir())
            QDir().rmdir(full);
    }
    m_extractErrorCode = ErrorDefine::DEFAULTT;
    m_extractError.clear();
    delete m_extractor;
    m_extractor = new PackageItemExtractor(this);
    if (!m_libraryPaths.isEmpty())
        m_extractor->setLibraryPaths(m_libraryPaths);
    m_extractor->setPackage(packagePath());
    m_extractor->setFolder(m_folder);
    m_extractor->setItems(m_damaged);
    connect(m_extractor, &PackageItemExtractor::extractError, this,
            [this](ErrorDefine::ErrorCode error, const QString &msg) {
                if (m_extractError.isEmpty()) {
                    m_extractErrorCode = error;
                    m_extractError = msg;
                }
            });
    connect(m_extractor, &QThread::finished, this, &GameRepairFlow::onUnpacked);
    m_extractor->start();
}

void GameRepairFlow::onUnpacked()
{
    if (m_stage != Unpacking)
        return;
    if (!m_extractError.isEmpty()) {
        fail(m_extractErrorCode, m_extractError);
        return;
    }
    if (m_cancelRequested) {
        finishCancelled();
        return;
    }
    startVerify(Rechecking);
}

void GameRepairFlow::succeed(int checked)
{
    const int damaged = m_damaged.size();
    setStage(Idle);
    // A deleted file is not "damaged" to a player who removed it.
    if (m_missing > 0)
        emit statusChanged(tr("label_repair_result_missing")
                               .arg(checked)
                               .arg(m_missing)
                               .arg(damaged - m_missing)
                               .arg(damaged));
    else
        emit statusChanged(tr("label_repair_result").arg(checked).arg(damaged).arg(damaged));
    StatusReport::instance()->report(StatusReport::LAUNCHER_GAME_REPAIR_FINISH,
                                     {{QStringLiteral("checked"), QString::number(checked)},
                                      {QStringLiteral("damaged"), QString::number(damaged)},
                                      {QStringLiteral("repaired"), QString::number(damaged)}});
    emit repairFinished(checked, damaged, damaged);
}

void GameRepairFlow::removePackage()
{
    // Finished or failed, the full package does not stay in the game folder.
    m_downloader->stopDownlaod();
    const QString package = packagePath();
    QFile::remove(package);
    QFile::remove(package + QStringLiteral("_tmp"));
}

void GameRepairFlow::fail(ErrorDefine::ErrorCode error, const QString &msg)
{
    removePackage();
    setStage(Idle);
    emit statusChanged(QStringLiteral("[%1]:%2").arg(int(error)).arg(msg));
    StatusReport::instance()->report(StatusReport::LAUNCHER_GAME_REPAIR_ERROR,
                                     {{QStringLiteral("errorCode"), ErrorDefine::errorName(error)},
                                      {QStringLiteral("errorDesc"), msg}});
    InstallTelemetry::failed(InstallTelemetry::Step::Repair, error, msg);
    emit repairFailed(error, msg);
}

void GameRepairFlow::finishCancelled()
{
    if (m_store) {
        m_store->deleteLater();
        m_store = nullptr;
    }
    // A stop the player chose keeps the partial package, so the next repair resumes it.
    setStage(Idle);
    emit statusChanged(tr("label_repair_cancelled"));
    emit repairCancelled();
}
