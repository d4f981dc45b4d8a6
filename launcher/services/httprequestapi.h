#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// The launcher's small GET client for its web services: one request at a time, a 10-second
// time-out, the raw body handed to a callback. Network failures and time-outs are reported to
// the telemetry service unless reporting is turned off.
class HttpRequestAPI : public QObject
{
    Q_OBJECT
public:
    // ok is false for a network error or a time-out; success is ok together with status 200.
    using Callback =
        std::function<void(bool ok, const QByteArray &body, const QString &error, int status)>;

    static constexpr int kTimeoutMs = 10000;
    // The status handed over on a time-out: no HTTP reply carries it.
    static constexpr int kTimeoutStatus = 638;
    // A resource, content or release answer is a few KiB; anything past this is cut off with
    // HTTP_ANSWER_TOO_LARGE rather than held in memory.
    static constexpr qint64 kDefaultMaxAnswerBytes = 4 * 1024 * 1024;

    explicit HttpRequestAPI(QObject *parent = nullptr);
    ~HttpRequestAPI() override;

    // Kept on the request for every later get of this instance.
    void setRawHeader(const QByteArray &name, const QByteArray &value);
    // Sends a GET and returns at once; the callback runs later on this object's thread, exactly
    // once for this request. A get while an earlier request is outstanding lets the earlier one
    // finish (a report still reaches its service) but its answer reaches no callback.
    void get(const QString &url, Callback callback);
    void setReport(bool report);
    // The largest answer body taken in by later gets; larger ones fail as they arrive.
    void setMaxAnswerBytes(qint64 bytes) { m_maxAnswerBytes = bytes; }
    bool isReport() const { return m_report; }
    void clearAccessCache();

private slots:
    void serviceRequestFinished(QNetworkReply *reply);
    void OnTimeout();

private:
    void detachReply();

    QNetworkRequest m_request;
    QNetworkAccessManager *m_manager = nullptr;
    QTimer *m_timer = nullptr;
    Callback m_callback;
    // The reply of the outstanding request; null once it has been answered or timed out.
    QNetworkReply *m_reply = nullptr;
    bool m_report = true;
    qint64 m_maxAnswerBytes = kDefaultMaxAnswerBytes;
};
