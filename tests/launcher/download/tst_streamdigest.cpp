// Digests computed while the bytes arrive, and the signature check that relies on them, against
// a real HTTP server on 127.0.0.1.
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "downloadmanager.h"
#include "downloadtestutil.h"
#include "packagedigest.h"
#include "packagesigner.h"
#include "packagetrust.h"
#include "streamdigest.h"

using namespace downloadtest;

class TestStreamDigest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void piecesAndPrefixGiveTheFileDigests();
    void signedPackageVerifies_data();
    void signedPackageVerifies();
    void resumeHashesThePartOnDisk();
    void keyedDownloadsNameTheirPackage_data();
    void keyedDownloadsNameTheirPackage();

private:
    QString folder() const { return m_dir->path() + QStringLiteral("/dl"); }
    QString serve(const QString &name, const QByteArray &data);
    SignedPackage signedFor(const QString &name, const QByteArray &data);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HttpTestServer> m_server;
    PackageSigner m_signer;
};

void TestStreamDigest::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_streamdigest"));
    QStandardPaths::setTestModeEnabled(true);
    ErrorDefine::registerMetaTypes();
    QString error;
    QVERIFY2(m_signer.load(qEnvironmentVariable("LAUNCHER_SOURCE_DIR") +
                               QStringLiteral("/tests/tools/publish/keys/first.key"),
                           &error),
             qPrintable(error));
    PackageTrust::setTrustedKeys({m_signer.publicKey()});
}

void TestStreamDigest::cleanupTestCase()
{
    PackageTrust::setTrustedKeys({});
}

void TestStreamDigest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/served")));
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY2(m_server->listen(), qPrintable(m_server->errorString()));
    QSettings().clear();
}

void TestStreamDigest::cleanup()
{
    m_server.reset();
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    m_dir.reset();
}

QString TestStreamDigest::serve(const QString &name, const QByteArray &data)
{
    const QString source = m_dir->path() + QStringLiteral("/served/") + name;
    writeFile(source, data);
    const QString path = QStringLiteral("/files/") + name;
    m_server->serveFile(path, source);
    return path;
}

SignedPackage TestStreamDigest::signedFor(const QString &name, const QByteArray &data)
{
    const QString file = m_dir->path() + QStringLiteral("/signed-") + name;
    writeFile(file, data);
    SignedPackage package;
    QString error;
    if (!m_signer.signFile(file, name, QStringLiteral("1.0.2"), QString(), md5Hex(data),
                           &package.signature, &error))
        qWarning() << error;
    package.name = name;
    package.version = QStringLiteral("1.0.2");
    package.md5 = md5Hex(data);
    package.size = data.size();
    return package;
}

void TestStreamDigest::piecesAndPrefixGiveTheFileDigests()
{
    const QByteArray data = randomBytes(5 * 1024 * 1024 + 3, 7);
    const QString whole = m_dir->path() + QStringLiteral("/whole.bin");
    QVERIFY(writeFile(whole, data));
    PackageDigest expected;
    QVERIFY(PackageDigest::ofFile(whole, &expected));

    streamdigest digest;
    QSignalSpy finished(&digest, &streamdigest::finished);
    // A resume: the first 2 MiB already on disk, the rest written in pieces of odd sizes.
    const QString file = m_dir->path() + QStringLiteral("/growing.bin");
    const qint64 onDisk = 2 * 1024 * 1024;
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QVERIFY(out.write(data.left(int(onDisk))) == onDisk && out.flush());
    digest.follow(file, onDisk);
    for (qint64 at = onDisk; at < data.size(); at += 51199) {
        const QByteArray piece = data.mid(int(at), 51199);
        QVERIFY(out.write(piece) == piece.size() && out.flush());
        digest.written(at, piece.size());
    }
    out.close();
    QVERIFY(digest.isValid());
    QCOMPARE(digest.covered(), qint64(data.size()));
    digest.finish();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(finished.at(0).at(0).toString(), expected.md5);
    QCOMPARE(finished.at(0).at(1).toString(), expected.sha256);
    QCOMPARE(finished.at(0).at(2).toLongLong(), qint64(data.size()));

    // A piece out of order invalidates the stream; a new round starts a clean one.
    digest.written(5, 10);
    QVERIFY(!digest.isValid());
    digest.follow(whole, data.size());
    QVERIFY(digest.isValid());
    digest.finish();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QCOMPARE(finished.at(1).at(1).toString(), expected.sha256);

    // Bytes reported but no longer on disk give no digest, never that of a shorter file.
    QVERIFY(QFile::resize(whole, data.size() / 2));
    digest.follow(whole, data.size());
    digest.finish();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 10000);
    QVERIFY(finished.at(2).at(0).toString().isEmpty());
    QVERIFY(finished.at(2).at(1).toString().isEmpty());
}

void TestStreamDigest::signedPackageVerifies_data()
{
    QTest::addColumn<bool>("resume");
    QTest::addColumn<bool>("alreadyOnDisk");
    QTest::newRow("fresh") << false << false;
    QTest::newRow("resumed by a new run") << true << false;
    QTest::newRow("complete file from an earlier run") << false << true;
}

void TestStreamDigest::signedPackageVerifies()
{
    QFETCH(bool, resume);
    QFETCH(bool, alreadyOnDisk);
    const QByteArray data = randomBytes(2 * 1024 * 1024 + 11, 3);
    const QString path = serve("pkg.7z", data);
    const SignedPackage expected = signedFor("pkg.7z", data);
    if (resume) {
        m_server->addFault(path, HttpTestServer::Fault::throttle(400 * 1024), 1, "GET");
        downloadmanager first;
        first.setFilePath(folder());
        first.setExpectedPackage(expected);
        first.setUrl(m_server->url(path));
        first.startDownload();
        QTRY_VERIFY_WITH_TIMEOUT(first.getDownloadedSize() > 0, 10000);
    }
    if (alreadyOnDisk)
        QVERIFY(writeFile(folder() + "/pkg.7z", data));

    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy verified(&m, &downloadmanager::md5CheckFinish);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    m.setFilePath(folder());
    m.setFileMD5(expected.md5);
    m.setExpectedPackage(expected);
    m.setUrl(m_server->url(path));
    if (!alreadyOnDisk) {
        m.startDownload();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    }
    m.fileMd5(m.finalFilePath());
    QTRY_COMPARE_WITH_TIMEOUT(verified.count() + errors.count(), 1, 10000);
    QVERIFY2(errors.isEmpty(), errors.isEmpty() ? "" : qPrintable(errors.at(0).at(1).toString()));
    QCOMPARE(readFile(folder() + "/pkg.7z"), data);
}

void TestStreamDigest::keyedDownloadsNameTheirPackage_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<bool>("fetched");
    QTest::newRow("nothing declared") << "none" << false;
    QTest::newRow("page art") << "art" << true;
    QTest::newRow("statement for another version") << "other" << false;
}

void TestStreamDigest::keyedDownloadsNameTheirPackage()
{
    QFETCH(QString, declared);
    QFETCH(bool, fetched);
    const QByteArray data = randomBytes(300000, 7);
    const QString path = serve("pkg.7z", data);
    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    if (declared == "art")
        m.setUntrustedArt();
    else if (declared == "other") {
        SignedPackage expected = signedFor("pkg.7z", data);
        expected.version = QStringLiteral("9.9.9");
        m.setExpectedPackage(expected);
    }
    m.setFilePath(folder());
    m.setUrl(m_server->url(path));
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count() + errors.count(), 1, 10000);
    QCOMPARE(finished.count(), int(fetched));
    int gets = 0;
    for (const HttpTestServer::Request &request : m_server->requestsFor(path))
        gets += request.method == "GET";
    // A download that could never pass costs no package byte.
    QCOMPARE(gets > 0, fetched);
    if (!fetched) {
        QCOMPARE(errors.at(0).at(0).value<ErrorDefine::ErrorCode>(),
                 ErrorDefine::PACKAGE_SIGNATURE_ERROR);
        QVERIFY(!QFileInfo::exists(folder() + "/pkg.7z"));
    }
}

void TestStreamDigest::resumeHashesThePartOnDisk()
{
    // Bytes on disk that changed between two runs belong to the file: a resumed download must
    // hash what is there, not trust what was received before.
    const QByteArray data = randomBytes(2 * 1024 * 1024, 5);
    const QString path = serve("pkg.7z", data);
    const SignedPackage expected = signedFor("pkg.7z", data);
    m_server->addFault(path, HttpTestServer::Fault::throttle(400 * 1024), 1, "GET");
    {
        downloadmanager first;
        first.setFilePath(folder());
        first.setExpectedPackage(expected);
        first.setUrl(m_server->url(path));
        first.startDownload();
        QTRY_VERIFY_WITH_TIMEOUT(first.getDownloadedSize() > 100, 10000);
    }
    QFile partial(folder() + "/pkg.7z_tmp");
    QVERIFY(partial.open(QIODevice::ReadWrite));
    QVERIFY(partial.seek(10));
    partial.write("X");
    partial.close();

    downloadmanager m;
    QSignalSpy finished(&m, &downloadmanager::downloadFinished);
    QSignalSpy verified(&m, &downloadmanager::md5CheckFinish);
    QSignalSpy errors(&m, &downloadmanager::downloadError);
    m.setFilePath(folder());
    // Without an MD5 in the manifest only the signature stands between the file and unpacking.
    m.setExpectedPackage(expected);
    m.setUrl(m_server->url(path));
    m.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    m.fileMd5(m.finalFilePath());
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 10000);
    QCOMPARE(errors.at(0).at(0).value<ErrorDefine::ErrorCode>(),
             ErrorDefine::PACKAGE_SIGNATURE_ERROR);
    QVERIFY(verified.isEmpty());
    QVERIFY(!QFile::exists(folder() + "/pkg.7z"));
}

QTEST_GUILESS_MAIN(TestStreamDigest)
#include "tst_streamdigest.moc"
