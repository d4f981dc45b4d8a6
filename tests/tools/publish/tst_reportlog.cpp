// Report logs read back: both line formats, and loads that add only what is new, also after
// the log was rotated and compressed.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include "reportdatabase.h"
#include "reportline.h"

namespace {

QByteArray nginxLine(const QByteArray &time, const QByteArray &query)
{
    return "127.0.0.1 - - [" + time + "] \"GET /client_report?" + query +
           " HTTP/1.1\" 204 0 \"-\" \"Mozilla/5.0\"\n";
}

qint64 scalar(const QString &dbPath, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

bool append(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::Append) && file.write(data) == data.size();
}

} // namespace

class TestReportLog : public QObject
{
    Q_OBJECT
private slots:
    void parsesBothFormats_data();
    void parsesBothFormats();
    void loadsEachLineOnceAcrossAppendsAndRotation();
};

void TestReportLog::parsesBothFormats_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isReport");
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("errorCode");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("extMsg");

    // The launcher percent-encodes values: "&", "=", "+" and non-ASCII survive.
    QTest::newRow("nginx, other time zone")
        << nginxLine("31/Dec/2026:23:30:05 -0130",
                     "action=LAUNCHER_CHECK_FAILED&device_id=d1&error_code=1004&error_reason="
                     "MD5%20a%26b%3Dc%2B%E9%94%99&game_version=&version=2.3.3.0")
        << true << "2027-01-01T01:00:05"
        << "LAUNCHER_CHECK_FAILED"
        << "1004"
        << "MD5 a&b=c+错"
        << "";
    QTest::newRow("nginx, extra message")
        << nginxLine("07/Dec/2026:18:06:02 +0000",
                     "action=LAUNCHER_NETWORK_ERROR&extMsg=url%3Ahttp%3A%2F%2Fh%2Fa%3B")
        << true << "2026-12-07T18:06:02"
        << "LAUNCHER_NETWORK_ERROR"
        << ""
        << ""
        << "url:http://h/a;";
    QTest::newRow("json of the serve command")
        << QByteArray("{\"action\":\"LAUNCHER_UNPACK_FAILED\",\"error_code\":\"1014\","
                      "\"error_reason\":\"bad \\\"7z\\\" \\u00e9\\ud83d\\ude00\",\"extMsg\":{"
                      "\"errorCode\":\"SETUP_ZIP_UNZIP_ERROR\",\"errorDesc\":\"x\"},"
                      "\"received\":\"2026-12-07T18:06:02.123Z\"}\n")
        << true << "2026-12-07T18:06:02"
        << "LAUNCHER_UNPACK_FAILED"
        << "1014" << QString::fromUtf8("bad \"7z\" é\xF0\x9F\x98\x80")
        << "errorCode:SETUP_ZIP_UNZIP_ERROR;errorDesc:x;";
    QTest::newRow("a package request")
        << nginxLine("07/Dec/2026:18:06:02 +0000", "x").replace("/client_report?x", "/game/a.7z")
        << false << ""
        << ""
        << ""
        << ""
        << "";
    QTest::newRow("a report without action")
        << nginxLine("07/Dec/2026:18:06:02 +0000", "device_id=d") << false << ""
        << ""
        << ""
        << ""
        << "";
    QTest::newRow("no time") << QByteArray("127.0.0.1 - - [yesterday] \"GET /client_report?"
                                           "action=A HTTP/1.1\" 204 0\n")
                             << false << ""
                             << ""
                             << ""
                             << ""
                             << "";
    QTest::newRow("cut json") << QByteArray("{\"action\":\"A\",\"received\":\"2026-12-07T18")
                              << false << ""
                              << ""
                              << ""
                              << ""
                              << "";
    QTest::newRow("bad json escape")
        << QByteArray("{\"action\":\"A\\q\",\"received\":\"2026-12-07T18:06:02Z\"}") << false << ""
        << ""
        << ""
        << ""
        << "";
}

void TestReportLog::parsesBothFormats()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, isReport);
    ReportLine report;
    QCOMPARE(report.parse(std::string_view(line.constData(), size_t(line.size()))), isReport);
    if (!isReport)
        return;
    auto value = [&](ReportLine::Field field) {
        return QString::fromStdString(report.value(field));
    };
    QTEST(value(ReportLine::Received), "received");
    QTEST(value(ReportLine::Action), "action");
    QTEST(value(ReportLine::ErrorCode), "errorCode");
    QTEST(value(ReportLine::ErrorReason), "reason");
    QTEST(value(ReportLine::ExtMsg), "extMsg");
}

void TestReportLog::loadsEachLineOnceAcrossAppendsAndRotation()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString log = dir.filePath("reports.log");
    const QString dbPath = dir.filePath("reports.db");
    auto line = [](int i) {
        return nginxLine("07/Dec/2026:18:06:02 +0000",
                         "action=LAUNCHER_HOME_SHOW&device_id=d" + QByteArray::number(i));
    };
    auto load = [&](const QStringList &logs) {
        ReportDatabase db;
        QString error;
        if (!db.open(dbPath, &error))
            return false;
        for (const QString &one : logs) {
            ReportDatabase::LoadResult result;
            if (!db.load(one, &result, &error)) {
                qWarning() << error;
                return false;
            }
        }
        return true;
    };
    auto devices = [&] {
        return scalar(dbPath, "SELECT COUNT(DISTINCT device_id) FROM reports");
    };
    auto rows = [&] {
        return scalar(dbPath, "SELECT COUNT(*) FROM reports");
    };

    // A line still being written is left for the next load.
    const QByteArray three = line(1) + line(2) + line(3);
    QVERIFY(append(log, three + line(4).left(20)));
    QVERIFY(load({log}));
    QCOMPARE(rows(), 3);
    QVERIFY(append(log, line(4).mid(20) + line(5)));
    QVERIFY(load({log, log}));
    QCOMPARE(rows(), 5);
    QCOMPARE(devices(), 5);

    // Rotation: the old log compressed under a new name, one more line written before that,
    // and a new log.
    QVERIFY(append(log, line(6)));
    QVERIFY(QFile::rename(log, log + ".1"));
    QCOMPARE(QProcess::execute("gzip", {"-n", log + ".1"}), 0);
    QVERIFY(append(log, line(7) + line(8)));
    QVERIFY(load({log + ".1.gz", log}));
    QCOMPARE(rows(), 8);
    QCOMPARE(devices(), 8);
    // And all of it once more changes nothing.
    QVERIFY(load({log, log + ".1.gz"}));
    QCOMPARE(rows(), 8);
    QCOMPARE(scalar(dbPath, "SELECT COUNT(*) FROM sources"), 2);
}

QTEST_GUILESS_MAIN(TestReportLog)
#include "tst_reportlog.moc"
