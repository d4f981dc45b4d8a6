#include <QtTest>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QCryptographicHash>
#include <QTemporaryDir>

#include <zstd.h>

#include "../setup/setuptestutil.h"
#include "filestore.h"
#include "gamefilelist.h"
#include "gamepublisher.h"
#include "gamerepairflow.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "loopbackservices.h"
#include "storebuilder.h"
#include "storerepair.h"
#include "storeunpacker.h"
#include "updateversioninfo.h"

using SetupTest::noise;
using SetupTest::readFile;
using SetupTest::writeFile;

// Repair of single files from the published per-file store, by range requests over loopback
// HTTP, with the full package as the way out whenever the store does not answer as it should.
class TestStoreRepair : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void repairsOnlyWhatIsDamaged_data();
    void repairsOnlyWhatIsDamaged();
    void stopWhileFetchingWritesNothing();
    void answerBeyondTheRangeIsNotRead_data();
    void answerBeyondTheRangeIsNotRead();
    void largeFileStreamsIntoPlace_data();
    void largeFileStreamsIntoPlace();
    void wholeStoreUnpacksToTheRelease_data();
    void wholeStoreUnpacksToTheRelease();
    void fileListReadsAcrossFormats_data();
    void fileListReadsAcrossFormats();

private:
    QString game() const { return m_dir.filePath(QStringLiteral("game")); }
    QString site() const { return m_dir.filePath(QStringLiteral("site")); }
    QString storePath() const { return QStringLiteral("/game/Orvyndale_1.0.0.store"); }
    QString packagePath() const { return QStringLiteral("/game/Orvyndale_1.0.0.7z"); }
    int gets(const QString &path) const;
    qint64 rangedBytes(const QString &path) const;
    qint64 rangedBytes() const { return rangedBytes(storePath()); }
    bool makeLargeRelease(QString *error);

    QTemporaryDir m_dir;
    HttpTestServer m_server;
    UpdateVersionInfo m_manifest;
    GameFileList m_list;
    QMap<QString, QByteArray> m_files;
    GameFileList m_largeList; // a release with a file beyond what fits in memory comfortably
    QString m_largeStore;
};

void TestStoreRepair::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("lunmere-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_storerepair"));
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    LauncherConfig::setInstanceFilePath(m_dir.filePath(QStringLiteral("config.ini")));
    useLoopbackServices(m_server.baseUrl());

    m_files = {{"Kestrava", "#!/bin/sh\nexit 0\n"},
               {"Data/level0.pak", noise(3 << 20, 1)},
               {"Data/level1.pak", noise(700 << 10, 2)},
               {"Data/level1_copy.pak", noise(700 << 10, 2)},
               {"Data/sub/deep/shader.bin", QByteArray(90 << 10, 's') + noise(1000, 3)},
               {"readme.txt", "version 1.0.0\n"}};
    for (int i = 0; i < 30; ++i) {
        QByteArray text;
        for (int line = 0; line < 800; ++line)
            text += QByteArray::number(i) + " the keeper speaks line " +
                    QByteArray::number(line * 7 % 113) + "\n";
        m_files.insert(QStringLiteral("Data/text/dialog_%1.txt").arg(i, 2, 10, QLatin1Char('0')),
                       text);
    }
    const QString release = m_dir.filePath(QStringLiteral("release"));
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY(writeFile(release + QLatin1Char('/') + it.key(), it.value()));
    QVERIFY(QFile::setPermissions(release + QStringLiteral("/Kestrava"),
                                  QFile::permissions(release + QStringLiteral("/Kestrava")) |
                                      QFileDevice::ExeOwner));
    GamePublisher::Options options;
    options.site = site();
    options.baseUrl = m_server.baseUrl();
    options.name = QStringLiteral("Orvyndale");
    options.entry = QStringLiteral("Kestrava");
    QString error;
    QVERIFY2(GamePublisher::publish({{QStringLiteral("1.0.0"), release}}, options, &error),
             qPrintable(error));
    QVERIFY(m_manifest.parseResourceResponse(
        readFile(site() + QLatin1Char('/') + GamePublisher::resourcePath())));
    QVERIFY(GameFileList::fromJson(readFile(site() + QUrl(m_manifest.filesPath()).path()), &m_list,
                                   &error));
    QCOMPARE(m_list.store.name, QStringLiteral("Orvyndale_1.0.0.store"));
    QCOMPARE(m_list.store.size, QFileInfo(site() + storePath()).size());
}

void TestStoreRepair::init()
{
    m_server.clearRequests();
    m_server.clearFaults();
    for (const QString &file :
         {QStringLiteral("/game/Orvyndale_1.0.0.files.json"), storePath(), packagePath()})
        m_server.serveFile(file, site() + file);
    QDir(game()).removeRecursively();
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY(writeFile(game() + QLatin1Char('/') + it.key(), it.value()));
    QVERIFY(QFile::setPermissions(game() + QStringLiteral("/Kestrava"),
                                  QFile::permissions(game() + QStringLiteral("/Kestrava")) |
                                      QFileDevice::ExeOwner));
}

void TestStoreRepair::cleanup()
{
    m_dir.setAutoRemove(!QTest::currentTestFailed());
}

int TestStoreRepair::gets(const QString &path) const
{
    int count = 0;
    for (const HttpTestServer::Request &request : m_server.requestsFor(path))
        count += request.method == "GET";
    return count;
}

// What the store's range requests asked for, as the server saw them.
qint64 TestStoreRepair::rangedBytes(const QString &path) const
{
    qint64 total = 0;
    for (const HttpTestServer::Request &request : m_server.requestsFor(path)) {
        const QByteArray range = request.header("range");
        const QList<QByteArray> ends = range.mid(int(qstrlen("bytes="))).split('-');
        if (!range.startsWith("bytes=") || ends.size() != 2 || ends.at(1).isEmpty())
            return -1; // an open range would be the whole rest of the store
        total += ends.at(1).toLongLong() - ends.at(0).toLongLong() + 1;
    }
    return total;
}

void TestStoreRepair::repairsOnlyWhatIsDamaged_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("fromStore"); // false: the full package did it
    QTest::addColumn<bool>("repaired");

    QTest::newRow("three damaged files by ranges") << "three"
                                                   << "" << true << true;
    QTest::newRow("a deleted folder is made again") << "folder"
                                                    << "" << true << true;
    QTest::newRow("a dropped range resumes") << "three"
                                             << "drop" << true << true;
    QTest::newRow("200 instead of 206") << "three"
                                        << "whole" << false << true;
    QTest::newRow("another range than asked") << "three"
                                              << "shift" << false << true;
    QTest::newRow("a longer body than the range") << "three"
                                                  << "long" << false << true;
    QTest::newRow("no store on the site") << "three"
                                          << "absent" << false << true;
    QTest::newRow("wrong object") << "three"
                                  << "corrupt" << false << true;
    QTest::newRow("wrong object and no package") << "three"
                                                 << "corrupt nopackage" << false << false;
}

void TestStoreRepair::repairsOnlyWhatIsDamaged()
{
    QFETCH(QString, damage);
    QFETCH(QString, fault);
    QFETCH(bool, fromStore);
    QFETCH(bool, repaired);

    QStringList damaged;
    if (damage == "three") {
        damaged = QStringList{"Data/level0.pak", "Data/text/dialog_05.txt", "Kestrava"};
        QVERIFY(QFile::remove(game() + "/Data/level0.pak"));
        QByteArray text = m_files.value("Data/text/dialog_05.txt");
        text[100] = 'X';
        QVERIFY(writeFile(game() + "/Data/text/dialog_05.txt", text));
        QVERIFY(QFile::resize(game() + "/Kestrava", 3));
    } else {
        damaged = QStringList{"Data/sub/deep/shader.bin"};
        QVERIFY(QDir(game() + "/Data/sub").removeRecursively());
    }
    QMap<QString, QByteArray> before;
    for (const QString &path : damaged)
        before.insert(path, readFile(game() + QLatin1Char('/') + path));

    if (fault == "drop")
        m_server.addFault(storePath(), HttpTestServer::Fault::dropAfter(1000), 1, "GET");
    else if (fault == "whole")
        m_server.addFault(storePath(), HttpTestServer::Fault::ignoreRange(), -1, "GET");
    else if (fault == "shift")
        m_server.addFault(storePath(), HttpTestServer::Fault::shiftRange(7), -1, "GET");
    else if (fault == "long")
        m_server.addFault(storePath(), HttpTestServer::Fault::longBody(100), -1, "GET");
    else if (fault == "absent")
        m_server.removeAnswer(storePath());
    if (fault.startsWith("corrupt")) {
        // The same size and ranges, other bytes inside every object.
        QByteArray store = readFile(site() + storePath());
        for (int i = 0; i < store.size(); i += 997)
            store[i] = char(store.at(i) ^ 0x5a);
        QVERIFY(writeFile(m_dir.filePath("corrupt.store"), store));
        m_server.serveFile(storePath(), m_dir.filePath("corrupt.store"));
    }
    if (fault.contains("nopackage"))
        m_server.removeAnswer(packagePath());

    GameRepairFlow flow;
    flow.setInstallFolder(game());
    flow.setFileList(QUrl(m_manifest.filesPath()), m_manifest.filesSha256(),
                     m_manifest.filesSize());
    flow.setPackage(m_manifest.packageUrl(QString()), m_manifest.md5());
    QSignalSpy finished(&flow, &GameRepairFlow::repairFinished);
    QSignalSpy failed(&flow, &GameRepairFlow::repairFailed);
    flow.start();
    QTRY_VERIFY_WITH_TIMEOUT(!flow.isRunning(), 60000);

    QCOMPARE(finished.size(), repaired ? 1 : 0);
    QCOMPARE(failed.size(), repaired ? 0 : 1);
    // The package is asked for (its size first) only when the store failed.
    QCOMPARE(m_server.requestsFor(packagePath()).isEmpty(), fromStore);
    if (!fault.contains("nopackage"))
        QCOMPARE(gets(packagePath()), fromStore ? 0 : 1);
    QVERIFY(gets(storePath()) >= 1);
    QVERIFY(SetupTest::leftovers(game()).isEmpty());
    QDirIterator parts(game(), {QStringLiteral("*.repair-part")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    QVERIFY(!parts.hasNext());
    if (!repaired) {
        // A wrong object never reaches the game folder.
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(readFile(game() + QLatin1Char('/') + it.key()), it.value());
        return;
    }
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY2(readFile(game() + QLatin1Char('/') + it.key()) == it.value(),
                 qPrintable(it.key()));
    QVERIFY(QFileInfo(game() + "/Kestrava").permissions() & QFileDevice::ExeOwner);
    if (!fromStore || !fault.isEmpty())
        return;
    // Only the damaged files' objects, gaps of at most one request's worth between them.
    qint64 objects = 0;
    for (const GameFileList::Entry &entry : qAsConst(m_list.entries))
        objects += damaged.contains(entry.path) ? entry.objectLength : 0;
    const qint64 fetched = rangedBytes();
    QVERIFY2(fetched >= objects && fetched <= objects + damaged.size() * FileStore::kMaxGap,
             qPrintable(QStringLiteral("fetched %1 for objects of %2").arg(fetched).arg(objects)));
    QVERIFY(gets(storePath()) <= damaged.size());
}

void TestStoreRepair::stopWhileFetchingWritesNothing()
{
    QVERIFY(QFile::remove(game() + "/Data/level0.pak"));
    m_server.addFault(storePath(), HttpTestServer::Fault::throttle(64 * 1024), -1, "GET");
    GameRepairFlow flow;
    flow.setInstallFolder(game());
    flow.setFileList(QUrl(m_manifest.filesPath()), m_manifest.filesSha256(),
                     m_manifest.filesSize());
    flow.setPackage(m_manifest.packageUrl(QString()), m_manifest.md5());
    QSignalSpy cancelled(&flow, &GameRepairFlow::repairCancelled);
    QSignalSpy finished(&flow, &GameRepairFlow::repairFinished);
    QSignalSpy failed(&flow, &GameRepairFlow::repairFailed);
    flow.start();
    QTRY_VERIFY_WITH_TIMEOUT(gets(storePath()) == 1, 30000);
    flow.cancel();
    QCOMPARE(cancelled.size(), 1);
    QVERIFY(!flow.isRunning());
    // Whatever the store still sends must not finish the stopped run.
    QVERIFY(!finished.wait(300));
    QCOMPARE(failed.size(), 0);
    QVERIFY(!QFileInfo::exists(game() + "/Data/level0.pak"));
    QVERIFY(m_server.requestsFor(packagePath()).isEmpty());
}

void TestStoreRepair::answerBeyondTheRangeIsNotRead_data()
{
    QTest::addColumn<bool>("whole");
    QTest::newRow("200 with the whole store") << true;
    // The last file's range, with the store's first megabytes before it and no length.
    QTest::newRow("a body that starts megabytes early") << false;
}

// A server that ignores the range would otherwise send the whole store for one small file.
void TestStoreRepair::answerBeyondTheRangeIsNotRead()
{
    QFETCH(bool, whole);
    m_server.addFault(storePath(),
                      whole ? HttpTestServer::Fault::ignoreRange()
                            : HttpTestServer::Fault::longBodyNoLength(4 << 20),
                      -1, "GET");
    const QString path = QStringLiteral("Data/text/dialog_29.txt");
    StoreRepair repair(QUrl(m_manifest.filesPath()), m_list, {path});
    QSignalSpy fetched(&repair, &StoreRepair::fetched);
    repair.fetch(game());
    QVERIFY(fetched.wait(30000));
    QCOMPARE(fetched.first().at(0).toBool(), false);
    QVERIFY(repair.plannedBytes() < 64 * 1024);
    QVERIFY2(repair.receivedBytes() <= repair.plannedBytes() + 1,
             qPrintable(QString::number(repair.receivedBytes())));
    QString error;
    QVERIFY(!repair.write(&error));
}

// 300 MiB of zeros with a marker every 4 MiB, so that its zstd object stays small, and an
// incompressible file after it in the store, whose object takes more than one request.
bool TestStoreRepair::makeLargeRelease(QString *error)
{
    if (!m_largeStore.isEmpty())
        return true;
    const QString release = m_dir.filePath(QStringLiteral("large"));
    const QList<QPair<QString, qint64>> files = {{"Data/big.pak", qint64(300) << 20},
                                                 {"Data/zz.bin", 9 << 20}};
    m_largeList = GameFileList();
    m_largeList.version = QStringLiteral("1.0.0");
    for (const auto &file : files) {
        QFile out(release + QLatin1Char('/') + file.first);
        if (!QDir().mkpath(QFileInfo(out).path()) || !out.open(QIODevice::WriteOnly))
            return false;
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (qint64 at = 0; at < file.second; at += 4 << 20) {
            const int size = int(std::min<qint64>(4 << 20, file.second - at));
            const QByteArray chunk =
                file.first == "Data/big.pak"
                    ? noise(4096, quint32(at >> 20)) + QByteArray(size - 4096, '\0')
                    : noise(size, quint32(77 + at));
            hash.addData(chunk);
            if (out.write(chunk) != chunk.size())
                return false;
        }
        GameFileList::Entry entry;
        entry.path = file.first;
        entry.size = file.second;
        entry.sha256 = hash.result().toHex();
        m_largeList.entries << entry;
    }
    const QString store = m_dir.filePath(QStringLiteral("large.store"));
    if (!StoreBuilder::build(release, store, 3, &m_largeList, error))
        return false;
    m_largeStore = store;
    return true;
}

void TestStoreRepair::largeFileStreamsIntoPlace_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("a file beyond any memory cap") << "";
    QTest::newRow("the second file's object is wrong") << "corrupt";
    QTest::newRow("stopped while the large file streams") << "cancel";
}

// Both files damaged: the large one comes first in the store, so it is staged whole before
// the second is checked. Nothing is replaced until both have passed.
void TestStoreRepair::largeFileStreamsIntoPlace()
{
    QFETCH(QString, fault);
    QString error;
    QVERIFY2(makeLargeRelease(&error), qPrintable(error));
    const QStringList damaged = {"Data/big.pak", "Data/zz.bin"};
    QVERIFY(FileStore::covers(m_largeList, damaged));
    const GameFileList::Entry &big = m_largeList.entries.at(0);
    const GameFileList::Entry &second = m_largeList.entries.at(1);
    QCOMPARE(big.path, damaged.at(0));
    QVERIFY(big.objectLength < (4 << 20) && second.objectOffset > big.objectOffset);
    // A decoder holds the frame's window: one allowed 16 MiB must take the object.
    {
        QFile storeFile(m_largeStore);
        QVERIFY(storeFile.open(QIODevice::ReadOnly) && storeFile.seek(big.objectOffset));
        const QByteArray object = storeFile.read(big.objectLength);
        std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx *)> context(ZSTD_createDCtx(),
                                                                    ZSTD_freeDCtx);
        QVERIFY(!ZSTD_isError(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, 24)));
        QByteArray out(1 << 20, Qt::Uninitialized);
        ZSTD_inBuffer in{object.constData(), size_t(object.size()), 0};
        ZSTD_outBuffer into{out.data(), size_t(out.size()), 0};
        const size_t code = ZSTD_decompressStream(context.get(), &into, &in);
        QVERIFY2(!ZSTD_isError(code), ZSTD_getErrorName(code));
    }

    const QString path = "/large/" + m_largeList.store.name;
    QString store = m_largeStore;
    if (fault == "corrupt") {
        QByteArray bytes = readFile(store);
        const int at = int(second.objectOffset + second.objectLength / 2);
        bytes[at] = char(bytes.at(at) ^ 0x20);
        store = m_dir.filePath("large-corrupt.store");
        QVERIFY(writeFile(store, bytes));
    }
    m_server.serveFile(path, store);
    if (fault == "cancel")
        m_server.addFault(path, HttpTestServer::Fault::throttle(16 * 1024), -1, "GET");
    for (const QString &file : damaged)
        QVERIFY(writeFile(game() + QLatin1Char('/') + file, "damaged " + file.toUtf8()));
    // Left by a run that was killed; a stop before that file's turn must not leave it either.
    QVERIFY(writeFile(game() + "/Data/zz.bin.repair-part", "half written"));

    StoreRepair repair(QUrl(m_server.baseUrl() + "/large/files.json"), m_largeList, damaged);
    QSignalSpy fetched(&repair, &StoreRepair::fetched);
    repair.fetch(game());
    const QString part = game() + "/Data/big.pak.repair-part";
    if (fault == "cancel") {
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(part).size() > 0, 30000);
        repair.cancel();
    } else {
        QVERIFY(fetched.wait(120000));
        QCOMPARE(fetched.first().at(0).toBool(), fault.isEmpty());
    }
    // Only the two objects and what lies between them, not the 300 MiB.
    QVERIFY2(rangedBytes(path) <= big.objectLength + second.objectLength + FileStore::kMaxGap,
             qPrintable(QString::number(rangedBytes(path))));
    QVERIFY(repair.receivedBytes() <= repair.plannedBytes());
    if (fault.isEmpty()) {
        // The second object is more than one answer's worth: no answer is a whole pack.
        QVERIFY(gets(path) >= 2);
        // Checked and staged, still not in place.
        QCOMPARE(readFile(game() + "/Data/big.pak"), QByteArray("damaged Data/big.pak"));
        QVERIFY2(repair.write(&error), qPrintable(error));
        for (const GameFileList::Entry &entry : qAsConst(m_largeList.entries)) {
            QFile file(game() + QLatin1Char('/') + entry.path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCryptographicHash hash(QCryptographicHash::Sha256);
            QVERIFY(hash.addData(&file));
            QCOMPARE(file.size(), entry.size);
            QCOMPARE(hash.result().toHex(), entry.sha256);
        }
    } else {
        QVERIFY(!repair.write(&error));
        for (const QString &file : damaged)
            QCOMPARE(readFile(game() + QLatin1Char('/') + file), "damaged " + file.toUtf8());
    }
    QDirIterator parts(game(), {QStringLiteral("*.repair-part")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    QVERIFY2(!parts.hasNext(), qPrintable(parts.hasNext() ? parts.next() : QString()));
}

void TestStoreRepair::wholeStoreUnpacksToTheRelease_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<QString>("corrupt"); // the file whose object is changed
    QTest::newRow("one thread") << 1 << QString();
    QTest::newRow("four threads") << 4 << QString();
    QTest::newRow("a wrong zstd object") << 4 << "Data/text/dialog_07.txt";
    // Only the digest tells these bytes from the right ones.
    QTest::newRow("a wrong raw object") << 4 << "Data/level0.pak";
}

void TestStoreRepair::wholeStoreUnpacksToTheRelease()
{
    QFETCH(int, threads);
    QFETCH(QString, corrupt);
    QString store = site() + storePath();
    const GameFileList::Entry *victim = nullptr;
    for (const GameFileList::Entry &entry : qAsConst(m_list.entries))
        victim = entry.path == corrupt ? &entry : victim;
    if (!corrupt.isEmpty()) {
        QVERIFY(victim);
        QByteArray bytes = readFile(store);
        const int at = int(victim->objectOffset + victim->objectLength / 2);
        bytes[at] = char(bytes.at(at) ^ 0x20);
        store = m_dir.filePath("corrupt.store");
        QVERIFY(writeFile(store, bytes));
    }
    QTemporaryDir folder;
    const StoreUnpacker::Result result =
        StoreUnpacker::unpack(store, m_list, folder.path(), threads);
    QCOMPARE(result.ok, corrupt.isEmpty());
    QDirIterator parts(folder.path(), {QStringLiteral("*.unpack-part")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    QVERIFY(!parts.hasNext());
    if (victim) {
        QVERIFY(result.error.contains(victim->path));
        QVERIFY(!QFileInfo::exists(folder.filePath(victim->path)));
        return;
    }
    QCOMPARE(result.bytes, m_list.totalSize());
    int files = 0;
    QDirIterator all(folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (all.hasNext()) {
        const QString path = all.next().mid(folder.path().size() + 1);
        QVERIFY2(readFile(folder.filePath(path)) == m_files.value(path), qPrintable(path));
        ++files;
    }
    QCOMPARE(files, m_files.size());
    QVERIFY(QFileInfo(folder.filePath("Kestrava")).permissions() & QFileDevice::ExeOwner);
}

void TestStoreRepair::fileListReadsAcrossFormats_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("hasStore");

    const QByteArray published = readFile(site() + QUrl(m_manifest.filesPath()).path());
    QJsonObject document = QJsonDocument::fromJson(published).object();
    QJsonArray files = document.value("files").toArray();
    QJsonObject old = document;
    old.remove("store");
    QJsonArray oldFiles;
    for (const QJsonValue &file : files) {
        QJsonObject entry = file.toObject();
        entry.remove("object");
        entry.remove("executable");
        oldFiles.append(entry);
    }
    old.insert("files", oldFiles);
    const auto edited = [&](const std::function<void(QJsonObject *, QJsonObject *)> &edit) {
        QJsonObject copy = document;
        QJsonArray entries = files;
        QJsonObject first = entries.at(0).toObject();
        QJsonObject store = copy.value("store").toObject();
        QJsonObject object = first.value("object").toObject();
        edit(&store, &object);
        first.insert("object", object);
        entries.replace(0, first);
        copy.insert("files", entries);
        copy.insert("store", store);
        return QJsonDocument(copy).toJson();
    };
    QTest::newRow("as published") << published << true;
    QTest::newRow("as an older publisher writes it") << QJsonDocument(old).toJson() << false;
    QTest::newRow("store in another folder") << edited([](QJsonObject *store, QJsonObject *) {
        store->insert("name", "../Orvyndale_1.0.0.store");
    }) << false;
    QTest::newRow("object beyond the store") << edited([](QJsonObject *store, QJsonObject *o) {
        o->insert("offset", store->value("size").toDouble() - 1);
    }) << false;
    QTest::newRow("unknown codec")
        << edited([](QJsonObject *, QJsonObject *object) { object->insert("codec", "lzma"); })
        << false;
    QTest::newRow("raw object of another size") << edited([](QJsonObject *, QJsonObject *o) {
        o->insert("codec", "raw");
        o->insert("length", o->value("length").toDouble() + 1);
    }) << false;
}

// Older launchers read only path, size and sha256: a list with a store must read the same to
// them, and a store that does not hold together is no store at all.
void TestStoreRepair::fileListReadsAcrossFormats()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, hasStore);
    GameFileList list;
    QString error;
    QVERIFY2(GameFileList::fromJson(json, &list, &error), qPrintable(error));
    QCOMPARE(list.entries.size(), m_list.entries.size());
    for (int i = 0; i < list.entries.size(); ++i) {
        QCOMPARE(list.entries.at(i).path, m_list.entries.at(i).path);
        QCOMPARE(list.entries.at(i).size, m_list.entries.at(i).size);
        QCOMPARE(list.entries.at(i).sha256, m_list.entries.at(i).sha256);
    }
    QCOMPARE(!list.store.name.isEmpty(), hasStore);
    QCOMPARE(FileStore::covers(list, {list.entries.first().path}), hasStore);
}

QTEST_MAIN(TestStoreRepair)
#include "tst_storerepair.moc"
