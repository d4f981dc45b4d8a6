#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>

#include "appversioninfo.h"
#include "errordefine.h"

#include <functional>

class ApplicationInfo;
class CDlgYesNo;
class CSetInstallPathDialog;
class DlgSetting;
class GameEntry;
class GameExitWatcher;
class GameRepairFlow;
class PatchUpdate;
class QDialog;
class UpdateProgram;
class HttpRequestAPI;
class PromoArtCache;
class UpdateVersionInfo;
class downloadmanager;
class setupmanager;

// The one object the launcher's page talks to: it keeps the game's install state, exposes it
// to the page as boolean properties, offers the page's buttons as invokable methods and
// writes a few page items directly through their object names.
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
    void setLanguageCode(const QString &code) { m_languageCode = code; }
    QString languageCode() const { return m_languageCode; }
    void setMainWindowHandle(quintptr handle) { m_mainWindowHandle = handle; }
    quintptr mainWindowHandle() const { return m_mainWindowHandle; }

    void initialize();
    void setRootObject(QObject *root);
    QObject *rootObject() const { return m_rootObject; }

    int gameState() const { return m_gameState; }
    void setGameState(int state, bool notify = true);

    // Asks the user through the shared message box over the dimmed page; the action gets the
    // answer. Returns the box's result (1 accepted, 0 otherwise).
    int showMessageBox(const QString &title, const QString &text, bool withCancel,
                       DialogAction action = {});

    QString updateShowVersion();
    float progress() const { return m_progress; }
    bool startGameEnable() const;
    bool startGameVisible() const;
    bool updateEnable() const;
    bool installEnable() const;
    bool downloading() const;
    bool setupGameing() const;
    QString installPath() const;
    void setInstallPath(const QString &path);
    QString bgPath() const;
    QString reportParam() const;
    QString mainBgUrl() const;
    QString versionTitle() const;
    QString versionDesc() const;
    QString versionTitleColor() const;
    QString versionDescColor() const;

    // An install path with doubled separators and a trailing one made single and bare.
    static QString normalizedInstallPath(QString path);
    // The install-folder rule: the path must end in the game's own folder.
    static QString withGameFolder(const QString &path);
    static qint64 availableBytes(const QString &path);

    // The shown form of an install path: long paths keep their first and last 40 characters.
    static QString elidedPath(const QString &path);

    // Hidden about gesture: true when this click completes ten clicks within five seconds.
    // Exposed with an explicit clock so the rule can be checked without waiting.
    static bool registerAboutClick(qint64 nowMs);

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
    Q_INVOKABLE bool hasNewProgramVersion();

private:
    QObject *findItem(const QString &objectName) const;
    QString idleSpeedText() const;
    QString downloadProgressText(const QString &label, qint64 bytesRead, qint64 totalBytes) const;
    void setItemProperty(const QString &objectName, const char *property, const QVariant &value);
    void setMaskVisible(bool visible);
    QRect rootArea() const;
    void invokeOnRoot(const char *method, Qt::ConnectionType type = Qt::QueuedConnection);

    // Server queries and the page state they decide.
    void sendResourceQuery();
    void sendContentQuery();
    void onResourceAnswer(bool ok, const QByteArray &body, const QString &error, int status);
    void onContentAnswer(bool ok, const QByteArray &body, const QString &error, int status);
    void askToRetryResourceQuery(bool withCancel);
    void answerDownloadRefresh(bool answered);
    void retryContentQuery();
    void askToRetryContentQuery();
    void checkLauncherVersion();
    void refreshPage(bool computeState = true);
    void updateGameState();
    GameEntry gameEntry() const;
    void onBackgroundDownloaded(const QUrl &url, const QString &name);
    void onIconDownloaded(const QUrl &url, const QString &name);

    // Install and update pipeline.
    void startDownload(bool onlyWhenNotInstalled);
    void showProgressFraction(float fraction);
    void setPauseButtonImages(const QString &stem);
    void onDownloadProgress(qint64 bytesRead, qint64 totalBytes);
    void onDownloadFinished();
    void onDownloadError(ErrorDefine::ErrorCode error, QString msg);
    void onHttpError(ErrorDefine::ErrorCode error, QString msg);
    void showTransferError(const QString &headline, ErrorDefine::ErrorCode error,
                           const QString &msg);
    void onMd5CheckFinished();
    bool isGameRunning() const;
    void startSetupGuarded();
    bool fallBackFromPatch(const QString &why);
    void onSetupProgress(qlonglong finishSize, qlonglong totalSize);
    void onSetupFinished();
    void onSetupError(ErrorDefine::ErrorCode error, QString msg);
    QVariantMap firstPlugin() const;
    void preparePlugin();
    void checkPlugin(bool allowInstaller);
    void onPluginDownloaded();
    void onPluginMd5Finished();

    // Game check and repair from the settings dialog.
    void connectGameRepair();
    void startGameRepair();
    void runWhenGameClosed(std::function<void(bool)> proceed);

    // Launcher update and the dialogs.
    void startLauncherUpdateCheck();
    // Centres a dialog on the page, dims the page while it runs modally.
    int runCentred(QDialog *dialog);
    void showAboutDialog();
    int askCloseChoice();

    bool m_startedByUpdater = false;
    DlgSetting *m_settingDialog = nullptr;
    float m_lastShownProgress = -1.0f;
    QTimer m_md5TipTimer;
    bool m_webReloadPending = true;
    QString m_languageCode = QStringLiteral("en");
    QString m_currentGameVersion;
    float m_progress = 0.0f;
    int m_resourceQueryAttempts = 0;
    // The game download waits for a fresh resource answer (its package changed or vanished).
    bool m_downloadRefreshPending = false;
    int m_contentQueryAttempts = 0;
    qint64 m_setupStartTime = 0;
    QDateTime m_rateSampleTime;
    qint64 m_downloadRateBaseline = 0;
    qint64 m_setupRateBaseline = 0;
    QPointer<QObject> m_rootObject;
    int m_gameState = Checking;
    HttpRequestAPI *m_resourceRequest = nullptr;
    HttpRequestAPI *m_contentRequest = nullptr;
    UpdateVersionInfo *m_manifest = nullptr;
    downloadmanager *m_gameDownloader = nullptr;
    downloadmanager *m_pluginDownloader = nullptr;
    setupmanager *m_gameSetup = nullptr;
    setupmanager *m_pluginSetup = nullptr;
    CSetInstallPathDialog *m_installPathDialog = nullptr;
    PromoArtCache *m_backgroundArt = nullptr;
    PromoArtCache *m_iconArt = nullptr;
    DialogAction m_pendingDialogAction;
    CDlgYesNo *m_messageBox = nullptr;
    bool m_updateInProgress = false;
    ApplicationInfo *m_appInfo = nullptr;
    UpdateProgram *m_updateProgram = nullptr;
    quintptr m_mainWindowHandle = 0;
    GameExitWatcher *m_gameExitWatcher = nullptr;
    GameRepairFlow *m_gameRepair = nullptr;
    PatchUpdate *m_patchUpdate = nullptr;
    bool m_packageIsPatch = false;
};
