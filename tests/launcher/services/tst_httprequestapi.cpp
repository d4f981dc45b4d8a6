#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

#include "httprequestapi.h"
#include "httptestserver.h"
#include "launcherconfig.h"

namespace {

struct Call
{
    bool ok;
    QByteArray body;
    QString error;
    int status;
};

// Collects every call of a callback, so a test can tell one call from two.
struct Recorder
{
    QList<Call> calls;
    HttpRequestAPI::Callback callback()
    {
        return [this](bool ok, const QByteArray &body, const QString &error, int status) {
            calls.append({ok, body, error, status});
        };
    }
};

QString decodedQueryValue(const HttpTestServer::Request &request, const QString &key)
{
    return QUrlQuery(request.query).queryItemValue(key, QUrl::FullyDecoded);
}

} // namespace

// The GET client against a real loopback server; its reports go to a second server that
// stands in for the telemetry service.
class TestHttpRequestAPI : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void successDeliversWholeBodyOnceAndKeepsHeaders();
    void errorStatusAndRefusedConnectionAreFailuresAndReported();
    void callbackMayStartTheNextRequest();
    void silentServerTimesOutOnceAndLateReplyReachesNobody();
    void oversizeAnswerIsCutOffWithItsCode_data();
    void oversizeAnswerIsCutOffWithItsCode();

private:
    QTemporaryDir m_dir;
    HttpTestServer m_api;
    HttpTestServer m_reports;
};

void TestHttpRequestAPI::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_api.listen());
    QVERIFY(m_reports.listen());
    m_reports.serveData("/client_report", "{}", "application/json");
    LauncherConfig::setInstanceFilePath(m_dir.filePath("config.ini"));
    LauncherConfig::instance()->writeString(QStringLiteral("report_url"), m_reports.baseUrl(),
                                            QStringLiteral("services"));
}

void TestHttpRequestAPI::init()
{
    m_api.clearRequests();
    m_api.clearFaults();
    m_reports.clearRequests();
}

void TestHttpRequestAPI::successDeliversWholeBodyOnceAndKeepsHeaders()
{
    QByteArray body(512 * 1024, 'x');
    body.prepend("{\"data\":");
    m_api.serveData("/api/resource", body, "application/json");

    HttpRequestAPI api;
    api.setRawHeader("content-type", "application/json");
    Recorder rec;
    api.get(m_api.url("/api/resource?launcher_id=18").toString(), rec.callback());
    QTRY_COMPARE(rec.calls.size(), 1);
    QVERIFY(rec.calls[0].ok);
    QCOMPARE(rec.calls[0].status, 200);
    QCOMPARE(rec.calls[0].body, body);
    QVERIFY(rec.calls[0].error.isEmpty());

    // The second request carries the header set once before the first.
    api.get(m_api.url("/api/resource").toString(), rec.callback());
    QTRY_COMPARE(rec.calls.size(), 2);
    QVERIFY(rec.calls[1].ok);

    const QList<HttpTestServer::Request> seen = m_api.requestsFor("/api/resource");
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0].header("content-type"), QByteArray("application/json"));
    QCOMPARE(seen[1].header("content-type"), QByteArray("application/json"));
    QCOMPARE(seen[0].query, QStringLiteral("launcher_id=18"));
    QCOMPARE(m_reports.requestCount(), 0);
    QCOMPARE(rec.calls.size(), 2);
}

void TestHttpRequestAPI::errorStatusAndRefusedConnectionAreFailuresAndReported()
{
    m_api.serveData("/broken", "oops", "text/plain", 500);

    HttpRequestAPI api;
    Recorder rec;
    api.get(m_api.url("/broken").toString(), rec.callback());
    QTRY_COMPARE(rec.calls.size(), 1);
    QVERIFY(!rec.calls[0].ok);
    QCOMPARE(rec.calls[0].status, 500);
    QVERIFY(rec.calls[0].body.isEmpty());
    QVERIFY(!rec.calls[0].error.isEmpty());
    QTRY_COMPARE(m_reports.requestCount(), 1);
    const HttpTestServer::Request report = m_reports.requests().first();
    QCOMPARE(decodedQueryValue(report, "action"), QStringLiteral("LAUNCHER_NETWORK_ERROR"));
    QCOMPARE(decodedQueryValue(report, "extMsg"),
             QStringLiteral("errorString:%1;statusCode:500;url:%2;")
                 .arg(rec.calls[0].error, m_api.url("/broken").toString()));

    // A port nobody listens on: refused before any HTTP status exists.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 deadPort = probe.serverPort();
    probe.close();
    const QString deadUrl = QStringLiteral("http://127.0.0.1:%1/x").arg(deadPort);
    api.get(deadUrl, rec.callback());
    QTRY_COMPARE(rec.calls.size(), 2);
    QVERIFY(!rec.calls[1].ok);
    QCOMPARE(rec.calls[1].status, 0);
    QVERIFY(rec.calls[1].body.isEmpty());
    QVERIFY2(rec.calls[1].error.contains("refused", Qt::CaseInsensitive),
             qPrintable(rec.calls[1].error));
    QTRY_COMPARE(m_reports.requestCount(), 2);
    QVERIFY(decodedQueryValue(m_reports.requests().at(1), "extMsg").contains("statusCode:0;"));

    // With reporting off (as the report service's own client has it) nothing is reported.
    HttpRequestAPI quiet;
    quiet.setReport(false);
    quiet.get(deadUrl, rec.callback());
    QTRY_COMPARE(rec.calls.size(), 3);
    QVERIFY(!rec.calls[2].ok);
    QCOMPARE(m_reports.requestCount(), 2);
}

void TestHttpRequestAPI::callbackMayStartTheNextRequest()
{
    // Callers retry from inside the callback, which replaces the very callback that runs.
    m_api.serveData("/retry", "second", "text/plain");
    m_api.addFault("/retry", HttpTestServer::Fault::dropAfter(0), 1);

    HttpRequestAPI api;
    QList<Call> calls;
    const QString url = m_api.url("/retry").toString();
    auto retrying = std::make_shared<HttpRequestAPI::Callback>();
    *retrying = [&calls, &api, url, retrying](bool ok, const QByteArray &body, const QString &error,
                                              int status) {
        calls.append({ok, body, error, status});
        if (!ok && calls.size() < 5)
            api.get(url, *retrying);
    };
    api.get(url, *retrying);
    QTRY_COMPARE(calls.size(), 2);
    QVERIFY(!calls[0].ok);
    QVERIFY(calls[1].ok);
    QCOMPARE(calls[1].body, QByteArray("second"));
    QCOMPARE(m_api.requestCount("/retry"), 2);
    *retrying = nullptr;
}

void TestHttpRequestAPI::silentServerTimesOutOnceAndLateReplyReachesNobody()
{
    m_api.serveData("/slow", "late answer", "text/plain");
    m_api.serveData("/fresh", "fresh answer", "text/plain");
    m_api.addFault("/slow", HttpTestServer::Fault::neverAnswer(), 1);
    m_api.addFault("/fresh", HttpTestServer::Fault::neverAnswer(), 1);

    HttpRequestAPI api;
    Recorder first;
    const QString slowUrl = m_api.url("/slow").toString();
    QElapsedTimer clock;
    clock.start();
    api.get(slowUrl, first.callback());
    QTRY_COMPARE_WITH_TIMEOUT(first.calls.size(), 1, 15000);
    QVERIFY2(clock.elapsed() >= 9900, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!first.calls[0].ok);
    QVERIFY(first.calls[0].body.isEmpty());
    QCOMPARE(first.calls[0].error, QStringLiteral("HTTP_REQUEST_TIMEOUT"));
    QCOMPARE(first.calls[0].status, 638);

    QTRY_COMPARE(m_reports.requestCount(), 1);
    const HttpTestServer::Request report = m_reports.requests().first();
    QCOMPARE(decodedQueryValue(report, "action"), QStringLiteral("LAUNCHER_NETWORK_TIMEOUT"));
    QCOMPARE(decodedQueryValue(report, "extMsg"), QStringLiteral("url:%1;").arg(slowUrl));

    // The retry is outstanding when the server finally answers everything it held: the old
    // request's answer must not be taken for the new one's.
    Recorder second;
    api.get(m_api.url("/fresh").toString(), second.callback());
    QTRY_COMPARE(m_api.requestCount("/fresh"), 1);
    m_api.releaseHeld();
    QTRY_COMPARE(second.calls.size(), 1);
    QVERIFY(second.calls[0].ok);
    QCOMPARE(second.calls[0].body, QByteArray("fresh answer"));

    // One more round trip gives a late answer every chance to arrive and land somewhere.
    Recorder third;
    api.get(m_api.url("/fresh").toString(), third.callback());
    QTRY_COMPARE(third.calls.size(), 1);
    QCOMPARE(third.calls[0].body, QByteArray("fresh answer"));
    QCOMPARE(second.calls.size(), 1);
    QCOMPARE(first.calls.size(), 1);
    QCOMPARE(m_reports.requestCount(), 1);
}

QTEST_GUILESS_MAIN(TestHttpRequestAPI)

void TestHttpRequestAPI::oversizeAnswerIsCutOffWithItsCode_data()
{
    QTest::addColumn<qint64>("limit"); // 0: the default of resource, content and release answers
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("announced"); // a Content-Length is sent
    QTest::addColumn<bool>("accepted");
    const qint64 answer = HttpRequestAPI::kDefaultMaxAnswerBytes;
    // The repair's file list, sized for a game of a few hundred thousand files.
    const qint64 list = qint64(64) << 20;
    QTest::newRow("answer at the limit") << qint64(0) << answer << true << true;
    QTest::newRow("answer one byte over") << qint64(0) << answer + 1 << true << false;
    QTest::newRow("answer over, no length") << qint64(0) << answer + (1 << 20) << false << false;
    QTest::newRow("file list of a big game") << list << qint64(20 << 20) << true << true;
    QTest::newRow("file list over, no length") << list << list + (1 << 20) << false << false;
}

void TestHttpRequestAPI::oversizeAnswerIsCutOffWithItsCode()
{
    QFETCH(qint64, limit);
    QFETCH(qint64, size);
    QFETCH(bool, announced);
    QFETCH(bool, accepted);
    m_api.serveData("/big", QByteArray(int(size), '['), "application/json");
    if (!announced)
        m_api.addFault("/big", HttpTestServer::Fault::noContentLength());
    HttpRequestAPI api;
    api.setReport(false);
    if (limit > 0)
        api.setMaxAnswerBytes(limit);
    Recorder recorder;
    api.get(m_api.url("/big").toString(), recorder.callback());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.calls.size(), 1, 30000);
    const Call call = recorder.calls.first();
    if (accepted) {
        QVERIFY(call.ok);
        QCOMPARE(call.body.size(), int(size));
    } else {
        QVERIFY(!call.ok);
        QVERIFY(call.body.isEmpty());
        QVERIFY2(call.error.startsWith(QStringLiteral("[1031]")), qPrintable(call.error));
    }
    m_api.removeAnswer("/big");
}
#include "tst_httprequestapi.moc"
