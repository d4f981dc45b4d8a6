// The view model against a real resource service on 127.0.0.1: queries, retries, the game
// state they decide and the promotional art they fetch.
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <QtTest>

#include "dialogwatcher.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "loopbackservices.h"
#include "mainviewmodel.h"
#include "promoartcache.h"

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

QByteArray pngBytes(int side = 4)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
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
        QStandardPaths::setTestModeEnabled(true);
        QDir(PromoArtCache::folder()).removeRecursively();
        m_server = new HttpTestServer(this);
        QVERIFY(m_server->listen());
        LauncherConfig::setInstanceFilePath(m_dir.filePath(QStringLiteral("config.ini")));
        LauncherConfig::instance();
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
        const QString iconName = QStringLiteral("promo_icon.png");
        m_server->serveData(QLatin1Char('/') + iconName, pngBytes(), "image/png");
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
        QCOMPARE(QFile(QUrl(iconUrl).toLocalFile()).size(), pngBytes().size());
        QCOMPARE(QFileInfo(QUrl(iconUrl).toLocalFile()).path(), PromoArtCache::folder());
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

    // The answer's `entry` decides which program of the game folder starts, never one
    // elsewhere: each program here leaves a mark when it runs.
    void gameEntryStaysInTheGameFolder_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("starts");
        QTest::newRow("inside") << "bin/game" << true;
        QTest::newRow("backslashes inside") << "bin\\game" << true;
        QTest::newRow("up and out") << "../outside/tool" << false;
        QTest::newRow("up twice") << "../../game/../outside/tool" << false;
        QTest::newRow("in and out") << "bin/../../outside/tool" << false;
        QTest::newRow("absolute") << "@OUTSIDE@/tool" << false;
        QTest::newRow("through a link") << "linked/tool" << false;
        QTest::newRow("link to the program") << "bin/alias" << false;
    }

    void gameEntryStaysInTheGameFolder()
    {
        QFETCH(QString, entry);
        QFETCH(bool, starts);
        const QString outside = m_dir.filePath(QStringLiteral("outside"));
        entry.replace(QStringLiteral("@OUTSIDE@"), outside);
        const QByteArray mark = "#!/bin/sh\necho ran > \"$(dirname \"$0\")/ran\"\n";
        QDir(outside).removeRecursively();
        QDir().mkpath(outside);
        installGame(QStringLiteral("1.0.0"), QStringLiteral("bin/game"));
        const QStringList programs{gameFolder() + QStringLiteral("/bin/game"),
                                   outside + QStringLiteral("/tool")};
        for (const QString &program : programs) {
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(mark);
            file.close();
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        }
        QVERIFY(QFile::link(outside, gameFolder() + QStringLiteral("/linked")));
        QVERIFY(QFile::link(outside + QStringLiteral("/tool"),
                            gameFolder() + QStringLiteral("/bin/alias")));
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0"), entry),
                            "application/json");

        MainViewModel model;
        QSignalSpy changed(&model, &MainViewModel::gameStateChanged);
        model.initialize();
        QTRY_VERIFY(changed.count() > 0);
        QCOMPARE(model.gameState(), int(MainViewModel::Installed));
        model.startGameBtnClicked();
        if (starts) {
            QTRY_VERIFY(QFileInfo::exists(gameFolder() + QStringLiteral("/bin/ran")));
            QCOMPARE(m_boxes.count(), 0);
        } else {
            // Refused at once, with its code, before anything runs.
            QCOMPARE(m_boxes.count(), 1);
            QVERIFY2(m_boxes.texts().first().contains(QStringLiteral("[1029]")),
                     qPrintable(m_boxes.texts().first()));
            QVERIFY(m_boxes.texts().first().contains(entry));
        }
        QVERIFY(!QFileInfo::exists(outside + QStringLiteral("/ran")));
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
        const QString bg = QStringLiteral("bg-5e1f.png");
        const QString icon = QStringLiteral("icon-77aa.png");
        m_server->serveData(QStringLiteral("/cdn/") + bg, pngBytes(8), "image/png");
        m_server->serveData(QStringLiteral("/cdn/") + icon, pngBytes(), "image/png");
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
        // Named after the address asked for, not after wherever it led.
        QCOMPARE(QUrl(promo->property("nomal_Image").toString()).fileName(),
                 PromoArtCache::fileNameFor(m_server->url(QStringLiteral("/art/icon.png"))));
        QTRY_VERIFY(!bgChanged.isEmpty());
        const QString bgName =
            PromoArtCache::fileNameFor(m_server->url(QStringLiteral("/art/bg.jpg")));
        QCOMPARE(LauncherConfig::instance()->gameDynamicBgName(), bgName);
        QCOMPARE(QUrl(bgChanged.last().first().toString()).toLocalFile(),
                 PromoArtCache::folder() + QLatin1Char('/') + bgName);
    }

    // Whatever the address is called, art lands only in the launcher's own cache under a name
    // the launcher makes, and only when it is a picture of a sane size.
    void promotionalArtLandsOnlyInItsCache_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("servedAs");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("shown");
        const QString pid = QString::number(QCoreApplication::applicationPid());
        const QByteArray png = pngBytes();
        QTest::newRow("config file name") << "/art/victim_" + pid + ".ini"
                                          << "" << png << true;
        QTest::newRow("program name") << "/art/victim_" + pid << "" << png << true;
        QTest::newRow("library name") << "/art/victim_" + pid + ".dll"
                                      << "" << png << true;
        QTest::newRow("redirect to a program name")
            << "/art/promo.png"
            << "/cdn/payload_" + pid + ".exe" << png << true;
        QTest::newRow("no image") << "/art/payload_" + pid + ".exe"
                                  << "" << QByteArray("MZ\x90\0\3\0\0\0", 8) << false;
        QByteArray huge = png;
        huge.append(QByteArray(PromoArtCache::kMaxBytes, '\0'));
        QTest::newRow("too large") << "/art/huge.png"
                                   << "" << huge << false;
    }

    void promotionalArtLandsOnlyInItsCache()
    {
        QFETCH(QString, address);
        QFETCH(QString, servedAs);
        QFETCH(QByteArray, body);
        QFETCH(bool, shown);
        QDir(PromoArtCache::folder()).removeRecursively();
        const QString launcher = MainViewModel::launcherFolder();
        const QStringList before = QDir(launcher).entryList(QDir::AllEntries | QDir::Hidden);
        // A file of the launcher's that bears the address's name.
        const QString victim = launcher + QLatin1Char('/') + QUrl(address).fileName();
        QFile original(victim);
        QVERIFY(original.open(QIODevice::WriteOnly));
        original.write("original");
        original.close();
        m_cleanup << victim << launcher + QLatin1Char('/') + QUrl(servedAs).fileName();
        if (servedAs.isEmpty()) {
            m_server->serveData(address, body, "image/png");
        } else {
            m_server->redirect(address, servedAs);
            m_server->serveData(servedAs, body, "image/png");
        }
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->serveData(kContent,
                            contentAnswer({{"icon", m_server->url(address).toString()},
                                           {"url", "http://127.0.0.1:9/event"}}),
                            "application/json");
        MainViewModel model;
        QObject *root = attachPage(model);
        QObject *promo = root->findChild<QObject *>(QStringLiteral("viewActivity"));
        promo->setProperty("visible", false);
        model.initialize();
        const QList<PromoArtCache *> caches = model.findChildren<PromoArtCache *>();
        QVERIFY(!caches.isEmpty());
        QList<QSignalSpy *> spies;
        for (PromoArtCache *cache : caches)
            spies << new QSignalSpy(cache, &PromoArtCache::fetched);
        const auto fetches = [&spies] {
            int n = 0;
            for (QSignalSpy *spy : qAsConst(spies))
                n += spy->count();
            return n;
        };
        QTRY_COMPARE(fetches(), 1);
        qDeleteAll(spies);

        QCOMPARE(promo->property("visible").toBool(), shown);
        const QStringList cached = QDir(PromoArtCache::folder()).entryList(QDir::Files);
        if (shown) {
            const QString name = PromoArtCache::fileNameFor(m_server->url(address));
            QCOMPARE(cached, QStringList{name});
            QCOMPARE(QUrl(promo->property("nomal_Image").toString()).toLocalFile(),
                     PromoArtCache::folder() + QLatin1Char('/') + name);
        } else {
            QCOMPARE(cached, QStringList());
        }
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), QByteArray("original"));
        original.close();
        QStringList after = QDir(launcher).entryList(QDir::AllEntries | QDir::Hidden);
        after.removeAll(QUrl(address).fileName());
        QCOMPARE(after, before);
    }

    void backgroundAlreadyPresentIsNotFetchedAgain()
    {
        const QString address = QStringLiteral("/bg_present.jpg");
        const QString name = PromoArtCache::fileNameFor(m_server->url(address));
        const QString local = PromoArtCache::folder() + QLatin1Char('/') + name;
        QDir().mkpath(PromoArtCache::folder());
        QFile file(local);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pngBytes());
        file.close();
        m_server->serveData(kResource, resourceAnswer(QStringLiteral("1.0.0")), "application/json");
        m_server->serveData(kContent,
                            contentAnswer({{"background", m_server->url(address).toString()}}),
                            "application/json");
        MainViewModel model;
        QSignalSpy bgChanged(&model, &MainViewModel::bgPathChanged);
        model.initialize();
        QTRY_COMPARE(bgChanged.count(), 1);
        QCOMPARE(bgChanged.first().first().toString(), QString());
        QCOMPARE(m_server->requestCount(address), 0);
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
