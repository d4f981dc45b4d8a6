#include "updatewindow.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QThread>

#include "downloadmanager.h"
#include "confinedentries.h"
#include "dlgyesno.h"
#include "errordefine.h"
#include "fileoperator.h"
#include "language.h"
#include "launcherprocess.h"
#include "processes.h"
#include "replacerecovery.h"
#include "taskmodel.h"
#include "uncompressmanager.h"
#include "packagefilename.h"
#include "packagetrust.h"
#include "updatecontext.h"
#include "updaterpackagecheck.h"
#include "updateplan.h"
#include "sizetext.h"

namespace {
const QString kPictureRunning = QStringLiteral(":/pic/bg/updateIng.png");
const QString kPictureSucceeded = QStringLiteral(":/pic/bg/updateSucceed.png");
const QString kPictureFailed = QStringLiteral(":/pic/bg/updateFaile.png");

// A path longer than this is not a launcher; showing it whole would only stall the box.
constexpr int kShownPathLimit = 512;

QString shownPath(const QString &path)
{
    if (path.size() <= kShownPathLimit)
        return path;
    return path.left(kShownPathLimit) + QStringLiteral("...");
}

} // namespace

UpdateWindow::UpdateWindow(const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent)
    , m_arguments(arguments)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Update"));

    m_copyThread = new QThread;
    m_fileOperator = new FileOperator;
    m_fileOperator->moveToThread(m_copyThread);

    DownloadManager *downloads = DownloadManager::instance();
    connect(downloads, &DownloadManager::progress, this, &UpdateWindow::onDownloadProgress);
    connect(downloads, &DownloadManager::finish, this, &UpdateWindow::onDownloadFinish);
    connect(downloads, &DownloadManager::error, this, &UpdateWindow::onDownloadError);

    UncompressManager *unzip = UncompressManager::instance();
    connect(unzip, &UncompressManager::unzipProgress, this, &UpdateWindow::onUnzipProgress);
    connect(unzip, &UncompressManager::unzipFinished, this, &UpdateWindow::onUnzipFinish);
    connect(unzip, &UncompressManager::unzipError, this,
            [this](ErrorDefine::ErrorCode error, const QString &msg) {
                onUnzipError(static_cast<int>(error), msg);
            });

    // Arrives after every report of the run, fatal failures included.
    connect(unzip, &QThread::finished, this, &UpdateWindow::onUnzipRunEnded);

    connect(&m_progressDlg, &DlgProgress::closeProgressDlg, this, &UpdateWindow::onClose);
    connect(&m_progressDlg, &DlgProgress::btnOnClicked, this, &UpdateWindow::onRetry);

    connect(m_copyThread, &QThread::started, m_fileOperator, &FileOperator::onCopyDirFiles);
    connect(m_fileOperator, &FileOperator::copyProgress, this, &UpdateWindow::onCopyprogress);
    connect(m_fileOperator, &FileOperator::copyFinish, this, &UpdateWindow::onCopyFinish);
    connect(m_fileOperator, &FileOperator::copyError, this, &UpdateWindow::onCopyError);
}

UpdateWindow::~UpdateWindow()
{
    m_fileOperator->stopCopy();
    m_copyThread->quit();
    m_copyThread->wait();
    delete m_fileOperator;
    delete m_copyThread;
}

void UpdateWindow::initUpdate()
{
    if (m_arguments.size() < 2) {
        LauncherProcess::exitProgram(0);
        return;
    }
    if (!parseArguments()) {
        LauncherProcess::restartLauncher();
        return;
    }
    // A replacement an earlier updater could not end is ended first; should it stay mixed,
    // its journal and originals stay too, and this update's backups never replace them.
    recovery().recover();
    startDownload();
}

ReplaceRecovery UpdateWindow::recovery()
{
    return ReplaceRecovery(UpdateContext::layout());
}

bool UpdateWindow::parseArguments()
{
    const std::optional<UpdatePlan> plan = UpdatePlan::fromArguments(m_arguments.mid(1));
    if (!plan)
        return false;

    Language::instance()->loadLanguage(plan->languageCode);
    m_progressDlg.retranslate();

    m_packageUrl = plan->packageUrl;
    m_packageMd5 = plan->packageMd5;
    m_packageSignature = plan->signature;
    UpdaterPackageCheck::acceptSigningKeys(plan->signingKeys);
    // The name decides where in pkg/ the bytes land: "..", a backslash (a folder on Windows) or
    // a hidden name must not reach further.
    const QString addressName = plan->addressFileName();
    UpdateContext::setPackageFileName(PackageFileName::isPlain(addressName)
                                          ? addressName
                                          : QStringLiteral("launcher-package.7z"));

    if (!plan->hasUsableLauncherPath()) {
        // The rejected path is not kept, so the way back to the launcher starts nothing.
        DlgYesNo dlg;
        dlg.setTitleAndText(tr("title_tip"), tr("message_main_process_parameter_abnormal") +
                                                 shownPath(plan->launcherPath));
        dlg.exec();
        return false;
    }
    UpdateContext::setLauncherPath(plan->launcherPath);

    if (!plan->hasUsablePackageUrl()) {
        DlgYesNo::showNotice(tr("title_tip"), tr("message_update_address_abnormal"));
        return false;
    }
    return true;
}

QString UpdateWindow::progressText(const QString &label, qint64 percent, bool leadingSpace)
{
    const QString pattern =
        leadingSpace ? QStringLiteral(" %1%2%3...") : QStringLiteral("%1%2%3...");
    return pattern.arg(label, QString::number(percent), tr("label_percent_sign"));
}

QString UpdateWindow::transferDetails(qint64 done, qint64 total, qint64 bytesSinceStart,
                                      qint64 elapsedMs)
{
    if (total <= 0)
        return QString();
    // Under a second the rate is noise.
    if (elapsedMs < 1000 || bytesSinceStart <= 0)
        return QStringLiteral(" (%1/%2)").arg(SizeText::bytes(done), SizeText::bytes(total));
    const double bytesPerSecond = bytesSinceStart * 1000.0 / elapsedMs;
    const qint64 secondsLeft = qint64(double(qMax<qint64>(total - done, 0)) / bytesPerSecond);
    const QString timeLeft = QStringLiteral("%1:%2:%3")
                                 .arg(secondsLeft / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(secondsLeft / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(secondsLeft % 60, 2, 10, QLatin1Char('0'));
    return QLatin1Char(' ') + tr("label_download_details")
                                  .arg(SizeText::bytes(done), SizeText::bytes(total),
                                       SizeText::speed(bytesPerSecond), timeLeft);
}

qint64 UpdateWindow::percentOf(qint64 done, qint64 total)
{
    if (total <= 0 || done <= 0)
        return 0;
    return qMin<qint64>(done * 100 / total, 100);
}

bool UpdateWindow::initDownloadTask()
{
    auto *record = new TaskModel(this);
    record->url = m_packageUrl;
    record->folder = UpdateContext::downloadFolder();
    record->md5 = m_packageMd5;
    record->fileSize = 0;
    m_groupId = DownloadManager::instance()->addTasks({record}, 1);
    while (m_groupId <= 0) {
        DlgYesNo dlg;
        dlg.setTitleAndText(tr("title_tip"), tr("message_update_init_failed"));
        dlg.setOkButtonText(tr("button_redo"));
        if (dlg.exec() != QDialog::Accepted) {
            LauncherProcess::restartLauncher();
            return false;
        }
        m_groupId = DownloadManager::instance()->addTasks({record}, 1);
    }
    return true;
}

void UpdateWindow::refuseSignature(ErrorDefine::ErrorCode code, const QString &why)
{
    qWarning() << "package signature:" << UpdateContext::packageFile() << why;
    m_state = Downloading;
    m_progressDlg.show();
    showFailure(tr("title_download_error"), QStringLiteral("[%1]:%2").arg(int(code)).arg(
                                                PackageTrust::errorMessage(code, why)));
}

void UpdateWindow::startDownload()
{
    QString why;
    ErrorDefine::ErrorCode code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
    // A release that can never pass is refused before its first byte.
    if (!UpdaterPackageCheck::isStatementTrusted(UpdateContext::packageFile(), m_packageMd5,
                                                 m_packageSignature, &why, &code)) {
        QFile::remove(UpdateContext::packageFile());
        refuseSignature(code, why);
        return;
    }
    DownloadManager *downloads = DownloadManager::instance();
    downloads->pauseAll();
    if (m_groupId > 0)
        downloads->removeGroup(m_groupId);
    if (!initDownloadTask())
        return;

    m_progressDlg.show();
    m_state = Downloading;
    m_downloadBase = -1;
    m_progressDlg.setProgressValue(0);
    m_progressDlg.showProgressPage(progressText(tr("label_resource_downloading"), 0, true),
                                   kPictureRunning);
    downloads->startGroup(m_groupId);
}

void UpdateWindow::onDownloadProgress(qlonglong finishSize, qlonglong totalSize)
{
    const qint64 percent = percentOf(finishSize, totalSize);
    if (m_downloadBase < 0 || !m_downloadClock.isValid()) {
        m_downloadBase = finishSize;
        m_downloadClock.start();
    }
    m_progressDlg.setProgressText(progressText(tr("label_resource_downloading"), percent, false) +
                                  transferDetails(finishSize, totalSize,
                                                  finishSize - m_downloadBase,
                                                  m_downloadClock.elapsed()));
    m_progressDlg.setProgressValue(static_cast<int>(percent));
}

void UpdateWindow::onDownloadFinish()
{
    startUnzip();
}

void UpdateWindow::onDownloadError(int error, QString msg)
{
    qDebug() << "download error" << error << msg;
    showFailure(tr("title_download_error"), msg);
}

void UpdateWindow::startUnzip()
{
    QString why;
    ErrorDefine::ErrorCode code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
    if (!UpdaterPackageCheck::isTrusted(UpdateContext::packageFile(), m_packageMd5,
                                        m_packageSignature, &why, &code)) {
        // Retrying fetches the package again; nothing of this one is unpacked.
        QFile::remove(UpdateContext::packageFile());
        refuseSignature(code, why);
        return;
    }
    UncompressManager *unzip = UncompressManager::instance();
    removeFolder(UpdateContext::extractionFolder());

    m_state = Unzipping;
    m_unzipItemFailed = false;
    m_progressDlg.setCloseEnabled(false);
    m_progressDlg.setProgressValue(0);
    m_progressDlg.showProgressPage(progressText(tr("label_file_unziping"), 0, true),
                                   kPictureRunning);
    unzip->setUncompressPaths(UpdateContext::packageFile(), UpdateContext::extractionFolder());
    unzip->start(QThread::InheritPriority);
}

void UpdateWindow::onUnzipProgress(qlonglong finishSize, qlonglong totalSize)
{
    if (m_retryUnzipWhenDone)
        return;
    const qint64 percent = percentOf(finishSize, totalSize);
    m_progressDlg.setProgressText(progressText(tr("label_file_unziping"), percent, false));
    m_progressDlg.setProgressValue(static_cast<int>(percent));
}

void UpdateWindow::onUnzipError(int error, QString msg)
{
    qDebug() << "unzip error" << error << msg;
    if (m_retryUnzipWhenDone)
        return; // the failed run is being replaced by a fresh one
    m_unzipItemFailed = true;
    m_progressDlg.setCloseEnabled(true);
    showFailure(tr("title_unzip_error"), msg);
}

void UpdateWindow::onUnzipFinish()
{
    UncompressManager::instance()->wait();
    UncompressManager::instance()->unloadLibrary();
    if (m_unzipItemFailed || m_retryUnzipWhenDone) {
        // The failure page stays: its retry unpacks the package again.
        return;
    }
    if (!QDir().mkpath(UpdateContext::backupFolder())) {
        DlgYesNo::showNotice(tr("title_tip"), tr("message_create_backup_folder_failed"));
        LauncherProcess::restartLauncher();
        return;
    }
    LauncherProcess::stopLauncher();
    if (!startReplace()) {
        DlgYesNo::showNotice(tr("title_tip"), tr("message_file_replace_exception"));
        LauncherProcess::restartLauncher();
    }
}

void UpdateWindow::onUnzipRunEnded()
{
    if (!m_retryUnzipWhenDone || m_state != Unzipping)
        return;
    m_retryUnzipWhenDone = false;
    startUnzip();
}

bool UpdateWindow::startReplace()
{
    const QString backup = UpdateContext::backupFolder();
    while (!QDir(backup).exists() && !QDir().mkpath(backup)) {
        DlgYesNo dlg;
        dlg.setTitleAndText(tr("title_tip"), tr("message_failed_create_backup_folder_try_again"));
        dlg.setOkButtonText(tr("button_redo"));
        if (dlg.exec() != QDialog::Accepted) {
            LauncherProcess::restartLauncher();
            // Only reached where ending the program returns (tests): the flow has ended.
            return true;
        }
    }
    if (!m_copyThread || !m_fileOperator)
        return false;

    m_state = Replacing;
    m_progressDlg.setCloseEnabled(false);
    m_progressDlg.setProgressValue(0);
    m_progressDlg.showProgressPage(progressText(tr("label_file_replacing"), 0, true),
                                   kPictureRunning);
    // The operator's thread idles in its event loop after a run; the parameters change only
    // once it has ended.
    if (m_copyThread->isRunning()) {
        m_copyThread->quit();
        m_copyThread->wait();
    }
    m_fileOperator->setCopyParams(UpdateContext::extractionFolder(),
                                  UpdateContext::launcherFolder(), true, backup);
    m_copyThread->start(QThread::InheritPriority);
    return true;
}

void UpdateWindow::onCopyprogress(int nFinsh, int nTotal)
{
    const qint64 percent = percentOf(nFinsh, nTotal);
    m_progressDlg.setProgressText(progressText(tr("label_file_replacing"), percent, true));
    m_progressDlg.setProgressValue(static_cast<int>(percent));
}

void UpdateWindow::onCopyFinish()
{
    m_progressDlg.setCloseEnabled(true);
    m_state = Succeeded;
    recovery().finish();
    m_progressDlg.showResultPage(tr("title_update_success"),
                                 tr("message_click_button_open_launcher"),
                                 tr("button_open_launcher"), kPictureSucceeded);
}

void UpdateWindow::onCopyError(QString strError)
{
    m_progressDlg.setCloseEnabled(true);
    showFailure(tr("title_file_replace_failed"), strError);
}

void UpdateWindow::showFailure(const QString &title, const QString &message)
{
    m_progressDlg.showResultPage(title, message, tr("button_redo"), kPictureFailed);
}

void UpdateWindow::onRetry()
{
    switch (m_state) {
    case Downloading:
        startDownload();
        break;
    case Unzipping:
        if (UncompressManager::instance()->isRunning()) {
            // Deleting the extraction folder under a running extraction would mix two runs.
            m_retryUnzipWhenDone = true;
            m_progressDlg.setCloseEnabled(false);
            m_progressDlg.showProgressPage(progressText(tr("label_file_unziping"), 0, true),
                                           kPictureRunning);
        } else {
            startUnzip();
        }
        break;
    case Replacing:
        if (!startReplace()) {
            DlgYesNo::showNotice(tr("title_tip"), tr("message_file_replace_exception"));
            LauncherProcess::restartLauncher();
        }
        break;
    case Succeeded:
        LauncherProcess::restartLauncher();
        break;
    case RollbackFailed:
        // The journal and the originals stay; the next start of either program ends the undo.
        LauncherProcess::exitProgram(0);
        break;
    default:
        break;
    }
}

void UpdateWindow::onClose()
{
    if (m_state == Succeeded || m_state == RollbackFailed) {
        LauncherProcess::exitProgram(0);
        return;
    }
    DlgYesNo dlg;
    dlg.setTitleAndText(QString(), tr("message_updating_do_not_close"));
    dlg.setOkButtonText(tr("button_continue_update"));
    dlg.setCancelButtonText(tr("button_close_update"));
    if (m_state == Downloading)
        DownloadManager::instance()->pauseAll();
    if (dlg.exec() != QDialog::Accepted) {
        closeUpdate();
        return;
    }
    if (m_state == Downloading)
        DownloadManager::instance()->resumeAll();
}

void UpdateWindow::closeUpdate()
{
    switch (m_state) {
    case Downloading: {
        DownloadManager *downloads = DownloadManager::instance();
        downloads->pauseAll();
        downloads->removeAll();
        m_groupId = -1;
        removeFolder(UpdateContext::downloadFolder());
        LauncherProcess::restartLauncher();
        break;
    }
    case Unzipping:
        UncompressManager::instance()->wait();
        UncompressManager::instance()->unloadLibrary();
        removeFolder(UpdateContext::extractionFolder());
        LauncherProcess::restartLauncher();
        break;
    case Replacing: {
        if (m_copyThread->isRunning()) {
            m_fileOperator->stopCopy();
            m_copyThread->quit();
            m_copyThread->wait();
        }
        QStringList failed;
        if (!recovery().undo(&failed)) {
            // Starting the launcher over a folder that is part old, part new would look like
            // success. The page names the launcher's files that are held and lets the player
            // go: the next start of either program finishes the undo.
            m_state = RollbackFailed;
            m_progressDlg.setCloseEnabled(true);
            m_progressDlg.showResultPage(
                tr("title_rollback_failed"),
                tr("message_rollback_file_held").arg(QDir::toNativeSeparators(failed.join('\n'))),
                tr("button_quit_finish_later"), kPictureFailed);
            break;
        }
        LauncherProcess::restartLauncher();
        break;
    }
    default:
        break;
    }
}

bool UpdateWindow::restoreBackup(const QString &source, const QString &destination)
{
    return FileOperator::restoreBackup(source, destination);
}

void UpdateWindow::removeFolder(const QString &path)
{
    // Never QDir::removeRecursively: on a link it empties what the link points to.
    platform::removeTree(QFile::encodeName(path).toStdString());
}
