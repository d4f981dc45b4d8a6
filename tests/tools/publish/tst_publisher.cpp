// The publisher's program on bad input and on the same input twice, and its local server.
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/file.h>
#include <unistd.h>

#include "../../launcher/config/unprivileged.h"
#include "foldersnapshot.h"
#include "filestore.h"
#include "gamefilelist.h"
#include "postextractionsteps.h"
#include "publishtestutil.h"
#include "siteserver.h"

using namespace publishtest;

class TestPublisher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void badInputIsRefusedAndTheSiteStaysAsItWas_data();
    void badInputIsRefusedAndTheSiteStaysAsItWas();
    void sameInputGivesTheSameBytes();
    void differencePackageHoldsWhatChanged_data();
    void differencePackageHoldsWhatChanged();
    void serverAnswersAsTheStaticRulesDo();
    void launcherFolderIsRefused_data();
    void launcherFolderIsRefused();
    void siteKeepsItsHistory_data();
    void siteKeepsItsHistory();
    void retiredPackagesStayForTheGracePeriod_data();
    void retiredPackagesStayForTheGracePeriod();
    void concurrentRunWaitsForTheLock();
    void stoppedRunLeavesNothingBehind();
    void serverEndsOnASignal();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    // What a server serves of a site: its hidden state left out.
    QMap<QString, QByteArray> served(const QString &site) const;
    QString fileOf(const QString &site, const QString &relative) const;
    bool unpacksTo(const QString &package, const QString &over, const QString &expected);
    QStringList gameArguments(const QString &site, const QStringList &versions) const;
    QByteArray get(const QString &path, const QByteArray &range = {}, int *status = nullptr,
                   QByteArray *contentRange = nullptr);

    QTemporaryDir m_dir;
    QString m_site;
    QMap<QString, QByteArray> m_published;
    QNetworkAccessManager m_network;
    QString m_base;
};

QStringList TestPublisher::gameArguments(const QString &site, const QStringList &versions) const
{
    QStringList arguments{"game",   "--site", site,      "--base-url", "http://127.0.0.1:9/demo/",
                          "--name", "Orv",    "--entry", "Kestrava"};
    for (const QString &version : versions)
        arguments << version.section('=', 0, 0) + '=' + path(version.section('=', 1));
    return arguments;
}

void TestPublisher::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QMap<QString, QByteArray> v1{{"Kestrava", "#!/bin/sh\n"},
                                       {"data/a.txt", "a1"},
                                       {"data/gone.txt", "old"},
                                       {"Readme.txt", "read me"}};
    QVERIFY(writeTree(path("v1"), v1));
    QVERIFY(writeFile(path("v1/Kestrava"), "#!/bin/sh\n", true));
    QMap<QString, QByteArray> v2 = v1;
    v2.remove("data/gone.txt");
    v2["data/a.txt"] = "a2";
    v2["data/new/b.bin"] = QByteArray(100000, 'b');
    QVERIFY(writeTree(path("v2"), v2));
    QVERIFY(writeFile(path("v2/Kestrava"), "#!/bin/sh\n", true));
    QVERIFY(QDir().mkpath(path("v2/empty")));

    // One folder per fault, each otherwise a good game.
    auto badCopy = [&](const QString &name) {
        return writeTree(path(name), v1) &&
               writeFile(path(name + "/Kestrava"), "#!/bin/sh\n", true);
    };
    QVERIFY(badCopy("dangling"));
    QVERIFY(QFile::link("nowhere.pak", path("dangling/data/missing.pak")));
    QVERIFY(badCopy("locked"));
    QVERIFY(writeFile(path("locked/data/locked.pak"), "secret"));
    QVERIFY(QFile::setPermissions(path("locked/data/locked.pak"), QFileDevice::WriteOwner));
    QVERIFY(writeFile(path("outside.txt"), "not the game's"));
    QVERIFY(badCopy("linkout"));
    QVERIFY(QFile::link("../../outside.txt", path("linkout/data/outside.txt")));
    QVERIFY(badCopy("backslash"));
    QVERIFY(writeFile(path("backslash/..\\..\\evil.dll"), "escapes on Windows"));
    QVERIFY(badCopy("colliding"));
    QVERIFY(writeFile(path("colliding/Data/c.txt"), "same folder as data/ on Windows"));
    QVERIFY(badCopy("recased"));
    QVERIFY(QFile::rename(path("recased/Readme.txt"), path("recased/README.txt")));
    QVERIFY(badCopy("filetofolder"));
    QVERIFY(QFile::remove(path("filetofolder/data/a.txt")));
    QVERIFY(writeFile(path("filetofolder/data/a.txt/inner.txt"), "a folder now"));
    QVERIFY(badCopy("foldertofile"));
    QVERIFY(QDir(path("foldertofile/data")).removeRecursively());
    QVERIFY(writeFile(path("foldertofile/data"), "a file now"));
    QVERIFY(badCopy("reserved"));
    QVERIFY(writeFile(path("reserved/deletefiles.txt"), "Kestrava\n"));
    QVERIFY(writeTree(path("changed"), v2));
    QVERIFY(writeFile(path("changed/data/a.txt"), "a3"));
    QVERIFY(badCopy("gameconfig"));
    QVERIFY(writeFile(path("gameconfig/Config.ini"), "[Game]\nvolume=3\n"));
    QVERIFY(badCopy("noentry"));
    QVERIFY(QFile::remove(path("noentry/Kestrava")));
    QVERIFY(writeFile(path("noentry/kestrava.exe"), "MZ"));

    m_site = path("out/site");
    const Run run = runTool(gameArguments(m_site, {"1.0.0=v1", "1.0.1=v2"}));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    m_published = listing(m_site, {}, true);
    // the full and the difference package, the file list and the store, three answers
    QCOMPARE(m_published.size(), 7);
}

QMap<QString, QByteArray> TestPublisher::served(const QString &site) const
{
    return listing(site, {}, true);
}

void TestPublisher::cleanupTestCase()
{
    m_dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestPublisher::badInputIsRefusedAndTheSiteStaysAsItWas_data()
{
    QTest::addColumn<QStringList>("versions");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder")
        << QStringList{"1.0.0=v1", "1.0.2=nope"} << path("nope") + ": no such folder";
    QTest::newRow("same version twice")
        << QStringList{"1.0.0=v1", "1.0.0=v2"} << "version 1.0.0 is given twice";
    QTest::newRow("older after newer") << QStringList{"1.0.1=v2", "1.0.0=v1"}
                                       << "version 1.0.0 comes after 1.0.1 but is not newer";
    QTest::newRow("not a version")
        << QStringList{"1.0.0=v1", "1.0.x=v2"} << "version \"1.0.x\": use dotted numbers";
    QTest::newRow("dangling link") << QStringList{"1.0.0=v1", "1.0.2=dangling"}
                                   << path("dangling/data/missing.pak") + ": cannot read";
    QTest::newRow("unreadable file") << QStringList{"1.0.0=v1", "1.0.2=locked"}
                                     << path("locked/data/locked.pak") + ": cannot read";
    QTest::newRow("link out of the folder")
        << QStringList{"1.0.0=v1", "1.0.2=linkout"}
        << path("linkout/data/outside.txt") + ": the link leads outside the folder";
    QTest::newRow("escaping name")
        << QStringList{"1.0.0=v1", "1.0.2=backslash"} << "holds a backslash";
    QTest::newRow("colliding names") << QStringList{"1.0.0=v1", "1.0.2=colliding"}
                                     << "\"Data\" and \"data\" differ only in case";
    QTest::newRow("renamed by case") << QStringList{"1.0.0=v1", "1.0.2=recased"}
                                     << "\"Readme.txt\" (" + path("v1") + ") and \"README.txt\"";
    QTest::newRow("file becomes folder")
        << QStringList{"1.0.0=v1", "1.0.2=filetofolder"}
        << "\"data/a.txt\" is a file in " + path("v1") + " and a folder in";
    QTest::newRow("folder becomes file")
        << QStringList{"1.0.0=v1", "1.0.2=foldertofile"}
        << "\"data\" is a folder in " + path("v1") + " and a file in";
    QTest::newRow("deletion list in the game")
        << QStringList{"1.0.0=v1", "1.0.2=reserved"} << "as its deletion list";
    QTest::newRow("site inside a version")
        << QStringList{"1.0.0=v1", "1.0.1=out"} << "must not lie in one another";
    QTest::newRow("game ships a config.ini")
        << QStringList{"1.0.2=gameconfig"}
        << path("gameconfig/Config.ini") + ": the launcher keeps its record";
    QTest::newRow("entry missing")
        << QStringList{"1.0.2=noentry"} << "--entry Kestrava: no such file in " + path("noentry");
    QTest::newRow("published version with other content")
        << QStringList{"1.0.0=v1", "1.0.1=changed"}
        << "version 1.0.1 is already published with other content";
    QTest::newRow("older than the live version")
        << QStringList{"1.0.0=v1"} << "version 1.0.0 is older than the live version 1.0.1";
}

void TestPublisher::badInputIsRefusedAndTheSiteStaysAsItWas()
{
    QFETCH(QStringList, versions);
    QFETCH(QString, message);
    if (QString(QTest::currentDataTag()) == "unreadable file" && geteuid() == 0) {
        // Root reads any file: the tool's scan runs in this process, as nobody.
        QVERIFY(QFile::setPermissions(m_dir.path(),
                                      QFile::permissions(m_dir.path()) | QFileDevice::ExeOther));
        Unprivileged nobody;
        QVERIFY(nobody.isEffective());
        FolderSnapshot snapshot;
        QString error;
        QVERIFY(!FolderSnapshot::scan(path("locked"), &snapshot, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        return;
    }
    const Run run = runTool(gameArguments(m_site, versions));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith("lunmere-publish: error: ") && run.err.contains(message),
             qPrintable(run.err));
    QCOMPARE(served(m_site), m_published);
    // No staging folder left beside the site either, only the lock.
    QCOMPARE(QDir(path("out")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{".site.lock", "site"}));
}

void TestPublisher::sameInputGivesTheSameBytes()
{
    const Run first = runTool(gameArguments(path("same/a"), {"1.0.0=v1", "1.0.1=v2"}));
    QVERIFY2(first.exitCode == 0, qPrintable(first.err));
    // Dates do not count, only contents.
    QFile file(path("v2/data/a.txt"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-3),
                             QFileDevice::FileModificationTime));
    file.close();
    const Run second = runTool(gameArguments(path("same/b"), {"1.0.0=v1", "1.0.1=v2"}));
    QVERIFY2(second.exitCode == 0, qPrintable(second.err));
    QCOMPARE(listing(path("same/b")), listing(path("same/a")));
    QCOMPARE(served(path("same/a")), m_published);
    // A site with no launcher release still answers the release check: no update.
    QFile noRelease(path("same/a") + "/pelorin/marduvel/api/getLatestRelease");
    QVERIFY(noRelease.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(noRelease.readAll())["data"]["has_update"].toString(),
             QStringLiteral("false"));
    // The file list takes its digests from the scan that found the changes; checked here
    // against Qt's own SHA-256 of every file of the newest version.
    QFile listFile(path("same/a/game/Orv_1.0.1.files.json"));
    QVERIFY(listFile.open(QIODevice::ReadOnly));
    GameFileList list;
    QString error;
    QVERIFY2(GameFileList::fromJson(listFile.readAll(), &list, &error), qPrintable(error));
    QVERIFY(!list.entries.isEmpty());
    for (const GameFileList::Entry &entry : list.entries) {
        QFile file(path("v2/") + entry.path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(entry.path));
        const QByteArray bytes = file.readAll();
        QCOMPARE(entry.size, qint64(bytes.size()));
        QCOMPARE(entry.sha256, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
}

void TestPublisher::differencePackageHoldsWhatChanged_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");
    QTest::newRow("content") << "data/a.txt" << QByteArray("a3") << false;
    // The launcher installs the bit from the package: without it the game does not start.
    QTest::newRow("executable bit only") << "Readme.txt" << QByteArray("read me") << true;
}

void TestPublisher::differencePackageHoldsWhatChanged()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_');
    const QString changed = path("changed_" + tag);
    QVERIFY(QDir(changed).removeRecursively());
    QVERIFY(writeTree(changed, {{"Kestrava", "#!/bin/sh\n"},
                                {"data/a.txt", "a1"},
                                {"data/gone.txt", "old"},
                                {"Readme.txt", "read me"}}));
    QVERIFY(writeFile(changed + "/Kestrava", "#!/bin/sh\n", true));
    QVERIFY(writeFile(changed + '/' + file, content, executable));

    const QString site = path("diff_" + tag);
    const Run run = runTool(gameArguments(site, {"1.0.0=v1", "1.0.1=changed_" + tag}));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QString unpacked = path("unpacked_" + tag);
    QProcess sevenZip;
    sevenZip.start("7z", {"x", "-bd", "-y", "-o" + unpacked, site + "/game/Orv_1.0.0_1.0.1.7z"});
    QVERIFY(sevenZip.waitForFinished(60000));
    QCOMPARE(sevenZip.exitCode(), 0);
    // The deletion list is always there, empty here.
    QCOMPARE(QStringList(listing(unpacked).keys()).join(QLatin1Char(' ')),
             file + QStringLiteral(" deletefiles.txt"));
}

QByteArray TestPublisher::get(const QString &path, const QByteArray &range, int *status,
                              QByteArray *contentRange)
{
    QNetworkRequest request(QUrl(m_base + path));
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    QNetworkReply *reply = m_network.get(request);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!finished.wait(10000))
        return "<no answer>";
    if (status)
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (contentRange)
        *contentRange = reply->rawHeader("Content-Range");
    reply->deleteLater();
    return reply->readAll();
}

void TestPublisher::serverAnswersAsTheStaticRulesDo()
{
    const QString site = path("served");
    QVERIFY(writeFile(path("launcher/launcher"), "#!/bin/sh\n", true));
    QVERIFY(writeFile(path("launcher/launcher-version.txt"), "2.4.0.0\n"));
    const QStringList launcherArguments{
        "launcher",           "--site",    site,      "--base-url",
        "http://127.0.0.1:9", "--version", "2.4.0.0", path("launcher")};
    Run run = runTool(launcherArguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    run = runTool(gameArguments(site, {"1.0.0=v1", "1.0.1=v2"}));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // The game release kept the launcher release.
    QVERIFY(QFileInfo::exists(site + "/launcher/launcher_2.4.0.0.7z"));

    const QString log = path("reports.log");
    SiteServer server(site, log);
    QString error;
    QVERIFY2(server.listen(0, &error), qPrintable(error));
    m_base = QStringLiteral("http://127.0.0.1:%1").arg(server.port());

    const QString release = "/pelorin/marduvel/api/getLatestRelease";
    auto hasUpdate = [&](const QString &query) {
        return QJsonDocument::fromJson(get(release + query))["data"]["has_update"].toString();
    };
    QCOMPARE(hasUpdate("?app_id=100638&channel=official&app_version=2.3.3.0"),
             QStringLiteral("true"));
    QCOMPARE(hasUpdate("?app_id=100638&channel=official&app_version=2.4.0.0"),
             QStringLiteral("false"));

    QFile package(site + "/game/Orv_1.0.1.7z");
    QVERIFY(package.open(QIODevice::ReadOnly));
    const QByteArray whole = package.readAll();
    int status = 0;
    QByteArray contentRange;
    QCOMPARE(get("/game/Orv_1.0.1.7z", "bytes=10-", &status, &contentRange), whole.mid(10));
    QCOMPARE(status, 206);
    QCOMPARE(contentRange, "bytes 10-" + QByteArray::number(whole.size() - 1) + '/' +
                               QByteArray::number(whole.size()));
    QCOMPARE(get("/game/Orv_1.0.1.7z", {}, &status), whole);
    QCOMPARE(status, 200);
    get("/../outside.txt", {}, &status);
    QCOMPARE(status, 404);

    get("/client_report?action=LAUNCHER_NETWORK_ERROR&cts=2026-12-07%2012:00:00.000&"
        "extMsg=url:http://a/b?c;statusCode:404;",
        {}, &status);
    QCOMPARE(status, 200);
    QFile reports(log);
    QVERIFY(reports.open(QIODevice::ReadOnly));
    const QJsonObject report = QJsonDocument::fromJson(reports.readLine()).object();
    QCOMPARE(report["action"].toString(), QStringLiteral("LAUNCHER_NETWORK_ERROR"));
    QCOMPARE(report["cts"].toString(), QStringLiteral("2026-12-07 12:00:00.000"));
    QCOMPARE(report["extMsg"]["url"].toString(), QStringLiteral("http://a/b?c"));
    QCOMPARE(report["extMsg"]["statusCode"].toString(), QStringLiteral("404"));
}

QString TestPublisher::fileOf(const QString &site, const QString &relative) const
{
    QFile file(site + '/' + relative);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void TestPublisher::launcherFolderIsRefused_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("message");
    // The updater copies the package over every player's launcher folder.
    QTest::newRow("the player's config.ini")
        << QStringList{"launcher-version.txt=2.4.0.0", "config.ini=[General]"}
        << "config.ini: the player's launcher settings";
    QTest::newRow("no version record")
        << QStringList{} << "no launcher-version.txt; give the shipped folder";
    QTest::newRow("built as another version") << QStringList{"launcher-version.txt=2.3.3.0\n"}
                                              << "holds a launcher built as 2.3.3.0, not 2.4.0.0";
    QTest::newRow("a game installed beside the launcher")
        << QStringList{"launcher-version.txt=2.4.0.0",
                       "Orvyndale Game/config.ini=[General]\ngame_version=1.0.0",
                       "Orvyndale Game/Kestrava=game"}
        << "holds a game install";
}

void TestPublisher::launcherFolderIsRefused()
{
    QFETCH(QStringList, files);
    QFETCH(QString, message);
    const QString folder = path(QStringLiteral("refused/%1").arg(QTest::currentDataTag()));
    QVERIFY(writeFile(folder + "/launcher", "#!/bin/sh\n", true));
    for (const QString &file : files)
        QVERIFY(writeFile(folder + '/' + file.section('=', 0, 0), file.section('=', 1).toUtf8()));
    const QString site = path("refused/site");
    const Run run = runTool({"launcher", "--site", site, "--base-url", "http://127.0.0.1:9",
                             "--version", "2.4.0.0", folder});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(site));
}

// Each row runs the tool on a fresh site, row by row, and checks the site after the last run.
// A run is "ARGS..." with VERSION=FOLDER arguments relative to the test folder; "!" in front
// expects it to fail with the message in the next column.
void TestPublisher::siteKeepsItsHistory_data()
{
    QTest::addColumn<QList<QStringList>>("runs");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("expected"); // "file=text in it" or "-file" (absent)
    QTest::addColumn<QString>("live");         // the folder the live version is made of

    QTest::newRow("a run needs only the new version")
        << QList<QStringList>{{"1.0.0=v1"}, {"1.0.1=v2"}} << QString()
        << QStringList{"game/Orv_1.0.0_1.0.1.7z=", "game/Orv_1.0.1.7z="} << "v2";
    QTest::newRow("rollback restores the older content as a new version")
        << QList<QStringList>{{"1.0.0=v1"},
                              {"1.0.1=v2"},
                              {"rollback", "--to", "1.0.0", "--version", "1.0.2"}}
        << QString()
        << QStringList{"zt7q_cn/xsk/launcher/api/resource=\"version\": \"1.0.2\"",
                       "game/Orv_1.0.0_1.0.2.7z=", "game/Orv_1.0.1_1.0.2.7z="}
        << "v1";
    QTest::newRow("a site without the old file lists keeps its difference packages")
        << QList<QStringList>{{"1.0.0=v1", "1.0.1=v2"}, {"--forget"}, {"1.0.2=v1"}}
        << "players on 1.0.0, 1.0.1 would lose their difference packages" << QStringList{}
        << QString();
    QTest::newRow("old folders given make them again")
        << QList<QStringList>{{"1.0.0=v1", "1.0.1=v2"},
                              {"--forget"},
                              {"1.0.0=v1", "1.0.1=v2", "1.0.2=changed"}}
        << QString() << QStringList{"game/Orv_1.0.0_1.0.2.7z=", "game/Orv_1.0.1_1.0.2.7z="}
        << "changed";
    QTest::newRow("--force drops them")
        << QList<QStringList>{{"1.0.0=v1", "1.0.1=v2"}, {"--forget"}, {"--force", "1.0.2=v1"}}
        << QString()
        << QStringList{"-game/Orv_1.0.0_1.0.2.7z", "-game/Orv_1.0.1_1.0.2.7z", "game/Orv_1.0.2.7z="}
        << "v1";
    QTest::newRow("--force replaces a version's content")
        << QList<QStringList>{{"1.0.0=v1"}, {"1.0.1=v2"}, {"--force", "1.0.1=changed"}} << QString()
        << QStringList{"game/Orv_1.0.0_1.0.1.7z="} << "changed";
    QTest::newRow("dry run changes nothing")
        << QList<QStringList>{{"1.0.0=v1"}, {"--dry-run", "1.0.1=v2"}} << QString()
        << QStringList{"-game/Orv_1.0.1.7z", "game/Orv_1.0.0.7z="} << "v1";
    QTest::newRow("paths with trailing slashes")
        << QList<QStringList>{{"1.0.0=v1/"}, {"--site-slash", "1.0.1=v2//"}} << QString()
        << QStringList{"game/Orv_1.0.0_1.0.1.7z=", "game/Orv_1.0.1.7z="} << "v2";
    QTest::newRow("a linked site is published into its target")
        << QList<QStringList>{{"1.0.0=v1"}, {"--link", "1.0.1=v2"}} << QString()
        << QStringList{"game/Orv_1.0.1.7z=", "web/18/en-us=news"} << "v2";
    QTest::newRow("names with leading spaces") << QList<QStringList>{{"1.0.0=spaced"}} << QString()
                                               << QStringList{"game/Orv_1.0.0.7z="} << "spaced";
}

void TestPublisher::siteKeepsItsHistory()
{
    QFETCH(QList<QStringList>, runs);
    QFETCH(QString, failure);
    QFETCH(QStringList, expected);
    QFETCH(QString, live);
    const QString row = QString(QTest::currentDataTag()).replace(' ', '_');
    const QString target = path("history/" + row + "/site");
    QString site = target;
    QVERIFY(writeFile(path("spaced/Kestrava"), "#!/bin/sh\n", true));
    QVERIFY(writeFile(path("spaced/ leading space.txt"), "a"));
    QVERIFY(writeFile(path("spaced/ data/ lead.dat"), "b"));
    Run run;
    for (QStringList arguments : runs) {
        if (arguments.first() == "--forget") {
            // A site published before it kept its own history.
            QVERIFY(QDir(target + "/.publish").removeRecursively());
            continue;
        }
        if (arguments.first() == "--link") {
            arguments.removeFirst();
            QVERIFY(writeFile(target + "/web/18/en-us", "news"));
            site = path("history/" + row + "/live");
            QVERIFY(QFile::link(target, site));
        }
        if (arguments.first() == "--site-slash") {
            arguments.removeFirst();
            site = target + "//";
        }
        QStringList options;
        while (arguments.first().startsWith("--"))
            options << arguments.takeFirst();
        if (arguments.first() == "rollback") {
            run =
                runTool(QStringList{"rollback", "--site", site, "--base-url", "http://127.0.0.1:9",
                                    "--name", "Orv", "--entry", "Kestrava"} +
                        arguments.mid(1));
        } else {
            QStringList all = gameArguments(site, arguments) + options;
            run = runTool(all);
        }
        if (run.exitCode != 0)
            break;
    }
    if (!failure.isEmpty()) {
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(failure), qPrintable(run.err));
        return;
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    if (site != target && !site.endsWith('/'))
        QVERIFY(QFileInfo(site).isSymLink());
    for (const QString &item : expected) {
        if (item.startsWith('-')) {
            QVERIFY2(!QFileInfo::exists(target + '/' + item.mid(1)), qPrintable(item));
            continue;
        }
        const QString file = item.section('=', 0, 0);
        QVERIFY2(QFileInfo::exists(target + '/' + file), qPrintable(file));
        QVERIFY2(fileOf(target, file).contains(item.section('=', 1)), qPrintable(item));
    }
    // Every package the resource answer names unpacks to exactly its version: the full package
    // to the version's folder, a difference package over the older version to the newer.
    const QJsonObject game =
        QJsonDocument::fromJson(
            fileOf(target, "zt7q_cn/xsk/launcher/api/resource").toUtf8())["data"]["game"]
            .toObject();
    const QString version = game["latest"]["version"].toString();
    const QMap<QString, QString> content{{"1.0.0", "v1"}, {"1.0.1", "v2"}};
    QVERIFY(unpacksTo(target + "/game/" + game["latest"]["name"].toString(), {}, path(live)));
    for (const QJsonValue &diff : game["diffs"].toArray()) {
        const QString from = diff["version"].toString();
        QVERIFY2(unpacksTo(target + "/game/" + diff["name"].toString(), path(content.value(from)),
                           path(live)),
                 qPrintable(diff["name"].toString()));
    }
    // The per-file store beside it holds the live version too, whichever way it was made.
    GameFileList list;
    QString error;
    QVERIFY2(
        GameFileList::fromJson(
            fileOf(target, "game/" + QUrl(game["latest"]["files"]["path"].toString()).fileName())
                .toUtf8(),
            &list, &error),
        qPrintable(error));
    QCOMPARE(list.store.name, QStringLiteral("Orv_%1.store").arg(version));
    QFile store(target + "/game/" + list.store.name);
    QVERIFY(store.open(QIODevice::ReadOnly));
    QCOMPARE(store.size(), list.store.size);
    for (const GameFileList::Entry &entry : qAsConst(list.entries)) {
        QByteArray content;
        QVERIFY(store.seek(entry.objectOffset));
        QVERIFY2(FileStore::decode(entry, store.read(entry.objectLength), &content, &error),
                 qPrintable(error));
        QFile file(path(live) + '/' + entry.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll() == content, qPrintable(entry.path));
        QCOMPARE(entry.executable, file.permissions().testFlag(QFileDevice::ExeOwner));
    }
    // What a run tells of the site.
    const Run status = runTool({"status", "--site", site});
    QVERIFY2(status.exitCode == 0, qPrintable(status.err));
    QVERIFY2(status.out.contains("game " + version + ": game/" + game["latest"]["name"].toString() +
                                 ", "),
             qPrintable(status.out));
    QVERIFY2(status.out.contains("unsigned"), qPrintable(status.out));
}

bool TestPublisher::unpacksTo(const QString &package, const QString &over, const QString &expected)
{
    // The launcher's way: unpack over the installed copy, then work through the deletion list.
    QTemporaryDir install;
    if (!over.isEmpty() && QProcess::execute("cp", {"-a", over + "/.", install.path()}) != 0)
        return false;
    if (QProcess::execute("7z", {"x", "-y", "-bso0", "-bsp0", "-o" + install.path(), package}) != 0)
        return false;
    PostExtractionSteps::applyDeletionList(install.path());
    const QMap<QString, QByteArray> got = listing(install.path());
    const QMap<QString, QByteArray> want = listing(expected);
    if (got != want) {
        qWarning() << package << "unpacks to" << got.keys() << "not" << want.keys();
        return false;
    }
    return true;
}

void TestPublisher::retiredPackagesStayForTheGracePeriod_data()
{
    QTest::addColumn<QStringList>("grace");
    QTest::addColumn<bool>("stays");
    QTest::newRow("defaults") << QStringList{} << true;
    QTest::newRow("no later run to wait for, but hours")
        << QStringList{"--grace-runs", "0"} << true;
    QTest::newRow("no grace") << QStringList{"--grace-runs", "0", "--grace-hours", "0"} << false;
}

void TestPublisher::retiredPackagesStayForTheGracePeriod()
{
    QFETCH(QStringList, grace);
    QFETCH(bool, stays);
    const QString site = path("grace/" + QString(QTest::currentDataTag()).replace(' ', '_'));
    for (const QString &version : QStringList{"1.0.0=v1", "1.0.1=v2", "1.0.2=v1"}) {
        const Run run = runTool(gameArguments(site, {version}) + grace);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        // The package a player of 1.0.0 may be downloading survives the release that retires it.
        if (version.startsWith("1.0.1"))
            QVERIFY(QFileInfo::exists(site + "/game/Orv_1.0.0.7z"));
    }
    QCOMPARE(QFileInfo::exists(site + "/game/Orv_1.0.0.7z"), stays);
    QVERIFY(QFileInfo::exists(site + "/game/Orv_1.0.2.7z"));
}

void TestPublisher::concurrentRunWaitsForTheLock()
{
    const QString site = path("locked-site");
    QVERIFY(QDir().mkpath(site));
    QFile lock(path(".locked-site.lock"));
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QCOMPARE(flock(lock.handle(), LOCK_EX | LOCK_NB), 0);
    Run run = runTool(gameArguments(site, {"1.0.0=v1"}) + QStringList{"--lock-wait", "1"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("another run has been publishing into this site"),
             qPrintable(run.err));
    QVERIFY(QDir(site).isEmpty());
    flock(lock.handle(), LOCK_UN);
    run = runTool(gameArguments(site, {"1.0.0=v1"}) + QStringList{"--lock-wait", "1"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
}

void TestPublisher::stoppedRunLeavesNothingBehind()
{
    // Big enough that 7z is still packing when the signal comes.
    const QString big = path("big");
    QVERIFY(writeFile(big + "/Kestrava", "#!/bin/sh\n", true));
    QVERIFY(QDir().mkpath(big + "/data"));
    QFile noise(big + "/data/noise.bin");
    QVERIFY(noise.open(QIODevice::WriteOnly));
    QRandomGenerator random(7);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (int i = 0; i < 64; ++i) {
        random.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        noise.write(block);
    }
    noise.close();
    const QString parent = path("stopped");
    QVERIFY(QDir().mkpath(parent));
    QProcess tool;
    tool.start(QStringLiteral(PUBLISH_BIN), gameArguments(parent + "/site", {"1.0.0=big"}));
    QVERIFY(tool.waitForStarted());
    // Wait until the package is being written in the staging folder.
    auto packing = [&] {
        const QStringList stages =
            QDir(parent).entryList({".site.staging-*"}, QDir::Dirs | QDir::Hidden);
        return !stages.isEmpty() &&
               QFileInfo::exists(parent + '/' + stages.first() + "/game/Orv_1.0.0.7z");
    };
    QTRY_VERIFY_WITH_TIMEOUT(packing(), 30000);
    tool.terminate();
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 128 + SIGTERM);
    QCOMPARE(QDir(parent).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{".site.lock"});
    // No 7z left packing into the removed folder.
    for (const QString &pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (cmdline.open(QIODevice::ReadOnly))
            QVERIFY2(!cmdline.readAll().contains(parent.toUtf8()), qPrintable(pid));
    }
}

void TestPublisher::serverEndsOnASignal()
{
    // Only publishing runs clean up on a signal; a local server must still stop when asked.
    QVERIFY(QDir().mkpath(path("served")));
    QProcess server;
    server.start(QStringLiteral(PUBLISH_BIN),
                 {"serve", "--site", path("served"), "--port-file", path("served.port")});
    QVERIFY(server.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(path("served.port")), 30000);
    server.terminate();
    QVERIFY(server.waitForFinished(10000));
    QCOMPARE(server.exitStatus(), QProcess::CrashExit);
}

QTEST_GUILESS_MAIN(TestPublisher)
#include "tst_publisher.moc"
