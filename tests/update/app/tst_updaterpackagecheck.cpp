// The updater's own check of the launcher package it was handed: what a statement must name,
// and that the file is the signed one, not merely one with the signed MD5.
#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

#include <openssl/evp.h>

#include "packagetrust.h"
#include "updaterpackagecheck.h"

namespace {

// Two different 128-byte blocks with one MD5 (Wang and Yu's collision): a mirror could swap one
// for the other under a signature that the check compared by MD5 alone.
const char kBlock[] = "d131dd02c5e6eec4693d9a0698aff95c2fcab58712467eab4004583eb8fb7f89"
                      "55ad340609f4b30283e488832571415a085125e8f7cdc99fd91dbdf280373c5b"
                      "d8823e3156348f5bae6dacd436c919c6dd53e2b487da03fd02396306d248cda0"
                      "e99f33420f577ee8ce54b67080a80d1ec69821bcb6a8839396f9652b6ff72a70";
const char kTwin[] = "d131dd02c5e6eec4693d9a0698aff95c2fcab50712467eab4004583eb8fb7f89"
                     "55ad340609f4b30283e4888325f1415a085125e8f7cdc99fd91dbd7280373c5b"
                     "d8823e3156348f5bae6dacd436c919c6dd53e23487da03fd02396306d248cda0"
                     "e99f33420f577ee8ce54b67080280d1ec69821bcb6a8839396f965ab6ff72a70";

struct Ed25519Key
{
    Ed25519Key()
    {
        EVP_PKEY_CTX *ctx = EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr);
        if (ctx && EVP_PKEY_keygen_init(ctx) == 1)
            EVP_PKEY_keygen(ctx, &key);
        EVP_PKEY_CTX_free(ctx);
    }
    ~Ed25519Key() { EVP_PKEY_free(key); }
    QByteArray publicKey() const
    {
        QByteArray raw(32, Qt::Uninitialized);
        size_t length = size_t(raw.size());
        EVP_PKEY_get_raw_public_key(key, reinterpret_cast<unsigned char *>(raw.data()), &length);
        return raw;
    }
    QByteArray sign(const QByteArray &message) const
    {
        QByteArray signature(64, Qt::Uninitialized);
        size_t length = size_t(signature.size());
        EVP_MD_CTX *ctx = EVP_MD_CTX_new();
        EVP_DigestSignInit(ctx, nullptr, nullptr, nullptr, key);
        EVP_DigestSign(ctx, reinterpret_cast<unsigned char *>(signature.data()), &length,
                       reinterpret_cast<const unsigned char *>(message.constData()),
                       size_t(message.size()));
        EVP_MD_CTX_free(ctx);
        return signature;
    }
    EVP_PKEY *key = nullptr;
};

QString hex(const QByteArray &data, QCryptographicHash::Algorithm algorithm)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, algorithm).toHex());
}

} // namespace

class TestUpdaterPackageCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_key.key);
        PackageTrust::setTrustedKeys({m_key.publicKey()});
    }
    void cleanupTestCase() { PackageTrust::setTrustedKeys({}); }

    void verdicts_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("code"); // 0: accepted
        QTest::addColumn<QString>("reason");
        QTest::newRow("the signed release") << "" << 0 << "";
        QTest::newRow("another file with the signed MD5")
            << "twin" << 1028 << "not the one the statement describes";
        QTest::newRow("release older than this launcher") << "older" << 1036 << "older than";
        QTest::newRow("older release signed as a rollback") << "rollback" << 0 << "";
        QTest::newRow("game package") << "game" << 1037 << "package kind";
        QTest::newRow("release of another launcher") << "launcher" << 1037 << "launcher";
    }

    void verdicts()
    {
        QFETCH(QString, change);
        QFETCH(int, code);
        QFETCH(QString, reason);
        const QByteArray block = QByteArray::fromHex(kBlock);
        const QByteArray twin = QByteArray::fromHex(kTwin);
        QCOMPARE(hex(block, QCryptographicHash::Md5), hex(twin, QCryptographicHash::Md5));

        PackageStatement statement;
        statement.name = QStringLiteral("launcher_2.4.0.0.7z");
        statement.size = block.size();
        statement.sha256 = hex(block, QCryptographicHash::Sha256);
        statement.md5 = hex(block, QCryptographicHash::Md5);
        statement.version = change == "older" || change == "rollback" ? QStringLiteral("2.3.2.0")
                                                                      : QStringLiteral("2.4.0.0");
        statement.rollback = change == "rollback";
        statement.launcher =
            change == "launcher" ? QStringLiteral("19") : UpdaterPackageCheck::launcherId();
        statement.product = statement.launcher;
        statement.kind = QLatin1String(change == "game" ? PackageStatement::kFullKind
                                                        : PackageStatement::kLauncherKind);
        const QByteArray json = statement.toJson();
        const QJsonObject field =
            PackageTrust::signatureField(json, m_key.sign(json), m_key.publicKey());

        QTemporaryDir dir;
        const QString package = dir.filePath(statement.name);
        QFile file(package);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(change == "twin" ? twin : block);
        file.close();

        QString why;
        ErrorDefine::ErrorCode refusal = ErrorDefine::DEFAULTT;
        const bool accepted =
            UpdaterPackageCheck::isTrusted(package, statement.md5, field, &why, &refusal);
        QVERIFY2(accepted == (code == 0), qPrintable(why));
        if (code) {
            QCOMPARE(int(refusal), code);
            QVERIFY2(why.contains(reason), qPrintable(why));
        }
        // Only the file itself tells the twin apart: the statement alone passes then.
        QCOMPARE(UpdaterPackageCheck::isStatementTrusted(package, statement.md5, field, &why),
                 code == 0 || change == "twin");
    }

private:
    Ed25519Key m_key;
};

QTEST_GUILESS_MAIN(TestUpdaterPackageCheck)
#include "tst_updaterpackagecheck.moc"
