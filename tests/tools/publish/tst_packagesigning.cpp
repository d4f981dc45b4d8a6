// The publisher's signer against the programs' signature check: every way a signature field,
// its statement or the file can differ from what the publisher signed.
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include "packagedigest.h"
#include "packagesigner.h"
#include "packagetrust.h"
#include "publishtestutil.h"

namespace {

QString keyFile(const QString &name)
{
    return qEnvironmentVariable("LAUNCHER_SOURCE_DIR") +
           QStringLiteral("/tests/tools/publish/keys/") + name;
}

} // namespace

class TestPackageSigning : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void verdicts_data();
    void verdicts();
    void keyListsAndStatementsParseStrictly();
    void keygenWritesAPairItCanSignWithAndNeverOverwrites();
    void publisherRefusesUnsafeSigning_data();
    void publisherRefusesUnsafeSigning();

private:
    QTemporaryDir m_dir;
    PackageSigner m_first;
    PackageSigner m_second;
    PackageSigner m_stranger;
    QString m_package;
    PackageDigest m_digest;
};

void TestPackageSigning::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString error;
    QVERIFY2(m_first.load(keyFile("first.key"), &error), qPrintable(error));
    QVERIFY2(m_second.load(keyFile("second.key"), &error), qPrintable(error));
    QVERIFY2(m_stranger.load(keyFile("stranger.key"), &error), qPrintable(error));
    m_package = m_dir.filePath("Orv_1.0.1_1.0.2.7z");
    QVERIFY(publishtest::writeFile(m_package, QByteArray(300000, 'p')));
    QVERIFY(PackageDigest::ofFile(m_package, &m_digest));
    PackageTrust::setTrustedKeys({m_first.publicKey(), m_second.publicKey()});
}

void TestPackageSigning::cleanupTestCase()
{
    PackageTrust::setTrustedKeys({});
}

void TestPackageSigning::verdicts_data()
{
    QTest::addColumn<QString>("signer");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("reason"); // empty: accepted

    QTest::newRow("first key") << "first"
                               << ""
                               << "";
    QTest::newRow("second key") << "second"
                                << ""
                                << "";
    QTest::newRow("no key id still verifies") << "second"
                                              << "drop key id"
                                              << "";
    QTest::newRow("untrusted key") << "stranger"
                                   << ""
                                   << "not trusted";
    QTest::newRow("untrusted key without id") << "stranger"
                                              << "drop key id"
                                              << "does not match";
    QTest::newRow("trusted id, other key's signature") << "stranger"
                                                       << "claim first"
                                                       << "does not match";
    QTest::newRow("missing") << "first"
                             << "drop field"
                             << "missing";
    QTest::newRow("signature not base64") << "first"
                                          << "garble signature"
                                          << "malformed";
    QTest::newRow("signature cut short") << "first"
                                         << "cut signature"
                                         << "malformed";
    QTest::newRow("statement edited") << "first"
                                      << "edit statement"
                                      << "does not match";
    QTest::newRow("other file name") << "first"
                                     << "expect name"
                                     << "statement is for";
    QTest::newRow("other version") << "first"
                                   << "expect version"
                                   << "version";
    QTest::newRow("other source version") << "first"
                                          << "expect from"
                                          << "version";
    QTest::newRow("other MD5 in the manifest") << "first"
                                               << "expect md5"
                                               << "MD5";
    QTest::newRow("other size in the manifest") << "first"
                                                << "expect size"
                                                << "size";
    QTest::newRow("file differs, same MD5") << "first"
                                            << "file sha256"
                                            << "not the one";
    QTest::newRow("file longer") << "first"
                                 << "file size"
                                 << "not the one";
}

void TestPackageSigning::verdicts()
{
    QFETCH(QString, signer);
    QFETCH(QString, change);
    QFETCH(QString, reason);
    PackageSigner &key = signer == "first" ? m_first : signer == "second" ? m_second : m_stranger;
    QJsonObject field;
    QString error;
    QVERIFY2(key.signFile(m_package, "Orv_1.0.1_1.0.2.7z", "1.0.2", "1.0.1", m_digest.md5, &field,
                          &error),
             qPrintable(error));

    SignedPackage expected;
    expected.signature = field;
    expected.name = "Orv_1.0.1_1.0.2.7z";
    expected.version = "1.0.2";
    expected.from = "1.0.1";
    expected.md5 = m_digest.md5.toUpper();
    expected.size = m_digest.size;
    QString sha256 = m_digest.sha256;
    qint64 size = m_digest.size;
    if (change == "drop key id")
        expected.signature.remove("key");
    else if (change == "claim first")
        expected.signature.insert("key", PackageTrust::keyId(m_first.publicKey()));
    else if (change == "drop field")
        expected.signature = QJsonObject();
    else if (change == "garble signature")
        expected.signature.insert("signature", QString("@@" + field.value("signature").toString()));
    else if (change == "cut signature")
        expected.signature.insert("signature", field.value("signature").toString().left(40));
    else if (change == "edit statement")
        expected.signature.insert("statement",
                                  field.value("statement").toString().replace("1.0.2", "1.0.3"));
    else if (change == "expect name")
        expected.name = "Orv_1.0.0_1.0.2.7z";
    else if (change == "expect version")
        expected.version = "1.0.3";
    else if (change == "expect from")
        expected.from.clear();
    else if (change == "expect md5")
        expected.md5 = QString(32, 'a');
    else if (change == "expect size")
        expected.size = size + 1;
    else if (change == "file sha256")
        sha256 = QString(64, '0');
    else if (change == "file size")
        size += 1;

    QString why;
    const bool accepted = PackageTrust::checkFile(expected, m_digest.md5, sha256, size, &why);
    QCOMPARE(accepted, reason.isEmpty());
    QVERIFY2(why.contains(reason), qPrintable(why));
    if (!accepted)
        QVERIFY(PackageTrust::errorMessage(why).contains(why));
}

void TestPackageSigning::keyListsAndStatementsParseStrictly()
{
    QList<QByteArray> keys;
    QString why;
    const QString first = QString::fromLatin1(m_first.publicKey().toBase64());
    const QString second = QString::fromLatin1(m_second.publicKey().toBase64());
    QVERIFY(PackageTrust::parseKeyList(first + " ;\n" + second + ",", &keys, &why));
    QCOMPARE(keys, (QList<QByteArray>{m_first.publicKey(), m_second.publicKey()}));
    QVERIFY(PackageTrust::parseKeyList(QString(), &keys, &why));
    QVERIFY(keys.isEmpty());
    for (const QString &bad : QStringList{first.left(40), first + "AAAA", "not*base64"})
        QVERIFY2(!PackageTrust::parseKeyList(bad, &keys, &why), qPrintable(bad));

    PackageStatement statement;
    statement.name = "a.7z";
    statement.size = 3000000000;
    statement.sha256 = QString(64, 'b');
    statement.md5 = QString(32, 'c');
    statement.version = "1.0";
    PackageStatement read;
    QVERIFY(PackageStatement::fromJson(statement.toJson(), &read, &why));
    QCOMPARE(read.size, qint64(3000000000));
    QCOMPARE(read.toJson(), statement.toJson());
    for (const QByteArray &bad :
         {QByteArray("[]"), QByteArray("{\"name\":\"a\"}"),
          statement.toJson().replace("3000000000", "\"3000000000\""),
          statement.toJson().replace("3000000000", "-1"),
          statement.toJson().replace("3000000000", "1.5"),
          statement.toJson().replace("\"1.0\"", "1.0"),
          statement.toJson().replace(QByteArray(32, 'c'), QByteArray(32, 'C'))})
        QVERIFY2(!PackageStatement::fromJson(bad, &read, &why), bad.constData());
}

void TestPackageSigning::keygenWritesAPairItCanSignWithAndNeverOverwrites()
{
    const QString stem = m_dir.filePath("keys/publisher");
    QDir().mkpath(m_dir.filePath("keys"));
    QString publicKey;
    QString error;
    QVERIFY2(PackageSigner::generate(stem, &publicKey, &error), qPrintable(error));
    QCOMPARE(QFile(stem + ".key").permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());
    QList<QByteArray> keys;
    QVERIFY(PackageTrust::parseKeyList(publicKey, &keys, &error));
    PackageSigner signer;
    QVERIFY2(signer.load(stem + ".key", &error), qPrintable(error));
    QCOMPARE(signer.publicKey(), keys.first());

    const QByteArray before = publishtest::listing(m_dir.filePath("keys")).value("publisher.key");
    QVERIFY(!PackageSigner::generate(stem, &publicKey, &error));
    QVERIFY2(error.contains("never overwritten"), qPrintable(error));
    QCOMPARE(publishtest::listing(m_dir.filePath("keys")).value("publisher.key"), before);
    QVERIFY(!signer.load(stem + ".pub", &error));

    QVERIFY(!PackageSigner::isOutside(stem + ".key", m_dir.path()));
    QVERIFY(PackageSigner::isOutside(stem + ".key", m_dir.filePath("site")));
}

void TestPackageSigning::publisherRefusesUnsafeSigning_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("arguments"); // after the site options; KEY: the usable key
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("empty key (an unset secret)")
        << "" << QStringList{"--sign-key", ""} << 1 << "--sign-key is empty";
    QTest::newRow("key file missing")
        << "" << QStringList{"--sign-key", "missing.key"} << 1 << "does not exist";
    QTest::newRow("private key inside the version folder")
        << "key in folder" << QStringList() << 1 << "is a private key";
    QTest::newRow("unsigned onto a signed site")
        << "signed site" << QStringList() << 1 << "the site is signed";
    QTest::newRow("unsigned onto a signed site, on purpose")
        << "signed site" << QStringList{"--change-signing"} << 0 << "published game";
    QTest::newRow("signed onto an unsigned site")
        << "unsigned site" << QStringList{"--sign-key", "KEY"} << 1 << "the site is unsigned";
    QTest::newRow("key others may read")
        << "open key" << QStringList{"--sign-key", "KEY"} << 0 << "other users may read";
}

void TestPackageSigning::publisherRefusesUnsafeSigning()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString site = dir.filePath("site");
    const QString key = dir.filePath("keys/publisher.key");
    QVERIFY(QDir().mkpath(dir.filePath("keys")));
    QVERIFY(QFile::copy(keyFile("first.key"), key));
    QVERIFY(QFile::setPermissions(key, setup == "open key"
                                           ? QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                                           : QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(publishtest::writeFile(dir.filePath("v1/Kestrava"), "#!/bin/sh\n", true));
    if (setup == "key in folder")
        QVERIFY(QDir().mkpath(dir.filePath("v1/tools")) &&
                QFile::copy(keyFile("second.key"), dir.filePath("v1/tools/deploy.pem")));
    const QStringList base{"game",   "--site", site, "--base-url", "http://127.0.0.1:1",
                           "--name", "Orv"};
    if (setup == "signed site" || setup == "unsigned site") {
        QStringList first = base;
        if (setup == "signed site")
            first << "--sign-key" << key;
        const publishtest::Run run = publishtest::runTool(first << "1.0.0=" + dir.filePath("v1"));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
    const QString before = publishtest::listing(site).keys().join(',');
    arguments.replaceInStrings("KEY", key);
    arguments.replaceInStrings("missing.key", dir.filePath("keys/missing.key"));
    const publishtest::Run run =
        publishtest::runTool(base + arguments << "1.0.1=" + dir.filePath("v1"));
    QCOMPARE(run.exitCode, exitCode);
    const QString output = run.err + run.out;
    QVERIFY2(output.contains(said), qPrintable(output));
    if (exitCode != 0)
        QCOMPARE(publishtest::listing(site).keys().join(','), before);
}

QTEST_GUILESS_MAIN(TestPackageSigning)
#include "tst_packagesigning.moc"
