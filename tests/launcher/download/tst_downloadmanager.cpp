#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/mount.h>
#include <unistd.h>

#include "downloadmanager.h"
#include "downloadtask.h"
#include "downloadtestutil.h"
#include "errordefine.h"
#include "httptestserver.h"

using namespace downloadtest;
using ErrorDefine::ErrorCode;

namespace {
// A TLS listener on 127.0.0.1 that only completes handshakes: enough for a client to judge the
// certificate it is shown.
class TlsListener : public QTcpServer
{
public:
    QSslCertificate certificate;
    QSslKey key;

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(handle)) {
            delete socket;
            return;
        }
        socket->setLocalCertificate(certificate);
        socket->setPrivateKey(key);
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        socket->startServerEncryption();
    }
};
} // namespace

// The manager against a real loopback server that misbehaves on purpose; every case checks the
// bytes that end up on disk as well as the signals.
class TestDownloadManager : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void downloadsWholeFileVerifiesUpperCaseMd5AndClearsRecord();
    void pauseAndResumeReuseTaskAndRangeFromWrittenBytes();
    void newManagerResumesFromRecordedCountNotFileLength();
    void deletedTempFileDropsRecordAndRestartsFromZero();
    void recordBeyondFileOrPackageRestartsFromZero_data();
    void recordBeyondFileOrPackageRestartsFromZero();
    void pauseRecordsExactlyTheBytesOnDisk();
    void twoRedirectsNameBothFilesAfterFinalUrl();
    void switchingPackageWhilePausedKeepsTheOtherResumable();
    void survivesFourDropsAndStallsAtRandomOffsets();
    void fifthFailureIsReportedThroughHttpError_data();
    void fifthFailureIsReportedThroughHttpError();
    void wrongStatusReportsWithoutRestart_data();
    void wrongStatusReportsWithoutRestart();
    void rangeIgnoredByServerStillGivesCorrectFile();
    void wrongPartialAnswerStartsTheRangeAgain_data();
    void wrongPartialAnswerStartsTheRangeAgain();
    void unannouncedLongBodyStartsTheRangeAgain_data();
    void unannouncedLongBodyStartsTheRangeAgain();
    void existingFinalFileIsReplaced();
    void failedRenameIsReportedAndRetriedOnNextStart_data();
    void failedRenameIsReportedAndRetriedOnNextStart();
    void sizeRequestFailuresReport1005();
    void startBeforeSizeIsKnownCreatesNothing();
    void md5Check_data();
    void md5Check();
    void diskFullWhilePreallocatingReports1001AndLosesNothing();
    void resumeAcrossRunsContinuesOnlyTheSameObject_data();
    void resumeAcrossRunsContinuesOnlyTheSameObject();
    void savedNameComesFromAnswerThenServerThenAddress_data();
    void savedNameComesFromAnswerThenServerThenAddress();
    void certificateProblemsAreToldInPlainWords_data();
    void certificateProblemsAreToldInPlainWords();

private:
    QString serve(const QString &name, const QByteArray &data);
    QString folder() const { return m_dir->path() + QStringLiteral("/game"); }
    void start(downloadmanager &m, const QString &path, const QString &md5 = {});
    static qint64 rangeStart(const HttpTestServer::Request &r);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestDownloadManager::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_downloadmanager"));
    QStandardPaths::setTestModeEnabled(true);
    ErrorDefine::registerMetaTypes();
}

void TestDownloadManager::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/served")));
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY2(m_server->listen(), qPrintable(m_server->errorString()));
    QSettings().clear();
}

void TestDownloadManager::cleanup()
{
    m_server.reset();
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    m_dir.reset();
}

QString TestDownloadManager::serve(const QString &name, const QByteArray &data)
{
    const QString source = m_dir->path() + QStringLiteral("/served/") + name;
    writeFile(source, data);
    const QString path = QStringLiteral("/files/") + name;
    m_server->serveFile(path, source);
    return path;
}

void TestDownloadManager::start(downloadmanager &m, const QString &path, const QString &md5)
{
    m.setFilePath(folder());
    m.setFileMD5(md5);
    m.setUrl(m_server->url(path));
    m.startDownload();
}

qint64 TestDownloadManager::rangeStart(const HttpTestServer::Request &r)
{
    const QByteArray range = r.header("range");
    if (!range.startsWith("bytes="))
        return -1;
    return range.mid(6, range.indexOf('-') - 6).toLongLong();
}

void TestDownloadManager::downloadsWholeFileVerifiesUpperCaseMd5AndClearsRecord()
{
    const QByteArray data = randomBytes(3 * 1024 * 1024 + 17, 1);
    const QString path = serve("pkg.7z", data);
    downloadmanager m;
    QSignalSpy progress(&m, &downloadmanager::downloadReplyProgress);
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy httpErrors(&m, &downloadmanager::httpError);
    start(m, path, md5Hex(data).toUpper());
    QVERIFY(m.isDownloading());

    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(httpErrors.count(), 0);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    QVERIFY(!QFile::exists(folder() + "/pkg.7z_tmp"));
    QVERIFY(!m.isDownloading());
    QVERIFY(m.tasks().isEmpty());
    QVERIFY(!QSettings().contains("pkg.7z/0"));
    QCOMPARE(progress.last().at(0).toLongLong(), qint64(data.size()));
    QCOMPARE(progress.last().at(1).toLongLong(), qint64(data.size()));

    const auto requests = gets(*m_server, path);
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().header("range"), "bytes=0-" + QByteArray::number(data.size()));

    QSignalSpy md5Start(&m, &downloadmanager::md5CheckStart);
    QSignalSpy md5Finish(&m, &downloadmanager::md5CheckFinish);
    m.fileMd5(folder() + "/pkg.7z");
    QCOMPARE(md5Start.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(md5Finish.count(), 1, 10000);
    QCOMPARE(errors.count(), 0);
    QVERIFY(QFile::exists(folder() + "/pkg.7z"));
}

void TestDownloadManager::pauseAndResumeReuseTaskAndRangeFromWrittenBytes()
{
    const QByteArray data = randomBytes(2 * 1024 * 1024, 2);
    const QString path = serve("pkg.7z", data);
    m_server->addFault(path, HttpTestServer::Fault::throttle(400 * 1024), 1, "GET");
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    start(m, path);

    QTRY_VERIFY_WITH_TIMEOUT(m.getDownloadedSize() > 0, 10000);
    m.stopDownlaod();
    QVERIFY(!m.isDownloading());
    QCOMPARE(m.tasks().size(), 1);
    downloadtask *task = m.tasks().first();
    const qint64 written = m.getDownloadedSize();
    QVERIFY(written < data.size());
    // Preallocated, so the file's length says nothing about progress; the record does.
    QCOMPARE(QFileInfo(folder() + "/pkg.7z_tmp").size(), qint64(data.size()));
    QCOMPARE(QSettings().value("pkg.7z/0").toLongLong(), written);
    QCOMPARE(readFile(folder() + "/pkg.7z_tmp").left(int(written)), data.left(int(written)));

    m.startDownload();
    QCOMPARE(m.tasks().size(), 1);
    QCOMPARE(m.tasks().first(), task);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);

    const auto requests = gets(*m_server, path);
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.last().header("range"),
             "bytes=" + QByteArray::number(written) + "-" + QByteArray::number(data.size()));
}

void TestDownloadManager::newManagerResumesFromRecordedCountNotFileLength()
{
    const QByteArray data = randomBytes(2 * 1024 * 1024, 3);
    const QString path = serve("pkg.7z", data);
    m_server->addFault(path, HttpTestServer::Fault::throttle(400 * 1024), 1, "GET");
    {
        downloadmanager first;
        start(first, path);
        QTRY_VERIFY_WITH_TIMEOUT(first.getDownloadedSize() > 0, 10000);
    } // quitting in the middle of the transfer
    const qint64 recorded = QSettings().value("pkg.7z/0").toLongLong();
    QVERIFY(recorded > 0 && recorded < data.size());
    QCOMPARE(QFileInfo(folder() + "/pkg.7z_tmp").size(), qint64(data.size()));

    downloadmanager second;
    QSignalSpy progress(&second, &downloadmanager::downloadReplyProgress);
    QSignalSpy finished(&second, &downloadmanager::downloadFinished);
    start(second, path);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(progress.first().at(0).toLongLong(), recorded);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    QCOMPARE(rangeStart(gets(*m_server, path).last()), recorded);
}

void TestDownloadManager::deletedTempFileDropsRecordAndRestartsFromZero()
{
    const QByteArray data = randomBytes(1024 * 1024, 4);
    const QString path = serve("pkg.7z", data);

    // A record left by an earlier run whose "_tmp" file the user deleted.
    m_server->addFault(path, HttpTestServer::Fault::throttle(300 * 1024), 1, "GET");
    {
        downloadmanager first;
        start(first, path);
        QTRY_VERIFY_WITH_TIMEOUT(first.getDownloadedSize() > 0, 10000);
    }
    QVERIFY(QSettings().value("pkg.7z/0").toLongLong() > 0);
    QVERIFY(QFile::remove(folder() + "/pkg.7z_tmp"));
    {
        downloadmanager second;
        QSignalSpy finished(&second, &downloadmanager::downloadFinished);
        start(second, path);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(rangeStart(gets(*m_server, path).last()), 0);
        QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    }

    // The same while a manager is paused with the file open.
    QVERIFY(QFile::remove(folder() + "/pkg.7z"));
    m_server->addFault(path, HttpTestServer::Fault::throttle(300 * 1024), 1, "GET");
    downloadmanager paused;
    QSignalSpy finished(&paused, &downloadmanager::downloadFinished);
    start(paused, path);
    QTRY_VERIFY_WITH_TIMEOUT(paused.getDownloadedSize() > 0, 10000);
    paused.stopDownlaod();
    QVERIFY(QFile::remove(folder() + "/pkg.7z_tmp"));
    paused.startDownload();
    QVERIFY(paused.isDownloading());
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(rangeStart(gets(*m_server, path).last()), 0);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
}

void TestDownloadManager::recordBeyondFileOrPackageRestartsFromZero_data()
{
    QTest::addColumn<int>("onDisk");
    QTest::addColumn<qint64>("recorded");
    const int size = 1024 * 1024;
    // A damaged settings file, or a package re-published smaller at the same address.
    QTest::newRow("record beyond the package") << size << qint64(size + 1);
    // A partial file cut short (copied, restored from a backup) under an intact record.
    QTest::newRow("record beyond the file") << 100 * 1024 << qint64(512 * 1024);
}

void TestDownloadManager::recordBeyondFileOrPackageRestartsFromZero()
{
    QFETCH(int, onDisk);
    QFETCH(qint64, recorded);
    const QByteArray data = randomBytes(1024 * 1024, 12);
    const QString path = serve("pkg.7z", data);
    QVERIFY(writeFile(folder() + "/pkg.7z_tmp", data.left(onDisk)));
    QSettings().setValue("pkg.7z/0", recorded);
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    start(m, path);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(rangeStart(gets(*m_server, path).first()), qint64(0));
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
}

// A launcher killed right after a pause must find a record of exactly the bytes on disk.
void TestDownloadManager::pauseRecordsExactlyTheBytesOnDisk()
{
    const QByteArray data = randomBytes(2 * 1024 * 1024, 13);
    const QString path = serve("pkg.7z", data);
    const int sent = 1024 * 1024 + 4321; // many pieces in quick succession, then nothing
    m_server->addFault(path, HttpTestServer::Fault::stallAfter(sent), 1, "GET");
    downloadmanager first;
    start(first, path);
    QTRY_COMPARE_WITH_TIMEOUT(first.getDownloadedSize(), qint64(sent), 10000);
    first.stopDownlaod();
    QCOMPARE(QSettings().value("pkg.7z/0").toLongLong(), qint64(sent));
    // In the file itself, not only in this process's view of it: a kill loses nothing else.
    QFile record(QSettings().fileName());
    QVERIFY(record.open(QIODevice::ReadOnly));
    const QByteArray stored = record.readAll();
    QVERIFY2(stored.contains("[pkg.7z]\n0=" + QByteArray::number(sent) + "\n"), stored.constData());

    // What a restarted launcher does with that record (the paused one is never destroyed
    // cleanly, as after a kill).
    downloadmanager second;
    QSignalSpy finished(&second, &downloadmanager::downloadFinished);
    start(second, path);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(rangeStart(gets(*m_server, path).last()), qint64(sent));
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
}

void TestDownloadManager::twoRedirectsNameBothFilesAfterFinalUrl()
{
    const QByteArray data = randomBytes(1024 * 1024, 5);
    const QString path = serve("final.7z", data);
    m_server->redirect("/old/first.7z", "/mid/second.7z", 301);
    m_server->redirect("/mid/second.7z", m_server->url(path).toString(), 302);
    m_server->addFault(path, HttpTestServer::Fault::throttle(300 * 1024), 1, "GET");

    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    start(m, "/old/first.7z");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder() + "/final.7z_tmp"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);

    QCOMPARE(m.url(), m_server->url(path));
    QCOMPARE(readFile(folder() + "/final.7z"), data);
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList{"final.7z"});
    QCOMPARE(gets(*m_server, "/old/first.7z").size(), 0);
    QCOMPARE(gets(*m_server, "/mid/second.7z").size(), 0);
    QCOMPARE(gets(*m_server, path).size(), 1);
}

void TestDownloadManager::switchingPackageWhilePausedKeepsTheOtherResumable()
{
    const QByteArray one = randomBytes(1024 * 1024, 19);
    const QByteArray two = randomBytes(700 * 1024, 20);
    const QString pathOne = serve("one.7z", one);
    const QString pathTwo = serve("two.7z", two);
    m_server->addFault(pathOne, HttpTestServer::Fault::throttle(300 * 1024), 1, "GET");
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    start(m, pathOne);
    QTRY_VERIFY_WITH_TIMEOUT(m.getDownloadedSize() > 0, 10000);
    m.stopDownlaod();
    const qint64 written = m.getDownloadedSize();

    // The other package must not land in the first one's file.
    start(m, pathTwo);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(readFile(folder() + "/two.7z"), two);
    QCOMPARE(QSettings().value("one.7z/0").toLongLong(), written);
    QCOMPARE(readFile(folder() + "/one.7z_tmp").left(int(written)), one.left(int(written)));

    start(m, pathOne);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 20000);
    QCOMPARE(rangeStart(gets(*m_server, pathOne).last()), written);
    QCOMPARE(readFile(folder() + "/one.7z"), one);
}

void TestDownloadManager::survivesFourDropsAndStallsAtRandomOffsets()
{
    const int size = 4 * 1024 * 1024;
    const QByteArray data = randomBytes(size, 6);
    const QString path = serve("pkg.7z", data);
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("offset seed %u", seed);
    QRandomGenerator gen(seed);
    QList<qint64> offsets;
    for (int i = 0; i < 4; ++i) {
        offsets.append(gen.bounded(1, size / 5));
        const auto fault = i % 2 ? HttpTestServer::Fault::stallAfter(offsets.last())
                                 : HttpTestServer::Fault::dropAfter(offsets.last());
        m_server->addFault(path, fault, 1, "GET");
    }

    downloadmanager m;
    m.setStallTimeout(1000); // short, yet far from any pause a loaded machine makes
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy httpErrors(&m, &downloadmanager::httpError);
    start(m, path);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(httpErrors.count(), 0);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);

    // Each restart continues after the bytes that reached the file, never beyond what the
    // broken answer sent (Qt may hold back the last few KiB of a stalled answer).
    const auto requests = gets(*m_server, path);
    QCOMPARE(requests.size(), 5);
    QCOMPARE(rangeStart(requests.first()), 0);
    for (int i = 1; i < 5; ++i) {
        QVERIFY(rangeStart(requests.at(i)) > rangeStart(requests.at(i - 1)));
        QVERIFY(rangeStart(requests.at(i)) <= rangeStart(requests.at(i - 1)) + offsets.at(i - 1));
    }
}

void TestDownloadManager::fifthFailureIsReportedThroughHttpError_data()
{
    QTest::addColumn<bool>("stalls");
    QTest::addColumn<int>("networkError");
    QTest::newRow("drops") << false << int(QNetworkReply::RemoteHostClosedError);
    QTest::newRow("stalls") << true << int(QNetworkReply::TimeoutError);
}

void TestDownloadManager::fifthFailureIsReportedThroughHttpError()
{
    QFETCH(bool, stalls);
    QFETCH(int, networkError);
    const QByteArray data = randomBytes(1024 * 1024, 7);
    const QString path = serve("pkg.7z", data);
    // Bytes before the first failure, then four more failures in a row with none: five in a
    // row is what the budget allows (progress refills it).
    for (int i = 0; i < 5; ++i) {
        const int bytes = i == 0 ? 50000 : 0;
        m_server->addFault(path,
                           stalls ? HttpTestServer::Fault::stallAfter(bytes)
                                  : HttpTestServer::Fault::dropAfter(bytes),
                           1, "GET");
    }

    downloadmanager m;
    m.setStallTimeout(300);
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy httpErrors(&m, &downloadmanager::httpError);
    start(m, path);
    QTRY_COMPARE_WITH_TIMEOUT(httpErrors.count(), 1, 20000);
    QCOMPARE(httpErrors.first().at(0).value<ErrorCode>(),
             ErrorDefine::DOWNLOAD_NETWORK_REPLY_ERROR);
    QCOMPARE(httpErrors.first().at(1).toString(),
             QStringLiteral("message_error_network_reply(%1)").arg(networkError));
    QCOMPARE(errors.count(), 0);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(gets(*m_server, path).size(), 5);
    QVERIFY(!QFile::exists(folder() + "/pkg.7z"));
    QCOMPARE(QSettings().value("pkg.7z/0").toLongLong(), 50000);
    QCOMPARE(readFile(folder() + "/pkg.7z_tmp").left(50000), data.left(50000));

    // The record survives the failure: the user's next start continues after the last write.
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(rangeStart(gets(*m_server, path).last()), 50000);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
}

void TestDownloadManager::wrongStatusReportsWithoutRestart_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("404 with body") << 404;
    QTest::newRow("302 with body") << 302;
}

void TestDownloadManager::wrongStatusReportsWithoutRestart()
{
    QFETCH(int, status);
    const QByteArray data = randomBytes(256 * 1024, 8);
    const QString path = serve("pkg.7z", data);
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy httpErrors(&m, &downloadmanager::httpError);
    m.setFilePath(folder());
    m.setUrl(m_server->url(path));
    QTRY_COMPARE(m.getTotalSize(), qint64(data.size()));

    // The size was known; now the package answers GET with a wrong status and a body.
    m_server->serveData(path, "<html>gone</html>", "text/html", status,
                        {{"Location", "/elsewhere.7z"}});
    QVERIFY(writeFile(folder() + "/pkg.7z", "stale"));
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 10000);
    QCOMPARE(errors.first().at(0).value<ErrorCode>(), ErrorDefine::DOWNLOAD_NETWORK_ERROR);
    QCOMPARE(errors.first().at(1).toString(),
             QStringLiteral("message_error_network_statuscode(%1)").arg(status));
    QCOMPARE(httpErrors.count(), 0);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(gets(*m_server, path).size(), 1);
    QVERIFY(m.tasks().first()->isStopped());
    QVERIFY(!m.isDownloading());
    QVERIFY(!QFile::exists(folder() + "/pkg.7z"));
    QCOMPARE(m.getDownloadedSize(), 0);
}

void TestDownloadManager::rangeIgnoredByServerStillGivesCorrectFile()
{
    const QByteArray data = randomBytes(2 * 1024 * 1024, 9);
    const QString path = serve("pkg.7z", data);
    m_server->addFault(path, HttpTestServer::Fault::throttle(400 * 1024), 1, "GET");
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy md5Finish(&m, &downloadmanager::md5CheckFinish);
    start(m, path, md5Hex(data));
    QTRY_VERIFY_WITH_TIMEOUT(m.getDownloadedSize() > 0, 10000);
    m.stopDownlaod();
    const qint64 written = m.getDownloadedSize();

    m_server->addFault(path, HttpTestServer::Fault::ignoreRange(), 1, "GET");
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(rangeStart(gets(*m_server, path).last()), written);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    m.fileMd5(folder() + "/pkg.7z");
    QTRY_COMPARE_WITH_TIMEOUT(md5Finish.count(), 1, 10000);
    QCOMPARE(errors.count(), 0);
}

void TestDownloadManager::wrongPartialAnswerStartsTheRangeAgain_data()
{
    QTest::addColumn<bool>("longBody");
    QTest::addColumn<qint64>("bytes");
    QTest::newRow("starts later than asked") << false << qint64(4096);
    QTest::newRow("starts earlier than asked") << false << qint64(-4096);
    QTest::newRow("body longer than its range") << true << qint64(4096);
}

void TestDownloadManager::wrongPartialAnswerStartsTheRangeAgain()
{
    QFETCH(bool, longBody);
    QFETCH(qint64, bytes);
    const HttpTestServer::Fault fault = longBody ? HttpTestServer::Fault::longBody(bytes)
                                                 : HttpTestServer::Fault::shiftRange(bytes);
    const QByteArray data = randomBytes(2 * 1024 * 1024, 11);
    const QString path = serve("pkg.7z", data);
    // The connection breaks; the resend asking for the rest gets the wrong answer.
    m_server->addFault(path, HttpTestServer::Fault::dropAfter(512 * 1024), 1, "GET");
    m_server->addFault(path, fault, 1, "GET");
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy httpErrors(&m, &downloadmanager::httpError);
    start(m, path, md5Hex(data));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(httpErrors.count(), 0);
    const auto requests = gets(*m_server, path);
    QCOMPARE(requests.size(), 3);
    QVERIFY(rangeStart(requests.at(1)) > 0);
    QCOMPARE(rangeStart(requests.at(2)), qint64(0));
}

// Without a Content-Length only the Content-Range bounds the body: a single byte past it
// shifts everything written after it.
void TestDownloadManager::unannouncedLongBodyStartsTheRangeAgain_data()
{
    QTest::addColumn<qint64>("extra");
    QTest::newRow("one byte past its range") << qint64(1);
    QTest::newRow("4 KiB past its range") << qint64(4096);
}

void TestDownloadManager::unannouncedLongBodyStartsTheRangeAgain()
{
    QFETCH(qint64, extra);
    const QByteArray data = randomBytes(2 * 1024 * 1024, 12);
    const QString path = serve("pkg.7z", data);
    m_server->addFault(path, HttpTestServer::Fault::dropAfter(512 * 1024), 1, "GET");
    m_server->addFault(path, HttpTestServer::Fault::longBodyNoLength(extra), 1, "GET");
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    start(m, path, md5Hex(data));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    const auto requests = gets(*m_server, path);
    QCOMPARE(requests.size(), 3);
    QVERIFY(rangeStart(requests.at(1)) > 0);
    QCOMPARE(rangeStart(requests.at(2)), qint64(0));
}

void TestDownloadManager::existingFinalFileIsReplaced()
{
    const QByteArray data = randomBytes(300 * 1024, 10);
    const QString path = serve("pkg.7z", data);
    QVERIFY(writeFile(folder() + "/pkg.7z", "an older package"));
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    start(m, path);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    QVERIFY(!QFile::exists(folder() + "/pkg.7z_tmp"));
}

void TestDownloadManager::failedRenameIsReportedAndRetriedOnNextStart_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<qint64>("bytesPerSecond"); // 0: as fast as loopback goes
    QTest::newRow("one piece") << 300 * 1024 << qint64(0);
    // Pieces for longer than the record's save interval: the last ones arrive after its save.
    QTest::newRow("many pieces") << 700 * 1024 << qint64(2 * 1024 * 1024);
}

void TestDownloadManager::failedRenameIsReportedAndRetriedOnNextStart()
{
    QFETCH(int, size);
    QFETCH(qint64, bytesPerSecond);
    const QByteArray data = randomBytes(size, 11);
    const QString path = serve("pkg.7z", data);
    if (bytesPerSecond > 0)
        m_server->addFault(path, HttpTestServer::Fault::throttle(bytesPerSecond), 1, "GET");
    // Something that cannot be removed stands under the final name.
    QVERIFY(QDir().mkpath(folder() + "/pkg.7z/inside"));
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    start(m, path);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 20000);
    QCOMPARE(errors.first().at(0).value<ErrorCode>(), ErrorDefine::SETUP_DELETE_OLD_GAME_ERROR);
    QCOMPARE(finished.count(), 0);
    QVERIFY(!m.isDownloading());
    QCOMPARE(readFile(folder() + "/pkg.7z_tmp"), data);
    QCOMPARE(QSettings().value("pkg.7z/0").toLongLong(), qint64(data.size()));

    QVERIFY(QDir(folder() + "/pkg.7z").removeRecursively());
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
    QCOMPARE(gets(*m_server, path).size(), 1); // nothing fetched twice
    QVERIFY(!QSettings().contains("pkg.7z/0"));
}

void TestDownloadManager::sizeRequestFailuresReport1005()
{
    const QByteArray data = randomBytes(200 * 1024, 12);
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);

    start(m, "/files/missing.7z");
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 10000);
    QCOMPARE(errors.last().at(0).value<ErrorCode>(), ErrorDefine::DOWNLOAD_NETWORK_GETHEADER_ERROR);
    QCOMPARE(errors.last().at(1).toString(),
             QStringLiteral("message_error_resource_acquisition_failed(404)"));
    QVERIFY(!m.isDownloading());
    QVERIFY(QDir(folder()).isEmpty());

    // Starting again once the package exists asks for the size again, then downloads.
    serve("missing.7z", data);
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(readFile(folder() + "/missing.7z"), data);

    // A redirect loop ends in the same error instead of asking forever.
    m_server->redirect("/loop/a.7z", "/loop/b.7z");
    m_server->redirect("/loop/b.7z", "/loop/a.7z");
    m.setUrl(m_server->url("/loop/a.7z"));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 2, 10000);
    QCOMPARE(errors.last().at(1).toString(),
             QStringLiteral("message_error_resource_acquisition_failed(302)"));
    // ...and the next package may redirect again.
    m_server->redirect("/hop.7z", "/files/missing.7z");
    start(m, "/hop.7z");
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QCOMPARE(readFile(folder() + "/missing.7z"), data);

    // Without a length there is nothing to preallocate.
    const QString path = serve("nolength.7z", data);
    m_server->addFault(path, HttpTestServer::Fault::noContentLength(), 1, "HEAD");
    start(m, path);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 3, 10000);
    QCOMPARE(errors.last().at(1).toString(),
             QStringLiteral("message_error_resource_acquisition_failed(200)"));
    QVERIFY(!QFile::exists(folder() + "/nolength.7z_tmp"));
    QCOMPARE(finished.count(), 2);
}

void TestDownloadManager::startBeforeSizeIsKnownCreatesNothing()
{
    const QByteArray data = randomBytes(200 * 1024, 13);
    const QString path = serve("pkg.7z", data);
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    m.setFilePath(folder());
    m.startDownload(); // no URL and no size yet
    QCoreApplication::processEvents();
    QVERIFY(!m.isDownloading());
    QVERIFY(QDir(folder()).isEmpty());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(errors.count(), 0);

    // During the size request the start is only a wish that the answer fulfils.
    m.setUrl(m_server->url(path));
    m.startDownload();
    QVERIFY(QDir(folder()).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
}

void TestDownloadManager::md5Check_data()
{
    const QByteArray data = randomBytes(5 * 1024 * 1024 + 3, 14);
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("matches");
    QTest::newRow("lower-case sum") << data << true << md5Hex(data) << true;
    QTest::newRow("upper-case sum") << data << true << md5Hex(data).toUpper() << true;
    QTest::newRow("no sum expected") << data << true << QString() << true;
    QTest::newRow("wrong sum") << data << true << md5Hex(data + "x") << false;
    QTest::newRow("unreadable file") << QByteArray() << false << md5Hex(QByteArray()) << false;
}

void TestDownloadManager::md5Check()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, present);
    QFETCH(QString, expected);
    QFETCH(bool, matches);
    const QString file = folder() + "/pkg.7z";
    if (present)
        QVERIFY(writeFile(file, content));

    downloadmanager m;
    m.setFilePath(folder());
    serve("pkg.7z", content); // the manager's own package, so a mismatch deletes this file
    m.setUrl(m_server->url("/files/pkg.7z"));
    m.setFileMD5(expected);
    QSignalSpy started(&m, &downloadmanager::md5CheckStart);
    QSignalSpy finished(&m, &downloadmanager::md5CheckFinish);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    m.fileMd5(file);
    QCOMPARE(started.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count() + errors.count(), 1, 10000);
    QCOMPARE(finished.count(), matches ? 1 : 0);
    if (matches) {
        QCOMPARE(readFile(file), content);
    } else {
        QCOMPARE(errors.first().at(0).value<ErrorCode>(), ErrorDefine::DOWNLOAD_MD5_ERROR);
        QCOMPARE(errors.first().at(1).toString(), QStringLiteral("message_error_download_md5"));
        QVERIFY(!QFile::exists(file));
    }
}

void TestDownloadManager::diskFullWhilePreallocatingReports1001AndLosesNothing()
{
    if (geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root; tst_downloadprocess covers a file-size limit");
    const QString small = m_dir->path() + QStringLiteral("/small");
    QVERIFY(QDir().mkpath(small));
    if (mount("tmpfs", small.toLocal8Bit().constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("this system does not allow mounting a tmpfs");
    struct Unmount
    {
        QString path;
        ~Unmount() { umount2(path.toLocal8Bit().constData(), MNT_DETACH); }
    } unmount{small};

    const QByteArray keep = randomBytes(100 * 1024, 15);
    const QByteArray partial = randomBytes(200 * 1024, 16);
    QVERIFY(writeFile(small + "/keep.dat", keep));
    const QString path = serve("big.7z", randomBytes(4 * 1024 * 1024, 17));

    downloadmanager m;
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    m.setFilePath(small);
    m.setUrl(m_server->url(path));
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 10000);
    QCOMPARE(errors.first().at(0).value<ErrorCode>(), ErrorDefine::DOWNLOAD_EXIST_SIZE_ERROR);
    QCOMPARE(errors.first().at(1).toString(), QStringLiteral("message_disk_not_enough_space"));
    QVERIFY(!m.isDownloading());
    QCOMPARE(QDir(small).entryList(QDir::Files), QStringList{"keep.dat"});
    QCOMPARE(readFile(small + "/keep.dat"), keep);
    QCOMPARE(gets(*m_server, path).size(), 0);

    // A partial file from an earlier run is neither grown nor cut.
    QVERIFY(writeFile(small + "/big.7z_tmp", partial));
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 2, 10000);
    QCOMPARE(errors.last().at(0).value<ErrorCode>(), ErrorDefine::DOWNLOAD_EXIST_SIZE_ERROR);
    QCOMPARE(readFile(small + "/big.7z_tmp"), partial);
    QCOMPARE(readFile(small + "/keep.dat"), keep);
    QCOMPARE(finished.count(), 0);
}

void TestDownloadManager::resumeAcrossRunsContinuesOnlyTheSameObject_data()
{
    QTest::addColumn<QString>("between");
    // Nothing changes between the two runs: the second continues with If-Range.
    QTest::newRow("same object") << "nothing";
    // The publisher rewrote the file under the same name, same size: its HEAD names another
    // object, so nothing of the old bytes is kept.
    QTest::newRow("replaced, HEAD names it") << "replaced";
    // The same, but HEAD is refused: the GET's If-Range brings the whole new object.
    QTest::newRow("replaced, HEAD refused") << "replacedNoHead";
    // A record from before validators were kept still resumes.
    QTest::newRow("old record without validator") << "oldRecord";
}

void TestDownloadManager::resumeAcrossRunsContinuesOnlyTheSameObject()
{
    QFETCH(QString, between);
    const QByteArray data = randomBytes(2 * 1024 * 1024, 51);
    const QByteArray newer = randomBytes(data.size(), 52);
    const QString path = serve("pkg.7z", data);
    m_server->addFault(path, HttpTestServer::Fault::stallAfter(300000), 1, "GET");
    {
        downloadmanager first;
        first.setStallTimeout(60000);
        start(first, path);
        QTRY_VERIFY_WITH_TIMEOUT(first.getDownloadedSize() == 300000, 10000);
        first.stopDownlaod();
    } // the launcher quits
    m_server->closeAllConnections();
    QSettings settings;
    QVERIFY(!settings.value("pkg.7z/etag").toString().isEmpty());
    QCOMPARE(settings.value("pkg.7z/size").toLongLong(), qint64(data.size()));
    QByteArray expected = data;
    if (between.startsWith("replaced")) {
        const QString source = m_dir->path() + "/served/pkg.7z";
        QFile::remove(source);
        QVERIFY(writeFile(source, newer));
        expected = newer;
    }
    if (between == "replacedNoHead")
        m_server->addFault(path, HttpTestServer::Fault::status(403), -1, "HEAD");
    if (between == "oldRecord") {
        settings.remove("pkg.7z/etag");
        settings.remove("pkg.7z/size");
    }
    settings.sync();

    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    m.setExpectedSize(data.size());
    start(m, path, md5Hex(expected));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(readFile(folder() + "/pkg.7z"), expected);
    const auto requests = gets(*m_server, path);
    if (between == "nothing" || between == "oldRecord") {
        QCOMPARE(rangeStart(requests.last()), 300000);
        QVERIFY(requests.last().hasHeader("if-range"));
    } else {
        QCOMPARE(rangeStart(requests.last()), 0);
    }
    QVERIFY(!QSettings().contains("pkg.7z/etag"));
}

void TestDownloadManager::savedNameComesFromAnswerThenServerThenAddress_data()
{
    // An empty "saved" stands for a name the manager makes: whatever the address or a redirect
    // ends in (config.ini, the launcher's own program, a library the system loads beside it), a
    // file of that name already in the folder must come out untouched.
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("redirectTo");
    QTest::addColumn<QString>("answerName");
    QTest::addColumn<QByteArray>("disposition");
    QTest::addColumn<QString>("saved");
    const QString php = QStringLiteral("/download.php?file=7");
    QTest::newRow("answer's name") << php << ""
                                   << "Game_1.0.7z" << QByteArray() << "Game_1.0.7z";
    QTest::newRow("answer's display name, server's file name")
        << php << ""
        << "Game" << QByteArray("attachment; filename=\"Game_1.0.zip\"") << "Game_1.0.zip";
    QTest::newRow("encoded file name")
        << php << ""
        << "" << QByteArray("attachment; filename=x.7z; filename*=UTF-8''Spiel%20%C3%A9.7z")
        << QString::fromUtf8("Spiel \xC3\xA9.7z");
    QTest::newRow("names that leave the folder are not names")
        << php << ""
        << "../Game.7z" << QByteArray("attachment; filename=\"/etc/Game.7z\"") << "";
    QTest::newRow("only the address") << php << ""
                                      << "" << QByteArray() << "";
    QTest::newRow("address naming the launcher's settings") << "/skin/config.ini"
                                                            << ""
                                                            << "" << QByteArray() << "";
    QTest::newRow("address naming a program") << "/bin/launcher"
                                              << ""
                                              << "" << QByteArray() << "";
    QTest::newRow("address naming a library") << "/plugin/version.dll"
                                              << ""
                                              << "" << QByteArray() << "";
    QTest::newRow("redirect to the launcher's settings") << "/get/Plugin.7z"
                                                         << "/cdn/config.ini"
                                                         << "" << QByteArray() << "Plugin.7z";
    QTest::newRow("redirect from an address without a package's name to a program")
        << "/get?id=4"
        << "/cdn/payload.exe"
        << "" << QByteArray() << "";
    QTest::newRow("redirect to a package's name") << "/get?id=5"
                                                  << "/cdn/Plugin_2.zip"
                                                  << "" << QByteArray() << "Plugin_2.zip";
}

void TestDownloadManager::savedNameComesFromAnswerThenServerThenAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, redirectTo);
    QFETCH(QString, answerName);
    QFETCH(QByteArray, disposition);
    QFETCH(QString, saved);
    const QByteArray data = randomBytes(64 * 1024, 53);
    QList<QPair<QByteArray, QByteArray>> headers;
    if (!disposition.isEmpty())
        headers.append({"Content-Disposition", disposition});
    const QString servedPath = QUrl(redirectTo.isEmpty() ? address : redirectTo).path();
    m_server->serveData(servedPath, data, "application/octet-stream", 200, headers);
    if (!redirectTo.isEmpty())
        m_server->redirect(QUrl(address).path(), redirectTo, 302);

    // What sits in the folder under every name the address and the redirect end in.
    QStringList bystanders;
    for (const QString &name : {QUrl(address).fileName(), QUrl(redirectTo).fileName()}) {
        if (!name.isEmpty() && name != saved) {
            QVERIFY(writeFile(folder() + "/" + name, "keep"));
            bystanders << name;
        }
    }

    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    m.setPackageName(answerName);
    start(m, address, md5Hex(data));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    const QString name = m.fileName();
    if (saved.isEmpty()) {
        QVERIFY2(downloadmanager::isPackageFileName(name), qPrintable(name));
        QVERIFY2(!bystanders.contains(name), qPrintable(name));
    } else {
        QCOMPARE(name, saved);
    }
    QCOMPARE(readFile(folder() + "/" + name), data);
    for (const QString &bystander : qAsConst(bystanders))
        QCOMPARE(readFile(folder() + "/" + bystander), QByteArray("keep"));
    QStringList expected = bystanders;
    expected << name;
    expected.sort();
    QStringList present = QDir(folder()).entryList(QDir::Files);
    present.sort();
    QCOMPARE(present, expected);
    // The next manager (the next start) finds the same file again.
    downloadmanager next;
    QCOMPARE(next.savedFileName(m_server->url(address)), name);
}

void TestDownloadManager::certificateProblemsAreToldInPlainWords_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<int>("code");
    QTest::newRow("not trusted") << "127.0.0.1" << false
                                 << int(ErrorDefine::DOWNLOAD_CERTIFICATE_UNTRUSTED);
    QTest::newRow("trusted, for another name")
        << "other.invalid" << true << int(ErrorDefine::DOWNLOAD_CERTIFICATE_WRONG_NAME);
}

void TestDownloadManager::certificateProblemsAreToldInPlainWords()
{
    QFETCH(QString, subject);
    QFETCH(bool, trusted);
    QFETCH(int, code);
    const QString cert = m_dir->filePath("cert.pem");
    const QString key = m_dir->filePath("key.pem");
    const QString san =
        (subject.front().isDigit() ? QStringLiteral("IP:") : QStringLiteral("DNS:")) + subject;
    QProcess openssl;
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-keyout", key,
                   "-out", cert, "-subj", "/CN=" + subject, "-addext", "subjectAltName=" + san});
    QVERIFY(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    TlsListener listener;
    listener.certificate = QSslCertificate(readFile(cert));
    listener.key = QSslKey(readFile(key), QSsl::Rsa);
    QVERIFY(!listener.certificate.isNull() && !listener.key.isNull());
    QVERIFY(listener.listen(QHostAddress::LocalHost));

    const QSslConfiguration saved = QSslConfiguration::defaultConfiguration();
    if (trusted) {
        QSslConfiguration withCa = saved;
        withCa.addCaCertificate(listener.certificate);
        QSslConfiguration::setDefaultConfiguration(withCa);
    }
    downloadmanager m;
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    QSignalSpy httpErrors(&m, &downloadmanager::httpError);
    m.setExpectedSize(1000);
    m.setFilePath(folder());
    m.setUrl(QUrl(QStringLiteral("https://127.0.0.1:%1/pkg.7z").arg(listener.serverPort())));
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(errors.count() + httpErrors.count(), 1, 20000);
    QSslConfiguration::setDefaultConfiguration(saved);
    const QList<QVariant> error = errors.isEmpty() ? httpErrors.first() : errors.first();
    QCOMPARE(int(error.at(0).value<ErrorCode>()), code);
    QVERIFY(error.at(1).toString().startsWith("message_error_certificate_"));
    // Refused before anything was written.
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(TestDownloadManager)
#include "tst_downloadmanager.moc"
