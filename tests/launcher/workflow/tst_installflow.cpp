// Installing and updating the game end to end: a real package on a loopback server, the real
// download engine, the real 7-Zip library and a real "running game" process.
#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dialogwatcher.h"
#include "errordefine.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "loopbackservices.h"
#include "mainviewmodel.h"

namespace {

const QString kResource = QStringLiteral("/zt7q_cn/xsk/launcher/api/resource");
const QString kContent = QStringLiteral("/zt7q_cn/xsk/launcher/api/content");

// Incompressible, so the package is as large as its content.
QByteArray noise(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

QByteArray md5Of(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(&f);
    return hash.result().toHex();
}

const char kProgressPage[] = R"(
import QtQuick 2.12
import QtQuick.Window 2.2
Window {
    width: 1280; height: 730; visible: true
    Rectangle { objectName: "bgMask_msgbox"; visible: false }
    Text { objectName: "versionText" }
    Text { objectName: "download_percentage" }
    Text { objectName: "download_speed" }
    Text { objectName: "task_needtime" }
    Rectangle {
        objectName: "pauseDownloadBtn"
        property string nomal_Image: "pic/continue_n.png"
        property string hover_Image: "pic/continue_o.png"
        property string press_Image: "pic/continue_d.png"
    }
}
)";

// Keeps a setup worker busy: a named pipe where it reads its deletion list blocks it until
// released, which the destructor does in any case, so no worker is left waiting.
class BlockingDeletionList
{
public:
    explicit BlockingDeletionList(const QString &folder)
        : m_path(QFile::encodeName(folder + QStringLiteral("/deletefiles.txt")))
    {
        m_made = ::mkfifo(m_path.constData(), 0600) == 0;
    }
    ~BlockingDeletionList() { release(); }
    bool isMade() const { return m_made; }
    void release()
    {
        if (!m_made)
            return;
        m_made = false;
        // A reader waiting in open() gets an empty list; without one this fails harmlessly.
        const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        else
            ::unlink(m_path.constData());
    }

private:
    QByteArray m_path;
    bool m_made = false;
};

} // namespace

class TestInstallFlow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    HttpTestServer *m_server = nullptr;
    DialogWatcher m_boxes;
    QString m_fullPackage;
    QString m_diffPackage;

    QString gameFolder() const { return m_dir.filePath(QStringLiteral("install/Orvyndale Game")); }

    // Builds a package from files given as name -> content with the 7z tool.
    QString makePackage(const QString &name, const QMap<QString, QByteArray> &files)
    {
        const QString source = m_dir.filePath(QStringLiteral("src-") + name);
        QDir(source).removeRecursively();
        for (auto it = files.begin(); it != files.end(); ++it) {
            const QString path = source + QLatin1Char('/') + it.key();
            QDir().mkpath(QFileInfo(path).path());
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly))
                return {};
            f.write(it.value());
        }
        const QString archive = m_dir.filePath(QStringLiteral("packages/") + name);
        QDir().mkpath(QFileInfo(archive).path());
        QFile::remove(archive);
        QProcess sevenZip;
        sevenZip.setWorkingDirectory(source);
        sevenZip.start(QStringLiteral("7z"),
                       {QStringLiteral("a"), QStringLiteral("-bd"), QStringLiteral("-mx=1"),
                        archive, QStringLiteral(".")});
        if (!sevenZip.waitForFinished(60000) || sevenZip.exitCode() != 0)
            return {};
        return archive;
    }

    // fullPath: where the manifest says the full package is (served there unless the test
    // answers that address otherwise).
    void publish(const QString &version, const QString &md5Override = QString(),
                 QString fullPath = QString(), const QJsonArray &plugins = QJsonArray())
    {
        const QFileInfo full(m_fullPackage);
        const QFileInfo diff(m_diffPackage);
        m_server->serveFile(QStringLiteral("/packages/") + full.fileName(), m_fullPackage);
        m_server->serveFile(QStringLiteral("/packages/") + diff.fileName(), m_diffPackage);
        if (fullPath.isEmpty())
            fullPath = QStringLiteral("/packages/") + full.fileName();
        const QJsonObject latest{{"name", "Orvyndale"},
                                 {"version", version},
                                 {"path", m_server->url(fullPath).toString()},
                                 {"size", full.size()},
                                 {"md5", md5Override.isEmpty()
                                             ? QString::fromLatin1(md5Of(m_fullPackage))
                                             : md5Override},
                                 {"entry", ""}};
        const QJsonObject fromPrevious{
            {"name", "Orvyndale diff"},
            {"version", "0.9.0"},
            {"path", m_server->url(QStringLiteral("/packages/") + diff.fileName()).toString()},
            {"size", QString::number(diff.size())},
            {"md5", QString::fromLatin1(md5Of(m_diffPackage))}};
        const QJsonObject data{
            {"game", QJsonObject{{"latest", latest}, {"diffs", QJsonArray{fromPrevious}}}},
            {"plugin", QJsonObject{{"plugins", plugins}}}};
        m_server->serveData(kResource, QJsonDocument(QJsonObject{{"data", data}}).toJson(),
                            "application/json");
    }

    QString gameConfigVersion() const
    {
        return QSettings(gameFolder() + QStringLiteral("/config.ini"), QSettings::IniFormat)
            .value(QStringLiteral("game_version"))
            .toString();
    }

    bool waitForState(MainViewModel &model, int state, int timeoutMs = 60000)
    {
        QElapsedTimer timer;
        timer.start();
        while (model.gameState() != state && timer.elapsed() < timeoutMs)
            QTest::qWait(20);
        if (model.gameState() != state)
            qWarning() << "state" << model.gameState() << "boxes" << m_boxes.classNames();
        return model.gameState() == state;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_server = new HttpTestServer(this);
        QVERIFY(m_server->listen());
        m_fullPackage = makePackage(QStringLiteral("Orvyndale_1.0.0.7z"),
                                    {{"Kestrava", "#!/bin/sh\nexit 0\n"},
                                     {"data/world.pak", noise(3 << 20)},
                                     {"data/readme.txt", "version 1.0.0\n"}});
        QVERIFY(!m_fullPackage.isEmpty());
        m_diffPackage =
            makePackage(QStringLiteral("Orvyndale_0.9.0_1.0.0.7z"),
                        {{"data/readme.txt", "version 1.0.0\n"}, {"data/new.pak", "new in 1.0.0"}});
        QVERIFY(!m_diffPackage.isEmpty());

        LauncherConfig::setInstanceFilePath(m_dir.filePath(QStringLiteral("config.ini")));
        LauncherConfig::instance();
        useLoopbackServices(m_server->baseUrl());
        m_server->serveData(kContent, "{\"data\":{\"adv\":{}}}", "application/json");
    }

    void init()
    {
        m_boxes.clear();
        m_boxes.setAccept(true);
        m_server->clearRequests();
        m_server->clearFaults();
        QDir(gameFolder()).removeRecursively();
        LauncherConfig::instance()->setInstallPath(gameFolder());
        LauncherConfig::instance()->setGameVersion(QString());
    }

    void freshInstallDownloadsChecksUnpacksAndRecords()
    {
        publish(QStringLiteral("1.0.0"));
        MainViewModel model;
        QList<int> states;
        connect(&model, &MainViewModel::gameStateChanged, this,
                [&] { states << model.gameState(); });
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));

        model.installEnsureBtnClicked();
        QVERIFY(waitForState(model, MainViewModel::Installed));
        QCOMPARE(m_boxes.count(), 0);
        QVERIFY(states.contains(MainViewModel::Downloading));
        QVERIFY(states.contains(MainViewModel::Verifying));
        QVERIFY(states.indexOf(MainViewModel::Verifying) <
                states.lastIndexOf(MainViewModel::Installing));

        QCOMPARE(QFile(gameFolder() + QStringLiteral("/data/world.pak")).size(), qint64(3 << 20));
        QVERIFY(QFileInfo(gameFolder() + QStringLiteral("/Kestrava")).isFile());
        QCOMPARE(gameConfigVersion(), QStringLiteral("1.0.0"));
        QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.0"));
        QCOMPARE(model.updateShowVersion(), QStringLiteral("1.0.0"));
        QCOMPARE(model.progress(), 1.0f);
        // The package is not left behind, nor its partial file.
        QVERIFY(!QFileInfo::exists(gameFolder() + QStringLiteral("/Orvyndale_1.0.0.7z")));
        QVERIFY(!QFileInfo::exists(gameFolder() + QStringLiteral("/Orvyndale_1.0.0.7z_tmp")));
    }

    void updateTakesTheDifferencePackage()
    {
        publish(QStringLiteral("1.0.0"));
        QDir().mkpath(gameFolder() + QStringLiteral("/data"));
        QFile exe(gameFolder() + QStringLiteral("/Kestrava"));
        QVERIFY(exe.open(QIODevice::WriteOnly));
        exe.close();
        LauncherConfig::instance()->setGameVersion(QStringLiteral("0.9.0"));

        // Slow enough that the transfer spans a couple of seconds.
        const QString diffPath = QStringLiteral("/packages/Orvyndale_0.9.0_1.0.0.7z");
        m_server->addFault(diffPath,
                           HttpTestServer::Fault::throttle(QFileInfo(m_diffPackage).size() / 2), 1,
                           "GET");
        MainViewModel model;
        QQmlApplicationEngine engine;
        engine.loadData(kProgressPage);
        QObject *root = engine.rootObjects().value(0);
        QVERIFY(root);
        model.setRootObject(root);
        QObject *speed = root->findChild<QObject *>(QStringLiteral("download_speed"));
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::UpdateAvailable));
        QElapsedTimer sinceClick;
        sinceClick.start();
        model.updateBtnClicked();
        // The first speed sample covers at least a second of this download.
        QTRY_VERIFY_WITH_TIMEOUT(!speed->property("text").toString().isEmpty(), 30000);
        QVERIFY2(sinceClick.elapsed() >= 900, qPrintable(QString::number(sinceClick.elapsed())));
        QVERIFY(waitForState(model, MainViewModel::Installed));
        QCOMPARE(m_server->requestCount(QStringLiteral("/packages/Orvyndale_1.0.0.7z")), 0);
        QVERIFY(m_server->requestCount(QStringLiteral("/packages/Orvyndale_0.9.0_1.0.0.7z")) > 0);
        QVERIFY(QFileInfo(gameFolder() + QStringLiteral("/data/new.pak")).isFile());
        QCOMPARE(gameConfigVersion(), QStringLiteral("1.0.0"));
        // The title bar shows the new version without waiting for the next server answer.
        QCOMPARE(root->findChild<QObject *>(QStringLiteral("versionText"))->property("text"),
                 QVariant(QStringLiteral("1.0.0 ")));
    }

    void corruptDownloadIsReportedAndNothingIsUnpacked()
    {
        publish(QStringLiteral("1.0.0"), QStringLiteral("ffffffffffffffffffffffffffffffff"));
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes.classNames(), QStringList{"CDlgYesNo"}, 60000);
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        QVERIFY(!QFileInfo::exists(gameFolder() + QStringLiteral("/Kestrava")));
        QVERIFY(gameConfigVersion().isEmpty());
    }

    void completePackageOnDiskSkipsTheDownload()
    {
        publish(QStringLiteral("1.0.0"));
        QDir().mkpath(gameFolder());
        QVERIFY(QFile::copy(m_fullPackage, gameFolder() + QStringLiteral("/Orvyndale_1.0.0.7z")));
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        QVERIFY(waitForState(model, MainViewModel::Installed));
        // Sizing the package with HEAD is allowed; fetching it again is not.
        for (const HttpTestServer::Request &r :
             m_server->requestsFor(QStringLiteral("/packages/Orvyndale_1.0.0.7z")))
            QCOMPARE(r.method, QByteArray("HEAD"));
    }

    void pauseKeepsTheDownloadAndResumeFinishesIt()
    {
        publish(QStringLiteral("1.0.0"));
        // Slow enough to be caught in the middle, for the first GET only.
        m_server->addFault(QStringLiteral("/packages/Orvyndale_1.0.0.7z"),
                           HttpTestServer::Fault::throttle(256 * 1024), 1, "GET");
        MainViewModel model;
        QQmlApplicationEngine engine;
        engine.loadData(kProgressPage);
        QObject *root = engine.rootObjects().value(0);
        QVERIFY(root);
        model.setRootObject(root);
        auto item = [root](const char *name) {
            return root->findChild<QObject *>(QLatin1String(name));
        };
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        QVERIFY(waitForState(model, MainViewModel::Downloading));
        QTRY_VERIFY(model.progress() > 0.0f);

        model.pauseBtnClicked();
        QCOMPARE(item("pauseDownloadBtn")->property("nomal_Image").toString(),
                 QStringLiteral("pic/pause_n.png"));
        QCOMPARE(item("pauseDownloadBtn")->property("press_Image").toString(),
                 QStringLiteral("pic/pause_d.png"));
        // Paused, time left and speed say so: zeros there would read as finished.
        QCOMPARE(item("task_needtime")->property("text").toString(),
                 QStringLiteral("label_task_need_timelabel_value_paused"));
        QCOMPARE(item("download_speed")->property("text").toString(),
                 QStringLiteral("label_download_speed label_value_paused"));
        // The progress line says the transfer is paused, at the share it reached.
        QVERIFY(item("download_percentage")
                    ->property("text")
                    .toString()
                    .startsWith(QLatin1String("label_download_paused ")));
        QCOMPARE(model.gameState(), int(MainViewModel::Downloading));
        QVERIFY(model.isDownloadNotComplated());
        const float pausedAt = model.progress();
        QTest::qWait(300);
        QCOMPARE(model.progress(), pausedAt);

        model.pauseBtnClicked();
        QCOMPARE(item("pauseDownloadBtn")->property("nomal_Image").toString(),
                 QStringLiteral("pic/continue_n.png"));
        QVERIFY(waitForState(model, MainViewModel::Installed));
        // The resumed request asked only for what was missing.
        const QList<HttpTestServer::Request> gets =
            m_server->requestsFor(QStringLiteral("/packages/Orvyndale_1.0.0.7z"));
        QVERIFY(gets.last().header("range").startsWith("bytes="));
        QVERIFY(!gets.last().header("range").startsWith("bytes=0-"));
        QCOMPARE(gameConfigVersion(), QStringLiteral("1.0.0"));
    }

    // A CDN answers the published address with a redirect to a differently named file: that
    // file is the one resumed after a restart, checked, unpacked and found complete later.
    void packageBehindRedirectInstallsUnderItsSavedName()
    {
        const QString target = QStringLiteral("/cdn/Orvyndale-1.0.0-b7e1.7z");
        m_server->serveFile(target, m_fullPackage);
        m_server->redirect(QStringLiteral("/dl/Orvyndale.7z"), target, 302);
        publish(QStringLiteral("1.0.0"), QString(), QStringLiteral("/dl/Orvyndale.7z"));
        const QString saved = gameFolder() + QStringLiteral("/Orvyndale-1.0.0-b7e1.7z");
        m_server->addFault(target, HttpTestServer::Fault::throttle(256 * 1024), 1, "GET");
        {
            MainViewModel first;
            first.initialize();
            QVERIFY(waitForState(first, MainViewModel::NotInstalled));
            first.installEnsureBtnClicked();
            QTRY_VERIFY(first.progress() > 0.0f);
            first.pauseBtnClicked();
        } // the launcher quits with the download half done

        MainViewModel model;
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        QVERIFY(QFileInfo::exists(saved + QStringLiteral("_tmp")));
        QVERIFY(model.isDownloadNotComplated());
        model.installEnsureBtnClicked();
        QVERIFY(waitForState(model, MainViewModel::Installed));
        QCOMPARE(m_boxes.count(), 0);
        QVERIFY(!m_server->requestsFor(target).last().header("range").startsWith("bytes=0-"));
        QCOMPARE(gameConfigVersion(), QStringLiteral("1.0.0"));
        QCOMPARE(QFile(gameFolder() + QStringLiteral("/data/world.pak")).size(), qint64(3 << 20));
        QVERIFY(!QFileInfo::exists(saved));
        QVERIFY(!QFileInfo::exists(saved + QStringLiteral("_tmp")));

        // The complete package already saved under that name is not fetched again.
        LauncherConfig::instance()->setGameVersion(QString());
        QVERIFY(QFile::copy(m_fullPackage, saved));
        m_server->clearRequests();
        MainViewModel again;
        again.initialize();
        QVERIFY(waitForState(again, MainViewModel::NotInstalled));
        again.installEnsureBtnClicked();
        QVERIFY(waitForState(again, MainViewModel::Installed));
        for (const HttpTestServer::Request &r : m_server->requestsFor(target))
            QCOMPARE(r.method, QByteArray("HEAD"));
        QVERIFY(!QFileInfo::exists(saved));
    }

    // The plug-in unpacks on a worker of its own; the game's end must still reach the game
    // flow while it runs.
    void gameSetupFinishesWhilePluginSetupRuns()
    {
        const QString plugin = QStringLiteral("plug%1").arg(QCoreApplication::applicationPid());
        const QString pluginPackage = makePackage(
            plugin + QStringLiteral(".7z"), {{plugin + QStringLiteral("/readme.txt"), "plug-in"}});
        QVERIFY(!pluginPackage.isEmpty());
        const QString launcherFolder = MainViewModel::launcherFolder();
        const QString pluginFolder = launcherFolder + QLatin1Char('/') + plugin;
        // Behind a redirect as well, so it is saved under another name than its address's.
        const QString pluginSaved = plugin + QStringLiteral("-3c9d.7z");
        m_server->serveFile(QStringLiteral("/cdn/") + pluginSaved, pluginPackage);
        m_server->redirect(QStringLiteral("/plugins/") + plugin + QStringLiteral(".7z"),
                           QStringLiteral("/cdn/") + pluginSaved);
        const QJsonObject entry{
            {"path", m_server->url(QStringLiteral("/plugins/") + plugin + QStringLiteral(".7z"))
                         .toString()},
            {"md5", QString::fromLatin1(md5Of(pluginPackage))}};
        publish(QStringLiteral("1.0.0"), QString(), QString(), QJsonArray{entry});
        // The game package waits until the plug-in is being unpacked.
        m_server->addFault(QStringLiteral("/packages/Orvyndale_1.0.0.7z"),
                           HttpTestServer::Fault::neverAnswer(), 1, "GET");

        // Whatever happens, the launcher folder gets back to how it was, once the plug-in's
        // worker (ended with the model) is done with it.
        struct LeaveNoPlugin
        {
            QString folder, package;
            ~LeaveNoPlugin()
            {
                QDir(folder).removeRecursively();
                QFile::remove(package);
                QFile::remove(package + QStringLiteral("_tmp"));
            }
        } leaveNoPlugin{pluginFolder, launcherFolder + QLatin1Char('/') + pluginSaved};
        MainViewModel model;
        BlockingDeletionList pluginBusy(launcherFolder);
        QVERIFY(pluginBusy.isMade());
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(pluginFolder + QStringLiteral("/readme.txt")),
                                 30000);
        m_server->releaseHeld();

        QVERIFY(waitForState(model, MainViewModel::Installed));
        QCOMPARE(m_boxes.count(), 0);
        QCOMPARE(gameConfigVersion(), QStringLiteral("1.0.0"));
        QVERIFY(!QFileInfo::exists(gameFolder() + QStringLiteral("/Orvyndale_1.0.0.7z")));

        pluginBusy.release();
        QTRY_VERIFY(!QFileInfo::exists(launcherFolder + QStringLiteral("/deletefiles.txt")));
    }

    // Publishes one full package at serverPath, with the answer's name and MD5 taken from it.
    void publishOnly(const QString &serverPath, const QString &package, const QString &name)
    {
        const QJsonObject latest{{"name", name},
                                 {"version", "1.0.0"},
                                 {"path", m_server->url(serverPath).toString()},
                                 {"size", QFileInfo(package).size()},
                                 {"md5", QString::fromLatin1(md5Of(package))},
                                 {"entry", ""}};
        const QJsonObject data{{"game", QJsonObject{{"latest", latest}}}};
        m_server->serveData(kResource, QJsonDocument(QJsonObject{{"data", data}}).toJson(),
                            "application/json");
    }

    // Each server behaviour a real CDN shows ends with the game installed and exact, or with
    // one box in plain words; what the launcher retries on its own shows no box at all.
    void awkwardServersEndInstalledOrInPlainWords_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("code"); // 0: installed without any box
        QTest::newRow("HEAD refused with 403") << "head403" << 0;
        QTest::newRow("no Content-Length anywhere") << "nolength" << 0;
        QTest::newRow("connection dropped every 256 KiB") << "drops" << 0;
        QTest::newRow("503 with Retry-After") << "busy" << 0;
        QTest::newRow("address without the package name") << "phpname" << 0;
        QTest::newRow("package replaced while paused") << "replaced" << 0;
        QTest::newRow("package moved by a publish while paused") << "moved" << 0;
        QTest::newRow("package needs a password")
            << "encrypted" << int(ErrorDefine::SETUP_ZIP_PASSWORD_ERROR);
    }

    void awkwardServersEndInstalledOrInPlainWords()
    {
        QFETCH(QString, scenario);
        QFETCH(int, code);
        const QString name = QStringLiteral("Orvyndale_1.0.0.7z");
        const QString served = m_dir.filePath(QStringLiteral("served/") + name);
        QDir().mkpath(QFileInfo(served).path());
        QFile::remove(served);
        QVERIFY(QFile::copy(m_fullPackage, served));
        QString path = QStringLiteral("/packages/") + name;
        QString expectedReadme = QStringLiteral("version 1.0.0\n");
        QString replacement;
        if (scenario == QLatin1String("replaced") || scenario == QLatin1String("moved")) {
            expectedReadme = QStringLiteral("version 1.0.0 rebuilt\n");
            replacement = makePackage(QStringLiteral("rebuilt.7z"),
                                      {{"Kestrava", "#!/bin/sh\nexit 0\n"},
                                       {"data/world.pak", noise(3 << 20).mid(7)},
                                       {"data/readme.txt", expectedReadme.toLatin1()}});
            QVERIFY(!replacement.isEmpty());
        }
        if (scenario == QLatin1String("encrypted")) {
            QFile::remove(served);
            QProcess sevenZip;
            sevenZip.setWorkingDirectory(m_dir.filePath(QStringLiteral("src-") + name));
            sevenZip.start(QStringLiteral("7z"),
                           {QStringLiteral("a"), QStringLiteral("-bd"), QStringLiteral("-mx=1"),
                            QStringLiteral("-pSecret1"), served, QStringLiteral(".")});
            QVERIFY(sevenZip.waitForFinished(60000) && sevenZip.exitCode() == 0);
        }
        if (scenario == QLatin1String("phpname"))
            path = QStringLiteral("/download.php");
        m_server->serveFile(path, served);
        const QString query =
            scenario == QLatin1String("phpname") ? QStringLiteral("?file=") + name : QString();
        publishOnly(path + query, served, name);

        if (scenario == QLatin1String("head403"))
            m_server->addFault(path, HttpTestServer::Fault::status(403), -1, "HEAD");
        else if (scenario == QLatin1String("nolength"))
            m_server->addFault(path, HttpTestServer::Fault::noContentLength(), -1);
        else if (scenario == QLatin1String("drops"))
            m_server->addFault(path, HttpTestServer::Fault::dropAfter(256 * 1024), -1, "GET");
        else if (scenario == QLatin1String("busy"))
            m_server->addFault(path, HttpTestServer::Fault::busy(1), 2, "GET");
        else if (!replacement.isEmpty())
            m_server->addFault(path, HttpTestServer::Fault::throttle(512 * 1024), 1, "GET");

        MainViewModel model;
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        if (!replacement.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(model.progress() > 0.0f, 30000);
            model.pauseBtnClicked();
            if (scenario == QLatin1String("replaced")) {
                // The publisher writes the new package under the same name and answers for it.
                QFile::remove(served);
                QVERIFY(QFile::copy(replacement, served));
                publishOnly(path, served, name);
            } else {
                // A publish swaps in a new site: the old address is gone.
                m_server->removeAnswer(path);
                m_server->serveFile(QStringLiteral("/v2/Orvyndale_1.0.0-r2.7z"), replacement);
                publishOnly(QStringLiteral("/v2/Orvyndale_1.0.0-r2.7z"), replacement,
                            QStringLiteral("Orvyndale_1.0.0-r2.7z"));
            }
            model.pauseBtnClicked();
        }

        if (code == 0) {
            QVERIFY(waitForState(model, MainViewModel::Installed, 90000));
            QCOMPARE(m_boxes.count(), 0);
            QFile readme(gameFolder() + QStringLiteral("/data/readme.txt"));
            QVERIFY(readme.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromLatin1(readme.readAll()), expectedReadme);
            QCOMPARE(gameConfigVersion(), QStringLiteral("1.0.0"));
            QVERIFY(QDir(gameFolder()).entryList({QStringLiteral("*.7z*")}).isEmpty());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(m_boxes.count(), 1, 60000);
            QVERIFY(waitForState(model, MainViewModel::NotInstalled));
            QTest::qWait(200); // a second box would follow at once
            QCOMPARE(m_boxes.count(), 1);
            QVERIFY2(m_boxes.texts().first().contains(QStringLiteral("[%1]").arg(code)),
                     qPrintable(m_boxes.texts().first()));
            // Refused before anything was written.
            QVERIFY(!QFileInfo::exists(gameFolder() + QStringLiteral("/data")));
        }
    }

    void runningGameIsEndedOnlyWhenThePlayerAgrees()
    {
        publish(QStringLiteral("1.0.0"));
        // The game still running from its folder, and an unrelated program of the same name
        // elsewhere that the launcher has no business ending.
        const QString inside = gameFolder() + QStringLiteral("/Kestrava");
        const QString namesake = m_dir.filePath(QStringLiteral("elsewhere/Kestrava"));
        for (const QString &path : {inside, namesake}) {
            QDir().mkpath(QFileInfo(path).path());
            QFile::remove(path);
            QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), path));
        }
        QProcess game;
        game.start(inside, {QStringLiteral("60")});
        QVERIFY(game.waitForStarted());
        QProcess other;
        other.start(namesake, {QStringLiteral("60")});
        QVERIFY(other.waitForStarted());

        MainViewModel model;
        model.initialize();
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));

        m_boxes.setAccept(false);
        model.installEnsureBtnClicked();
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes.classNames(), QStringList{"CDlgYesNo"}, 60000);
        QVERIFY(waitForState(model, MainViewModel::NotInstalled));
        QCOMPARE(game.state(), QProcess::Running);

        // Asked again on the next try; this time the player lets the launcher end it.
        m_boxes.setAccept(true);
        model.installEnsureBtnClicked();
        QTRY_COMPARE_WITH_TIMEOUT(game.state(), QProcess::NotRunning, 30000);
        QVERIFY(waitForState(model, MainViewModel::Installed));
        QCOMPARE(gameConfigVersion(), QStringLiteral("1.0.0"));
        QCOMPARE(other.state(), QProcess::Running);
        other.kill();
        other.waitForFinished();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestInstallFlow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_installflow.moc"
