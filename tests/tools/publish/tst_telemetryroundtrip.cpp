// Telemetry from the launcher's install engine through nginx into the report database and the
// dashboard, and the dashboard as a real browser shows it.
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <sqlite3.h>

#include "dialogwatcher.h"
#include "launcherconfig.h"
#include "mainviewmodel.h"
#include "nginxsite.h"
#include "publishtestutil.h"
#include "reportline.h"

using namespace publishtest;

namespace {

struct Report
{
    QString action;
    QString code;
    QString gameVersion;
    QString targetVersion;
    QString kind;
};

QList<Report> readReports(const QString &log)
{
    QList<Report> reports;
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return reports;
    ReportLine line;
    for (const QByteArray &text : file.readAll().split('\n')) {
        if (!line.parse(std::string_view(text.constData(), size_t(text.size()))))
            continue;
        auto value = [&](ReportLine::Field field) {
            return QString::fromStdString(line.value(field));
        };
        reports << Report{value(ReportLine::Action), value(ReportLine::ErrorCode),
                          value(ReportLine::GameVersion), value(ReportLine::TargetVersion),
                          value(ReportLine::PackageKind)};
    }
    return reports;
}

QStringList actionsOf(const QList<Report> &reports, const QStringList &wanted)
{
    QStringList actions;
    for (const Report &report : reports) {
        if (wanted.contains(report.action))
            actions << report.action;
    }
    return actions;
}

QString scalar(const QString &dbPath, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    QString value = QStringLiteral("(none)");
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value =
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

// The cells of the table row with these data attributes, as the browser built them.
QStringList rowCells(const QString &dom, const QString &attributes)
{
    const int start = dom.indexOf(QStringLiteral("<tr ") + attributes + QLatin1Char('>'));
    const int end = dom.indexOf(QStringLiteral("</tr>"), start);
    if (start < 0 || end < 0)
        return {};
    QStringList cells;
    static const QRegularExpression cell(QStringLiteral("<t[hd][^>]*>([^<]*)</t[hd]>"));
    auto it = cell.globalMatch(dom.mid(start, end - start));
    while (it.hasNext())
        cells << it.next().captured(1);
    return cells;
}

} // namespace

class TestTelemetryRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void failedAndGoodInstallReachTheDashboard();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_dir;
    NginxSite m_nginx;
    DialogWatcher m_boxes;
};

void TestTelemetryRoundTrip::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const Run snippet = runTool({"nginx", "--site", path("site"), "--listen", "%LISTEN%",
                                 "--report-log", path("reports.log")});
    QVERIFY2(snippet.exitCode == 0, qPrintable(snippet.err));
    QString error;
    QVERIFY2(m_nginx.start(snippet.out.toUtf8(), &error), qPrintable(error));
    LauncherConfig::setInstanceFilePath(path("launcher-config.ini"));
    LauncherConfig *config = LauncherConfig::instance();
    for (const char *key : {"resource_url", "release_url", "report_url"})
        config->writeString(QLatin1String(key), m_nginx.baseUrl(), QStringLiteral("services"));
    config->setInstallPath(path("install/Orvyndale Game"));
    config->setGameVersion(QString());
    m_boxes.setAccept(true);
}

void TestTelemetryRoundTrip::cleanupTestCase()
{
    m_nginx.stop();
    m_dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestTelemetryRoundTrip::failedAndGoodInstallReachTheDashboard()
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    QVERIFY2(!chromium.isEmpty(), "chromium is missing: run tools/install-deps");
    QVERIFY(writeTree(path("v1"), {{"Kestrava", "#!/bin/sh\n"},
                                   {"data/a.txt", "a"},
                                   {"data/b.bin", QByteArray(300000, 'b')}}));
    const Run published = runTool({"game", "--site", path("site"), "--base-url", m_nginx.baseUrl(),
                                   "--name", "Orv", "--entry", "Kestrava", "1.0.0=" + path("v1")});
    QVERIFY2(published.exitCode == 0, qPrintable(published.err));

    // A damaged package of the right size: only its MD5 tells.
    QFile package(path("site/game/Orv_1.0.0.7z"));
    QVERIFY(package.open(QIODevice::ReadWrite));
    const QByteArray good = package.readAll();
    QByteArray bad = good;
    bad[bad.size() / 2] = char(bad.at(bad.size() / 2) ^ 0x55);
    QVERIFY(package.seek(0) && package.write(bad) == bad.size());
    package.close();
    {
        MainViewModel model;
        model.initialize();
        QTRY_COMPARE_WITH_TIMEOUT(model.gameState(), int(MainViewModel::NotInstalled), 60000);
        model.installEnsureBtnClicked();
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes.texts().join(' ').contains("[1004]"), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(model.gameState(), int(MainViewModel::NotInstalled), 60000);

        QVERIFY(package.open(QIODevice::WriteOnly) && package.write(good) == good.size());
        package.close();
        model.installEnsureBtnClicked();
        QTRY_COMPARE_WITH_TIMEOUT(model.gameState(), int(MainViewModel::Installed), 60000);
    }
    const QString log = path("reports.log");
    QTRY_VERIFY_WITH_TIMEOUT(actionsOf(readReports(log), {"LAUNCHER_QUIT"}).size() == 1, 20000);

    const QList<Report> reports = readReports(log);
    const QStringList flow{"LAUNCHER_HOME_DOWNLOAD",        "LAUNCHER_CHECK_FAILED",
                           "LAUNCHER_HOME_DOWNLOAD_FINISH", "LAUNCHER_HOME_INSTALL",
                           "LAUNCHER_HOME_INSTALL_FINISH",  "LAUNCHER_DOWNLOAD_FAILED",
                           "LAUNCHER_SIGNATURE_FAILED",     "LAUNCHER_UNPACK_FAILED"};
    // The damaged package is a check failure and never a finished download.
    QCOMPARE(actionsOf(reports, flow),
             QStringList({"LAUNCHER_HOME_DOWNLOAD", "LAUNCHER_CHECK_FAILED",
                          "LAUNCHER_HOME_DOWNLOAD", "LAUNCHER_HOME_DOWNLOAD_FINISH",
                          "LAUNCHER_HOME_INSTALL", "LAUNCHER_HOME_INSTALL_FINISH"}));
    for (const Report &report : reports) {
        if (report.action == "LAUNCHER_CHECK_FAILED" ||
            report.action == "LAUNCHER_HOME_INSTALL_FINISH") {
            QCOMPARE(report.targetVersion, QStringLiteral("1.0.0"));
            QCOMPARE(report.gameVersion, QString());
            QCOMPARE(report.kind, QStringLiteral("full"));
        }
        if (report.action == "LAUNCHER_CHECK_FAILED")
            QCOMPARE(report.code, QStringLiteral("1004"));
    }
    // Once installed, the device runs the new version and installs nothing.
    QCOMPARE(reports.last().action, QStringLiteral("LAUNCHER_QUIT"));
    QCOMPARE(reports.last().gameVersion, QStringLiteral("1.0.0"));
    QCOMPARE(reports.last().targetVersion, QString());

    const QString db = path("reports.db");
    const Run loaded = runTool({"report", log, "--db", db, "--html", path("dashboard")});
    QVERIFY2(loaded.exitCode == 0, qPrintable(loaded.err));
    QCOMPARE(scalar(db, "SELECT COUNT(*) || ' ' || step || ' ' || error_code FROM reports "
                        "WHERE step IS NOT NULL"),
             QStringLiteral("1 check 1004"));
    QCOMPARE(scalar(db, "SELECT COUNT(*) || ' ' || target_version FROM reports "
                        "WHERE action = 'LAUNCHER_HOME_INSTALL_FINISH'"),
             QStringLiteral("1 1.0.0"));

    // The page as the browser builds it, with no network and no script of ours.
    QProcess browser;
    browser.start(chromium,
                  {"--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync", "--no-first-run",
                   "--user-data-dir=" + path("chromium"), "--dump-dom",
                   QUrl::fromLocalFile(path("dashboard/index.html")).toString()});
    QVERIFY(browser.waitForFinished(120000));
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    QVERIFY2(dom.contains("<h1>Launcher reports</h1>"), qPrintable(browser.readAllStandardError()));
    QVERIFY2(dom.count("<svg") >= 5, qPrintable(dom));
    QVERIFY(dom.count("class=\"bar\"") >= 2);

    const QStringList failure = rowCells(dom, "data-step=\"check\" data-code=\"1004\"");
    QCOMPARE(failure.value(2), QStringLiteral("DOWNLOAD_MD5_ERROR"));
    QCOMPARE(failure.value(3), QStringLiteral("1"));
    const QStringList finished = rowCells(dom, "data-version=\"1.0.0\"");
    QCOMPARE(finished.value(1), QStringLiteral("1"));
    QCOMPARE(finished.value(2), QStringLiteral("1"));
    const QStringList totals{"reports", "devices", "installs", "failures"};
    const QStringList queries{
        "SELECT COUNT(*) FROM reports", "SELECT COUNT(DISTINCT device_id) FROM reports",
        "SELECT COUNT(*) FROM reports WHERE action = 'LAUNCHER_HOME_INSTALL_FINISH'",
        "SELECT COUNT(*) FROM reports WHERE step IS NOT NULL"};
    for (int i = 0; i < totals.size(); ++i) {
        const QRegularExpression total(QStringLiteral("id=\"total-%1\"><dt>[^<]*</dt><dd>(\\d+)"
                                                      "</dd>")
                                           .arg(totals.at(i)));
        QCOMPARE(total.match(dom).captured(1), scalar(db, queries.at(i)));
    }
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestTelemetryRoundTrip test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_telemetryroundtrip.moc"
