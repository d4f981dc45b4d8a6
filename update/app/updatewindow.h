#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <QJsonObject>
#include <QStringList>

#include "dlgprogress.h"
#include "errordefine.h"
#include "replacerecovery.h"

class FileOperator;
class QThread;

// Drives the update from the command line to the end: download, extraction, replacement of
// the launcher's files with backups, and the way back to the launcher. Never shown itself;
// the user sees its progress dialog.
class UpdateWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum State {
        None = -1,
        Downloading = 1,
        Unzipping = 2,
        Replacing = 3,
        Succeeded = 4,
        // The undo could not put a held file back; only quitting is left.
        RollbackFailed = 5
    };

    explicit UpdateWindow(const QStringList &arguments, QWidget *parent = nullptr);
    ~UpdateWindow() override;

    void initUpdate();
    bool parseArguments();

    int state() const { return m_state; }
    int groupId() const { return m_groupId; }
    QString packageUrl() const { return m_packageUrl; }
    QString packageMd5() const { return m_packageMd5; }
    DlgProgress *progressDialog() { return &m_progressDlg; }

    // The progress line for a step's label and percentage, with the leading space the start
    // of a step shows.
    static QString progressText(const QString &label, qint64 percent, bool leadingSpace);
    // done * 100 / total, or 0 when the total is not known yet.
    static qint64 percentOf(qint64 done, qint64 total);
    // " 34.5 MB of 120 MB · 1.20 MB/s · 00:01:10 left" from the bytes and the rate since the
    // transfer began; only the sizes while no rate is known yet.
    static QString transferDetails(qint64 done, qint64 total, qint64 bytesSinceStart,
                                   qint64 elapsedMs);

public slots:
    bool initDownloadTask();
    void onUnzipProgress(qlonglong finishSize, qlonglong totalSize);
    void onUnzipFinish();
    void onUnzipError(int error, QString msg);
    void onDownloadProgress(qlonglong finishSize, qlonglong totalSize);
    void onDownloadFinish();
    void onDownloadError(int error, QString msg);
    void onClose();
    void onRetry();
    void onCopyprogress(int nFinsh, int nTotal);
    void onCopyFinish();
    void onCopyError(QString strError);

public:
    void startDownload();
    void startUnzip();
    bool startReplace();
    void closeUpdate();
    bool restoreBackup(const QString &source, const QString &destination);

private:
    // Shows the failure page of the current step.
    void showFailure(const QString &title, const QString &message);
    // A package the publisher did not sign as this launcher's release: shown with its code.
    void refuseSignature(ErrorDefine::ErrorCode code, const QString &why);
    static void removeFolder(const QString &path);
    static ReplaceRecovery recovery();
    void onUnzipRunEnded();

    QStringList m_arguments;
    QString m_packageUrl;
    QString m_packageMd5;
    QJsonObject m_packageSignature;
    DlgProgress m_progressDlg;
    QThread *m_copyThread = nullptr;
    FileOperator *m_fileOperator = nullptr;
    int m_groupId = -1;
    // The rate of this download: the clock and the bytes there were when it started.
    QElapsedTimer m_downloadClock;
    qint64 m_downloadBase = -1;
    int m_state = None;
    // An item of the package failed to unpack in this run: the run's end must not lead to
    // replacing the launcher with an incomplete copy.
    bool m_unzipItemFailed = false;
    // A retry clicked while the failed run still unpacks: it starts once that run has ended.
    bool m_retryUnzipWhenDone = false;
};
