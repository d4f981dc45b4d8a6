#include <QApplication>
#include <QDialog>
#include <QPoint>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <QStandardPaths>
#include <QtTest>

#include "cdlgyesno.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "loopbackservices.h"
#include "mainviewmodel.h"
#include "promoartcache.h"

// A page with the object names the view model writes to.
static const char kPage[] = R"(
import QtQuick 2.12
import QtQuick.Window 2.2
Window {
    objectName: "rootWindow"
    x: 100; y: 50; width: 1280; height: 720
    visible: true
    property bool closingSeen: false
    onClosing: closingSeen = true
    Text { objectName: "versionText" }
    Text { objectName: "curinstallPath" }
    Rectangle { objectName: "bgMask_msgbox"; visible: false }
    MouseArea {
        objectName: "aboutArea"
        x: 0; y: 0; width: 80; height: 80
        onPressed: mainViewModel.appInfoAreaClick()
    }
    MouseArea {
        objectName: "clickTarget"
        x: 400; y: 300; width: 100; height: 100
        property int clicks: 0
        onClicked: clicks++
    }
}
)";

class TestMainViewModel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    HttpTestServer m_server;
    QQmlApplicationEngine *m_engine = nullptr;

    QObject *loadPage(MainViewModel &model)
    {
        delete m_engine;
        m_engine = new QQmlApplicationEngine;
        m_engine->rootContext()->setContextProperty(QStringLiteral("mainViewModel"), &model);
        m_engine->loadData(kPage);
        if (m_engine->rootObjects().isEmpty())
            return nullptr;
        QObject *root = m_engine->rootObjects().first();
        model.setRootObject(root);
        return root;
    }

    static QObject *item(QObject *root, const char *name)
    {
        return root->findChild<QObject *>(QLatin1String(name));
    }

    LauncherConfig *config() { return LauncherConfig::instance(); }

    // Answers the next modal box once it is shown.
    static void answerNextBox(bool accept)
    {
        QTimer::singleShot(0, [accept] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(box);
            accept ? box->accept() : box->reject();
        });
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        LauncherConfig::setInstanceFilePath(m_dir.filePath(QStringLiteral("config.ini")));
        // Every service on loopback: the view model reports and asks as it would in the field.
        QVERIFY(m_server.listen());
        useLoopbackServices(m_server.baseUrl());
        m_server.serveData(QStringLiteral("/zt7q_cn/xsk/launcher/api/resource"),
                           "{\"data\":{\"game\":{\"latest\":{\"version\":\"1.0.0\"}}}}",
                           "application/json");
        m_server.serveData(QStringLiteral("/zt7q_cn/xsk/launcher/api/content"),
                           "{\"data\":{\"adv\":{}}}", "application/json");
        m_server.serveData(QStringLiteral("/pelorin/marduvel/api/getLatestRelease"),
                           "{\"data\":{\"has_update\":\"false\"}}", "application/json");
    }

    void cleanupTestCase() { delete m_engine; }

    void buttonFlagsFollowTheGameState_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("startEnable");
        QTest::addColumn<bool>("startVisible");
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("install");
        QTest::addColumn<bool>("downloading");
        QTest::addColumn<bool>("setup");
        QTest::newRow("checking") << 1 << false << true << false << false << false << false;
        QTest::newRow("not installed") << 2 << false << false << false << true << false << false;
        QTest::newRow("installed") << 3 << true << true << false << false << false << false;
        QTest::newRow("update available") << 4 << false << false << true << false << false << false;
        QTest::newRow("downloading") << 6 << false << true << false << false << true << false;
        QTest::newRow("installing") << 7 << false << true << false << false << false << true;
        QTest::newRow("query failed") << 8 << false << false << false << false << false << false;
        QTest::newRow("verifying") << 9 << false << true << false << false << false << true;
    }

    void buttonFlagsFollowTheGameState()
    {
        QFETCH(int, state);
        MainViewModel model;
        QSignalSpy changed(&model, &MainViewModel::gameStateChanged);
        model.setGameState(state);
        QCOMPARE(changed.count(), 1);
        QTEST(model.property("startGameEnable").toBool(), "startEnable");
        QTEST(model.property("startGameVisible").toBool(), "startVisible");
        QTEST(model.property("updateEnable").toBool(), "update");
        QTEST(model.property("installEnable").toBool(), "install");
        QTEST(model.property("downloading").toBool(), "downloading");
        QTEST(model.property("setupGameing").toBool(), "setup");
    }

    void longInstallPathsAreElidedInTheMiddle()
    {
        const QString head = QStringLiteral("/h").repeated(20); // 40
        const QString tail = QStringLiteral("t/").repeated(20); // 40
        const QString p95 = head + QString(15, QLatin1Char('m')) + tail;
        QCOMPARE(p95.size(), 95);
        QCOMPARE(MainViewModel::elidedPath(p95), head + QStringLiteral(" ... ") + tail);
        const QString p80 = head + tail;
        QCOMPARE(MainViewModel::elidedPath(p80), p80);
        QCOMPARE(MainViewModel::elidedPath(p80 + QLatin1Char('x')).size(), 85);

        MainViewModel model;
        QObject *root = loadPage(model);
        QVERIFY(root);
        QSignalSpy changed(&model, &MainViewModel::installPathChanged);
        model.setProperty("installPath", p95);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(config()->installPath(), p95); // stored whole, shown elided
        QCOMPARE(model.property("installPath").toString(), head + QStringLiteral(" ... ") + tail);
        QCOMPARE(item(root, "curinstallPath")->property("text").toString(),
                 head + QStringLiteral(" ... ") + tail);
    }

    void backgroundFallsBackToTheBundledPicture()
    {
        MainViewModel model;
        config()->setGameDynamicBgName(QString());
        QCOMPARE(model.bgPath(), QStringLiteral("qrc:/pic/bg.png"));
        config()->setGameDynamicBgName(QStringLiteral("missing_bg_for_test.jpg"));
        QCOMPARE(model.bgPath(), QStringLiteral("qrc:/pic/bg.png"));

        // A name this launcher did not make is never shown, even when such a file exists.
        const QString foreign =
            QCoreApplication::applicationDirPath() + QStringLiteral("/bg_test_present.jpg");
        QFile other(foreign);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        config()->setGameDynamicBgName(QStringLiteral("bg_test_present.jpg"));
        QCOMPARE(model.bgPath(), QStringLiteral("qrc:/pic/bg.png"));
        QFile::remove(foreign);

        const QString name = PromoArtCache::fileNameFor(QUrl(QStringLiteral("http://a/bg.jpg")));
        const QString file = PromoArtCache::folder() + QLatin1Char('/') + name;
        QVERIFY(QDir().mkpath(PromoArtCache::folder()));
        QFile present(file);
        QVERIFY(present.open(QIODevice::WriteOnly));
        present.write("jpeg");
        present.close();
        config()->setGameDynamicBgName(name);
        // "file:///" and the absolute path, without doubling the root's slash.
        QCOMPARE(model.bgPath(), QStringLiteral("file://") + file);
        QFile::remove(file);
        QCOMPARE(model.bgPath(), QStringLiteral("qrc:/pic/bg.png"));
    }

    void newLauncherVersionIsComparedWithOurOwn_data()
    {
        QTest::addColumn<QString>("newVersion");
        QTest::addColumn<bool>("expected");
        QTest::newRow("none") << "" << false;
        QTest::newRow("same") << "2.3.3.0" << false;
        QTest::newRow("older") << "2.3.2.9" << false;
        QTest::newRow("newer") << "2.3.4.0" << true;
        QTest::newRow("numeric not text") << "2.10.0.0" << true;
        QTest::newRow("garbage") << "2.x" << false;
    }

    void newLauncherVersionIsComparedWithOurOwn()
    {
        QFETCH(QString, newVersion);
        QFETCH(bool, expected);
        config()->writeString(QStringLiteral("new_version"), newVersion);
        MainViewModel model;
        QCOMPARE(model.hasNewProgramVersion(), expected);
        QCOMPARE(model.property("hasNewProgramVersion").toBool(), expected);
    }

    void firstRefreshAfterStartSendsNothing()
    {
        const QString resource = QStringLiteral("/zt7q_cn/xsk/launcher/api/resource");
        const QString content = QStringLiteral("/zt7q_cn/xsk/launcher/api/content");
        const QString release = QStringLiteral("/pelorin/marduvel/api/getLatestRelease");
        auto sent = [&] {
            return QList<int>{m_server.requestCount(resource), m_server.requestCount(content),
                              m_server.requestCount(release)};
        };
        MainViewModel model;
        m_server.clearRequests();
        model.initialize();
        QTRY_COMPARE(sent(), (QList<int>{1, 1, 1}));
        QTRY_COMPARE(model.gameState(), int(MainViewModel::NotInstalled));
        m_server.clearRequests();
        model.UpdateInfoByHttp();
        QTest::qWait(200);
        QCOMPARE(sent(), (QList<int>{0, 0, 0}));

        model.setGameState(MainViewModel::Installed);
        model.UpdateInfoByHttp();
        QTRY_COMPARE(sent(), (QList<int>{1, 1, 1}));
        // Let the answer land (nothing is installed here) before the page turns busy.
        QTRY_COMPARE(model.gameState(), int(MainViewModel::NotInstalled));

        // A running download, check or setup is not disturbed by a new resource answer.
        for (int busy : {6, 7, 9}) {
            m_server.clearRequests();
            model.setGameState(busy);
            model.UpdateInfoByHttp();
            QTRY_COMPARE(sent(), (QList<int>{0, 1, 1}));
            QTest::qWait(100);
            QCOMPARE(m_server.requestCount(resource), 0);
            QCOMPARE(model.gameState(), busy);
        }
    }

    void startedByTheUpdaterSkipsItsOwnUpdateCheck()
    {
        const QString release = QStringLiteral("/pelorin/marduvel/api/getLatestRelease");
        MainViewModel model;
        model.setStartedByUpdater(true);
        m_server.clearRequests();
        model.initialize();
        QTRY_COMPARE(m_server.requestCount(QStringLiteral("/zt7q_cn/xsk/launcher/api/content")), 1);
        QTest::qWait(200);
        QCOMPARE(m_server.requestCount(release), 0);
    }

    void aboutNeedsTenClicksWithinFiveSeconds()
    {
        qint64 t = 1000000;
        QVERIFY(!MainViewModel::registerAboutClick(t)); // opens the window
        for (int i = 2; i <= 9; ++i)
            QVERIFY(!MainViewModel::registerAboutClick(t + i * 100));
        QVERIFY(MainViewModel::registerAboutClick(t + 1000)); // the tenth
        // The count starts again after a hit.
        QVERIFY(!MainViewModel::registerAboutClick(t + 1100));

        // Slow clicks: the click that comes after the window restarts it from zero.
        t += 10000;
        for (int i = 0; i < 12; ++i)
            QVERIFY(!MainViewModel::registerAboutClick(t + i * 2000));
        const qint64 start = t + 12 * 2000;
        QVERIFY(!MainViewModel::registerAboutClick(start + 6000)); // restart, count 0
        for (int i = 1; i <= 9; ++i)
            QVERIFY(!MainViewModel::registerAboutClick(start + 6000 + i * 10));
        QVERIFY(MainViewModel::registerAboutClick(start + 6000 + 100));
    }

    void closeButtonFollowsTheStoredExitType()
    {
        config()->writeBool(QStringLiteral("is_first_exit"), false);
        config()->writeInt(QStringLiteral("exit_type"), 1);
        MainViewModel model;
        QObject *root = loadPage(model);
        auto *window = qobject_cast<QQuickWindow *>(root);
        QVERIFY(window);
        QTRY_VERIFY(window->isVisible());
        model.btnExitClick();
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(!root->property("closingSeen").toBool());

        // A second launch brings the hidden window back.
        model.handleMessage(QStringLiteral("something else"));
        QCoreApplication::processEvents();
        QVERIFY(!window->isVisible());
        model.handleMessage(QStringLiteral("raise_window_noop"));
        QTRY_VERIFY(window->isVisible());

        config()->writeInt(QStringLiteral("exit_type"), 2);
        model.btnExitClick();
        QTRY_VERIFY(root->property("closingSeen").toBool());
    }

    void messageBoxRunsThePendingActionWithTheAnswer()
    {
        MainViewModel model;
        QObject *root = loadPage(model);
        QVERIFY(root);
        QObject *mask = item(root, "bgMask_msgbox");
        QList<bool> answers;
        bool maskWhileOpen = false;

        QTimer::singleShot(0, [&] { maskWhileOpen = mask->property("visible").toBool(); });
        answerNextBox(true);
        QCOMPARE(model.showMessageBox(QStringLiteral("title_tip"), QStringLiteral("message"), false,
                                      [&](bool ok) { answers << ok; }),
                 1);
        answerNextBox(false);
        QCOMPARE(model.showMessageBox(QStringLiteral("title_tip"), QStringLiteral("message"), true,
                                      [&](bool ok) { answers << ok; }),
                 0);
        QCOMPARE(answers, (QList<bool>{true, false}));
        QVERIFY(maskWhileOpen);
        QCOMPARE(CDlgYesNo::openCount(), 0);
        QVERIFY(!mask->property("visible").toBool());

        // The long-lived box reports through the same pending action.
        answers.clear();
        model.onDlgYesNoConfirmClicked(true);
        QCOMPARE(answers, QList<bool>{true});
    }

    void dialogsOpenCentredOverTheDimmedPage()
    {
        MainViewModel model;
        model.initialize();
        QObject *root = loadPage(model);
        QVERIFY(root);
        QObject *mask = item(root, "bgMask_msgbox");
        struct Seen
        {
            QString className;
            QPoint topLeft;
            QSize size;
            bool masked = false;
        };
        QList<Seen> seen;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                seen << Seen{QString::fromLatin1(dialog->metaObject()->className()), dialog->pos(),
                             dialog->size(), mask->property("visible").toBool()};
                dialog->reject();
            }
        });
        watcher.start(10);

        model.btnSettingClick();
        model.changeInstallPathBtnClicked();
        // The page's own gesture: ten quick clicks, after the one that opens a fresh window
        // (the earlier test left the window long expired).
        for (int i = 0; i < 11; ++i)
            model.appInfoAreaClick();
        // The about box waits until the click that asked for it has been handled.
        QCOMPARE(seen.size(), 2);
        QTRY_COMPARE(seen.size(), 3);
        config()->writeBool(QStringLiteral("is_first_exit"), true);
        config()->writeInt(QStringLiteral("exit_type"), 2);
        model.btnExitClick(); // first close asks; a dismissed choice keeps the stored quit

        QStringList classes;
        for (const Seen &s : seen)
            classes << s.className;
        QCOMPARE(classes, (QStringList{"DlgSetting", "CSetInstallPathDialog", "CDlgAppInfo",
                                       "CDlgCloseTip"}));
        for (const Seen &s : seen) {
            QVERIFY2(s.masked, qPrintable(s.className));
            QCOMPARE(s.topLeft,
                     QPoint(100 + (1280 - s.size.width()) / 2, 50 + (720 - s.size.height()) / 2));
        }
        QVERIFY(!mask->property("visible").toBool());
        QVERIFY(!config()->readBool(QStringLiteral("is_first_exit"), QString(), true));
        QCOMPARE(config()->readInt(QStringLiteral("exit_type")), 2);
        QTRY_VERIFY(root->property("closingSeen").toBool());
    }

    void clickAfterTheAboutBoxReachesThePage()
    {
        MainViewModel model;
        model.initialize();
        auto *window = qobject_cast<QQuickWindow *>(loadPage(model));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QStringList seen;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                seen << QString::fromLatin1(dialog->metaObject()->className());
                dialog->reject();
            }
        });
        watcher.start(10);

        // Quick presses on the about area until the box opens. The player lets go of the
        // button over the box, so the press that opened it never sees its release.
        const QPoint about(40, 40);
        for (int i = 0; i < 12 && seen.isEmpty(); ++i) {
            QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, about);
            QCoreApplication::processEvents();
            if (seen.isEmpty())
                QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, about);
        }
        QCOMPARE(seen, QStringList{"CDlgAppInfo"});
        QTRY_VERIFY(!QApplication::activeModalWidget());
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));

        // The next click on the page reaches what is under the pointer.
        QObject *target = item(window, "clickTarget");
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(450, 350));
        QCOMPARE(target->property("clicks").toInt(), 1);
    }

    void webPageAddressCarriesLanguageAndApiBase()
    {
        config()->writeString(QStringLiteral("web_url"),
                              QStringLiteral("http://127.0.0.1:8080/launcher"),
                              QStringLiteral("services"));
        config()->writeString(QStringLiteral("resource_url"),
                              QStringLiteral("http://127.0.0.1:8081"), QStringLiteral("services"));
        MainViewModel model;
        model.setLanguageCode(QStringLiteral("zh-cn"));
        const QUrl url(model.mainBgUrl());
        QCOMPARE(url.adjusted(QUrl::RemoveQuery).toString(),
                 QStringLiteral("http://127.0.0.1:8080/launcher/18/zh-cn"));
        const QUrlQuery query(url);
        // The page decodes the value once and gets the API base back.
        QCOMPARE(query.queryItemValue(QStringLiteral("api_url"), QUrl::FullyDecoded),
                 QStringLiteral("http://127.0.0.1:8081/zt7q_cn"));
        QCOMPARE(query.queryItemValue(QStringLiteral("prev")), QStringLiteral("false"));
        QVERIFY(!query.hasQueryItem(QStringLiteral("timestamp")));
    }

    void shownVersionIsWrittenToThePage()
    {
        MainViewModel model;
        QObject *root = loadPage(model);
        QCOMPARE(model.updateShowVersion(), QStringLiteral("--"));
        QCOMPARE(item(root, "versionText")->property("text").toString(), QStringLiteral("-- "));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestMainViewModel test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainviewmodel.moc"
