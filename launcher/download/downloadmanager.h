#pragma once

#include "errordefine.h"
#include "packageadmission.h"
#include "packagetrust.h"
#include "streamdigest.h"
#include "recordwriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslError>
#include <QSettings>
#include <QThread>
#include <QUrl>

#include <memory>

class downloadtask;

// Turns one package URL into one file in a chosen folder: sizes it with HEAD (following
// redirects), preallocates "<name>_tmp", lets a ranged task fill it while recording after every
// write how far it got, renames it when complete, and checks its MD5 on a worker thread.
class downloadmanager : public QObject
{
    Q_OBJECT
public:
    explicit downloadmanager(QObject *parent = nullptr);
    ~downloadmanager() override;

    bool isDownloading() const { return m_downloading; }
    QUrl url() const { return m_url; }
    QString tempFilePath() const;
    QString finalFilePath() const;
    // The name the package is saved under: the last redirect target's file name once the size
    // answer has come, and until then the one an earlier run resolved for this address.
    QString fileName() const { return m_fileName; }
    // The name a package at this address is (or would be) saved under, without touching the
    // current download.
    QString savedFileName(const QUrl &requestUrl) const;
    QList<downloadtask *> tasks() const { return m_tasks; }
    // How long a task may receive nothing before it restarts (10 s unless a test shortens it).
    void setStallTimeout(int ms);
    // The package the publisher signed: with trusted keys configured, a download starts only
    // when its statement can pass and a finished file passes only when its signature and
    // digests match it. With keys, a download that names no package and is not page art
    // (setUntrustedArt) is refused. Cleared by clearExpectedPackage.
    void setExpectedPackage(const SignedPackage &package);
    void setUntrustedArt();
    void clearExpectedPackage();
    // What the resource answer says about the package: its size (used when the server will not
    // tell it with HEAD) and its file name (the name it is saved and unpacked under, when it is
    // a plain archive name). Set before setUrl; 0 and empty mean unknown.
    void setExpectedSize(qint64 size) { m_expectedSize = size; }
    void setPackageName(const QString &name) { m_packageName = name; }
    // Opt-in for the game package: when the package no longer matches what the answer said
    // (MD5 differs, the address is gone after a resume), sourceRefreshNeeded() asks for the
    // answer again instead of reporting, and sourceRefreshed() carries the new one.
    void setRefreshOnStale(bool on) { m_refreshOnStale = on; }
    // A file name a server may choose: one plain name with an archive suffix the setup opens.
    static bool isPackageFileName(const QString &name);
    // The name bytes from this address are saved under when nothing better names them: the
    // address's own file name when it is a package's, otherwise one made from the address.
    static QString addressFileName(const QUrl &url);
    // The file name of a Content-Disposition header, or empty.
    static QString dispositionFileName(const QByteArray &header);

signals:
    void downloadReplyProgress(qint64 bytesRead, qint64 totalBytes);
    void downloadFinished();
    void downloadError(ErrorDefine::ErrorCode error, QString msg);
    void httpError(ErrorDefine::ErrorCode error, QString msg);
    void md5CheckStart();
    void md5CheckFinish();
    void sourceRefreshNeeded();

public slots:
    void setUrl(QUrl requestUrl);
    void setFilePath(QString path);
    void initTasks();
    void startDownload();
    void stopDownlaod();
    void resetDownload();
    void networkReplyProgress(qint64 size);
    void httpReadyRead(QByteArray buffer, qint64 startPosition, int taskId);
    void httpNetworkError(QNetworkReply::NetworkError error, QString msg);
    void httpStatusCodeError(int error, QString msg);
    qint64 getDownloadedSize();
    qint64 getTotalSize();
    void setFileMD5(QString md5);
    void headerResponseFinished();
    void getFileMd5(QString fileMD5);
    void fileMd5(QString filePath);
    // The resource answer asked for by sourceRefreshNeeded(); an empty url means it could not
    // be had, and the held error is reported.
    void sourceRefreshed(QUrl url, QString md5, qint64 size, QString name);

private:
    void onDigests(const QString &md5, const QString &sha256, qint64 size);
    void startDigestWorker(const QString &filePath, bool wantSha256);
    bool signatureRequired() const;
    void sendSizeRequest();
    void abortSizeRequest();
    void failSizeRequest(int status);
    bool openTempFile();
    void completeDownload();
    void renameFinished(bool ok);
    void releaseTransfer();
    void failWrite(ErrorDefine::ErrorCode code, const QString &msg);
    bool anyTaskRunning() const;
    void flushRecord(bool now = false);
    QString recordGroup() const { return m_fileName; }
    void adoptResolvedName();
    QString recordKey(int taskId) const;
    downloadtask *taskById(int taskId) const;
    void onObjectChanged(const QByteArray &validator, qint64 size);
    void onObjectIdentified(const QByteArray &validator, qint64 size);
    QByteArray recordedValidator() const;
    void useFallbackSize(int status, const QString &why);
    void holdForRefresh(ErrorDefine::ErrorCode code, const QString &msg);
    QString statusMessage(int status) const;

    QUrl m_url;
    QUrl m_requestedUrl;
    QString m_fileName;
    QString m_folder;
    std::unique_ptr<QFile> m_file;
    qint64 m_totalSize = 0;
    bool m_sizeKnown = false;
    QString m_expectedMd5;
    QList<downloadtask *> m_tasks;
    bool m_sizePending = false;
    QNetworkReply *m_sizeReply = nullptr;
    QList<QSslError> m_sizeSslErrors;
    int m_redirects = 0;
    QNetworkAccessManager m_network;
    bool m_downloading = false;
    int m_stallTimeoutMs;
    QSettings m_settings;
    bool m_recordDirty = false;
    QElapsedTimer m_recordClock;
    // Writes the record off the GUI thread; completion's rename goes through it too.
    recordwriter m_records;
    bool m_renaming = false;
    QList<QPointer<QThread>> m_md5Threads;
    PackageAdmission m_admission;
    streamdigest m_digest;
    bool m_streamDigests = false;
    // The file the streaming digest describes once a download completed; empty otherwise.
    QString m_digestedFile;

    qint64 m_expectedSize = 0;
    QString m_packageName;
    QString m_dispositionName;
    // The validator of the object as the size answer named it (empty when unknown).
    QByteArray m_headValidator;
    // Object changes seen in this download; a server whose object never holds still must end.
    int m_objectChanges = 0;
    bool m_refreshOnStale = false;
    // What waits for the refreshed answer: the error to report when nothing changed, the MD5
    // the answer gave when the check failed, and the MD5 and SHA-256 the file actually has.
    bool m_refreshPending = false;
    ErrorDefine::ErrorCode m_heldCode = ErrorDefine::DEFAULTT;
    QString m_heldMessage;
    QString m_staleMd5;
    QString m_fileMd5;
    QString m_fileSha256;
    qint64 m_fileSize = -1;
};
