#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <sys/mount.h>
#include <unistd.h>

#include "downloadmanager.h"
#include "downloadtask.h"
#include "errordefine.h"
#include "httptestserver.h"
#include "taskmodel.h"
#include "transfertestutil.h"

using namespace TransferTest;

class tst_UpdateDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void downloadsPackageAndRenamesItAfterDigestMatch();
    void resumesFromPartialFileWithOpenEndedRange();
    void retriesDroppedConnectionsAndResumesFromDisk();
    void reportsNetworkFailureOnFifthAttempt();
    void retriesStallsSilentlyUntilTheFifth();
    void digestMismatchDeletesPartialFile();
    void serverIgnoringRangeRestartsFileFromFirstByte();
    void completePartialFileIsConfirmedByHeadAfter416();
    void headRedirectIsResolvedAndUsedForLaterRequests();
    void incompletePartialAfter416IsReported();
    void existingPackageWithRightDigestSendsNoRequest();
    void existingPackageWithWrongDigestIsDownloadedAgain();
    void unexpectedStatusIsReportedWithItsNumber();
    void redirectOnTransferIsNotTakenForThePackage();
    void uncreatableFolderIsReported();
    void partialFileThatCannotBeOpenedIsReported();
    void sameUrlAndFolderMakeOneTaskButNewGroup();
    void groupFinishesAfterEveryTaskWithSummedProgress();
    void fullDiskIsReportedAndPartialFileKept();
    void pauseKeepsPartialFileAndResumeAsksForTheRest();

private:
    struct Outcome
    {
        int finished = 0;
        QList<QPair<int, QString>> errors;
        QList<QPair<qlonglong, qlonglong>> progress;
    };
    int addDownload(const QString &url, const QString &md5, const QString &folder);
    Outcome runGroup(int groupId, const std::function<void(DownloadTask *)> &setup = {},
                     int timeoutMs = 30000);
    DownloadTask *taskOf(int groupId) const;

    QTemporaryDir *m_dir = nullptr;
    HttpTestServer *m_server = nullptr;
    QByteArray m_package;
};

void tst_UpdateDownload::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ErrorDefine::registerMetaTypes();
    m_package = noise(700 * 1024, 7);
}

void tst_UpdateDownload::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_server = new HttpTestServer;
    QVERIFY(m_server->listen());
    QVERIFY(writeFile(m_dir->filePath("served/launcher.7z"), m_package));
    m_server->serveFile("/pkg/launcher.7z", m_dir->filePath("served/launcher.7z"));
}

void tst_UpdateDownload::cleanup()
{
    DownloadManager::instance()->removeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete m_server;
    m_server = nullptr;
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    delete m_dir;
    m_dir = nullptr;
}

int tst_UpdateDownload::addDownload(const QString &url, const QString &md5, const QString &folder)
{
    TaskModel record;
    record.url = url;
    record.md5 = md5;
    record.folder = folder;
    return DownloadManager::instance()->addTasks({&record}, 1);
}

DownloadTask *tst_UpdateDownload::taskOf(int groupId) const
{
    for (DownloadTask *task : DownloadManager::instance()->tasks()) {
        if (task->taskModel()->groupId == groupId)
            return task;
    }
    return nullptr;
}

tst_UpdateDownload::Outcome
tst_UpdateDownload::runGroup(int groupId, const std::function<void(DownloadTask *)> &setup,
                             int timeoutMs)
{
    Outcome outcome;
    DownloadManager *manager = DownloadManager::instance();
    QObject context;
    connect(manager, &DownloadManager::finish, &context, [&](int id) {
        if (id == groupId)
            ++outcome.finished;
    });
    connect(manager, &DownloadManager::error, &context,
            [&](int code, const QString &msg, int id, TaskModel *) {
                if (id == groupId)
                    outcome.errors.append({code, msg});
            });
    connect(manager, &DownloadManager::progress, &context,
            [&](qlonglong read, qlonglong total, int id) {
                if (id == groupId)
                    outcome.progress.append({read, total});
            });
    if (setup) {
        for (DownloadTask *task : manager->tasks()) {
            if (task->taskModel()->groupId == groupId)
                setup(task);
        }
    }
    manager->startGroup(groupId);
    QElapsedTimer clock;
    clock.start();
    while (outcome.finished == 0 && outcome.errors.isEmpty() && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    // Let anything that would come late (a second report) arrive before judging.
    QTest::qWait(50);
    return outcome;
}

void tst_UpdateDownload::downloadsPackageAndRenamesItAfterDigestMatch()
{
    const QString folder = m_dir->filePath("pkg/nested");
    const int group = addDownload(m_server->url("/pkg/launcher.7z").toString(),
                                  md5Hex(m_package).toUpper(), folder);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);
    QVERIFY(!QFile::exists(folder + "/launcher.7z_tmp"));
    QVERIFY(!outcome.progress.isEmpty());
    QCOMPARE(outcome.progress.last().second, qlonglong(m_package.size()));
    QVERIFY(outcome.progress.last().first <= outcome.progress.last().second);
    // A finished group leaves the manager.
    QCOMPARE(DownloadManager::instance()->tasks().size(), 0);
    const auto gets = m_server->requestsFor("/pkg/launcher.7z");
    QCOMPARE(gets.size(), 1);
    QVERIFY(!gets.first().hasHeader("range"));
}

void tst_UpdateDownload::resumesFromPartialFileWithOpenEndedRange()
{
    const QByteArray big = noise(3'200'000, 11);
    QVERIFY(writeFile(m_dir->filePath("served/big.7z"), big));
    m_server->serveFile("/big.7z", m_dir->filePath("served/big.7z"));
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(writeFile(folder + "/big.7z_tmp", big.left(3'000'000)));

    const int group = addDownload(m_server->url("/big.7z").toString(), md5Hex(big), folder);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    const auto requests = m_server->requestsFor("/big.7z");
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().header("range"), QByteArray("bytes=3000000-"));
    // The size is the answer's length plus what was already on disk.
    QCOMPARE(outcome.progress.last().second, qlonglong(big.size()));
    QCOMPARE(readFile(folder + "/big.7z"), big);
}

void tst_UpdateDownload::retriesDroppedConnectionsAndResumesFromDisk()
{
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::dropAfter(100000), 2, "GET");
    const QString folder = m_dir->filePath("pkg");
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);
    const auto requests = m_server->requestsFor("/pkg/launcher.7z");
    QCOMPARE(requests.size(), 3);
    // Each retry asks for what is on disk: never from the start, never past what was sent.
    auto rangeStart = [](const HttpTestServer::Request &request) {
        QByteArray value = request.header("range");
        if (!value.startsWith("bytes=") || !value.endsWith("-"))
            return qint64(-1);
        return value.mid(6, value.size() - 7).toLongLong();
    };
    const qint64 second = rangeStart(requests.at(1));
    const qint64 third = rangeStart(requests.at(2));
    QVERIFY2(second > 0 && second <= 100000, requests.at(1).header("range").constData());
    QVERIFY2(third > second && third <= second + 100000,
             requests.at(2).header("range").constData());
}

void tst_UpdateDownload::reportsNetworkFailureOnFifthAttempt()
{
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::dropAfter(1000), -1, "GET");
    const QString folder = m_dir->filePath("pkg");
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_NETWORK_REPLY_ERROR));
    QVERIFY(outcome.errors.first().second.startsWith(
        "message_error_network_reply_please_check_network["));
    QCOMPARE(m_server->requestCount("/pkg/launcher.7z"), 5);
    // What arrived stays for a later attempt.
    QCOMPARE(readFile(folder + "/launcher.7z_tmp"), m_package.left(5000));
    QVERIFY(!QFile::exists(folder + "/launcher.7z"));
}

void tst_UpdateDownload::retriesStallsSilentlyUntilTheFifth()
{
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::stallAfter(500), 4, "GET");
    const QString folder = m_dir->filePath("pkg");
    int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    Outcome outcome = runGroup(group, [](DownloadTask *task) { task->setStallInterval(300); });
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(m_server->requestCount("/pkg/launcher.7z"), 5);
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);

    // Five stalls in a row: the fifth is reported.
    QFile::remove(folder + "/launcher.7z");
    m_server->clearRequests();
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::stallAfter(500), -1, "GET");
    group = addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    outcome = runGroup(group, [](DownloadTask *task) { task->setStallInterval(300); });
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().second, QString("message_request_time_out"));
    QCOMPARE(m_server->requestCount("/pkg/launcher.7z"), 5);
    QCOMPARE(readFile(folder + "/launcher.7z_tmp"), m_package.left(2500));
}

void tst_UpdateDownload::digestMismatchDeletesPartialFile()
{
    const QString folder = m_dir->filePath("pkg");
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex("other"), folder);
    const Outcome outcome = runGroup(group);
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_MD5_ERROR));
    QCOMPARE(outcome.errors.first().second, QString("message_error_download_md5"));
    QVERIFY(!QFile::exists(folder + "/launcher.7z_tmp"));
    QVERIFY(!QFile::exists(folder + "/launcher.7z"));
}

void tst_UpdateDownload::serverIgnoringRangeRestartsFileFromFirstByte()
{
    // Without a digest to catch it, appending a whole second copy would pass unnoticed.
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::ignoreRange(), 1, "GET");
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(writeFile(folder + "/launcher.7z_tmp", QByteArray(4000, 'x')));
    const int group = addDownload(m_server->url("/pkg/launcher.7z").toString(), QString(), folder);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(m_server->requestsFor("/pkg/launcher.7z").first().header("range"),
             QByteArray("bytes=4000-"));
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);
    QCOMPARE(outcome.progress.last().second, qlonglong(m_package.size()));
}

void tst_UpdateDownload::completePartialFileIsConfirmedByHeadAfter416()
{
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(writeFile(folder + "/launcher.7z_tmp", m_package));
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    const auto requests = m_server->requestsFor("/pkg/launcher.7z");
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(0).method, QByteArray("GET"));
    QCOMPARE(requests.at(1).method, QByteArray("HEAD"));
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);
    QVERIFY(!QFile::exists(folder + "/launcher.7z_tmp"));
}

void tst_UpdateDownload::headRedirectIsResolvedAndUsedForLaterRequests()
{
    QVERIFY(writeFile(m_dir->filePath("served/moved.7z"), m_package));
    m_server->redirect("/pkg/old.7z", "moved/old.7z", 302);
    m_server->addFault("/pkg/old.7z", HttpTestServer::Fault::status(416), 1, "GET");
    m_server->serveFile("/pkg/moved/old.7z", m_dir->filePath("served/moved.7z"));
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(writeFile(folder + "/old.7z_tmp", m_package));
    const int group =
        addDownload(m_server->url("/pkg/old.7z").toString(), md5Hex(m_package), folder);
    DownloadTask *task = taskOf(group);
    QVERIFY(task);
    QSignalSpy sizes(task, &DownloadTask::fileSize);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(sizes.count(), 1);
    QCOMPARE(sizes.first().at(0).toInt(), 0);
    QCOMPARE(m_server->requestsFor("/pkg/old.7z").size(), 2);
    const auto moved = m_server->requestsFor("/pkg/moved/old.7z");
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved.first().method, QByteArray("HEAD"));
    QCOMPARE(readFile(folder + "/old.7z"), m_package);
}

void tst_UpdateDownload::incompletePartialAfter416IsReported()
{
    // The server claims the range is past the end, but the package is larger than what we hold.
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::status(416), 1, "GET");
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(writeFile(folder + "/launcher.7z_tmp", m_package.left(1000)));
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_NETWORK_ERROR));
    QCOMPARE(outcome.errors.first().second, QString("message_error_download_network"));
    QCOMPARE(readFile(folder + "/launcher.7z_tmp"), m_package.left(1000));
}

void tst_UpdateDownload::existingPackageWithRightDigestSendsNoRequest()
{
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(writeFile(folder + "/launcher.7z", m_package));
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QVERIFY(outcome.errors.isEmpty());
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(m_server->requestCount(), 0);
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);
}

void tst_UpdateDownload::existingPackageWithWrongDigestIsDownloadedAgain()
{
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(writeFile(folder + "/launcher.7z", "stale package"));
    QVERIFY(writeFile(folder + "/launcher.7z_tmp", m_package.left(200000)));
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(m_server->requestsFor("/pkg/launcher.7z").first().header("range"),
             QByteArray("bytes=200000-"));
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);
}

void tst_UpdateDownload::unexpectedStatusIsReportedWithItsNumber()
{
    m_server->serveData("/gone.7z", "not here", "text/plain", 404);
    const QString folder = m_dir->filePath("pkg");
    const int group = addDownload(m_server->url("/gone.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_NETWORK_ERROR));
    QCOMPARE(outcome.errors.first().second, QString("message_error_network_reply[404]"));
    QCOMPARE(m_server->requestCount("/gone.7z"), 1);
    QVERIFY(!QFile::exists(folder + "/gone.7z"));
}

void tst_UpdateDownload::redirectOnTransferIsNotTakenForThePackage()
{
    // A bodiless redirect must fail as a redirect, not pass as an empty package.
    m_server->redirect("/elsewhere.7z", "/pkg/launcher.7z", 302);
    const QString folder = m_dir->filePath("pkg");
    const int group = addDownload(m_server->url("/elsewhere.7z").toString(), QString(), folder);
    const Outcome outcome = runGroup(group);
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_NETWORK_ERROR));
    QVERIFY(outcome.errors.first().second.endsWith("[302]"));
    QVERIFY(!QFile::exists(folder + "/elsewhere.7z"));
}

void tst_UpdateDownload::uncreatableFolderIsReported()
{
    QVERIFY(writeFile(m_dir->filePath("plainfile"), "x"));
    const int group = addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package),
                                  m_dir->filePath("plainfile/pkg"));
    const Outcome outcome = runGroup(group);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::SETUP_CREATE_FOLDER_ERROR));
    QCOMPARE(outcome.errors.first().second, QString("message_setup_create_floder_error"));
    QCOMPARE(m_server->requestCount(), 0);
    QCOMPARE(readFile(m_dir->filePath("plainfile")), QByteArray("x"));
}

void tst_UpdateDownload::partialFileThatCannotBeOpenedIsReported()
{
    const QString folder = m_dir->filePath("pkg");
    QVERIFY(QDir().mkpath(folder + "/launcher.7z_tmp"));
    QVERIFY(writeFile(folder + "/launcher.7z_tmp/keep", "untouched"));
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    const Outcome outcome = runGroup(group);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_OPEN_FILE_ERROR));
    QCOMPARE(outcome.errors.first().second, QString("message_error_open_file_failed"));
    QCOMPARE(m_server->requestCount(), 0);
    QCOMPARE(readFile(folder + "/launcher.7z_tmp/keep"), QByteArray("untouched"));
}

void tst_UpdateDownload::sameUrlAndFolderMakeOneTaskButNewGroup()
{
    const QString url = m_server->url("/pkg/launcher.7z").toString();
    const QString folder = m_dir->filePath("pkg");
    const int first = addDownload(url, QString(), folder);
    const int second = addDownload(url, QString(), folder);
    QCOMPARE(second, first + 1);
    QCOMPARE(DownloadManager::instance()->tasks().size(), 1);
    // Another folder is another task.
    addDownload(url, QString(), m_dir->filePath("other"));
    QCOMPARE(DownloadManager::instance()->tasks().size(), 2);
}

void tst_UpdateDownload::groupFinishesAfterEveryTaskWithSummedProgress()
{
    const QByteArray second = noise(300 * 1024, 3);
    QVERIFY(writeFile(m_dir->filePath("served/second.7z"), second));
    m_server->serveFile("/second.7z", m_dir->filePath("served/second.7z"));
    m_server->addFault("/second.7z", HttpTestServer::Fault::throttle(2 * 1024 * 1024), 1, "GET");
    TaskModel a;
    a.url = m_server->url("/pkg/launcher.7z").toString();
    a.md5 = md5Hex(m_package);
    a.folder = m_dir->filePath("pkg");
    TaskModel b;
    b.url = m_server->url("/second.7z").toString();
    b.md5 = md5Hex(second);
    b.folder = m_dir->filePath("pkg");
    const int group = DownloadManager::instance()->addTasks({&a, &b}, 1);
    QCOMPARE(a.groupId, group);
    QCOMPARE(b.groupId, group);
    const Outcome outcome = runGroup(group);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(outcome.progress.last().second, qlonglong(m_package.size() + second.size()));
    for (const auto &step : outcome.progress)
        QVERIFY(step.first <= qlonglong(m_package.size() + second.size()));
    QCOMPARE(readFile(a.folder + "/launcher.7z"), m_package);
    QCOMPARE(readFile(b.folder + "/second.7z"), second);
}

void tst_UpdateDownload::fullDiskIsReportedAndPartialFileKept()
{
    if (geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root");
    const QString small = m_dir->filePath("small");
    QVERIFY(QDir().mkpath(small));
    if (mount("tmpfs", small.toLocal8Bit().constData(), "tmpfs", 0, "size=256k") != 0)
        QSKIP("this system does not allow mounting a tmpfs");
    struct Unmount
    {
        QString path;
        ~Unmount() { umount2(path.toLocal8Bit().constData(), MNT_DETACH); }
    } unmount{small};

    // Announced length above the free space: refused before the first write.
    int group = addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), small);
    Outcome outcome = runGroup(group);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_EXIST_SIZE_ERROR));
    QCOMPARE(outcome.errors.first().second, QString("message_disk_not_enough_space"));
    QVERIFY(!QFile::exists(small + "/launcher.7z"));
    DownloadManager::instance()->removeAll();

    // No length announced: the write itself fails and says so.
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::noContentLength(), 1, "GET");
    group = addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), small);
    outcome = runGroup(group);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::DOWNLOAD_WRITE_BUFFER_ERROR));
    const QByteArray kept = readFile(small + "/launcher.7z_tmp");
    QVERIFY(kept.size() > 0);
    QCOMPARE(kept, m_package.left(kept.size()));
    QVERIFY(!QFile::exists(small + "/launcher.7z"));
}

void tst_UpdateDownload::pauseKeepsPartialFileAndResumeAsksForTheRest()
{
    m_server->addFault("/pkg/launcher.7z", HttpTestServer::Fault::throttle(256 * 1024), 1, "GET");
    const QString folder = m_dir->filePath("pkg");
    const int group =
        addDownload(m_server->url("/pkg/launcher.7z").toString(), md5Hex(m_package), folder);
    DownloadManager *manager = DownloadManager::instance();
    QSignalSpy finished(manager, &DownloadManager::finish);
    QSignalSpy failed(manager, &DownloadManager::error);
    manager->startGroup(group);
    const QString partial = folder + "/launcher.7z_tmp";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() > 100000, 10000);
    manager->pauseAll();
    QVERIFY(taskOf(group)->isStopped());
    const qint64 kept = QFileInfo(partial).size();
    QVERIFY(kept < m_package.size());
    QCOMPARE(readFile(partial), m_package.left(kept));

    manager->resumeAll();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count() + failed.count(), 1, 20000);
    QCOMPARE(failed.count(), 0);
    const auto requests = m_server->requestsFor("/pkg/launcher.7z");
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(1).header("range"), QStringLiteral("bytes=%1-").arg(kept).toLatin1());
    QCOMPARE(readFile(folder + "/launcher.7z"), m_package);
}

QTEST_GUILESS_MAIN(tst_UpdateDownload)
#include "tst_updatedownload.moc"
