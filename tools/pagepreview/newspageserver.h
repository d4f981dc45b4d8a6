#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QTcpServer;

// Serves the demo news page on 127.0.0.1 so the page's web view shows a real HTTP page.
// Every GET answers with the page; the language code is the last path segment.
class NewsPageServer : public QObject
{
    Q_OBJECT
public:
    explicit NewsPageServer(QObject *parent = nullptr);
    bool listen();
    QUrl baseUrl() const;

private:
    void onNewConnection();

    QTcpServer *m_server;
};
