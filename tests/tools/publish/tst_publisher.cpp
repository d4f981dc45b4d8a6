// The publisher's program on bad input and on the same input twice, and its local server.
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "../../launcher/config/unprivileged.h"
#include "foldersnapshot.h"
#include "gamefilelist.h"
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

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
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

    m_site = path("out/site");
    const Run run = runTool(gameArguments(m_site, {"1.0.0=v1", "1.0.1=v2"}));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    m_published = listing(m_site);
    // the full and the difference package, the file list, three answers
    QCOMPARE(m_published.size(), 6);
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
    QCOMPARE(listing(m_site), m_published);
    // No staging folder left beside the site either.
    QCOMPARE(QDir(path("out")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"site"});
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
    QCOMPARE(listing(path("same/a")), m_published);
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
    // The player's settings beside the launcher are never part of a release.
    QVERIFY(writeFile(path("launcher/config.ini"), "[General]\n"));
    const QStringList launcherArguments{
        "launcher",           "--site",    site,      "--base-url",
        "http://127.0.0.1:9", "--version", "2.4.0.0", path("launcher")};
    Run refused = runTool(launcherArguments);
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains("config.ini: the player's launcher settings"),
             qPrintable(refused.err));
    QVERIFY(!QFileInfo::exists(site));
    QVERIFY(QFile::remove(path("launcher/config.ini")));
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

QTEST_GUILESS_MAIN(TestPublisher)
#include "tst_publisher.moc"
