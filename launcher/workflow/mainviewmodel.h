#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>

#include "appversioninfo.h"
#include "errordefine.h"
#include "installfolder.h"
#include "launcherupdateflow.h"
#include "pagedialogs.h"
#include "pageitems.h"
#include "serverqueries.h"

#include <functional>

class CDlgYesNo;
class CSetInstallPathDialog;
class DlgSetting;
class GameEntry;
class GameExitWatcher;
class GameRepairFlow;
class InstallFlow;
class RunningGameGuard;
class PluginFlow;
class UpdateVersionInfo;

// The one object the launcher's page talks to: it keeps the game's install state, exposes it
// to the page as boolean properties and offers the page's buttons as invokable methods. The
// work is done by flows it wires to the page: the server queries, the install, the plug-in,
// the game repair; the page items it writes by object name are in PageItems.
class MainViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString updateShowVersion READ updateShowVersion NOTIFY gameStateChanged)
    Q_PROPERTY(float progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(bool startGameEnable READ startGameEnable NOTIFY gameStateChanged)
    Q_PROPERTY(bool startGameVisible READ startGameVisible NOTIFY gameStateChanged)
    Q_PROPERTY(bool updateEnable READ updateEnable NOTIFY gameStateChanged)
    Q_PROPERTY(bool installEnable READ installEnable NOTIFY gameStateChanged)
    Q_PROPERTY(bool downloading READ downloading NOTIFY gameStateChanged)
    Q_PROPERTY(bool setupGameing READ setupGameing NOTIFY gameStateChanged)
    Q_PROPERTY(bool isDownloadNotComplated READ isDownloadNotComplated NOTIFY gameStateChanged)
    Q_PROPERTY(QString installPath READ installPath WRITE setInstallPath NOTIFY installPathChanged)
    Q_PROPERTY(QString bgPath READ bgPath NOTIFY bgPathChanged)
    Q_PROPERTY(QString reportParam READ reportParam CONSTANT)
    Q_PROPERTY(QString mainBgUrl READ mainBgUrl NOTIFY mainBgResChanged)
    Q_PROPERTY(QString versionTitle READ versionTitle NOTIFY versionTitleChanged)
    Q_PROPERTY(QString versionDesc READ versionDesc NOTIFY versionDescChanged)
    Q_PROPERTY(QString versionTitleColor READ versionTitleColor NOTIFY versionTitleColorChanged)
    Q_PROPERTY(QString versionDescColor READ versionDescColor NOTIFY versionDescColorChanged)
    Q_PROPERTY(bool hasNewProgramVersion READ hasNewProgramVersion NOTIFY newProgramVersionUpdate)

public:
    // The launcher's own folder: the default install place and the plug-in's.
    static QString launcherFolder();

    enum GameState {
        Checking = 1,
        NotInstalled = 2,
        Installed = 3,
        UpdateAvailable = 4,
        Downloading = 6,
        Installing = 7,
        QueryFailed = 8,
        Verifying = 9,
    };
    Q_ENUM(GameState)

    using DialogAction = std::function<void(bool)>;

    explicit MainViewModel(QObject *parent = nullptr);
    ~MainViewModel() override;

    // Start-up facts.
    void setStartedByUpdater(bool value) { m_startedByUpdater = value; }
    bool startedByUpdater() const { return m_startedByUpdater; }
    void setLanguageCode(const QString &code);
    QString languageCode() const { return m_languageCode; }
    void setMainWindowHandle(quintptr handle) { m_mainWindowHandle = handle; }
    quintptr mainWindowHandle() const { return m_mainWindowHandle; }

    void initialize();
    void setRootObject(QObject *root);
    QObject *rootObject() const { return m_page.root(); }

    int gameState() const { return m_gameState; }
    void setGameState(int state, bool notify = true);

    // Asks the user through the shared message box over the dimmed page; the action gets the
    // answer. Returns the box's result (1 accepted, 0 otherwise).
    int showMessageBox(const QString &title, const QString &text, bool withCancel,
                       DialogAction action = {});

    QString updateShowVersion();
    float progress() const;
    bool startGameEnable() const { return m_gameState == Installed; }
    bool startGameVisible() const;
    bool updateEnable() const { return m_gameState == UpdateAvailable; }
    bool installEnable() const { return m_gameState == NotInstalled; }
    bool downloading() const { return m_gameState == Downloading; }
    bool setupGameing() const { return m_gameState == Installing || m_gameState == Verifying; }
    QString installPath() const;
    void setInstallPath(const QString &path);
    QString bgPath() const;
    QString reportParam() const;
    QString mainBgUrl() const { return ServerQueries::webPageUrl(m_languageCode); }
    QString versionTitle() const;
    QString versionDesc() const;
    QString versionTitleColor() const;
    QString versionDescColor() const;

    // The install folder's rules (InstallFolder), under the names the tests and tools know.
    static QString normalizedInstallPath(QString path)
    {
        return InstallFolder::normalized(std::move(path));
    }
    static QString withGameFolder(const QString &path)
    {
        return InstallFolder::withGameFolder(path);
    }
    static qint64 availableBytes(const QString &path)
    {
        return InstallFolder::availableBytes(path);
    }
    static QString elidedPath(const QString &path) { return InstallFolder::elided(path); }

    // Hidden about gesture: true when this click completes ten clicks within five seconds.
    // Exposed with an explicit clock so the rule can be checked without waiting.
    static bool registerAboutClick(qint64 nowMs) { return PageDialogs::registerAboutClick(nowMs); }

signals:
    void versionChanged(QString version);
    void progressChanged();
    void gameStateChanged();
    void installPathChanged();
    void bgPathChanged(QString path);
    void mainBgResChanged();
    void versionTitleChanged(QString title);
    void versionDescChanged(QString desc);
    void versionTitleColorChanged(QString color);
    void versionDescColorChanged(QString color);
    void newProgramVersionUpdate();

public slots:
    void onStartUpdate(AppVersionInfo updateInfo);
    void onQueryProgremUpdate();
    void onExit();
    void onNewProgramVersionUpdate();
    void handleMessage(const QString &message);
    void startInstall();
    void UpdateInstallPath(QString strPath);
    void onDlgYesNoConfirmClicked(bool value);
    void UpdateCheckMd5Tip();
    void onGlobalMetaDataDismiss();
    void onGlobalMetaDataError();
    void onStartMd5Check();

public:
    Q_INVOKABLE void startGameBtnClicked();
    Q_INVOKABLE void updateBtnClicked();
    Q_INVOKABLE void changeInstallPathBtnClicked();
    Q_INVOKABLE void pauseBtnClicked();
    Q_INVOKABLE void installEnsureBtnClicked();
    Q_INVOKABLE void onGeneralDialogConfirmClicked(bool value);
    Q_INVOKABLE void onApplicationQuit();
    Q_INVOKABLE void onOpenWebsiteClick();
    Q_INVOKABLE void onOpenbbsClick();
    Q_INVOKABLE bool isDownloadNotComplated();
    Q_INVOKABLE void UpdateInfoByHttp();
    Q_INVOKABLE void btnExitClick();
    Q_INVOKABLE void btnSettingClick();
    Q_INVOKABLE void appInfoAreaClick();
    Q_INVOKABLE void singleReloadWeb();
    Q_INVOKABLE QString btnMoreActiveJumpUrl();
    Q_INVOKABLE bool hasNewProgramVersion() { return LauncherUpdateFlow::hasNewVersion(); }

private:
    void sendResourceQuery();
    void onResourceRefused(ErrorDefine::ErrorCode code, const QString &message);
    void checkLauncherVersion();
    void refreshPage(bool computeState = true);
    void updateGameState();
    GameEntry gameEntry() const;
    void startDownload(bool onlyWhenNotInstalled);
    void showTransferError(const QString &headline, ErrorDefine::ErrorCode error,
                           const QString &msg);
    void onGameInstalled(const QString &version);

    // Game check and repair from the settings dialog.
    void connectGameRepair();
    void startGameRepair();

    // Launcher update and the dialogs.
    void startLauncherUpdateCheck();
    void showAboutDialog();

    bool m_startedByUpdater = false;
    DlgSetting *m_settingDialog = nullptr;
    bool m_webReloadPending = true;
    QString m_languageCode = QStringLiteral("en");
    QString m_currentGameVersion;
    PageItems m_page;
    PageDialogs m_dialogs{&m_page};
    int m_gameState = Checking;
    UpdateVersionInfo *m_manifest = nullptr;
    ServerQueries *m_queries = nullptr;
    InstallFlow *m_install = nullptr;
    PluginFlow *m_plugin = nullptr;
    CSetInstallPathDialog *m_installPathDialog = nullptr;
    CDlgYesNo *m_messageBox = nullptr;
    LauncherUpdateFlow *m_launcherUpdate = nullptr;
    quintptr m_mainWindowHandle = 0;
    GameExitWatcher *m_gameExitWatcher = nullptr;
    GameRepairFlow *m_gameRepair = nullptr;
    RunningGameGuard *m_gameGuard = nullptr;
};
