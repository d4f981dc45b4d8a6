#include "newspageserver.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

NewsPageServer::NewsPageServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &NewsPageServer::onNewConnection);
}

bool NewsPageServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

QUrl NewsPageServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort()));
}

void NewsPageServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            // Requests are tiny; refuse anything that does not fit a sane head.
            if (socket->bytesAvailable() > 64 * 1024) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine())
                return;
            const QList<QByteArray> requestLine = socket->readLine().trimmed().split(' ');
            socket->readAll();
            const QByteArray path = requestLine.value(1).split('?').value(0);
            QFile page(QStringLiteral(":/preview/news.html"));
            QByteArray body;
            int status = 404;
            if (path.startsWith("/18/") && page.open(QIODevice::ReadOnly)) {
                const QByteArray lang = path.mid(4);
                body = page.readAll().replace("%LANG%", lang == "zh-cn" ? "zh" : "en");
                status = 200;
            }
            QByteArray head = "HTTP/1.1 " + QByteArray::number(status) +
                              (status == 200 ? " OK" : " Not Found") +
                              "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
            socket->write(head + body);
            socket->disconnectFromHost();
        });
    }
}
