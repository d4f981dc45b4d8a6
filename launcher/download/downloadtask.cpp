#include "downloadtask.h"

#include <QDateTime>
#include <QDebug>
#include <QLocale>
#include <QNetworkRequest>

namespace {
// Answers that say "not now" rather than "no": retried like a broken connection.
bool isTransientStatus(int status)
{
    return status == 408 || status == 429 || status == 500 || status == 502 || status == 503 ||
           status == 504;
}

// Retry-After as delay-seconds or an HTTP date; -1 when absent or unreadable.
int retryAfterMs(const QByteArray &value)
{
    const QByteArray text = value.trimmed();
    if (text.isEmpty())
        return -1;
    bool ok = false;
    const qint64 seconds = text.toLongLong(&ok);
    if (ok)
        return seconds < 0 ? -1 : int(qMin<qint64>(seconds * 1000, downloadtask::kMaxRetryAfterMs));
    const QDateTime when = QLocale::c().toDateTime(QString::fromLatin1(text).left(25),
                                                   QStringLiteral("ddd, dd MMM yyyy hh:mm:ss"));
    if (!when.isValid())
        return -1;
    QDateTime utc = when;
    utc.setTimeSpec(Qt::UTC);
    const qint64 ms = QDateTime::currentDateTimeUtc().msecsTo(utc);
    return int(qBound<qint64>(0, ms, downloadtask::kMaxRetryAfterMs));
}
} // namespace

downloadtask::downloadtask(QObject *parent)
    : QObject(parent)
{
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(kDefaultStallTimeoutMs);
    connect(&m_watchdog, &QTimer::timeout, this, &downloadtask::timeout);
    m_retryTimer.setSingleShot(true);
    // A coarse timer may fire 5 % early: never before the server said it would be ready.
    m_retryTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_retryTimer, &QTimer::timeout, this, &downloadtask::start);
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
    m_retryTimer.stop();

    const qint64 from = m_start + m_downloaded;
    // Nothing left to fetch: the task stays "running" and the manager decides completion.
    if (from >= m_end)
        return;

    QNetworkRequest request(m_url);
    if (!m_rangesRefused)
        request.setRawHeader("Range",
                             QStringLiteral("bytes=%1-%2").arg(from).arg(m_end).toLatin1());
    // Bytes on disk came from one object: only that object's rest may follow them.
    m_sentIfRange = from > 0 && !m_validator.isEmpty() && !m_rangesRefused;
    if (m_sentIfRange)
        request.setRawHeader("If-Range", m_validator);
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
    m_sslErrors.clear();
    m_watchdog.start();

    connect(m_reply, &QNetworkReply::sslErrors, this,
            [this](const QList<QSslError> &errors) { m_sslErrors = errors; });
    connect(m_reply, &QNetworkReply::finished, this, &downloadtask::downloadFinished);
    connect(m_reply, &QNetworkReply::readyRead, this, &downloadtask::downloadReadyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &downloadtask::networkReplyProgress);
}

void downloadtask::stop()
{
    m_stopped = true;
    m_retryTimer.stop();
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
            const QByteArray current = answerValidator();
            const qint64 total = answerTotalSize();
            // Another object than the one on disk (a replaced file, or one of another size):
            // nothing of it may be spliced onto the old bytes.
            const bool replaced =
                m_requestFrom > 0 && !m_validator.isEmpty() && current != m_validator;
            const bool resized = m_start == 0 && total >= 0 && total != m_end;
            if (replaced || resized) {
                qDebug().noquote() << "The object changed on the server:" << m_validator << "->"
                                   << current << "size" << m_end << "->" << total;
                stop();
                emit objectChanged(current, total);
                return;
            }
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
            if (m_start == 0 && m_downloaded == 0) {
                m_validator = current;
                emit objectIdentified(current, total);
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
        if (!data.isEmpty()) {
            // Progress refills the budget: only failures in a row count.
            m_retryCount = 1;
            m_busyStatus = 0;
            emit readyRead(data, m_start + m_downloaded, m_taskId);
        }
        return;
    }

    if (status == 416 && m_requestFrom > 0) {
        // The object is shorter than the bytes we hold: it is not the one they came from.
        const QByteArray range = m_reply->rawHeader("Content-Range");
        const int slash = range.indexOf('/');
        bool ok = false;
        const qint64 total = slash >= 0 ? range.mid(slash + 1).trimmed().toLongLong(&ok) : -1;
        stop();
        emit objectChanged(answerValidator(), ok ? total : -1);
        return;
    }
    if ((status == 416 || status == 501) && !m_rangesRefused) {
        // A server that refuses ranges outright still serves the whole object.
        qDebug() << "Ranges refused with" << status << "; fetching without a range";
        m_rangesRefused = true;
        stop();
        start();
        return;
    }
    if (isTransientStatus(status)) {
        m_busyStatus = status;
        const int delay = retryAfterMs(m_reply->rawHeader("Retry-After"));
        stop();
        if (retryLater(delay < 0 ? m_backoffMs : delay))
            return;
        emit httpStatusCodeError(status, QString());
        return;
    }

    QString message;
    if (status >= 400)
        message = m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    stop();
    emit httpStatusCodeError(status, message);
}

QByteArray downloadtask::answerValidator() const
{
    if (!m_reply)
        return {};
    // If-Range needs a strong validator; a weak ETag leaves the date.
    const QByteArray etag = m_reply->rawHeader("ETag").trimmed();
    if (!etag.isEmpty() && !etag.startsWith("W/"))
        return etag;
    return m_reply->rawHeader("Last-Modified").trimmed();
}

qint64 downloadtask::answerTotalSize() const
{
    if (!m_reply)
        return -1;
    bool ok = false;
    const QByteArray range = m_reply->rawHeader("Content-Range");
    if (!range.isEmpty()) {
        const int slash = range.indexOf('/');
        const qint64 total = slash >= 0 ? range.mid(slash + 1).trimmed().toLongLong(&ok) : -1;
        return ok ? total : -1;
    }
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200)
        return -1;
    const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
    return ok ? length : -1;
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
    m_downloaded = 0;
    if (!retryLater())
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

    // An error status without a body never reaches downloadReadyRead.
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (isTransientStatus(status) && !m_replyChecked) {
        m_busyStatus = status;
        const int delay = retryAfterMs(m_reply->rawHeader("Retry-After"));
        stop();
        if (!retryLater(delay < 0 ? m_backoffMs : delay))
            emit httpStatusCodeError(status, QString());
        return;
    }
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
    // A certificate the system does not trust will not be trusted on a second try.
    const bool certificate = error == QNetworkReply::SslHandshakeFailedError;
    stop();
    if (!certificate && retryLater())
        return;
    emit networkError(error, errorText);
}

bool downloadtask::retryLater(int delayMs)
{
    if (m_retryCount >= m_retryLimit)
        return false;
    ++m_retryCount;
    stop();
    if (delayMs < 0) {
        // The first restart after progress goes at once (a dropped connection); failures in a
        // row back off so that a struggling server is not hammered.
        delayMs = m_retryCount <= 2 ? 0 : qMin(kMaxBackoffMs, m_backoffMs << (m_retryCount - 3));
    }
    if (delayMs == 0)
        start();
    else
        m_retryTimer.start(delayMs);
    return true;
}

void downloadtask::timeout()
{
    if (!m_reply || m_stopped)
        return;
    stop();
    if (!retryLater())
        emit networkError(QNetworkReply::TimeoutError, tr("message_request_time_out"));
}
