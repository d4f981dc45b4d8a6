#include "httprequestapi.h"

#include <QDebug>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include "errordefine.h"
#include "statusreport.h"

namespace {
const char kTooLargeProperty[] = "lunmereAnswerTooLarge";
} // namespace

HttpRequestAPI::HttpRequestAPI(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(kTimeoutMs);
    m_timer->setSingleShot(true);
    // A coarse timer may fire up to half a second early.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &HttpRequestAPI::OnTimeout);
    connect(m_manager, &QNetworkAccessManager::finished, this,
            &HttpRequestAPI::serviceRequestFinished);
}

HttpRequestAPI::~HttpRequestAPI()
{
    m_manager->disconnect(this);
    m_timer->stop();
    m_callback = nullptr;
    if (m_reply)
        m_reply->abort();
}

void HttpRequestAPI::setRawHeader(const QByteArray &name, const QByteArray &value)
{
    m_request.setRawHeader(name, value);
}

void HttpRequestAPI::get(const QString &url, Callback callback)
{
    detachReply();
    m_callback = std::move(callback);
    m_request.setUrl(QUrl(url));
    m_reply = m_manager->get(m_request);
    QNetworkReply *reply = m_reply;
    const qint64 limit = m_maxAnswerBytes;
    // Counted as the bytes arrive: the announced length may be missing or a lie.
    connect(reply, &QNetworkReply::downloadProgress, this,
            [reply, limit](qint64 received, qint64 total) {
                if (received > limit || total > limit) {
                    reply->setProperty(kTooLargeProperty, true);
                    reply->abort();
                }
            });
    m_timer->start();
}

void HttpRequestAPI::setReport(bool report)
{
    m_report = report;
}

void HttpRequestAPI::clearAccessCache()
{
    m_manager->clearAccessCache();
}

void HttpRequestAPI::detachReply()
{
    // The completion slot ignores a reply that is no longer m_reply. The detached request may
    // still finish on its own; it is bounded by a time-out of its own so that a silent server
    // cannot hold connections for ever.
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (reply && !reply->isFinished())
        QTimer::singleShot(kTimeoutMs, reply, [reply] { reply->abort(); });
}

void HttpRequestAPI::serviceRequestFinished(QNetworkReply *reply)
{
    if (reply != m_reply) {
        // An abandoned request: timed out or replaced by a newer get. Its answer belongs to
        // nobody, and the newer request's callback must not see it.
        reply->deleteLater();
        return;
    }
    m_reply = nullptr;
    m_timer->stop();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    qDebug() << "BaseAPI...serviceRequestFinished...statusCode:" << status;

    // The callback may start the next request or replace itself, so it runs from a copy and
    // nothing of this object is touched after it.
    const Callback callback = m_callback;
    reply->deleteLater();
    // The whole answer may have arrived in the very read that crossed the limit.
    const bool tooLarge =
        reply->property(kTooLargeProperty).toBool() || reply->bytesAvailable() > m_maxAnswerBytes;
    if (tooLarge || reply->error() != QNetworkReply::NoError) {
        const QString errorString = tooLarge ? QStringLiteral("[%1]:%2")
                                                   .arg(int(ErrorDefine::HTTP_ANSWER_TOO_LARGE))
                                                   .arg(tr("message_answer_too_large"))
                                             : reply->errorString();
        if (m_report) {
            const QMap<QString, QString> ext{
                {QStringLiteral("url"), reply->url().toString()},
                {QStringLiteral("statusCode"), QString::number(status)},
                {QStringLiteral("errorString"), errorString}};
            StatusReport::instance()->report(StatusReport::LAUNCHER_NETWORK_ERROR, ext);
        }
        if (callback)
            callback(false, QByteArray(), errorString, status);
        return;
    }
    const QByteArray body = reply->readAll();
    if (callback)
        callback(true, body, QString(), status);
}

void HttpRequestAPI::OnTimeout()
{
    // A late answer would otherwise reach whatever callback is stored by then (after a retry,
    // the new request's), so the timed-out request is forgotten and aborted. Abort emits
    // finished at once; m_reply is cleared first so that this is not taken for a network error.
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (reply)
        reply->abort();
    const QString error = ErrorDefine::errorName(ErrorDefine::HTTP_REQUEST_TIMEOUT);
    if (m_report) {
        const QMap<QString, QString> ext{{QStringLiteral("url"), m_request.url().toString()}};
        StatusReport::instance()->report(StatusReport::LAUNCHER_NETWORK_TIMEOUT, ext);
    }
    const Callback callback = m_callback;
    if (callback)
        callback(false, QByteArray(), error, kTimeoutStatus);
}
