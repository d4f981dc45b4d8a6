#pragma once

#include <QHash>
#include <QString>
#include <QTcpServer>

class QFile;
class QTcpSocket;

// Serves a site folder on 127.0.0.1 the way the README's nginx rules do (HEAD, single byte
// ranges, the release answer chosen by app_version), and appends each telemetry report,
// decoded, as one JSON line to a log file.
class SiteServer : public QObject
{
    Q_OBJECT
public:
    SiteServer(const QString &site, const QString &reportLog, QObject *parent = nullptr);
    ~SiteServer() override;

    bool listen(quint16 port, QString *error);
    quint16 port() const;

    // The same rules for nginx: a server block that serves the site at root, listening on
    // listen, and logs telemetry reports to reportLog.
    static QByteArray nginxServerBlock(const QString &root, const QString &listen,
                                       const QString &reportLog);

    // "action=X&a=b%20c&extMsg=k:v;" as a JSON object; extMsg becomes an object of its own.
    static QByteArray decodeReport(const QByteArray &query);

private:
    struct Connection
    {
        QByteArray request;
        QFile *file = nullptr;
        qint64 left = 0;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const QByteArray &method, const QByteArray &target,
                 const QByteArray &range);
    void sendSimple(QTcpSocket *socket, int status, const QByteArray &reason,
                    const QByteArray &body);
    void pump(QTcpSocket *socket);
    QString fileFor(const QString &path, const QString &query) const;

    QString m_site;
    QString m_reportLog;
    QTcpServer m_server;
    QHash<QTcpSocket *, Connection> m_connections;
};
