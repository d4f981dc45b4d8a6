// Signed releases end to end: packages signed by the publisher's program, served by nginx,
// checked by the launcher's real install engine (with the real 7z.so) and by the real updater
// built to trust the test keys.
#include <QApplication>
#include <QCryptographicHash>
#include <QJsonArray>
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
#include "packagetrust.h"
#include "publishtestutil.h"
#include "updateprogram.h"

using namespace publishtest;

namespace {

QByteArray noise(int size, quint32 seed)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

QString keyFile(const QString &name)
{
    return qEnvironmentVariable("LAUNCHER_SOURCE_DIR") +
           QStringLiteral("/tests/tools/publish/keys/") + name;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kResource = QStringLiteral("zt7q_cn/xsk/launcher/api/resource");

enum Mutation {
    Unsigned,
    UntrustedKey,
    MalformedSignature,
    TamperedManifestUntouched,
    TamperedManifestRewritten,
    TamperedStatementRewritten,
    OlderReleaseAnnouncedAsNewer,
    DifferenceWithFullStatement,
};

} // namespace

class TestSignedRelease : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void signedPackagesInstallAndUpdateUnderEitherTrustedKey();
    void rejectedPackagesAreDeletedAndNothingIsUnpacked_data();
    void rejectedPackagesAreDeletedAndNothingIsUnpacked();
    void plugInsAreSignedAndRefusedWithoutSignature();
    void launcherHandsOnlyASignedReleaseToTheUpdater();
    void updaterChecksTheCommandLineAgain_data();
    void updaterChecksTheCommandLineAgain();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    bool publishGame(const QStringList &versions, const QString &key);
    QJsonObject resource() const;
    void setResource(const QJsonObject &answer);

    QTemporaryDir m_dir;
    NginxSite m_nginx;
    DialogWatcher m_boxes;
    QString m_site;
    QString m_game;
};

void TestSignedRelease::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_site = path("site");
    QString error;
    QVERIFY2(serveSiteToLauncher(&m_nginx, m_site, path("launcher-config.ini"), &error),
             qPrintable(error));

    // The launcher under test trusts the same two keys as the test updater.
    QList<QByteArray> keys;
    QVERIFY2(PackageTrust::parseKeyList(QString::fromLatin1(readAll(keyFile("first.pub")) +
                                                            readAll(keyFile("second.pub"))),
                                        &keys, &error),
             qPrintable(error));
    QCOMPARE(keys.size(), 2);
    PackageTrust::setTrustedKeys(keys);

    LauncherConfig *config = LauncherConfig::instance();
    m_game = path("install/Orvyndale Game");
    config->setInstallPath(m_game);

    const QMap<QString, QByteArray> v1{
        {"Kestrava_Data/Managed/Metadata/global-metadata.dat", "m"},
        {"Kestrava_Data/Native/Data/Metadata/global-metadata.dat", "m"},
        {"data/world.pak", noise(1 << 20, 1)},
        {"data/readme.txt", "version 1.0.0\n"}};
    QMap<QString, QByteArray> v2 = v1;
    v2["data/readme.txt"] = "version 1.0.1\n";
    v2["data/new.pak"] = noise(100000, 2);
    QVERIFY(writeTree(path("v1"), v1));
    QVERIFY(writeTree(path("v2"), v2));
    // The page counts the game as installed once its executable is there.
    QVERIFY(writeFile(path("v1/Kestrava"), "#!/bin/sh\n", true));
    QVERIFY(writeFile(path("v2/Kestrava"), "#!/bin/sh\n", true));
}

void TestSignedRelease::cleanupTestCase()
{
    PackageTrust::setTrustedKeys({});
    m_nginx.stop();
    m_dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestSignedRelease::init()
{
    m_boxes.clear();
    m_boxes.setAccept(true);
    QDir(m_game).removeRecursively();
    LauncherConfig::instance()->setGameVersion(QString());
}

bool TestSignedRelease::publishGame(const QStringList &versions, const QString &key)
{
    QStringList arguments{"game",   "--site", m_site,    "--base-url", m_nginx.baseUrl(),
                          "--name", "Orv",    "--entry", "Kestrava"};
    if (!key.isEmpty())
        arguments << "--sign-key" << keyFile(key + ".key");
    for (const QString &version : versions)
        arguments << version.section('=', 0, 0) + '=' + path(version.section('=', 1));
    const Run run = runTool(arguments);
    if (run.exitCode != 0)
        qWarning() << run.err;
    return run.exitCode == 0;
}

QJsonObject TestSignedRelease::resource() const
{
    return QJsonDocument::fromJson(readAll(m_site + '/' + kResource)).object();
}

void TestSignedRelease::setResource(const QJsonObject &answer)
{
    QVERIFY(writeFile(m_site + '/' + kResource, QJsonDocument(answer).toJson()));
}

void TestSignedRelease::signedPackagesInstallAndUpdateUnderEitherTrustedKey()
{
    // The private key must never be published.
    QVERIFY(QFile::copy(keyFile("first.key"), path("v1/first.key")));
    const Run inside = runTool({"game", "--site", m_site, "--base-url", m_nginx.baseUrl(), "--name",
                                "Orv", "--sign-key", path("v1/first.key"), "1.0.0=" + path("v1")});
    QVERIFY(QFile::remove(path("v1/first.key")));
    QCOMPARE(inside.exitCode, 1);
    QVERIFY2(inside.err.contains("gets published"), qPrintable(inside.err));

    QVERIFY(publishGame({"1.0.0=v1"}, "first"));
    {
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
    }
    // A rotated key: the update is signed by the second trusted key.
    QVERIFY(publishGame({"1.0.0=v1", "1.0.1=v2"}, "second"));
    {
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::UpdateAvailable));
        model.updateBtnClicked();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
    }
    QCOMPARE(m_boxes.texts(), QStringList());
    QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.1"));
    QCOMPARE(listing(m_game, {"config.ini"}), listing(path("v2")));
}

void TestSignedRelease::rejectedPackagesAreDeletedAndNothingIsUnpacked_data()
{
    QTest::addColumn<int>("mutation");
    QTest::addColumn<int>("code");
    QTest::newRow("missing signature") << int(Unsigned) << 1028;
    QTest::newRow("key not trusted") << int(UntrustedKey) << 1028;
    QTest::newRow("malformed signature") << int(MalformedSignature) << 1028;
    QTest::newRow("tampered package") << int(TamperedManifestUntouched) << 1004;
    QTest::newRow("tampered package and manifest") << int(TamperedManifestRewritten) << 1028;
    // Only the signature itself tells this one apart.
    QTest::newRow("tampered package, manifest and statement")
        << int(TamperedStatementRewritten) << 1028;
    QTest::newRow("older signed release announced as newer")
        << int(OlderReleaseAnnouncedAsNewer) << 1028;
    QTest::newRow("difference package with the full package's statement")
        << int(DifferenceWithFullStatement) << 1028;
}

void TestSignedRelease::rejectedPackagesAreDeletedAndNothingIsUnpacked()
{
    QFETCH(int, mutation);
    QFETCH(int, code);
    const bool update = mutation == DifferenceWithFullStatement;
    const QString key = mutation == Unsigned       ? QString()
                        : mutation == UntrustedKey ? QStringLiteral("stranger")
                                                   : QStringLiteral("first");
    QJsonObject older;
    if (mutation == OlderReleaseAnnouncedAsNewer) {
        QVERIFY(publishGame({"1.0.0=v1"}, key));
        older = resource();
        QVERIFY(QFile::copy(m_site + "/game/Orv_1.0.0.7z", path("Orv_1.0.0.7z")));
    }
    QVERIFY(publishGame({"1.0.0=v1", "1.0.1=v2"}, key));

    QJsonObject answer = resource();
    QJsonObject data = answer.value("data").toObject();
    QJsonObject game = data.value("game").toObject();
    QJsonObject latest = game.value("latest").toObject();
    QJsonArray diffs = game.value("diffs").toArray();
    const QString package = m_site + "/game/Orv_1.0.1.7z";
    if (mutation == MalformedSignature) {
        QJsonObject signature = latest.value("signature").toObject();
        signature.insert("signature", "not base64!");
        latest.insert("signature", signature);
    } else if (mutation == TamperedManifestUntouched || mutation == TamperedManifestRewritten ||
               mutation == TamperedStatementRewritten) {
        QFile file(package);
        QVERIFY(file.open(QIODevice::Append));
        file.write("appended by a mirror");
        file.close();
        if (mutation != TamperedManifestUntouched) {
            latest.insert("md5",
                          QString::fromLatin1(listing(m_site + "/game").value("Orv_1.0.1.7z")));
            latest.insert("size", double(QFileInfo(package).size()));
        }
        if (mutation == TamperedStatementRewritten) {
            QJsonObject signature = latest.value("signature").toObject();
            QJsonObject statement =
                QJsonDocument::fromJson(signature.value("statement").toString().toUtf8()).object();
            QVERIFY(statement.contains("sha256"));
            statement.insert("md5", latest.value("md5"));
            statement.insert("size", latest.value("size"));
            statement.insert(
                "sha256", QString::fromLatin1(
                              QCryptographicHash::hash(readAll(package), QCryptographicHash::Sha256)
                                  .toHex()));
            signature.insert("statement", QString::fromUtf8(QJsonDocument(statement).toJson(
                                              QJsonDocument::Compact)));
            latest.insert("signature", signature);
        }
    } else if (mutation == OlderReleaseAnnouncedAsNewer) {
        // The genuine 1.0.0 package with its genuine signature, announced as 1.0.1.
        QVERIFY(QFile::copy(path("Orv_1.0.0.7z"), m_site + "/game/Orv_1.0.0.7z"));
        const QJsonObject old =
            older.value("data").toObject().value("game").toObject().value("latest").toObject();
        for (const char *field : {"name", "path", "md5", "size", "signature"})
            latest.insert(field, old.value(field));
    } else if (mutation == DifferenceWithFullStatement) {
        QJsonObject diff = diffs.at(0).toObject();
        diff.insert("signature", latest.value("signature"));
        diffs[0] = diff;
    }
    game.insert("latest", latest);
    game.insert("diffs", diffs);
    data.insert("game", game);
    answer.insert("data", data);
    setResource(answer);

    if (update) {
        QVERIFY(writeTree(m_game, {}));
        for (const QString &file : listing(path("v1")).keys())
            QVERIFY(writeFile(m_game + '/' + file, readAll(path("v1/") + file)));
        LauncherConfig::instance()->setGameVersion(QStringLiteral("1.0.0"));
    }
    const auto before = listing(m_game, {"config.ini"});
    MainViewModel model;
    model.initialize();
    if (update) {
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::UpdateAvailable));
        model.updateBtnClicked();
    } else {
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
    }
    const QString shown = QStringLiteral("[%1]:").arg(code);
    QTRY_VERIFY_WITH_TIMEOUT(!m_boxes.texts().filter(shown).isEmpty(), 60000);
    QVERIFY(waitForGameState(
        model, m_boxes, update ? MainViewModel::UpdateAvailable : MainViewModel::NotInstalled));
    QCOMPARE(m_boxes.count(), 1);
    // The package is gone and nothing of it was unpacked.
    QCOMPARE(listing(m_game, {"config.ini"}), before);
    QCOMPARE(LauncherConfig::instance()->gameVersion(),
             update ? QStringLiteral("1.0.0") : QString());
}

void TestSignedRelease::plugInsAreSignedAndRefusedWithoutSignature()
{
    const QByteArray plugin = noise(50000, 9);
    QVERIFY(writeFile(path("OrvHelper.7z"), plugin));
    const QString md5 =
        QString::fromLatin1(QCryptographicHash::hash(plugin, QCryptographicHash::Md5).toHex());
    const QString url = m_nginx.baseUrl() + "/plugins/OrvHelper.7z";
    const QStringList game{"game",
                           "--site",
                           m_site,
                           "--base-url",
                           m_nginx.baseUrl(),
                           "--name",
                           "Orv",
                           "--entry",
                           "Kestrava",
                           "--sign-key",
                           keyFile("first.key"),
                           "--plugins",
                           path("plugins.json"),
                           "1.0.0=" + path("v1")};

    // Signing needs the plug-in's local copy.
    QVERIFY(
        writeFile(path("plugins.json"),
                  QJsonDocument(QJsonArray{QJsonObject{{"path", url}, {"md5", md5}}}).toJson()));
    Run run = runTool(game);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("\"file\""), qPrintable(run.err));
    QVERIFY(writeFile(path("plugins.json"),
                      QJsonDocument(QJsonArray{QJsonObject{
                                        {"path", url}, {"md5", md5}, {"file", "OrvHelper.7z"}}})
                          .toJson()));
    run = runTool(game);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(writeFile(m_site + "/plugins/OrvHelper.7z", plugin));

    QJsonObject answer = resource();
    QJsonObject data = answer.value("data").toObject();
    QJsonObject plugins = data.value("plugin").toObject();
    QJsonObject entry = plugins.value("plugins").toArray().at(0).toObject();
    QVERIFY(!entry.contains("file"));
    QVERIFY(entry.value("signature").toObject().value("statement").toString().contains(md5));
    entry.remove("signature");
    plugins.insert("plugins", QJsonArray{entry});
    data.insert("plugin", plugins);
    answer.insert("data", data);
    setResource(answer);

    const QString launcherFolder = QCoreApplication::applicationDirPath();
    QFile::remove(launcherFolder + "/OrvHelper.7z");
    MainViewModel model;
    model.initialize();
    QVERIFY(waitForGameState(model, m_boxes, MainViewModel::NotInstalled));
    model.installEnsureBtnClicked();
    QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
    QTRY_VERIFY_WITH_TIMEOUT(!m_boxes.texts().filter("[1028]:").isEmpty(), 30000);
    // The setup asks for the plug-in once more; every copy that arrives is refused alike.
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(launcherFolder + "/OrvHelper.7z"), 30000);
    QVERIFY(!QFileInfo::exists(launcherFolder + "/OrvHelper"));
}

void TestSignedRelease::launcherHandsOnlyASignedReleaseToTheUpdater()
{
    QVERIFY(writeFile(path("release/lunlauncher"), "#!/bin/sh\nexit 0\n", true));
    const Run run =
        runTool({"launcher", "--site", m_site, "--base-url", m_nginx.baseUrl(), "--version",
                 "2.4.0.0", "--sign-key", keyFile("first.key"), path("release")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    AppVersionInfo release;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(
                 QJsonDocument::fromJson(
                     fetchUrl(m_nginx.baseUrl() + "/pelorin/marduvel/api/getLatestRelease")),
                 "18", &release),
             AppVersionInfo::Verdict::Update);
    QVERIFY(!release.packageSignature().isEmpty());

    MainViewModel model;
    // No start-up check: the hand-offs below are the only ones.
    model.setStartedByUpdater(true);
    model.initialize();
    AppVersionInfo forged = release;
    forged.setPackageVersion(QStringLiteral("2.5.0.0"));
    AppVersionInfo unsignedRelease = release;
    unsignedRelease.setPackageSignature({});
    for (const AppVersionInfo &info : {forged, unsignedRelease}) {
        m_boxes.clear();
        model.onStartUpdate(info);
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes.count(), 1, 10000);
        QVERIFY2(m_boxes.texts().first().contains("[1028]:"), qPrintable(m_boxes.texts().first()));
    }
    // The signed release passes the check; this test has no updater to start, which is the
    // only complaint left.
    m_boxes.clear();
    model.onStartUpdate(release);
    QTRY_COMPARE_WITH_TIMEOUT(m_boxes.count(), 1, 10000);
    QVERIFY2(!m_boxes.texts().first().contains("[1028]"), qPrintable(m_boxes.texts().first()));
}

void TestSignedRelease::updaterChecksTheCommandLineAgain_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("dropSignature");
    QTest::addColumn<bool>("otherPackage");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("signed release") << "second" << false << false << true;
    QTest::newRow("signature left out") << "first" << true << false << false;
    QTest::newRow("another package under the signature") << "first" << false << true << false;
    QTest::newRow("key not trusted") << "stranger" << false << false << false;
}

void TestSignedRelease::updaterChecksTheCommandLineAgain()
{
    QFETCH(QString, key);
    QFETCH(bool, dropSignature);
    QFETCH(bool, otherPackage);
    QFETCH(bool, accepted);

    const QString fresh = path("newlauncher");
    QDir(fresh).removeRecursively();
    QVERIFY(writeFile(fresh + "/lunlauncher", "#!/bin/sh\nexit 0\n", true));
    QVERIFY(writeFile(fresh + "/data/config.txt", "new"));
    const Run run = runTool({"launcher", "--site", m_site, "--base-url", m_nginx.baseUrl(),
                             "--version", "2.4.0.0", "--sign-key", keyFile(key + ".key"), fresh});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    AppVersionInfo release;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(
                 QJsonDocument::fromJson(
                     fetchUrl(m_nginx.baseUrl() + "/pelorin/marduvel/api/getLatestRelease")),
                 "18", &release),
             AppVersionInfo::Verdict::Update);
    if (dropSignature)
        release.setPackageSignature({});
    if (otherPackage) {
        // Same file name, other content, its own correct MD5: only the signature tells.
        const QString other = m_site + "/evil/" + QUrl(release.packageUrl()).fileName();
        QVERIFY(writeFile(
            other, readAll(m_site + "/launcher/" + QUrl(release.packageUrl()).fileName()) + "x"));
        release.setPackageUrl(m_nginx.baseUrl() + "/evil/" + QFileInfo(other).fileName());
        release.setPackageMd5(
            QString::fromLatin1(listing(m_site + "/evil").value(QFileInfo(other).fileName())));
    }

    const QString install = path("inst");
    QDir(install).removeRecursively();
    QVERIFY(writeFile(install + "/lunlauncher", "#!/bin/sh\nexit 0\n", true));
    QVERIFY(writeFile(install + "/data/config.txt", "old"));
    QVERIFY(QDir().mkpath(install + "/updateProgram"));
    QVERIFY(QFile::copy(QStringLiteral(UPDATER_BIN), install + "/updateProgram/Update"));
    const auto before = listing(install);

    // The command line exactly as the launcher builds it.
    QStringList arguments =
        UpdateProgram::updaterArguments(release, install + "/lunlauncher", QStringLiteral("en-us"));
    arguments[0] = QStringLiteral("SignedTrip%1").arg(QCoreApplication::applicationPid());
    QProcess updater;
    updater.start(install + "/updateProgram/Update", arguments);
    QVERIFY(updater.waitForStarted());
    QByteArray log;
    if (accepted) {
        QTRY_VERIFY_WITH_TIMEOUT(listing(install).value("data/config.txt") ==
                                         listing(fresh).value("data/config.txt") &&
                                     !QDir(install + "/updateProgram/rollback").exists(),
                                 90000);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(
            (log += updater.readAllStandardError()).contains("package signature:"), 60000);
        QTest::qWait(200);
        // Nothing unpacked, nothing replaced, the package deleted.
        QVERIFY(!QDir(install + "/updateProgram/updateData").exists());
        QVERIFY(QDir(install + "/updateProgram/pkg").isEmpty(QDir::Files));
        QCOMPARE(updater.state(), QProcess::Running);
        QMap<QString, QByteArray> now = listing(install);
        QMap<QString, QByteArray> was = before;
        QCOMPARE(now.value("data/config.txt"), was.value("data/config.txt"));
        QCOMPARE(now.value("lunlauncher"), was.value("lunlauncher"));
    }
    updater.kill();
    updater.waitForFinished(10000);
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestSignedRelease test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_signedrelease.moc"
