#include "downloadtask.h"

#include <QDateTime>
#include <QDebug>
#include <QNetworkRequest>

downloadtask::downloadtask(QObject *parent)
    : QObject(parent)
{
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(kDefaultStallTimeoutMs);
    connect(&m_watchdog, &QTimer::timeout, this, &downloadtask::timeout);
}

downloadtask::~downloadtask()
{
    stop();
}

void downloadtask::setUrl(QUrl requestUrl, qint64 start, qint64 end, qint64 size,
                          int taskIdentifier)
{
    m_url = requestUrl;
    m_start = start;
    m_end = end;
    m_downloaded = size;
    m_taskId = taskIdentifier;
    m_reply = nullptr;
}

void downloadtask::reset()
{
    stop();
    m_downloaded = 0;
    m_finished = false;
}

void downloadtask::setReadBufferSize(qint64 size)
{
    if (m_reply)
        m_reply->setReadBufferSize(size);
}

void downloadtask::start()
{
    if (!m_stopped || m_finished)
        return;
    m_stopped = false;

    const qint64 from = m_start + m_downloaded;
    // Nothing left to fetch: the task stays "running" and the manager decides completion.
    if (from >= m_end)
        return;

    QNetworkRequest request(m_url);
    request.setRawHeader("Range", QStringLiteral("bytes=%1-%2").arg(from).arg(m_end).toLatin1());
    // Byte positions must be those of the resource itself, never of a compressed rendition.
    request.setRawHeader("Accept-Encoding", "identity");
    // A redirect here is a wrong answer: the manager resolved redirects with its HEAD request.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);

    m_reply = m_network.get(request);
    m_reply->setReadBufferSize(kReadBufferSize);
    m_replyChecked = false;
    m_skipBytes = 0;
    m_requestFrom = from;
    m_bodyLeft = -1;
    m_watchdog.start();

    connect(m_reply, &QNetworkReply::finished, this, &downloadtask::downloadFinished);
    connect(m_reply, &QNetworkReply::readyRead, this, &downloadtask::downloadReadyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &downloadtask::networkReplyProgress);
}

void downloadtask::stop()
{
    m_stopped = true;
    if (!m_reply)
        return;
    // Disconnect first: aborting emits finished, which must not reach this task any more.
    disconnect(m_reply, nullptr, this, nullptr);
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    // A reply that already failed (an error status with a body) is torn down by its deletion;
    // aborting it would report a second error.
    if (reply->isRunning() && reply->error() == QNetworkReply::NoError)
        reply->abort();
    reply->deleteLater();
}

void downloadtask::downloadReadyRead()
{
    if (!m_reply)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 200 || status == 206) {
        if (!m_replyChecked) {
            m_replyChecked = true;
            // A 200 answer ignored our Range and carries the resource from its first byte:
            // start the range over instead of writing those bytes at the resume position.
            if (status == 200) {
                m_downloaded = 0;
                m_skipBytes = m_start;
            } else if (!partialAnswerMatches()) {
                restartFromRangeStart(QStringLiteral("the answer is not the range asked for: ") +
                                      QString::fromLatin1(m_reply->rawHeader("Content-Range")));
                return;
            }
        }
        QByteArray data = m_reply->readAll();
        if (m_bodyLeft >= 0) {
            if (data.size() > m_bodyLeft) {
                restartFromRangeStart(QStringLiteral("the answer is longer than its range"));
                return;
            }
            m_bodyLeft -= data.size();
        }
        if (m_skipBytes > 0) {
            const qint64 skip = qMin<qint64>(m_skipBytes, data.size());
            data.remove(0, int(skip));
            m_skipBytes -= skip;
        }
        if (!data.isEmpty())
            emit readyRead(data, m_start + m_downloaded, m_taskId);
        return;
    }

    QString message;
    if (status >= 400)
        message = m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    stop();
    emit httpStatusCodeError(status, message);
}

bool downloadtask::partialAnswerMatches()
{
    // "bytes first-last/total": it must start where we asked, end within what we asked, and
    // carry no more bytes than that (fewer is a broken transfer, resumed where it stopped).
    const QByteArray range = m_reply->rawHeader("Content-Range").trimmed();
    if (!range.startsWith("bytes "))
        return false;
    const int dash = range.indexOf('-');
    const int slash = range.indexOf('/');
    if (dash < 0 || slash < dash)
        return false;
    bool firstOk = false;
    bool lastOk = false;
    const qint64 first = range.mid(6, dash - 6).trimmed().toLongLong(&firstOk);
    const qint64 last = range.mid(dash + 1, slash - dash - 1).trimmed().toLongLong(&lastOk);
    if (!firstOk || !lastOk || first != m_requestFrom || last < first || last > m_end)
        return false;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > last - first + 1)
        return false;
    m_bodyLeft = last - first + 1;
    return true;
}

void downloadtask::restartFromRangeStart(const QString &why)
{
    // As for a server that ignores Range: these bytes cannot be placed, so the range is fetched
    // again from its first byte. Each such restart counts against the retry limit.
    qDebug().noquote() << QStringLiteral("Download restarts from the range start: %1.").arg(why);
    stop();
    if (m_retryCount < m_retryLimit) {
        ++m_retryCount;
        m_downloaded = 0;
        start();
        return;
    }
    emit networkError(QNetworkReply::ProtocolFailure, why);
}

void downloadtask::networkReplyProgress(qint64 bytesRead)
{
    if (m_watchdog.isActive()) {
        m_watchdog.stop();
        m_watchdog.start();
    }
    emit progress(bytesRead);
}

void downloadtask::downloadFinished()
{
    if (m_watchdog.isActive())
        m_watchdog.stop();
    if (m_stopped || !m_reply)
        return;
    m_stopped = true;

    QNetworkReply::NetworkError error = m_reply->error();
    QString errorText = m_reply->errorString();
    // A connection that closes cleanly before the range is complete (no Content-Length, or a
    // server that gives up) is a broken transfer, not a finished one.
    if (error == QNetworkReply::NoError && m_start + m_downloaded < m_end) {
        error = QNetworkReply::RemoteHostClosedError;
        errorText = QStringLiteral("The connection ended before the whole range arrived");
    }

    if (error == QNetworkReply::NoError) {
        stop();
        m_finished = true;
        return;
    }

    qDebug().noquote() << QStringLiteral("Download failed:\n%1.").arg(errorText) + " time:"
                       << QDateTime::currentDateTime().toString(Qt::ISODate);
    if (m_retryCount < m_retryLimit) {
        ++m_retryCount;
        stop();
        start();
        return;
    }
    stop();
    emit networkError(error, errorText);
}

void downloadtask::timeout()
{
    if (!m_reply || m_stopped)
        return;
    if (m_retryCount < m_retryLimit) {
        ++m_retryCount;
        stop();
        start();
        return;
    }
    stop();
    emit networkError(QNetworkReply::TimeoutError, tr("message_request_time_out"));
}
