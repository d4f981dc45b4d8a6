// Signed releases end to end: packages signed by the publisher's program, served by nginx,
// checked by the launcher's real install engine (with the real 7z.so) and by the real updater
// built to trust the test keys.
#include <QApplication>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include "appversioninfo.h"
#include "dialogwatcher.h"
#include "dlgsetting.h"
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
    OlderGameReplayedOverNewer,
    OtherLaunchersGame,
    OtherGamesPackage,
    OtherGamesAnswer,
    RenamedPackage,
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
    void plugInsComeOnlyFromTheSignedAnswer();
    void answersDecideOnlyWhenSignedAndFresh_data();
    void answersDecideOnlyWhenSignedAndFresh();
    void repairTakesOnlyWhatThePublisherSigned_data();
    void repairTakesOnlyWhatThePublisherSigned();
    void rotatedSigningKeyNeedsNoNewLauncher_data();
    void rotatedSigningKeyNeedsNoNewLauncher();
    void launcherHandsOnlyASignedReleaseToTheUpdater();
    void releaseAnswerOffersOnlyWhatIsSignedAndFresh_data();
    void releaseAnswerOffersOnlyWhatIsSignedAndFresh();
    void updaterChecksTheCommandLineAgain_data();
    void updaterChecksTheCommandLineAgain();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    bool publishGame(const QStringList &versions, const QString &key,
                     const QStringList &extra = {});
    void installTree(const QString &tree, const QString &version);
    int packageRequests() const;
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
    // Each case is a fresh install: the signed-answer version an earlier case saw (quick
    // publishes run it ahead of the clock) must not make this case's site look replayed.
    LauncherConfig::instance()->writeString(QStringLiteral("signedMetadataVersion"), QString(),
                                            QStringLiteral("trust"));
    LauncherConfig::instance()->writeString(QStringLiteral("signedProduct"), QString(),
                                            QStringLiteral("trust"));
    LauncherConfig::instance()->writeString(QStringLiteral("releaseMetadataVersion"), QString(),
                                            QStringLiteral("trust"));
}

bool TestSignedRelease::publishGame(const QStringList &versions, const QString &key,
                                    const QStringList &extra)
{
    // Each case sets the site up afresh, older versions and other keys included.
    QStringList arguments{"game",   "--site", m_site,    "--base-url", m_nginx.baseUrl(),
                          "--name", "Orv",    "--entry", "Kestrava",   "--force"};
    arguments << extra;
    // The rows switch one site between signed and unsigned.
    arguments << "--change-signing";
    if (!key.isEmpty())
        arguments << "--sign-key" << (key.startsWith('/') ? key : keyFile(key + ".key"));
    for (const QString &version : versions)
        arguments << version.section('=', 0, 0) + '=' + path(version.section('=', 1));
    const Run run = runTool(arguments);
    if (run.exitCode != 0)
        qWarning() << run.err;
    return run.exitCode == 0;
}

// The game as a finished installation of `version` leaves it.
void TestSignedRelease::installTree(const QString &tree, const QString &version)
{
    QVERIFY(writeTree(m_game, {}));
    for (const QString &file : listing(path(tree)).keys())
        QVERIFY(writeFile(m_game + '/' + file, readAll(path(tree + '/') + file)));
    QVERIFY(
        QFile::setPermissions(m_game + "/Kestrava", QFile::permissions(path(tree + "/Kestrava"))));
    LauncherConfig::instance()->setGameVersion(version);
}

// Package downloads nginx has answered so far (a size request carries no package byte).
int TestSignedRelease::packageRequests() const
{
    return int(m_nginx.accessLog().count("\"GET /game/"));
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
    QVERIFY2(m_boxes.texts().isEmpty(), qPrintable(m_boxes.texts().join('|')));
    QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.1"));
    QCOMPARE(listing(m_game, {"config.ini"}), listing(path("v2")));
    // The patch package is signed like the difference package it stands beside.
    const QByteArray log = m_nginx.accessLog();
    QVERIFY2(log.contains("\"GET /game/Orv_1.0.0_1.0.1.patch"), log.constData());
    QVERIFY2(!log.contains("\"GET /game/Orv_1.0.0_1.0.1.7z"), log.constData());

    // A version with no difference package updates through the signed full package, whose
    // statement names no source version.
    installTree("v1", QStringLiteral("0.9.0"));
    {
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::UpdateAvailable));
        model.updateBtnClicked();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
    }
    QVERIFY2(m_boxes.texts().isEmpty(), qPrintable(m_boxes.texts().join('|')));
    QCOMPARE(LauncherConfig::instance()->gameVersion(), QStringLiteral("1.0.1"));
    QCOMPARE(listing(m_game, {"config.ini"}), listing(path("v2")));
}

void TestSignedRelease::rejectedPackagesAreDeletedAndNothingIsUnpacked_data()
{
    QTest::addColumn<int>("mutation");
    QTest::addColumn<int>("code");
    // Whether the answer alone shows that nothing downloaded could pass.
    QTest::addColumn<bool>("beforeDownload");
    QTest::newRow("package signature stripped from the answer") << int(Unsigned) << 1028 << true;
    QTest::newRow("key not trusted") << int(UntrustedKey) << 1038 << true;
    QTest::newRow("malformed signature") << int(MalformedSignature) << 1028 << true;
    QTest::newRow("tampered package") << int(TamperedManifestUntouched) << 1004 << false;
    QTest::newRow("tampered package and manifest")
        << int(TamperedManifestRewritten) << 1028 << true;
    // Only the signature itself tells this one apart.
    QTest::newRow("tampered package, manifest and statement")
        << int(TamperedStatementRewritten) << 1028 << true;
    QTest::newRow("older signed release announced as newer")
        << int(OlderReleaseAnnouncedAsNewer) << 1028 << true;
    QTest::newRow("difference package with the full package's statement")
        << int(DifferenceWithFullStatement) << 1037 << true;
    QTest::newRow("signed older game replayed over a newer one")
        << int(OlderGameReplayedOverNewer) << 1036 << true;
    QTest::newRow("signed game of another launcher, same key")
        << int(OtherLaunchersGame) << 1037 << true;
    QTest::newRow("another game's signed package in the answer, same key and launcher")
        << int(OtherGamesPackage) << 1037 << true;
    QTest::newRow("another game's signed answer, same key and launcher")
        << int(OtherGamesAnswer) << 1037 << true;
    // The same bytes under another name are not the package the statement names.
    QTest::newRow("signed package served under another name")
        << int(RenamedPackage) << 1028 << true;
}

void TestSignedRelease::rejectedPackagesAreDeletedAndNothingIsUnpacked()
{
    QFETCH(int, mutation);
    QFETCH(int, code);
    QFETCH(bool, beforeDownload);
    const bool update =
        mutation == DifferenceWithFullStatement || mutation == OlderGameReplayedOverNewer;
    const QString key =
        mutation == UntrustedKey ? QStringLiteral("stranger") : QStringLiteral("first");
    // The signed answer itself names another launcher: refused before any button.
    const bool atAnswer =
        mutation == OtherLaunchersGame || mutation == UntrustedKey || mutation == OtherGamesAnswer;
    QJsonObject older;
    QJsonObject other;
    if (mutation == OtherGamesPackage) {
        QVERIFY(publishGame({"1.0.0=v1", "1.0.1=v2"}, key, {"--name", "Wyr"}));
        other = resource();
        QFile::remove(path("Wyr_1.0.1.7z"));
        QVERIFY(QFile::copy(m_site + "/game/Wyr_1.0.1.7z", path("Wyr_1.0.1.7z")));
    }
    if (mutation == OtherGamesAnswer) {
        // This installation has seen its own game's signed answer before.
        QVERIFY(publishGame({"1.0.0=v1"}, key));
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::NotInstalled));
    }
    if (mutation == OlderReleaseAnnouncedAsNewer) {
        QVERIFY(publishGame({"1.0.0=v1"}, key));
        older = resource();
        QVERIFY(QFile::copy(m_site + "/game/Orv_1.0.0.7z", path("Orv_1.0.0.7z")));
    }
    if (mutation == OlderGameReplayedOverNewer)
        QVERIFY(publishGame({"1.0.0=v1"}, key));
    else if (mutation == OtherLaunchersGame)
        QVERIFY(publishGame({"1.0.0=v1", "1.0.1=v2"}, key, {"--launcher-id", "19"}));
    else if (mutation == OtherGamesAnswer)
        QVERIFY(publishGame({"1.0.0=v1", "1.0.1=v2"}, key, {"--name", "Wyr"}));
    else
        QVERIFY(publishGame({"1.0.0=v1", "1.0.1=v2"}, key));

    QJsonObject answer = resource();
    QJsonObject data = answer.value("data").toObject();
    QJsonObject game = data.value("game").toObject();
    QJsonObject latest = game.value("latest").toObject();
    QJsonArray diffs = game.value("diffs").toArray();
    const QString package = m_site + "/game/Orv_1.0.1.7z";
    if (mutation == Unsigned) {
        latest.remove("signature");
    } else if (mutation == MalformedSignature) {
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
        // The genuine 1.0.0 package with its genuine signature, announced as 1.0.1 (the
        // publisher may still hold it for its grace period).
        QFile::remove(m_site + "/game/Orv_1.0.0.7z");
        QVERIFY(QFile::copy(path("Orv_1.0.0.7z"), m_site + "/game/Orv_1.0.0.7z"));
        const QJsonObject old =
            older.value("data").toObject().value("game").toObject().value("latest").toObject();
        for (const char *field : {"name", "path", "md5", "size", "signature"})
            latest.insert(field, old.value(field));
    } else if (mutation == OtherGamesPackage) {
        // Same version, same launcher, same key: only the game named tells it apart.
        QFile::remove(m_site + "/game/Wyr_1.0.1.7z");
        QVERIFY(QFile::copy(path("Wyr_1.0.1.7z"), m_site + "/game/Wyr_1.0.1.7z"));
        const QJsonObject theirs =
            other.value("data").toObject().value("game").toObject().value("latest").toObject();
        for (const char *field : {"name", "path", "md5", "size", "signature"})
            latest.insert(field, theirs.value(field));
    } else if (mutation == RenamedPackage) {
        QVERIFY(QFile::copy(package, m_site + "/game/Orv_1.0.1b.7z"));
        for (const char *field : {"name", "path"}) {
            QString value = latest.value(field).toString();
            QVERIFY2(value.endsWith("Orv_1.0.1.7z"), qPrintable(value));
            latest.insert(field, value.replace("Orv_1.0.1.7z", "Orv_1.0.1b.7z"));
        }
    } else if (mutation == DifferenceWithFullStatement) {
        QJsonObject diff = diffs.at(0).toObject();
        diff.insert("signature", latest.value("signature"));
        // The patch package beside it carries the same wrong statement.
        if (diff.contains("patch")) {
            QJsonObject patch = diff.value("patch").toObject();
            patch.insert("signature", latest.value("signature"));
            diff.insert("patch", patch);
        }
        diffs[0] = diff;
    }
    game.insert("latest", latest);
    game.insert("diffs", diffs);
    data.insert("game", game);
    answer.insert("data", data);
    setResource(answer);

    const QString installed = mutation == OlderGameReplayedOverNewer ? QStringLiteral("1.0.1")
                              : update                               ? QStringLiteral("1.0.0")
                                                                     : QString();
    if (mutation == OlderGameReplayedOverNewer)
        installTree("v2", installed);
    else if (update)
        installTree("v1", installed);
    const auto before = listing(m_game, {"config.ini"});
    const int requestsBefore = packageRequests();
    MainViewModel model;
    model.initialize();
    if (atAnswer) {
        // Nothing to press: the answer decides nothing.
    } else if (update) {
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::UpdateAvailable));
        model.updateBtnClicked();
    } else {
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
    }
    const QString shown = QStringLiteral("[%1]:").arg(code);
    QTRY_VERIFY_WITH_TIMEOUT(!m_boxes.texts().filter(shown).isEmpty(), 60000);
    QVERIFY(waitForGameState(model, m_boxes,
                             atAnswer ? MainViewModel::QueryFailed
                             : update ? MainViewModel::UpdateAvailable
                                      : MainViewModel::NotInstalled));
    QCOMPARE(m_boxes.count(), 1);
    // The package is gone and nothing of it was unpacked.
    QCOMPARE(listing(m_game, {"config.ini"}), before);
    QCOMPARE(LauncherConfig::instance()->gameVersion(), installed);
    QVERIFY(QDir(m_game).entryList({"*.7z", "*_tmp"}, QDir::Files).isEmpty());
    if (beforeDownload)
        QCOMPARE(packageRequests(), requestsBefore);
}

void TestSignedRelease::plugInsComeOnlyFromTheSignedAnswer()
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
                           "--force",
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
    // The attacker's own plug-in, unsigned, in place of the publisher's.
    const QByteArray evil = noise(40000, 10);
    QVERIFY(writeFile(m_site + "/plugins/EvilHelper.7z", evil));
    entry = QJsonObject();
    entry.insert("path", QString(m_nginx.baseUrl() + "/plugins/EvilHelper.7z"));
    entry.insert("md5", QString::fromLatin1(
                            QCryptographicHash::hash(evil, QCryptographicHash::Md5).toHex()));
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
    // The plug-in list comes from the signed answer: the publisher's plug-in is fetched, the
    // attacker's never is.
    QTRY_VERIFY_WITH_TIMEOUT(m_nginx.accessLog().contains("GET /plugins/OrvHelper.7z"), 30000);
    QVERIFY(!m_nginx.accessLog().contains("EvilHelper"));
    QVERIFY(!QFileInfo::exists(launcherFolder + "/EvilHelper.7z"));
    QVERIFY(!QFileInfo::exists(launcherFolder + "/EvilHelper"));
}

void TestSignedRelease::answersDecideOnlyWhenSignedAndFresh_data()
{
    QTest::addColumn<QString>("attack");
    QTest::addColumn<int>("code"); // 0: no message, the signed fields decide
    QTest::addColumn<int>("state");
    QTest::newRow("unsigned answer") << "unsigned" << 1038 << int(MainViewModel::QueryFailed);
    QTest::newRow("answer replayed from an earlier publication")
        << "replay" << 1039 << int(MainViewModel::QueryFailed);
    QTest::newRow("expired answer") << "expired" << 1039 << int(MainViewModel::QueryFailed);
    QTest::newRow("unsigned forced launcher update added")
        << "force" << 0 << int(MainViewModel::Installed);
    QTest::newRow("entry changed in the answer") << "entry" << 0 << int(MainViewModel::Installed);
}

void TestSignedRelease::answersDecideOnlyWhenSignedAndFresh()
{
    QFETCH(QString, attack);
    QFETCH(int, code);
    QFETCH(int, state);
    QJsonObject earlier;
    if (attack == "replay") {
        QVERIFY(publishGame({"1.0.0=v1"}, "first"));
        earlier = resource();
    }
    QVERIFY(publishGame({"1.0.0=v1"}, attack == "unsigned" ? QString() : "first",
                        attack == "expired" ? QStringList{"--expires-days", "0"} : QStringList()));
    installTree("v1", "1.0.0");
    if (attack == "replay") {
        // This installation has seen the newer answer.
        MainViewModel model;
        model.initialize();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
        setResource(earlier);
    }
    QJsonObject answer = resource();
    QJsonObject data = answer.value("data").toObject();
    if (attack == "force") {
        data.insert("force_update",
                    QJsonObject{{"min_version", "99.0.0.0"}, {"url", "http://127.0.0.1:9/evil"}});
    } else if (attack == "entry") {
        QJsonObject game = data.value("game").toObject();
        QJsonObject latest = game.value("latest").toObject();
        latest.insert("entry", "nothing-here");
        game.insert("latest", latest);
        data.insert("game", game);
    }
    answer.insert("data", data);
    setResource(answer);

    MainViewModel model;
    model.initialize();
    QVERIFY(waitForGameState(model, m_boxes, MainViewModel::GameState(state)));
    if (code) {
        QTRY_VERIFY_WITH_TIMEOUT(
            !m_boxes.texts().filter(QStringLiteral("[%1]:").arg(code)).isEmpty(), 30000);
        QCOMPARE(m_boxes.count(), 1);
    } else {
        QTest::qWait(500);
        QCOMPARE(m_boxes.texts(), QStringList());
    }
}

void TestSignedRelease::repairTakesOnlyWhatThePublisherSigned_data()
{
    QTest::addColumn<QString>("attack");
    QTest::addColumn<int>("code"); // 0: the repair succeeds
    QTest::newRow("genuine signed repair") << "none" << 0;
    QTest::newRow("attacker's package and file list, answer rewritten to match")
        << "package" << 1028;
    QTest::newRow("attacker's file list, its digest in the answer") << "list" << 1004;
    QTest::newRow("attacker's store ranges in the list, its digest in the answer")
        << "store index" << 1004;
    // The objects are checked against the signed list: the full package repairs instead.
    QTest::newRow("attacker's store") << "store" << 0;
}

void TestSignedRelease::repairTakesOnlyWhatThePublisherSigned()
{
    QFETCH(QString, attack);
    QFETCH(int, code);
    QVERIFY(publishGame({"1.0.0=v1"}, "first"));
    QJsonObject answer = resource();
    QJsonObject data = answer.value("data").toObject();
    QJsonObject game = data.value("game").toObject();
    QJsonObject latest = game.value("latest").toObject();
    QJsonObject files = latest.value("files").toObject();
    const QString listFile = m_site + "/game/Orv_1.0.0.files.json";
    const QString package = m_site + "/game/Orv_1.0.0.7z";
    const QByteArray evil = "#!/bin/sh\necho owned\n";
    if (attack == "package") {
        // The attacker's own release of the same name, unsigned, with its own list.
        QMap<QString, QByteArray> tree;
        for (const QString &file : listing(path("v1")).keys())
            tree[file] = readAll(path("v1/") + file);
        tree["data/world.pak"] = evil;
        QDir(path("evil")).removeRecursively();
        QVERIFY(writeTree(path("evil"), tree));
        const Run run = runTool({"game", "--site", path("evilsite"), "--base-url",
                                 m_nginx.baseUrl(), "--name", "Orv", "1.0.0=" + path("evil")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QFile::remove(package);
        QFile::remove(listFile);
        QVERIFY(QFile::copy(path("evilsite/game/Orv_1.0.0.7z"), package));
        QVERIFY(QFile::copy(path("evilsite/game/Orv_1.0.0.files.json"), listFile));
        latest.insert("md5", QString::fromLatin1(listing(m_site + "/game").value("Orv_1.0.0.7z")));
        latest.insert("size", double(QFileInfo(package).size()));
    } else if (attack == "list") {
        QByteArray list = readAll(listFile);
        const QByteArray genuine =
            QCryptographicHash::hash(readAll(path("v1/data/world.pak")), QCryptographicHash::Sha256)
                .toHex();
        QVERIFY(list.contains(genuine));
        list.replace(genuine, QCryptographicHash::hash(evil, QCryptographicHash::Sha256).toHex());
        QVERIFY(writeFile(listFile, list));
    } else if (attack == "store index") {
        QByteArray list = readAll(listFile);
        QVERIFY(list.contains("\"offset\": 0\n"));
        list.replace("\"offset\": 0\n", "\"offset\": 1\n");
        QVERIFY(writeFile(listFile, list));
    } else if (attack == "store") {
        const QString store = m_site + "/game/Orv_1.0.0.store";
        QByteArray bytes = readAll(store);
        QVERIFY(!bytes.isEmpty());
        bytes.fill('\x5a');
        QVERIFY(writeFile(store, bytes));
    }
    if (attack != "none" && attack != "store") {
        files.insert(
            "sha256",
            QString::fromLatin1(
                QCryptographicHash::hash(readAll(listFile), QCryptographicHash::Sha256).toHex()));
        files.insert("size", double(QFileInfo(listFile).size()));
        latest.insert("files", files);
        game.insert("latest", latest);
        data.insert("game", game);
        answer.insert("data", data);
        setResource(answer);
    }

    installTree("v1", "1.0.0");
    const QString damaged = m_game + "/data/world.pak";
    QVERIFY(QFile::remove(damaged));
    MainViewModel model;
    model.initialize();
    QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
    DlgSetting *settings = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        settings = settings ? settings : qobject_cast<DlgSetting *>(widget);
    QVERIFY(settings);
    auto *status = settings->findChild<QLabel *>(QStringLiteral("lblRepairStatus"));
    QVERIFY(status);
    settings->onBtnGameRepairClicked();
    const QString outcome =
        code ? QStringLiteral("[%1]:").arg(code) : QStringLiteral("label_repair_result");
    QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith(outcome) || status->text().startsWith("[") ||
                                 status->text().startsWith("label_repair_result"),
                             60000);
    QVERIFY2(status->text().startsWith(outcome), qPrintable(status->text()));
    if (code == 0) {
        QCOMPARE(readAll(damaged), readAll(path("v1/data/world.pak")));
    } else {
        QVERIFY(!QFileInfo::exists(damaged));
        QVERIFY(QDir(m_game).entryList({"*.7z", "*_tmp"}, QDir::Files).isEmpty());
    }
}

void TestSignedRelease::rotatedSigningKeyNeedsNoNewLauncher_data()
{
    QTest::addColumn<QString>("listSigner"); // empty: no list published
    QTest::addColumn<QString>("listDays");
    QTest::addColumn<int>("code"); // 0: installs
    QTest::newRow("new key listed by a root key") << "first"
                                                  << "365" << 0;
    QTest::newRow("new key, no list") << ""
                                      << "" << 1038;
    QTest::newRow("new key in an expired list") << "first"
                                                << "0" << 1038;
    QTest::newRow("list signed by a key that is not a root key") << "stranger"
                                                                 << "365" << 1038;
}

void TestSignedRelease::rotatedSigningKeyNeedsNoNewLauncher()
{
    QFETCH(QString, listSigner);
    QFETCH(QString, listDays);
    QFETCH(int, code);
    // A signing key made after the launcher was built.
    const QString stem = path("rotated/" + QString(QTest::currentDataTag()).replace(' ', '_'));
    QVERIFY(QDir().mkpath(path("rotated")));
    Run run = runTool({"keygen", "--out", stem});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QStringList extra;
    if (!listSigner.isEmpty()) {
        run = runTool({"keylist", "--root-key", keyFile(listSigner + ".key"), "--expires-days",
                       listDays, "--out", stem + ".list.json", stem + ".pub"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        extra << "--key-list" << stem + ".list.json";
    }
    QVERIFY(publishGame({"1.0.0=v1"}, stem + ".key", extra));

    MainViewModel model;
    model.initialize();
    if (code == 0) {
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::NotInstalled));
        model.installEnsureBtnClicked();
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::Installed));
        QCOMPARE(m_boxes.texts(), QStringList());
        QCOMPARE(listing(m_game, {"config.ini"}), listing(path("v1")));
    } else {
        QVERIFY(waitForGameState(model, m_boxes, MainViewModel::QueryFailed));
        QTRY_VERIFY_WITH_TIMEOUT(
            !m_boxes.texts().filter(QStringLiteral("[%1]:").arg(code)).isEmpty(), 30000);
        QVERIFY(!QFileInfo::exists(m_game + "/Kestrava"));
    }
}

void TestSignedRelease::launcherHandsOnlyASignedReleaseToTheUpdater()
{
    // A genuine game answer: the page's own query has nothing to complain about.
    QVERIFY(publishGame({"1.0.0=v1"}, "first"));
    QVERIFY(writeFile(path("release/lunlauncher"), "#!/bin/sh\nexit 0\n", true));
    QVERIFY(writeFile(path("release/launcher-version.txt"), "2.4.0.0\n"));
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
    // This launcher is 2.3.3.0: its publisher's signed 2.3.2.0 is no update.
    QVERIFY(writeFile(path("olderrelease/lunlauncher"), "#!/bin/sh\nexit 0\n", true));
    QVERIFY(writeFile(path("olderrelease/launcher-version.txt"), "2.3.2.0\n"));
    const Run older =
        runTool({"launcher", "--site", path("oldersite"), "--base-url", m_nginx.baseUrl(),
                 "--version", "2.3.2.0", "--sign-key", keyFile("first.key"), path("olderrelease")});
    QVERIFY2(older.exitCode == 0, qPrintable(older.err));
    AppVersionInfo olderRelease;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(
                 QJsonDocument::fromJson(
                     readAll(path("oldersite/pelorin/marduvel/api/getLatestRelease"))),
                 "18", &olderRelease),
             AppVersionInfo::Verdict::Update);
    const QList<QPair<AppVersionInfo, QString>> refused{
        {forged, "[1028]:"}, {unsignedRelease, "[1028]:"}, {olderRelease, "[1036]:"}};
    for (const auto &row : refused) {
        m_boxes.clear();
        model.onStartUpdate(row.first);
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes.count(), 1, 10000);
        QVERIFY2(m_boxes.texts().first().contains(row.second), qPrintable(m_boxes.texts().first()));
    }
    // The signed release passes the check; this test has no updater to start, which is the
    // only complaint left.
    m_boxes.clear();
    model.onStartUpdate(release);
    QTRY_COMPARE_WITH_TIMEOUT(m_boxes.count(), 1, 10000);
    QVERIFY2(!m_boxes.texts().first().contains("[1028]"), qPrintable(m_boxes.texts().first()));
}

void TestSignedRelease::releaseAnswerOffersOnlyWhatIsSignedAndFresh_data()
{
    QTest::addColumn<QString>("mutation");
    QTest::addColumn<QString>("offered"); // the launcher version offered, empty for none
    QTest::newRow("genuine signed release") << "none"
                                            << "2.4.0.0";
    QTest::newRow("unsigned release answer") << "unsigned"
                                             << "";
    QTest::newRow("version and address changed in the answer") << "fields"
                                                               << "2.4.0.0";
    QTest::newRow("release answer replayed from an earlier publication") << "replayed"
                                                                         << "";
    QTest::newRow("expired release answer") << "expired"
                                            << "";
}

void TestSignedRelease::releaseAnswerOffersOnlyWhatIsSignedAndFresh()
{
    QFETCH(QString, mutation);
    QFETCH(QString, offered);
    const QString answerFile = m_site + "/pelorin/marduvel/api/getLatestRelease";
    const auto publishRelease = [&](const QString &version, const QStringList &extra) {
        const QString folder = path("release-" + version);
        QVERIFY(writeFile(folder + "/lunlauncher", "#!/bin/sh\nexit 0\n", true));
        QVERIFY(writeFile(folder + "/launcher-version.txt", version.toLatin1() + "\n"));
        const Run run =
            runTool(QStringList{"launcher", "--site", m_site, "--base-url", m_nginx.baseUrl(),
                                "--version", version, "--sign-key", keyFile("first.key")}
                    << extra << folder);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    };
    publishRelease("2.4.0.0",
                   mutation == "expired" ? QStringList{"--expires-days", "0"} : QStringList{});
    QJsonObject answer = QJsonDocument::fromJson(readAll(answerFile)).object();
    QJsonObject data = answer.value("data").toObject();
    const QString signedUrl = data.value("package_url").toString();
    m_boxes.setAccept(false); // an offer is declined: no updater to start here
    if (mutation == "replayed") {
        publishRelease("2.5.0.0", {});
        UpdateProgram newer;
        newer.onCheckProgramUpdate(QJsonDocument::fromJson(readAll(answerFile)));
        QCOMPARE(newer.versionInfo().packageVersion(), QStringLiteral("2.5.0.0"));
    } else if (mutation == "unsigned") {
        data.remove("signed");
    } else if (mutation == "fields") {
        data.insert("package_version", "9.9.9.9");
        data.insert("package_url",
                    QString(m_nginx.baseUrl() + "/elsewhere/lunlauncher_9.9.9.9.7z"));
    }
    answer.insert("data", data);
    UpdateProgram update;
    update.onCheckProgramUpdate(QJsonDocument(answer));
    QCOMPARE(update.versionInfo().packageVersion(), offered);
    if (!offered.isEmpty())
        QCOMPARE(update.versionInfo().packageUrl(), signedUrl);
}

void TestSignedRelease::updaterChecksTheCommandLineAgain_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("dropSignature");
    QTest::addColumn<bool>("otherPackage");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<bool>("gamePackage");
    QTest::addColumn<bool>("accepted");
    // The launcher hands on a signing-key list that the first (root) key signed.
    QTest::addColumn<bool>("keyList");
    const QString newer = QStringLiteral("2.4.0.0");
    // The updater ships with launcher 2.3.3.0.
    const QString older = QStringLiteral("2.3.2.0");
    QTest::newRow("signed release")
        << "second" << false << false << newer << QStringList() << false << true << false;
    QTest::newRow("signature left out")
        << "first" << true << false << newer << QStringList() << false << false << false;
    QTest::newRow("another package under the signature")
        << "first" << false << true << newer << QStringList() << false << false << false;
    QTest::newRow("key not trusted")
        << "stranger" << false << false << newer << QStringList() << false << false << false;
    QTest::newRow("signed older release")
        << "first" << false << false << older << QStringList() << false << false << false;
    QTest::newRow("signed older release, signed as a rollback")
        << "first" << false << false << older << QStringList{"--signed-rollback"} << false << true
        << false;
    QTest::newRow("signed release of another launcher")
        << "first" << false << false << newer << QStringList{"--launcher-id", "19"} << false
        << false << false;
    QTest::newRow("signed game package handed over as the release")
        << "first" << false << false << newer << QStringList() << true << false << false;
    QTest::newRow("signed by a rotated key that a root key lists")
        << "stranger" << false << false << newer << QStringList() << false << true << true;
}

void TestSignedRelease::updaterChecksTheCommandLineAgain()
{
    QFETCH(QString, key);
    QFETCH(bool, dropSignature);
    QFETCH(bool, otherPackage);
    QFETCH(QString, version);
    QFETCH(QStringList, extra);
    QFETCH(bool, gamePackage);
    QFETCH(bool, accepted);
    QFETCH(bool, keyList);

    const QString fresh = path("newlauncher");
    QDir(fresh).removeRecursively();
    QVERIFY(writeFile(fresh + "/lunlauncher", "#!/bin/sh\nexit 0\n", true));
    QVERIFY(writeFile(fresh + "/data/config.txt", "new"));
    QVERIFY(writeFile(fresh + "/launcher-version.txt", (version + "\n").toUtf8()));
    const Run run =
        runTool(QStringList{"launcher", "--site", m_site, "--base-url", m_nginx.baseUrl(),
                            "--version", version, "--sign-key", keyFile(key + ".key"), fresh}
                << extra);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // The release answer offers it to the launcher it names.
    const int idAt = extra.indexOf("--launcher-id");
    const QString answerId = idAt >= 0 ? extra.at(idAt + 1) : QStringLiteral("18");
    AppVersionInfo release;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(
                 QJsonDocument::fromJson(
                     fetchUrl(m_nginx.baseUrl() + "/pelorin/marduvel/api/getLatestRelease")),
                 answerId, &release),
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

    if (gamePackage) {
        // A genuine signed game package, its name, MD5 and signature all as published.
        QVERIFY(writeTree(path("gamerelease"), {{"lunlauncher", "#!/bin/sh\nexit 0\n"},
                                                {"Kestrava", "#!/bin/sh\nexit 0\n"},
                                                {"data/config.txt", "game"}}));
        QVERIFY(publishGame({"1.0.0=gamerelease"}, key));
        const QJsonObject latest =
            resource().value("data").toObject().value("game").toObject().value("latest").toObject();
        release.setPackageUrl(latest.value("path").toString());
        release.setPackageMd5(latest.value("md5").toString());
        release.setPackageSignature(latest.value("signature").toObject());
    }

    const QString install = path("inst");
    QDir(install).removeRecursively();
    QVERIFY(writeFile(install + "/lunlauncher", "#!/bin/sh\nexit 0\n", true));
    QVERIFY(writeFile(install + "/data/config.txt", "old"));
    QVERIFY(QDir().mkpath(install + "/updateProgram"));
    QVERIFY(QFile::copy(QStringLiteral(UPDATER_BIN), install + "/updateProgram/Update"));
    const auto before = listing(install);

    if (keyList) {
        // As the launcher holds it after a resource answer carried the list.
        const Run list = runTool({"keylist", "--root-key", keyFile("first.key"), "--out",
                                  path("signing-keys.json"), keyFile("stranger.pub")});
        QVERIFY2(list.exitCode == 0, qPrintable(list.err));
        const QJsonObject field =
            QJsonDocument::fromJson(readAll(path("signing-keys.json"))).object();
        QList<QByteArray> keys;
        QString error;
        QVERIFY2(PackageTrust::parseKeyList(QString::fromLatin1(readAll(keyFile("stranger.pub"))),
                                            &keys, &error),
                 qPrintable(error));
        PackageTrust::setDelegatedKeys(keys, field);
    }
    // The command line exactly as the launcher builds it.
    QStringList arguments =
        UpdateProgram::updaterArguments(release, install + "/lunlauncher", QStringLiteral("en-us"));
    PackageTrust::setDelegatedKeys({}, {});
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
