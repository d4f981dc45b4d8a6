#include "siteserver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

#include "launcherpublisher.h"

namespace {

constexpr qint64 kChunk = 256 * 1024;
constexpr int kMaxRequestHeader = 64 * 1024;

QByteArray contentType(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("7z"))
        return "application/x-7z-compressed";
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return "text/html; charset=utf-8";
    if (suffix == QLatin1String("png"))
        return "image/png";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "image/jpeg";
    if (suffix == QLatin1String("json"))
        return "application/json";
    // The service answers and the pages under web/ have no suffix; their first byte tells.
    QFile file(path);
    char first = 0;
    if (file.open(QIODevice::ReadOnly) && file.getChar(&first)) {
        if (first == '{')
            return "application/json";
        if (first == '<')
            return "text/html; charset=utf-8";
    }
    return "application/octet-stream";
}

} // namespace

SiteServer::SiteServer(const QString &site, const QString &reportLog, QObject *parent)
    : QObject(parent)
    , m_site(QDir(site).absolutePath())
    , m_reportLog(reportLog)
{
    connect(&m_server, &QTcpServer::newConnection, this, &SiteServer::onNewConnection);
}

SiteServer::~SiteServer()
{
    for (const Connection &c : qAsConst(m_connections))
        delete c.file;
}

bool SiteServer::listen(quint16 port, QString *error)
{
    if (m_server.listen(QHostAddress::LocalHost, port))
        return true;
    *error =
        QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(m_server.errorString());
    return false;
}

quint16 SiteServer::port() const
{
    return m_server.serverPort();
}

void SiteServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_connections.insert(socket, Connection());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { pump(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            delete m_connections.take(socket).file;
            socket->deleteLater();
        });
    }
}

void SiteServer::onReadyRead(QTcpSocket *socket)
{
    Connection &c = m_connections[socket];
    if (c.file || c.request.endsWith("\r\n\r\n"))
        return; // one request per connection; the answer closes it
    c.request += socket->readAll();
    const int end = c.request.indexOf("\r\n\r\n");
    if (end < 0) {
        if (c.request.size() > kMaxRequestHeader)
            sendSimple(socket, 431, "Request Header Fields Too Large", {});
        return;
    }
    c.request.truncate(end + 4);
    const QList<QByteArray> lines = c.request.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    QByteArray range;
    for (const QByteArray &line : lines) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "range")
            range = line.mid(colon + 1).trimmed();
    }
    if (requestLine.size() != 3) {
        sendSimple(socket, 400, "Bad Request", {});
        return;
    }
    respond(socket, requestLine.at(0), requestLine.at(1), range);
}

QString SiteServer::fileFor(const QString &path, const QString &query) const
{
    const QString cleaned = QDir::cleanPath(QLatin1Char('/') + path);
    if (cleaned.contains(QStringLiteral("/.")))
        return QString(); // hidden files and staging folders are not served
    QString file = m_site + cleaned;
    // The rule the README gives nginx: a released launcher gets the answer of its own version.
    if (cleaned == QLatin1Char('/') + LauncherPublisher::releasePath()) {
        const QString version = QUrlQuery(query).queryItemValue(QStringLiteral("app_version"));
        const QString own = file + QLatin1Char('.') + version;
        if (!version.isEmpty() && !version.contains(QLatin1Char('/')) && QFileInfo(own).isFile())
            file = own;
    }
    return QFileInfo(file).isFile() ? file : QString();
}

void SiteServer::respond(QTcpSocket *socket, const QByteArray &method, const QByteArray &target,
                         const QByteArray &range)
{
    if (method != "GET" && method != "HEAD") {
        sendSimple(socket, 405, "Method Not Allowed", {});
        return;
    }
    const QUrl url(QString::fromUtf8(target), QUrl::TolerantMode);
    const QString path = url.path(QUrl::FullyDecoded);
    if (path == QLatin1String("/client_report")) {
        QFile log(m_reportLog);
        if (log.open(QIODevice::Append))
            log.write(decodeReport(url.query(QUrl::FullyEncoded).toUtf8()) + '\n');
        sendSimple(socket, 200, "OK", "ok");
        return;
    }
    const QString name = fileFor(path, url.query());
    auto *file = new QFile(name);
    if (name.isEmpty() || !file->open(QIODevice::ReadOnly)) {
        delete file;
        sendSimple(socket, 404, "Not Found", "not found\n");
        return;
    }
    const qint64 size = file->size();
    qint64 first = 0;
    qint64 last = size - 1;
    int status = 200;
    static const QRegularExpression rangePattern(QStringLiteral("^bytes=(\\d*)-(\\d*)$"));
    const QRegularExpressionMatch m = rangePattern.match(QString::fromLatin1(range));
    if (m.hasMatch() && !(m.captured(1).isEmpty() && m.captured(2).isEmpty())) {
        if (m.captured(1).isEmpty()) {
            first = qMax<qint64>(0, size - m.captured(2).toLongLong());
        } else {
            first = m.captured(1).toLongLong();
            if (!m.captured(2).isEmpty())
                last = qMin(last, m.captured(2).toLongLong());
        }
        if (first > last || first >= size) {
            delete file;
            socket->write("HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */" +
                          QByteArray::number(size) +
                          "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        status = 206;
    }
    QByteArray head = status == 206 ? "HTTP/1.1 206 Partial Content\r\n" : "HTTP/1.1 200 OK\r\n";
    head += "Content-Type: " + contentType(name) +
            "\r\nAccept-Ranges: bytes\r\nContent-Length: " + QByteArray::number(last - first + 1) +
            "\r\n";
    if (status == 206)
        head += "Content-Range: bytes " + QByteArray::number(first) + '-' +
                QByteArray::number(last) + '/' + QByteArray::number(size) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    if (method == "HEAD") {
        delete file;
        socket->disconnectFromHost();
        return;
    }
    file->seek(first);
    Connection &c = m_connections[socket];
    c.file = file;
    c.left = last - first + 1;
    pump(socket);
}

void SiteServer::pump(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end() || !it->file)
        return;
    // Keep little in the socket's buffer, so a large package never sits in memory.
    while (it->left > 0 && socket->bytesToWrite() < kChunk) {
        const QByteArray block = it->file->read(qMin(kChunk, it->left));
        if (block.isEmpty()) {
            it->left = 0;
            break;
        }
        socket->write(block);
        it->left -= block.size();
    }
    if (it->left == 0 && socket->bytesToWrite() == 0) {
        delete it->file;
        it->file = nullptr;
        socket->disconnectFromHost();
    }
}

void SiteServer::sendSimple(QTcpSocket *socket, int status, const QByteArray &reason,
                            const QByteArray &body)
{
    socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
                  "\r\nContent-Type: text/plain\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

QByteArray SiteServer::nginxServerBlock(const QString &root, const QString &listen,
                                        const QString &reportLog)
{
    return QStringLiteral(
               "server {\n"
               "    listen %1;\n"
               "    root %2;\n"
               "    # The service answers have no file suffix; the query strings are ignored.\n"
               "    location /zt7q_cn/xsk/launcher/api/ {\n"
               "        default_type application/json;\n"
               "    }\n"
               "    # A launcher of the released version gets the answer written for it, every\n"
               "    # other launcher the release.\n"
               "    location = /%3 {\n"
               "        default_type application/json;\n"
               "        try_files $uri.$arg_app_version $uri =404;\n"
               "    }\n"
               "    location /web/ {\n"
               "        default_type \"text/html; charset=utf-8\";\n"
               "    }\n"
               "    location = /client_report {\n"
               "        access_log %4;\n"
               "        return 204;\n"
               "    }\n"
               "    # Staging folders and other hidden files.\n"
               "    location ~ /\\. {\n"
               "        return 404;\n"
               "    }\n"
               "}\n")
        .arg(listen, QDir(root).absolutePath(), LauncherPublisher::releasePath(), reportLog)
        .toUtf8();
}

QByteArray SiteServer::decodeReport(const QByteArray &query)
{
    QJsonObject report{
        {QStringLiteral("received"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)}};
    for (const QByteArray &pair : query.split('&')) {
        if (pair.isEmpty())
            continue;
        const int eq = pair.indexOf('=');
        const QString key = QUrl::fromPercentEncoding(eq < 0 ? pair : pair.left(eq));
        const QString value = eq < 0 ? QString() : QUrl::fromPercentEncoding(pair.mid(eq + 1));
        if (key == QLatin1String("extMsg")) {
            QJsonObject extra;
            for (const QString &entry : value.split(QLatin1Char(';'), Qt::SkipEmptyParts))
                extra.insert(entry.section(QLatin1Char(':'), 0, 0),
                             entry.section(QLatin1Char(':'), 1));
            report.insert(key, extra);
        } else {
            report.insert(key, value);
        }
    }
    return QJsonDocument(report).toJson(QJsonDocument::Compact);
}
