#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;

// An in-process HTTP/1.1 server on 127.0.0.1 for tests: it serves files and canned answers,
// records every request, and misbehaves on purpose when told to.
//
//   HttpTestServer server;
//   QVERIFY(server.listen());                       // free port on 127.0.0.1
//   server.serveFile("/game.7z", dir.filePath("game.7z"));
//   server.addFault("/game.7z", HttpTestServer::Fault::dropAfter(4096), 1, "GET");
//   ... fetch server.url("/game.7z") twice: the first GET breaks after 4096 body bytes,
//   the second is answered normally ...
//   QCOMPARE(server.requestsFor("/game.7z").last().header("range"), QByteArray("bytes=4096-"));
//
// Routing. Answers are keyed by the path exactly as the client sent it (percent-encoded, no
// query); the query is recorded but not matched. A path without an answer gets 404. Setting an
// answer for a path replaces the previous one.
//
// Every 200 answer with a body (file or data) honours HEAD (headers only, same Content-Length)
// and one "Range: bytes=a-b", "bytes=a-" or "bytes=-n": 206 with "Content-Range: bytes a-b/total",
// or 416 with "Content-Range: bytes */total" when the range cannot be satisfied. "Accept-Ranges:
// bytes" is always sent for such answers. Answers with another status are sent as they are.
// File answers carry an ETag and a Last-Modified taken from the file as it is at the request,
// and honour "If-Range": a validator that is not the current one gets the whole body (200).
//
// Files are streamed from disk in 64 KiB chunks while the socket drains, so files of any size
// cost no memory. Connections are kept alive (several requests per connection, pipelined ones
// in order) unless the client sends "Connection: close".
//
// Faults. addFault() queues a misbehaviour for the next `count` requests of a path (count < 0:
// every request from now on), optionally only for one method. Faults of a path are used in the
// order they were added; a fault whose count is used up is dropped, so
//   addFault(p, Fault::dropAfter(100), 1); addFault(p, Fault::stallAfter(0), 2);
// breaks the first request, stalls the next two and answers the fourth normally.
// Byte counts of faults count body bytes only (the status line and headers are always sent
// whole).
//
// Threads. The server, its sockets and its timers live on the thread that created it and need
// that thread's event loop running: run clients asynchronously on the same thread (QSignalSpy
// waits, QTRY_COMPARE) or on another thread. requests() and the counters may be read from any
// thread.
class HttpTestServer : public QObject
{
    Q_OBJECT
public:
    // One request as it arrived.
    struct Request
    {
        QByteArray method;  // "GET", "HEAD", ...
        QString path;       // as sent, percent-encoded, without the query
        QString query;      // as sent, percent-encoded, without the "?" (empty when none)
        QByteArray version; // "HTTP/1.1"
        QList<QPair<QByteArray, QByteArray>> headers; // in order, names as sent
        QByteArray body;

        // The first header of that name (case-insensitive), or a null array.
        QByteArray header(const QByteArray &name) const;
        bool hasHeader(const QByteArray &name) const;
    };

    struct Fault
    {
        enum Kind {
            NeverAnswer,        // read the request, send nothing, keep the connection open; see
                                // releaseHeld()
            StallAfter,         // send the head and `bytes` body bytes, then nothing; keep it open
            DropAfter,          // send the head and `bytes` body bytes, then close the connection
            IgnoreRange,        // answer 200 with the whole body even when a Range was asked for
            WrongContentLength, // announce `bytes` as Content-Length, send the real body,
                                // then close the connection
            NoContentLength,    // no Content-Length; the body ends when the connection closes
            Throttle,           // send the body at about `bytes` bytes per second
            Status,             // answer with status `bytes` and an empty body instead
            ShiftRange,         // answer a Range with the bytes from `bytes` later (earlier when
                                // negative) than asked, with a Content-Range that says so
            LongBody,           // answer a Range with the Content-Range asked for but a body that
                                // starts `bytes` earlier, and so is that much longer
            LongBodyNoLength,   // as LongBody, with no Content-Length: the body ends when the
                                // connection closes, so only the range tells it is too long
            Busy,               // answer 503 with "Retry-After: `bytes`" (seconds)
        };
        Kind kind = NeverAnswer;
        qint64 bytes = 0;

        static Fault neverAnswer() { return {NeverAnswer, 0}; }
        static Fault stallAfter(qint64 bodyBytes) { return {StallAfter, bodyBytes}; }
        static Fault dropAfter(qint64 bodyBytes) { return {DropAfter, bodyBytes}; }
        static Fault ignoreRange() { return {IgnoreRange, 0}; }
        static Fault wrongContentLength(qint64 announced)
        {
            return {WrongContentLength, announced};
        }
        static Fault noContentLength() { return {NoContentLength, 0}; }
        static Fault throttle(qint64 bytesPerSecond) { return {Throttle, bytesPerSecond}; }
        static Fault status(int code) { return {Status, code}; }
        static Fault shiftRange(qint64 offset) { return {ShiftRange, offset}; }
        static Fault longBody(qint64 extraBytes) { return {LongBody, extraBytes}; }
        static Fault longBodyNoLength(qint64 extraBytes) { return {LongBodyNoLength, extraBytes}; }
        static Fault busy(qint64 retryAfterSeconds) { return {Busy, retryAfterSeconds}; }
    };

    explicit HttpTestServer(QObject *parent = nullptr);
    ~HttpTestServer() override;

    // Listens on 127.0.0.1 on a free port. False (and errorString()) when that fails.
    bool listen();
    quint16 port() const;
    QString errorString() const;
    // "http://127.0.0.1:<port>", no trailing "/": the form of a configured service address.
    QString baseUrl() const;
    // baseUrl() followed by pathAndQuery ("/a/b?x=1").
    QUrl url(const QString &pathAndQuery = QStringLiteral("/")) const;

    // The file's current content, read at each request (the file may change between requests).
    // A file that cannot be opened at request time gives 404.
    void serveFile(const QString &path, const QString &filePath,
                   const QByteArray &contentType = "application/octet-stream");
    // A canned answer. An empty body is sent as "Content-Length: 0" (no Content-Length for 1xx,
    // 204 and 304). extraHeaders are added as they are and may override the defaults
    // (Content-Type, Content-Length...).
    void serveData(const QString &path, const QByteArray &body,
                   const QByteArray &contentType = "application/octet-stream", int status = 200,
                   const QList<QPair<QByteArray, QByteArray>> &extraHeaders = {});
    // A redirect to `location`, sent as given (absolute "http://..." or relative "/b", "b").
    void redirect(const QString &path, const QString &location, int status = 302);
    void removeAnswer(const QString &path);

    // Queues a misbehaviour for the next `count` requests of the path (count < 0: all of them);
    // method limits it to requests of that method ("GET", "HEAD"); empty means any method.
    void addFault(const QString &path, const Fault &fault, int count = 1,
                  const QByteArray &method = {});
    void clearFaults(const QString &path = {});

    // Answers every request held by a NeverAnswer fault as if it had had no fault.
    void releaseHeld();
    int heldCount() const;
    // Closes every client connection (held, stalled or idle) at once.
    void closeAllConnections();

    QList<Request> requests() const;
    QList<Request> requestsFor(const QString &path) const;
    int requestCount() const;
    int requestCount(const QString &path) const;
    void clearRequests();
    // Number of client connections accepted so far.
    int connectionCount() const;

signals:
    // Emitted when a request has been read whole; index is its position in requests().
    void requestReceived(int index);
    // Emitted when the last byte of an answer has been handed to the socket.
    void responseSent(int index);

private:
    struct Answer;
    struct Connection;

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void processInput(Connection &conn);
    bool parseHead(Connection &conn, const QByteArray &head);
    void dispatch(Connection &conn);
    void respond(Connection &conn, const Fault *fault);
    void startBody(Connection &conn, int status,
                   const QList<QPair<QByteArray, QByteArray>> &headers, bool sendBody);
    void pump(Connection &conn);
    void finishResponse(Connection &conn);
    void sendSimple(Connection &conn, int status, const QByteArray &body,
                    const QList<QPair<QByteArray, QByteArray>> &extraHeaders = {});
    bool takeFault(const QString &path, const QByteArray &method, Fault *out);
    void dropConnection(QTcpSocket *socket);
    Connection *connectionOf(QTcpSocket *socket);

    QTcpServer *m_server = nullptr;
    std::map<QTcpSocket *, std::unique_ptr<Connection>> m_connections;
    QMap<QString, std::shared_ptr<Answer>> m_answers;
    struct FaultRule
    {
        Fault fault;
        int remaining;
        QByteArray method;
    };
    QMap<QString, QList<FaultRule>> m_faults;

    mutable QMutex m_mutex; // guards m_requests and m_connectionCount
    QList<Request> m_requests;
    int m_connectionCount = 0;
};
