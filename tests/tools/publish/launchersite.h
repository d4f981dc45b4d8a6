#pragma once

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QtTest>

#include "dialogwatcher.h"
#include "launcherconfig.h"
#include "mainviewmodel.h"
#include "nginxsite.h"
#include "publishtestutil.h"

// A published site served by nginx with the tool's own rules, and the launcher engine under
// test pointed at it: the round trips through the real programs share this.
namespace publishtest {

inline bool serveSiteToLauncher(NginxSite *nginx, const QString &site, const QString &configPath,
                                QString *error)
{
    const Run snippet = runTool(
        {"nginx", "--site", site, "--listen", "%LISTEN%", "--report-log", "PREFIX/reports.log"});
    if (snippet.exitCode != 0) {
        *error = snippet.err;
        return false;
    }
    if (!nginx->start(snippet.out.toUtf8(), error))
        return false;
    LauncherConfig::setInstanceFilePath(configPath);
    LauncherConfig *config = LauncherConfig::instance();
    for (const char *key : {"resource_url", "release_url", "report_url"})
        config->writeString(QLatin1String(key), nginx->baseUrl(), QStringLiteral("services"));
    return true;
}

inline bool waitForGameState(MainViewModel &model, const DialogWatcher &boxes, int state)
{
    QElapsedTimer timer;
    timer.start();
    while (model.gameState() != state && timer.elapsed() < 60000)
        QTest::qWait(20);
    if (model.gameState() != state)
        qWarning() << "state" << model.gameState() << "boxes" << boxes.texts();
    return model.gameState() == state;
}

inline QByteArray fetchUrl(const QString &url)
{
    QNetworkAccessManager network;
    QNetworkReply *reply = network.get(QNetworkRequest(QUrl(url)));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    finished.wait(10000);
    reply->deleteLater();
    return reply->readAll();
}

} // namespace publishtest
