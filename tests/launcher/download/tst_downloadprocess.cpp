#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "downloadtestutil.h"
#include "httptestserver.h"

using namespace downloadtest;

// The manager in a process of its own (download_helper): killed in the middle of a transfer,
// and limited in the file size it may create.
class TestDownloadProcess : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void killedDownloadIsResumedByNextProcessWithRightMd5();
    void fileSizeLimitWhilePreallocatingReports1001AndLosesNothing();
    void failingWriteStopsAndKeepsRecordForResume();
    void shortWriteStopsBeforeAHoleAndTheNextRunResumes();

private:
    struct Run
    {
        int exitCode = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        QByteArray output;
    };
    Run runHelper(const QStringList &args);
    QString helper() const;
};

void TestDownloadProcess::initTestCase()
{
    // The helper's identity, so that both read and write the same resume records.
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("download_helper"));
    QVERIFY2(QFileInfo(helper()).isExecutable(), qPrintable(helper()));
}

QString TestDownloadProcess::helper() const
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/download_helper");
}

TestDownloadProcess::Run TestDownloadProcess::runHelper(const QStringList &args)
{
    QProcess process;
    QSignalSpy done(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
    process.start(helper(), args);
    Run run;
    if (!process.waitForStarted())
        return run;
    // The server lives on this thread, so wait with the event loop running.
    if (!done.wait(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.status = process.exitStatus();
    run.output = process.readAllStandardOutput();
    return run;
}

void TestDownloadProcess::killedDownloadIsResumedByNextProcessWithRightMd5()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray data = randomBytes(8 * 1024 * 1024, 21);
    QVERIFY(writeFile(dir.filePath("served.7z"), data));
    const QString folder = dir.filePath("game");
    QVERIFY(QDir().mkpath(folder));
    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveFile("/pkg.7z", dir.filePath("served.7z"));
    server.addFault("/pkg.7z", HttpTestServer::Fault::throttle(1024 * 1024), 1, "GET");
    const QStringList args{server.url("/pkg.7z").toString(), folder, md5Hex(data)};

    QProcess first;
    QByteArray output;
    connect(&first, &QProcess::readyReadStandardOutput, this,
            [&] { output += first.readAllStandardOutput(); });
    first.start(helper(), args);
    QVERIFY(first.waitForStarted());
    auto lastDone = [&] {
        const QList<QByteArray> lines = output.trimmed().split('\n');
        for (int i = lines.size() - 1; i >= 0; --i) {
            if (lines.at(i).startsWith("progress "))
                return lines.at(i).split(' ').at(1).toLongLong();
        }
        return qint64(0);
    };
    QTRY_VERIFY_WITH_TIMEOUT(lastDone() > 2 * 1024 * 1024, 20000);
    first.kill(); // SIGKILL: no destructor, no settings sync, no clean close
    QVERIFY(first.waitForFinished());
    QCOMPARE(first.exitStatus(), QProcess::CrashExit);
    QVERIFY(!output.contains("finished"));

    const QString tmp = folder + "/pkg.7z_tmp";
    QCOMPARE(QFileInfo(tmp).size(), qint64(data.size()));
    const qint64 recorded = QSettings().value("pkg.7z/0").toLongLong();
    QVERIFY2(recorded > 0 && recorded < data.size(), QByteArray::number(recorded));
    // The record never claims more than what reached the file.
    QCOMPARE(readFile(tmp).left(int(recorded)), data.left(int(recorded)));

    const Run second = runHelper(args);
    QCOMPARE(second.status, QProcess::NormalExit);
    QCOMPARE(second.exitCode, 0);
    QVERIFY(second.output.contains("md5ok"));
    QCOMPARE(readFile(folder + "/pkg.7z"), data);
    QVERIFY(!QFile::exists(tmp));
    const auto requests = gets(server, "/pkg.7z");
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.last().header("range"),
             "bytes=" + QByteArray::number(recorded) + "-" + QByteArray::number(data.size()));
    QSettings settings;
    settings.sync();
    QVERIFY(!settings.contains("pkg.7z/0"));
}

void TestDownloadProcess::fileSizeLimitWhilePreallocatingReports1001AndLosesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray data = randomBytes(4 * 1024 * 1024, 22);
    QVERIFY(writeFile(dir.filePath("served.7z"), data));
    const QString folder = dir.filePath("game");
    QVERIFY(QDir().mkpath(folder));
    const QByteArray keep = randomBytes(64 * 1024, 23);
    QVERIFY(writeFile(folder + "/keep.dat", keep));
    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveFile("/big.7z", dir.filePath("served.7z"));
    const QStringList args{"--fsize-limit", QString::number(1024 * 1024),
                           server.url("/big.7z").toString(), folder, md5Hex(data)};

    Run run = runHelper(args);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains("error 1001 message_disk_not_enough_space"), run.output);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"keep.dat"});
    QCOMPARE(gets(server, "/big.7z").size(), 0);

    // A partial file of an earlier run stays exactly as it was.
    const QByteArray partial = data.left(300 * 1024);
    QVERIFY(writeFile(folder + "/big.7z_tmp", partial));
    run = runHelper(args);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains("error 1001"), run.output);
    QCOMPARE(readFile(folder + "/big.7z_tmp"), partial);
    QCOMPARE(readFile(folder + "/keep.dat"), keep);
}

void TestDownloadProcess::failingWriteStopsAndKeepsRecordForResume()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray data = randomBytes(3 * 1024 * 1024, 24);
    QVERIFY(writeFile(dir.filePath("served.7z"), data));
    const QString folder = dir.filePath("game");
    QVERIFY(QDir().mkpath(folder));
    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveFile("/pkg.7z", dir.filePath("served.7z"));

    // An earlier run got 2,000,000 bytes into a fully preallocated file; the process may now
    // not write beyond 1 MiB, so the first write at the resume position fails.
    const qint64 done = 2000000;
    QByteArray partial = data.left(int(done));
    partial.append(QByteArray(data.size() - int(done), '\0'));
    QVERIFY(writeFile(folder + "/pkg.7z_tmp", partial));
    {
        QSettings settings;
        settings.setValue("pkg.7z/0", done);
    }
    const QStringList args{server.url("/pkg.7z").toString(), folder, md5Hex(data)};
    Run run = runHelper(QStringList{"--fsize-limit", QString::number(1024 * 1024)} + args);
    QCOMPARE(run.exitCode, 1);
    // Direct writes fail at once (1002); a piece small enough for the file buffer fails at
    // the flush (1003).
    QVERIFY2(run.output.contains("error 1002 message_error_download_write_buffer") ||
                 run.output.contains("error 1003 message_error_download_flush"),
             run.output);
    QCOMPARE(readFile(folder + "/pkg.7z_tmp"), partial);
    QSettings settings;
    settings.sync();
    QCOMPARE(settings.value("pkg.7z/0").toLongLong(), done);

    run = runHelper(args);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains("md5ok"));
    QCOMPARE(readFile(folder + "/pkg.7z"), data);
    const auto requests = gets(server, "/pkg.7z");
    QCOMPARE(requests.last().header("range"), "bytes=2000000-" + QByteArray::number(data.size()));
}

void TestDownloadProcess::shortWriteStopsBeforeAHoleAndTheNextRunResumes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray data = randomBytes(4 * 1024 * 1024, 25);
    QVERIFY(writeFile(dir.filePath("served.7z"), data));
    const QString folder = dir.filePath("game");
    QVERIFY(QDir().mkpath(folder));
    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveFile("/pkg.7z", dir.filePath("served.7z"));
    const QStringList args{server.url("/pkg.7z").toString(), folder, md5Hex(data)};

    // The disk fills for a moment past 1 MiB: one write stores only part of its bytes, and
    // the next piece would go right after them.
    Run run = runHelper(QStringList{"--short-write-at", QString::number(1024 * 1024)} + args);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains("error 1002 message_error_download_write_buffer"), run.output);
    QSettings settings;
    settings.sync();
    const qint64 recorded = settings.value("pkg.7z/0").toLongLong();
    QVERIFY2(recorded >= 0 && recorded < data.size(), QByteArray::number(recorded));
    QCOMPARE(readFile(folder + "/pkg.7z_tmp").left(int(recorded)), data.left(int(recorded)));

    run = runHelper(args);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.output.contains("md5ok"), run.output);
    QCOMPARE(readFile(folder + "/pkg.7z"), data);
}

QTEST_GUILESS_MAIN(TestDownloadProcess)
#include "tst_downloadprocess.moc"
