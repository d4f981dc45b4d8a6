#include <QtTest>

#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "../config/unprivileged.h"
#include "../setup/setuptestutil.h"
#include "dialogwatcher.h"
#include "dlgsetting.h"
#include "gamepublisher.h"
#include "gamerepairflow.h"
#include "gameverifier.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "loopbackservices.h"
#include "mainviewmodel.h"
#include "packagedigest.h"
#include "updateversioninfo.h"

using SetupTest::noise;
using SetupTest::readFile;
using SetupTest::sevenZip;
using SetupTest::writeFile;

// Check and repair of an installed game against what the publisher's tool released: served
// over loopback HTTP, unpacked by the real 7z.so.
class TestGameRepair : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void repairsDamageAndLeavesTheRestAlone_data();
    void repairsDamageAndLeavesTheRestAlone();
    void unreadableFileIsAClearErrorAndNothingIsTouched();
    void badFileListIsRefusedAndNothingIsTouched_data();
    void badFileListIsRefusedAndNothingIsTouched();
    void packageThatCannotRepairIsNoSuccess_data();
    void packageThatCannotRepairIsNoSuccess();
    void readErrorPartWayIsNeverADigest_data();
    void readErrorPartWayIsNeverADigest();
    void stoppedRepairResumesWhenStartedAgain_data();
    void stoppedRepairResumesWhenStartedAgain();
    void runningGameIsGuardedThroughTheSettingsDialog();
    void linkInTheGameFolderIsReportedNotWrittenThrough_data();
    void linkInTheGameFolderIsReportedNotWrittenThrough();

private:
    QString game() const { return m_dir.filePath(QStringLiteral("game")); }
    void install();
    void configure(GameRepairFlow *flow) const;
    int packageGets() const;
    static qint64 recordedBytes();

    QTemporaryDir m_dir;
    HttpTestServer m_server;
    UpdateVersionInfo m_manifest;
    QMap<QString, QByteArray> m_files;
    QMap<QString, QString> m_otherPackageMd5; // served at /<key>/Orvyndale_1.0.0.7z
};

namespace {
const char kPackage[] = "/game/Orvyndale_1.0.0.7z";
} // namespace

void TestGameRepair::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("lunmere-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_gamerepair"));
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    LauncherConfig::setInstanceFilePath(m_dir.filePath(QStringLiteral("config.ini")));
    useLoopbackServices(m_server.baseUrl());

    m_files = {{"Kestrava", "#!/bin/sh\nexit 0\n"},
               {"Kestrava_Data/level0.pak", noise(600 << 10, 1)},
               {"Kestrava_Data/level1.pak", noise(500 << 10, 2)},
               {"Kestrava_Data/Managed/Metadata/global-metadata.dat", noise(40 << 10, 3)},
               {"readme.txt", "version 1.0.0\n"}};
    const QString release = m_dir.filePath(QStringLiteral("release/1.0.0"));
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY(writeFile(release + QLatin1Char('/') + it.key(), it.value()));
    GamePublisher::Options options;
    options.site = m_dir.filePath(QStringLiteral("site"));
    options.baseUrl = m_server.baseUrl();
    options.name = QStringLiteral("Orvyndale");
    options.entry = QStringLiteral("Kestrava");
    QString error;
    QVERIFY2(GamePublisher::publish({{QStringLiteral("1.0.0"), release}}, options, &error),
             qPrintable(error));
    QDirIterator it(options.site, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        m_server.serveFile(file.mid(options.site.size()), file);
    }
    // These cases are about the full package; a site without the per-file store (an older
    // publisher's) repairs from it. tst_storerepair covers the store.
    m_server.removeAnswer(QStringLiteral("/game/Orvyndale_1.0.0.store"));
    QVERIFY(m_manifest.parseResourceResponse(
        readFile(options.site + QLatin1Char('/') + GamePublisher::resourcePath())));
    QVERIFY(!m_manifest.filesPath().isEmpty());

    // Packages that are not the release the file list describes, each with a valid MD5: one
    // made from another build of level0.pak, one that lacks level0.pak.
    for (const QString &kind : {QStringLiteral("other"), QStringLiteral("partial")}) {
        const QString source = m_dir.filePath(QStringLiteral("release/") + kind);
        for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
            QByteArray content = it.value();
            if (it.key() == QLatin1String("Kestrava_Data/level0.pak")) {
                if (kind == QLatin1String("partial"))
                    continue;
                content = noise(content.size(), 99);
            }
            QVERIFY(writeFile(source + QLatin1Char('/') + it.key(), content));
        }
        const QString package = m_dir.filePath(kind + QStringLiteral(".7z"));
        QVERIFY(sevenZip(package, source));
        const QByteArray bytes = readFile(package);
        m_otherPackageMd5[kind] =
            QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
        m_server.serveFile(QLatin1Char('/') + kind + QStringLiteral("/Orvyndale_1.0.0.7z"),
                           package);
    }
}

void TestGameRepair::init()
{
    m_server.clearRequests();
    m_server.clearFaults();
    install();
}

void TestGameRepair::cleanup()
{
    m_dir.setAutoRemove(!QTest::currentTestFailed());
}

// The release as the launcher leaves it after an installation.
void TestGameRepair::install()
{
    QDir(game()).removeRecursively();
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY(writeFile(game() + QLatin1Char('/') + it.key(), it.value()));
}

void TestGameRepair::configure(GameRepairFlow *flow) const
{
    flow->setInstallFolder(game());
    flow->setFileList(QUrl(m_manifest.filesPath()), m_manifest.filesSha256(),
                      m_manifest.filesSize());
    flow->setPackage(m_manifest.packageUrl(QString()), m_manifest.md5());
}

int TestGameRepair::packageGets() const
{
    int gets = 0;
    for (const HttpTestServer::Request &request : m_server.requestsFor(QLatin1String(kPackage)))
        gets += request.method == "GET";
    return gets;
}

// What the package download's resume record holds, as any process of this identity reads it.
qint64 TestGameRepair::recordedBytes()
{
    QSettings settings;
    settings.sync();
    return settings.value(QStringLiteral("Orvyndale_1.0.0.7z/0")).toLongLong();
}

void TestGameRepair::repairsDamageAndLeavesTheRestAlone_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("damaged");
    // The result line: missing files are told apart from damaged ones.
    QTest::addColumn<QString>("result");

    const QString plain = QStringLiteral("label_repair_result");
    const QString missing = QStringLiteral("label_repair_result_missing");
    QTest::newRow("intact game") << "none" << QStringList() << plain;
    QTest::newRow("deleted file") << "delete" << QStringList{"Kestrava_Data/level0.pak"} << missing;
    QTest::newRow("truncated file")
        << "truncate" << QStringList{"Kestrava_Data/level0.pak"} << plain;
    QTest::newRow("one changed byte") << "byte" << QStringList{"Kestrava_Data/level0.pak"} << plain;
    QTest::newRow("folder where a file belongs")
        << "folder" << QStringList{"Kestrava_Data/level0.pak"} << plain;
    QTest::newRow("user's own files beside a damaged one")
        << "extra" << QStringList{"Kestrava_Data/level0.pak"} << missing;
}

void TestGameRepair::repairsDamageAndLeavesTheRestAlone()
{
    QFETCH(QString, damage);
    QFETCH(QStringList, damaged);
    QFETCH(QString, result);
    const QString victim = game() + QStringLiteral("/Kestrava_Data/level0.pak");
    const QString userFile = game() + QStringLiteral("/saves/slot1.sav");
    const QString userConfig = game() + QStringLiteral("/Kestrava_Data/user.cfg");
    if (damage == "delete" || damage == "folder" || damage == "extra") {
        QVERIFY(QFile::remove(victim));
    } else if (damage == "truncate") {
        QVERIFY(QFile::resize(victim, 1000));
    } else if (damage == "byte") {
        QByteArray bytes = readFile(victim);
        bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x01);
        QVERIFY(writeFile(victim, bytes));
    }
    if (damage == "folder")
        QVERIFY(QDir().mkpath(victim));
    if (damage == "extra") {
        QVERIFY(writeFile(userFile, "player's save"));
        QVERIFY(writeFile(userConfig, "fov=90"));
    }
    // Files that are fine must not be rewritten: their times stay.
    const QString untouched = game() + QStringLiteral("/Kestrava_Data/level1.pak");
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    {
        QFile file(untouched);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }

    GameRepairFlow flow;
    configure(&flow);
    QSignalSpy finished(&flow, &GameRepairFlow::repairFinished);
    QSignalSpy failed(&flow, &GameRepairFlow::repairFailed);
    QSignalSpy status(&flow, &GameRepairFlow::statusChanged);
    flow.start();
    QTRY_VERIFY_WITH_TIMEOUT(!flow.isRunning(), 60000);
    QVERIFY2(failed.isEmpty(), failed.isEmpty() ? "" : qPrintable(failed.first().at(1).toString()));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).toInt(), m_files.size());
    QCOMPARE(finished.first().at(1).toInt(), damaged.size());
    QCOMPARE(finished.first().at(2).toInt(), damaged.size());

    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY2(readFile(game() + QLatin1Char('/') + it.key()) == it.value(),
                 qPrintable(it.key()));
    QCOMPARE(QFileInfo(untouched).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    if (damage == "extra") {
        QCOMPARE(readFile(userFile), QByteArray("player's save"));
        QCOMPARE(readFile(userConfig), QByteArray("fov=90"));
    }
    // The package is fetched only for a repair, and does not stay behind.
    QCOMPARE(packageGets(), damaged.isEmpty() ? 0 : 1);
    QVERIFY(!QFileInfo::exists(game() + QStringLiteral("/Orvyndale_1.0.0.7z")));
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.last().at(0).toString(), result);
}

void TestGameRepair::unreadableFileIsAClearErrorAndNothingIsTouched()
{
    const QString locked = game() + QStringLiteral("/Kestrava_Data/level1.pak");
    const QString deleted = game() + QStringLiteral("/Kestrava_Data/level0.pak");
    QVERIFY(QFile::remove(deleted));
    QDirIterator it(game(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList paths{m_dir.path(), game()};
    while (it.hasNext())
        paths << it.next();
    for (const QString &path : qAsConst(paths))
        QVERIFY(Unprivileged::prepare(path, QFileInfo(path).isDir() ? 0755 : 0644));
    QVERIFY(Unprivileged::prepare(locked, 0000));

    {
        Unprivileged nobody;
        QVERIFY(nobody.isEffective());
        GameRepairFlow flow;
        configure(&flow);
        QSignalSpy failedInside(&flow, &GameRepairFlow::repairFailed);
        QSignalSpy finished(&flow, &GameRepairFlow::repairFinished);
        flow.start();
        QTRY_VERIFY_WITH_TIMEOUT(!flow.isRunning(), 30000);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(failedInside.size(), 1);
        QCOMPARE(failedInside.first().at(0).value<ErrorDefine::ErrorCode>(),
                 ErrorDefine::DOWNLOAD_OPEN_FILE_ERROR);
        QVERIFY(failedInside.first().at(1).toString().contains("Kestrava_Data/level1.pak"));
    }
    QVERIFY(Unprivileged::prepare(locked, 0644));
    // Not even the file it could have repaired: the player clears the cause first.
    QVERIFY(!QFileInfo::exists(deleted));
    QCOMPARE(packageGets(), 0);
    QCOMPARE(readFile(locked), m_files.value("Kestrava_Data/level1.pak"));
}

void TestGameRepair::badFileListIsRefusedAndNothingIsTouched_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<bool>("matchesManifest");
    const QByteArray escaping = R"({"version":"1.0.0","files":[{"path":"../../etc/passwd",)"
                                R"("size":1,"sha256":")" +
                                QByteArray(64, 'a') + R"("}]})";
    QTest::newRow("changed after publishing") << QByteArray("{\"files\":[]}") << false;
    // Only the SHA-256 from the resource answer tells this one from the published list.
    QByteArray sameLength =
        readFile(m_dir.filePath(QStringLiteral("site")) + QUrl(m_manifest.filesPath()).path());
    const int key = sameLength.indexOf("\"sha256\"");
    QVERIFY(key > 0);
    const int digit = sameLength.indexOf('"', sameLength.indexOf(':', key)) + 1;
    sameLength[digit] = sameLength.at(digit) == '0' ? '1' : '0';
    QTest::newRow("edited after publishing, same length") << sameLength << false;
    QTest::newRow("path outside the game folder") << escaping << true;
    QTest::newRow("not a list") << QByteArray("<html>maintenance</html>") << true;
}

void TestGameRepair::badFileListIsRefusedAndNothingIsTouched()
{
    QFETCH(QByteArray, list);
    QFETCH(bool, matchesManifest);
    const QString path = QUrl(m_manifest.filesPath()).path();
    m_server.serveData(path, list, "application/json");
    QVERIFY(QFile::remove(game() + QStringLiteral("/readme.txt")));

    GameRepairFlow flow;
    configure(&flow);
    if (matchesManifest)
        flow.setFileList(QUrl(m_manifest.filesPath()),
                         QString::fromLatin1(GameFileList::sha256Hex(list)), list.size());
    QSignalSpy failed(&flow, &GameRepairFlow::repairFailed);
    flow.start();
    QTRY_VERIFY_WITH_TIMEOUT(!flow.isRunning(), 30000);
    const QString listFile = m_dir.filePath(QStringLiteral("site")) + path;
    m_server.serveFile(path, listFile);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).value<ErrorDefine::ErrorCode>(), ErrorDefine::DOWNLOAD_MD5_ERROR);
    QVERIFY(!QFileInfo::exists(game() + QStringLiteral("/readme.txt")));
    QCOMPARE(packageGets(), 0);
}

void TestGameRepair::packageThatCannotRepairIsNoSuccess_data()
{
    QTest::addColumn<QString>("package"); // empty: the published one
    QTest::addColumn<bool>("playerFolder");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("writesAnything");
    QTest::newRow("another build of the damaged file")
        << "other" << false << int(ErrorDefine::SETUP_ZIP_ERROR) << "message_repair_still_damaged"
        << true;
    QTest::newRow("package lacks a damaged item")
        << "partial" << false << int(ErrorDefine::SETUP_ZIP_ERROR)
        << "message_repair_item_not_in_package" << false;
    QTest::newRow("player's folder where a file belongs")
        << "" << true << int(ErrorDefine::SETUP_ZIP_UNABLE_DELETE_ERROR)
        << "message_repair_folder_in_the_way" << false;
}

void TestGameRepair::packageThatCannotRepairIsNoSuccess()
{
    QFETCH(QString, package);
    QFETCH(bool, playerFolder);
    QFETCH(int, error);
    QFETCH(QString, message);
    QFETCH(bool, writesAnything);
    const QString level0 = game() + QStringLiteral("/Kestrava_Data/level0.pak");
    const QString readme = game() + QStringLiteral("/readme.txt");
    QVERIFY(QFile::remove(level0));
    if (playerFolder)
        QVERIFY(writeFile(level0 + QStringLiteral("/mine.sav"), "player's save"));
    QVERIFY(writeFile(readme, "edited by the player\n"));

    GameRepairFlow flow;
    configure(&flow);
    if (!package.isEmpty())
        flow.setPackage(
            m_server.url(QLatin1Char('/') + package + QStringLiteral("/Orvyndale_1.0.0.7z")),
            m_otherPackageMd5.value(package));
    QSignalSpy finished(&flow, &GameRepairFlow::repairFinished);
    QSignalSpy failed(&flow, &GameRepairFlow::repairFailed);
    flow.start();
    QTRY_VERIFY_WITH_TIMEOUT(!flow.isRunning(), 60000);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(int(failed.first().at(0).value<ErrorDefine::ErrorCode>()), error);
    QVERIFY2(failed.first().at(1).toString().contains(message),
             qPrintable(failed.first().at(1).toString()));
    // The package's own files were unpacked, or nothing at all was.
    QCOMPARE(readFile(readme),
             writesAnything ? m_files.value("readme.txt") : QByteArray("edited by the player\n"));
    QCOMPARE(QFileInfo(level0).isFile(), writesAnything);
    if (playerFolder) {
        QCOMPARE(readFile(level0 + QStringLiteral("/mine.sav")), QByteArray("player's save"));
        QCOMPARE(packageGets(), 0);
    }
}

void TestGameRepair::readErrorPartWayIsNeverADigest_data()
{
    QTest::addColumn<bool>("gameCheck");
    QTest::newRow("package digest") << false;
    QTest::newRow("game file check") << true;
}

// Reading a process's own memory from offset 0 fails with EIO: the page there is never mapped.
// The digest of the bytes read before it would be that of an empty file.
void TestGameRepair::readErrorPartWayIsNeverADigest()
{
    QFETCH(bool, gameCheck);
    const QString failing = QStringLiteral("/proc/self/mem");
    QFile probe(failing);
    char byte = 0;
    if (!probe.open(QIODevice::ReadOnly) || probe.read(&byte, 1) >= 0)
        QSKIP("this system reads /proc/self/mem at offset 0");
    probe.close();
    if (!gameCheck) {
        PackageDigest digest;
        QVERIFY(!PackageDigest::ofFile(failing, &digest));
        StreamHash hash(StreamHash::Sha256);
        StreamHash *hashes[] = {&hash};
        QCOMPARE(PackageDigest::feedFile(failing, -1, hashes, 1), qint64(-1));
        return;
    }
    // A game file whose list entry is that of an empty file.
    QVERIFY(QFile::link(failing, game() + QStringLiteral("/empty.dat")));
    GameFileList::Entry entry;
    entry.path = QStringLiteral("empty.dat");
    entry.size = 0;
    entry.sha256 = GameFileList::sha256Hex(QByteArray());
    GameVerifier verifier(game(), {entry});
    const GameVerifier::Result result = verifier.verify();
    QCOMPARE(result.damaged.size(), 0);
    QCOMPARE(result.unreadable.size(), 1);
    QCOMPARE(result.unreadable.first().path, entry.path);
}

void TestGameRepair::stoppedRepairResumesWhenStartedAgain_data()
{
    QTest::addColumn<bool>("kill");
    QTest::newRow("player stops it") << false;
    QTest::newRow("launcher killed") << true;
}

void TestGameRepair::stoppedRepairResumesWhenStartedAgain()
{
    QFETCH(bool, kill);
    const QString missing = game() + QStringLiteral("/Kestrava_Data/level0.pak");
    const QString partial = game() + QStringLiteral("/Orvyndale_1.0.0.7z_tmp");
    QVERIFY(QFile::remove(missing));
    QVERIFY(m_manifest.size() > 400000);
    m_server.addFault(QLatin1String(kPackage), HttpTestServer::Fault::stallAfter(300000), 1, "GET");
    if (kill) {
        // SIGKILL: no destructor, no clean close, whatever the records hold is what is left.
        QProcess helper;
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(QCoreApplication::applicationDirPath() + QStringLiteral("/repair_helper"),
                     {game(), m_manifest.filesPath(), m_manifest.filesSha256(),
                      QString::number(m_manifest.filesSize()),
                      m_manifest.packageUrl(QString()).toString(), m_manifest.md5(),
                      m_dir.filePath(QStringLiteral("config.ini"))});
        QVERIFY(helper.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(recordedBytes() > 0, 30000);
        helper.kill();
        QVERIFY(helper.waitForFinished());
    } else {
        GameRepairFlow flow;
        configure(&flow);
        QSignalSpy cancelled(&flow, &GameRepairFlow::repairCancelled);
        flow.start();
        QTRY_VERIFY_WITH_TIMEOUT(recordedBytes() > 0, 30000);
        flow.cancel();
        QCOMPARE(cancelled.size(), 1);
        QVERIFY(!flow.isRunning());
    }
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(QFileInfo::exists(partial));

    GameRepairFlow flow;
    configure(&flow);
    QSignalSpy finished(&flow, &GameRepairFlow::repairFinished);
    flow.start();
    QTRY_VERIFY_WITH_TIMEOUT(!flow.isRunning(), 60000);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(2).toInt(), 1);
    QCOMPARE(readFile(missing), m_files.value("Kestrava_Data/level0.pak"));
    QCOMPARE(packageGets(), 2);
    QByteArray range;
    for (const HttpTestServer::Request &request : m_server.requestsFor(QLatin1String(kPackage)))
        if (request.method == "GET")
            range = request.header("range");
    // Resumed where the first attempt's last write ended, not from the start.
    QVERIFY2(range.startsWith("bytes=") && !range.startsWith("bytes=0-"), range.constData());
    QVERIFY(!QFileInfo::exists(partial));
}

void TestGameRepair::runningGameIsGuardedThroughTheSettingsDialog()
{
    const QString missing = game() + QStringLiteral("/Kestrava_Data/level0.pak");
    QVERIFY(QFile::remove(missing));
    // The game running from its folder, and a program of the same name elsewhere that is none
    // of the launcher's business.
    const QString fakeGame = game() + QStringLiteral("/Kestrava");
    const QString namesake = m_dir.filePath(QStringLiteral("elsewhere/Kestrava"));
    QDir().mkpath(QFileInfo(namesake).path());
    for (const QString &path : {fakeGame, namesake}) {
        QFile::remove(path);
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), path));
    }
    QProcess running;
    running.start(fakeGame, {QStringLiteral("60")});
    QVERIFY(running.waitForStarted());
    QProcess other;
    other.start(namesake, {QStringLiteral("60")});
    QVERIFY(other.waitForStarted());

    LauncherConfig::instance()->setInstallPath(game());
    LauncherConfig::instance()->setGameVersion(QStringLiteral("1.0.0"));
    DialogWatcher boxes;
    MainViewModel model;
    model.initialize();
    QTRY_COMPARE_WITH_TIMEOUT(model.gameState(), int(MainViewModel::Installed), 30000);
    DlgSetting *settings = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        settings = settings ? settings : qobject_cast<DlgSetting *>(widget);
    QVERIFY(settings);
    auto *status = settings->findChild<QLabel *>(QStringLiteral("lblRepairStatus"));
    QVERIFY(status);

    // The player keeps the game running: nothing is written.
    boxes.setAccept(false);
    settings->onBtnGameRepairClicked();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.classNames(), QStringList{"CDlgYesNo"}, 30000);
    QTRY_COMPARE(status->text(), QStringLiteral("label_repair_cancelled"));
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(running.state(), QProcess::Running);

    // Asked again; this time the launcher may end the game, and the repair goes on.
    boxes.setAccept(true);
    settings->onBtnGameRepairClicked();
    QTRY_COMPARE_WITH_TIMEOUT(running.state(), QProcess::NotRunning, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith("label_repair_result"), 30000);
    QCOMPARE(readFile(missing), m_files.value("Kestrava_Data/level0.pak"));
    // The second answer reused the package the first attempt had downloaded and checked.
    QCOMPARE(packageGets(), 1);
    QCOMPARE(other.state(), QProcess::Running);
    other.kill();
    other.waitForFinished();
}

void TestGameRepair::linkInTheGameFolderIsReportedNotWrittenThrough_data()
{
    QTest::addColumn<QString>("moved");   // moved out of the game folder and linked back
    QTest::addColumn<QString>("damaged"); // the file removed from the moved copy
    QTest::addColumn<QString>("link");    // the link the player is told about; empty: none
    QTest::newRow("data folder moved away") << "Kestrava_Data"
                                            << "Kestrava_Data/level0.pak"
                                            << "Kestrava_Data";
    QTest::newRow("nested folder moved away")
        << "Kestrava_Data/Managed"
        << "Kestrava_Data/Managed/Metadata/global-metadata.dat"
        << "Kestrava_Data/Managed";
    QTest::newRow("only the file moved away") << "Kestrava_Data/level0.pak"
                                              << "Kestrava_Data/level0.pak"
                                              << "";
}

void TestGameRepair::linkInTheGameFolderIsReportedNotWrittenThrough()
{
    QFETCH(QString, moved);
    QFETCH(QString, damaged);
    QFETCH(QString, link);
    const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere"));
    QDir(elsewhere).removeRecursively();
    QVERIFY(QDir().mkpath(elsewhere));
    const QString target = elsewhere + QStringLiteral("/moved");
    QVERIFY(QDir().rename(game() + QLatin1Char('/') + moved, target));
    QVERIFY(QFile::link(target, game() + QLatin1Char('/') + moved));
    // The damage lies in the moved copy, seen through the link.
    const QString outsideCopy =
        QFileInfo(target).isDir() ? target + damaged.mid(moved.size()) : target;
    QVERIFY(QFile::remove(outsideCopy));

    GameRepairFlow flow;
    configure(&flow);
    QSignalSpy finished(&flow, &GameRepairFlow::repairFinished);
    QSignalSpy failed(&flow, &GameRepairFlow::repairFailed);
    flow.start();
    QTRY_VERIFY_WITH_TIMEOUT(!flow.isRunning(), 60000);
    if (link.isEmpty()) {
        // A link in the file's own place is replaced as an entry, never written through.
        QCOMPARE(finished.size(), 1);
        QVERIFY(!QFileInfo(game() + QLatin1Char('/') + damaged).isSymLink());
        QCOMPARE(readFile(game() + QLatin1Char('/') + damaged), m_files.value(damaged));
    } else {
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().at(0).value<ErrorDefine::ErrorCode>(),
                 ErrorDefine::GAME_FOLDER_LINK_ERROR);
        QVERIFY2(failed.first().at(1).toString().contains(game() + QLatin1Char('/') + link),
                 qPrintable(failed.first().at(1).toString()));
        QVERIFY(QFileInfo(game() + QLatin1Char('/') + link).isSymLink());
    }
    QVERIFY(!QFileInfo::exists(outsideCopy));
    QVERIFY(!QFileInfo::exists(game() + QStringLiteral("/Orvyndale_1.0.0.7z")));
    QVERIFY(!QFileInfo::exists(game() + QStringLiteral("/Orvyndale_1.0.0.7z_tmp")));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestGameRepair test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_gamerepair.moc"
