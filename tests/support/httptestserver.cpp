#include "httptestserver.h"

#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>

namespace {

constexpr qint64 kChunk = 64 * 1024;
// Refill the socket only when it has drained below this, so a big file never sits in memory.
constexpr qint64 kHighWater = 256 * 1024;
constexpr int kMaxHeadBytes = 64 * 1024;
constexpr int kThrottleTickMs = 50;

using Header = QPair<QByteArray, QByteArray>;
using HeaderList = QList<Header>;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 204:
        return "No Content";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 304:
        return "Not Modified";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 416:
        return "Range Not Satisfiable";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return "Status";
    }
}

bool statusForbidsBody(int status)
{
    return (status >= 100 && status < 200) || status == 204 || status == 304;
}

void setHeader(HeaderList &headers, const QByteArray &name, const QByteArray &value)
{
    for (auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) {
            h.second = value;
            return;
        }
    }
    headers.append(Header(name, value));
}

void removeHeader(HeaderList &headers, const QByteArray &name)
{
    headers.erase(std::remove_if(headers.begin(), headers.end(),
                                 [&](const QPair<QByteArray, QByteArray> &h) {
                                     return h.first.compare(name, Qt::CaseInsensitive) == 0;
                                 }),
                  headers.end());
}

enum class RangeResult { None, Satisfiable, Unsatisfiable };

// One "bytes=" range; anything else (several ranges, bad syntax) is ignored as the standard
// allows, which means the whole body is sent with 200.
RangeResult parseRange(const QByteArray &value, qint64 total, qint64 *first, qint64 *last)
{
    const QByteArray v = value.trimmed();
    if (!v.startsWith("bytes=") || v.contains(','))
        return RangeResult::None;
    const QByteArray spec = v.mid(6).trimmed();
    const int dash = spec.indexOf('-');
    if (dash < 0)
        return RangeResult::None;
    const QByteArray a = spec.left(dash).trimmed();
    const QByteArray b = spec.mid(dash + 1).trimmed();
    bool okA = false;
    bool okB = false;
    if (a.isEmpty()) {
        const qint64 suffix = b.toLongLong(&okB);
        if (!okB || suffix < 0)
            return RangeResult::None;
        if (suffix == 0 || total == 0)
            return RangeResult::Unsatisfiable;
        *first = std::max<qint64>(0, total - suffix);
        *last = total - 1;
        return RangeResult::Satisfiable;
    }
    const qint64 from = a.toLongLong(&okA);
    if (!okA || from < 0)
        return RangeResult::None;
    qint64 to = total - 1;
    if (!b.isEmpty()) {
        to = b.toLongLong(&okB);
        if (!okB || to < from)
            return RangeResult::None;
    }
    if (from >= total)
        return RangeResult::Unsatisfiable;
    *first = from;
    *last = std::min(to, total - 1);
    return RangeResult::Satisfiable;
}

} // namespace

struct HttpTestServer::Answer
{
    enum Kind { File, Data, Redirect };
    Kind kind = Data;
    int status = 200;
    QByteArray contentType;
    QByteArray data;
    QString filePath;
    QString location;
    HeaderList extraHeaders;
};

struct HttpTestServer::Connection
{
    enum State { ReadingHead, ReadingBody, Held, Responding, Stalled, Closing };

    QTcpSocket *socket = nullptr;
    QByteArray input;
    State state = ReadingHead;
    Request request;
    int requestIndex = -1;
    qint64 bodyRemaining = 0;
    bool closeAfter = false;

    // The body being sent: a range [pos, end) of a file or of a byte array.
    std::unique_ptr<QFile> file;
    QByteArray data;
    qint64 pos = 0;
    qint64 end = 0;
    qint64 sent = 0;
    qint64 limit = -1; // body bytes to send before the fault below takes over; -1: no limit
    Fault::Kind limitKind = Fault::StallAfter;
    QTimer *throttle = nullptr;
    qint64 perTick = 0;
    qint64 budget = 0;

    void resetBody()
    {
        file.reset();
        data.clear();
        pos = end = sent = 0;
        limit = -1;
        if (throttle) {
            throttle->stop();
            throttle->deleteLater();
            throttle = nullptr;
        }
        perTick = budget = 0;
    }
};

QByteArray HttpTestServer::Request::header(const QByteArray &name) const
{
    for (const auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return {};
}

bool HttpTestServer::Request::hasHeader(const QByteArray &name) const
{
    return std::any_of(headers.begin(), headers.end(), [&](const QPair<QByteArray, QByteArray> &h) {
        return h.first.compare(name, Qt::CaseInsensitive) == 0;
    });
}

HttpTestServer::HttpTestServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &HttpTestServer::onNewConnection);
}

HttpTestServer::~HttpTestServer()
{
    for (auto &entry : m_connections) {
        QTcpSocket *socket = entry.first;
        socket->disconnect(this);
        entry.second->resetBody();
        socket->abort();
        delete socket;
    }
    m_connections.clear();
}

bool HttpTestServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 HttpTestServer::port() const
{
    return m_server->serverPort();
}

QString HttpTestServer::errorString() const
{
    return m_server->errorString();
}

QString HttpTestServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

QUrl HttpTestServer::url(const QString &pathAndQuery) const
{
    return QUrl(baseUrl() + pathAndQuery);
}

void HttpTestServer::serveFile(const QString &path, const QString &filePath,
                               const QByteArray &contentType)
{
    auto answer = std::make_shared<Answer>();
    answer->kind = Answer::File;
    answer->filePath = filePath;
    answer->contentType = contentType;
    m_answers.insert(path, answer);
}

void HttpTestServer::serveData(const QString &path, const QByteArray &body,
                               const QByteArray &contentType, int status,
                               const QList<QPair<QByteArray, QByteArray>> &extraHeaders)
{
    auto answer = std::make_shared<Answer>();
    answer->kind = Answer::Data;
    answer->data = body;
    answer->contentType = contentType;
    answer->status = status;
    answer->extraHeaders = extraHeaders;
    m_answers.insert(path, answer);
}

void HttpTestServer::redirect(const QString &path, const QString &location, int status)
{
    auto answer = std::make_shared<Answer>();
    answer->kind = Answer::Redirect;
    answer->location = location;
    answer->status = status;
    m_answers.insert(path, answer);
}

void HttpTestServer::removeAnswer(const QString &path)
{
    m_answers.remove(path);
}

void HttpTestServer::addFault(const QString &path, const Fault &fault, int count,
                              const QByteArray &method)
{
    if (count == 0)
        return;
    m_faults[path].append({fault, count, method.toUpper()});
}

void HttpTestServer::clearFaults(const QString &path)
{
    if (path.isEmpty())
        m_faults.clear();
    else
        m_faults.remove(path);
}

bool HttpTestServer::takeFault(const QString &path, const QByteArray &method, Fault *out)
{
    auto it = m_faults.find(path);
    if (it == m_faults.end())
        return false;
    QList<FaultRule> &rules = it.value();
    for (int i = 0; i < rules.size(); ++i) {
        FaultRule &rule = rules[i];
        if (!rule.method.isEmpty() && rule.method != method)
            continue;
        *out = rule.fault;
        if (rule.remaining > 0 && --rule.remaining == 0)
            rules.removeAt(i);
        if (rules.isEmpty())
            m_faults.erase(it);
        return true;
    }
    return false;
}

void HttpTestServer::releaseHeld()
{
    std::vector<QTcpSocket *> held;
    for (auto &entry : m_connections) {
        if (entry.second->state == Connection::Held)
            held.push_back(entry.first);
    }
    for (QTcpSocket *socket : held) {
        if (Connection *conn = connectionOf(socket))
            respond(*conn, nullptr);
    }
}

int HttpTestServer::heldCount() const
{
    return static_cast<int>(
        std::count_if(m_connections.begin(), m_connections.end(),
                      [](const auto &entry) { return entry.second->state == Connection::Held; }));
}

void HttpTestServer::closeAllConnections()
{
    for (auto &entry : m_connections) {
        entry.second->state = Connection::Closing;
        entry.second->resetBody();
        entry.first->abort();
    }
}

QList<HttpTestServer::Request> HttpTestServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

QList<HttpTestServer::Request> HttpTestServer::requestsFor(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    QList<Request> result;
    for (const Request &r : m_requests) {
        if (r.path == path)
            result.append(r);
    }
    return result;
}

int HttpTestServer::requestCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests.size();
}

int HttpTestServer::requestCount(const QString &path) const
{
    return requestsFor(path).size();
}

void HttpTestServer::clearRequests()
{
    QMutexLocker lock(&m_mutex);
    m_requests.clear();
}

int HttpTestServer::connectionCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_connectionCount;
}

HttpTestServer::Connection *HttpTestServer::connectionOf(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    return it == m_connections.end() ? nullptr : it->second.get();
}

void HttpTestServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        auto conn = std::make_unique<Connection>();
        conn->socket = socket;
        m_connections[socket] = std::move(conn);
        {
            QMutexLocker lock(&m_mutex);
            ++m_connectionCount;
        }
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
            if (Connection *c = connectionOf(socket))
                pump(*c);
        });
        // Queued: disconnectFromHost() may emit this while a handler still uses the connection.
        connect(
            socket, &QTcpSocket::disconnected, this, [this, socket] { dropConnection(socket); },
            Qt::QueuedConnection);
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void HttpTestServer::dropConnection(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    it->second->resetBody();
    m_connections.erase(it);
    socket->disconnect(this);
    socket->deleteLater();
}

void HttpTestServer::onReadyRead(QTcpSocket *socket)
{
    Connection *conn = connectionOf(socket);
    if (!conn)
        return;
    const QByteArray bytes = socket->readAll();
    if (conn->state == Connection::Closing)
        return;
    conn->input += bytes;
    processInput(*conn);
}

void HttpTestServer::processInput(Connection &conn)
{
    while (conn.state == Connection::ReadingHead || conn.state == Connection::ReadingBody) {
        if (conn.state == Connection::ReadingHead) {
            const int headEnd = conn.input.indexOf("\r\n\r\n");
            if (headEnd < 0) {
                if (conn.input.size() > kMaxHeadBytes) {
                    conn.closeAfter = true;
                    sendSimple(conn, 431, QByteArray());
                }
                return;
            }
            const QByteArray head = conn.input.left(headEnd);
            conn.input.remove(0, headEnd + 4);
            if (!parseHead(conn, head)) {
                conn.closeAfter = true;
                sendSimple(conn, 400, "bad request");
                return;
            }
            conn.state = Connection::ReadingBody;
        }
        const qint64 take = std::min<qint64>(conn.bodyRemaining, conn.input.size());
        conn.request.body += conn.input.left(static_cast<int>(take));
        conn.input.remove(0, static_cast<int>(take));
        conn.bodyRemaining -= take;
        if (conn.bodyRemaining > 0)
            return;
        dispatch(conn);
    }
}

bool HttpTestServer::parseHead(Connection &conn, const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> parts = lines.value(0).trimmed().split(' ');
    if (parts.size() != 3)
        return false;
    Request request;
    request.method = parts.at(0);
    request.version = parts.at(2);
    const QByteArray target = parts.at(1);
    const int q = target.indexOf('?');
    request.path = QString::fromLatin1(q < 0 ? target : target.left(q));
    request.query = q < 0 ? QString() : QString::fromLatin1(target.mid(q + 1));
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon <= 0)
            return false;
        request.headers.append(Header(line.left(colon).trimmed(), line.mid(colon + 1).trimmed()));
    }
    bool ok = true;
    const QByteArray length = request.header("content-length");
    conn.bodyRemaining = length.isNull() ? 0 : length.toLongLong(&ok);
    if (!ok || conn.bodyRemaining < 0)
        return false;
    const QByteArray connection = request.header("connection").toLower();
    conn.closeAfter = request.version == "HTTP/1.0" ? !connection.contains("keep-alive")
                                                    : connection.contains("close");
    conn.request = request;
    return true;
}

void HttpTestServer::dispatch(Connection &conn)
{
    {
        QMutexLocker lock(&m_mutex);
        conn.requestIndex = m_requests.size();
        m_requests.append(conn.request);
    }
    conn.state = Connection::Responding;
    QTcpSocket *socket = conn.socket;
    emit requestReceived(conn.requestIndex);
    // A slot may have closed the connection.
    Connection *still = connectionOf(socket);
    if (!still || still->state != Connection::Responding)
        return;

    Fault fault;
    if (takeFault(conn.request.path, conn.request.method, &fault)) {
        if (fault.kind == Fault::NeverAnswer) {
            conn.state = Connection::Held;
            return;
        }
        respond(conn, &fault);
    } else {
        respond(conn, nullptr);
    }
}

void HttpTestServer::sendSimple(Connection &conn, int status, const QByteArray &body,
                                const HeaderList &extraHeaders)
{
    conn.resetBody();
    conn.data = body;
    conn.end = body.size();
    HeaderList headers{Header("Content-Type", "text/plain")};
    if (!statusForbidsBody(status))
        headers.append(Header("Content-Length", QByteArray::number(body.size())));
    headers += extraHeaders;
    conn.state = Connection::Responding;
    startBody(conn, status, headers, conn.request.method != "HEAD" && !statusForbidsBody(status));
}

void HttpTestServer::respond(Connection &conn, const Fault *fault)
{
    conn.state = Connection::Responding;
    conn.resetBody();
    if (fault && fault->kind == Fault::Status) {
        sendSimple(conn, static_cast<int>(fault->bytes), QByteArray());
        return;
    }
    if (fault && fault->kind == Fault::Busy) {
        sendSimple(conn, 503, "busy", {Header("Retry-After", QByteArray::number(fault->bytes))});
        return;
    }
    const std::shared_ptr<Answer> answer = m_answers.value(conn.request.path);
    if (!answer) {
        sendSimple(conn, 404, "not found");
        return;
    }

    int status = answer->status;
    HeaderList headers;
    qint64 total = 0;
    if (answer->kind == Answer::Redirect) {
        headers.append(Header("Location", answer->location.toUtf8()));
        headers.append(Header("Content-Length", "0"));
    } else {
        if (answer->kind == Answer::File) {
            conn.file = std::make_unique<QFile>(answer->filePath);
            if (!conn.file->open(QIODevice::ReadOnly)) {
                sendSimple(conn, 404, "not found");
                return;
            }
            total = conn.file->size();
            // What a CDN derives from the stored object: a file rewritten in place gets a new
            // ETag (inode, size and modification time to the nanosecond, as nginx does in
            // spirit) and a new Last-Modified.
            struct stat info
            {
            };
            if (::stat(QFile::encodeName(answer->filePath).constData(), &info) == 0) {
                const QByteArray etag =
                    '"' + QByteArray::number(qulonglong(info.st_ino), 16) + '-' +
                    QByteArray::number(qlonglong(info.st_size), 16) + '-' +
                    QByteArray::number(qlonglong(info.st_mtim.tv_sec), 16) +
                    QByteArray::number(qlonglong(info.st_mtim.tv_nsec), 16) + '"';
                headers.append(Header("ETag", etag));
                headers.append(
                    Header("Last-Modified",
                           QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec, Qt::UTC)
                               .toString(QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
                               .toLatin1()));
            }
        } else {
            conn.data = answer->data;
            total = conn.data.size();
        }
        conn.pos = 0;
        conn.end = total;
        headers.append(Header("Content-Type", answer->contentType));
        if (status == 200) {
            headers.append(Header("Accept-Ranges", "bytes"));
            QByteArray range = conn.request.header("range");
            // If-Range: a validator that no longer names the object asks for all of it.
            const QByteArray ifRange = conn.request.header("if-range");
            if (!ifRange.isNull() && !range.isNull()) {
                bool matches = false;
                for (const auto &h : headers) {
                    if ((h.first == "ETag" || h.first == "Last-Modified") && h.second == ifRange)
                        matches = true;
                }
                if (!matches)
                    range = QByteArray();
            }
            qint64 first = 0;
            qint64 last = 0;
            const bool ignoreRange = fault && fault->kind == Fault::IgnoreRange;
            switch (ignoreRange || range.isNull() ? RangeResult::None
                                                  : parseRange(range, total, &first, &last)) {
            case RangeResult::None:
                break;
            case RangeResult::Satisfiable: {
                status = 206;
                qint64 sentFirst = first;
                if (fault && fault->kind == Fault::ShiftRange)
                    first = sentFirst = std::clamp<qint64>(first + fault->bytes, 0, last);
                else if (fault &&
                         (fault->kind == Fault::LongBody || fault->kind == Fault::LongBodyNoLength))
                    sentFirst = std::max<qint64>(0, first - fault->bytes);
                conn.pos = sentFirst;
                conn.end = last + 1;
                headers.append(Header("Content-Range", "bytes " + QByteArray::number(first) + '-' +
                                                           QByteArray::number(last) + '/' +
                                                           QByteArray::number(total)));
                break;
            }
            case RangeResult::Unsatisfiable:
                status = 416;
                conn.pos = conn.end = 0;
                conn.file.reset();
                conn.data.clear();
                headers.append(Header("Content-Range", "bytes */" + QByteArray::number(total)));
                break;
            }
        }
        if (statusForbidsBody(status)) {
            conn.pos = conn.end = 0;
        } else {
            headers.append(Header("Content-Length", QByteArray::number(conn.end - conn.pos)));
        }
        for (const auto &h : answer->extraHeaders)
            setHeader(headers, h.first, h.second);
    }

    if (fault) {
        switch (fault->kind) {
        case Fault::StallAfter:
        case Fault::DropAfter:
            conn.limit = std::max<qint64>(0, fault->bytes);
            conn.limitKind = fault->kind;
            break;
        case Fault::WrongContentLength:
            setHeader(headers, "Content-Length", QByteArray::number(fault->bytes));
            conn.closeAfter = true;
            break;
        case Fault::NoContentLength:
        case Fault::LongBodyNoLength:
            removeHeader(headers, "Content-Length");
            conn.closeAfter = true;
            break;
        case Fault::Throttle: {
            conn.perTick = std::max<qint64>(1, fault->bytes * kThrottleTickMs / 1000);
            conn.budget = conn.perTick;
            conn.throttle = new QTimer(this);
            conn.throttle->setInterval(kThrottleTickMs);
            QTcpSocket *socket = conn.socket;
            connect(conn.throttle, &QTimer::timeout, this, [this, socket] {
                if (Connection *c = connectionOf(socket)) {
                    c->budget = c->perTick;
                    pump(*c);
                }
            });
            conn.throttle->start();
            break;
        }
        case Fault::NeverAnswer:
        case Fault::IgnoreRange:
        case Fault::Status:
        case Fault::Busy:
        case Fault::ShiftRange:
        case Fault::LongBody:
            break;
        }
    }
    const bool sendBody = conn.request.method != "HEAD" && !statusForbidsBody(status);
    startBody(conn, status, headers, sendBody);
}

void HttpTestServer::startBody(Connection &conn, int status, const HeaderList &headers,
                               bool sendBody)
{
    QByteArray head =
        "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    for (const auto &h : headers)
        head += h.first + ": " + h.second + "\r\n";
    head += conn.closeAfter ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
    head += "\r\n";
    conn.socket->write(head);
    if (!sendBody) {
        conn.pos = conn.end = 0;
        // A fault that cuts the body short still breaks a bodiless answer at once.
        if (conn.limit >= 0 && conn.limitKind == Fault::DropAfter) {
            conn.state = Connection::Closing;
            conn.socket->disconnectFromHost();
            return;
        }
        conn.limit = -1;
    }
    pump(conn);
}

void HttpTestServer::pump(Connection &conn)
{
    if (conn.state != Connection::Responding)
        return;
    for (;;) {
        if (conn.limit >= 0 && conn.sent >= conn.limit && conn.pos < conn.end) {
            if (conn.limitKind == Fault::DropAfter) {
                conn.state = Connection::Closing;
                conn.resetBody();
                conn.socket->disconnectFromHost();
            } else {
                conn.state = Connection::Stalled;
                conn.resetBody();
            }
            return;
        }
        if (conn.pos >= conn.end) {
            finishResponse(conn);
            return;
        }
        if (conn.socket->bytesToWrite() >= kHighWater)
            return;
        qint64 n = std::min(kChunk, conn.end - conn.pos);
        if (conn.limit >= 0)
            n = std::min(n, conn.limit - conn.sent);
        if (conn.throttle)
            n = std::min(n, conn.budget);
        if (n <= 0)
            return;
        QByteArray chunk;
        if (conn.file) {
            if (!conn.file->seek(conn.pos)) {
                conn.state = Connection::Closing;
                conn.socket->abort();
                return;
            }
            chunk = conn.file->read(n);
        } else {
            chunk = conn.data.mid(static_cast<int>(conn.pos), static_cast<int>(n));
        }
        if (chunk.isEmpty()) {
            // The file shrank under us: a truncated answer is the honest outcome.
            conn.state = Connection::Closing;
            conn.socket->abort();
            return;
        }
        conn.socket->write(chunk);
        conn.pos += chunk.size();
        conn.sent += chunk.size();
        if (conn.throttle)
            conn.budget -= chunk.size();
    }
}

void HttpTestServer::finishResponse(Connection &conn)
{
    const int index = conn.requestIndex;
    conn.resetBody();
    QTcpSocket *socket = conn.socket;
    if (conn.closeAfter) {
        conn.state = Connection::Closing;
        socket->disconnectFromHost();
    } else {
        conn.state = Connection::ReadingHead;
    }
    emit responseSent(index);
    Connection *still = connectionOf(socket);
    if (still && still->state == Connection::ReadingHead && !still->input.isEmpty())
        processInput(*still);
}
