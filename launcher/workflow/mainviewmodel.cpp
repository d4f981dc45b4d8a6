#include "mainviewmodel.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QDesktopServices>
#include <QDebug>
#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <QUrl>

#include "appenvironment.h"
#include "cdlgyesno.h"
#include "csetinstallpathdialog.h"
#include "dlgsetting.h"
#include "gameentry.h"
#include "gameexitwatcher.h"
#include "gamerepairflow.h"
#include "launcherupdateflow.h"
#include "downloadmanager.h"
#include "installflow.h"
#include "installfolder.h"
#include "pagedialogs.h"
#include "promoartcache.h"
#include "questionbox.h"
#include "patchupdate.h"
#include "pluginflow.h"
#include "runninggameguard.h"
#include "serverqueries.h"
#include "signedpackages.h"
#include "setupmanager.h"
#include "launcherconfig.h"
#include "window.h"
#include "statusreport.h"
#include "updateversioninfo.h"
#include "versioncompare.h"

namespace {

// The first UpdateInfoByHttp of the process comes from the window's first appearance, when
// initialisation has just sent the queries.
bool g_firstUpdateInfoCall = true;

} // namespace

MainViewModel::MainViewModel(QObject *parent)
    : QObject(parent)
{}

MainViewModel::~MainViewModel()
{
    StatusReport::instance()->report(StatusReport::LAUNCHER_QUIT);
    delete m_queries;
    // The install flow ends a running extraction; until then its answer still lands.
    delete m_install;
    delete m_manifest;
    delete m_plugin;
    delete m_installPathDialog;
    delete m_messageBox;
    delete m_settingDialog;
    delete m_launcherUpdate;
    m_dialogs.clearPending();
}

void MainViewModel::initialize()
{
    StatusReport::instance();

    LauncherConfig *config = LauncherConfig::instance();
    if (config->installPath().isEmpty())
        config->setInstallPath(InstallFolder::defaultFor(launcherFolder()));

    // Registry versions, is_user_update and the proxy choice.
    config->runStartupHousekeeping();
    // A patch run cut short ends before anything reads the installed version.
    PatchUpdate::resume(config->installPath());

    m_manifest = new UpdateVersionInfo();
    m_queries = new ServerQueries(m_manifest, &m_page, this);
    m_queries->setLanguageCode(m_languageCode);
    m_queries->setAsk(
        [this](const QString &title, const QString &text, bool withCancel, DialogAction action) {
            showMessageBox(title, text, withCancel, std::move(action));
        });
    connect(m_queries, &ServerQueries::resourceSending, this, [this] {
        m_currentGameVersion = LauncherConfig::instance()->gameVersion();
        emit versionChanged(m_currentGameVersion);
        // Checking is shown without a change signal; the answer's state change repaints.
        setGameState(Checking, false);
    });
    connect(m_queries, &ServerQueries::resourceRefused, this, &MainViewModel::onResourceRefused);
    connect(m_queries, &ServerQueries::resourceRead, this, [this] {
        updateShowVersion();
        checkLauncherVersion();
    });
    connect(m_queries, &ServerQueries::resourceUnreadable, this, [this] {
        refreshPage(false);
        setGameState(QueryFailed);
        m_install->answerSourceRefresh(false, m_currentGameVersion);
    });
    connect(m_queries, &ServerQueries::resourceAnswered, this, [this] {
        refreshPage();
        m_install->answerSourceRefresh(true, m_currentGameVersion);
    });
    connect(m_queries, &ServerQueries::resourceGivenUp, this,
            [this] { m_install->answerSourceRefresh(false, m_currentGameVersion); });
    connect(m_queries, &ServerQueries::resourceFailed, this,
            [this] { setGameState(QueryFailed, false); });
    connect(m_queries, &ServerQueries::contentSending, this, [this] {
        m_currentGameVersion = LauncherConfig::instance()->gameVersion();
        emit versionChanged(m_currentGameVersion);
    });
    connect(m_queries, &ServerQueries::contentChanged, this, [this] {
        m_webReloadPending = true;
        emit mainBgResChanged();
    });
    connect(m_queries, &ServerQueries::backgroundChanged, this, &MainViewModel::bgPathChanged);

    m_gameGuard = new RunningGameGuard(
        &m_dialogs, [this] { return gameEntry(); }, this);
    m_plugin = new PluginFlow(m_manifest);
    connect(m_plugin, &PluginFlow::refused, this,
            [this](ErrorDefine::ErrorCode error, const QString &msg) {
                showTransferError(tr("message_download_error"), error, msg);
            });
    m_install = new InstallFlow(m_manifest, &m_page, m_plugin);
    m_install->setGameGuard([this](std::function<void(bool)> proceed) {
        m_gameGuard->runWhenClosed(std::move(proceed));
    });
    m_install->setGameRunningCheck([this] { return m_gameGuard->isGameRunning(); });
    connect(m_install, &InstallFlow::progressChanged, this, &MainViewModel::progressChanged);
    connect(m_install, &InstallFlow::gameStateWanted, this,
            [this](int state) { setGameState(state); });
    connect(m_install, &InstallFlow::gameStateStale, this, &MainViewModel::updateGameState);
    connect(m_install, &InstallFlow::pageStale, this, [this] { refreshPage(); });
    connect(m_install, &InstallFlow::failed, this, &MainViewModel::showTransferError);
    connect(m_install, &InstallFlow::installed, this, &MainViewModel::onGameInstalled);
    connect(m_install, &InstallFlow::restartWanted, this, [this] { startDownload(false); });
    connect(m_install, &InstallFlow::sourceRefreshWanted, m_queries,
            &ServerQueries::restartResource);
    connect(setupmanager::instance(), &setupmanager::globalMetaDataError, this,
            &MainViewModel::onGlobalMetaDataError);
    connect(setupmanager::instance(), &setupmanager::globalMetaDataDismiss, this,
            &MainViewModel::onGlobalMetaDataDismiss);

    m_messageBox = new CDlgYesNo();
    m_messageBox->resize(500, 300);
    m_messageBox->hideCancelButton(true);
    connect(m_messageBox, &CDlgYesNo::dlgFinish, this, &MainViewModel::onDlgYesNoConfirmClicked);

    // The questions go over the page as it is when they are asked.
    QPointer<MainViewModel> self(this);
    m_launcherUpdate = new LauncherUpdateFlow([self](const UserQuestion &question) {
        return QuestionBox::ask(question, self ? self->rootObject() : nullptr);
    });
    connect(m_launcherUpdate, &LauncherUpdateFlow::quitWanted, this, &MainViewModel::onExit);
    connect(m_launcherUpdate, &LauncherUpdateFlow::checked, this,
            &MainViewModel::onNewProgramVersionUpdate);
    connect(m_launcherUpdate, &LauncherUpdateFlow::failed, this, &MainViewModel::showTransferError);
    connect(
        m_launcherUpdate, &LauncherUpdateFlow::warned, this,
        [this](const QString &title, const QString &text) { showMessageBox(title, text, false); });
    if (!m_startedByUpdater)
        startLauncherUpdateCheck();

    m_settingDialog = new DlgSetting();
    connect(m_settingDialog, &DlgSetting::checkProgrameUpdate, this,
            &MainViewModel::onQueryProgremUpdate);
    connectGameRepair();

    m_queries->sendResource();
    m_queries->sendContent();
}

void MainViewModel::setRootObject(QObject *root)
{
    m_page.setRoot(root);
    if (AppEnvironment::isPreview())
        m_page.showPreviewTip();
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

// --- message box with a pending action ------------------------------------------------------

int MainViewModel::showMessageBox(const QString &title, const QString &text, bool withCancel,
                                  DialogAction action)
{
    return m_dialogs.ask(title, text, withCancel, std::move(action));
}

void MainViewModel::onDlgYesNoConfirmClicked(bool value)
{
    m_dialogs.answer(value);
}

void MainViewModel::onGeneralDialogConfirmClicked(bool value)
{
    onDlgYesNoConfirmClicked(value);
}

// --- properties ------------------------------------------------------------------------------

void MainViewModel::setLanguageCode(const QString &code)
{
    m_languageCode = code;
    if (m_queries)
        m_queries->setLanguageCode(code);
}

float MainViewModel::progress() const
{
    return m_install ? m_install->progress() : 0.0f;
}

QString MainViewModel::updateShowVersion()
{
    QString shown = m_currentGameVersion;
    if (shown.isEmpty() && m_manifest)
        shown = m_manifest->version();
    if (shown.isEmpty())
        shown = QStringLiteral("--");
    m_page.showVersion(shown);
    return shown;
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

QString MainViewModel::installPath() const
{
    return elidedPath(LauncherConfig::instance()->installPath());
}

void MainViewModel::setInstallPath(const QString &path)
{
    LauncherConfig *config = LauncherConfig::instance();
    config->setInstallPath(path);
    const QString shown = elidedPath(config->installPath());
    m_page.showInstallPath(shown);
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
    m_page.invoke("show", Qt::DirectConnection);
    m_page.invoke("raise", Qt::DirectConnection);
    m_page.invoke("requestActivate", Qt::DirectConnection);
}

void MainViewModel::startInstall()
{
    installEnsureBtnClicked();
}

void MainViewModel::UpdateCheckMd5Tip()
{
    if (m_install)
        m_install->showCheckingTip();
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
    if (m_install)
        m_install->startCheckingTip();
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
                    [this] { m_page.invoke("bringBack"); });
        }
        m_gameExitWatcher->watch(entry.executablePath());
    }
    StatusReport::instance()->report(StatusReport::LAUNCHER_START_GAME);
}

void MainViewModel::updateBtnClicked()
{
    m_install->setUpdating(true);
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
    m_dialogs.runCentred(m_installPathDialog);
}

void MainViewModel::pauseBtnClicked()
{
    m_install->togglePause();
}

void MainViewModel::installEnsureBtnClicked()
{
    StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_DOWNLOAD);
    if (m_install) {
        m_install->setUpdating(false);
        m_install->showIdleSpeed();
    }
    if (m_gameState == QueryFailed) {
        m_queries->sendResource();
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
        config->setInstallPath(InstallFolder::defaultFor(launcherFolder()));
        path = config->installPath();
    }
    path = normalizedInstallPath(path);

    const InstallFolder::Readiness ready =
        InstallFolder::prepare(path, m_manifest ? m_manifest->size() : 0);
    if (ready != InstallFolder::Readiness::Ready) {
        const bool created = ready != InstallFolder::Readiness::NotCreated;
        showMessageBox(tr("title_error"),
                       created ? tr("message_not_enough_space_select_path")
                               : tr("message_create_floder_failed"),
                       false, [this](bool confirmed) {
                           if (confirmed)
                               changeInstallPathBtnClicked();
                       });
        if (!created)
            StatusReport::instance()->report(StatusReport::LAUNCHER_GAME_SETUP_ERROR,
                                             {{QStringLiteral("path"), path}});
        return;
    }
    config->setInstallPath(path);
    updateGameState();
    startDownload(true);
}

void MainViewModel::onApplicationQuit()
{
    if (m_install) {
        disconnect(setupmanager::instance(), nullptr, this, nullptr);
        m_install->stopForQuit();
    }
    QCoreApplication::exit(0);
}

// The resource service carries no website or community address, so the page has no
// buttons for them; the calls stay harmless for pages that still make them.
void MainViewModel::onOpenWebsiteClick() {}

void MainViewModel::onOpenbbsClick() {}

bool MainViewModel::isDownloadNotComplated()
{
    const QString folder = LauncherConfig::instance()->installPath();
    if (folder.isEmpty() || !m_manifest || !m_install)
        return false;
    const QString name = m_install->downloader()->savedFileName(
        m_install->jobFor(m_currentGameVersion, folder).package.url);
    return !name.isEmpty() &&
           QFileInfo::exists(folder + QLatin1Char('/') + name + QStringLiteral("_tmp"));
}

void MainViewModel::UpdateInfoByHttp()
{
    if (g_firstUpdateInfoCall) {
        g_firstUpdateInfoCall = false;
        return;
    }
    if (m_gameState != Downloading && m_gameState != Installing && m_gameState != Verifying)
        m_queries->restartResource();
    m_queries->restartContent();
    startLauncherUpdateCheck();
}

void MainViewModel::btnExitClick()
{
    LauncherConfig *config = LauncherConfig::instance();
    int exitType = config->readInt(QStringLiteral("exit_type"));
    if (config->readBool(QStringLiteral("is_first_exit"), QString(), true)) {
        config->writeBool(QStringLiteral("is_first_exit"), false);
        exitType = m_dialogs.askCloseChoice();
        config->writeInt(QStringLiteral("exit_type"), exitType);
    }
    if (exitType == 1) {
        m_page.invoke("showMinimized");
        m_page.invoke("hide");
        m_page.invoke("raise");
        m_page.invoke("requestActivate");
    } else {
        m_page.invoke("close");
    }
}

void MainViewModel::btnSettingClick()
{
    if (m_settingDialog)
        m_dialogs.runCentred(m_settingDialog);
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
    if (!m_webReloadPending || !m_page.reloadWebView())
        return;
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

void MainViewModel::onResourceRefused(ErrorDefine::ErrorCode code, const QString &message)
{
    setGameState(QueryFailed);
    showTransferError(tr("message_download_error"), code, message);
}

void MainViewModel::checkLauncherVersion()
{
    if (compareVersion(QLatin1String(AppEnvironment::kLauncherVersion), m_manifest->minVersion()) <=
        0)
        return;
    const QUrl forceUrl(m_manifest->forceUpdateUrl(), QUrl::StrictMode);
    const bool canUpdate = forceUrl.isValid() && !forceUrl.isEmpty();
    m_dialogs.tellLauncherTooOld(canUpdate);
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

    m_page.hideCommunityButtons();

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

// --- install and update pipeline ------------------------------------------------------------

void MainViewModel::startDownload(bool onlyWhenNotInstalled)
{
    if (onlyWhenNotInstalled && m_gameState != NotInstalled)
        return;
    m_install->start(
        m_install->jobFor(m_currentGameVersion, LauncherConfig::instance()->installPath()));
}

void MainViewModel::showTransferError(const QString &headline, ErrorDefine::ErrorCode error,
                                      const QString &msg)
{
    showMessageBox(headline, QStringLiteral("[%1]:%2").arg(int(error)).arg(msg), true);
}

void MainViewModel::onGameInstalled(const QString &version)
{
    m_currentGameVersion = version;
    emit versionChanged(version);
    updateGameState();
}

void MainViewModel::startLauncherUpdateCheck()
{
    if (m_launcherUpdate)
        m_launcherUpdate->check();
}

void MainViewModel::onStartUpdate(AppVersionInfo updateInfo)
{
    if (m_launcherUpdate)
        m_launcherUpdate->startUpdate(updateInfo);
}

void MainViewModel::showAboutDialog()
{
    m_dialogs.showAbout(m_manifest ? m_manifest->version() : QString());
}

// --- game check and repair -----------------------------------------------------------------

void MainViewModel::connectGameRepair()
{
    m_gameRepair = new GameRepairFlow(this);
    m_gameRepair->setGameGuard([this](std::function<void(bool)> proceed) {
        m_gameGuard->runWhenClosed(std::move(proceed));
    });
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
