// The view model against a real resource service on 127.0.0.1: queries, retries, the game
// state they decide and the promotional art they fetch.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <QtTest>

#include "dialogwatcher.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "loopbackservices.h"
#include "mainviewmodel.h"

namespace {

const QString kResource = QStringLiteral("/zt7q_cn/xsk/launcher/api/resource");
const QString kContent = QStringLiteral("/zt7q_cn/xsk/launcher/api/content");

const char kPage[] = R"(
import QtQuick 2.12
import QtQuick.Window 2.2
Window {
    width: 1280; height: 730; visible: true
    Rectangle { objectName: "bgMask_msgbox"; visible: false }
    Text { objectName: "versionText" }
    Item { objectName: "bgWebView"; visible: true }
    Rectangle {
        objectName: "viewActivity"; visible: false
        property string nomal_Image: ""
        property string hover_Image: ""
        property string press_Image: ""
    }
}
)";

QByteArray resourceAnswer(const QString &version, const QString &entry = QString())
{
    const QJsonObject latest{
        {"name", "Orvyndale"},
        {"version", version},
        {"path", QStringLiteral("http://127.0.0.1:9/Orvyndale_%1.7z").arg(version)},
        {"size", 1024},
        {"md5", "00112233445566778899aabbccddeeff"},
        {"entry", entry}};
    const QJsonObject data{{"game", QJsonObject{{"latest", latest}, {"diffs", QJsonArray()}}},
                           {"plugin", QJsonObject{{"plugins", QJsonArray()}}},
                           {"web_url", "http://127.0.0.1:9/web"}};
    return QJsonDocument(QJsonObject{{"code", 0}, {"data", data}}).toJson(QJsonDocument::Compact);
}

QByteArray contentAnswer(const QJsonObject &adv)
{
    return QJsonDocument(QJsonObject{{"data", QJsonObject{{"adv", adv}}}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

class TestServerQueries : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    HttpTestServer *m_server = nullptr;
    QQmlApplicationEngine *m_engine = nullptr;
    DialogWatcher m_boxes;
    QStringList m_cleanup;

    QString gameFolder() const { return m_dir.filePath(QStringLiteral("game")); }

    void installGame(const QString &version, const QString &executable = QStringLiteral("Kestrava"))
    {
        LauncherConfig *config = LauncherConfig::instance();
        QDir().mkpath(gameFolder());
        config->setInstallPath(gameFolder());
        config->setGameVersion(version);
        if (!executable.isEmpty()) {
            const QString exe = gameFolder() + QLatin1Char('/') + executable;
            QDir().mkpath(QFileInfo(exe).path());
            QFile file(exe);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    QObject *attachPage(MainViewModel &model)
    {
        delete m_engine;
        m_engine = new QQmlApplicationEngine;
        m_engine->loadData(kPage);
        QObject *root = m_engine->rootObjects().value(0);
        model.setRootObject(root);
        return root;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_server = new HttpTestServer(this);
        QVERIFY(m_server->listen());
        LauncherConfig::setInstanceFilePath(m_dir.filePath(QStringLiteral("config.ini")));
        LauncherConfig *config = LauncherConfig::instance();
        useLoopbackServices(m_server->baseUrl());
    }

    void init()
    {
        m_server->clearRequests();
        m_server->clearFaults();
        m_server->serveData(kContent, contentAnswer({}), "application/json");
        m_boxes.clear();
        m_boxes.setAccept(true);
        QDir(gameFolder()).removeRecursively();
        LauncherConfig::instance()->setGameVersion(QString());
    }

    void cleanupTestCase()
    {
        delete m_engine;
        for (const QString &file : m_cleanup)
            QFile::remove(file);
    }

    // Runs first: the first content answer and the first refresh are once per process.
    void contentAnswerFetchesPromotionIconAndKeepsFirstPageAlone()
    {
        const QString iconName =
            QStringLiteral("promo_icon_%1.png").arg(QCoreApplication::applicationPid());
        m_cleanup << MainViewModel::launcherFolder() + QLatin1Char('/') + iconName;
        m_server->serveData(QLatin1Char('/') + iconName, QByteArray(300, 'p'), "image/png");
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->serveData(
            kContent,
            contentAnswer({{"icon", m_server->url(QLatin1Char('/') + iconName).toString()},
                           {"url", "http://127.0.0.1:9/event"}}),
            "application/json");
        MainViewModel model;
        model.setLanguageCode(QStringLiteral("ja-jp"));
        QObject *root = attachPage(model);
        QVERIFY(root);
        QObject *web = root->findChild<QObject *>(QStringLiteral("bgWebView"));
        QObject *promo = root->findChild<QObject *>(QStringLiteral("viewActivity"));
        QSignalSpy pageChanged(&model, &MainViewModel::mainBgResChanged);
        web->setProperty("visible", false);

        model.initialize();
        QTRY_VERIFY(promo->property("visible").toBool());
        const QString iconUrl = promo->property("nomal_Image").toString();
        QVERIFY(QUrl(iconUrl).isLocalFile());
        QCOMPARE(QFile(QUrl(iconUrl).toLocalFile()).size(), 300);
        QCOMPARE(promo->property("press_Image").toString(), iconUrl);
        const QUrlQuery contentQuery(m_server->requestsFor(kContent).first().query);
        QCOMPARE(contentQuery.queryItemValue(QStringLiteral("language")), QStringLiteral("ja-jp"));
        QCOMPARE(contentQuery.queryItemValue(QStringLiteral("filter_adv")), QStringLiteral("true"));
        // The first answer leaves the web view as its own loading left it.
        QCOMPARE(pageChanged.count(), 0);
        QVERIFY(!web->property("visible").toBool());

        // A later refresh (the window shown again) may show it and reload once.
        model.UpdateInfoByHttp(); // the first call of the process only clears its flag
        model.UpdateInfoByHttp();
        QTRY_COMPARE(pageChanged.count(), 1);
        QVERIFY(web->property("visible").toBool());
    }

    void answerDecidesTheGameState_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("published");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("state");
        QTest::newRow("nothing installed") << ""
                                           << ""
                                           << "1.0.0"
                                           << "" << 2;
        QTest::newRow("current") << "1.0.0"
                                 << "Kestrava"
                                 << "1.0.0"
                                 << "" << 3;
        QTest::newRow("current but executable gone") << "1.0.0"
                                                     << ""
                                                     << "1.0.0"
                                                     << "" << 2;
        QTest::newRow("older") << "0.9.0"
                               << "Kestrava"
                               << "1.0.0"
                               << "" << 4;
        // Any difference means update, even a newer installed version.
        QTest::newRow("newer than published") << "2.0.0"
                                              << "Kestrava"
                                              << "1.0.0"
                                              << "" << 4;
        QTest::newRow("entry from the manifest") << "1.0.0"
                                                 << "bin/game"
                                                 << "1.0.0"
                                                 << "bin/game" << 3;
        QTest::newRow("entry missing") << "1.0.0"
                                       << "Kestrava"
                                       << "1.0.0"
                                       << "bin/game" << 2;
    }

    void answerDecidesTheGameState()
    {
        QFETCH(QString, installed);
        QFETCH(QString, executable);
        QFETCH(QString, published);
        QFETCH(QString, entry);
        QFETCH(int, state);
        if (!installed.isEmpty())
            installGame(installed, executable);
        m_server->serveData(kResource, resourceAnswer(published, entry), "application/json");

        MainViewModel model;
        QSignalSpy changed(&model, &MainViewModel::gameStateChanged);
        model.initialize();
        QCOMPARE(model.gameState(), int(MainViewModel::Checking));
        QTRY_VERIFY(changed.count() > 0);
        QCOMPARE(model.gameState(), state);
        QCOMPARE(m_boxes.count(), 0);

        const HttpTestServer::Request request = m_server->requestsFor(kResource).first();
        QCOMPARE(request.query, QStringLiteral("launcher_id=18"));
        QCOMPARE(request.header("content-type"), QByteArray("application/json"));
        QCOMPARE(model.updateShowVersion(), installed.isEmpty() ? published : installed);
    }

    void fiveFailuresThenAnAnswerAskNothing()
    {
        installGame(QStringLiteral("1.0.0"));
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->addFault(kResource, HttpTestServer::Fault::status(502), 5);
        MainViewModel model;
        QSignalSpy changed(&model, &MainViewModel::gameStateChanged);
        model.initialize();
        QTRY_VERIFY_WITH_TIMEOUT(changed.count() > 0, 20000);
        QCOMPARE(m_server->requestCount(kResource), 6);
        QCOMPARE(model.gameState(), int(MainViewModel::Installed));
        QCOMPARE(m_boxes.count(), 0);
    }

    void sixthFailureAsksAndConfirmRetries()
    {
        installGame(QStringLiteral("1.0.0"));
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->addFault(kResource, HttpTestServer::Fault::status(500), 6);
        MainViewModel model;
        QSignalSpy changed(&model, &MainViewModel::gameStateChanged);
        model.initialize();
        QTRY_VERIFY_WITH_TIMEOUT(changed.count() > 0, 20000);
        QCOMPARE(m_boxes.count(), 1);
        QCOMPARE(m_server->requestCount(kResource), 7);
        QCOMPARE(model.gameState(), int(MainViewModel::Installed));
    }

    void sixthFailureDeclinedLeavesQueryFailed()
    {
        m_boxes.setAccept(false);
        m_server->addFault(kResource, HttpTestServer::Fault::status(500), -1);
        MainViewModel model;
        model.initialize();
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes.count(), 1, 20000);
        QTRY_COMPARE(model.gameState(), int(MainViewModel::QueryFailed));
        QTest::qWait(200);
        QCOMPARE(m_server->requestCount(kResource), 6);

        // The install button of a failed page asks again.
        m_server->clearFaults();
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        model.installEnsureBtnClicked();
        QTRY_COMPARE(model.gameState(), int(MainViewModel::NotInstalled));
    }

    void unreadableAnswerIsAnErrorNotAnEmptyCatalogue()
    {
        installGame(QStringLiteral("1.0.0"));
        m_boxes.setAccept(false);
        m_server->serveData(kResource, "<html>proxy login</html>", "text/html");
        MainViewModel model;
        QSignalSpy changed(&model, &MainViewModel::gameStateChanged);
        model.initialize();
        QTRY_COMPARE(m_boxes.count(), 1);
        QCOMPARE(m_server->requestCount(kResource), 1);
        // Not offered a fresh install over the installed game, now or later.
        QTRY_VERIFY(changed.count() > 0);
        QCOMPARE(model.gameState(), int(MainViewModel::QueryFailed));
        QTest::qWait(200);
        QCOMPARE(model.gameState(), int(MainViewModel::QueryFailed));
        QVERIFY(!model.installEnable());

        // A good answer, asked for by the install button, decides again.
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        model.installEnsureBtnClicked();
        QTRY_COMPARE(model.gameState(), int(MainViewModel::Installed));
        QCOMPARE(m_boxes.count(), 1);
    }

    // Lost and unreadable content answers alike: five re-sends, then the player is asked.
    void contentQueryResendsFiveTimesBeforeAsking_data()
    {
        QTest::addColumn<int>("status"); // 200 here is an empty, unreadable answer
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("boxes");
        QTest::newRow("five lost") << 502 << 5 << 0;
        QTest::newRow("six lost") << 502 << 6 << 1;
        QTest::newRow("five unreadable") << 200 << 5 << 0;
        QTest::newRow("six unreadable") << 200 << 6 << 1;
    }

    void contentQueryResendsFiveTimesBeforeAsking()
    {
        QFETCH(int, status);
        QFETCH(int, failures);
        QFETCH(int, boxes);
        m_boxes.setAccept(false);
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->addFault(kContent, HttpTestServer::Fault::status(status), failures);
        MainViewModel model;
        model.initialize();
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(kContent), 6, 20000);
        QTRY_COMPARE(m_boxes.count(), boxes);
        QTest::qWait(300);
        QCOMPARE(m_server->requestCount(kContent), 6);
        QCOMPARE(m_boxes.count(), boxes);
    }

    // A CDN redirects the art to differently named files: those are the ones shown.
    void promotionalArtBehindRedirectsIsShown()
    {
        const QString pid = QString::number(QCoreApplication::applicationPid());
        const QString bg = QStringLiteral("bg_%1-5e1f.jpg").arg(pid);
        const QString icon = QStringLiteral("icon_%1-77aa.png").arg(pid);
        m_cleanup << MainViewModel::launcherFolder() + QLatin1Char('/') + bg
                  << MainViewModel::launcherFolder() + QLatin1Char('/') + icon;
        m_server->serveData(QStringLiteral("/cdn/") + bg, "jpeg", "image/jpeg");
        m_server->serveData(QStringLiteral("/cdn/") + icon, QByteArray(200, 'p'), "image/png");
        m_server->redirect(QStringLiteral("/art/bg.jpg"), QStringLiteral("/cdn/") + bg);
        m_server->redirect(QStringLiteral("/art/icon.png"), QStringLiteral("/cdn/") + icon);
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->serveData(
            kContent,
            contentAnswer({{"background", m_server->url(QStringLiteral("/art/bg.jpg")).toString()},
                           {"icon", m_server->url(QStringLiteral("/art/icon.png")).toString()},
                           {"url", "http://127.0.0.1:9/event"}}),
            "application/json");
        MainViewModel model;
        QObject *root = attachPage(model);
        QVERIFY(root);
        QObject *promo = root->findChild<QObject *>(QStringLiteral("viewActivity"));
        promo->setProperty("visible", false);
        QSignalSpy bgChanged(&model, &MainViewModel::bgPathChanged);
        model.initialize();
        QTRY_VERIFY(promo->property("visible").toBool());
        QCOMPARE(QUrl(promo->property("nomal_Image").toString()).fileName(), icon);
        QTRY_VERIFY(!bgChanged.isEmpty());
        QCOMPARE(LauncherConfig::instance()->gameDynamicBgName(), bg);
        QCOMPARE(QUrl(bgChanged.last().first().toString()).fileName(), bg);
    }

    void backgroundAlreadyPresentIsNotFetchedAgain()
    {
        const QString name =
            QStringLiteral("bg_present_%1.jpg").arg(QCoreApplication::applicationPid());
        const QString local = MainViewModel::launcherFolder() + QLatin1Char('/') + name;
        m_cleanup << local;
        QFile file(local);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("jpeg");
        file.close();
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->serveData(
            kContent,
            contentAnswer({{"background", m_server->url(QLatin1Char('/') + name).toString()}}),
            "application/json");
        MainViewModel model;
        QSignalSpy bgChanged(&model, &MainViewModel::bgPathChanged);
        model.initialize();
        QTRY_COMPARE(bgChanged.count(), 1);
        QCOMPARE(bgChanged.first().first().toString(), QString());
        QCOMPARE(m_server->requestCount(QLatin1Char('/') + name), 0);
        QCOMPARE(LauncherConfig::instance()->gameDynamicBgName(), name);
        QCOMPARE(model.bgPath(), QUrl::fromLocalFile(local).toString());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestServerQueries test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_serverqueries.moc"
