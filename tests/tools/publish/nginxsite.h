#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's nginx serving a site folder on 127.0.0.1 with the rules the publisher prints, as a
// single foreground process with its own prefix, started and stopped by the test.
class NginxSite
{
public:
    ~NginxSite();

    // serverBlock is the publisher's block with "%LISTEN%" where the address goes.
    bool start(const QByteArray &serverBlock, QString *error);
    void stop();
    QString baseUrl() const;
    QByteArray accessLog() const;
    // What the site's report location logged (the snippet's PREFIX/reports.log).
    QByteArray reportLog() const;

private:
    QTemporaryDir m_prefix;
    QProcess m_nginx;
    quint16 m_port = 0;
};
