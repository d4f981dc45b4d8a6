#include "nginxsite.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <unistd.h>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

} // namespace

NginxSite::~NginxSite()
{
    stop();
}

bool NginxSite::start(const QByteArray &serverBlock, QString *error)
{
    if (!m_prefix.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    const QByteArray prefix = QFile::encodeName(m_prefix.path());
    // Another test may take the probed port first; then nginx fails to bind and we try again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        QByteArray conf = "daemon off;\nmaster_process off;\nworker_processes 1;\n"
                          "pid PREFIX/nginx.pid;\nerror_log PREFIX/error.log;\n";
        if (geteuid() == 0)
            conf += "user root;\n"; // the site lies in the test's private temporary folder
        conf += "events { worker_connections 64; }\nhttp {\n"
                "    access_log PREFIX/access.log;\n"
                "    client_body_temp_path PREFIX/body;\n    proxy_temp_path PREFIX/proxy;\n"
                "    fastcgi_temp_path PREFIX/fastcgi;\n    uwsgi_temp_path PREFIX/uwsgi;\n"
                "    scgi_temp_path PREFIX/scgi;\n"
                "    types { application/x-7z-compressed 7z; text/html html; }\n"
                "    default_type application/octet-stream;\n";
        conf +=
            QByteArray(serverBlock).replace("%LISTEN%", "127.0.0.1:" + QByteArray::number(m_port));
        conf += "}\n";
        conf.replace("PREFIX", prefix);
        QFile file(m_prefix.filePath(QStringLiteral("nginx.conf")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(conf) < 0) {
            *error = QStringLiteral("cannot write nginx.conf");
            return false;
        }
        file.close();
        m_nginx.setProcessChannelMode(QProcess::MergedChannels);
        m_nginx.start(QStringLiteral("nginx"),
                      {QStringLiteral("-p"), m_prefix.path() + QLatin1Char('/'),
                       QStringLiteral("-c"), file.fileName(), QStringLiteral("-e"),
                       m_prefix.filePath(QStringLiteral("error.log"))});
        if (!m_nginx.waitForStarted(10000)) {
            *error = QStringLiteral("cannot start nginx: %1").arg(m_nginx.errorString());
            return false;
        }
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000 && m_nginx.state() == QProcess::Running) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(200))
                return true;
            QThread::msleep(50);
        }
        QFile log(m_prefix.filePath(QStringLiteral("error.log")));
        log.open(QIODevice::ReadOnly);
        *error = QStringLiteral("nginx did not come up: %1 %2")
                     .arg(QString::fromLocal8Bit(m_nginx.readAll()),
                          QString::fromLocal8Bit(log.readAll()));
        stop();
    }
    return false;
}

void NginxSite::stop()
{
    if (m_nginx.state() == QProcess::NotRunning)
        return;
    m_nginx.terminate();
    if (!m_nginx.waitForFinished(5000)) {
        m_nginx.kill();
        m_nginx.waitForFinished(5000);
    }
}

QString NginxSite::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QByteArray NginxSite::reportLog() const
{
    QFile log(m_prefix.filePath(QStringLiteral("reports.log")));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

QByteArray NginxSite::accessLog() const
{
    QFile log(m_prefix.filePath(QStringLiteral("access.log")));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}
