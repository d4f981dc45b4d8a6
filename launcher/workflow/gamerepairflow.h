#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

#include "errordefine.h"
#include "gamefilelist.h"
#include "gameverifier.h"
#include "packagetrust.h"

class HttpRequestAPI;
class PackageItemExtractor;
class StoreRepair;
class QThread;
class downloadmanager;

// Verifies the installed game against the file list of its version and repairs what is
// missing or damaged: from the version's per-file store, when the list names one, only the
// damaged files are fetched by range requests; otherwise, or when the store does not answer
// as it should, the full package of that version is downloaded (resumed like any download)
// and only the damaged items are unpacked from it. Then the game is checked again. Files the
// list does not name are never touched.
class GameRepairFlow : public QObject
{
    Q_OBJECT
public:
    // Runs `proceed(true)` once the game no longer runs, or `proceed(false)` when the player
    // keeps it running; files are written only after a true.
    using GameGuard = std::function<void(std::function<void(bool)> proceed)>;

    // A file list for a game of a few hundred thousand files; a larger answer is refused.
    static constexpr qint64 kMaxFileListBytes = 64 * 1024 * 1024;

    explicit GameRepairFlow(QObject *parent = nullptr);
    ~GameRepairFlow() override;

    void setInstallFolder(const QString &folder) { m_folder = folder; }
    // The list's address, and the SHA-256 and size the manifest gives for it (may be empty/0).
    void setFileList(const QUrl &url, const QString &sha256, qint64 size);
    void setPackage(const QUrl &url, const QString &md5);
    // What the publisher signed for the full package. With trusted keys the package must match
    // it like an installed one, and the file list's digest comes from its statement alone.
    void setExpectedPackage(const SignedPackage &package) { m_expectedPackage = package; }
    void setLibraryPaths(const QStringList &paths) { m_libraryPaths = paths; }
    void setGameGuard(GameGuard guard) { m_guard = std::move(guard); }

    bool isRunning() const { return m_stage != Idle; }

public slots:
    void start();
    void cancel();

signals:
    void runningChanged(bool running);
    // One line for the player: what runs now, how far it got and the time left.
    void statusChanged(const QString &text);
    void repairFinished(int checked, int damaged, int repaired);
    void repairFailed(ErrorDefine::ErrorCode error, const QString &msg);
    void repairCancelled();

private:
    enum Stage {
        Idle,
        FetchingList,
        Verifying,
        FetchingObjects,
        Downloading,
        CheckingPackage,
        Unpacking,
        Rechecking
    };

    bool takeSignedListDigest();
    void onListAnswer(bool ok, const QByteArray &body, const QString &error, int status);
    void startVerify(Stage stage);
    void onVerifyProgress(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal);
    void onVerified(const GameVerifier::Result &result);
    void fetchObjects();
    void onObjectsFetched(bool ok, const QString &why);
    void fetchPackage();
    void onDownloadProgress(qint64 done, qint64 total);
    void onPackageChecked();
    void unpackOnceGameClosed();
    void unpackDamaged(bool gameClosed);
    void onExtractProgress(qlonglong done, qlonglong total);
    void onUnpacked();
    void stopVerifier();
    QString packagePath() const;
    void removePackage();
    QString timeLeft(qint64 done, qint64 total);
    void restartClock();
    void succeed(int checked);
    void fail(ErrorDefine::ErrorCode error, const QString &msg);
    void finishCancelled();
    void setStage(Stage stage);

    QString m_folder;
    QUrl m_listUrl;
    QString m_listSha256;
    qint64 m_listSize = 0;
    QUrl m_packageUrl;
    QString m_packageMd5;
    SignedPackage m_expectedPackage;
    QStringList m_libraryPaths;
    GameGuard m_guard;

    Stage m_stage = Idle;
    bool m_cancelRequested = false;
    GameFileList m_list;
    QStringList m_damaged;
    int m_missing = 0; // of m_damaged, the files that were not there at all
    HttpRequestAPI *m_request = nullptr;
    downloadmanager *m_downloader = nullptr;
    QThread *m_verifyThread = nullptr;
    GameVerifier *m_verifier = nullptr;
    PackageItemExtractor *m_extractor = nullptr;
    StoreRepair *m_store = nullptr; // while the damaged files come from the store
    ErrorDefine::ErrorCode m_extractErrorCode = ErrorDefine::DEFAULTT;
    QString m_extractError;
    QElapsedTimer m_clock;
    qint64 m_clockBase = 0;
};
