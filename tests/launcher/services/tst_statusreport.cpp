#include <QDateTime>
#include <QHostInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include "appenvironment.h"
#include "httptestserver.h"
#include "installtelemetry.h"
#include "launcherconfig.h"
#include "statusreport.h"

namespace {

QStringList g_debugLines;
QtMessageHandler g_previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_debugLines.append(message);
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

QStringList keysOf(const QString &rawQuery)
{
    QStringList keys;
    for (const QString &pair : rawQuery.split(QLatin1Char('&')))
        keys << pair.section(QLatin1Char('='), 0, 0);
    return keys;
}

QString value(const HttpTestServer::Request &request, const QString &key)
{
    return QUrlQuery(request.query).queryItemValue(key, QUrl::FullyDecoded);
}

// How a form decoder of a typical service reads a value: "+" is a space, then %XX escapes.
QString formDecoded(const QString &rawQuery, const QString &key)
{
    for (const QString &pair : rawQuery.split(QLatin1Char('&'))) {
        if (pair.section(QLatin1Char('='), 0, 0) == key) {
            QByteArray raw = pair.section(QLatin1Char('='), 1).toLatin1();
            raw.replace('+', ' ');
            return QUrl::fromPercentEncoding(raw);
        }
    }
    return QString();
}

} // namespace

// Telemetry as the report service receives it: the exact parameter order, the values intact
// after decoding, the facts that stay the same for a run.
class TestStatusReport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void reportWithoutExtraMessageHasFixedOrderAndNoTrailingAmpersand();
    void extraMessageValuesArriveIntact();
    void reportsOfOneRunShareTransactionAndDevice();
    void failedReportIsLoggedButNeverReported();
    void failureGoesOutAsItsStepWithCodeReasonAndVersions_data();
    void failureGoesOutAsItsStepWithCodeReasonAndVersions();
    void cleanupTestCase();

private:
    HttpTestServer::Request sendAndReceive(StatusReport::StatusType type,
                                           const QMap<QString, QString> &ext = {});

    QTemporaryDir m_dir;
    HttpTestServer m_server;
};

void TestStatusReport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    m_server.serveData("/client_report", "{}", "application/json");
    LauncherConfig::setInstanceFilePath(m_dir.filePath("config.ini"));
    LauncherConfig::instance()->writeString(QStringLiteral("report_url"), m_server.baseUrl(),
                                            QStringLiteral("services"));
    AppEnvironment::setCurrentLanguageCode(QStringLiteral("zh-cn"));
    g_previousHandler = qInstallMessageHandler(recordMessage);
}

void TestStatusReport::cleanupTestCase()
{
    qInstallMessageHandler(g_previousHandler);
}

void TestStatusReport::init()
{
    m_server.clearRequests();
    m_server.clearFaults();
    g_debugLines.clear();
}

HttpTestServer::Request TestStatusReport::sendAndReceive(StatusReport::StatusType type,
                                                         const QMap<QString, QString> &ext)
{
    const int before = m_server.requestCount();
    StatusReport::instance()->report(type, ext);
    // An empty request (no method) when nothing arrived; the callers' comparisons then fail.
    if (!QTest::qWaitFor([&] { return m_server.requestCount() > before; }, 10000))
        return {};
    return m_server.requests().last();
}

void TestStatusReport::reportWithoutExtraMessageHasFixedOrderAndNoTrailingAmpersand()
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const HttpTestServer::Request r = sendAndReceive(StatusReport::LAUNCHER_HOME_SHOW);
    QCOMPARE(r.method, QByteArray("GET"));
    QCOMPARE(r.path, QStringLiteral("/client_report"));
    QCOMPARE(r.header("cache-control"), QByteArray("no-cache"));
    const QStringList expected{"action",       "appid",       "channel",        "client_language",
                               "cts",          "device_id",   "device_info",    "device_name",
                               "env",          "gamekey",     "log_time",       "os",
                               "register_cps", "sub_channel", "transaction_no", "version"};
    QCOMPARE(keysOf(r.query), expected);
    QVERIFY(r.query.startsWith("action=LAUNCHER_HOME_SHOW&appid=18&channel=1&client_language="
                               "zh-cn&cts="));
    QVERIFY2(r.query.endsWith("&version=2.3.3.0"), qPrintable(r.query));

    QCOMPARE(value(r, "gamekey"), QStringLiteral("zt7q_cn"));
    QCOMPARE(value(r, "env"),
             AppEnvironment::isMainland() ? QStringLiteral("1") : QStringLiteral("2"));
    QCOMPARE(value(r, "register_cps"), QStringLiteral("velmora"));
    QCOMPARE(value(r, "sub_channel"), QStringLiteral("1"));
    QCOMPARE(value(r, "device_name"), QHostInfo::localHostName());
    QVERIFY(!value(r, "device_id").isEmpty());
    QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$")
                .match(value(r, "cts"))
                .hasMatch());
    QVERIFY(qAbs(value(r, "log_time").toLongLong() - now) <= 5);
    QVERIFY2(QRegularExpression("^\\d{13,}[0-8]{5}$").match(value(r, "transaction_no")).hasMatch(),
             qPrintable(value(r, "transaction_no")));
    const QString os = value(r, "os");
    QVERIFY(os.endsWith(QLatin1Char(' ') + QSysInfo::buildCpuArchitecture()));
    const QRegularExpression deviceInfo(
        "^CPU:(.*),GPU:(.*),Memory: 可用 \\d+\\.\\d\\d GB / 共 (\\d+\\.\\d\\d) GB,System:(.+)$");
    const QRegularExpressionMatch m = deviceInfo.match(value(r, "device_info"));
    QVERIFY2(m.hasMatch(), qPrintable(value(r, "device_info")));
    QVERIFY(m.captured(3).toDouble() > 0);
    // Vendor, renderer and version of the OpenGL context, joined by spaces.
    QVERIFY2(m.captured(2).count(QLatin1Char(' ')) >= 2, qPrintable(m.captured(2)));
    QCOMPARE(m.captured(4), os);

    QVERIFY(StatusReport::instance()->parameterString().startsWith("appid=18&channel=1&"));
    QVERIFY(StatusReport::instance()->parameterString().endsWith("&"));
}

void TestStatusReport::extraMessageValuesArriveIntact()
{
    HttpTestServer::Request r =
        sendAndReceive(StatusReport::LAUNCHER_NETWORK_TIMEOUT, {{"url", "u"}});
    QVERIFY2(r.query.startsWith("action=LAUNCHER_NETWORK_TIMEOUT&"), qPrintable(r.query));
    QCOMPARE(keysOf(r.query).last(), QStringLiteral("extMsg"));
    QCOMPARE(value(r, "extMsg"), QStringLiteral("url:u;"));

    // Text that would split or cut a raw query: an error string and a URL with its own query.
    const QString desc = QStringLiteral("disk full & retry=no #3 + 50%; 可用 空间");
    const QString url = QStringLiteral("http://cdn.example/a b.7z?x=1&y=2#frag");
    r = sendAndReceive(StatusReport::LAUNCHER_GAME_SETUP_ERROR,
                       {{"errorCode", "SETUP_ZIP_ERROR"}, {"errorDesc", desc}, {"url", url}});
    QCOMPARE(keysOf(r.query).size(), 17);
    QVERIFY(!r.query.contains(QLatin1Char('#')));
    const QString expected =
        QStringLiteral("errorCode:SETUP_ZIP_ERROR;errorDesc:%1;url:%2;").arg(desc, url);
    QCOMPARE(value(r, "extMsg"), expected);
    QCOMPARE(formDecoded(r.query, "extMsg"), expected);
    QCOMPARE(formDecoded(r.query, "version"), QStringLiteral("2.3.3.0"));
}

void TestStatusReport::reportsOfOneRunShareTransactionAndDevice()
{
    const HttpTestServer::Request first = sendAndReceive(StatusReport::LAUNCHER_START_GAME);
    const QString firstCts = value(first, "cts");
    // cts has millisecond resolution: let the clock move on.
    const qint64 sent = QDateTime::currentMSecsSinceEpoch();
    QTRY_VERIFY(QDateTime::currentMSecsSinceEpoch() > sent + 1);
    const HttpTestServer::Request second = sendAndReceive(StatusReport::LAUNCHER_QUIT);
    QCOMPARE(value(second, "action"), QStringLiteral("LAUNCHER_QUIT"));
    QCOMPARE(value(second, "transaction_no"), value(first, "transaction_no"));
    QCOMPARE(value(second, "device_id"), value(first, "device_id"));
    QCOMPARE(value(second, "device_info"), value(first, "device_info"));
    QVERIFY(value(second, "cts") != firstCts);
}

void TestStatusReport::failedReportIsLoggedButNeverReported()
{
    m_server.addFault("/client_report", HttpTestServer::Fault::dropAfter(0), 1);
    StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_AD);
    // The failure is logged by the report's own callback, which runs after any report the
    // request client would have sent about it.
    QTRY_VERIFY(std::any_of(g_debugLines.begin(), g_debugLines.end(),
                            [](const QString &line) { return line.startsWith("error : "); }));
    QCOMPARE(m_server.requestCount(), 1);
    QVERIFY(std::any_of(g_debugLines.begin(), g_debugLines.end(), [](const QString &line) {
        return line.startsWith("report url : ") && line.contains("action=LAUNCHER_HOME_AD&");
    }));

    m_server.serveData("/client_report", "busy", "text/plain", 503);
    g_debugLines.clear();
    StatusReport::instance()->report(StatusReport::LAUNCHER_HOME_AD);
    QTRY_VERIFY(std::any_of(g_debugLines.begin(), g_debugLines.end(),
                            [](const QString &line) { return line.startsWith("error : "); }));
    QCOMPARE(m_server.requestCount(), 2);
    m_server.serveData("/client_report", "{}", "application/json");
}

void TestStatusReport::failureGoesOutAsItsStepWithCodeReasonAndVersions_data()
{
    using Step = InstallTelemetry::Step;
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("reason");

    const QString longText = QString(200, QLatin1Char('x'));
    QTest::newRow("404 while downloading")
        << int(Step::Download) << int(ErrorDefine::DOWNLOAD_NETWORK_ERROR)
        << "Error transferring http://h/a.7z?x=1&y=2 - server replied: Not Found"
        << "LAUNCHER_DOWNLOAD_FAILED"
        << "Error transferring http://h/a.7z?x=1&y=2 - server replied: Not Found";
    // The download step hands over the digest and signature refusals: they count as theirs.
    QTest::newRow("wrong MD5 after download")
        << int(Step::Download) << int(ErrorDefine::DOWNLOAD_MD5_ERROR) << "md5 differs"
        << "LAUNCHER_CHECK_FAILED"
        << "md5 differs";
    QTest::newRow("unsigned package")
        << int(Step::Download) << int(ErrorDefine::PACKAGE_SIGNATURE_ERROR) << "not signed"
        << "LAUNCHER_SIGNATURE_FAILED"
        << "not signed";
    QTest::newRow("stale signed answer while downloading")
        << int(Step::Download) << 1039 << "expired"
        << "LAUNCHER_SIGNATURE_FAILED"
        << "expired";
    QTest::newRow("unsigned release")
        << int(Step::Signature) << int(ErrorDefine::PACKAGE_SIGNATURE_ERROR) << "no key"
        << "LAUNCHER_SIGNATURE_FAILED"
        << "no key";
    QTest::newRow("unpack, long text on lines")
        << int(Step::Unpack) << int(ErrorDefine::SETUP_ZIP_UNZIP_ERROR)
        << "line one\n\tline two " + longText << "LAUNCHER_UNPACK_FAILED"
        << "line one line two " + longText.left(141) + QChar(0x2026);
    QTest::newRow("repair") << int(Step::Repair) << int(ErrorDefine::DOWNLOAD_NETWORK_ERROR)
                            << "timeout"
                            << "LAUNCHER_REPAIR_FAILED"
                            << "timeout";
    QTest::newRow("updater did not start")
        << int(Step::LauncherUpdate) << int(ErrorDefine::DEFAULTT) << "gone"
        << "LAUNCHER_SELF_UPDATE_FAILED"
        << "gone";
}

void TestStatusReport::failureGoesOutAsItsStepWithCodeReasonAndVersions()
{
    QFETCH(int, step);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QString, action);
    QFETCH(QString, reason);

    InstallTelemetry::downloadStarted(QStringLiteral("1.0.0"), QStringLiteral("1.0.1"),
                                      InstallTelemetry::PackageKind::Difference);
    const int before = m_server.requestCount();
    InstallTelemetry::failed(InstallTelemetry::Step(step), ErrorDefine::ErrorCode(code), message);
    QVERIFY(QTest::qWaitFor([&] { return m_server.requestCount() > before; }, 10000));
    const HttpTestServer::Request r = m_server.requests().last();
    // Cleared before any check can end the test: the other tests expect none of them.
    for (const char *key : {"game_version", "target_version", "package_kind"})
        StatusReport::instance()->setContextField(QLatin1String(key), QString());

    QCOMPARE(value(r, "action"), action);
    QCOMPARE(value(r, "error_code"), QString::number(code));
    QCOMPARE(value(r, "error_reason"), reason);
    QCOMPARE(value(r, "game_version"), QStringLiteral("1.0.0"));
    QCOMPARE(value(r, "target_version"), QStringLiteral("1.0.1"));
    QCOMPARE(value(r, "package_kind"), QStringLiteral("difference"));
    // The fields older services know come first, in their order and unchanged.
    const QStringList keys = keysOf(r.query);
    QCOMPARE(keys.mid(0, 16),
             QStringList({"action", "appid", "channel", "client_language", "cts", "device_id",
                          "device_info", "device_name", "env", "gamekey", "log_time", "os",
                          "register_cps", "sub_channel", "transaction_no", "version"}));
    QCOMPARE(keys.size(), 21);
}

QTEST_MAIN(TestStatusReport)
#include "tst_statusreport.moc"
