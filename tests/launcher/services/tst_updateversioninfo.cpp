#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include "httprequestapi.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "updateversioninfo.h"
#include "versioncompare.h"

namespace {

const char kResource[] = R"({
  "code": 0,
  "data": {
    "game": {
      "latest": {"name": "game_1.4.0.7z", "version": "1.4.0", "path": "%PKG%",
                 "size": "52428800", "md5": "0123456789abcdef0123456789abcdef",
                 "entry": "Kestrava.exe"},
      "diffs": [
        {"name": "d130.7z", "version": "1.3.0", "path": "http://cdn.example/d130.7z",
         "size": "3000000000", "md5": "aaaa"},
        {"name": "d120.7z", "version": "1.2.0", "path": "http://cdn.example/d120.7z",
         "size": "1024", "md5": "bbbb"}
      ]
    },
    "plugin": {"plugins": [{"path": "http://cdn.example/p1.7z", "md5": "cccc"}]},
    "web_url": "http://web.example/page",
    "force_update": {"min_version": "2.4.0", "url": "http://get.example/launcher"}
  }
})";

QByteArray resourceAnswer(const QString &packageUrl = QStringLiteral("http://cdn.example/full.7z"))
{
    return QByteArray(kResource).replace("%PKG%", packageUrl.toUtf8());
}

} // namespace

// The manifest as the resource and content services send it, including answers that are
// broken in the ways a misconfigured or overloaded service breaks them.
class TestUpdateVersionInfo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void resourceAnswerOverHttpFillsManifest();
    void lookupsFallBackToFullPackage();
    void malformedAnswersChangeNothing();
    void wrongTypesAndMissingKeysReadAsEmpty();
    void hugeAndInvalidSizes();
    void laterAnswersKeepWebUrlAndAccumulateDiffs();
    void zeroSizeAsksPackageServerOnce();
    void staleSizeAnswerDoesNotOverwriteNewerManifest();
    void contentAnswerSetsOnlyPresentKeys();
    void versionComparison_data();
    void versionComparison();
    void fileNamesOfUrls();
    void queryUrls();

private:
    QTemporaryDir m_dir;
    HttpTestServer m_server;
};

void TestUpdateVersionInfo::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    // Failed requests report; keep the configuration they read out of the build tree.
    LauncherConfig::setInstanceFilePath(m_dir.filePath("config.ini"));
    LauncherConfig::instance()->writeString(QStringLiteral("report_url"), m_server.baseUrl(),
                                            QStringLiteral("services"));
    m_server.serveData("/client_report", "{}");
}

void TestUpdateVersionInfo::resourceAnswerOverHttpFillsManifest()
{
    m_server.serveData("/zt7q_cn/xsk/launcher/api/resource", resourceAnswer(), "application/json");
    HttpRequestAPI api;
    api.setRawHeader("content-type", "application/json");
    QByteArray body;
    int status = 0;
    api.get(UpdateVersionInfo::resourceQueryUrl(m_server.baseUrl() + "/zt7q_cn").toString(),
            [&](bool ok, const QByteArray &b, const QString &, int s) {
                body = ok ? b : QByteArray("failed");
                status = s;
            });
    QTRY_COMPARE(status, 200);

    UpdateVersionInfo info;
    QString error;
    QVERIFY2(info.parseResourceResponse(body, &error), qPrintable(error));
    QCOMPARE(info.version(), QStringLiteral("1.4.0"));
    QCOMPARE(info.path(), QStringLiteral("http://cdn.example/full.7z"));
    QCOMPARE(info.name(), QStringLiteral("game_1.4.0.7z"));
    QCOMPARE(info.md5(), QStringLiteral("0123456789abcdef0123456789abcdef"));
    QCOMPARE(info.size(), qint64(52428800));
    QCOMPARE(info.entry(), QStringLiteral("Kestrava.exe"));
    QCOMPARE(info.webUrl(), QStringLiteral("http://web.example/page"));
    QCOMPARE(info.minVersion(), QStringLiteral("2.4.0"));
    QCOMPARE(info.forceUpdateUrl(), QStringLiteral("http://get.example/launcher"));
    QCOMPARE(info.diffs().size(), 2);
    QCOMPARE(info.diffs().value("1.2.0").name, QStringLiteral("d120.7z"));
    QCOMPARE(info.plugins().size(), 1);
    QCOMPARE(info.plugins().first().toMap().value("md5").toString(), QStringLiteral("cccc"));
    // The launcher is too old for this manifest.
    QCOMPARE(compareVersion(QStringLiteral("2.3.3.0"), info.minVersion()), 1);
}

void TestUpdateVersionInfo::lookupsFallBackToFullPackage()
{
    UpdateVersionInfo info;
    QVERIFY(info.parseResourceResponse(resourceAnswer()));
    QCOMPARE(info.packageUrl("1.3.0"), QUrl("http://cdn.example/d130.7z"));
    QCOMPARE(info.packageMd5("1.3.0"), QStringLiteral("aaaa"));
    QCOMPARE(info.packageSize("1.3.0"), qint64(3000000000LL));
    QCOMPARE(info.packageSize("1.2.0"), qint64(1024));
    const QStringList withoutDiff{QString(), QStringLiteral("0.9.0"), QStringLiteral("1.4.0")};
    for (const QString &from : withoutDiff) {
        QCOMPARE(info.packageUrl(from), QUrl("http://cdn.example/full.7z"));
        QCOMPARE(info.packageMd5(from), QStringLiteral("0123456789abcdef0123456789abcdef"));
        QCOMPARE(info.packageSize(from), qint64(52428800));
    }
}

void TestUpdateVersionInfo::malformedAnswersChangeNothing()
{
    UpdateVersionInfo info;
    QVERIFY(info.parseResourceResponse(resourceAnswer()));
    const QByteArray answer1 = R"({"data":{"adv":{"background":"http://a/bg.png"}}})";
    QVERIFY(info.parseContentResponse(answer1));

    const QList<QByteArray> broken = {
        "",
        "<html>502 Bad Gateway</html>",
        R"({"data": {"game": )",
        R"([1, 2, 3])",
        R"("just a string")",
        R"({"code": 500, "msg": "server busy"})",
        R"({"data": [ {"game": {}} ]})",
        R"({"data": null})",
    };
    for (const QByteArray &body : broken) {
        QString error;
        QVERIFY2(!info.parseResourceResponse(body, &error), body.constData());
        QVERIFY(!error.isEmpty());
        QVERIFY2(!info.parseContentResponse(body, &error), body.constData());
    }
    QCOMPARE(info.version(), QStringLiteral("1.4.0"));
    QCOMPARE(info.path(), QStringLiteral("http://cdn.example/full.7z"));
    QCOMPARE(info.size(), qint64(52428800));
    QCOMPARE(info.diffs().size(), 2);
    QCOMPARE(info.plugins().size(), 1);
    QCOMPARE(info.minVersion(), QStringLiteral("2.4.0"));
    QCOMPARE(info.background(), QStringLiteral("http://a/bg.png"));
}

void TestUpdateVersionInfo::wrongTypesAndMissingKeysReadAsEmpty()
{
    UpdateVersionInfo info;
    QVERIFY(info.parseResourceResponse(resourceAnswer()));

    // Objects where arrays belong and the reverse, numbers where strings are read.
    const QByteArray body1 = R"({"data": {
        "game": {"latest": ["1.5.0"], "diffs": {"version": "1.1.0"}},
        "plugin": [1, 2],
        "force_update": "soon"
    }})";
    QVERIFY(info.parseResourceResponse(body1));
    QCOMPARE(info.version(), QString());
    QCOMPARE(info.path(), QString());
    QCOMPARE(info.size(), qint64(0));
    QCOMPARE(info.diffs().size(), 2); // earlier entries stay, the object adds none
    QVERIFY(info.plugins().isEmpty());
    // force_update is present but not an object: both values read as empty.
    QCOMPARE(info.minVersion(), QString());
    QCOMPARE(compareVersion(QStringLiteral("2.3.3.0"), info.minVersion()), -2);

    // A diff entry of numbers is kept with empty strings, and under the empty version it is
    // never chosen over the full package.
    const QByteArray body2 = R"({"data": {"game": {
        "latest": {"version": "1.6.0", "path": "http://cdn.example/f16.7z", "size": 10},
        "diffs": [{"name": 1, "version": 1.5, "path": 2, "size": 3000000000, "md5": 4},
                  "not an object", null]
    }}})";
    QVERIFY(info.parseResourceResponse(body2));
    QCOMPARE(info.version(), QStringLiteral("1.6.0"));
    QVERIFY(info.diffs().contains(QString()));
    const DiffPackageInfo numeric = info.diffs().value(QString());
    QVERIFY(numeric.name.isEmpty() && numeric.path.isEmpty() && numeric.size.isEmpty() &&
            numeric.md5.isEmpty());
    QCOMPARE(info.packageUrl(QString()), QUrl("http://cdn.example/f16.7z"));
    QCOMPARE(info.packageSize(QString()), qint64(10));
    QCOMPARE(info.diffs().size(), 3);

    // A resource answer without force_update keeps the previous minimum.
    const QByteArray answer2 =
        R"({"data": {"force_update": {"min_version": "2.0", "url": "http://u"}}})";
    QVERIFY(info.parseResourceResponse(answer2));
    const QByteArray answer3 = R"({"data": {}})";
    QVERIFY(info.parseResourceResponse(answer3));
    QCOMPARE(info.minVersion(), QStringLiteral("2.0"));
    QCOMPARE(info.forceUpdateUrl(), QStringLiteral("http://u"));
}

void TestUpdateVersionInfo::hugeAndInvalidSizes()
{
    struct Case
    {
        const char *size;
        qint64 expected;
    };
    const Case cases[] = {
        {"3000000000", 3000000000LL},
        {"\"3000000000\"", 3000000000LL},
        {"\"9000000000000000000\"", 9000000000000000000LL},
        {"\"99999999999999999999\"", 0},
        {"1e300", 0},
        {"-5", 0},
        {"\"-5\"", 0},
        {"\"12abc\"", 0},
        {"true", 0},
        {"null", 0},
    };
    for (const Case &c : cases) {
        UpdateVersionInfo info;
        const QByteArray body = QByteArray(R"({"data":{"game":{"latest":{"size":)") + c.size +
                                R"(},"diffs":[{"version":"1.0","size":)" + c.size + "}]}}}";
        QVERIFY2(info.parseResourceResponse(body), body.constData());
        QVERIFY2(info.size() == c.expected, c.size);
        // Diff sizes are read only from text.
        if (c.size[0] == '"')
            QVERIFY2(info.packageSize("1.0") == c.expected, c.size);
        else
            QVERIFY2(info.packageSize("1.0") == 0, c.size);
    }
}

void TestUpdateVersionInfo::laterAnswersKeepWebUrlAndAccumulateDiffs()
{
    UpdateVersionInfo info;
    QVERIFY(info.parseResourceResponse(resourceAnswer()));
    const QByteArray body3 = R"({"data": {
        "web_url": "http://other.example/",
        "game": {"latest": {"version": "1.5.0", "path": "http://cdn.example/f15.7z", "size": 1},
                 "diffs": [{"version": "1.3.0", "path": "http://cdn.example/d130b.7z",
                            "size": "7", "md5": "dddd", "name": "d130b.7z"},
                           {"version": "1.4.0", "path": "http://cdn.example/d140.7z",
                            "size": "8", "md5": "eeee", "name": "d140.7z"}]},
        "plugin": {"plugins": []}
    }})";
    QVERIFY(info.parseResourceResponse(body3));
    QCOMPARE(info.webUrl(), QStringLiteral("http://web.example/page"));
    QCOMPARE(info.version(), QStringLiteral("1.5.0"));
    QCOMPARE(info.diffs().size(), 3);
    QCOMPARE(info.packageUrl("1.3.0"), QUrl("http://cdn.example/d130b.7z"));
    QCOMPARE(info.packageUrl("1.2.0"), QUrl("http://cdn.example/d120.7z"));
    QCOMPARE(info.packageMd5("1.4.0"), QStringLiteral("eeee"));
    QVERIFY(info.plugins().isEmpty());

    // An empty web_url is "not set yet": the first non-empty one still wins.
    UpdateVersionInfo fresh;
    const QByteArray answer4 = R"({"data": {"web_url": ""}})";
    QVERIFY(fresh.parseResourceResponse(answer4));
    const QByteArray answer5 = R"({"data": {"web_url": "http://late.example/"}})";
    QVERIFY(fresh.parseResourceResponse(answer5));
    QCOMPARE(fresh.webUrl(), QStringLiteral("http://late.example/"));
}

void TestUpdateVersionInfo::zeroSizeAsksPackageServerOnce()
{
    m_server.clearRequests();
    m_server.serveData("/full.7z", QByteArray(12345, 'p'), "application/octet-stream", 206);
    UpdateVersionInfo info;
    QVERIFY(
        info.parseResourceResponse(QByteArray(resourceAnswer(m_server.url("/full.7z").toString()))
                                       .replace("\"52428800\"", "0")));
    QTRY_COMPARE(info.size(), qint64(12345));
    QCOMPARE(info.packageSize(QString()), qint64(12345));
    const QList<HttpTestServer::Request> seen = m_server.requestsFor("/full.7z");
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().method, QByteArray("HEAD"));

    // A failing size request leaves the size at 0.
    m_server.serveData("/gone.7z", "missing", "text/plain", 404);
    UpdateVersionInfo other;
    const QByteArray answer6 = R"({"data":{"game":{"latest":{"size":0,"path":")" +
                               m_server.url("/gone.7z").toEncoded() + R"("}}}})";
    QVERIFY(other.parseResourceResponse(answer6));
    QTRY_COMPARE(m_server.requestCount("/gone.7z"), 1);
    QCOMPARE(other.size(), qint64(0));
}

void TestUpdateVersionInfo::staleSizeAnswerDoesNotOverwriteNewerManifest()
{
    m_server.serveData("/old.7z", QByteArray(5000, 'o'));
    m_server.addFault("/old.7z", HttpTestServer::Fault::neverAnswer(), 1);
    UpdateVersionInfo info;
    const QByteArray answer7 = R"({"data":{"game":{"latest":{"version":"1","size":0,"path":")" +
                               m_server.url("/old.7z").toEncoded() + R"("}}}})";
    QVERIFY(info.parseResourceResponse(answer7));
    QTRY_COMPARE(m_server.requestCount("/old.7z"), 1);

    const QByteArray answer8 =
        R"({"data":{"game":{"latest":{"version":"2","size":777,"path":"http://cdn.example/new.7z"}}}})";
    QVERIFY(info.parseResourceResponse(answer8));
    m_server.releaseHeld();
    // A second manifest that also needs a HEAD proves the event loop ran past the old answer.
    m_server.serveData("/probe.7z", QByteArray(42, 'q'));
    UpdateVersionInfo probe;
    const QByteArray answer9 = R"({"data":{"game":{"latest":{"size":0,"path":")" +
                               m_server.url("/probe.7z").toEncoded() + R"("}}}})";
    QVERIFY(probe.parseResourceResponse(answer9));
    QTRY_COMPARE(probe.size(), qint64(42));
    QCOMPARE(info.size(), qint64(777));
}

void TestUpdateVersionInfo::contentAnswerSetsOnlyPresentKeys()
{
    UpdateVersionInfo info;
    QCOMPARE(info.background(), QStringLiteral(""));
    QVERIFY(!info.background().isNull());
    const QByteArray body4 = R"({"data":{"adv":{
        "background":"http://a/bg.jpg","url":"http://a/promo","icon":"http://a/icon.png"}}})";
    QVERIFY(info.parseContentResponse(body4));
    QCOMPARE(info.background(), QStringLiteral("http://a/bg.jpg"));
    QCOMPARE(info.advUrl(), QStringLiteral("http://a/promo"));
    QCOMPARE(info.icon(), QStringLiteral("http://a/icon.png"));

    const QByteArray answer10 = R"({"data":{"adv":{"icon":""}}})";
    QVERIFY(info.parseContentResponse(answer10));
    QCOMPARE(info.background(), QStringLiteral("http://a/bg.jpg"));
    QCOMPARE(info.advUrl(), QStringLiteral("http://a/promo"));
    QCOMPARE(info.icon(), QString());

    const QByteArray answer11 = R"({"data":{"adv":[1]}})";
    QVERIFY(info.parseContentResponse(answer11));
    QCOMPARE(info.advUrl(), QStringLiteral("http://a/promo"));
}

void TestUpdateVersionInfo::versionComparison_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("older") << "2.3.3.0"
                           << "2.4.0" << 1;
    QTest::newRow("equal") << "2.3.3.0"
                           << "2.3.3.0" << 0;
    QTest::newRow("numeric not textual") << "2.10"
                                         << "2.9" << -1;
    QTest::newRow("not a number") << "2.x"
                                  << "2.1" << -2;
    QTest::newRow("not a number on the right") << "2.1"
                                               << "2.1a" << -2;
    QTest::newRow("prefix compares equal") << "1.2"
                                           << "1.2.1" << 0;
    QTest::newRow("empty minimum") << "2.3.3.0"
                                   << "" << -2;
    QTest::newRow("difference before a bad part") << "1.2.x"
                                                  << "1.3.0" << 1;
    QTest::newRow("leading zeros") << "1.02"
                                   << "1.2" << 0;
    QTest::newRow("beyond 64 bits") << "1.99999999999999999999"
                                    << "1.99999999999999999998" << -1;
    QTest::newRow("sign is not a digit") << "1.+2"
                                         << "1.2" << -2;
    QTest::newRow("empty part") << "1..2"
                                << "1.1.2" << -2;
}

void TestUpdateVersionInfo::versionComparison()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(compareVersion(a, b), expected);
}

void TestUpdateVersionInfo::fileNamesOfUrls()
{
    QCOMPARE(UpdateVersionInfo::fileNameOfUrl("http://h/a/b.7z?x=1"), QStringLiteral("b.7z"));
    QCOMPARE(UpdateVersionInfo::baseNameOfUrl("http://h/a/b.7z"), QStringLiteral("b"));
    QCOMPARE(UpdateVersionInfo::baseNameOfUrl("http://h/a/game.1.2.zip"),
             QStringLiteral("game.1.2"));
    QCOMPARE(UpdateVersionInfo::baseNameOfUrl("http://h/a/.hidden"), QStringLiteral(".hidden"));
    QCOMPARE(UpdateVersionInfo::baseNameOfUrl("http://h/a/noext"), QStringLiteral("noext"));
    QCOMPARE(UpdateVersionInfo::fileNameOfUrl(QString()), QString());
    QCOMPARE(UpdateVersionInfo::fileNameOfUrl("http://h/dir/"), QString());
    // The plug-in's installer is started from this folder: it must be one below the launcher's.
    const QList<QPair<QString, QString>> pluginFolders{
        {"http://h/p/Tool_2.7z", "Tool_2"},
        {"http://h/p/..%5C..%5Cevil.7z", ""},
        {"http://h/p/..", ""},
        {"http://h/p/.%2E.7z", ""},
        {"http://h/p/a:b.7z", ""},
        {"http://h/p/.hidden.7z", ""},
        {"http://h/p/", ""},
    };
    for (const auto &row : pluginFolders)
        QVERIFY2(UpdateVersionInfo::pluginFolderName(row.first) == row.second,
                 qPrintable(row.first));
}

void TestUpdateVersionInfo::queryUrls()
{
    QCOMPARE(
        UpdateVersionInfo::resourceQueryUrl("http://127.0.0.1:8080/zt7q_cn").toString(),
        QStringLiteral("http://127.0.0.1:8080/zt7q_cn/xsk/launcher/api/resource?launcher_id=18"));
    QCOMPARE(UpdateVersionInfo::contentQueryUrl("http://r.example/p/zt7q_cn", "zh-cn").toString(),
             QStringLiteral("http://r.example/p/zt7q_cn/xsk/launcher/api/content"
                            "?filter_adv=true&language=zh-cn&launcher_id=18"));
}

QTEST_GUILESS_MAIN(TestUpdateVersionInfo)
#include "tst_updateversioninfo.moc"
