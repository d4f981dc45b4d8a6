#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

#include "errordefine.h"
#include "installjob.h"

class PageItems;
class PatchUpdate;
class PluginFlow;
class UpdateVersionInfo;
class downloadmanager;
class setupmanager;

// Installs or updates the game from one job: downloads the package (resumed like any
// download), checks it, waits for the game to be closed, then unpacks it or applies the
// patch, showing progress, speed and time left on the page. A patch that fails falls back to
// the difference package of the same version.
class InstallFlow : public QObject
{
    Q_OBJECT
public:
    // Runs `proceed(true)` once the game no longer runs, or `proceed(false)` when the player
    // keeps it running.
    using GameGuard = std::function<void(std::function<void(bool)> proceed)>;

    // manifest, page and plugin are not owned and must outlive this flow. The manifest is read
    // as it is at each step: a refreshed answer may name another package or version.
    InstallFlow(const UpdateVersionInfo *manifest, PageItems *page, PluginFlow *plugin,
                QObject *parent = nullptr);
    ~InstallFlow() override;

    void setGameGuard(GameGuard guard) { m_guard = std::move(guard); }
    void setGameRunningCheck(std::function<bool()> check) { m_gameRunning = std::move(check); }
    // Whether the update button (not the install button) asked last; the reports tell them
    // apart.
    void setUpdating(bool updating) { m_updating = updating; }

    // The job for installed in folder: the patch while it was not refused for installed.
    InstallJob jobFor(const QString &installed, const QString &folder) const;
    downloadmanager *downloader() const { return m_downloader; }
    float progress() const { return m_progress; }

    void start(const InstallJob &job);
    // Pauses a running download, or goes on with a paused one.
    void togglePause();
    // The resource query a stale download address asked for has ended (answered: with a
    // usable answer); the download goes on from the package the manifest now names.
    void answerSourceRefresh(bool answered, const QString &installed);
    // Ends the unpacking and the download as the launcher quits.
    void stopForQuit();
    void showIdleSpeed();
    void startCheckingTip();
    void showCheckingTip();

signals:
    void progressChanged();
    void gameStateWanted(int state);
    // The state follows from the installed and published versions again.
    void gameStateStale();
    void pageStale();
    void failed(const QString &headline, ErrorDefine::ErrorCode error, const QString &msg);
    void installed(const QString &version);
    // The patch was refused: the job is to be made again, for the difference package.
    void restartWanted();
    // The download's address went stale; answerSourceRefresh() follows a new resource answer.
    void sourceRefreshWanted();

private:
    void showProgressFraction(float fraction);
    QString downloadProgressText(const QString &label, qint64 bytesRead, qint64 totalBytes) const;
    QString idleSpeedText() const;
    void onDownloadProgress(qint64 bytesRead, qint64 totalBytes);
    void onDownloadFinished();
    void onDownloadError(ErrorDefine::ErrorCode error, QString msg);
    void onHttpError(ErrorDefine::ErrorCode error, QString msg);
    bool fallBackFromPatch(const QString &why);
    void onMd5CheckFinished();
    void startSetupGuarded();
    void onSetupProgress(qlonglong finishSize, qlonglong totalSize);
    void onSetupFinished();
    void onSetupError(ErrorDefine::ErrorCode error, QString msg);

    const UpdateVersionInfo *m_manifest = nullptr;
    PageItems *m_page = nullptr;
    PluginFlow *m_plugin = nullptr;
    GameGuard m_guard;
    std::function<bool()> m_gameRunning;
    bool m_updating = false;
    InstallJob m_job;
    bool m_refreshPending = false;

    downloadmanager *m_downloader = nullptr;
    setupmanager *m_setup = nullptr;
    PatchUpdate *m_patchUpdate = nullptr;
    QTimer m_checkingTipTimer;
    float m_progress = 0.0f;
    float m_lastShownProgress = -1.0f;
    qint64 m_setupStartTime = 0;
    QDateTime m_rateSampleTime;
    qint64 m_downloadRateBaseline = 0;
    qint64 m_setupRateBaseline = 0;
};
