#include "mainviewmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QDesktopServices>
#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMetaObject>
#include <QQuickItem>
#include <QRect>
#include <QUrl>
#include <QUrlQuery>

#include "appenvironment.h"
#include "applicationinfo.h"
#include "cdlgappinfo.h"
#include "cdlgclosetip.h"
#include "cdlgyesno.h"
#include "csetinstallpathdialog.h"
#include "dlgsetting.h"
#include "gameentry.h"
#include "gameexitwatcher.h"
#include "gamerepairflow.h"
#include "updateprogram.h"
#include "downloadmanager.h"
#include "manifestgate.h"
#include "httprequestapi.h"
#include "processes.h"
#include "diskspace.h"
#include "progresstext.h"
#include "promoartcache.h"
#include "questionbox.h"
#include "sizetext.h"
#include "patchupdate.h"
#include "signedpackages.h"
#include "setupmanager.h"
#include "launcherconfig.h"
#include "installtelemetry.h"
#include "statusreport.h"
#include "updateversioninfo.h"
#include "versioncompare.h"
#include "window.h"

namespace {

const QString kDefaultGameFolder = QStringLiteral("Orvyndale Game");
constexpr int kElideThreshold = 80;
constexpr int kElideKeep = 40;

// The first UpdateInfoByHttp of the process comes from the window's first appearance, when
// initialisation has just sent the queries.
bool g_firstUpdateInfoCall = true;
// The first content answer arrives while the web view is still loading its first page, so
// only later answers may show, hide or reload it.
bool g_firstContentAnswer = true;

} // namespace

MainViewModel::MainViewModel(QObject *parent)
    : QObject(parent)
{
    m_md5TipTimer.setInterval(1000);
}

MainViewModel::~MainViewModel()
{
    StatusReport::instance()->report(StatusReport::LAUNCHER_QUIT);
    delete m_resourceRequest;
    delete m_contentRequest;
    delete m_manifest;
    delete m_gameDownloader;
    delete m_pluginDownloader;
    delete m_pluginSetup;
    delete m_installPathDialog;
    delete m_messageBox;
    delete m_settingDialog;
    delete m_updateProgram;
    if (m_gameSetup && m_gameSetup->isRunning()) {
        m_gameSetup->quit();
        // Give the extraction a moment to notice; it is never cut off mid-file.
        QEventLoop loop;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        loop.exec();
    }
    m_pendingDialogAction = nullptr;
}

void MainViewModel::initialize()
{
    StatusReport::instance();

    LauncherConfig *config = LauncherConfig::instance();
    if (config->installPath().isEmpty())
        config->setInstallPath(
            withGameFolder(launcherFolder() + QLatin1Char('/') + kDefaultGameFolder));

    // Registry versions, is_user_update and the proxy choice.
    config->runStartupHousekeeping();
    // A patch run cut short ends before anything reads the installed version.
    PatchUpdate::resume(config->installPath());
    m_patchUpdate = new PatchUpdate(this);
    connect(m_patchUpdate, &PatchUpdate::progress, this, &MainViewModel::onSetupProgress);
    connect(m_patchUpdate, &PatchUpdate::applied, this, &MainViewModel::onSetupFinished);
    connect(m_patchUpdate, &PatchUpdate::failed, this, &MainViewModel::onSetupError);
    connect(m_patchUpdate, &PatchUpdate::unusable, this, [this] {
        m_patchUpdate->refuse(m_currentGameVersion);
        startDownload(false);
    });

    m_manifest = new UpdateVersionInfo();
    m_backgroundArt = new PromoArtCache(this);
    connect(m_backgroundArt, &PromoArtCache::fetched, this, &MainViewModel::onBackgroundDownloaded);
    m_iconArt = new PromoArtCache(this);
    connect(m_iconArt, &PromoArtCache::fetched, this, &MainViewModel::onIconDownloaded);
    m_gameDownloader = new downloadmanager();
    connect(m_gameDownloader, &downloadmanager::downloadReplyProgress, this,
            &MainViewModel::onDownloadProgress);
    connect(m_gameDownloader, &downloadmanager::downloadFinished, this,
            &MainViewModel::onDownloadFinished);
    connect(m_gameDownloader, &downloadmanager::downloadError, this,
            &MainViewModel::onDownloadError);
    connect(m_gameDownloader, &downloadmanager::httpError, this, &MainViewModel::onHttpError);
    connect(m_gameDownloader, &downloadmanager::md5CheckFinish, this,
            &MainViewModel::onMd5CheckFinished);
    connect(m_gameDownloader, &downloadmanager::md5CheckStart, this,
            &MainViewModel::onStartMd5Check);
    m_gameDownloader->setRefreshOnStale(true);
    connect(m_gameDownloader, &downloadmanager::sourceRefreshNeeded, this, [this] {
        m_downloadRefreshPending = true;
        m_resourceQueryAttempts = 0;
        sendResourceQuery();
    });

    m_gameSetup = setupmanager::instance();
    connect(m_gameSetup, &setupmanager::setupProgress, this, &MainViewModel::onSetupProgress);
    connect(m_gameSetup, &setupmanager::setupFinished, this, &MainViewModel::onSetupFinished);
    connect(m_gameSetup, &setupmanager::setupError, this, &MainViewModel::onSetupError);
    connect(m_gameSetup, &setupmanager::globalMetaDataError, this,
            &MainViewModel::onGlobalMetaDataError);
    connect(m_gameSetup, &setupmanager::globalMetaDataDismiss, this,
            &MainViewModel::onGlobalMetaDataDismiss);

    m_pluginDownloader = new downloadmanager();
    connect(m_pluginDownloader, &downloadmanager::downloadFinished, this,
            &MainViewModel::onPluginDownloaded);
    connect(m_pluginDownloader, &downloadmanager::md5CheckFinish, this,
            &MainViewModel::onPluginMd5Finished);
    // The plug-in has a worker of its own, so its events never reach the game's handlers; its
    // failures are not shown, except a package the publisher did not sign.
    m_pluginSetup = new setupmanager();
    connect(m_pluginDownloader, &downloadmanager::downloadError, this,
            [this](ErrorDefine::ErrorCode error, const QString &msg) {
                if (error == ErrorDefine::PACKAGE_SIGNATURE_ERROR)
                    showTransferError(tr("message_download_error"), error, msg);
            });

    m_messageBox = new CDlgYesNo();
    m_messageBox->resize(500, 300);
    m_messageBox->hideCancelButton(true);
    connect(m_messageBox, &CDlgYesNo::dlgFinish, this, &MainViewModel::onDlgYesNoConfirmClicked);

    connect(&m_md5TipTimer, &QTimer::timeout, this, &MainViewModel::UpdateCheckMd5Tip);

    AppVersionInfo::registerMetaType();
    m_appInfo = new ApplicationInfo(this);
    m_updateProgram = new UpdateProgram();
    // The questions go over the page as it is when they are asked.
    QPointer<MainViewModel> self(this);
    const UserAsker overPage = [self](const UserQuestion &question) {
        return QuestionBox::ask(question, self ? self->rootObject() : nullptr);
    };
    m_appInfo->setAsker(overPage);
    m_updateProgram->setAsker(overPage);
    connect(m_appInfo, &ApplicationInfo::programVerInfoReply, m_updateProgram,
            &UpdateProgram::onCheckProgramUpdate);
    connect(m_updateProgram, &UpdateProgram::startUpdate, this, &MainViewModel::onStartUpdate);
    connect(m_updateProgram, &UpdateProgram::quitApp, this, &MainViewModel::onExit);
    connect(m_updateProgram, &UpdateProgram::newProgramVersionUpdate, this,
            &MainViewModel::onNewProgramVersionUpdate);
    if (!m_startedByUpdater)
        startLauncherUpdateCheck();

    m_settingDialog = new DlgSetting();
    connect(m_settingDialog, &DlgSetting::checkProgrameUpdate, this,
            &MainViewModel::onQueryProgremUpdate);
    connectGameRepair();

    sendResourceQuery();
    sendContentQuery();
}

void MainViewModel::setRootObject(QObject *root)
{
    m_rootObject = root;
    if (AppEnvironment::isPreview())
        setItemProperty(QStringLiteral("preTip"), "visible", true);
    StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_SHOW);
}

void MainViewModel::setGameState(int state, bool notify)
{
    m_gameState = state;
    // An install or update changes the version while the page stays open: the title bar
    // follows every state change, not only the next server answer.
    updateShowVersion();
    if (notify)
        emit gameStateChanged();
}

// --- page items ---------------------------------------------------------------------------

QObject *MainViewModel::findItem(const QString &objectName) const
{
    if (!m_rootObject)
        return nullptr;
    if (m_rootObject->objectName() == objectName)
        return m_rootObject;
    return m_rootObject->findChild<QObject *>(objectName);
}

void MainViewModel::setItemProperty(const QString &objectName, const char *property,
                                    const QVariant &value)
{
    if (QObject *item = findItem(objectName))
        item->setProperty(property, value);
}

void MainViewModel::setMaskVisible(bool visible)
{
    setItemProperty(QStringLiteral("bgMask_msgbox"), "visible", visible);
}

QRect MainViewModel::rootArea() const
{
    if (!m_rootObject)
        return {};
    return QRect(m_rootObject->property("x").toInt(), m_rootObject->property("y").toInt(),
                 m_rootObject->property("width").toInt(), m_rootObject->property("height").toInt());
}

void MainViewModel::invokeOnRoot(const char *method, Qt::ConnectionType type)
{
    if (m_rootObject)
        QMetaObject::invokeMethod(m_rootObject, method, type);
}

// --- message box with a pending action ------------------------------------------------------

int MainViewModel::showMessageBox(const QString &title, const QString &text, bool withCancel,
                                  DialogAction action)
{
    m_pendingDialogAction = action;
    const QRect area = rootArea();
    setMaskVisible(true);
    const int result = CDlgYesNo::ask(title, text, withCancel, nullptr, area);
    // A flow started while the box was open may have stored its own action; this answer
    // belongs to the action given here.
    if (action)
        action(result == 1);
    if (CDlgYesNo::openCount() == 0)
        setMaskVisible(false);
    return result;
}

void MainViewModel::onDlgYesNoConfirmClicked(bool value)
{
    if (m_pendingDialogAction)
        m_pendingDialogAction(value);
}

void MainViewModel::onGeneralDialogConfirmClicked(bool value)
{
    onDlgYesNoConfirmClicked(value);
}

// --- properties ------------------------------------------------------------------------------

QString MainViewModel::updateShowVersion()
{
    QString shown = m_currentGameVersion;
    if (shown.isEmpty() && m_manifest)
        shown = m_manifest->version();
    if (shown.isEmpty())
        shown = QStringLiteral("--");
    setItemProperty(QStringLiteral("versionText"), "text", QString(shown + QLatin1Char(' ')));
    return shown;
}

bool MainViewModel::startGameEnable() const
{
    return m_gameState == Installed;
}

bool MainViewModel::startGameVisible() const
{
    switch (m_gameState) {
    case Checking:
    case Installed:
    case Downloading:
    case Installing:
    case Verifying:
        return true;
    default:
        return false;
    }
}

bool MainViewModel::updateEnable() const
{
    return m_gameState == UpdateAvailable;
}

bool MainViewModel::installEnable() const
{
    return m_gameState == NotInstalled;
}

bool MainViewModel::downloading() const
{
    return m_gameState == Downloading;
}

bool MainViewModel::setupGameing() const
{
    return m_gameState == Installing || m_gameState == Verifying;
}

QString MainViewModel::elidedPath(const QString &path)
{
    if (path.size() <= kElideThreshold)
        return path;
    return path.left(kElideKeep) + QStringLiteral(" ... ") + path.right(kElideKeep);
}

QString MainViewModel::installPath() const
{
    return elidedPath(LauncherConfig::instance()->installPath());
}

void MainViewModel::setInstallPath(const QString &path)
{
    LauncherConfig *config = LauncherConfig::instance();
    config->setInstallPath(path);
    const QString shown = elidedPath(config->installPath());
    setItemProperty(QStringLiteral("curinstallPath"), "text", shown);
    emit installPathChanged();
}

void MainViewModel::UpdateInstallPath(QString strPath)
{
    setInstallPath(strPath);
}

QString MainViewModel::bgPath() const
{
    const QString file = PromoArtCache::cachedPath(LauncherConfig::instance()->gameDynamicBgName());
    return file.isEmpty() ? QStringLiteral("qrc:/pic/bg.png")
                          : QUrl::fromLocalFile(file).toString();
}

QString MainViewModel::reportParam() const
{
    return StatusReport::instance()->parameterString();
}

QString MainViewModel::mainBgUrl() const
{
    LauncherConfig *config = LauncherConfig::instance();
    const QString base = config->webUrl();
    if (base.isEmpty())
        return base;
    QUrl url(base + QLatin1Char('/') + QLatin1String(AppEnvironment::kLauncherId) +
             QLatin1Char('/') + m_languageCode);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("api_url"),
                       QString::fromLatin1(QUrl::toPercentEncoding(config->apiUrl())));
    if (AppEnvironment::isPreview()) {
        query.addQueryItem(QStringLiteral("timestamp"),
                           QString::number(QDateTime::currentSecsSinceEpoch()));
        query.addQueryItem(QStringLiteral("prev"), QStringLiteral("true"));
    } else {
        query.addQueryItem(QStringLiteral("prev"), QStringLiteral("false"));
    }
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

QString MainViewModel::versionTitle() const
{
    return LauncherConfig::instance()->gameDynamicVersionTitle();
}

QString MainViewModel::versionDesc() const
{
    return LauncherConfig::instance()->gameDynamicVersionDesc();
}

QString MainViewModel::versionTitleColor() const
{
    const QString color = LauncherConfig::instance()->gameDynamicVersionTitleColor();
    return color.isEmpty() ? QStringLiteral("#ffffff") : color;
}

QString MainViewModel::versionDescColor() const
{
    const QString color = LauncherConfig::instance()->gameDynamicVersionDescColor();
    return color.isEmpty() ? QStringLiteral("#ffffff") : color;
}

bool MainViewModel::hasNewProgramVersion()
{
    const QString newVersion =
        LauncherConfig::instance()->readString(QStringLiteral("new_version"));
    if (newVersion.isEmpty())
        return false;
    return compareVersion(QLatin1String(AppEnvironment::kLauncherVersion), newVersion) > 0;
}

// --- slots -----------------------------------------------------------------------------------

void MainViewModel::onQueryProgremUpdate()
{
    startLauncherUpdateCheck();
}

void MainViewModel::onExit()
{
    QCoreApplication::exit(0);
}

void MainViewModel::onNewProgramVersionUpdate()
{
    emit newProgramVersionUpdate();
}

void MainViewModel::handleMessage(const QString &message)
{
    qDebug() << "handle msg" << message;
    if (message != QLatin1String("raise_window_noop"))
        return;
    platform::bringWindowToFront(m_mainWindowHandle);
    // Also brings back a window hidden to the notification area.
    invokeOnRoot("show", Qt::DirectConnection);
    invokeOnRoot("raise", Qt::DirectConnection);
    invokeOnRoot("requestActivate", Qt::DirectConnection);
}

void MainViewModel::startInstall()
{
    installEnsureBtnClicked();
}

void MainViewModel::UpdateCheckMd5Tip()
{
    static int dots = 0;
    const QString tail = dots == 0 ? QStringLiteral(" ") : QString(dots, QLatin1Char('.'));
    setItemProperty(QStringLiteral("setup_percentage"), "text",
                    QString(tr("label_checking_md5") + tail));
    dots = (dots + 1) % 4;
}

void MainViewModel::onGlobalMetaDataDismiss()
{
    StatusReport::instance()->report(StatusReport::GLOBAL_META_DATA_DISSMISS_OR_ZERO);
}

void MainViewModel::onGlobalMetaDataError()
{
    StatusReport::instance()->report(StatusReport::GLOBAL_META_DATA_ERROR);
}

void MainViewModel::onStartMd5Check()
{
    m_md5TipTimer.start(1000);
}

// --- invokables ------------------------------------------------------------------------------

void MainViewModel::startGameBtnClicked()
{
    const GameEntry entry = gameEntry();
    if (!entry.isValid()) {
        qWarning() << "game entry refused:" << entry.entry() << entry.refusal();
        showTransferError(tr("title_error"), ErrorDefine::GAME_ENTRY_REFUSED,
                          tr("message_game_entry_refused") + QLatin1Char(' ') + entry.entry());
        return;
    }
    // Program and arguments apart, so an install folder with spaces still starts.
    QProcess::startDetached(entry.executablePath(), {});
    if (LauncherConfig::instance()->readBool(QStringLiteral("show_after_game_exit"))) {
        if (!m_gameExitWatcher) {
            m_gameExitWatcher = new GameExitWatcher(this);
            connect(m_gameExitWatcher, &GameExitWatcher::gameExited, this,
                    [this] { invokeOnRoot("bringBack"); });
        }
        m_gameExitWatcher->watch(entry.executablePath());
    }
    StatusReport::instance()->report(StatusReport::LAUNCHER_START_GAME);
}

void MainViewModel::updateBtnClicked()
{
    m_updateInProgress = true;
    StatusReport::instance()->report(StatusReport::LAUNCHER_UPDATE_GAME);
    const qint64 required = m_manifest ? m_manifest->packageSize(m_currentGameVersion) : 0;
    if (m_manifest && required != 0 &&
        availableBytes(LauncherConfig::instance()->installPath()) < required) {
        showMessageBox(tr("title_error"), tr("message_disk_not_enough_space"), false);
        return;
    }
    startDownload(false);
}

void MainViewModel::changeInstallPathBtnClicked()
{
    if (!m_installPathDialog) {
        m_installPathDialog = new CSetInstallPathDialog();
        connect(m_installPathDialog, &CSetInstallPathDialog::startInstallClicked, this,
                &MainViewModel::startInstall);
        connect(m_installPathDialog, &CSetInstallPathDialog::updateInstallPath, this,
                &MainViewModel::UpdateInstallPath);
    }
    m_installPathDialog->setNeedSpace(m_manifest ? m_manifest->size() : 0);
    const QString configured = LauncherConfig::instance()->installPath();
    m_installPathDialog->setPathText(configured.isEmpty() ? launcherFolder() : configured);
    runCentred(m_installPathDialog);
}

void MainViewModel::setPauseButtonImages(const QString &stem)
{
    setItemProperty(QStringLiteral("pauseDownloadBtn"), "nomal_Image", QString(stem + "_n.png"));
    setItemProperty(QStringLiteral("pauseDownloadBtn"), "hover_Image", QString(stem + "_o.png"));
    setItemProperty(QStringLiteral("pauseDownloadBtn"), "press_Image", QString(stem + "_d.png"));
}

QString MainViewModel::downloadProgressText(const QString &label, qint64 bytesRead,
                                            qint64 totalBytes) const
{
    return label + QStringLiteral(" %1% (%2/%3)")
                       .arg(bytesRead * 100 / totalBytes)
                       .arg(SizeText::bytes(bytesRead), SizeText::bytes(totalBytes));
}

QString MainViewModel::idleSpeedText() const
{
    return ProgressText::speedLine(tr("label_download_speed"), SizeText::speed(0), QString());
}

void MainViewModel::pauseBtnClicked()
{
    if (m_gameDownloader->isDownloading()) {
        m_gameDownloader->stopDownlaod();
        setPauseButtonImages(QStringLiteral("pic/pause"));
        // "Downloading" under a stopped bar would say the transfer still runs.
        const qint64 total = m_gameDownloader->getTotalSize();
        if (total > 0)
            setItemProperty(QStringLiteral("download_percentage"), "text",
                            downloadProgressText(tr("label_download_paused"),
                                                 m_gameDownloader->getDownloadedSize(), total));
        // Zero time left and zero speed would read as finished.
        setItemProperty(QStringLiteral("download_speed"), "text",
                        ProgressText::speedLine(tr("label_download_speed"),
                                                tr("label_value_paused"), QString()));
        setItemProperty(QStringLiteral("task_needtime"), "text",
                        QString(tr("label_task_need_time") + tr("label_value_paused")));
        return;
    }
    m_gameDownloader->startDownload();
    setPauseButtonImages(QStringLiteral("pic/continue"));
}

void MainViewModel::installEnsureBtnClicked()
{
    m_updateInProgress = false;
    StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_DOWNLOAD);
    setItemProperty(QStringLiteral("download_speed"), "text", idleSpeedText());
    if (m_gameState == QueryFailed) {
        sendResourceQuery();
        return;
    }
    if (m_gameState == 0 || m_gameState == Checking ||
        (m_gameState == NotInstalled && (!m_manifest || m_manifest->path().isEmpty()))) {
        showMessageBox(tr("title_tip"), tr("message_checking_update"), false);
        return;
    }

    LauncherConfig *config = LauncherConfig::instance();
    QString path = config->installPath();
    if (path.isEmpty()) {
        config->setInstallPath(
            withGameFolder(launcherFolder() + QLatin1Char('/') + kDefaultGameFolder));
        path = config->installPath();
    }
    path = normalizedInstallPath(path);

    if (!QFileInfo(path).isDir() && !QDir().mkpath(path)) {
        showMessageBox(tr("title_error"), tr("message_create_floder_failed"), false,
                       [this](bool confirmed) {
                           if (confirmed)
                               changeInstallPathBtnClicked();
                       });
        StatusReport::instance()->report(StatusReport::LAUNCHER_GAME_SETUP_ERROR,
                                         {{QStringLiteral("path"), path}});
        return;
    }
    const qint64 required = m_manifest ? m_manifest->size() : 0;
    if (required != 0 && availableBytes(path) < required) {
        showMessageBox(tr("title_error"), tr("message_not_enough_space_select_path"), false,
                       [this](bool confirmed) {
                           if (confirmed)
                               changeInstallPathBtnClicked();
                       });
        return;
    }
    config->setInstallPath(path);
    updateGameState();
    startDownload(true);
}

void MainViewModel::onApplicationQuit()
{
    if (m_gameSetup) {
        disconnect(m_gameSetup, nullptr, this, nullptr);
        m_gameSetup->exit(0);
    }
    if (m_gameDownloader)
        m_gameDownloader->stopDownlaod();
    QCoreApplication::exit(0);
}

// The resource service carries no website or community address, so the page has no
// buttons for them; the calls stay harmless for pages that still make them.
void MainViewModel::onOpenWebsiteClick() {}

void MainViewModel::onOpenbbsClick() {}

bool MainViewModel::isDownloadNotComplated()
{
    const QString folder = LauncherConfig::instance()->installPath();
    if (folder.isEmpty() || !m_manifest || !m_gameDownloader)
        return false;
    const QString name = m_gameDownloader->savedFileName(
        m_patchUpdate->choose(*m_manifest, m_currentGameVersion).url);
    return !name.isEmpty() &&
           QFileInfo::exists(folder + QLatin1Char('/') + name + QStringLiteral("_tmp"));
}

void MainViewModel::UpdateInfoByHttp()
{
    if (g_firstUpdateInfoCall) {
        g_firstUpdateInfoCall = false;
        return;
    }
    if (m_gameState != Downloading && m_gameState != Installing && m_gameState != Verifying) {
        m_resourceQueryAttempts = 0;
        sendResourceQuery();
    }
    m_contentQueryAttempts = 0;
    sendContentQuery();
    startLauncherUpdateCheck();
}

void MainViewModel::btnExitClick()
{
    LauncherConfig *config = LauncherConfig::instance();
    int exitType = config->readInt(QStringLiteral("exit_type"));
    if (config->readBool(QStringLiteral("is_first_exit"), QString(), true)) {
        config->writeBool(QStringLiteral("is_first_exit"), false);
        exitType = askCloseChoice();
        config->writeInt(QStringLiteral("exit_type"), exitType);
    }
    if (exitType == 1) {
        invokeOnRoot("showMinimized");
        invokeOnRoot("hide");
        invokeOnRoot("raise");
        invokeOnRoot("requestActivate");
    } else {
        invokeOnRoot("close");
    }
}

void MainViewModel::btnSettingClick()
{
    if (m_settingDialog)
        runCentred(m_settingDialog);
}

bool MainViewModel::registerAboutClick(qint64 nowMs)
{
    static int clicks = 0;
    static qint64 windowStart = -1;
    if (windowStart < 0)
        windowStart = nowMs;
    ++clicks;
    if (nowMs - windowStart > 5000) {
        windowStart = nowMs;
        clicks = 0;
    }
    if (nowMs - windowStart < 5000 && clicks >= 10) {
        clicks = 0;
        return true;
    }
    return false;
}

void MainViewModel::appInfoAreaClick()
{
    // The page calls this from its mouse-press handler. A modal box run right here would
    // keep that press unfinished, and the page would lose the next click after the box
    // closes; so the box opens once the press has been handled.
    if (registerAboutClick(QDateTime::currentMSecsSinceEpoch()))
        QMetaObject::invokeMethod(this, &MainViewModel::showAboutDialog, Qt::QueuedConnection);
}

void MainViewModel::singleReloadWeb()
{
    if (!m_webReloadPending)
        return;
    QObject *view = findItem(QStringLiteral("bgWebView"));
    if (!view)
        return;
    QMetaObject::invokeMethod(view, "reload", Qt::QueuedConnection);
    m_webReloadPending = false;
}

QString MainViewModel::btnMoreActiveJumpUrl()
{
    StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_AD);
    return m_manifest ? m_manifest->advUrl() : QString();
}

// --- steps of other subsystems ---------------------------------------------------------------

QString MainViewModel::launcherFolder()
{
    return QCoreApplication::applicationDirPath();
}

void MainViewModel::sendResourceQuery()
{
    LauncherConfig *config = LauncherConfig::instance();
    m_currentGameVersion = config->gameVersion();
    emit versionChanged(m_currentGameVersion);
    // Checking is shown without a change signal; the answer's state change repaints the page.
    setGameState(Checking, false);
    if (!m_resourceRequest) {
        m_resourceRequest = new HttpRequestAPI();
        m_resourceRequest->setRawHeader("content-type", "application/json");
    }
    const QUrl url = UpdateVersionInfo::resourceQueryUrl(config->apiUrl());
    m_resourceRequest->get(url.toString(QUrl::FullyEncoded),
                           [this](bool ok, const QByteArray &body, const QString &error,
                                  int status) { onResourceAnswer(ok, body, error, status); });
}

void MainViewModel::onResourceAnswer(bool ok, const QByteArray &body, const QString &error,
                                     int status)
{
    if (ok && status == 200) {
        qDebug() << "update Info:" << body;
        QString parseError;
        bool processed = false;
        try {
            processed = m_manifest->parseResourceResponse(body, &parseError);
            ErrorDefine::ErrorCode refusal = ErrorDefine::METADATA_SIGNATURE_ERROR;
            if (processed && !ManifestGate::admit(m_manifest, &parseError, &refusal)) {
                // A refused answer decides nothing: no install, no start, no forced update.
                qWarning() << "update Info: signed metadata:" << parseError;
                m_manifest->applySignedFields({});
                m_resourceQueryAttempts = 0;
                setGameState(QueryFailed);
                showTransferError(tr("message_download_error"), refusal,
                                  PackageTrust::errorMessage(refusal, parseError));
                return;
            }
            if (processed) {
                updateShowVersion();
                checkLauncherVersion();
            }
        } catch (const std::exception &e) {
            parseError = QString::fromLocal8Bit(e.what());
        } catch (...) {
            parseError = QStringLiteral("unknown exception");
        }
        m_resourceQueryAttempts = 0;
        // An answer that cannot be read would otherwise be taken for "no game published" and
        // offer a fresh install over an installed game: the state stays "query failed" until
        // a good answer comes.
        if (!processed) {
            qDebug() << "resource answer not usable:" << parseError;
            askToRetryResourceQuery(false);
            refreshPage(false);
            setGameState(QueryFailed);
            answerDownloadRefresh(false);
            return;
        }
        refreshPage();
        answerDownloadRefresh(true);
        return;
    }

    setItemProperty(QStringLiteral("bgWebView"), "visible", false);
    qDebug() << "request server game version error " << error;
    if (m_resourceQueryAttempts > 4) {
        answerDownloadRefresh(false);
        askToRetryResourceQuery(true);
        setGameState(QueryFailed, false);
        return;
    }
    ++m_resourceQueryAttempts;
    sendResourceQuery();
}

void MainViewModel::answerDownloadRefresh(bool answered)
{
    if (!m_downloadRefreshPending)
        return;
    m_downloadRefreshPending = false;
    if (!answered) {
        m_gameDownloader->sourceRefreshed(QUrl(), QString(), 0, QString());
        return;
    }
    setGameState(Downloading);
    PatchUpdate::Package package = m_patchUpdate->choose(*m_manifest, m_currentGameVersion);
    // A refreshed answer names the same kind of package the running download fetches.
    if (package.isPatch != m_packageIsPatch) {
        m_patchUpdate->refuse(m_currentGameVersion);
        package = m_patchUpdate->choose(*m_manifest, m_currentGameVersion);
    }
    m_gameDownloader->setExpectedPackage(package.expected);
    m_gameDownloader->sourceRefreshed(package.url, package.md5, package.size, package.name);
}

void MainViewModel::askToRetryResourceQuery(bool withCancel)
{
    showMessageBox(tr("title_error"), tr("message_resource_check_failed"), withCancel,
                   [this](bool confirmed) {
                       if (!confirmed)
                           return;
                       m_resourceQueryAttempts = 0;
                       sendResourceQuery();
                   });
}

void MainViewModel::checkLauncherVersion()
{
    if (compareVersion(QLatin1String(AppEnvironment::kLauncherVersion), m_manifest->minVersion()) <=
        0)
        return;
    const QUrl forceUrl(m_manifest->forceUpdateUrl(), QUrl::StrictMode);
    const bool canUpdate = forceUrl.isValid() && !forceUrl.isEmpty();
    CDlgYesNo notice;
    notice.resize(460, 300);
    notice.setMessage(QString(), canUpdate ? tr("message_need_update_launcher")
                                           : tr("message_launcher_version_old"));
    notice.showCloseButton(false);
    notice.hideCancelButton(true);
    notice.setConfirmText(tr("button_confirm"));
    const QRect area = rootArea();
    if (area.isValid())
        notice.move(area.x() + (area.width() - notice.width()) / 2,
                    area.y() + (area.height() - notice.height()) / 2);
    setMaskVisible(true);
    notice.exec();
    if (canUpdate)
        QDesktopServices::openUrl(forceUrl);
    QCoreApplication::exit(0);
}

void MainViewModel::refreshPage(bool computeState)
{
    updateShowVersion();
    if (computeState)
        updateGameState();
    updateShowVersion();

    // The resource service carries no website or community address.
    setItemProperty(QStringLiteral("bbsBtn"), "visible", false);
    setItemProperty(QStringLiteral("websiteBtn"), "visible", false);

    emit versionTitleChanged(versionTitle());
    emit versionDescChanged(versionDesc());
    emit versionTitleColorChanged(versionTitleColor());
    emit versionDescColorChanged(versionDescColor());
}

GameEntry MainViewModel::gameEntry() const
{
    return GameEntry::resolve(LauncherConfig::instance()->installPath(),
                              m_manifest ? m_manifest->entry() : QString());
}

void MainViewModel::updateGameState()
{
    LauncherConfig *config = LauncherConfig::instance();
    const QString installed = config->gameVersion();
    const QString published = m_manifest ? m_manifest->version() : QString();
    int state = NotInstalled;
    if (installed.isEmpty() || config->installPath().isEmpty())
        state = NotInstalled;
    else if (installed == published)
        // A refused entry still shows as installed, so that starting says why it cannot.
        state = !gameEntry().isValid() || QFileInfo(gameEntry().executablePath()).isFile()
                    ? Installed
                    : NotInstalled;
    else
        state = published.isEmpty() ? NotInstalled : UpdateAvailable;
    m_currentGameVersion = installed;
    setGameState(state);
}

void MainViewModel::sendContentQuery()
{
    LauncherConfig *config = LauncherConfig::instance();
    m_currentGameVersion = config->gameVersion();
    emit versionChanged(m_currentGameVersion);
    if (!m_contentRequest) {
        m_contentRequest = new HttpRequestAPI();
        m_contentRequest->setRawHeader("content-type", "application/json");
    }
    const QUrl url = UpdateVersionInfo::contentQueryUrl(config->apiUrl(), m_languageCode);
    m_contentRequest->get(url.toString(QUrl::FullyEncoded),
                          [this](bool ok, const QByteArray &body, const QString &error,
                                 int status) { onContentAnswer(ok, body, error, status); });
}

void MainViewModel::onContentAnswer(bool ok, const QByteArray &body, const QString &error,
                                    int status)
{
    if (!(ok && status == 200)) {
        qDebug() << "request server content error " << error;
        retryContentQuery();
        return;
    }

    bool processed = false;
    try {
        processed = m_manifest->parseContentResponse(body);
        if (processed) {
            const QString background = m_manifest->background();
            if (!background.isEmpty()) {
                const QString name = PromoArtCache::fileNameFor(QUrl(background));
                if (!PromoArtCache::cachedPath(name).isEmpty()) {
                    LauncherConfig::instance()->setGameDynamicBgName(name);
                    emit bgPathChanged(QString());
                } else {
                    m_backgroundArt->fetch(QUrl(background));
                }
            }
            const QString icon = m_manifest->icon();
            if (!icon.isEmpty())
                m_iconArt->fetch(QUrl(icon));
            if (g_firstContentAnswer) {
                g_firstContentAnswer = false;
            } else {
                setItemProperty(QStringLiteral("bgWebView"), "visible",
                                !m_manifest->webUrl().isEmpty());
                m_webReloadPending = true;
                emit mainBgResChanged();
            }
        }
    } catch (...) {
        processed = false;
    }
    // An answer that cannot be read is one more failed attempt, like a lost one.
    if (!processed)
        retryContentQuery();
    else
        m_contentQueryAttempts = 0;
}

void MainViewModel::retryContentQuery()
{
    if (m_contentQueryAttempts > 4) {
        askToRetryContentQuery();
        return;
    }
    ++m_contentQueryAttempts;
    sendContentQuery();
}

void MainViewModel::askToRetryContentQuery()
{
    showMessageBox(tr("title_error"), tr("message_launcher_check_failed"), true,
                   [this](bool confirmed) {
                       if (!confirmed)
                           return;
                       m_contentQueryAttempts = 0;
                       sendContentQuery();
                   });
}

void MainViewModel::onBackgroundDownloaded(const QUrl &, const QString &name)
{
    LauncherConfig *config = LauncherConfig::instance();
    if (!name.isEmpty())
        config->setGameDynamicBgName(name);
    const QString stored = PromoArtCache::cachedPath(config->gameDynamicBgName());
    if (!stored.isEmpty())
        emit bgPathChanged(QUrl::fromLocalFile(stored).toString());
}

void MainViewModel::onIconDownloaded(const QUrl &, const QString &name)
{
    const QString file = PromoArtCache::cachedPath(name);
    const bool show = !file.isEmpty() && !m_manifest->advUrl().isEmpty();
    setItemProperty(QStringLiteral("viewActivity"), "visible", show);
    const QString image = QUrl::fromLocalFile(file).toString();
    setItemProperty(QStringLiteral("viewActivity"), "nomal_Image", image);
    setItemProperty(QStringLiteral("viewActivity"), "hover_Image", image);
    setItemProperty(QStringLiteral("viewActivity"), "press_Image", image);
}

// --- install and update pipeline ------------------------------------------------------------

QString MainViewModel::normalizedInstallPath(QString path)
{
    path.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    path.replace(QStringLiteral("//"), QStringLiteral("/"));
    if (path.size() > 1 && (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/')))) {
        path.chop(1);
        qDebug() << "removed :" << path;
    }
    return path;
}

QString MainViewModel::withGameFolder(const QString &path)
{
    const QStringList parts = path.split(QRegularExpression(QStringLiteral("[\\\\/]")));
    if (parts.last().compare(kDefaultGameFolder, Qt::CaseInsensitive) == 0)
        return path;
    // The platform's own separator: a backslash would be part of the name on Linux.
    return path + QDir::separator() + kDefaultGameFolder;
}

qint64 MainViewModel::availableBytes(const QString &path)
{
    return platform::availableBytes(QDir::cleanPath(path).toStdString());
}

void MainViewModel::startDownload(bool onlyWhenNotInstalled)
{
    // Only the state test is the install's own; an update needs a fresh sample time too, or
    // its first speed sample spans the time since some earlier event.
    if (onlyWhenNotInstalled && m_gameState != NotInstalled)
        return;
    m_lastShownProgress = -1.0f;
    m_rateSampleTime = QDateTime::currentDateTime();
    const QString folder = LauncherConfig::instance()->installPath();
    m_gameDownloader->setFilePath(folder);
    const PatchUpdate::Package package = m_patchUpdate->choose(*m_manifest, m_currentGameVersion);
    m_packageIsPatch = package.isPatch;
    m_gameDownloader->setFileMD5(package.md5);
    m_gameDownloader->setExpectedPackage(package.expected);
    m_gameDownloader->setExpectedSize(package.size);
    m_gameDownloader->setPackageName(package.name);
    m_gameDownloader->setUrl(package.url);
    m_gameSetup->setZipFilePath(folder);
    m_gameSetup->setZipFileName(m_gameDownloader->fileName());
    InstallTelemetry::downloadStarted(m_currentGameVersion, m_manifest->version(),
                                      InstallTelemetry::kindFor(*m_manifest, m_currentGameVersion));
    preparePlugin();

    if (QFileInfo(m_gameDownloader->finalFilePath()).isFile()) {
        onDownloadFinished();
        return;
    }
    m_lastShownProgress = -1.0f;
    m_downloadRateBaseline = 0;
    setGameState(Downloading);
    m_gameDownloader->startDownload();
    checkPlugin(false);
}

void MainViewModel::showProgressFraction(float fraction)
{
    if (fraction > 0.0f && fraction > m_lastShownProgress) {
        m_progress = std::min(1.0f, fraction);
        m_lastShownProgress = m_progress;
        emit progressChanged();
    }
}

void MainViewModel::onDownloadProgress(qint64 bytesRead, qint64 totalBytes)
{
    if (totalBytes <= 0)
        return;
    if (m_downloadRateBaseline == 0) {
        m_lastShownProgress = -1.0f;
        m_downloadRateBaseline = bytesRead;
    }
    setItemProperty(QStringLiteral("download_percentage"), "text",
                    downloadProgressText(tr("label_downloading_percent"), bytesRead, totalBytes));

    const QDateTime now = QDateTime::currentDateTime();
    const qint64 elapsed = m_rateSampleTime.isValid() ? m_rateSampleTime.secsTo(now) : 1;
    if (elapsed > 0) {
        const double sample =
            static_cast<double>(bytesRead - m_downloadRateBaseline) / 1024.0 / elapsed;
        const double speed = ProgressText::averageSpeed(sample);
        const qint64 remaining = totalBytes - bytesRead;
        QString speedText;
        if (remaining > 0) {
            speedText = ProgressText::speedLine(tr("label_download_speed"),
                                                SizeText::speed(speed * 1024.0), QString());
        } else {
            speedText = idleSpeedText();
        }
        setItemProperty(QStringLiteral("download_speed"), "text", speedText);
        // A stalled transfer has no meaningful remaining time: keep the last estimate.
        if (speed > 0.0) {
            const auto seconds = static_cast<qint64>(remaining / 1024.0 / speed);
            setItemProperty(
                QStringLiteral("task_needtime"), "text",
                QString(tr("label_task_need_time") + ProgressText::remainingTime(seconds)));
        }
        m_rateSampleTime = now;
        m_downloadRateBaseline = bytesRead;
    }
    showProgressFraction(static_cast<float>(bytesRead) / static_cast<float>(totalBytes));
}

void MainViewModel::onDownloadFinished()
{
    InstallTelemetry::transferEnded(m_gameDownloader->getTotalSize());
    setGameState(Verifying);
    if (m_lastShownProgress < 1.0f) {
        m_progress = 1.0f;
        m_lastShownProgress = 1.0f;
        emit progressChanged();
    }
    m_lastShownProgress = -1.0f;
    // A redirect may have given the package another name than its address: check and unpack
    // the file that was saved.
    m_gameSetup->setZipFileName(m_gameDownloader->fileName());
    m_gameDownloader->fileMd5(m_gameDownloader->finalFilePath());
}

void MainViewModel::showTransferError(const QString &headline, ErrorDefine::ErrorCode error,
                                      const QString &msg)
{
    showMessageBox(headline, QStringLiteral("[%1]:%2").arg(int(error)).arg(msg), true);
}

bool MainViewModel::fallBackFromPatch(const QString &why)
{
    // A site that serves no patch package (or a damaged one) still has the difference package.
    if (!m_packageIsPatch)
        return false;
    qDebug() << "patch package failed, taking the difference package:" << why;
    m_patchUpdate->refuse(m_currentGameVersion);
    m_packageIsPatch = false;
    // Nothing of the refused package stays in the game folder.
    QFile::remove(m_gameDownloader->tempFilePath());
    QFile::remove(m_gameDownloader->finalFilePath());
    // After the downloader has finished reporting its error.
    QTimer::singleShot(0, this, [this] { startDownload(false); });
    return true;
}

void MainViewModel::onDownloadError(ErrorDefine::ErrorCode error, QString msg)
{
    if (fallBackFromPatch(msg))
        return;
    m_md5TipTimer.stop();
    m_lastShownProgress = -1.0f;
    m_downloadRateBaseline = 0;
    InstallTelemetry::failed(InstallTelemetry::Step::Download, error, msg);
    updateGameState();
    refreshPage();
    showTransferError(tr("message_download_error"), error, msg);
}

void MainViewModel::onHttpError(ErrorDefine::ErrorCode error, QString msg)
{
    if (fallBackFromPatch(msg))
        return;
    InstallTelemetry::failed(InstallTelemetry::Step::Download, error, msg);
    updateGameState();
    showTransferError(tr("message_download_error"), error, msg);
}

void MainViewModel::onMd5CheckFinished()
{
    InstallTelemetry::packageChecked(m_updateInProgress);
    m_md5TipTimer.stop();
    setGameState(Installing);
    m_lastShownProgress = -1.0f;
    m_downloadRateBaseline = 0;
    m_rateSampleTime = QDateTime::currentDateTime();
    startSetupGuarded();
}

bool MainViewModel::isGameRunning() const
{
    // By path: a program of the same name elsewhere is none of the launcher's business.
    const GameEntry entry = gameEntry();
    return entry.isValid() &&
           !platform::findProcessesByExecutable(entry.executablePath().toStdString()).empty();
}

void MainViewModel::startSetupGuarded()
{
    m_lastShownProgress = -1.0f;
    if (isGameRunning())
        updateGameState();
    runWhenGameClosed([this](bool closed) {
        if (!closed)
            return;
        checkPlugin(true);
        m_setupRateBaseline = 0;
        if (m_packageIsPatch)
            m_patchUpdate->start(LauncherConfig::instance()->installPath(),
                                 m_gameDownloader->finalFilePath());
        else
            m_gameSetup->start(QThread::InheritPriority);
        m_setupStartTime = QDateTime::currentSecsSinceEpoch();
        setGameState(Installing);
        StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_INSTALL);
    });
}

void MainViewModel::onSetupProgress(qlonglong finishSize, qlonglong totalSize)
{
    if (totalSize <= 0)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 elapsed = m_rateSampleTime.isValid() ? m_rateSampleTime.secsTo(now) : 1;
    if (elapsed >= 1) {
        setItemProperty(QStringLiteral("setup_percentage"), "text",
                        QString(tr("label_installing_progress") +
                                QStringLiteral(" %1% (%2/%3)")
                                    .arg(finishSize * 100 / totalSize)
                                    .arg(SizeText::bytes(finishSize), SizeText::bytes(totalSize))));
        const double rate =
            static_cast<double>(finishSize - m_setupRateBaseline) / 1024.0 / elapsed;
        if (rate > 0.0) {
            const auto seconds = static_cast<qint64>((totalSize - finishSize) / 1024.0 / rate);
            setItemProperty(
                QStringLiteral("task_needtime"), "text",
                QString(tr("label_task_need_time") + ProgressText::remainingTime(seconds)));
        }
        m_rateSampleTime = now;
        m_setupRateBaseline = finishSize;
    }
    showProgressFraction(static_cast<float>(finishSize) / static_cast<float>(totalSize));
}

void MainViewModel::onSetupFinished()
{
    InstallTelemetry::installFinished();
    m_lastShownProgress = -1.0f;
    LauncherConfig *config = LauncherConfig::instance();
    const QString version = m_manifest->version();
    config->setGameVersion(version);
    config->applyDefault(QStringLiteral("cps"), QStringLiteral("velmora"));
    config->applyDefault(QStringLiteral("channel"), QStringLiteral("1"));
    config->applyDefault(QStringLiteral("sub_channel"), QStringLiteral("1"));
    m_currentGameVersion = version;
    emit versionChanged(version);
    updateGameState();
}

void MainViewModel::onSetupError(ErrorDefine::ErrorCode error, QString msg)
{
    m_lastShownProgress = -1.0f;
    updateGameState();
    showTransferError(tr("message_setup_error"), error, msg);
    InstallTelemetry::failed(InstallTelemetry::Step::Unpack, error, msg);
    StatusReport::instance()->report(StatusReport::LAUNCHER_GAME_SETUP_ERROR,
                                     {{QStringLiteral("errorCode"), ErrorDefine::errorName(error)},
                                      {QStringLiteral("errorDesc"), msg}});
}

// --- plug-in package ---------------------------------------------------------------------------

QVariantMap MainViewModel::firstPlugin() const
{
    const QVariantList plugins = m_manifest ? m_manifest->plugins() : QVariantList();
    return plugins.isEmpty() ? QVariantMap() : plugins.first().toMap();
}

void MainViewModel::preparePlugin()
{
    const QVariantMap plugin = firstPlugin();
    if (plugin.isEmpty())
        return;
    const QString url = plugin.value(QStringLiteral("path")).toString();
    m_pluginDownloader->setUrl(QUrl(url));
    m_pluginDownloader->setFilePath(launcherFolder());
    m_pluginDownloader->setFileMD5(plugin.value(QStringLiteral("md5")).toString());
    m_pluginDownloader->setExpectedPackage(SignedPackages::plugin(plugin, *m_manifest));
    m_pluginSetup->setZipFilePath(launcherFolder());
    m_pluginSetup->setZipFileName(m_pluginDownloader->fileName());
}

void MainViewModel::checkPlugin(bool allowInstaller)
{
    const QVariantMap plugin = firstPlugin();
    if (plugin.isEmpty())
        return;
    const QString url = plugin.value(QStringLiteral("path")).toString();
    const QString fileName = m_pluginDownloader->savedFileName(QUrl(url));
    // The installer's folder is named after the address, whatever the download is saved as.
    const QString name = UpdateVersionInfo::pluginFolderName(url);
    if (name.isEmpty())
        return;
    // The launcher's own folder, not the current one: a shortcut may start it elsewhere.
    const QString folder = launcherFolder() + QLatin1Char('/') + name;
    if (!QFileInfo(folder).isDir()) {
        if (QFileInfo::exists(launcherFolder() + QLatin1Char('/') + fileName))
            m_pluginDownloader->fileMd5(launcherFolder() + QLatin1Char('/') + fileName);
        m_pluginDownloader->startDownload();
        return;
    }
    if (allowInstaller) {
        const QString installer =
            folder + QLatin1Char('/') + name + QString::fromStdString(platform::executableSuffix());
        QProcess::startDetached(installer, {QStringLiteral("/silent")});
    }
}

void MainViewModel::onPluginDownloaded()
{
    m_pluginSetup->setZipFileName(m_pluginDownloader->fileName());
    m_pluginDownloader->fileMd5(m_pluginDownloader->finalFilePath());
}

void MainViewModel::onPluginMd5Finished()
{
    m_pluginSetup->start(QThread::InheritPriority);
}

void MainViewModel::startLauncherUpdateCheck()
{
    if (m_appInfo)
        m_appInfo->requestProgramVerInfo();
}

void MainViewModel::onStartUpdate(AppVersionInfo updateInfo)
{
    QString why;
    ErrorDefine::ErrorCode code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
    if (!SignedPackages::isReleaseTrusted(updateInfo, &why, &code)) {
        qWarning() << "update Info: release signature:" << why;
        InstallTelemetry::failed(InstallTelemetry::Step::Signature, code, why);
        showTransferError(tr("message_download_error"), code,
                          PackageTrust::errorMessage(code, why));
        return;
    }
    if (UpdateProgram::startUpdater(updateInfo)) {
        QCoreApplication::exit(0);
        return;
    }
    InstallTelemetry::failed(InstallTelemetry::Step::LauncherUpdate, ErrorDefine::DEFAULTT,
                             QStringLiteral("updater did not start"));
    showMessageBox(tr("title_warning"), tr("message_run_update_exe_failed"), false);
}

int MainViewModel::runCentred(QDialog *dialog)
{
    const QRect area = rootArea();
    if (area.isValid())
        dialog->move(area.x() + (area.width() - dialog->width()) / 2,
                     area.y() + (area.height() - dialog->height()) / 2);
    setMaskVisible(true);
    const int result = dialog->exec();
    if (CDlgYesNo::openCount() == 0)
        setMaskVisible(false);
    return result;
}

void MainViewModel::showAboutDialog()
{
    CDlgAppInfo about;
    about.setInfo(m_manifest ? m_manifest->version() : QString(), AppEnvironment::launcherIdText(),
                  QLatin1String(AppEnvironment::kLauncherVersion));
    runCentred(&about);
}

int MainViewModel::askCloseChoice()
{
    CDlgCloseTip choice;
    runCentred(&choice);
    return choice.exitChoice();
}

// --- game check and repair -----------------------------------------------------------------

void MainViewModel::connectGameRepair()
{
    m_gameRepair = new GameRepairFlow(this);
    m_gameRepair->setGameGuard(
        [this](std::function<void(bool)> proceed) { runWhenGameClosed(std::move(proceed)); });
    connect(m_settingDialog, &DlgSetting::gameRepairRequested, this,
            &MainViewModel::startGameRepair);
    connect(m_settingDialog, &DlgSetting::gameRepairCancelRequested, m_gameRepair,
            &GameRepairFlow::cancel);
    connect(m_gameRepair, &GameRepairFlow::runningChanged, m_settingDialog,
            &DlgSetting::setGameRepairRunning);
    connect(m_gameRepair, &GameRepairFlow::statusChanged, m_settingDialog,
            &DlgSetting::setGameRepairStatus);
}

void MainViewModel::startGameRepair()
{
    // Only the installed current version has a list and a full package to compare with.
    if (m_gameState != Installed || m_manifest->version() != m_currentGameVersion) {
        m_settingDialog->setGameRepairStatus(tr("message_repair_needs_current_game"));
        return;
    }
    m_gameRepair->setInstallFolder(LauncherConfig::instance()->installPath());
    m_gameRepair->setFileList(QUrl(m_manifest->filesPath()), m_manifest->filesSha256(),
                              m_manifest->filesSize());
    m_gameRepair->setPackage(m_manifest->packageUrl(QString()), m_manifest->md5());
    SignedPackage full = SignedPackages::gamePackage(*m_manifest, QString());
    full.installedVersion = m_currentGameVersion;
    m_gameRepair->setExpectedPackage(full);
    m_gameRepair->start();
}

void MainViewModel::runWhenGameClosed(std::function<void(bool)> proceed)
{
    if (!isGameRunning()) {
        proceed(true);
        return;
    }
    showMessageBox(
        tr("title_warning"), tr("message_game_is_running_please_close"), true,
        [this, proceed](bool confirmed) {
            if (!confirmed) {
                proceed(false);
                return;
            }
            const GameEntry entry = gameEntry();
            if (entry.isValid())
                platform::killProcessesByExecutable(entry.executablePath().toStdString());
            QTimer::singleShot(500, this, [this, proceed] { runWhenGameClosed(proceed); });
        });
}
