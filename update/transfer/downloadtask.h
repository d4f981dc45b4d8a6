#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QFile;
class QNetworkReply;
class QThread;
class TaskModel;

// One resumable package download: the bytes gather in "<name>_tmp", a restart asks only for
// what is missing, and the file takes its final name once its digest matched.
class DownloadTask : public QObject
{
    Q_OBJECT
public:
    explicit DownloadTask(QObject *parent = nullptr);
    ~DownloadTask() override;

    // Takes a copy of the record's address, digest, folder and size.
    void setTaskModel(TaskModel *taskModel);
    TaskModel *taskModel() const { return m_taskModel; }
    QUrl url() const { return m_url; }

    // Without force, a complete package already at the final name is checked first.
    void start(bool force);
    // Ends the running transfer; the partial file stays open so that start(false) resumes.
    void stop(bool abort);
    bool checkExistFile();
    bool isMd5Match(const QString &md5String) const;
    void verifyDownload(const QString &path);
    void finishDownload();
    void getFileSize();
    void failTask(int error, const QString &msg);
    void releaseTask();

    // No progress for this long counts as a stall (10 s unless set).
    void setStallInterval(int msec) { m_timer.setInterval(msec); }

    bool isStopped() const { return m_stopped; }
    bool isDone() const { return m_done; }

signals:
    void fileSize(int error, QString msg, TaskModel *taskModel);
    void progress(qlonglong bytesReceived, qlonglong bytesTotal, TaskModel *taskModel);
    void readyRead(QByteArray buffer, TaskModel *taskModel);
    void downloadFinish(TaskModel *taskModel);
    void checkMD5Finish(TaskModel *taskModel);
    void finish(TaskModel *taskModel);
    void error(int error, QString msg, TaskModel *taskModel);

public slots:
    void onHeaderReponse();
    void onDownloadFinished();
    void onDownloadReadyRead();
    void onNetworkReplyProgress(qlonglong bytesReceived, qlonglong bytesTotal);
    void onTimeOut();
    void onGetFileMD5(QString md5String);
    void onGetFileSize();
    void onGetExistFileMD5(QString md5String);

private:
    // Hashes path on the digest thread; the result goes to the given slot.
    bool startDigest(const QString &path, void (DownloadTask::*slot)(QString));
    void dropHeadReply();
    void handleRangeNotSatisfiable();

    TaskModel *m_taskModel = nullptr;
    QNetworkReply *m_headReply = nullptr;
    QNetworkAccessManager m_headManager;
    QFile *m_file = nullptr;
    QThread *m_digestThread = nullptr;
    QUrl m_url;
    QNetworkAccessManager m_manager;
    QNetworkReply *m_reply = nullptr;
    int m_retryCount = 1;
    QTimer m_timer;
    qint64 m_offset = 0;
    bool m_stopped = true;
    bool m_done = false;
    int m_redirects = 0;
    // A digest is under way; its result decides what happens next.
    bool m_digesting = false;
};
