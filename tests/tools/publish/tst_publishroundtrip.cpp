// Releases made by the publisher's program, served by nginx, taken by the launcher's real
// install and update engine and by the real updater program.
#include <QApplication>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include "appversioninfo.h"
#include "dialogwatcher.h"
#include "launcherconfig.h"
#include "mainviewmodel.h"
#include "launchersite.h"
#include "nginxsite.h"
#include "publishtestutil.h"
#include "reportline.h"

using namespace publishtest;

namespace {

QString readFileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

QByteArray noise(int size, quint32 seed)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

// The launcher writes the game's version here; it is no file of the game.
const QStringList kLauncherFiles{QStringLiteral("config.ini")};

// The package kind the report of the update to target that was installed says, once it has
// arrived (a patch package found unusable is followed by the difference package's reports).
QString reportedUpdateKind(const NginxSite &nginx, const QString &target)
{
    QElapsedTimer timer;
    timer.start();
    do {
        ReportLine line;
        for (const QByteArray &text : nginx.reportLog().split('\n')) {
            if (line.parse(std::string_view(text.constData(), size_t(text.size()))) &&
                line.value(ReportLine::Action) == "LAUNCHER_HOME_INSTALL_FINISH" &&
                QString::fromStdString(line.value(ReportLine::TargetVersion)) == target)
                return QString::fromStdString(line.value(ReportLine::PackageKind));
        }
        QTest::qWait(50);
    } while (timer.elapsed() < 10000);
    return QStringLiteral("(no report)");
}

} // namespace

class TestPublishRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void installsAndUpdatesThroughPatchPackages();
    void playerChangedFileFallsBackToTheDifferencePackage();
    void launcherReleaseGoesThroughTheUpdater();
    void releasedLauncherRunsAsItsVersion();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    void publishGame(const QStringList &versions);

    QTemporaryDir m_dir;
    NginxSite m_nginx;
    DialogWatcher m_boxes;
    QString m_site;
};

void TestPublishRoundTrip::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_site = path("site");
    QString error;
    QVERIFY2(serveSiteToLauncher(&m_nginx, m_site, path("launcher-config.ini"), &error),
             qPrintable(error));

    LauncherConfig *config = LauncherConfig::instance();
    config->setInstallPath(path("install/Orvyndale Game"));
    config->setGameVersion(QString());
    m_boxes.setAccept(true);

    // Three versions: changed, added, removed and unchanged files, a changed executable and a
    // new nested folder.
    const QMap<QString, QByteArray> v1{
        {"Kestrava", "#!/bin/sh\necho 1\n"},
        {"Kestrava_Data/Managed/Metadata/global-metadata.dat", "meta 1"},
        {"Kestrava_Data/Native/Data/Metadata/global-metadata.dat", "meta 1"},
        {"data/world.pak", noise(3 << 20, 1)},
        {"data/readme.txt", "version 1.0.0\n"},
        {"data/old.txt", "only in 1.0.0"},
        {"maps/m1.bin", noise(100000, 2)},
        {"maps/m2.bin", noise(100000, 3)}};
    QMap<QString, QByteArray> v2 = v1;
    v2.remove("data/old.txt");
    v2["data/readme.txt"] = "version 1.0.1\n";
    v2["data/new.pak"] = noise(200000, 4);
    QMap<QString, QByteArray> v3 = v2;
    v3.remove("data/new.pak");
    v3.remove("maps/m1.bin");
    v3["Kestrava"] = "#!/bin/sh\necho 3\n";
    v3["data/world.pak"] = noise(3 << 20, 5);
    v3["data/deep/er/x.txt"] = "new in 1.0.2";
    v3["Kestrava_Data/Managed/Metadata/global-metadata.dat"] = "meta 3";
    const QList<QMap<QString, QByteArray>> versions{v1, v2, v3};
    for (int i = 0; i < versions.size(); ++i) {
        const QString folder = path(QStringLiteral("v%1").arg(i + 1));
        QVERIFY(writeTree(folder, versions.at(i)));
        QVERIFY(writeFile(folder + "/Kestrava", versions.at(i).value("Kestrava"), true));
    }
}

void TestPublishRoundTrip::cleanupTestCase()
{
    m_nginx.stop();
    m_dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestPublishRoundTrip::publishGame(const QStringList &versions)
{
    QStringList arguments{"game",   "--site", m_site,    "--base-url", m_nginx.baseUrl(),
                          "--name", "Orv",    "--entry", "Kestrava"};
    for (const QString &version : versions)
        arguments << version.section('=', 0, 0) + '=' + path(version.section('=', 1));
    const Run run = runTool(arguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
}

void TestPublishRoundTrip::installsAndUpdatesThroughPatchPackages()
{
    const QString game = LauncherConfig::instance()->installPath();

    publishGame({"1.0.0=v1"});
    {
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
    }
    QCOMPARE(listing(game, kLauncherFiles), listing(path("v1")));

    // Each run gives only its new version: the site keeps the file lists to build the
    // difference packages from. The last run is a rollback to 1.0.0's content, as 1.0.3.
    const QList<QStringList> releases{
        {"1.0.1=v2"}, {"1.0.2=v3"}, {"rollback", "--to", "1.0.0", "--version", "1.0.3"}};
    const QStringList patches{"/game/Orv_1.0.0_1.0.1.patch", "/game/Orv_1.0.1_1.0.2.patch",
                              "/game/Orv_1.0.2_1.0.3.patch"};
    const QStringList diffs{"/game/Orv_1.0.0_1.0.1.7z", "/game/Orv_1.0.1_1.0.2.7z",
                            "/game/Orv_1.0.2_1.0.3.7z"};
    const QStringList fulls{"/game/Orv_1.0.1.7z", "/game/Orv_1.0.2.7z", "/game/Orv_1.0.3.7z"};
    const QStringList contents{"v2", "v3", "v1"};
    for (int i = 0; i < releases.size(); ++i) {
        if (releases.at(i).first() == "rollback") {
            const Run run =
                runTool(QStringList{"rollback", "--site", m_site, "--base-url", m_nginx.baseUrl(),
                                    "--name", "Orv", "--entry", "Kestrava"} +
                        releases.at(i).mid(1));
            QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        } else {
            publishGame(releases.at(i));
        }
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::UpdateAvailable));
        model.updateBtnClicked();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
        const QByteArray log = m_nginx.accessLog();
        // The installed files are the ones each patch was made from: neither the difference
        // package nor the full one is fetched.
        QVERIFY2(log.contains("\"GET " + patches.at(i).toUtf8()), log.constData());
        QVERIFY2(!log.contains("\"GET " + diffs.at(i).toUtf8()), log.constData());
        QVERIFY2(!log.contains("\"GET " + fulls.at(i).toUtf8()), log.constData());
        QVERIFY(!QFileInfo::exists(game + "/.lunmere-patch.json"));
        QCOMPARE(reportedUpdateKind(m_nginx, QStringLiteral("1.0.%1").arg(i + 1)),
                 QStringLiteral("patch"));
        // Byte for byte that version: removed files and emptied folders gone, the executable
        // still executable, no deletion list left behind.
        QCOMPARE(listing(game, kLauncherFiles), listing(path(contents.at(i))));
    }
    QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.3"));
    QCOMPARE(m_boxes.count(), 0);
}

void TestPublishRoundTrip::playerChangedFileFallsBackToTheDifferencePackage()
{
    // Installed: 1.0.3 with 1.0.0's content. The player edited a file the next release changes.
    const QString game = LauncherConfig::instance()->installPath();
    QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.3"));
    QVERIFY(writeFile(game + "/data/readme.txt", "edited by the player\n"));
    publishGame({"1.0.4=v3"});
    MainViewModel model;
    model.initialize();
    QVERIFY(waitForGameState(model, m_boxes, MainViewModel::UpdateAvailable));
    model.updateBtnClicked();
    QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
    const QByteArray log = m_nginx.accessLog();
    QVERIFY2(log.contains("\"GET /game/Orv_1.0.3_1.0.4.patch"), log.constData());
    QVERIFY2(log.contains("\"GET /game/Orv_1.0.3_1.0.4.7z"), log.constData());
    QVERIFY2(!log.contains("\"GET /game/Orv_1.0.4.7z"), log.constData());
    QCOMPARE(reportedUpdateKind(m_nginx, QStringLiteral("1.0.4")), QStringLiteral("difference"));
    QCOMPARE(listing(game, kLauncherFiles), listing(path("v3")));
    QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.4"));
    QCOMPARE(m_boxes.count(), 0);

    // A server that was given no patch package: the difference package, and no error box.
    publishGame({"1.0.5=v2"});
    QVERIFY(QFile::remove(m_site + "/game/Orv_1.0.4_1.0.5.patch"));
    MainViewModel next;
    next.initialize();
    QVERIFY(waitForGameState(next, m_boxes, MainViewModel::UpdateAvailable));
    next.updateBtnClicked();
    QVERIFY(waitForGameState(next, m_boxes, MainViewModel::Installed));
    const QByteArray after = m_nginx.accessLog();
    QVERIFY2(after.contains("\"GET /game/Orv_1.0.4_1.0.5.7z"), after.constData());
    QCOMPARE(listing(game, kLauncherFiles), listing(path("v2")));
    QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.5"));
    QCOMPARE(m_boxes.count(), 0);
}

void TestPublishRoundTrip::launcherReleaseGoesThroughTheUpdater()
{
    // The new launcher: a stand-in that records how it was started, and its data.
    const QString fresh = path("newlauncher");
    const QByteArray script = "#!/bin/sh\ncd \"$(dirname \"$0\")\"\n"
                              "{ echo v2; for a in \"$@\"; do echo \"$a\"; done; } > started.tmp\n"
                              "mv started.tmp started.txt\n";
    QVERIFY(writeFile(fresh + "/lunlauncher", script, true));
    QVERIFY(writeFile(fresh + "/data/config.txt", "new"));
    QVERIFY(writeFile(fresh + "/language/i18n_en.qm", noise(4096, 6)));
    QVERIFY(writeFile(fresh + "/launcher-version.txt", "2.4.0.0\n"));
    const Run run = runTool({"launcher", "--site", m_site, "--base-url", m_nginx.baseUrl(),
                             "--version", "2.4.0.0", fresh});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    // The installed launcher, with the real updater where the launcher looks for it.
    const QString install = path("inst");
    QVERIFY(writeFile(install + "/lunlauncher", "#!/bin/sh\nexit 0\n", true));
    QVERIFY(writeFile(install + "/data/config.txt", "old"));
    QVERIFY(writeFile(install + "/only_old.txt", "stays"));
    QVERIFY(QDir().mkpath(install + "/updateProgram"));
    QVERIFY(QFile::copy(QStringLiteral(UPDATER_BIN), install + "/updateProgram/Update"));

    // The question the launcher asks, through nginx's rule for the release answer.
    const QString query = m_nginx.baseUrl() + "/pelorin/marduvel/api/getLatestRelease"
                                              "?app_id=100638&channel=official&app_version=";
    AppVersionInfo release;
    QString error;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(QJsonDocument::fromJson(fetchUrl(query + "2.3.3.0")),
                                               "18", &release, &error),
             AppVersionInfo::Verdict::Update);
    QCOMPARE(release.packageVersion(), QStringLiteral("2.4.0.0"));
    AppVersionInfo none;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(QJsonDocument::fromJson(fetchUrl(query + "2.4.0.0")),
                                               "18", &none),
             AppVersionInfo::Verdict::NoUpdate);

    // The hand-off as the launcher makes it.
    const QJsonObject parameters{{"exe_dir", QString(install + "/lunlauncher")},
                                 {"lang", "en-us"},
                                 {"pkg_md5", release.packageMd5()},
                                 {"pkg_url", release.packageUrl()}};
    QProcess updater;
    updater.setProcessChannelMode(QProcess::ForwardedChannels);
    updater.start(install + "/updateProgram/Update",
                  {QStringLiteral("PublishTrip%1").arg(QCoreApplication::applicationPid()),
                   QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact))});
    QVERIFY(updater.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(install + "/updateProgram/rollback").exists() &&
                                 !QDir(install + "/updateProgram/updateData").exists() &&
                                 listing(install, {"only_old.txt"}).contains("data/config.txt") &&
                                 listing(install).value("data/config.txt") ==
                                     listing(fresh).value("data/config.txt"),
                             90000);
    updater.kill();
    updater.waitForFinished(10000);
    QMap<QString, QByteArray> expected = listing(fresh);
    expected.insert("only_old.txt", listing(install).value("only_old.txt"));
    QMap<QString, QByteArray> installed = listing(install);
    for (const QString &key : installed.keys()) {
        if (key.startsWith("updateProgram/"))
            installed.remove(key);
    }
    QCOMPARE(installed, expected);
}

void TestPublishRoundTrip::releasedLauncherRunsAsItsVersion()
{
    // The release: the real launcher built as 2.4.0.0, from a folder no launcher ran from.
    const QString fresh = path("realnew");
    QVERIFY(QDir().mkpath(fresh));
    QVERIFY(QFile::copy(QStringLiteral(NEXT_LAUNCHER_BIN), fresh + "/launcher"));
    QVERIFY(writeFile(fresh + "/launcher-version.txt", "2.4.0.0\n"));
    const Run run = runTool({"launcher", "--site", m_site, "--base-url", m_nginx.baseUrl(),
                             "--version", "2.4.0.0", fresh});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    // The installed launcher as this build made it (2.3.3.0), with its updater. Its reports go to
    // an address only the access log records.
    const QString install = path("realinst");
    const QString shipped = QFileInfo(QStringLiteral(LAUNCHER_BIN)).absolutePath();
    QVERIFY(QDir().mkpath(install + "/updateProgram"));
    QVERIFY(QFile::copy(QStringLiteral(LAUNCHER_BIN), install + "/launcher"));
    QVERIFY(QFile::copy(shipped + "/launcher-version.txt", install + "/launcher-version.txt"));
    QVERIFY(QFile::copy(QStringLiteral(UPDATER_BIN), install + "/updateProgram/Update"));
    const QString base = m_nginx.baseUrl();
    QVERIFY(writeFile(install + "/config.ini",
                      ("[services]\nresource_url=" + base + "\nrelease_url=" + base +
                       "\nreport_url=" + base + "/seen\nweb_url=" + base + "/web\n")
                          .toUtf8()));

    const QString query = base + "/pelorin/marduvel/api/getLatestRelease"
                                 "?app_id=100638&channel=official&app_version=";
    AppVersionInfo release;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(
                 QJsonDocument::fromJson(
                     fetchUrl(query + readFileText(install + "/launcher-version.txt"))),
                 "18", &release),
             AppVersionInfo::Verdict::Update);
    QCOMPARE(release.packageVersion(), QStringLiteral("2.4.0.0"));

    // The hand-off as the launcher makes it.
    const QJsonObject parameters{{"exe_dir", QString(install + "/launcher")},
                                 {"lang", "en-us"},
                                 {"pkg_md5", release.packageMd5()},
                                 {"pkg_url", release.packageUrl()}};
    QProcess updater;
    updater.setProcessChannelMode(QProcess::ForwardedChannels);
    updater.start(install + "/updateProgram/Update",
                  {QStringLiteral("PublishReal%1").arg(QCoreApplication::applicationPid()),
                   QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact))});
    QVERIFY(updater.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(install + "/updateProgram/rollback").exists() &&
                                 !QDir(install + "/updateProgram/updateData").exists() &&
                                 readFileText(install + "/launcher-version.txt") == "2.4.0.0",
                             90000);
    updater.kill();
    updater.waitForFinished(10000);
    QCOMPARE(listing(install).value("launcher"), listing(fresh).value("launcher"));

    // The launcher as the updater restarts it tells its own version in its first report.
    QProcess launcher;
    launcher.setProcessChannelMode(QProcess::ForwardedChannels);
    launcher.start(install + "/launcher", {"update"});
    QVERIFY(launcher.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_nginx.accessLog().contains("/seen/client_report?"), 60000);
    launcher.kill();
    launcher.waitForFinished(10000);
    for (const QByteArray &line : m_nginx.accessLog().split('\n')) {
        if (line.contains("/seen/client_report?"))
            QVERIFY2(line.contains("&version=2.4.0.0"), line.constData());
    }
    // And it is offered nothing more.
    AppVersionInfo none;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(QJsonDocument::fromJson(fetchUrl(query + "2.4.0.0")),
                                               "18", &none),
             AppVersionInfo::Verdict::NoUpdate);
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestPublishRoundTrip test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_publishroundtrip.moc"
