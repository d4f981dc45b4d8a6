#include "installflow.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

#include "downloadmanager.h"
#include "launcherconfig.h"
#include "mainviewmodel.h"
#include "pageitems.h"
#include "patchupdate.h"
#include "pluginflow.h"
#include "progresstext.h"
#include "setupmanager.h"
#include "sizetext.h"
#include "statusreport.h"
#include "updateversioninfo.h"

// The page's texts keep the view model's translation context (QCoreApplication::translate),
// where the translation files have them.

InstallFlow::InstallFlow(const UpdateVersionInfo *manifest, PageItems *page, PluginFlow *plugin,
                         QObject *parent)
    : QObject(parent)
    , m_manifest(manifest)
    , m_page(page)
    , m_plugin(plugin)
{
    m_patchUpdate = new PatchUpdate(this);
    connect(m_patchUpdate, &PatchUpdate::progress, this, &InstallFlow::onSetupProgress);
    connect(m_patchUpdate, &PatchUpdate::applied, this, &InstallFlow::onSetupFinished);
    connect(m_patchUpdate, &PatchUpdate::failed, this, &InstallFlow::onSetupError);
    connect(m_patchUpdate, &PatchUpdate::unusable, this, [this] {
        m_patchUpdate->refuse(m_job.installedVersion);
        emit restartWanted();
    });

    m_downloader = new downloadmanager();
    connect(m_downloader, &downloadmanager::downloadReplyProgress, this,
            &InstallFlow::onDownloadProgress);
    connect(m_downloader, &downloadmanager::downloadFinished, this,
            &InstallFlow::onDownloadFinished);
    connect(m_downloader, &downloadmanager::downloadError, this, &InstallFlow::onDownloadError);
    connect(m_downloader, &downloadmanager::httpError, this, &InstallFlow::onHttpError);
    connect(m_downloader, &downloadmanager::md5CheckFinish, this, &InstallFlow::onMd5CheckFinished);
    connect(m_downloader, &downloadmanager::md5CheckStart, this, &InstallFlow::startCheckingTip);
    m_downloader->setRefreshOnStale(true);
    connect(m_downloader, &downloadmanager::sourceRefreshNeeded, this, [this] {
        m_refreshPending = true;
        emit sourceRefreshWanted();
    });

    m_setup = setupmanager::instance();
    connect(m_setup, &setupmanager::setupProgress, this, &InstallFlow::onSetupProgress);
    connect(m_setup, &setupmanager::setupFinished, this, &InstallFlow::onSetupFinished);
    connect(m_setup, &setupmanager::setupError, this, &InstallFlow::onSetupError);

    m_checkingTipTimer.setInterval(1000);
    connect(&m_checkingTipTimer, &QTimer::timeout, this, &InstallFlow::showCheckingTip);
}

InstallFlow::~InstallFlow()
{
    delete m_downloader;
    if (m_setup->isRunning()) {
        m_setup->quit();
        // Give the extraction a moment to notice; it is never cut off mid-file.
        QEventLoop loop;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

InstallJob InstallFlow::jobFor(const QString &installed, const QString &folder) const
{
    InstallJob job;
    job.folder = folder;
    job.installedVersion = installed;
    job.targetVersion = m_manifest->version();
    job.package = m_patchUpdate->choose(*m_manifest, installed);
    // Reports tell the publisher how many updates a patch package carried.
    job.reportedKind = job.package.isPatch ? InstallTelemetry::PackageKind::Patch
                                           : InstallTelemetry::kindFor(*m_manifest, installed);
    return job;
}

void InstallFlow::start(const InstallJob &job)
{
    // An update needs a fresh sample time too, or its first speed sample spans the time since
    // some earlier event.
    m_job = job;
    m_lastShownProgress = -1.0f;
    m_rateSampleTime = QDateTime::currentDateTime();
    m_downloader->setFilePath(job.folder);
    m_downloader->setFileMD5(job.package.md5);
    m_downloader->setExpectedPackage(job.package.expected);
    m_downloader->setExpectedSize(job.package.size);
    m_downloader->setPackageName(job.package.name);
    m_downloader->setUrl(job.package.url);
    m_setup->setZipFilePath(job.folder);
    m_setup->setZipFileName(m_downloader->fileName());
    InstallTelemetry::downloadStarted(job.installedVersion, job.targetVersion, job.reportedKind);
    m_plugin->prepare();

    if (QFileInfo(m_downloader->finalFilePath()).isFile()) {
        onDownloadFinished();
        return;
    }
    m_lastShownProgress = -1.0f;
    m_downloadRateBaseline = 0;
    emit gameStateWanted(MainViewModel::Downloading);
    m_downloader->startDownload();
    m_plugin->check(false);
}

void InstallFlow::answerSourceRefresh(bool answered, const QString &installed)
{
    if (!m_refreshPending)
        return;
    m_refreshPending = false;
    if (!answered) {
        m_downloader->sourceRefreshed(QUrl(), QString(), 0, QString());
        return;
    }
    emit gameStateWanted(MainViewModel::Downloading);
    PatchUpdate::Package package = m_patchUpdate->choose(*m_manifest, installed);
    // A refreshed answer names the same kind of package the running download fetches.
    if (package.isPatch != m_job.package.isPatch) {
        m_patchUpdate->refuse(installed);
        package = m_patchUpdate->choose(*m_manifest, installed);
    }
    m_downloader->setExpectedPackage(package.expected);
    m_downloader->sourceRefreshed(package.url, package.md5, package.size, package.name);
}

void InstallFlow::togglePause()
{
    if (m_downloader->isDownloading()) {
        m_downloader->stopDownlaod();
        m_page->setPauseButtonImages(QStringLiteral("pic/pause"));
        // "Downloading" under a stopped bar would say the transfer still runs.
        const qint64 total = m_downloader->getTotalSize();
        if (total > 0)
            m_page->showDownloadPercentage(downloadProgressText(
                QCoreApplication::translate("MainViewModel", "label_download_paused"),
                m_downloader->getDownloadedSize(), total));
        // Zero time left and zero speed would read as finished.
        m_page->showDownloadSpeed(ProgressText::speedLine(
            QCoreApplication::translate("MainViewModel", "label_download_speed"),
            QCoreApplication::translate("MainViewModel", "label_value_paused"), QString()));
        m_page->showTimeLeft(
            QString(QCoreApplication::translate("MainViewModel", "label_task_need_time") +
                    QCoreApplication::translate("MainViewModel", "label_value_paused")));
        return;
    }
    m_downloader->startDownload();
    m_page->setPauseButtonImages(QStringLiteral("pic/continue"));
}

void InstallFlow::stopForQuit()
{
    disconnect(m_setup, nullptr, this, nullptr);
    m_setup->exit(0);
    m_downloader->stopDownlaod();
}

void InstallFlow::showIdleSpeed()
{
    m_page->showDownloadSpeed(idleSpeedText());
}

void InstallFlow::startCheckingTip()
{
    m_checkingTipTimer.start(1000);
}

void InstallFlow::showCheckingTip()
{
    static int dots = 0;
    const QString tail = dots == 0 ? QStringLiteral(" ") : QString(dots, QLatin1Char('.'));
    m_page->showSetupPercentage(
        QString(QCoreApplication::translate("MainViewModel", "label_checking_md5") + tail));
    dots = (dots + 1) % 4;
}

QString InstallFlow::downloadProgressText(const QString &label, qint64 bytesRead,
                                          qint64 totalBytes) const
{
    return label + QStringLiteral(" %1% (%2/%3)")
                       .arg(bytesRead * 100 / totalBytes)
                       .arg(SizeText::bytes(bytesRead), SizeText::bytes(totalBytes));
}

QString InstallFlow::idleSpeedText() const
{
    return ProgressText::speedLine(
        QCoreApplication::translate("MainViewModel", "label_download_speed"), SizeText::speed(0),
        QString());
}

void InstallFlow::showProgressFraction(float fraction)
{
    if (fraction > 0.0f && fraction > m_lastShownProgress) {
        m_progress = std::min(1.0f, fraction);
        m_lastShownProgress = m_progress;
        emit progressChanged();
    }
}

void InstallFlow::onDownloadProgress(qint64 bytesRead, qint64 totalBytes)
{
    if (totalBytes <= 0)
        return;
    if (m_downloadRateBaseline == 0) {
        m_lastShownProgress = -1.0f;
        m_downloadRateBaseline = bytesRead;
    }
    m_page->showDownloadPercentage(downloadProgressText(
        QCoreApplication::translate("MainViewModel", "label_downloading_percent"), bytesRead,
        totalBytes));

    const QDateTime now = QDateTime::currentDateTime();
    const qint64 elapsed = m_rateSampleTime.isValid() ? m_rateSampleTime.secsTo(now) : 1;
    if (elapsed > 0) {
        const double sample =
            static_cast<double>(bytesRead - m_downloadRateBaseline) / 1024.0 / elapsed;
        const double speed = ProgressText::averageSpeed(sample);
        const qint64 remaining = totalBytes - bytesRead;
        QString speedText;
        if (remaining > 0) {
            speedText = ProgressText::speedLine(
                QCoreApplication::translate("MainViewModel", "label_download_speed"),
                SizeText::speed(speed * 1024.0), QString());
        } else {
            speedText = idleSpeedText();
        }
        m_page->showDownloadSpeed(speedText);
        // A stalled transfer has no meaningful remaining time: keep the last estimate.
        if (speed > 0.0) {
            const auto seconds = static_cast<qint64>(remaining / 1024.0 / speed);
            m_page->showTimeLeft(
                QString(QCoreApplication::translate("MainViewModel", "label_task_need_time") +
                        ProgressText::remainingTime(seconds)));
        }
        m_rateSampleTime = now;
        m_downloadRateBaseline = bytesRead;
    }
    showProgressFraction(static_cast<float>(bytesRead) / static_cast<float>(totalBytes));
}

void InstallFlow::onDownloadFinished()
{
    InstallTelemetry::transferEnded(m_downloader->getTotalSize());
    emit gameStateWanted(MainViewModel::Verifying);
    if (m_lastShownProgress < 1.0f) {
        m_progress = 1.0f;
        m_lastShownProgress = 1.0f;
        emit progressChanged();
    }
    m_lastShownProgress = -1.0f;
    // A redirect may have given the package another name than its address: check and unpack
    // the file that was saved.
    m_setup->setZipFileName(m_downloader->fileName());
    m_downloader->fileMd5(m_downloader->finalFilePath());
}

bool InstallFlow::fallBackFromPatch(const QString &why)
{
    // A site that serves no patch package (or a damaged one) still has the difference package.
    if (!m_job.package.isPatch)
        return false;
    qDebug() << "patch package failed, taking the difference package:" << why;
    m_patchUpdate->refuse(m_job.installedVersion);
    m_job.package.isPatch = false;
    // Nothing of the refused package stays in the game folder.
    QFile::remove(m_downloader->tempFilePath());
    QFile::remove(m_downloader->finalFilePath());
    // After the downloader has finished reporting its error.
    QTimer::singleShot(0, this, [this] { emit restartWanted(); });
    return true;
}

void InstallFlow::onDownloadError(ErrorDefine::ErrorCode error, QString msg)
{
    if (fallBackFromPatch(msg))
        return;
    m_checkingTipTimer.stop();
    m_lastShownProgress = -1.0f;
    m_downloadRateBaseline = 0;
    InstallTelemetry::failed(InstallTelemetry::Step::Download, error, msg);
    emit gameStateStale();
    emit pageStale();
    emit failed(QCoreApplication::translate("MainViewModel", "message_download_error"), error, msg);
}

void InstallFlow::onHttpError(ErrorDefine::ErrorCode error, QString msg)
{
    if (fallBackFromPatch(msg))
        return;
    InstallTelemetry::failed(InstallTelemetry::Step::Download, error, msg);
    emit gameStateStale();
    emit failed(QCoreApplication::translate("MainViewModel", "message_download_error"), error, msg);
}

void InstallFlow::onMd5CheckFinished()
{
    InstallTelemetry::packageChecked(m_updating);
    m_checkingTipTimer.stop();
    emit gameStateWanted(MainViewModel::Installing);
    m_lastShownProgress = -1.0f;
    m_downloadRateBaseline = 0;
    m_rateSampleTime = QDateTime::currentDateTime();
    startSetupGuarded();
}

void InstallFlow::startSetupGuarded()
{
    m_lastShownProgress = -1.0f;
    if (m_gameRunning && m_gameRunning())
        emit gameStateStale();
    m_guard([this](bool closed) {
        if (!closed)
            return;
        m_plugin->check(true);
        m_setupRateBaseline = 0;
        if (m_job.package.isPatch)
            m_patchUpdate->start(LauncherConfig::instance()->installPath(),
                                 m_downloader->finalFilePath());
        else
            m_setup->start(QThread::InheritPriority);
        m_setupStartTime = QDateTime::currentSecsSinceEpoch();
        emit gameStateWanted(MainViewModel::Installing);
        StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_INSTALL);
    });
}

void InstallFlow::onSetupProgress(qlonglong finishSize, qlonglong totalSize)
{
    if (totalSize <= 0)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 elapsed = m_rateSampleTime.isValid() ? m_rateSampleTime.secsTo(now) : 1;
    if (elapsed >= 1) {
        m_page->showSetupPercentage(
            QString(QCoreApplication::translate("MainViewModel", "label_installing_progress") +
                    QStringLiteral(" %1% (%2/%3)")
                        .arg(finishSize * 100 / totalSize)
                        .arg(SizeText::bytes(finishSize), SizeText::bytes(totalSize))));
        const double rate =
            static_cast<double>(finishSize - m_setupRateBaseline) / 1024.0 / elapsed;
        if (rate > 0.0) {
            const auto seconds = static_cast<qint64>((totalSize - finishSize) / 1024.0 / rate);
            m_page->showTimeLeft(
                QString(QCoreApplication::translate("MainViewModel", "label_task_need_time") +
                        ProgressText::remainingTime(seconds)));
        }
        m_rateSampleTime = now;
        m_setupRateBaseline = finishSize;
    }
    showProgressFraction(static_cast<float>(finishSize) / static_cast<float>(totalSize));
}

void InstallFlow::onSetupFinished()
{
    InstallTelemetry::installFinished();
    m_lastShownProgress = -1.0f;
    LauncherConfig *config = LauncherConfig::instance();
    const QString version = m_manifest->version();
    config->setGameVersion(version);
    config->applyDefault(QStringLiteral("cps"), QStringLiteral("velmora"));
    config->applyDefault(QStringLiteral("channel"), QStringLiteral("1"));
    config->applyDefault(QStringLiteral("sub_channel"), QStringLiteral("1"));
    emit installed(version);
}

void InstallFlow::onSetupError(ErrorDefine::ErrorCode error, QString msg)
{
    m_lastShownProgress = -1.0f;
    emit gameStateStale();
    emit failed(QCoreApplication::translate("MainViewModel", "message_setup_error"), error, msg);
    InstallTelemetry::failed(InstallTelemetry::Step::Unpack, error, msg);
    StatusReport::instance()->report(StatusReport::LAUNCHER_GAME_SETUP_ERROR,
                                     {{QStringLiteral("errorCode"), ErrorDefine::errorName(error)},
                                      {QStringLiteral("errorDesc"), msg}});
}
