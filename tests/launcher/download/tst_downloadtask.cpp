#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "downloadtask.h"
#include "downloadtestutil.h"
#include "httptestserver.h"

using namespace downloadtest;

// The task alone against the loopback server; a small sink plays the manager's part (writes
// each piece at its position and raises the task's count).
class TestDownloadTask : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void completeRangeSendsNoRequest();
    void stallsAreSurvivedFourTimes_data();
    void stallsAreSurvivedFourTimes();
    void resumeNamesTheObjectItContinues_data();
    void resumeNamesTheObjectItContinues();
    void busyServerIsWaitedFor_data();
    void busyServerIsWaitedFor();
    void errorStatusWithBodyStopsAtOnce_data();
    void errorStatusWithBodyStopsAtOnce();
    void errorStatusWithoutBodyRestartsThenReports();
    void ignoredRangeRestartsFromTheTaskStart();
    void cleanEndBeforeRangeIsCompleteCountsAsBrokenTransfer();
    void stopThenStartResumesWithoutCountingAFailure();

private:
    void attachSink(downloadtask &task, qint64 size);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HttpTestServer> m_server;
    QByteArray m_sink;
    QList<qint64> m_positions;
};

void TestDownloadTask::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY(m_server->listen());
    m_sink.clear();
    m_positions.clear();
}

void TestDownloadTask::cleanup()
{
    m_server.reset();
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    m_dir.reset();
}

void TestDownloadTask::attachSink(downloadtask &task, qint64 size)
{
    m_sink = QByteArray(int(size), '\0');
    connect(&task, &downloadtask::readyRead, this,
            [this, &task](const QByteArray &data, qint64 position, int) {
                m_positions.append(position);
                m_sink.replace(int(position), data.size(), data);
                task.addDownloaded(data.size());
            });
}

void TestDownloadTask::completeRangeSendsNoRequest()
{
    const QByteArray data = randomBytes(64 * 1024, 31);
    QVERIFY(writeFile(m_dir->filePath("a.bin"), data));
    m_server->serveFile("/done.bin", m_dir->filePath("a.bin"));
    m_server->serveFile("/other.bin", m_dir->filePath("a.bin"));

    downloadtask done;
    done.setUrl(m_server->url("/done.bin"), 0, data.size(), data.size(), 0);
    done.start();
    QVERIFY(!done.isStopped()); // marked running, yet nothing to fetch

    // A second task's whole transfer gives the first all the time it would need to send.
    downloadtask other;
    attachSink(other, data.size());
    other.setUrl(m_server->url("/other.bin"), 0, data.size(), 0, 0);
    other.start();
    QTRY_VERIFY_WITH_TIMEOUT(other.isFinished(), 10000);
    QCOMPARE(m_sink, data);
    QCOMPARE(m_server->requestCount("/done.bin"), 0);
    QVERIFY(!done.isFinished());
}

void TestDownloadTask::stallsAreSurvivedFourTimes_data()
{
    QTest::addColumn<int>("stalls");
    QTest::addColumn<int>("bytesBetween");
    QTest::addColumn<bool>("survives");
    // Failures in a row, with no byte in between, are what the budget counts.
    QTest::newRow("four stalls in a row") << 4 << 0 << true;
    QTest::newRow("five stalls in a row") << 5 << 0 << false;
    // Progress refills it: a server that stalls after every piece still delivers the range.
    QTest::newRow("nine stalls after progress") << 9 << 20000 << true;
}

void TestDownloadTask::stallsAreSurvivedFourTimes()
{
    QFETCH(int, stalls);
    QFETCH(int, bytesBetween);
    QFETCH(bool, survives);
    const QByteArray data = randomBytes(512 * 1024, 32);
    QVERIFY(writeFile(m_dir->filePath("a.bin"), data));
    m_server->serveFile("/a.bin", m_dir->filePath("a.bin"));
    for (int i = 0; i < stalls; ++i)
        m_server->addFault("/a.bin", HttpTestServer::Fault::stallAfter(bytesBetween), 1);

    downloadtask task;
    // Short, yet far from any pause a loaded machine makes while data flows.
    task.setStallTimeout(survives ? 1000 : 200);
    task.setRetryBackoff(20);
    attachSink(task, data.size());
    QSignalSpy errors(&task, &downloadtask::networkError);
    task.setUrl(m_server->url("/a.bin"), 0, data.size(), 0, 7);
    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.isFinished() || errors.count() > 0, 30000);

    QCOMPARE(m_server->requestCount("/a.bin"), survives ? stalls + 1 : 5);
    if (survives) {
        QVERIFY(task.isFinished());
        QCOMPARE(errors.count(), 0);
        QCOMPARE(m_sink, data);
    } else {
        QCOMPARE(task.retryCount(), 5);
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.first().at(0).value<QNetworkReply::NetworkError>(),
                 QNetworkReply::TimeoutError);
        QCOMPARE(errors.first().at(1).toString(), QStringLiteral("message_request_time_out"));
        QVERIFY(task.isStopped());
        QVERIFY(!task.isFinished());
        // Whatever arrived is in place; the positions never went backwards.
        QCOMPARE(m_sink.left(int(task.downloaded())), data.left(int(task.downloaded())));
        QVERIFY(std::is_sorted(m_positions.begin(), m_positions.end()));
    }
}

void TestDownloadTask::resumeNamesTheObjectItContinues_data()
{
    QTest::addColumn<bool>("replaced");
    QTest::newRow("same object") << false;
    QTest::newRow("object replaced while paused") << true;
}

void TestDownloadTask::resumeNamesTheObjectItContinues()
{
    QFETCH(bool, replaced);
    const QByteArray data = randomBytes(1024 * 1024, 36);
    const QString file = m_dir->filePath("a.bin");
    QVERIFY(writeFile(file, data));
    m_server->serveFile("/a.bin", file);
    m_server->addFault("/a.bin", HttpTestServer::Fault::throttle(256 * 1024), 1);

    downloadtask task;
    attachSink(task, data.size());
    QSignalSpy identified(&task, &downloadtask::objectIdentified);
    QSignalSpy changed(&task, &downloadtask::objectChanged);
    task.setUrl(m_server->url("/a.bin"), 0, data.size(), 0, 0);
    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.downloaded() > 0, 10000);
    task.stop();
    QCOMPARE(identified.count(), 1);
    const QByteArray etag = identified.first().at(0).toByteArray();
    QVERIFY(etag.startsWith('"'));
    QCOMPARE(task.validator(), etag);

    const QByteArray newer = randomBytes(data.size(), 37);
    if (replaced) {
        // A publisher writes the new package under the same name: a new object.
        QFile::remove(file);
        QVERIFY(writeFile(file, newer));
    }
    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.isFinished() || changed.count() > 0, 10000);
    QCOMPARE(m_server->requestsFor("/a.bin").last().header("if-range"), etag);
    if (replaced) {
        // Nothing of the new object was spliced onto the old bytes.
        QCOMPARE(changed.count(), 1);
        QVERIFY(changed.first().at(0).toByteArray() != etag);
        QCOMPARE(changed.first().at(1).toLongLong(), qint64(newer.size()));
        QVERIFY(task.isStopped());
        QCOMPARE(m_sink.left(int(task.downloaded())), data.left(int(task.downloaded())));
    } else {
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_sink, data);
    }
}

void TestDownloadTask::busyServerIsWaitedFor_data()
{
    QTest::addColumn<int>("busyAnswers");
    QTest::addColumn<bool>("survives");
    QTest::newRow("busy twice") << 2 << true;
    QTest::newRow("busy through the budget") << 5 << false;
}

void TestDownloadTask::busyServerIsWaitedFor()
{
    QFETCH(int, busyAnswers);
    QFETCH(bool, survives);
    const QByteArray data = randomBytes(100 * 1024, 38);
    QVERIFY(writeFile(m_dir->filePath("a.bin"), data));
    m_server->serveFile("/a.bin", m_dir->filePath("a.bin"));
    m_server->addFault("/a.bin", HttpTestServer::Fault::busy(1), busyAnswers);

    downloadtask task;
    task.setRetryBackoff(20);
    attachSink(task, data.size());
    QSignalSpy statusErrors(&task, &downloadtask::httpStatusCodeError);
    QElapsedTimer clock;
    clock.start();
    task.setUrl(m_server->url("/a.bin"), 0, data.size(), 0, 0);
    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.isFinished() || statusErrors.count() > 0, 20000);
    // The server asked for a second between tries, and got it.
    QVERIFY(clock.elapsed() >= 1000 * (qMin(busyAnswers, 5) - 1));
    if (survives) {
        QVERIFY(task.isFinished());
        QCOMPARE(statusErrors.count(), 0);
        QCOMPARE(m_sink, data);
        QCOMPARE(m_server->requestCount("/a.bin"), busyAnswers + 1);
    } else {
        QCOMPARE(statusErrors.count(), 1);
        QCOMPARE(statusErrors.first().at(0).toInt(), 503);
        QCOMPARE(m_server->requestCount("/a.bin"), 5);
    }
}

void TestDownloadTask::errorStatusWithBodyStopsAtOnce_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("404") << 404 << "Not Found";
    QTest::newRow("302") << 302 << "";
}

void TestDownloadTask::errorStatusWithBodyStopsAtOnce()
{
    QFETCH(int, status);
    QFETCH(QString, message);
    m_server->serveData("/a.bin", "<html>no</html>", "text/html", status, {{"Location", "/b.bin"}});
    downloadtask task;
    QSignalSpy statusErrors(&task, &downloadtask::httpStatusCodeError);
    QSignalSpy errors(&task, &downloadtask::networkError);
    task.setUrl(m_server->url("/a.bin"), 0, 1000, 0, 0);
    task.start();
    QTRY_COMPARE_WITH_TIMEOUT(statusErrors.count(), 1, 10000);
    QCOMPARE(statusErrors.first().at(0).toInt(), status);
    QCOMPARE(statusErrors.first().at(1).toString(), message);
    QVERIFY(task.isStopped());
    QCOMPARE(task.retryCount(), 1);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(m_server->requestCount("/a.bin"), 1);
    QCOMPARE(m_server->requestCount("/b.bin"), 0);
}

void TestDownloadTask::errorStatusWithoutBodyRestartsThenReports()
{
    m_server->serveData("/a.bin", QByteArray(), "text/html", 404);
    downloadtask task;
    QSignalSpy statusErrors(&task, &downloadtask::httpStatusCodeError);
    QSignalSpy errors(&task, &downloadtask::networkError);
    task.setUrl(m_server->url("/a.bin"), 0, 1000, 0, 0);
    task.start();
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 10000);
    QCOMPARE(errors.first().at(0).value<QNetworkReply::NetworkError>(),
             QNetworkReply::ContentNotFoundError);
    QCOMPARE(statusErrors.count(), 0);
    QCOMPARE(m_server->requestCount("/a.bin"), 5);
}

void TestDownloadTask::ignoredRangeRestartsFromTheTaskStart()
{
    const QByteArray data = randomBytes(300 * 1024, 33);
    QVERIFY(writeFile(m_dir->filePath("a.bin"), data));
    m_server->serveFile("/a.bin", m_dir->filePath("a.bin"));
    m_server->addFault("/a.bin", HttpTestServer::Fault::ignoreRange(), 1);

    // A task for the range from 1000 that believes 5000 of its bytes are already on disk.
    downloadtask task;
    attachSink(task, data.size());
    task.setUrl(m_server->url("/a.bin"), 1000, data.size(), 5000, 0);
    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.isFinished(), 10000);
    QCOMPARE(m_server->requestsFor("/a.bin").first().header("range"),
             "bytes=6000-" + QByteArray::number(data.size()));
    QCOMPARE(m_positions.first(), 1000);
    QCOMPARE(task.downloaded(), qint64(data.size() - 1000));
    QCOMPARE(m_sink.mid(1000), data.mid(1000));
}

void TestDownloadTask::cleanEndBeforeRangeIsCompleteCountsAsBrokenTransfer()
{
    const QByteArray data = randomBytes(200 * 1024, 35);
    QVERIFY(writeFile(m_dir->filePath("a.bin"), data));
    m_server->serveFile("/a.bin", m_dir->filePath("a.bin"));
    // The answer announces fewer bytes than the range holds and ends without any error.
    m_server->addFault("/a.bin", HttpTestServer::Fault::wrongContentLength(70000), 1);

    downloadtask task;
    attachSink(task, data.size());
    QSignalSpy errors(&task, &downloadtask::networkError);
    task.setUrl(m_server->url("/a.bin"), 0, data.size(), 0, 0);
    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.isFinished(), 10000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(m_server->requestCount("/a.bin"), 2);
    QCOMPARE(m_sink, data);
    QCOMPARE(m_server->requestsFor("/a.bin").last().header("range"),
             "bytes=70000-" + QByteArray::number(data.size()));
}

void TestDownloadTask::stopThenStartResumesWithoutCountingAFailure()
{
    const QByteArray data = randomBytes(1024 * 1024, 34);
    QVERIFY(writeFile(m_dir->filePath("a.bin"), data));
    m_server->serveFile("/a.bin", m_dir->filePath("a.bin"));
    m_server->addFault("/a.bin", HttpTestServer::Fault::throttle(256 * 1024), 1);

    downloadtask task;
    attachSink(task, data.size());
    QSignalSpy errors(&task, &downloadtask::networkError);
    task.setUrl(m_server->url("/a.bin"), 0, data.size(), 0, 0);
    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.downloaded() > 0, 10000);
    task.stop();
    const qint64 paused = task.downloaded();
    m_server->closeAllConnections(); // the old reply's end must not reach the task

    task.start();
    QTRY_VERIFY_WITH_TIMEOUT(task.isFinished(), 10000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(task.retryCount(), 1);
    QCOMPARE(m_sink, data);
    QCOMPARE(m_server->requestsFor("/a.bin").last().header("range"),
             "bytes=" + QByteArray::number(paused) + "-" + QByteArray::number(data.size()));

    task.start(); // a finished task never starts again
    QVERIFY(task.isStopped());
}

QTEST_GUILESS_MAIN(TestDownloadTask)
#include "tst_downloadtask.moc"
