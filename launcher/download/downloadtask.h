#pragma once

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QSslError>
#include <QTimer>
#include <QUrl>

// Fetches one byte range of one URL and hands every piece to its manager together with the file
// position it belongs at. It never touches the file; it restarts itself after stalls and broken
// connections from the first byte the manager has not yet been given.
class downloadtask : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultStallTimeoutMs = 10000;
    // Failures in a row, without a byte arriving in between, before the task gives up: any
    // progress refills the budget, so a server that drops every connection after a while
    // still delivers the whole range.
    static constexpr int kRetryLimit = 5;
    // The wait before the second and later restarts in a row doubles from this, up to
    // kMaxBackoffMs; the first restart after progress is immediate.
    static constexpr int kDefaultBackoffMs = 500;
    static constexpr int kMaxBackoffMs = 8000;
    // A server's Retry-After is honoured up to this long.
    static constexpr int kMaxRetryAfterMs = 60000;
    // What the network layer may hold ahead of the disk. A 50 KiB buffer costs one hand-over
    // between Qt's network thread and ours per 50 KiB, which caps a loopback or LAN transfer
    // at about half of curl's speed; 1 MiB removes that cap and still bounds memory.
    static constexpr qint64 kReadBufferSize = 1024 * 1024;

    explicit downloadtask(QObject *parent = nullptr);
    ~downloadtask() override;

    int taskId() const { return m_taskId; }
    qint64 rangeStart() const { return m_start; }
    qint64 rangeEnd() const { return m_end; }
    bool isStopped() const { return m_stopped; }
    bool isFinished() const { return m_finished; }
    int retryCount() const { return m_retryCount; }

    // The bytes of the range already on disk; the manager owns this count.
    qint64 downloaded() const { return m_downloaded; }
    void addDownloaded(qint64 count) { m_downloaded += count; }
    // Back to a fresh, stopped, unfinished task with nothing downloaded.
    void reset();

    // How long the transfer may go without any data before it counts as stalled.
    void setStallTimeout(int ms) { m_watchdog.setInterval(ms); }
    void setRetryBackoff(int ms) { m_backoffMs = ms; }
    // The object's validator (strong ETag or Last-Modified) the bytes on disk came from; sent
    // as If-Range on a resume so that a replaced object cannot be spliced onto them.
    void setValidator(const QByteArray &validator) { m_validator = validator; }
    QByteArray validator() const { return m_validator; }
    // The last failure's certificate trouble, if any (for a plain-word message).
    QList<QSslError> sslErrors() const { return m_sslErrors; }
    // The last retryable status (503...) the task gave up on; 0 when none.
    int lastBusyStatus() const { return m_busyStatus; }
    // Bounds how much the running reply buffers, so that a slow disk throttles the network.
    void setReadBufferSize(qint64 size);

signals:
    void progress(qint64 bytesReceived);
    void readyRead(QByteArray data, qint64 position, int taskId);
    void networkError(QNetworkReply::NetworkError error, QString msg);
    void httpStatusCodeError(int error, QString msg);
    // The object at the address is not the one the bytes on disk came from (If-Range answered
    // with the whole new object, 416, or another total size): the task stopped; the file must
    // start over. size is the new object's length, or -1 when the answer did not say.
    void objectChanged(QByteArray validator, qint64 size);
    // The first answer of a transfer from byte 0 named its object (validator may be empty).
    void objectIdentified(QByteArray validator, qint64 size);

public slots:
    void setUrl(QUrl requestUrl, qint64 start, qint64 end, qint64 size, int taskIdentifier);
    void start();
    void stop();

private slots:
    void downloadFinished();
    void downloadReadyRead();
    void networkReplyProgress(qint64 bytesRead);
    void timeout();

private:
    QUrl m_url;
    qint64 m_start = 0;
    qint64 m_end = 0;
    qint64 m_downloaded = 0;
    int m_taskId = 0;
    bool m_stopped = true;
    bool m_finished = false;
    int m_retryCount = 1;
    int m_retryLimit = kRetryLimit;
    QNetworkAccessManager m_network;
    QNetworkReply *m_reply = nullptr;
    QTimer m_watchdog;
    // Per reply: whether its status has been looked at, and how many leading body bytes lie
    // before the range (a server that ignores Range sends the resource from byte 0).
    bool m_replyChecked = false;
    qint64 m_skipBytes = 0;
    // Per reply: the first byte asked for, and how many body bytes a partial answer may still
    // bring (-1: not bounded by us).
    qint64 m_requestFrom = 0;
    qint64 m_bodyLeft = -1;

    bool partialAnswerMatches();
    void restartFromRangeStart(const QString &why);
    // Restarts after a failure when the budget allows (after a backoff or the server's
    // Retry-After); false when the budget is spent.
    bool retryLater(int delayMs = -1);
    QByteArray answerValidator() const;
    qint64 answerTotalSize() const;

    QByteArray m_validator;
    // Whether the running request carried If-Range, and whether it asked for no range at all
    // (a server that refuses ranges).
    bool m_sentIfRange = false;
    bool m_rangesRefused = false;
    int m_backoffMs = kDefaultBackoffMs;
    QTimer m_retryTimer;
    QList<QSslError> m_sslErrors;
    int m_busyStatus = 0;
};
